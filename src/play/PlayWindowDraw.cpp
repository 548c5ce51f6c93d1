#include <algorithm>

#include "play/PlayWindow.h"

namespace orvel {

namespace {

const TMyRect& ButtonImage(const TMyWinButton& b) {
    if (b.ActiveLook && b.Pressed) return b.SrcPressed;
    if (b.ActiveLook && b.Hover) return b.SrcActiveHover;
    if (b.ActiveLook) return b.SrcActive;
    if (b.Hover) return b.SrcHover;
    return b.SrcNormal;
}

void DrawButton(TMyBitmap& t, const TMyRect& upd, const TMyWinButton& b, const TMyBitmap& skin) {
    const TMyRect& img = ButtonImage(b);
    const TMyRect& r = b.Bounds;
    if (r.Width <= 0 || r.Height <= 0) return;
    if (b.StretchH) {
        const int s = img.Width / 2 - 1;
        BlitAlpha(t, r.Left, r.Top, s, img.Height, skin, img.Left, img.Top, s, img.Height, upd);
        BlitAlpha(t, r.Right - s + 1, r.Top, s, img.Height, skin, img.Left + img.Width - s, img.Top,
                  s, img.Height, upd);
        const int rest = r.Width - 2 * s;
        if (rest > 0)
            BlitAlpha(t, r.Left + s, r.Top, rest, img.Height, skin, img.Left + s, img.Top, 1,
                      img.Height, upd);
    } else if (b.StretchV) {
        const int s = img.Height / 2 - 1;
        BlitAlpha(t, r.Left, r.Top, img.Width, s, skin, img.Left, img.Top, img.Width, s, upd);
        BlitAlpha(t, r.Left, r.Bottom - s + 1, img.Width, s, skin, img.Left,
                  img.Top + img.Height - s, img.Width, s, upd);
        const int rest = r.Height - 2 * s;
        if (rest > 0)
            BlitAlpha(t, r.Left, r.Top + s, img.Width, rest, skin, img.Left, img.Top + s, img.Width,
                      1, upd);
    } else {
        BlitAlpha(t, r.Left, r.Top, r.Width, r.Height, skin, img.Left, img.Top, img.Width,
                  img.Height, upd);
    }
}

// The skin's left column of the frame images: the active look lies to the
// right of the inactive one.
int FrameSkinX(const TMyWin& win) {
    return win.Active ? 103 : 1;
}

void DrawCaptionText(TMyBitmap& t, const TMyRect& upd, const TMyWin& win) {
    const TMyRect& box = win.CaptionTextBox;
    if (win.CaptionBitmap.Width == 0 || box.Width <= 0 || box.Height <= 0 || box.Left == kUnsetEdge)
        return;
    const TMyRect& area = win.CaptionArea;
    const int w = Min(box.Width, area.Width);
    const int h = Min(box.Height, area.Height);
    const int x = Max(win.Outer.Left + (win.Outer.Width - w) / 2, area.Left);
    const int y = area.Top + (area.Height - h) / 2 + 1;
    if (w > 0 && h > 0) BlitAlpha(t, x, y, w, h, win.CaptionBitmap, box.Left, box.Top, w, h, upd);
}

// The caption bar: its two ends and the middle column stretched between them.
void DrawCaption(TMyBitmap& t, const TMyRect& upd, const TMyWin& win, const TMyBitmap& skin) {
    const int x0 = FrameSkinX(win);
    const int L = win.Outer.Left, T = win.Outer.Top, R = win.Outer.Right;
    const int c = win.CaptionH + win.BorderW;
    BlitAlpha(t, L, T, 6, c, skin, x0, 1, 6, c, upd);
    BlitAlpha(t, R - 5, T, 6, c, skin, x0 + 94, 1, 6, c, upd);
    BlitAlpha(t, L + 6, T, win.Outer.Width - 12, c, skin, x0 + 6, 1, 1, c, upd);
    DrawCaptionText(t, upd, win);
}

// The bottom edge with its corners, then the side edges below the caption,
// each with its top end.
void DrawBorder(TMyBitmap& t, const TMyRect& upd, const TMyWin& win, const TMyBitmap& skin) {
    const int x0 = FrameSkinX(win);
    const int L = win.Outer.Left, T = win.Outer.Top, R = win.Outer.Right, B = win.Outer.Bottom;
    const int b = win.BorderW;
    BlitAlpha(t, L + 10, B - b + 1, win.Outer.Width - 20, b, skin, x0 + 10, 97, 1, b, upd);
    BlitAlpha(t, L, B - b + 1, 10, b, skin, x0, 97, 10, b, upd);
    BlitAlpha(t, R - 9, B - b + 1, 10, b, skin, x0 + 90, 97, 10, b, upd);
    const int y = T + win.CaptionH + b;
    const int h = win.Outer.Height - win.CaptionH - 2 * b;
    if (h <= 0) return;
    const int end = Min(5, h);
    BlitAlpha(t, L, y, b, h, skin, x0, 31, b, 1, upd);
    BlitAlpha(t, L, y, b, end, skin, x0, 23, b, end, upd);
    BlitAlpha(t, R - b + 1, y, b, h, skin, x0 + 96, 31, b, 1, upd);
    BlitAlpha(t, R - b + 1, y, b, end, skin, x0 + 96, 23, b, end, upd);
}

void DrawScrollTracks(TMyBitmap& t, const TMyRect& upd, const TMyWin& win, const TMyBitmap& skin) {
    const TMyRect& v = win.VTrack;
    const TMyRect& h = win.HTrack;
    if (win.VScroll && v.Height > 0)
        BlitAlpha(t, v.Left, v.Top, v.Width, v.Height, skin, 276, 21, v.Width, 1, upd);
    if (win.HScroll && h.Width > 0)
        BlitAlpha(t, h.Left, h.Top, h.Width, h.Height, skin, 296, 1, 1, h.Height, upd);
    if (win.HScroll || win.VScroll)
        BlitAlpha(t, win.Corner.Left, win.Corner.Top, kScrollBarSize, kScrollBarSize, skin, 276, 1,
                  kScrollBarSize, kScrollBarSize, upd);
}

// The background picture scrolls with the content; a picture code whose
// picture is not loaded falls back to the default colour.
void DrawBackground(TMyBitmap& t, const TMyRect& upd, const TMyWin& win, const TPlayWindows& pw) {
    const TMyRect& c = win.Client;
    if (!win.HasBackground || c.Width <= 0 || c.Height <= 0) return;
    const TMyBitmap* pic = pw.BkgPicture;
    const bool isPicture = IsBackgroundPictureCode(win.Background);
    if (isPicture && pic != nullptr && pic->Width > 0 && pw.BkgPictureCode == win.Background) {
        BlitAlpha(t, c.Left, c.Top, c.Width, c.Height, *pic, win.ScrollX, win.ScrollY, c.Width,
                  c.Height, upd);
        return;
    }
    TMyRect part;
    if (!IntersectRect(c, upd, &part)) return;
    const TColor colour = isPicture ? kDefaultBackground : static_cast<TColor>(win.Background);
    FillBox(t, part.Left, part.Top, part.Width, part.Height, colour);
}

void DrawLensCorners(TMyBitmap& t, const TMyRect& upd, const TMyWin& glass,
                     const TMyBitmap& glassSkin) {
    for (int i = 0; i < 4; ++i) {
        const TMyRect& s = glass.LensSrc[i];
        const TMyRect& d = glass.LensDst[i];
        BlitAlpha(t, d.Left, d.Top, d.Width, d.Height, glassSkin, s.Left, s.Top, s.Width, s.Height,
                  upd);
    }
}

}  // namespace

void DrawWindow(TMyBitmap& t, const TMyRect& upd, const TMyWin& win, const TPlayWindows& pw) {
    if (t.Width == 0 || IsEmpty(upd)) return;
    const TMyBitmap& skin = pw.WinSkin;
    const bool haveSkin = skin.Width > 0;
    if (win.CaptionH > 0 && haveSkin) DrawCaption(t, upd, win, skin);
    if (win.BorderW > 0 && haveSkin) DrawBorder(t, upd, win, skin);
    if (haveSkin) DrawScrollTracks(t, upd, win, skin);
    DrawBackground(t, upd, win, pw);

    const bool glass = win.Kind == TWinKind::Glass;
    if (glass && pw.GlassSkin.Width > 0) DrawLensCorners(t, upd, win, pw.GlassSkin);
    const TMyBitmap& buttonSkin = glass ? pw.GlassSkin : skin;
    if (buttonSkin.Width > 0) {
        for (const TMyWinButton& btn : win.Buttons)
            if (btn.Visible) DrawButton(t, upd, btn, buttonSkin);
    }
}

}  // namespace orvel
