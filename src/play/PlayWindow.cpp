#include "play/PlayWindow.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/Platform.h"

namespace orvel {

namespace {

using Btn = TWinButtonId;

// The code each button reports, in button order.
constexpr THitCode kButtonCodes[kWinButtonCount] = {
    THitCode::Close,     THitCode::Zoom1,      THitCode::Zoom2,
    THitCode::LeftArrow, THitCode::RightArrow, THitCode::HThumb,
    THitCode::UpArrow,   THitCode::DownArrow,  THitCode::VThumb,
};

void SetNone(TMyRect& r) {
    SetBounds(r, -1, -1, -1, -1);
}

// Places the thumb of a scroll bar inside its track from a scroll position.
void PlaceHThumb(TMyWin& win) {
    TMyWinButton& thumb = win.Button(Btn::HThumb);
    const int64_t trackW = win.HTrack.Width;
    const int len = Max(12, static_cast<int>(trackW * win.Client.Width / win.ContentW));
    int left = win.HTrack.Left + static_cast<int>(trackW * win.ScrollX / win.ContentW);
    if (left + len - 1 > win.HTrack.Right) left = win.HTrack.Right - len + 1;
    SetPosSize(thumb.Bounds, left, win.HTrack.Top, len, win.HTrack.Height);
}

void PlaceVThumb(TMyWin& win) {
    TMyWinButton& thumb = win.Button(Btn::VThumb);
    const int64_t trackH = win.VTrack.Height;
    const int len = Max(12, static_cast<int>(trackH * win.Client.Height / win.ContentH));
    int top = win.VTrack.Top + static_cast<int>(trackH * win.ScrollY / win.ContentH);
    if (top + len - 1 > win.VTrack.Bottom) top = win.VTrack.Bottom - len + 1;
    SetPosSize(thumb.Bounds, win.VTrack.Left, top, win.VTrack.Width, len);
}

// The arrows move the thumb to where the scroll position puts it, kept in the track.
void ThumbFromScrollX(TMyWin& win) {
    TMyWinButton& thumb = win.Button(Btn::HThumb);
    int left = win.HTrack.Left + static_cast<int>(static_cast<int64_t>(win.ScrollX) *
                                                  win.HTrack.Width / win.ContentW);
    left = Clamp(left, win.HTrack.Left, win.HTrack.Right + 1 - thumb.Bounds.Width);
    SetPosSize(thumb.Bounds, left, thumb.Bounds.Top, thumb.Bounds.Width, thumb.Bounds.Height);
}

void ThumbFromScrollY(TMyWin& win) {
    TMyWinButton& thumb = win.Button(Btn::VThumb);
    int top = win.VTrack.Top + static_cast<int>(static_cast<int64_t>(win.ScrollY) *
                                                win.VTrack.Height / win.ContentH);
    top = Clamp(top, win.VTrack.Top, win.VTrack.Bottom + 1 - thumb.Bounds.Height);
    SetPosSize(thumb.Bounds, thumb.Bounds.Left, top, thumb.Bounds.Width, thumb.Bounds.Height);
}

void ThumbDragX(TMyWin& win, int x) {
    if (win.ContentW == 0 || win.HTrack.Width <= 0) return;
    TMyWinButton& thumb = win.Button(Btn::HThumb);
    const int left = Clamp(x, win.HTrack.Left, win.HTrack.Right + 1 - thumb.Bounds.Width);
    SetPosSize(thumb.Bounds, left, thumb.Bounds.Top, thumb.Bounds.Width, thumb.Bounds.Height);
    win.ScrollX = static_cast<int>(static_cast<int64_t>(left - win.HTrack.Left) * win.ContentW /
                                   win.HTrack.Width);
    if (win.ScrollX > 0 && win.ScrollX + win.Client.Width > win.ContentW)
        win.ScrollX = win.ContentW - win.Client.Width;
}

void ThumbDragY(TMyWin& win, int y) {
    if (win.ContentH == 0 || win.VTrack.Height <= 0) return;
    TMyWinButton& thumb = win.Button(Btn::VThumb);
    const int top = Clamp(y, win.VTrack.Top, win.VTrack.Bottom + 1 - thumb.Bounds.Height);
    SetPosSize(thumb.Bounds, thumb.Bounds.Left, top, thumb.Bounds.Width, thumb.Bounds.Height);
    win.ScrollY = static_cast<int>(static_cast<int64_t>(top - win.VTrack.Top) * win.ContentH /
                                   win.VTrack.Height);
    if (win.ScrollY > 0 && win.ScrollY + win.Client.Height > win.ContentH)
        win.ScrollY = win.ContentH - win.Client.Height;
}

// The part of sizing shared by SetClientSize and Relayout: which scroll bars
// the client of cw x ch needs, the outer size that follows, the scroll
// positions kept inside the content, and every sub-rectangle.
void LayoutFromClient(TMyWin& win, int cw, int ch) {
    const bool hadH = win.HScroll, hadV = win.VScroll;
    const bool withContent = win.HasScrollBars && win.ContentW != 0;
    int vw = cw, vh = ch;
    if (withContent) {
        win.HScroll = cw < win.ContentW;
        win.VScroll = ch < win.ContentH;
        vh = win.HScroll ? ch - kScrollBarSize : ch;
        vw = win.VScroll ? cw - kScrollBarSize : cw;
    } else {
        win.HScroll = win.VScroll = false;
        win.ScrollX = win.ScrollY = 0;
    }
    SetPosSize(win.Outer, win.Outer.Left, win.Outer.Top,
               vw + win.FrameW + (win.VScroll ? kScrollBarSize : 0),
               vh + win.FrameH + (win.HScroll ? kScrollBarSize : 0));
    if (withContent) {
        if (win.HScroll != hadH) win.ScrollX = 0;
        if (win.VScroll != hadV) win.ScrollY = 0;
        if (win.ScrollX > 0 && win.ScrollX + vw > win.ContentW) win.ScrollX = win.ContentW - vw;
        if (win.ScrollY > 0 && win.ScrollY + vh > win.ContentH) win.ScrollY = win.ContentH - vh;
    }
    for (Btn id : kHScrollButtons) win.Button(id).Visible = win.HScroll;
    for (Btn id : kVScrollButtons) win.Button(id).Visible = win.VScroll;
    ComputeParts(win);
}

// The frame, caption and limits each kind of window has.
void ApplyKind(TMyWin& win, TWinKind kind) {
    win.Kind = kind;
    switch (kind) {
        case TWinKind::Side:
            win.HasScrollBars = true;
            break;
        case TWinKind::Pocket:
            win.BorderW = 4;
            win.CaptionH = 18;
            win.HasScrollBars = true;
            win.Resizable = true;
            break;
        case TWinKind::Thumb:
            win.BorderW = 4;
            win.CaptionH = 18;
            win.DragByClient = true;
            win.Resizable = true;
            win.KeepAspect = true;
            break;
        case TWinKind::Glass:
            win.LensCorner = 93;
            win.KeepVisible = 38;
            SetPosSize(win.LensSrc[0], 0, 0, 93, 93);
            SetPosSize(win.LensSrc[1], 96, 0, 93, 93);
            SetPosSize(win.LensSrc[2], 0, 96, 93, 93);
            SetPosSize(win.LensSrc[3], 96, 96, 93, 93);
            break;
    }
    win.FrameW = 2 * win.BorderW;
    win.FrameH = 2 * win.BorderW + win.CaptionH;
    win.MinClientW = win.MinClientH = win.HasScrollBars ? 78 : 20;
    UpdateLimits(win);
}

// Every button starts hidden and unanchored, knowing its role and code.
void ResetButtons(TMyWin& win) {
    for (int i = 0; i < kWinButtonCount; ++i) {
        TMyWinButton& b = win.Buttons[i];
        b = TMyWinButton{};
        b.Id = static_cast<Btn>(i);
        b.HitCode = kButtonCodes[i];
    }
}

// The close button of a framed window sits in its top-right corner.
void InitCloseButton(TMyWin& win) {
    TMyWinButton& close = win.Button(Btn::Close);
    InitButton(close, 2, 110, 20, 20, TButtonStyle::FourState);
    close.FromRight = 0;
    close.FromTop = 0;
}

// The glass's buttons are centred in the 46 x 44 corners of its skin.
void InitGlassButtons(TMyWin& win) {
    TMyWinButton& close = win.Button(Btn::Close);
    InitButton(close, 196, 2, 14, 14, TButtonStyle::Plain);
    close.FromRight = (46 - 14) / 2;
    close.FromTop = (44 - 14) / 2;
    for (Btn id : {Btn::Zoom1, Btn::Zoom2}) {
        TMyWinButton& zoom = win.Button(id);
        InitButton(zoom, 196, id == Btn::Zoom1 ? 25 : 55, 27, 27, TButtonStyle::Plain);
        zoom.FromLeft = (46 - 27) / 2;
        zoom.FromTop = (44 - 27) / 2;
    }
}

void InitScrollButtons(TMyWin& win) {
    const int b = win.BorderW;
    const int size = kScrollBarSize;
    TMyWinButton& left = win.Button(Btn::ScrollLeft);
    InitButton(left, 211, 1, size, size, TButtonStyle::Plain);
    left.FromLeft = b;
    left.FromBottom = b;
    TMyWinButton& right = win.Button(Btn::ScrollRight);
    InitButton(right, 211, 21, size, size, TButtonStyle::Plain);
    right.FromRight = b + size;
    right.FromBottom = b;
    InitButton(win.Button(Btn::HThumb), 211, 41, size, size, TButtonStyle::StretchH);
    TMyWinButton& up = win.Button(Btn::ScrollUp);
    InitButton(up, 211, 61, size, size, TButtonStyle::Plain);
    up.FromRight = b;
    up.FromTop = b + win.CaptionH;
    TMyWinButton& down = win.Button(Btn::ScrollDown);
    InitButton(down, 211, 81, size, size, TButtonStyle::Plain);
    down.FromRight = b;
    down.FromBottom = b + size;
    InitButton(win.Button(Btn::VThumb), 211, 101, size, size, TButtonStyle::StretchV);
}

void PlaceCaption(TMyWin& win) {
    const TMyRect& o = win.Outer;
    const int b = win.BorderW;
    if (win.CaptionH > 0) {
        TMyWinButton& close = win.Button(Btn::Close);
        SetBounds(win.CaptionArea, o.Left + b + 8, o.Top, o.Right - close.Width - 7,
                  o.Top + b + win.CaptionH - 1);
        PlaceButton(close, o);
    } else {
        SetNone(win.CaptionArea);
    }
}

void PlaceHScrollBar(TMyWin& win) {
    if (!win.HScroll || win.ContentW == 0) {
        for (Btn id : kHScrollButtons) ClearRect(win.Button(id).Bounds);
        ClearRect(win.HTrack);
        return;
    }
    TMyWinButton& left = win.Button(Btn::ScrollLeft);
    TMyWinButton& right = win.Button(Btn::ScrollRight);
    PlaceButton(left, win.Outer);
    PlaceButton(right, win.Outer);
    SetBounds(win.HTrack, left.Bounds.Right + 1, left.Bounds.Top, right.Bounds.Left - 1,
              left.Bounds.Bottom);
    PlaceHThumb(win);
}

void PlaceVScrollBar(TMyWin& win) {
    if (!win.VScroll || win.ContentH == 0) {
        for (Btn id : kVScrollButtons) ClearRect(win.Button(id).Bounds);
        ClearRect(win.VTrack);
        return;
    }
    TMyWinButton& up = win.Button(Btn::ScrollUp);
    TMyWinButton& down = win.Button(Btn::ScrollDown);
    PlaceButton(up, win.Outer);
    PlaceButton(down, win.Outer);
    SetBounds(win.VTrack, up.Bounds.Left, up.Bounds.Bottom + 1, up.Bounds.Right,
              down.Bounds.Top - 1);
    PlaceVThumb(win);
}

// The border zones that resize the window. There is no top-right zone: the
// close button sits there.
void PlaceResizeZones(TMyWin& win) {
    const int L = win.Outer.Left, T = win.Outer.Top, R = win.Outer.Right, B = win.Outer.Bottom;
    const int b = win.BorderW;
    if (!win.Resizable) {
        SetNone(win.Grip);
        return;
    }
    SetBounds(win.Grip, R - b - 16, B - b - 16, R, B);
    const TMyRect& close = win.Button(Btn::Close).Bounds;
    SetBounds(win.EdgeLeft, L, T + b, L + b - 1, B - b);
    SetBounds(win.EdgeTop, L + b, T, close.Left - 1, T + b - 1);
    SetBounds(win.EdgeRight, R - b + 1, close.Bottom + 1, R, B - b);
    SetBounds(win.EdgeBottom, L + b, B - b + 1, R - b, B);
    SetBounds(win.CornerTopLeft, L, T, L + b - 1, T + b - 1);
    SetBounds(win.CornerBottomLeft, L, B - b + 1, L + b - 1, B);
    SetBounds(win.CornerBottomRight, R - b + 1, B - b + 1, R, B);
}

// The glass: its corner images at the four corners, its buttons, its grip in
// the lower-right corner image; the lens mask follows the new shape.
void PlaceLens(TMyWin& win) {
    const int L = win.Outer.Left, T = win.Outer.Top, R = win.Outer.Right, B = win.Outer.Bottom;
    const int c = win.LensCorner;
    SetPosSize(win.LensDst[0], L, T, c, c);
    SetPosSize(win.LensDst[1], R - c + 1, T, c, c);
    SetPosSize(win.LensDst[2], L, B - c + 1, c, c);
    SetPosSize(win.LensDst[3], R - c + 1, B - c + 1, c, c);
    for (Btn id : {Btn::Close, Btn::Zoom1, Btn::Zoom2}) PlaceButton(win.Button(id), win.Outer);
    SetPosSize(win.Grip, R - 25, B - 24, 21, 21);
    if (win.OnLensChanged) win.OnLensChanged(win);
}

// The resize zone under the point, None when there is none.
THitCode ResizeCodeAt(const TMyWin& win, int x, int y) {
    if (win.Resizable) {
        if (ContainsPoint(win.EdgeLeft, x, y)) return THitCode::Left;
        if (ContainsPoint(win.EdgeRight, x, y)) return THitCode::Right;
        if (ContainsPoint(win.EdgeTop, x, y)) return THitCode::Top;
        if (ContainsPoint(win.EdgeBottom, x, y)) return THitCode::Bottom;
        if (ContainsPoint(win.CornerTopLeft, x, y)) return THitCode::TopLeft;
        if (ContainsPoint(win.CornerBottomLeft, x, y)) return THitCode::BottomLeft;
        if (ContainsPoint(win.CornerBottomRight, x, y) || ContainsPoint(win.Grip, x, y))
            return THitCode::BottomRight;
        return THitCode::None;
    }
    // The glass's grip is the lower-right half of its square.
    if (win.Kind == TWinKind::Glass) {
        const TMyRect& g = win.Grip;
        if (ContainsPoint(g, x, y) && x + y - g.Left - g.Top >= g.Width)
            return THitCode::BottomRight;
        return THitCode::None;
    }
    // A side's corner square between its scroll bars counts as its grip.
    if (win.Kind == TWinKind::Side && (win.HScroll || win.VScroll) &&
        ContainsPoint(win.Corner, x, y))
        return THitCode::BottomRight;
    return THitCode::None;
}

void SetResizeCursor(THitCode code, Platform& platform) {
    switch (code) {
        case THitCode::Left:
        case THitCode::Right:
            platform.SetCursor(CursorShape::SizeWE);
            break;
        case THitCode::Top:
        case THitCode::Bottom:
            platform.SetCursor(CursorShape::SizeNS);
            break;
        case THitCode::TopLeft:
        case THitCode::BottomRight:
            platform.SetCursor(CursorShape::SizeNWSE);
            break;
        default:
            platform.SetCursor(CursorShape::SizeNESW);
            break;
    }
}

// A press on a scroll track beside the thumb pages like the arrow on that side.
THitCode TrackCodeAt(const TMyWin& win, int x, int y) {
    const TMyWinButton& hThumb = win.Button(Btn::HThumb);
    if (win.HScroll && hThumb.Visible && ContainsPoint(win.HTrack, x, y)) {
        if (x > hThumb.Bounds.Right) return win.Button(Btn::ScrollRight).HitCode;
        if (x < hThumb.Bounds.Left) return win.Button(Btn::ScrollLeft).HitCode;
    }
    const TMyWinButton& vThumb = win.Button(Btn::VThumb);
    if (win.VScroll && vThumb.Visible && ContainsPoint(win.VTrack, x, y)) {
        if (y < vThumb.Bounds.Top) return win.Button(Btn::ScrollUp).HitCode;
        if (y > vThumb.Bounds.Bottom) return win.Button(Btn::ScrollDown).HitCode;
    }
    return THitCode::None;
}

// The first visible button under the point becomes hot (and pressed when the
// mouse button is down).
THitCode ButtonCodeAt(TMyWin& win, int x, int y, bool pressing) {
    for (TMyWinButton& b : win.Buttons) {
        if (b.Visible && ContainsPoint(b.Bounds, x, y)) {
            win.HotButton = b.Id;
            b.Hover = true;
            b.Pressed = pressing;
            return b.HitCode;
        }
    }
    return THitCode::None;
}

void ScrollByArrowX(TMyWin& win, int direction) {
    if (win.ContentW == 0 || win.HTrack.Width <= 0) return;
    win.ScrollX += direction * (win.ContentW / 10);
    win.ScrollX = Max(0, Min(win.ScrollX, win.ContentW - win.Client.Width));
    ThumbFromScrollX(win);
}

void ScrollByArrowY(TMyWin& win, int direction) {
    if (win.ContentH == 0 || win.VTrack.Height <= 0) return;
    win.ScrollY += direction * (win.ContentH / 10);
    win.ScrollY = Max(0, Min(win.ScrollY, win.ContentH - win.Client.Height));
    ThumbFromScrollY(win);
}

}  // namespace

void InitButton(TMyWinButton& btn, int skinX, int skinY, int width, int height,
                TButtonStyle style) {
    btn.Width = width;
    btn.Height = height;
    SetPosSize(btn.Bounds, 0, 0, width, height);
    const int d = width + 3;
    SetPosSize(btn.SrcNormal, skinX, skinY, width, height);
    SetPosSize(btn.SrcHover, skinX + d, skinY, width, height);
    if (style == TButtonStyle::FourState) {
        SetPosSize(btn.SrcActive, skinX + 2 * d, skinY, width, height);
        SetPosSize(btn.SrcActiveHover, skinX + 3 * d, skinY, width, height);
        SetPosSize(btn.SrcPressed, skinX + 4 * d, skinY, width, height);
    } else {
        btn.SrcActive = btn.SrcNormal;
        btn.SrcActiveHover = btn.SrcHover;
        SetPosSize(btn.SrcPressed, skinX + 2 * d, skinY, width, height);
    }
    btn.StretchH = style == TButtonStyle::StretchH;
    btn.StretchV = style == TButtonStyle::StretchV;
    btn.Visible = true;
}

void PlaceButton(TMyWinButton& btn, const TMyRect& outer) {
    int x = outer.Left;
    if (btn.FromLeft != kUnsetEdge) {
        x = outer.Left + btn.FromLeft;
    } else if (btn.FromRight != kUnsetEdge) {
        x = outer.Right - btn.Width - btn.FromRight + 1;
    }
    int y = outer.Top;
    if (btn.FromTop != kUnsetEdge) {
        y = outer.Top + btn.FromTop;
    } else if (btn.FromBottom != kUnsetEdge) {
        y = outer.Bottom - btn.Height - btn.FromBottom + 1;
    }
    SetPosSize(btn.Bounds, x, y, btn.Width, btn.Height);
}

void UpdateLimits(TMyWin& win) {
    win.MinOuterW = win.MinClientW + win.FrameW;
    win.MinOuterH = win.MinClientH + win.FrameH;
    win.MaxOuterW = win.MaxClientW + win.FrameW;
    win.MaxOuterH = win.MaxClientH + win.FrameH;
}

void InitWindow(TMyWin& win, int x, int y, int width, int height, TWinKind kind) {
    win = TMyWin{};
    SetPosSize(win.Outer, x, y, width, height);
    ApplyKind(win, kind);
    ResetButtons(win);
    if (kind == TWinKind::Pocket || kind == TWinKind::Thumb) InitCloseButton(win);
    if (kind == TWinKind::Glass) InitGlassButtons(win);
    if (win.HasScrollBars) InitScrollButtons(win);
    SetClientSize(win, false, 0, 0);
    // Without a caption buffer (out of memory) SetCaption draws no caption.
    if (win.CaptionH > 0 && win.CaptionArea.Height > 0 &&
        !Create32(win.CaptionBitmap, 300, win.CaptionArea.Height))
        return;
}

void SetClientSize(TMyWin& win, bool useGiven, int width, int height) {
    int cw = useGiven ? width : win.Outer.Width - win.FrameW;
    int ch = useGiven ? height : win.Outer.Height - win.FrameH;
    if (win.KeepAspect && win.MaxClientW > 0)
        ch = static_cast<int>(static_cast<int64_t>(cw) * win.MaxClientH / win.MaxClientW);
    cw = Max(cw, win.MinClientW);
    ch = Max(ch, win.MinClientH);
    if (win.MaxClientW != 0) cw = Min(cw, win.MaxClientW);
    if (win.MaxClientH != 0) ch = Min(ch, win.MaxClientH);
    LayoutFromClient(win, cw, ch);
}

void Relayout(TMyWin& win) {
    LayoutFromClient(win, win.Outer.Width - win.FrameW, win.Outer.Height - win.FrameH);
}

void ComputeParts(TMyWin& win) {
    const int L = win.Outer.Left, T = win.Outer.Top, R = win.Outer.Right, B = win.Outer.Bottom;
    const int b = win.BorderW;
    SetBounds(win.Client, L + b, T + b + win.CaptionH, R - b - (win.VScroll ? kScrollBarSize : 0),
              B - b - (win.HScroll ? kScrollBarSize : 0));
    PlaceCaption(win);
    PlaceHScrollBar(win);
    PlaceVScrollBar(win);
    if (win.HScroll || win.VScroll) {
        SetPosSize(win.Corner, R - b - 16, B - b - 16, kScrollBarSize, kScrollBarSize);
    } else {
        SetNone(win.Corner);
    }
    PlaceResizeZones(win);
    if (win.Kind == TWinKind::Glass) PlaceLens(win);
}

void ConstrainSize(const TMyWin& win, int& width, int& height, bool widthDrives, bool isClient) {
    int cw = width, ch = height;
    if (!isClient) {
        cw -= win.FrameW;
        ch -= win.FrameH;
    }
    cw = Max(cw, win.MinClientW);
    ch = Max(ch, win.MinClientH);
    if (win.MaxClientW != 0) cw = Min(cw, win.MaxClientW);
    if (win.MaxClientH != 0) ch = Min(ch, win.MaxClientH);
    if (win.KeepAspect && win.MaxClientW > 0 && win.MaxClientH > 0) {
        if (widthDrives) {
            ch = static_cast<int>(static_cast<int64_t>(cw) * win.MaxClientH / win.MaxClientW);
        } else {
            cw = static_cast<int>(static_cast<int64_t>(ch) * win.MaxClientW / win.MaxClientH);
        }
    }
    if (!isClient) {
        cw += win.FrameW;
        ch += win.FrameH;
    }
    width = cw;
    height = ch;
}

void ClearHover(TMyWin& win) {
    win.HotButton.reset();
    for (TMyWinButton& b : win.Buttons) {
        b.Hover = false;
        b.Pressed = false;
    }
}

void SetButtonsActive(TMyWin& win, bool flag) {
    for (TMyWinButton& b : win.Buttons) b.ActiveLook = flag;
}

THitCode HitTest(TMyWin& win, int x, int y, bool pressing, Platform& platform) {
    ClearHover(win);
    if (!win.Visible || !ContainsPoint(win.Outer, x, y)) return THitCode::None;
    if (win.Kind != TWinKind::Glass && ContainsPoint(win.Client, x, y) &&
        !(win.Resizable && ContainsPoint(win.Grip, x, y)))
        return THitCode::None;
    const THitCode resize = ResizeCodeAt(win, x, y);
    if (resize != THitCode::None) {
        SetResizeCursor(resize, platform);
        return resize;
    }
    const THitCode track = TrackCodeAt(win, x, y);
    if (track != THitCode::None) return track;
    return ButtonCodeAt(win, x, y, pressing);
}

bool IsInLens(const TMyWin& glass, int x, int y) {
    const TMyRect& c = glass.Client;
    if (c.Width <= 0 || c.Height <= 0) return false;
    const double rx = c.Width / 2.0, ry = c.Height / 2.0;
    const double dx = x - c.Left - rx, dy = y - c.Top - ry;
    return dx * dx / (rx * rx) + dy * dy / (ry * ry) <= 1.0;
}

bool IsOnFrame(const TMyWin& win, int x, int y, const TMyBitmap* glassSkin) {
    if (win.Kind != TWinKind::Glass)
        return ContainsPoint(win.Outer, x, y) && !ContainsPoint(win.Client, x, y);
    if (IsInLens(win, x, y) || glassSkin == nullptr || glassSkin->Width == 0) return false;
    for (int i = 0; i < 4; ++i) {
        const TMyRect& d = win.LensDst[i];
        if (ContainsPoint(d, x, y))
            return GetAlpha(*glassSkin, win.LensSrc[i].Left + x - d.Left,
                            win.LensSrc[i].Top + y - d.Top) > 200;
    }
    return false;
}

bool IsOnScrollBar(const TMyWin& win, int x, int y) {
    if (!win.Visible) return false;
    const auto on = [&](Btn id) { return ContainsPoint(win.Button(id).Bounds, x, y); };
    if (win.HScroll &&
        (ContainsPoint(win.HTrack, x, y) || on(Btn::ScrollLeft) || on(Btn::ScrollRight)))
        return true;
    if (win.VScroll &&
        (ContainsPoint(win.VTrack, x, y) || on(Btn::ScrollUp) || on(Btn::ScrollDown)))
        return true;
    return (win.HScroll || win.VScroll) && ContainsPoint(win.Corner, x, y);
}

void ScrollBy(TMyWin& win, THitCode code, int x, int y) {
    switch (code) {
        case THitCode::HThumb:
            ThumbDragX(win, x);
            break;
        case THitCode::VThumb:
            ThumbDragY(win, y);
            break;
        case THitCode::LeftArrow:
            ScrollByArrowX(win, -1);
            break;
        case THitCode::RightArrow:
            ScrollByArrowX(win, 1);
            break;
        case THitCode::UpArrow:
            ScrollByArrowY(win, -1);
            break;
        case THitCode::DownArrow:
            ScrollByArrowY(win, 1);
            break;
        case THitCode::Pan:
            if (win.HScroll) ThumbDragX(win, x);
            if (win.VScroll) ThumbDragY(win, y);
            break;
        default:
            break;
    }
}

void SetCaption(TMyWin& win, const std::string& text, Platform& platform) {
    TMyBitmap& bmp = win.CaptionBitmap;
    ClearRect(win.CaptionTextBox);
    if (bmp.Width == 0 || bmp.Height == 0 || bmp.BytesPerPixel != 4) return;
    std::fill(bmp.Bits, bmp.Bits + static_cast<size_t>(bmp.Stride) * bmp.Height, uint8_t{0});
    if (text.empty()) return;
    TextStyle style;
    style.Family = "Tahoma";
    style.PointSize = 8;
    style.Bold = true;
    style.Color = 0xFFFFFF;
    style.EndEllipsis = true;
    platform.RenderText(bmp, TRect{0, 0, 299, bmp.Height - 1}, text, style);
    // White on black: the blue byte is the coverage, so it becomes the alpha.
    for (int y = 0; y < bmp.Height; ++y) {
        uint8_t* p = RowPtr(bmp, y);
        for (int x = 0; x < bmp.Width; ++x, p += 4) {
            if (p[0] != 0) {
                p[3] = p[0];
                IncludeBox(win.CaptionTextBox, x, y, x, y);
            }
        }
    }
}

void CopyGeometry(TMyWin& dst, const TMyWin& src) {
    dst.Outer = src.Outer;
    dst.Client = src.Client;
    dst.MinClientW = src.MinClientW;
    dst.MinClientH = src.MinClientH;
    dst.MaxClientW = src.MaxClientW;
    dst.MaxClientH = src.MaxClientH;
    dst.MinOuterW = src.MinOuterW;
    dst.MinOuterH = src.MinOuterH;
    dst.MaxOuterW = src.MaxOuterW;
    dst.MaxOuterH = src.MaxOuterH;
    dst.FrameW = src.FrameW;
    dst.FrameH = src.FrameH;
    dst.ScrollX = src.ScrollX;
    dst.ScrollY = src.ScrollY;
    dst.ContentW = src.ContentW;
    dst.ContentH = src.ContentH;
    dst.HTrack = src.HTrack;
    dst.VTrack = src.VTrack;
    dst.Corner = src.Corner;
    dst.Grip = src.Grip;
    for (Btn id : kHScrollButtons) dst.Button(id) = src.Button(id);
    for (Btn id : kVScrollButtons) dst.Button(id) = src.Button(id);
    dst.HScroll = src.HScroll;
    dst.VScroll = src.VScroll;
}

void CreatePlayWindows(TPlayWindows& pw, Platform& platform,
                       const std::array<std::string, 4>& pocketCaptions,
                       const std::string& thumbCaption) {
    for (int side = MW_SIDE0; side <= MW_SIDE1; ++side) {
        TMyWin& w = pw.Wins[side];
        InitWindow(w, 0, 0, 100, 100, TWinKind::Side);
        w.Id = static_cast<uint8_t>(side);
        w.Visible = true;
        w.HasBackground = true;
        w.Background = kDefaultBackground;
        w.ToolButton = 5 + side;
    }
    for (int k = 0; k < 4; ++k) {
        TMyWin& w = pw.Wins[MW_POCKET0 + k];
        InitWindow(w, 50 * k, 50 * k, 100, 100, TWinKind::Pocket);
        w.Id = static_cast<uint8_t>(MW_POCKET0 + k);
        w.HasBackground = true;
        w.Background = kDefaultBackground;
        w.ToolButton = 9 + k;
        SetCaption(w, pocketCaptions[k], platform);
    }
    TMyWin& thumb = pw.Wins[MW_THUMB];
    InitWindow(thumb, 0, 0, 100, 100, TWinKind::Thumb);
    thumb.Id = MW_THUMB;
    thumb.ToolButton = 7;
    SetCaption(thumb, thumbCaption, platform);

    // The glass: client between 240 x 240 and 480 x 480, starting at the smallest.
    InitWindow(pw.Glass, 0, 0, 240, 240, TWinKind::Glass);
    pw.Glass.Id = kGlassNumber;
    pw.Glass.MinClientW = pw.Glass.MinClientH = 240;
    pw.Glass.MaxClientW = pw.Glass.MaxClientH = 480;
    UpdateLimits(pw.Glass);
    SetClientSize(pw.Glass, false, 0, 0);
    pw.Glass.ToolButton = 15;
    // The glass starts at zoom 2: its first zoom button shows, the second waits.
    pw.Glass.Button(Btn::Zoom2).Visible = false;
    InitPlayWindows(pw);
}

void InitZOrder(TPlayWindows& pw) {
    for (int i = 0; i < kPlayWindowCount; ++i) pw.ZOrder[i] = i;
}

void InitPlayWindows(TPlayWindows& pw) {
    InitZOrder(pw);
    pw.ActiveWin = nullptr;
}

void Activate(TPlayWindows& pw, TMyWin* win) {
    for (TMyWin& w : pw.Wins) {
        w.Active = false;
        SetButtonsActive(w, false);
    }
    pw.Glass.Active = false;
    SetButtonsActive(pw.Glass, false);
    pw.ActiveWin = win;
    if (win != nullptr) {
        win->Active = true;
        SetButtonsActive(*win, true);
    }
    if (pw.OnActivate) pw.OnActivate(win);
}

void BringToFront(TPlayWindows& pw, TMyWin& win) {
    for (int pos = 2; pos < kPlayWindowCount; ++pos) {
        if (&win != &pw.Glass && pw.ZOrder[pos] == win.Id) {
            for (int k = pos; k < kPlayWindowCount - 1; ++k) pw.ZOrder[k] = pw.ZOrder[k + 1];
            pw.ZOrder[kPlayWindowCount - 1] = win.Id;
            break;
        }
    }
    Activate(pw, &win);
}

void SetVisible(TPlayWindows& pw, TMyWin& win, bool visible) {
    win.Visible = visible;
    if (!visible) {
        win.Active = false;
        SetButtonsActive(win, false);
        if (pw.ActiveWin == &win) pw.ActiveWin = nullptr;
    }
}

}  // namespace orvel
