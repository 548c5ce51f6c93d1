#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

#include "app/MainMenu.h"
#include "app/Toolbar.h"

namespace orvel {
namespace {

TEST(MainMenu, TableIsInOrderAndNamesAreUnique) {
    std::set<std::string> names;
    for (int i = 0; i < kMenuCmdCount; ++i) {
        const TMenuItemDef& d = MenuItems()[i];
        EXPECT_EQ(d.Cmd, i);
        EXPECT_TRUE(names.insert(d.Name).second) << d.Name;
        if (d.Parent >= 0) {
            EXPECT_EQ(MenuItems()[d.Parent].Parent, -1) << d.Name;
        }
    }
    EXPECT_EQ(ShortcutText('S', kShiftBit), "Shift+S");
    EXPECT_EQ(ShortcutText(kKeyF1, 0), "F1");
    EXPECT_EQ(ShortcutText(kKeySpace, 0), "Space");
    EXPECT_EQ(ShortcutText(0, 0), "");
}

TEST(MainMenu, ShiftStateMustMatchExactly) {
    TMenuState st;
    EXPECT_EQ(FindShortcut(st, 'S', 0), MI_FileSave);
    EXPECT_EQ(FindShortcut(st, 'S', kShiftBit), MI_FileSaveAs);
    EXPECT_EQ(FindShortcut(st, 'S', kCtrlBit), -1);
    EXPECT_EQ(FindShortcut(st, 'S', kShiftBit | kCtrlBit), -1);
    EXPECT_EQ(FindShortcut(st, 'B', kShiftBit), MI_GameBkgCur);
    EXPECT_EQ(FindShortcut(st, '3', 0), MI_PocketsPocket3);
    EXPECT_EQ(FindShortcut(st, kKeyF1, 0), MI_HelpCont);
    EXPECT_EQ(FindShortcut(st, 'U', 0), MI_FullScreen);
    EXPECT_EQ(FindShortcut(st, 'X', 0), -1);
    // The hidden Menu item keeps its key.
    st.Visible[MI_Menu] = false;
    EXPECT_EQ(FindShortcut(st, 'M', 0), MI_Menu);
}

TEST(MainMenu, DisabledItemsAndParentsDoNotRun) {
    TMenuState st;
    st.Enabled[MI_FileSave] = false;
    EXPECT_EQ(FindShortcut(st, 'S', 0), -1);  // the walk stops at the disabled match
    st.Enabled[MI_Game] = false;
    EXPECT_EQ(FindShortcut(st, 'T', 0), -1);              // a disabled parent's items are skipped
    EXPECT_EQ(FindShortcut(st, 'L', 0), MI_PocketsTile);  // the walk goes on past it
    st.Enabled[MI_Game] = true;
    EXPECT_EQ(FindShortcut(st, 'T', 0), MI_GameThumb);
}

TEST(KeyGate, OnlyTheLastPressedKeyFiresOnRelease) {
    TMenuState st;
    TKeyGate gate;
    // S down, T down, T up, S up: only the Thumbnail runs.
    std::vector<int> ran;
    auto up = [&](uint16_t key) {
        if (gate.KeyUp(key)) ran.push_back(FindShortcut(st, key, 0));
    };
    gate.KeyDown('S', false);
    gate.KeyDown('T', false);
    up('T');
    up('S');
    EXPECT_EQ(ran, (std::vector<int>{MI_GameThumb}));
    // Presses while the progress display is up are ignored.
    ran.clear();
    gate.KeyDown('O', true);
    up('O');
    EXPECT_TRUE(ran.empty());
    gate.KeyDown('O', false);
    up('O');
    EXPECT_EQ(ran, (std::vector<int>{MI_FileOpen}));
}

TEST(ToolbarLayout, GapBands) {
    int a = 0, b = 0;
    ToolbarGaps(640, false, a, b);
    EXPECT_EQ(a, 10);
    EXPECT_EQ(b, 1);
    ToolbarGaps(800, false, a, b);
    EXPECT_EQ(a, 12);
    EXPECT_EQ(b, 2);
    ToolbarGaps(800, true, a, b);
    EXPECT_EQ(a, 8);
    ToolbarGaps(801, false, a, b);
    EXPECT_EQ(a, 24);
    EXPECT_EQ(b, 8);
    ToolbarGaps(801, true, a, b);
    EXPECT_EQ(a, 20);
    ToolbarGaps(1024, false, a, b);
    EXPECT_EQ(a, 24);
    EXPECT_EQ(b, 8);
    ToolbarGaps(1025, true, a, b);
    EXPECT_EQ(a, 26);
    EXPECT_EQ(b, 10);
}

TEST(ToolbarLayout, ChainAndFullScreenButtons) {
    TToolbar tb;
    tb.Layout(1024, false);
    EXPECT_EQ(tb.Buttons[BI_App].Left, 4);
    EXPECT_EQ(tb.Buttons[BI_Open].Left, 4 + 29 + 24);
    EXPECT_EQ(tb.Buttons[BI_Save].Left, tb.Buttons[BI_Open].Left + 29 + 8);
    EXPECT_EQ(tb.Buttons[BI_Thumb].Left, tb.Buttons[BI_BkgCur].Left + 29 + 24);
    EXPECT_EQ(tb.Buttons[BI_Win1].Left, tb.Buttons[BI_Info].Left + 29 + 24);
    EXPECT_EQ(tb.Buttons[BI_FullScreen].Left, tb.Buttons[BI_Weight].Left + 29 + 24);
    EXPECT_EQ(tb.Buttons[BI_Help].Left, tb.Buttons[BI_Options].Left + 29 + 24);
    EXPECT_FALSE(tb.Buttons[BI_Min].Visible);
    EXPECT_FALSE(tb.Buttons[BI_Close].Visible);
    tb.Layout(1920, true);
    EXPECT_TRUE(tb.Buttons[BI_Close].Visible);
    EXPECT_EQ(tb.Buttons[BI_Close].Left, 1890);
    EXPECT_EQ(tb.Buttons[BI_Close].Width, 25);
    EXPECT_EQ(tb.Buttons[BI_Min].Left, 1890 - 10 - 25);
    EXPECT_EQ(tb.Buttons[BI_Help].Top, 2);
    // Narrow windows: 21 buttons, 13 group gaps of 10 and 7 button gaps of 1.
    tb.Layout(640, false);
    EXPECT_EQ(tb.Buttons[BI_Help].Left, 4 + 20 * 29 + 13 * 10 + 7 * 1);
}

// Wherever the window is, a shown button lies whole on the toolbar (in full
// screen left of Min), none overlaps another, and a row that fits keeps its
// band's gaps; one that does not takes a tighter band.
TEST(ToolbarLayout, ShownButtonsAreNeverCutOff) {
    TToolbar tb;
    for (bool fullScreen : {false, true}) {
        for (int w = 500; w <= 2000; ++w) {
            tb.Layout(w, fullScreen);
            const int limit = fullScreen ? tb.Buttons[BI_Min].Left : w;
            std::vector<std::pair<int, int>> spans;
            for (int slot = 0; slot < kToolSlotCount; ++slot) {
                const TToolButton& b = tb.Buttons[slot];
                if (!b.Visible || slot == BI_Min || slot == BI_Close) continue;
                ASSERT_LE(b.Left + b.Width, limit) << w << " " << fullScreen;
                spans.emplace_back(b.Left, b.Left + b.Width);
            }
            std::sort(spans.begin(), spans.end());
            for (size_t k = 1; k < spans.size(); ++k)
                ASSERT_LE(spans[k - 1].second, spans[k].first);
            // The tightest row ends at 750: from there on every button shows.
            if (!fullScreen && w >= 750) {
                ASSERT_EQ(spans.size(), 21u) << w;
            }
        }
    }
    // Open's gap after App is the group gap in force.
    auto groupGap = [&](int w) {
        tb.Layout(w, false);
        return tb.Buttons[BI_Open].Left - (4 + 29);
    };
    EXPECT_EQ(groupGap(700), 10);  // its band's 12 would end the row at 783
    EXPECT_EQ(groupGap(783), 12);
    EXPECT_EQ(groupGap(900), 12);  // its band's 24 would end the row at 981
    EXPECT_EQ(groupGap(981), 24);
    EXPECT_EQ(groupGap(1025), 26);
    // Too narrow for any band: the buttons that would be cut off are hidden.
    tb.Layout(500, false);
    EXPECT_TRUE(tb.Buttons[BI_App].Visible);
    EXPECT_TRUE(tb.Buttons[BI_Open].Visible);
    EXPECT_FALSE(tb.Buttons[BI_Help].Visible);
}

TEST(ToolbarMouse, HotDownAndRelease) {
    TToolbar tb;
    std::vector<std::pair<int, bool>> drawn;
    tb.Redraw = [&](int slot, bool hot) { drawn.emplace_back(slot, hot); };
    tb.MouseMove(BI_Open, false);
    EXPECT_EQ(tb.HotSlot, BI_Open);
    EXPECT_EQ(tb.SourceRow(BI_Open, true), 31);
    // A button that is Down stays drawn hot when the mouse leaves it.
    tb.MarkToolDown(BI_Thumb, true);
    tb.MouseMove(BI_Thumb, false);
    drawn.clear();
    tb.MouseMove(BI_Save, false);
    for (const auto& d : drawn) EXPECT_FALSE(d.first == BI_Thumb && !d.second);
    EXPECT_EQ(tb.SourceRow(BI_Thumb, false), 31);
    drawn.clear();
    tb.ClearHotTool();
    EXPECT_EQ(drawn, (std::vector<std::pair<int, bool>>{{BI_Save, false}}));
    EXPECT_EQ(tb.HotSlot, -1);
    // Press, leave while held, release elsewhere: the command still runs.
    tb.MouseMove(BI_Glass, false);
    tb.MouseDown(BI_Glass);
    EXPECT_TRUE(tb.Buttons[BI_Glass].Shifted);
    tb.MouseMove(BI_Weight, true);  // moves with the button held change nothing
    EXPECT_EQ(tb.HotSlot, BI_Glass);
    EXPECT_EQ(tb.MouseUp(), MI_GameGlass);
    EXPECT_FALSE(tb.Buttons[BI_Glass].Shifted);
    // A press with no hot slot does nothing.
    tb.HotSlot = -1;
    tb.MouseDown(BI_Glass);
    EXPECT_EQ(tb.MouseUp(), -1);
}

TEST(ToolbarMouse, DisabledButtonsNeverRun) {
    TToolbar tb;
    tb.EnableToolButton(BI_Save, false);
    tb.MouseMove(BI_Save, false);
    EXPECT_EQ(tb.HotSlot, -1);
    tb.MouseDown(BI_Save);
    EXPECT_EQ(tb.MouseUp(), -1);
    EXPECT_EQ(tb.SourceRow(BI_Save, true), 61);
    // Disabling the hot button drops it.
    tb.MouseMove(BI_Open, false);
    tb.EnableToolButton(BI_Open, false);
    EXPECT_EQ(tb.MouseUp(), -1);
}

TEST(ToolbarSkin, PicturesAreBuiltFromTheirBlocks) {
    TMyBitmap skin;
    ASSERT_TRUE(Create32(skin, 390, 170));
    for (int y = 0; y < 170; ++y)
        for (int x = 0; x < 390; ++x) SetPixel(skin, x, y, static_cast<TColor>(x + y * 1000));
    for (int y = 0; y < 170; ++y)
        for (int x = 0; x < 390; ++x) PixelPtr(skin, x, y)[3] = 255;
    TMyBitmap bg;
    BuildToolbarBackground(bg, skin, 1920, 35);
    ASSERT_EQ(bg.Width, 1920);
    EXPECT_EQ(GetPixel(bg, 0, 3), static_cast<int32_t>(308 + 118 * 1000));
    EXPECT_EQ(GetPixel(bg, 60, 3), static_cast<int32_t>(328 + 118 * 1000));
    EXPECT_EQ(GetPixel(bg, 1919, 0), static_cast<int32_t>(377 + 115 * 1000));
    TMyBitmap panel, bar;
    BuildProgressBackground(panel, skin, 300);
    EXPECT_EQ(GetPixel(panel, 5, 50), static_cast<int32_t>(313 + 51 * 1000));
    EXPECT_EQ(GetPixel(panel, 285, 50), static_cast<int32_t>(323 + 51 * 1000));
    EXPECT_EQ(GetPixel(panel, 295, 50), static_cast<int32_t>(333 + 51 * 1000));
    BuildProgressBar(bar, skin, 230, true);
    EXPECT_EQ(bar.Height, 20);
    EXPECT_EQ(GetPixel(bar, 229, 19), static_cast<int32_t>(369 + 20 * 1000));
    BuildProgressBar(bar, skin, 230, false);
    EXPECT_EQ(GetPixel(bar, 15, 0), static_cast<int32_t>(355 + 22 * 1000));
}

TEST(ToolbarSkin, TransparentSkinPixelsShowWhatLiesBeneath) {
    // A skin whose bar and toolbar blocks are fully transparent.
    TMyBitmap skin;
    ASSERT_TRUE(Create32(skin, 390, 170));
    std::fill(skin.Bits, skin.Bits + static_cast<size_t>(skin.Stride) * skin.Height, uint8_t{0});
    // Leave garbage in the allocator's hands, so that a fresh buffer may reuse it.
    for (int round = 0; round < 4; ++round) {
        TMyBitmap junk;
        ASSERT_TRUE(Create24(junk, 230, 20));
        FillBox(junk, 0, 0, 230, 20, 0x3CE86A);
    }
    TMyBitmap panel;
    ASSERT_TRUE(Create24(panel, 300, 100));
    FillBox(panel, 0, 0, 300, 100, 0x202428);
    TMyBitmap bar;
    BuildProgressBar(bar, skin, 230, true, &panel, 35, 56);
    ASSERT_EQ(bar.Width, 230);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 230; ++x) ASSERT_EQ(GetPixel(bar, x, y), 0x202428) << x << "," << y;
    BuildProgressBar(bar, skin, 230, false);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 230; ++x) ASSERT_EQ(GetPixel(bar, x, y), 0) << x << "," << y;
    TMyBitmap bg;
    BuildToolbarBackground(bg, skin, 640, 35);
    for (int y = 0; y < 35; ++y)
        for (int x = 0; x < 640; ++x) ASSERT_EQ(GetPixel(bg, x, y), 0) << x << "," << y;
    // Without a skin the panel is the colour beneath.
    TMyBitmap none, bare;
    BuildProgressBackground(bare, none, 120, 0x989898);
    ASSERT_EQ(bare.Width, 120);
    EXPECT_EQ(GetPixel(bare, 0, 0), 0x989898);
    EXPECT_EQ(GetPixel(bare, 119, 99), 0x989898);
}

TEST(ToolbarSkin, RightEndCornersShowTheFieldNotTheLastTile) {
    // Opaque tiles; ends opaque except their outer corner pixel.
    TMyBitmap skin;
    ASSERT_TRUE(Create32(skin, 390, 170));
    for (int y = 0; y < 170; ++y)
        for (int x = 0; x < 390; ++x) {
            SetPixel(skin, x, y, 0x0000FF);
            PixelPtr(skin, x, y)[3] = 255;
        }
    PixelPtr(skin, 337, 1)[3] = 0;  // panel right end, top-right pixel
    PixelPtr(skin, 369, 1)[3] = 0;  // full bar right end, top-right pixel
    PixelPtr(skin, 308, 1)[3] = 0;  // panel left end, top-left pixel
    TMyBitmap panel;
    // 400 wide: the last of the 39 tiles lies under the right end.
    BuildProgressBackground(panel, skin, 400, 0x989898);
    EXPECT_EQ(GetPixel(panel, 399, 0), 0x989898);
    EXPECT_EQ(GetPixel(panel, 0, 0), 0x989898);
    EXPECT_EQ(GetPixel(panel, 398, 0), 0x0000FF);
    TMyBitmap under, bar;
    ASSERT_TRUE(Create24(under, 400, 100));
    FillBox(under, 0, 0, 400, 100, 0x303030);
    BuildProgressBar(bar, skin, 330, true, &under, 35, 56);
    EXPECT_EQ(GetPixel(bar, 329, 0), 0x303030);
    EXPECT_EQ(GetPixel(bar, 328, 0), 0x0000FF);
}

}  // namespace
}  // namespace orvel
