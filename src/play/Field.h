#pragma once

// Composition of the play windows into the off-screen field picture, and the
// pending field update that decides which rectangle reaches the screen.

#include <functional>
#include <optional>

#include "graphics/Bitmap.h"
#include "graphics/Rect.h"
#include "play/PlayWindow.h"

namespace orvel {

class Platform;

// What the composition draws on top of the window frames. Each part may be
// left empty (no game yet: nothing but the windows is drawn).
struct TFieldLayers {
    // The pieces of one window, clipped to the window's client and to update.
    std::function<void(TMyBitmap& field, const TMyWin& win, const TMyRect& update)> DrawPieces;
    // The weight and star overlays and the glass's magnified picture, drawn after the windows.
    std::function<void(TMyBitmap& field, const TMyRect& update)> DrawOverlays;
    // The thumbnail picture, copied into the thumbnail window's client.
    const TMyBitmap* ThumbPicture = nullptr;
};

// The pending update of the field.
enum class FieldUpdate {
    None,
    Whole,   // recompose the whole field
    Button,  // recompose the rectangle of a button whose hover state changed
    Drawn,   // the caller has already composed the rectangle
};

struct TFieldView {
    TMyBitmap Field;  // 24-bit, screen-sized: the picture of the field control
    int FieldW = 0;   // the part of it the field control shows
    int FieldH = 0;
    FieldUpdate Pending = FieldUpdate::None;
    TMyRect PendingRect;
    // Makes the field control repaint a rectangle (inclusive edges) from Field at once.
    std::function<void(const TMyRect&)> Invalidate;
    // Hover tracking: the window (its number, kGlassNumber for the glass,
    // kNoWindow for none) and the button last marked hot.
    int HotWin = kNoWindow;
    std::optional<TWinButtonId> HotButton;
};

// Draws everything of the field inside update: the windows in z-order with
// their pieces (or the thumbnail picture), then the overlays, then the glass frame.
void ComposeRect(TMyBitmap& field, const TMyRect& update, const TPlayWindows& pw,
                 const TFieldLayers& layers);

// Sizes the field buffer (keeping it when the size is unchanged) and asks for a full redraw.
bool SizeField(TFieldView& view, int screenW, int screenH, TColor fill);
void SetFieldArea(TFieldView& view, int width, int height);

// Merges a request into the pending update: Whole wins, rectangles are joined.
void RequestUpdate(TFieldView& view, FieldUpdate kind, const TMyRect* rect = nullptr);
// Performs the pending update and hands the changed rectangle to the field control.
void FlushField(TFieldView& view, const TPlayWindows& pw, const TFieldLayers& layers);

// The topmost visible window (the glass first) whose outer rectangle holds the point;
// returns its number: MW_SIDE0 .. MW_THUMB, kGlassNumber or kNoWindow.
int WindowAt(const TPlayWindows& pw, int x, int y);
TMyWin* WindowByNumber(TPlayWindows& pw, int number);

// Mouse over the field with no button held and no game operation running:
// marks the button under the point hot and requests the changed button
// rectangles. Sets the cursor for resize zones and resets it elsewhere.
// Returns true when the hover state changed.
bool HoverField(TFieldView& view, TPlayWindows& pw, int x, int y, Platform& platform);

}  // namespace orvel
