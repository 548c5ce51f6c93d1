#include "play/PlayWindow.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/Platform.h"

namespace orvel {

namespace {

constexpr uint8_t kButtonCodes[kWinButtonCount] = {26, 27, 28, 21, 22, 20, 24, 25, 23};

void SetNone(TMyRect& r) {
    SetBounds(r, -1, -1, -1, -1);
}

// Places the thumb of a scroll bar inside its track from a scroll position.
void PlaceHThumb(TMyWin& win) {
    TMyWinButton& thumb = win.Buttons[BTN_HTHUMB];
    const int64_t trackW = win.HTrack.Width;
    const int len = Max(12, static_cast<int>(trackW * win.Client.Width / win.ContentW));
    int left = win.HTrack.Left + static_cast<int>(trackW * win.ScrollX / win.ContentW);
    if (left + len - 1 > win.HTrack.Right) left = win.HTrack.Right - len + 1;
    SetPosSize(thumb.Bounds, left, win.HTrack.Top, len, win.HTrack.Height);
}

void PlaceVThumb(TMyWin& win) {
    TMyWinButton& thumb = win.Buttons[BTN_VTHUMB];
    const int64_t trackH = win.VTrack.Height;
    const int len = Max(12, static_cast<int>(trackH * win.Client.Height / win.ContentH));
    int top = win.VTrack.Top + static_cast<int>(trackH * win.ScrollY / win.ContentH);
    if (top + len - 1 > win.VTrack.Bottom) top = win.VTrack.Bottom - len + 1;
    SetPosSize(thumb.Bounds, win.VTrack.Left, top, win.VTrack.Width, len);
}

// The arrows move the thumb to where the scroll position puts it, kept in the track.
void ThumbFromScrollX(TMyWin& win) {
    TMyWinButton& thumb = win.Buttons[BTN_HTHUMB];
    int left = win.HTrack.Left + static_cast<int>(static_cast<int64_t>(win.ScrollX) *
                                                  win.HTrack.Width / win.ContentW);
    left = Clamp(left, win.HTrack.Left, win.HTrack.Right + 1 - thumb.Bounds.Width);
    SetPosSize(thumb.Bounds, left, thumb.Bounds.Top, thumb.Bounds.Width, thumb.Bounds.Height);
}

void ThumbFromScrollY(TMyWin& win) {
    TMyWinButton& thumb = win.Buttons[BTN_VTHUMB];
    int top = win.VTrack.Top + static_cast<int>(static_cast<int64_t>(win.ScrollY) *
                                                win.VTrack.Height / win.ContentH);
    top = Clamp(top, win.VTrack.Top, win.VTrack.Bottom + 1 - thumb.Bounds.Height);
    SetPosSize(thumb.Bounds, thumb.Bounds.Left, top, thumb.Bounds.Width, thumb.Bounds.Height);
}

void ThumbDragX(TMyWin& win, int x) {
    if (win.ContentW == 0 || win.HTrack.Width <= 0) return;
    TMyWinButton& thumb = win.Buttons[BTN_HTHUMB];
    const int left = Clamp(x, win.HTrack.Left, win.HTrack.Right + 1 - thumb.Bounds.Width);
    SetPosSize(thumb.Bounds, left, thumb.Bounds.Top, thumb.Bounds.Width, thumb.Bounds.Height);
    win.ScrollX = static_cast<int>(static_cast<int64_t>(left - win.HTrack.Left) * win.ContentW /
                                   win.HTrack.Width);
    if (win.ScrollX > 0 && win.ScrollX + win.Client.Width > win.ContentW)
        win.ScrollX = win.ContentW - win.Client.Width;
}

void ThumbDragY(TMyWin& win, int y) {
    if (win.ContentH == 0 || win.VTrack.Height <= 0) return;
    TMyWinButton& thumb = win.Buttons[BTN_VTHUMB];
    const int top = Clamp(y, win.VTrack.Top, win.VTrack.Bottom + 1 - thumb.Bounds.Height);
    SetPosSize(thumb.Bounds, thumb.Bounds.Left, top, thumb.Bounds.Width, thumb.Bounds.Height);
    win.ScrollY = static_cast<int>(static_cast<int64_t>(top - win.VTrack.Top) * win.ContentH /
                                   win.VTrack.Height);
    if (win.ScrollY > 0 && win.ScrollY + win.Client.Height > win.ContentH)
        win.ScrollY = win.ContentH - win.Client.Height;
}

// Steps 3 to 6 of sizing a window from a client size (scroll bars included).
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
    for (int i = BTN_LEFT; i <= BTN_HTHUMB; ++i) win.Buttons[i].Visible = win.HScroll;
    for (int i = BTN_UP; i <= BTN_VTHUMB; ++i) win.Buttons[i].Visible = win.VScroll;
    ComputeParts(win);
}

}  // namespace

void InitButton(TMyWinButton& btn, int skinX, int skinY, int width, int height, int flags) {
    btn.Width = width;
    btn.Height = height;
    SetPosSize(btn.Bounds, 0, 0, width, height);
    const int d = width + 3;
    if (flags & kBtnFourState) {
        SetPosSize(btn.SrcNormal, skinX, skinY, width, height);
        SetPosSize(btn.SrcHover, skinX + d, skinY, width, height);
        SetPosSize(btn.SrcActive, skinX + 2 * d, skinY, width, height);
        SetPosSize(btn.SrcActiveHover, skinX + 3 * d, skinY, width, height);
        SetPosSize(btn.SrcPressed, skinX + 4 * d, skinY, width, height);
    } else {
        SetPosSize(btn.SrcNormal, skinX, skinY, width, height);
        SetPosSize(btn.SrcHover, skinX + d, skinY, width, height);
        btn.SrcActive = btn.SrcNormal;
        btn.SrcActiveHover = btn.SrcHover;
        SetPosSize(btn.SrcPressed, skinX + 2 * d, skinY, width, height);
    }
    btn.StretchH = (flags & kBtnStretchH) != 0;
    btn.StretchV = (flags & kBtnStretchV) != 0;
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

void InitWindow(TMyWin& win, int x, int y, int width, int height, int kind) {
    win = TMyWin{};
    win.Kind = static_cast<uint8_t>(kind);
    switch (kind) {
        case kKindSide:
            win.HasScrollBars = true;
            break;
        case kKindPocket:
            win.BorderW = 4;
            win.CaptionH = 18;
            win.HasScrollBars = true;
            win.Resizable = true;
            break;
        case kKindThumb:
            win.BorderW = 4;
            win.CaptionH = 18;
            win.DragByClient = true;
            win.Resizable = true;
            win.KeepAspect = true;
            break;
        case kKindGlass:
            win.LensCorner = 93;
            win.KeepVisible = 38;
            SetPosSize(win.LensSrc[0], 0, 0, 93, 93);
            SetPosSize(win.LensSrc[1], 96, 0, 93, 93);
            SetPosSize(win.LensSrc[2], 0, 96, 93, 93);
            SetPosSize(win.LensSrc[3], 96, 96, 93, 93);
            break;
        default:
            break;
    }
    win.FrameW = 2 * win.BorderW;
    win.FrameH = 2 * win.BorderW + win.CaptionH;
    SetPosSize(win.Outer, x, y, width, height);
    win.MinClientW = win.MinClientH = win.HasScrollBars ? 78 : 20;
    UpdateLimits(win);

    for (int i = 0; i < kWinButtonCount; ++i) {
        TMyWinButton& b = win.Buttons[i];
        b = TMyWinButton{};
        b.Id = i;
        b.HitCode = kButtonCodes[i];
    }
    if (kind == kKindPocket || kind == kKindThumb) {
        TMyWinButton& close = win.Buttons[BTN_CLOSE];
        InitButton(close, 2, 110, 20, 20, kBtnFourState);
        close.FromRight = 0;
        close.FromTop = 0;
    } else if (kind == kKindGlass) {
        TMyWinButton& close = win.Buttons[BTN_CLOSE];
        InitButton(close, 196, 2, 14, 14, 0);
        close.FromRight = (46 - 14) / 2;
        close.FromTop = (44 - 14) / 2;
        for (int i = BTN_ZOOM1; i <= BTN_ZOOM2; ++i) {
            TMyWinButton& zoom = win.Buttons[i];
            InitButton(zoom, 196, i == BTN_ZOOM1 ? 25 : 55, 27, 27, 0);
            zoom.FromLeft = (46 - 27) / 2;
            zoom.FromTop = (44 - 27) / 2;
        }
    }
    if (win.HasScrollBars) {
        const int b = win.BorderW;
        TMyWinButton* bt = win.Buttons;
        InitButton(bt[BTN_LEFT], 211, 1, 17, 17, 0);
        bt[BTN_LEFT].FromLeft = b;
        bt[BTN_LEFT].FromBottom = b;
        InitButton(bt[BTN_RIGHT], 211, 21, 17, 17, 0);
        bt[BTN_RIGHT].FromRight = b + kScrollBarSize;
        bt[BTN_RIGHT].FromBottom = b;
        InitButton(bt[BTN_HTHUMB], 211, 41, 17, 17, kBtnStretchH);
        InitButton(bt[BTN_UP], 211, 61, 17, 17, 0);
        bt[BTN_UP].FromRight = b;
        bt[BTN_UP].FromTop = b + win.CaptionH;
        InitButton(bt[BTN_DOWN], 211, 81, 17, 17, 0);
        bt[BTN_DOWN].FromRight = b;
        bt[BTN_DOWN].FromBottom = b + kScrollBarSize;
        InitButton(bt[BTN_VTHUMB], 211, 101, 17, 17, kBtnStretchV);
    }
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
    TMyWinButton* bt = win.Buttons;
    SetBounds(win.Client, L + b, T + b + win.CaptionH, R - b - (win.VScroll ? kScrollBarSize : 0),
              B - b - (win.HScroll ? kScrollBarSize : 0));

    if (win.CaptionH > 0) {
        SetBounds(win.CaptionArea, L + b + 8, T, R - bt[BTN_CLOSE].Width - 7,
                  T + b + win.CaptionH - 1);
        PlaceButton(bt[BTN_CLOSE], win.Outer);
    } else {
        SetNone(win.CaptionArea);
    }

    if (win.HScroll && win.ContentW != 0) {
        PlaceButton(bt[BTN_LEFT], win.Outer);
        PlaceButton(bt[BTN_RIGHT], win.Outer);
        SetBounds(win.HTrack, bt[BTN_LEFT].Bounds.Right + 1, bt[BTN_LEFT].Bounds.Top,
                  bt[BTN_RIGHT].Bounds.Left - 1, bt[BTN_LEFT].Bounds.Bottom);
        PlaceHThumb(win);
    } else {
        for (int i = BTN_LEFT; i <= BTN_HTHUMB; ++i) ClearRect(bt[i].Bounds);
        ClearRect(win.HTrack);
    }
    if (win.VScroll && win.ContentH != 0) {
        PlaceButton(bt[BTN_UP], win.Outer);
        PlaceButton(bt[BTN_DOWN], win.Outer);
        SetBounds(win.VTrack, bt[BTN_UP].Bounds.Left, bt[BTN_UP].Bounds.Bottom + 1,
                  bt[BTN_UP].Bounds.Right, bt[BTN_DOWN].Bounds.Top - 1);
        PlaceVThumb(win);
    } else {
        for (int i = BTN_UP; i <= BTN_VTHUMB; ++i) ClearRect(bt[i].Bounds);
        ClearRect(win.VTrack);
    }

    if (win.HScroll || win.VScroll) {
        SetPosSize(win.Corner, R - b - 16, B - b - 16, kScrollBarSize, kScrollBarSize);
    } else {
        SetNone(win.Corner);
    }

    if (win.Resizable) {
        SetBounds(win.Grip, R - b - 16, B - b - 16, R, B);
        const TMyRect& close = bt[BTN_CLOSE].Bounds;
        SetBounds(win.EdgeLeft, L, T + b, L + b - 1, B - b);
        SetBounds(win.EdgeTop, L + b, T, close.Left - 1, T + b - 1);
        SetBounds(win.EdgeRight, R - b + 1, close.Bottom + 1, R, B - b);
        SetBounds(win.EdgeBottom, L + b, B - b + 1, R - b, B);
        SetBounds(win.CornerTopLeft, L, T, L + b - 1, T + b - 1);
        SetBounds(win.CornerBottomLeft, L, B - b + 1, L + b - 1, B);
        SetBounds(win.CornerBottomRight, R - b + 1, B - b + 1, R, B);
    } else {
        SetNone(win.Grip);
    }

    if (win.Kind == kKindGlass) {
        const int c = win.LensCorner;
        SetPosSize(win.LensDst[0], L, T, c, c);
        SetPosSize(win.LensDst[1], R - c + 1, T, c, c);
        SetPosSize(win.LensDst[2], L, B - c + 1, c, c);
        SetPosSize(win.LensDst[3], R - c + 1, B - c + 1, c, c);
        for (int i = BTN_CLOSE; i <= BTN_ZOOM2; ++i) PlaceButton(bt[i], win.Outer);
        SetPosSize(win.Grip, R - 25, B - 24, 21, 21);
        if (win.OnLensChanged) win.OnLensChanged(win);
    }
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
    win.HotButton = -1;
    for (TMyWinButton& b : win.Buttons) {
        b.Hover = false;
        b.Pressed = false;
    }
}

void SetButtonsActive(TMyWin& win, bool flag) {
    for (TMyWinButton& b : win.Buttons) b.ActiveLook = flag;
}

int HitTest(TMyWin& win, int x, int y, bool pressing, Platform& platform) {
    ClearHover(win);
    if (!win.Visible || !ContainsPoint(win.Outer, x, y)) return HIT_NONE;
    if (win.Kind != kKindGlass && ContainsPoint(win.Client, x, y) &&
        !(win.Resizable && ContainsPoint(win.Grip, x, y)))
        return HIT_NONE;

    int code = HIT_NONE;
    if (win.Resizable) {
        if (ContainsPoint(win.EdgeLeft, x, y)) {
            code = HIT_LEFT;
        } else if (ContainsPoint(win.EdgeRight, x, y)) {
            code = HIT_RIGHT;
        } else if (ContainsPoint(win.EdgeTop, x, y)) {
            code = HIT_TOP;
        } else if (ContainsPoint(win.EdgeBottom, x, y)) {
            code = HIT_BOTTOM;
        } else if (ContainsPoint(win.CornerTopLeft, x, y)) {
            code = HIT_TOPLEFT;
        } else if (ContainsPoint(win.CornerBottomLeft, x, y)) {
            code = HIT_BOTTOMLEFT;
        } else if (ContainsPoint(win.CornerBottomRight, x, y) || ContainsPoint(win.Grip, x, y)) {
            code = HIT_BOTTOMRIGHT;
        }
    } else if (win.Kind == kKindGlass) {
        if (ContainsPoint(win.Grip, x, y) && x + y - win.Grip.Left - win.Grip.Top >= win.Grip.Width)
            code = HIT_BOTTOMRIGHT;
    } else if (win.Kind == kKindSide && (win.HScroll || win.VScroll) &&
               ContainsPoint(win.Corner, x, y)) {
        code = HIT_BOTTOMRIGHT;
    }
    if (code >= HIT_LEFT && code <= HIT_BOTTOMRIGHT) {
        switch (code) {
            case HIT_LEFT:
            case HIT_RIGHT:
                platform.SetCursor(CursorShape::SizeWE);
                break;
            case HIT_TOP:
            case HIT_BOTTOM:
                platform.SetCursor(CursorShape::SizeNS);
                break;
            case HIT_TOPLEFT:
            case HIT_BOTTOMRIGHT:
                platform.SetCursor(CursorShape::SizeNWSE);
                break;
            default:
                platform.SetCursor(CursorShape::SizeNESW);
                break;
        }
        return code;
    }

    const TMyWinButton* bt = win.Buttons;
    if (win.HScroll && bt[BTN_HTHUMB].Visible && ContainsPoint(win.HTrack, x, y)) {
        if (x > bt[BTN_HTHUMB].Bounds.Right) return bt[BTN_RIGHT].HitCode;
        if (x < bt[BTN_HTHUMB].Bounds.Left) return bt[BTN_LEFT].HitCode;
    }
    if (win.VScroll && bt[BTN_VTHUMB].Visible && ContainsPoint(win.VTrack, x, y)) {
        if (y < bt[BTN_VTHUMB].Bounds.Top) return bt[BTN_UP].HitCode;
        if (y > bt[BTN_VTHUMB].Bounds.Bottom) return bt[BTN_DOWN].HitCode;
    }
    for (int i = 0; i < kWinButtonCount; ++i) {
        TMyWinButton& b = win.Buttons[i];
        if (b.Visible && ContainsPoint(b.Bounds, x, y)) {
            win.HotButton = i;
            b.Hover = true;
            b.Pressed = pressing;
            return b.HitCode;
        }
    }
    return HIT_NONE;
}

bool IsInLens(const TMyWin& glass, int x, int y) {
    const TMyRect& c = glass.Client;
    if (c.Width <= 0 || c.Height <= 0) return false;
    const double rx = c.Width / 2.0, ry = c.Height / 2.0;
    const double dx = x - c.Left - rx, dy = y - c.Top - ry;
    return dx * dx / (rx * rx) + dy * dy / (ry * ry) <= 1.0;
}

bool IsOnFrame(const TMyWin& win, int x, int y, const TMyBitmap* glassSkin) {
    if (win.Kind != kKindGlass)
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
    const TMyWinButton* bt = win.Buttons;
    if (win.HScroll &&
        (ContainsPoint(win.HTrack, x, y) || ContainsPoint(bt[BTN_LEFT].Bounds, x, y) ||
         ContainsPoint(bt[BTN_RIGHT].Bounds, x, y)))
        return true;
    if (win.VScroll && (ContainsPoint(win.VTrack, x, y) || ContainsPoint(bt[BTN_UP].Bounds, x, y) ||
                        ContainsPoint(bt[BTN_DOWN].Bounds, x, y)))
        return true;
    return (win.HScroll || win.VScroll) && ContainsPoint(win.Corner, x, y);
}

void ScrollBy(TMyWin& win, int code, int x, int y) {
    switch (code) {
        case HIT_HTHUMB:
            ThumbDragX(win, x);
            break;
        case HIT_VTHUMB:
            ThumbDragY(win, y);
            break;
        case HIT_LEFTARROW:
        case HIT_RIGHTARROW: {
            if (win.ContentW == 0 || win.HTrack.Width <= 0) break;
            const int step = win.ContentW / 10;
            win.ScrollX += code == HIT_LEFTARROW ? -step : step;
            win.ScrollX = Max(0, Min(win.ScrollX, win.ContentW - win.Client.Width));
            ThumbFromScrollX(win);
            break;
        }
        case HIT_UPARROW:
        case HIT_DOWNARROW: {
            if (win.ContentH == 0 || win.VTrack.Height <= 0) break;
            const int step = win.ContentH / 10;
            win.ScrollY += code == HIT_UPARROW ? -step : step;
            win.ScrollY = Max(0, Min(win.ScrollY, win.ContentH - win.Client.Height));
            ThumbFromScrollY(win);
            break;
        }
        case HIT_PAN:
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
    for (int i = BTN_LEFT; i <= BTN_VTHUMB; ++i) dst.Buttons[i] = src.Buttons[i];
    dst.HScroll = src.HScroll;
    dst.VScroll = src.VScroll;
}

void CreatePlayWindows(TPlayWindows& pw, Platform& platform,
                       const std::array<std::string, 4>& pocketCaptions, const std::string& thumbCaption) {
    for (int side = MW_SIDE0; side <= MW_SIDE1; ++side) {
        TMyWin& w = pw.Wins[side];
        InitWindow(w, 0, 0, 100, 100, kKindSide);
        w.Id = static_cast<uint8_t>(side);
        w.Visible = true;
        w.HasBackground = true;
        w.Background = kDefaultBackground;
        w.ToolButton = 5 + side;
    }
    for (int k = 0; k < 4; ++k) {
        TMyWin& w = pw.Wins[MW_POCKET0 + k];
        InitWindow(w, 50 * k, 50 * k, 100, 100, kKindPocket);
        w.Id = static_cast<uint8_t>(MW_POCKET0 + k);
        w.HasBackground = true;
        w.Background = kDefaultBackground;
        w.ToolButton = 9 + k;
        SetCaption(w, pocketCaptions[k], platform);
    }
    TMyWin& thumb = pw.Wins[MW_THUMB];
    InitWindow(thumb, 0, 0, 100, 100, kKindThumb);
    thumb.Id = MW_THUMB;
    thumb.ToolButton = 7;
    SetCaption(thumb, thumbCaption, platform);

    // The glass: client between 240 x 240 and 480 x 480, starting at the smallest.
    InitWindow(pw.Glass, 0, 0, 240, 240, kKindGlass);
    pw.Glass.Id = kPlayWindowCount;
    pw.Glass.MinClientW = pw.Glass.MinClientH = 240;
    pw.Glass.MaxClientW = pw.Glass.MaxClientH = 480;
    UpdateLimits(pw.Glass);
    SetClientSize(pw.Glass, false, 0, 0);
    pw.Glass.ToolButton = 15;
    // The glass starts at zoom 2: its first zoom button shows, the second waits.
    pw.Glass.Buttons[BTN_ZOOM2].Visible = false;
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
