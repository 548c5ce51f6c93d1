#include "app/MainMenu.h"

namespace orvel {

namespace {

constexpr uint8_t S = kShiftBit;

// clang-format off
constexpr std::array<TMenuItemDef, kMenuCmdCount> kItems = {{
    {MI_Menu, "MI_Menu", -1, "Menu (hidden)", 'M', 0, false, 0},
    {MI_File, "MI_File", -1, "File", 0, 0, false, 0},
    {MI_FileOpen, "MI_FileOpen", MI_File, "Open", 'O', 0, false, 0},
    {MI_FileSave, "MI_FileSave", MI_File, "Save", 'S', 0, false, 0},
    {MI_FileSaveAs, "MI_FileSaveAs", MI_File, "Save As", 'S', S, false, 0},
    {MI_FileSaveImage, "MI_FileSaveImage", MI_File, "Save Solved Image", 0, 0, false, 0},
    {MI_FileDownload, "MI_FileDownload", MI_File, "Download Jigsaws", 'D', 0, true, 0},
    {MI_FileLastSep, "MI_FileLastSep", MI_File, "-", 0, 0, false, 0},
    {MI_FileLast0, "MI_FileLast0", MI_File, "", 0, 0, false, 0},
    {MI_FileLast1, "MI_FileLast1", MI_File, "", 0, 0, false, 1},
    {MI_FileLast2, "MI_FileLast2", MI_File, "", 0, 0, false, 2},
    {MI_FileLast3, "MI_FileLast3", MI_File, "", 0, 0, false, 3},
    {MI_Game, "MI_Game", -1, "Game", 0, 0, false, 0},
    {MI_GameWin1, "MI_GameWin1", MI_Game, "First Win", kKeySpace, 0, false, 0},
    {MI_GameWin2, "MI_GameWin2", MI_Game, "Second Win", kKeySpace, 0, false, 1},
    {MI_GameThumb, "MI_GameThumb", MI_Game, "Thumbnail", 'T', 0, true, 0},
    {MI_GameBkgAll, "MI_GameBkgAll", MI_Game, "Bkg for All Wins", 'B', 0, true, 0},
    {MI_GameBkgCur, "MI_GameBkgCur", MI_Game, "Bkg for Cur Win", 'B', S, false, 0},
    {MI_GameInfo, "MI_GameInfo", MI_Game, "Info", 'I', 0, true, 0},
    {MI_GameSelectAll, "MI_GameSelectAll", MI_Game, "Select All", 'A', 0, true, 0},
    {MI_GameArrange, "MI_GameArrange", MI_Game, "Arrange", 'R', 0, false, 0},
    {MI_GameGather, "MI_GameGather", MI_Game, "Gather", 0, 0, false, 0},
    {MI_GameGlass, "MI_GameGlass", MI_Game, "Glass", 'G', 0, true, 0},
    {MI_GameWeight, "MI_GameWeight", MI_Game, "Weight", 'W', 0, false, 0},
    {MI_Pockets, "MI_Pockets", -1, "Pockets", 0, 0, false, 0},
    {MI_PocketsPocket1, "MI_PocketsPocket1", MI_Pockets, "Pocket 1", '1', 0, false, 0},
    {MI_PocketsPocket2, "MI_PocketsPocket2", MI_Pockets, "Pocket 2", '2', 0, false, 1},
    {MI_PocketsPocket3, "MI_PocketsPocket3", MI_Pockets, "Pocket 3", '3', 0, false, 2},
    {MI_PocketsPocket4, "MI_PocketsPocket4", MI_Pockets, "Pocket 4", '4', 0, false, 3},
    {MI_PocketsTile, "MI_PocketsTile", MI_Pockets, "Tile", 'L', 0, true, 0},
    {MI_PocketsCascade, "MI_PocketsCascade", MI_Pockets, "Cascade", 'C', 0, false, 0},
    {MI_Options, "MI_Options", -1, "Options", 0, 0, true, 0},
    {MI_Help, "MI_Help", -1, "Help", 0, 0, false, 0},
    {MI_HelpCont, "MI_HelpCont", MI_Help, "Contents", kKeyF1, 0, false, 0},
    {MI_HelpQuick, "MI_HelpQuick", MI_Help, "Quick Help", 0, 0, false, 0},
    {MI_HelpHomePage, "MI_HelpHomePage", MI_Help, "Orvel Home Page", 0, 0, true, 0},
    {MI_HelpProductHomePage, "MI_HelpProductHomePage", MI_Help, "Product Home", 0, 0, false, 0},
    {MI_HelpReport, "MI_HelpReport", MI_Help, "Create Report", 0, 0, true, 0},
    {MI_HelpCredits, "MI_HelpCredits", MI_Help, "Credits", 0, 0, true, 0},
    {MI_HelpAbout, "MI_HelpAbout", MI_Help, "About", 0, 0, false, 0},
    {MI_FullScreen, "MI_FullScreen", -1, "Full Screen", 'U', 0, true, 0},
    {MI_Min, "MI_Min", -1, "Minimize", 0, 0, false, 0},
    {MI_Exit, "MI_Exit", -1, "Exit", 0, 0, true, 0},
    {MI_GameSortEdges, "MI_GameSortEdges", MI_Game, "Sort Edge Pieces", 'E', 0, true, 0},
    {MI_GameFindLost, "MI_GameFindLost", MI_Game, "Find Lost Piece", 'F', 0, false, 0},
}};
// clang-format on

bool ItemMatches(const TMenuItemDef& d, uint16_t key, uint8_t shift) {
    return d.Key != 0 && d.Key == key && d.Shift == shift;
}

}  // namespace

const std::array<TMenuItemDef, kMenuCmdCount>& MenuItems() {
    static_assert(kItems[kMenuCmdCount - 1].Cmd == kMenuCmdCount - 1, "the table is in MenuCmd order");
    return kItems;
}

const TMenuItemDef& MenuItem(MenuCmd cmd) {
    return kItems[cmd];
}

std::string ShortcutText(uint16_t key, uint8_t shift) {
    if (key == 0) return {};
    std::string s;
    if (shift & kCtrlBit) s += "Ctrl+";
    if (shift & kAltBit) s += "Alt+";
    if (shift & kShiftBit) s += "Shift+";
    if (key == kKeySpace) {
        s += "Space";
    } else if (key >= kKeyF1 && key < kKeyF1 + 12) {
        s += 'F';
        s.append(std::to_string(key - kKeyF1 + 1));
    } else {
        s += static_cast<char>(key);
    }
    return s;
}

TMenuState::TMenuState() {
    Enabled.fill(true);
    Checked.fill(false);
    Visible.fill(true);
    for (const TMenuItemDef& d : kItems) Captions[d.Cmd] = d.Caption;
}

int FindShortcut(const TMenuState& state, uint16_t key, uint8_t shift) {
    for (const TMenuItemDef& top : kItems) {
        if (top.Parent != -1) continue;
        if (ItemMatches(top, key, shift)) return state.Enabled[top.Cmd] ? top.Cmd : -1;
        if (!state.Enabled[top.Cmd]) continue;
        for (const TMenuItemDef& sub : kItems) {
            if (sub.Parent != top.Cmd || !ItemMatches(sub, key, shift)) continue;
            return state.Enabled[sub.Cmd] ? sub.Cmd : -1;
        }
    }
    return -1;
}

}  // namespace orvel
