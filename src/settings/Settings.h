#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "base/Color.h"
#include "base/Levels.h"

namespace orvel {

class TIniBuffer;

// The two hosts jigsaws are downloaded from; `sDnSrc` defaults to the second.
// Deployment values, set when the program is built (ORVEL_DOWNLOAD_HOST1/2);
// the reserved ".example" names keep a build that was not configured for a
// real server from talking to somebody else's machine.
#ifndef ORVEL_DOWNLOAD_HOST1
#define ORVEL_DOWNLOAD_HOST1 "www1.orvel-jigsaw.example"
#endif
#ifndef ORVEL_DOWNLOAD_HOST2
#define ORVEL_DOWNLOAD_HOST2 "www2.orvel-jigsaw.example"
#endif
inline constexpr std::array<const char*, 2> kDownloadHosts = {ORVEL_DOWNLOAD_HOST1,
                                                              ORVEL_DOWNLOAD_HOST2};
// Names of the secure protocols, by `iSecureMethodInd`.
inline constexpr std::array<const char*, 7> kSecureMethodNames = {
    "SSL v2", "SSL v23", "SSL v3", "TLS v1", "TLS v1_1", "TLS v1_2", "TLS v1_3"};
inline constexpr int kMaxRecentFiles = 4;
inline constexpr TColor kDefaultBkg = 0x989898;
inline constexpr TColor kDefaultWoodColor = 4810874;  // 0x49687A
inline constexpr const char* kSettingsFileName = "orvel.ini";
inline constexpr const char* kDefaultSiteJigsawsDir = "orvel/jigsaws_zent/";

// One entry of the recent-file list: the full path it is opened from and the
// bare file name its menu item shows.
struct TRecentFile {
    std::string Path;
    std::string Name;
    bool operator==(const TRecentFile&) const = default;
};

// Every preference of the program, in memory from start to exit. The stored
// ones start at the defaults of the settings table (SettingsTable.h), which
// also holds their keys and the values each may take.
struct TSettings {
    TSettings();
    bool operator==(const TSettings&) const = default;

    // [Main] DefJigP: the defaults for a new jigsaw.
    bool Rotate{};
    uint8_t BorderStyle{};
    uint8_t ShapeStyle{};
    int32_t Level{};
    uint8_t SpreadOut{};  // 0 Mix_Random, 1 Mix_Spreadout
    bool FitToScreen{};
    // [Main] AutoSave
    bool AutoSave_bEnabled{};
    int32_t AutoSave_iIntervalMin{};
    // [Main] Sound: the state of the options dialog's CB_SoundPlay.
    bool CB_SoundPlay{};
    // [Main] Embossing
    uint8_t EmbossStyle{};  // 0 None, 1 Paper, 2 Cardboard, 3 Fat Card
    uint8_t WoodStyle{};    // 0 None, 1 Wood, 2 Shadows
    TColor WoodColor{};
    // [Main] ShowConj: the state of the options dialog's CB_VisualShowJoin.
    bool CB_VisualShowJoin{};
    // [Main] FullScreen: mirrors the main window's state; its full-screen
    // command keeps this field up to date, the saver writes it.
    bool FullScreen{};
    // [Play] keys: button 0 left, 1 right; modifier set 1 Shift, 2 Alt, 4 Ctrl.
    uint8_t RotCW_Button{};
    uint8_t RotCW_Shift{};
    uint8_t RotCCW_Button{};
    uint8_t RotCCW_Shift{};
    uint8_t MoveOW_Button{};
    uint8_t MoveOW_Shift{};
    bool bSingleWin{};
    bool bClickToDrag{};
    int32_t iStuckKoef{};
    // [Lang]
    std::string sCurLang;
    bool ShowQuickHelp{};
    // [Files]: most recent first, at most kMaxRecentFiles.
    std::vector<TRecentFile> RecentFiles;
    // [Download]
    std::string sDnSrc;
    bool bUseSecure{};
    int32_t iSecureMethodInd{};  // index into kSecureMethodNames

    // Not stored in the file; set by the loader.
    TColor lBkg = kDefaultBkg;       // all windows' background
    std::array<TColor, 6> WinBkg{};  // sides 0, 1 and pockets 0..3
    std::string ThumbPath;           // download test value
    std::string SiteJigsawsDir = kDefaultSiteJigsawsDir;
    std::string HelpFile;  // the active language's help
};

// The folders the settings need; each may end with "/" or not.
struct TSettingsPaths {
    std::string UserDataDir;    // holds orvel.ini
    std::string JigsawsDir;     // recent ".orv" files are reopened from here
    std::string SavedGamesDir;  // recent ".sv1" files are reopened from here
    std::string LanguageDir;    // <name>.lng and the help of each language
    std::string ThumbDir;       // default ThumbPath
    // The settings file was not in UserDataDir when the program started
    // (recorded before the default file was copied there).
    bool FirstStart = false;
};

// What loading the settings does to the rest of the program. The main window
// implements it; tests record the calls. Every default does nothing.
class TSettingsHooks {
public:
    virtual ~TSettingsHooks() = default;
    // Applies a language file; returns false when it could not (the language
    // unit reports a missing file itself).
    virtual bool ApplyLanguageFile(const std::string& path) {
        (void)path;
        return false;
    }
    // The main window's current full-screen state.
    virtual bool IsFullScreen() const { return false; }
    // Runs the main window's full-screen command once and lays the toolbar
    // out again.
    virtual void ToggleFullScreen() {}
    // Sets the full-screen menu check and its toolbar button.
    virtual void ShowFullScreenState(bool on) { (void)on; }
    // The recent-file list was read: the menu items MI_FileLast0 .. 3 take the
    // captions of RecentFileCaption, and MI_FileLastSep shows when any exists.
    virtual void RecentFilesLoaded(const std::vector<TRecentFile>& files) { (void)files; }
};

// "&" + (index + 1) + ". " + name, the caption of recent-file menu item index.
std::string RecentFileCaption(int index, const std::string& name);

// The settings file's path: UserDataDir + "orvel.ini".
std::string SettingsFilePath(const TSettingsPaths& paths);

// Sets every default (including the values not stored in the file), shows the
// full-screen state, and applies english.lng; the help becomes english's.
void SetSettingsDefaults(TSettings& s, const TSettingsPaths& paths, TSettingsHooks& hooks);

// Reads the settings from an already opened buffer, in file order, with the
// side effects of reading (language, full screen, recent files, first start).
void ReadSettings(TSettings& s, const TIniBuffer& ini, const TSettingsPaths& paths,
                  TSettingsHooks& hooks);

// Writes every setting into the buffer in table order ([Lang] before [Files]).
// The buffer is left small enough for the reader to take it back.
void WriteSettings(const TSettings& s, TIniBuffer& ini);

// Start-up: defaults, then orvel.ini when it exists. Never throws; a missing
// or bad entry keeps its default.
void LoadSettings(TSettings& s, const TSettingsPaths& paths, TSettingsHooks& hooks);

// Exit: opens orvel.ini (keeping the lines the program does not know), writes
// every setting and stores it through a scratch file. Throws IoError when the
// file cannot be written.
void SaveSettings(const TSettings& s, const TSettingsPaths& paths);

// Whether name is a plain language name (no folder parts), so that
// LanguageDir + name + ".lng" stays inside the language folder.
bool IsPlainLanguageName(const std::string& name);

}  // namespace orvel
