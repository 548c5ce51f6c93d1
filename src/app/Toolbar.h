#pragma once

// The toolbar's buttons as data: which menu item each runs, which image it
// shows, its hot/down/enabled state and where it sits for a window width;
// and the skin pictures of the toolbar background and the progress panel.

#include <array>
#include <cstdint>
#include <functional>

#include "app/MainMenu.h"
#include "graphics/Bitmap.h"

namespace orvel {

constexpr int kToolSlotCount = 23;
constexpr int kToolbarHeight = 35;
constexpr int kToolImageSize = 29;

// Slots by role.
enum ToolSlot : int {
    BI_Open,
    BI_Save,
    BI_Download,
    BI_BkgAll,
    BI_BkgCur,
    BI_Win1,
    BI_Win2,
    BI_Thumb,
    BI_Info,
    BI_Pocket1,
    BI_Pocket2,
    BI_Pocket3,
    BI_Pocket4,
    BI_SelectAll,
    BI_Arrange,
    BI_Glass,
    BI_Weight,
    BI_Options,
    BI_Help,
    BI_App,
    BI_Min,
    BI_FullScreen,
    BI_Close,
};

struct TToolSlotDef {
    const char* Name;
    MenuCmd Item;
    int Image;  // column in the toolbar skin
};
const std::array<TToolSlotDef, kToolSlotCount>& ToolSlots();

struct TToolButton {
    MenuCmd Item = MI_Menu;
    int Image = 0;
    bool Down = false;
    bool Enabled = true;
    // Placement from LayoutToolbar.
    int Left = 0, Top = 2, Width = kToolImageSize, Height = kToolImageSize;
    bool Visible = true;
    bool Shifted = false;  // drawn one pixel right and down while pressed
};

// The toolbar's state and its mouse rules. Redraw is called whenever a
// button's look changes (slot, hot).
class TToolbar {
public:
    TToolbar();

    std::array<TToolButton, kToolSlotCount> Buttons;
    int HotSlot = -1;
    std::function<void(int slot, bool hot)> Redraw;

    // Sizes and places every button for a window width: the gaps of the
    // width's band, or of a tighter band when the row would not fit; a button
    // that fits with none is hidden rather than cut off.
    void Layout(int width, bool fullScreen);
    // The skin row (1 normal, 31 hot or down, 61 disabled) a button shows.
    int SourceRow(int slot, bool hot) const;

    void EnableToolButton(int slot, bool flag);
    void MarkToolDown(int slot, bool flag);
    void SetImage(int slot, int image);
    void ClearHotTool();
    // Mouse over a button (leftHeld: the left button is down, then nothing happens).
    void MouseMove(int slot, bool leftHeld);
    void MouseDown(int slot);
    // Returns the menu item to run, or -1 (no hot slot). The release may lie
    // anywhere: the pressed button still runs.
    int MouseUp();

private:
    void Draw(int slot, bool hot);
    // The chain from the App button with group gap a and button gap b, and
    // Min and Close at the right end.
    void PlaceRow(int a, int b, int width);
    // Where the chain ends, and where it must end by: the window's edge, in
    // full screen the Min button less a button gap.
    int RowEnd() const;
    int RowLimit(int width, bool fullScreen) const;

    int m_buttonGap = 0;
};

// Group gap a and button gap b of the band a width falls in.
void ToolbarGaps(int width, bool fullScreen, int& a, int& b);

// The toolbar background: a picture as wide as the screen and 35 high, from
// the skin's tile and its two ends.
void BuildToolbarBackground(TMyBitmap& out, const TMyBitmap& skin, int width, int height);
// The progress panel's background (width x 100) and a bar (g x 20, empty or full).
// under: the colour the panel's transparent corners take.
void BuildProgressBackground(TMyBitmap& out, const TMyBitmap& skin, int width,
                             TColor under = 0x989898);
// The bar's rounded ends show what lies under it: the panel picture at (underX, underY)
// when given, else black.
void BuildProgressBar(TMyBitmap& out, const TMyBitmap& skin, int width, bool full,
                      const TMyBitmap* under = nullptr, int underX = 0, int underY = 0);
// A button's 29 x 29 picture from the toolbar skin.
void BuildToolImage(TMyBitmap& out, const TMyBitmap& toolbarSkin, int image, int row);

}  // namespace orvel
