#include "play/DragLayers.h"

namespace orvel {

namespace {

// The part of r inside area; empty when they do not meet.
TMyRect Within(const TMyRect& r, const TMyRect& area) {
    TMyRect out;
    if (!IsEmpty(r)) IntersectRect(r, area, &out);
    return out;
}

}  // namespace

bool TDragLayers::Build(TFieldView& view, const TMyRect& area, const TPlayWindows& pw,
                        const TFieldLayers& stillLayers, const TMyRect& moving,
                        const DrawMoving& draw) {
    TMyBitmap& field = view.Field;
    m_active = false;
    ClearRect(m_shown);
    TMyRect whole;
    SetPosSize(whole, 0, 0, field.Width, field.Height);
    m_area = Within(area, whole);
    if (IsEmpty(m_area)) return false;
    if ((m_background.Width != field.Width || m_background.Height != field.Height) &&
        !Create24(m_background, field.Width, field.Height))
        return false;

    // Places no window covers keep what the field shows.
    CopyRect(m_background, m_area.Left, m_area.Top, m_area.Width, m_area.Height, field, m_area.Left,
             m_area.Top);
    ComposeRect(m_background, m_area, pw, stillLayers);
    Restore(field, m_area);
    m_active = true;
    m_shown = Within(moving, m_area);
    if (!IsEmpty(m_shown)) draw(field, m_shown);

    // The whole field has just been composed: a pending full redraw only
    // needs the overlays and the screen.
    if (view.Pending == FieldUpdate::Whole) {
        view.Pending = FieldUpdate::Drawn;
        view.PendingRect = m_area;
    } else {
        RequestUpdate(view, FieldUpdate::Drawn, &m_area);
    }
    return true;
}

void TDragLayers::Step(TFieldView& view, const TMyRect& moving, const DrawMoving& draw) {
    if (!m_active) return;
    const TMyRect next = Within(moving, m_area);
    Restore(view.Field, m_shown);
    Restore(view.Field, next);
    if (!IsEmpty(next)) draw(view.Field, next);
    RequestUpdate(view, FieldUpdate::Drawn, &m_shown);
    RequestUpdate(view, FieldUpdate::Drawn, &next);
    m_shown = next;
}

void TDragLayers::Release() {
    m_active = false;
    ClearRect(m_shown);
}

void TDragLayers::Restore(TMyBitmap& field, const TMyRect& rect) const {
    if (IsEmpty(rect)) return;
    CopyRect(field, rect.Left, rect.Top, rect.Width, rect.Height, m_background, rect.Left,
             rect.Top);
}

}  // namespace orvel
