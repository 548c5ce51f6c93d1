#pragma once

// The layers of a drag: a background layer holding everything that lies
// still, and the rectangle the moving part (dragged pieces, rubber band)
// was last drawn in. A step copies the background over the old rectangle
// and draws the moving part at its new place, so it costs in proportion to
// the moving area, not to what lies still.

#include <functional>

#include "graphics/Bitmap.h"
#include "graphics/Rect.h"
#include "play/Field.h"

namespace orvel {

class TDragLayers {
public:
    // Draws the moving part into the field, clipped to the given rectangle.
    using DrawMoving = std::function<void(TMyBitmap& field, const TMyRect& clip)>;

    // Composes the still part of area (with stillLayers, no overlays) into
    // the background, copies it into the field, draws the moving part over
    // moving and marks a pending full redraw of the view as done. False when
    // the background cannot be allocated; the view then keeps its request.
    bool Build(TFieldView& view, const TMyRect& area, const TPlayWindows& pw,
               const TFieldLayers& stillLayers, const TMyRect& moving, const DrawMoving& draw);
    // Restores the last rectangle from the background, draws the moving part
    // over moving and requests both rectangles as drawn.
    void Step(TFieldView& view, const TMyRect& moving, const DrawMoving& draw);
    // Ends the drag; the background buffer is kept for the next one.
    void Release();

    bool Active() const { return m_active; }
    const TMyRect& Shown() const { return m_shown; }
    const TMyBitmap& Background() const { return m_background; }

private:
    void Restore(TMyBitmap& field, const TMyRect& rect) const;

    TMyBitmap m_background;
    TMyRect m_area;
    TMyRect m_shown;
    bool m_active = false;
};

}  // namespace orvel
