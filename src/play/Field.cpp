#include "play/Field.h"

#include "platform/Platform.h"

namespace orvel {

namespace {

// The part of the field buffer the field control shows.
TMyRect ShownArea(const TFieldView& view) {
    TMyRect area;
    SetPosSize(area, 0, 0, view.FieldW > 0 ? view.FieldW : view.Field.Width,
               view.FieldH > 0 ? view.FieldH : view.Field.Height);
    return area;
}

}  // namespace

void ComposeRect(TMyBitmap& field, const TMyRect& update, const TPlayWindows& pw,
                 const TFieldLayers& layers) {
    if (field.Width == 0) return;
    TMyRect upd;
    TMyRect whole;
    SetPosSize(whole, 0, 0, field.Width, field.Height);
    if (!IntersectRect(update, whole, &upd)) return;
    for (int pos = 0; pos < kPlayWindowCount; ++pos) {
        const TMyWin& win = pw.Wins[pw.ZOrder[pos]];
        if (!win.Visible || !IntersectRect(win.Outer, upd)) continue;
        DrawWindow(field, upd, win, pw);
        if (win.Kind == TWinKind::Thumb) {
            const TMyBitmap* pic = layers.ThumbPicture;
            TMyRect part;
            if (pic != nullptr && pic->Width > 0 && IntersectRect(win.Client, upd, &part)) {
                const int w = Min(win.Client.Width, pic->Width),
                          h = Min(win.Client.Height, pic->Height);
                BlitAlpha(field, win.Client.Left, win.Client.Top, w, h, *pic, 0, 0, w, h, part);
            }
        } else if (layers.DrawPieces) {
            TMyRect clip;
            if (IntersectRect(win.Client, upd, &clip)) layers.DrawPieces(field, win, upd);
        }
    }
    if (layers.DrawOverlays) layers.DrawOverlays(field, upd);
    if (pw.Glass.Visible && IntersectRect(pw.Glass.Outer, upd))
        DrawWindow(field, upd, pw.Glass, pw);
}

bool SizeField(TFieldView& view, int screenW, int screenH, TColor fill) {
    if (view.Field.Width != screenW || view.Field.Height != screenH) {
        if (!Create24(view.Field, screenW, screenH)) return false;
        FillBox(view.Field, 0, 0, screenW, screenH, fill);
    }
    RequestUpdate(view, FieldUpdate::Whole);
    return true;
}

void SetFieldArea(TFieldView& view, int width, int height) {
    view.FieldW = Max(0, Min(width, view.Field.Width));
    view.FieldH = Max(0, Min(height, view.Field.Height));
    RequestUpdate(view, FieldUpdate::Whole);
}

void RequestUpdate(TFieldView& view, FieldUpdate kind, const TMyRect* rect) {
    if (kind == FieldUpdate::None) return;
    if (kind == FieldUpdate::Whole || view.Pending == FieldUpdate::Whole) {
        view.Pending = FieldUpdate::Whole;
        return;
    }
    if (rect == nullptr || IsEmpty(*rect) || rect->Left == kUnsetEdge) return;
    if (view.Pending == FieldUpdate::None) {
        view.Pending = kind;
        view.PendingRect = *rect;
        return;
    }
    // A button rectangle joined with a drawn one must be composed again.
    if (kind == FieldUpdate::Button) view.Pending = FieldUpdate::Button;
    IncludeBox(view.PendingRect, rect->Left, rect->Top, rect->Right, rect->Bottom);
}

void FlushField(TFieldView& view, const TPlayWindows& pw, const TFieldLayers& layers) {
    if (view.Pending == FieldUpdate::None || view.Field.Width == 0) {
        view.Pending = FieldUpdate::None;
        return;
    }
    TMyRect rect = view.Pending == FieldUpdate::Whole ? ShownArea(view) : view.PendingRect;
    FieldUpdate kind = view.Pending;
    view.Pending = FieldUpdate::None;
    // The lens shows what lies under the whole glass, so an update touching
    // it composes all of it afresh. A rectangle drawn by the caller (a drag's
    // layers) is composed again as well: its still layer holds the glass's
    // frame but no lens.
    if (pw.Glass.Visible && kind != FieldUpdate::Whole && IntersectRect(pw.Glass.Outer, rect)) {
        IncludeBox(rect, pw.Glass.Outer.Left, pw.Glass.Outer.Top, pw.Glass.Outer.Right,
                   pw.Glass.Outer.Bottom);
        kind = FieldUpdate::Button;
        const TMyRect wanted = rect;
        IntersectRect(wanted, ShownArea(view), &rect);
    }
    ClearRect(view.PendingRect);
    if (kind == FieldUpdate::Whole || kind == FieldUpdate::Button) {
        ComposeRect(view.Field, rect, pw, layers);
    } else {
        // Drawn by the caller: only the overlays and the glass go on top.
        TMyRect upd;
        TMyRect whole;
        SetPosSize(whole, 0, 0, view.Field.Width, view.Field.Height);
        if (IntersectRect(rect, whole, &upd)) {
            if (layers.DrawOverlays) layers.DrawOverlays(view.Field, upd);
            if (pw.Glass.Visible && IntersectRect(pw.Glass.Outer, upd))
                DrawWindow(view.Field, upd, pw.Glass, pw);
        }
    }
    if (view.Invalidate) view.Invalidate(rect);
}

int WindowAt(const TPlayWindows& pw, int x, int y) {
    if (pw.Glass.Visible && ContainsPoint(pw.Glass.Outer, x, y)) return kGlassNumber;
    for (int pos = kPlayWindowCount - 1; pos >= 0; --pos) {
        const TMyWin& win = pw.Wins[pw.ZOrder[pos]];
        if (win.Visible && ContainsPoint(win.Outer, x, y)) return pw.ZOrder[pos];
    }
    return kNoWindow;
}

TMyWin* WindowByNumber(TPlayWindows& pw, int number) {
    if (number >= 0 && number < kPlayWindowCount) return &pw.Wins[number];
    if (number == kGlassNumber) return &pw.Glass;
    return nullptr;
}

bool HoverField(TFieldView& view, TPlayWindows& pw, int x, int y, Platform& platform) {
    const int number = WindowAt(pw, x, y);
    TMyWin* win = WindowByNumber(pw, number);
    THitCode code = THitCode::None;
    std::optional<TWinButtonId> hot;
    if (win != nullptr) {
        code = HitTest(*win, x, y, false, platform);
        hot = win->HotButton;
    }
    if (!IsResizeCode(code)) platform.SetCursor(CursorShape::Arrow);
    const int newWin = hot ? number : kNoWindow;
    if (newWin == view.HotWin && hot == view.HotButton) return false;
    if (TMyWin* old = WindowByNumber(pw, view.HotWin); old != nullptr) {
        // The window under the mouse had its marks set anew by the hit test.
        if (old != win) ClearHover(*old);
        if (view.HotButton)
            RequestUpdate(view, FieldUpdate::Button, &old->Button(*view.HotButton).Bounds);
    }
    if (win != nullptr && hot) RequestUpdate(view, FieldUpdate::Button, &win->Button(*hot).Bounds);
    view.HotWin = newWin;
    view.HotButton = hot;
    return true;
}

}  // namespace orvel
