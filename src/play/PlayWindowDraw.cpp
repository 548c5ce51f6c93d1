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

}  // namespace

void DrawWindow(TMyBitmap& t, const TMyRect& upd, const TMyWin& win, const TPlayWindows& pw) {
    if (t.Width == 0 || IsEmpty(upd)) return;
    const TMyBitmap& skin = pw.WinSkin;
    const bool haveSkin = skin.Width > 0;
    const int x0 = win.Active ? 103 : 1;
    const int L = win.Outer.Left, T = win.Outer.Top, R = win.Outer.Right;
    const int W = win.Outer.Width, H = win.Outer.Height;
    const int b = win.BorderW;

    if (win.CaptionH > 0 && haveSkin) {
        const int c = win.CaptionH + b;
        BlitAlpha(t, L, T, 6, c, skin, x0, 1, 6, c, upd);
        BlitAlpha(t, R - 5, T, 6, c, skin, x0 + 94, 1, 6, c, upd);
        BlitAlpha(t, L + 6, T, W - 12, c, skin, x0 + 6, 1, 1, c, upd);
        const TMyRect& box = win.CaptionTextBox;
        if (win.CaptionBitmap.Width > 0 && box.Width > 0 && box.Height > 0 &&
            box.Left != kUnsetEdge) {
            const int w = Min(box.Width, win.CaptionArea.Width);
            const int h = Min(box.Height, win.CaptionArea.Height);
            const int x = Max(L + (W - w) / 2, win.CaptionArea.Left);
            const int y = win.CaptionArea.Top + (win.CaptionArea.Height - h) / 2 + 1;
            if (w > 0 && h > 0)
                BlitAlpha(t, x, y, w, h, win.CaptionBitmap, box.Left, box.Top, w, h, upd);
        }
    }

    if (b > 0 && haveSkin) {
        const int B = win.Outer.Bottom;
        BlitAlpha(t, L + 10, B - b + 1, W - 20, b, skin, x0 + 10, 97, 1, b, upd);
        BlitAlpha(t, L, B - b + 1, 10, b, skin, x0, 97, 10, b, upd);
        BlitAlpha(t, R - 9, B - b + 1, 10, b, skin, x0 + 90, 97, 10, b, upd);
        const int y = T + win.CaptionH + b;
        const int h = H - win.CaptionH - 2 * b;
        if (h > 0) {
            BlitAlpha(t, L, y, b, h, skin, x0, 31, b, 1, upd);
            BlitAlpha(t, L, y, b, Min(5, h), skin, x0, 23, b, Min(5, h), upd);
            BlitAlpha(t, R - b + 1, y, b, h, skin, x0 + 96, 31, b, 1, upd);
            BlitAlpha(t, R - b + 1, y, b, Min(5, h), skin, x0 + 96, 23, b, Min(5, h), upd);
        }
    }

    if (haveSkin) {
        if (win.VScroll && win.VTrack.Height > 0)
            BlitAlpha(t, win.VTrack.Left, win.VTrack.Top, win.VTrack.Width, win.VTrack.Height, skin,
                      276, 21, win.VTrack.Width, 1, upd);
        if (win.HScroll && win.HTrack.Width > 0)
            BlitAlpha(t, win.HTrack.Left, win.HTrack.Top, win.HTrack.Width, win.HTrack.Height, skin,
                      296, 1, 1, win.HTrack.Height, upd);
        if (win.HScroll || win.VScroll)
            BlitAlpha(t, win.Corner.Left, win.Corner.Top, kScrollBarSize, kScrollBarSize, skin, 276,
                      1, kScrollBarSize, kScrollBarSize, upd);
    }

    if (win.HasBackground && win.Client.Width > 0 && win.Client.Height > 0) {
        const TMyBitmap* pic = pw.BkgPicture;
        if (IsBackgroundPictureCode(win.Background) && pic != nullptr && pic->Width > 0 &&
            pw.BkgPictureCode == win.Background) {
            BlitAlpha(t, win.Client.Left, win.Client.Top, win.Client.Width, win.Client.Height, *pic,
                      win.ScrollX, win.ScrollY, win.Client.Width, win.Client.Height, upd);
        } else {
            TMyRect part;
            if (IntersectRect(win.Client, upd, &part)) {
                const TColor colour = IsBackgroundPictureCode(win.Background)
                                          ? kDefaultBackground
                                          : static_cast<TColor>(win.Background);
                FillBox(t, part.Left, part.Top, part.Width, part.Height, colour);
            }
        }
    }

    const TMyBitmap& buttonSkin = win.Kind == kKindGlass ? pw.GlassSkin : skin;
    if (win.Kind == kKindGlass && pw.GlassSkin.Width > 0) {
        for (int i = 0; i < 4; ++i) {
            const TMyRect& s = win.LensSrc[i];
            const TMyRect& d = win.LensDst[i];
            BlitAlpha(t, d.Left, d.Top, d.Width, d.Height, pw.GlassSkin, s.Left, s.Top, s.Width,
                      s.Height, upd);
        }
    }
    if (buttonSkin.Width > 0) {
        for (const TMyWinButton& btn : win.Buttons)
            if (btn.Visible) DrawButton(t, upd, btn, buttonSkin);
    }
}

}  // namespace orvel
