#pragma once

// The command menu of the main window as data: every item with its name,
// parent, caption and shortcut, its enabled/checked/visible state, and the
// key rule (commands fire when the key is released, with the exact shift state).

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace orvel {

// Every item of PM_Menu, in menu order (parents before their items).
enum MenuCmd : int {
    MI_Menu,
    MI_File,
    MI_FileOpen,
    MI_FileSave,
    MI_FileSaveAs,
    MI_FileSaveImage,
    MI_FileDownload,
    MI_FileLastSep,
    MI_FileLast0,
    MI_FileLast1,
    MI_FileLast2,
    MI_FileLast3,
    MI_Game,
    MI_GameWin1,
    MI_GameWin2,
    MI_GameThumb,
    MI_GameBkgAll,
    MI_GameBkgCur,
    MI_GameInfo,
    MI_GameSelectAll,
    MI_GameArrange,
    MI_GameGather,
    MI_GameGlass,
    MI_GameWeight,
    MI_Pockets,
    MI_PocketsPocket1,
    MI_PocketsPocket2,
    MI_PocketsPocket3,
    MI_PocketsPocket4,
    MI_PocketsTile,
    MI_PocketsCascade,
    MI_Options,
    MI_Help,
    MI_HelpCont,
    MI_HelpQuick,
    MI_HelpHomePage,
    MI_HelpProductHomePage,
    MI_HelpReport,
    MI_HelpCredits,
    MI_HelpAbout,
    MI_FullScreen,
    MI_Min,
    MI_Exit,
    // Items added later keep the numbers above; their parent places them.
    MI_GameSortEdges,
    MI_GameFindLost,
    kMenuCmdCount
};

// Key codes the menu uses (the desktop's virtual-key numbering).
constexpr uint16_t kKeySpace = 0x20;
constexpr uint16_t kKeyF1 = 0x70;
// Shift-state bits, as the play keys use them.
constexpr uint8_t kShiftBit = 1;
constexpr uint8_t kAltBit = 2;
constexpr uint8_t kCtrlBit = 4;

struct TMenuItemDef {
    MenuCmd Cmd;
    const char* Name;      // component name, also the language key
    int Parent;            // -1 top level, else the parent's MenuCmd
    const char* Caption;   // as designed, before a language replaces it
    uint16_t Key;          // 0 none
    uint8_t Shift;         // exact shift state the key needs
    bool SeparatorBefore;  // a separator line precedes the item in its menu
    int Tag;               // recent-file number, pocket number - 1
};

const std::array<TMenuItemDef, kMenuCmdCount>& MenuItems();
const TMenuItemDef& MenuItem(MenuCmd cmd);
// "O", "Shift+S", "F1", "Space": the shortcut as menus and hints show it.
std::string ShortcutText(uint16_t key, uint8_t shift);

// The state of every item.
struct TMenuState {
    std::array<bool, kMenuCmdCount> Enabled;
    std::array<bool, kMenuCmdCount> Checked;
    std::array<bool, kMenuCmdCount> Visible;
    std::array<std::string, kMenuCmdCount> Captions;
    TMenuState();
};

// The menu walk for a released key: top-level items in order; an enabled
// parent's items are searched before the walk goes on; a disabled parent's are
// skipped. Returns the first item whose key and exact shift state match,
// when it is enabled (hidden items keep their keys); -1 when none may run. The search stops at
// the first match even when that item is disabled.
int FindShortcut(const TMenuState& state, uint16_t key, uint8_t shift);

// Commands fire on release: a release counts only for the key last pressed.
class TKeyGate {
public:
    // blocked: the progress display is up (presses are ignored then).
    void KeyDown(uint16_t key, bool blocked) {
        if (!blocked) m_pressed = key;
    }
    // True when the released key is the one last pressed; clears it either way.
    bool KeyUp(uint16_t key) {
        const bool match = m_pressed != 0 && key == m_pressed;
        m_pressed = 0;
        return match;
    }
    uint16_t PressedKey() const { return m_pressed; }

private:
    uint16_t m_pressed = 0;
};

}  // namespace orvel
