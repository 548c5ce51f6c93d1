#include "app/Toolbar.h"

#include <algorithm>
#include <climits>
#include <iterator>

namespace orvel {

namespace {

// clang-format off
constexpr std::array<TToolSlotDef, kToolSlotCount> kSlots = {{
    {"BI_Open", MI_FileOpen, 0},
    {"BI_Save", MI_FileSave, 1},
    {"BI_Download", MI_FileDownload, 2},
    {"BI_BkgAll", MI_GameBkgAll, 3},
    {"BI_BkgCur", MI_GameBkgCur, 4},
    {"BI_Win1", MI_GameWin1, 5},
    {"BI_Win2", MI_GameWin2, 6},
    {"BI_Thumb", MI_GameThumb, 7},
    {"BI_Info", MI_GameInfo, 8},
    {"BI_Pocket1", MI_PocketsPocket1, 9},
    {"BI_Pocket2", MI_PocketsPocket2, 9},
    {"BI_Pocket3", MI_PocketsPocket3, 9},
    {"BI_Pocket4", MI_PocketsPocket4, 9},
    {"BI_SelectAll", MI_GameSelectAll, 11},
    {"BI_Arrange", MI_GameArrange, 12},
    {"BI_Glass", MI_GameGlass, 13},
    {"BI_Weight", MI_GameWeight, 14},
    {"BI_Options", MI_Options, 16},
    {"BI_Help", MI_HelpCont, 17},
    {"BI_App", MI_Menu, 18},
    {"BI_Min", MI_Min, 19},
    {"BI_FullScreen", MI_FullScreen, 21},
    {"BI_Close", MI_Exit, 20},
}};
// clang-format on

// The chain after the App button: next slot and whether the group gap precedes it.
struct ChainStep {
    int Slot;
    bool GroupGap;
};
constexpr ChainStep kChain[] = {
    {BI_Open, true},     {BI_Save, false},      {BI_Download, true}, {BI_BkgAll, true},
    {BI_BkgCur, false},  {BI_Thumb, true},      {BI_Info, true},     {BI_Win1, true},
    {BI_Win2, false},    {BI_Pocket1, true},    {BI_Pocket2, false}, {BI_Pocket3, false},
    {BI_Pocket4, false}, {BI_SelectAll, true},  {BI_Arrange, false}, {BI_Glass, true},
    {BI_Weight, true},   {BI_FullScreen, true}, {BI_Options, true},  {BI_Help, true}};

// Skin blocks laid side by side the way they are copied: each block replaces
// what lay there, its transparent pixels included. Laid over the picture
// beneath afterwards, a block's transparent corner never lets an earlier block
// (the tile under a strip's right end) show through.
class TBlockStrip {
public:
    TBlockStrip(const TMyBitmap& skin, int width, int height) : m_skin(skin) {
        if (skin.Width == 0) return;
        const bool made = skin.BytesPerPixel == 4 ? Create32(m_strip, width, height)
                                                  : Create24(m_strip, width, height);
        if (made)
            std::fill(m_strip.Bits, m_strip.Bits + static_cast<size_t>(m_strip.Size), uint8_t{0});
    }
    void Copy(int x, int y, int sx, int sy, int w, int h) {
        if (m_strip.Width > 0) CopyRect(m_strip, x, y, w, h, m_skin, sx, sy);
    }
    void LayOver(TMyBitmap& out) const {
        if (m_strip.Width == 0 || out.Width == 0) return;
        TMyRect clip;
        SetPosSize(clip, 0, 0, out.Width, out.Height);
        BlitAlpha(out, 0, 0, m_strip.Width, m_strip.Height, m_strip, 0, 0, m_strip.Width,
                  m_strip.Height, clip);
    }

private:
    const TMyBitmap& m_skin;
    TMyBitmap m_strip;
};

// The gap bands, loosest last: a window up to MaxWidth wide takes that band's
// group gap (GroupFull in full screen) and button gap.
struct TGapBand {
    int MaxWidth;
    int Group;
    int GroupFull;
    int Button;
};
constexpr TGapBand kBands[] = {
    {640, 10, 10, 1}, {800, 12, 8, 2}, {1024, 24, 20, 8}, {INT_MAX, 26, 26, 10}};
constexpr int kBandCount = static_cast<int>(std::size(kBands));

int BandOf(int width) {
    int band = 0;
    while (band < kBandCount - 1 && width > kBands[band].MaxWidth) ++band;
    return band;
}

}  // namespace

const std::array<TToolSlotDef, kToolSlotCount>& ToolSlots() {
    return kSlots;
}

TToolbar::TToolbar() {
    for (int i = 0; i < kToolSlotCount; ++i) {
        Buttons[i].Item = kSlots[i].Item;
        Buttons[i].Image = kSlots[i].Image;
    }
}

void ToolbarGaps(int width, bool fullScreen, int& a, int& b) {
    const TGapBand& band = kBands[BandOf(width)];
    a = fullScreen ? band.GroupFull : band.Group;
    b = band.Button;
}

void TToolbar::Layout(int width, bool fullScreen) {
    for (int i = 0; i < kToolSlotCount; ++i) {
        TToolButton& btn = Buttons[i];
        btn.Width = (i == BI_Min || i == BI_Close) ? 25 : kToolImageSize;
        btn.Height = kToolImageSize;
        btn.Top = 2;
        btn.Visible = true;
    }
    // The width's band, or the next tighter one while the row would not fit.
    for (int band = BandOf(width);; --band) {
        const TGapBand& gaps = kBands[band];
        PlaceRow(fullScreen ? gaps.GroupFull : gaps.Group, gaps.Button, width);
        if (band == 0 || RowEnd() <= RowLimit(width, fullScreen)) break;
    }
    // Narrower than the tightest row: the buttons that would be cut off are
    // left out rather than shown in part; the menu still has their commands.
    const int limit = RowLimit(width, fullScreen);
    for (const ChainStep& step : kChain)
        if (Buttons[step.Slot].Left + Buttons[step.Slot].Width > limit)
            Buttons[step.Slot].Visible = false;
    Buttons[BI_Min].Visible = Buttons[BI_Close].Visible = fullScreen;
}

void TToolbar::PlaceRow(int a, int b, int width) {
    Buttons[BI_App].Left = 4;
    int prev = BI_App;
    for (const ChainStep& step : kChain) {
        Buttons[step.Slot].Left =
            Buttons[prev].Left + Buttons[prev].Width + (step.GroupGap ? a : b);
        prev = step.Slot;
    }
    Buttons[BI_Close].Left = width - 30;
    Buttons[BI_Min].Left = Buttons[BI_Close].Left - b - 25;
    m_buttonGap = b;
}

int TToolbar::RowEnd() const {
    const TToolButton& last = Buttons[std::end(kChain)[-1].Slot];
    return last.Left + last.Width;
}

int TToolbar::RowLimit(int width, bool fullScreen) const {
    return fullScreen ? Buttons[BI_Min].Left - m_buttonGap : width;
}

int TToolbar::SourceRow(int slot, bool hot) const {
    const TToolButton& btn = Buttons[slot];
    if (!btn.Enabled) return 61;
    if (hot || btn.Down) return 31;
    return 1;
}

void TToolbar::Draw(int slot, bool hot) {
    if (Redraw) Redraw(slot, hot);
}

void TToolbar::EnableToolButton(int slot, bool flag) {
    Buttons[slot].Enabled = flag;
    if (!flag && HotSlot == slot) HotSlot = -1;
    Draw(slot, false);
}

void TToolbar::MarkToolDown(int slot, bool flag) {
    Buttons[slot].Down = flag;
    Draw(slot, flag);
}

void TToolbar::SetImage(int slot, int image) {
    if (Buttons[slot].Image == image) return;
    Buttons[slot].Image = image;
    Draw(slot, HotSlot == slot);
}

void TToolbar::ClearHotTool() {
    if (HotSlot >= 0 && !Buttons[HotSlot].Down) Draw(HotSlot, false);
    HotSlot = -1;
}

void TToolbar::MouseMove(int slot, bool leftHeld) {
    if (leftHeld) return;
    if (HotSlot >= 0 && HotSlot != slot && !Buttons[HotSlot].Down) {
        Draw(HotSlot, false);
        HotSlot = -1;
    }
    if (Buttons[slot].Enabled) {
        if (HotSlot != slot) {
            HotSlot = slot;
            Draw(slot, true);
        }
    } else if (HotSlot == slot) {
        HotSlot = -1;
    }
}

void TToolbar::MouseDown(int slot) {
    if (HotSlot < 0) return;
    MouseMove(slot, false);
    if (HotSlot >= 0) Buttons[HotSlot].Shifted = true;
}

int TToolbar::MouseUp() {
    if (HotSlot < 0) return -1;
    const int slot = HotSlot;
    TToolButton& btn = Buttons[slot];
    if (!btn.Down) Draw(slot, false);
    btn.Shifted = false;
    // Disabled buttons never become hot, so a disabled command never runs here.
    return btn.Enabled ? btn.Item : -1;
}

void BuildToolbarBackground(TMyBitmap& out, const TMyBitmap& skin, int width, int height) {
    if (!Create24(out, width, height)) return;
    FillBox(out, 0, 0, width, height, 0);
    TBlockStrip strip(skin, width, height);
    for (int k = 0; k <= width / 50; ++k) strip.Copy(50 * k, 0, 318, 115, 50, 35);
    strip.Copy(0, 0, 308, 115, 10, 35);
    strip.Copy(width - 10, 0, 368, 115, 10, 35);
    strip.LayOver(out);
}

void BuildProgressBackground(TMyBitmap& out, const TMyBitmap& skin, int width, TColor under) {
    if (!Create24(out, width, 100)) return;
    // The panel's rounded corners let the field's grey show through.
    FillBox(out, 0, 0, width, 100, under);
    TBlockStrip strip(skin, width, 100);
    strip.Copy(0, 0, 308, 1, 10, 100);
    for (int k = 0; k < width / 10 - 1; ++k) strip.Copy(10 + 10 * k, 0, 318, 1, 10, 100);
    strip.Copy(width - 10, 0, 328, 1, 10, 100);
    strip.LayOver(out);
}

void BuildProgressBar(TMyBitmap& out, const TMyBitmap& skin, int width, bool full,
                      const TMyBitmap* under, int underX, int underY) {
    if (!Create24(out, width, 20)) return;
    // A fresh buffer holds whatever memory held before: start from what lies beneath.
    FillBox(out, 0, 0, width, 20, 0);
    if (under != nullptr && under->Width > 0)
        CopyRect(out, 0, 0, width, 20, *under, underX, underY);
    const int y = full ? 1 : 22;
    TBlockStrip strip(skin, width, 20);
    strip.Copy(0, 0, 340, y, 10, 20);
    for (int k = 0; k < width / 10 - 1; ++k) strip.Copy(10 + 10 * k, 0, 350, y, 10, 20);
    strip.Copy(width - 10, 0, 360, y, 10, 20);
    strip.LayOver(out);
}

void BuildToolImage(TMyBitmap& out, const TMyBitmap& toolbarSkin, int image, int row) {
    const bool fits =
        out.Width == kToolImageSize && out.Height == kToolImageSize && out.BytesPerPixel == 3;
    if ((!fits && !Create24(out, kToolImageSize, kToolImageSize)) || toolbarSkin.Width == 0) return;
    CopyRect(out, 0, 0, kToolImageSize, kToolImageSize, toolbarSkin, image * 30 + 1, row);
}

}  // namespace orvel
