#include "settings/Settings.h"

#include <algorithm>
#include <climits>
#include <filesystem>

#include "base/Text.h"
#include "settings/IniFile.h"
#include "settings/SettingsTable.h"

namespace orvel {

namespace {

// Applied first at every start; the language file of Lang replaces its texts.
constexpr const char* kBaseLanguage = "english";
// No file or host name is longer; a longer stored name is damage.
constexpr int64_t kMaxNameLength = 255;
// The longest path the system opens; a longer recent file is damage.
constexpr size_t kMaxPathLength = 4096;

template <class... Ts>
struct Overloaded : Ts... {
    using Ts::operator()...;
};

bool FileExists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

bool DirExists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_directory(path, ec);
}

// The file-name part of a stored path; both separators count, so a list
// written on another system still yields its names.
std::string FileNamePart(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string ExtensionOf(const std::string& name) {
    const size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot);
}

std::string LanguageFile(const TSettingsPaths& paths, const std::string& lowerName) {
    return JoinPath(paths.LanguageDir, lowerName + ".lng");
}

std::string HelpFolder(const TSettingsPaths& paths, const std::string& lowerName) {
    return JoinPath(paths.LanguageDir, lowerName + ".help");
}

bool InRange(const TSettingEntry& e, int64_t value) {
    return value >= e.Min && value <= e.Max;
}

bool InRange(const TSettingEntry& e, const std::string& text) {
    return InRange(e, static_cast<int64_t>(text.size()));
}

void SetDefault(const TSettingEntry& e, TSettings& s) {
    std::visit(
        Overloaded{[](std::monostate) {}, [&](std::string TSettings::*f) { s.*f = e.DefaultText; },
                   [&](auto f) {
                       s.*f = static_cast<std::remove_reference_t<decltype(s.*f)>>(e.Default);
                   }},
        e.Field);
}

// A number read from the file, or the entry's default when it is out of range.
template <typename T>
T CheckedNumber(const TSettingEntry& e, int64_t value) {
    return static_cast<T>(InRange(e, value) ? value : e.Default);
}

void ReadField(const TSettingEntry& e, TSettings& s, const TIniBuffer& ini) {
    const auto readInt = [&](int64_t current) {
        return ini.ReadInteger(e.Section, e.Key, e.SubKey, static_cast<int32_t>(current));
    };
    std::visit(
        Overloaded{
            [](std::monostate) {},
            [&](bool TSettings::*f) { s.*f = ini.ReadBool(e.Section, e.Key, e.SubKey, s.*f); },
            // Settings narrower than 32 bits keep the low byte of what the file says.
            [&](uint8_t TSettings::*f) { s.*f = CheckedNumber<uint8_t>(e, readInt(s.*f) & 0xFF); },
            [&](int32_t TSettings::*f) { s.*f = CheckedNumber<int32_t>(e, readInt(s.*f)); },
            [&](TColor TSettings::*f) { s.*f = CheckedNumber<TColor>(e, readInt(s.*f)); },
            [&](std::string TSettings::*f) {
                std::string text = ini.ReadString(e.Section, e.Key, e.SubKey, s.*f);
                s.*f = InRange(e, text) ? std::move(text) : e.DefaultText;
            }},
        e.Field);
}

void WriteField(const TSettingEntry& e, const TSettings& s, TIniBuffer& ini) {
    std::visit(
        Overloaded{[](std::monostate) {},
                   [&](bool TSettings::*f) { ini.WriteBool(e.Section, e.Key, e.SubKey, s.*f); },
                   [&](std::string TSettings::*f) {
                       ini.WriteString(e.Section, e.Key, e.SubKey,
                                       InRange(e, s.*f) ? s.*f : e.DefaultText);
                   },
                   [&](auto f) {
                       const int64_t value = s.*f;
                       ini.WriteInteger(
                           e.Section, e.Key, e.SubKey,
                           static_cast<int32_t>(InRange(e, value) ? value : e.Default));
                   }},
        e.Field);
}

void ReadEntry(const TSettingEntry& e, TSettings& s, const TSettingsReadContext& context) {
    if (e.CustomRead) {
        e.CustomRead(e, s, context);
    } else {
        ReadField(e, s, context.Ini);
    }
    if (e.AfterRead) e.AfterRead(e, s, context);
}

void WriteEntries(const TSettings& s, TIniBuffer& ini) {
    for (const TSettingEntry& e : SettingsTable()) {
        if (e.CustomWrite) {
            e.CustomWrite(e, s, ini);
        } else {
            WriteField(e, s, ini);
        }
    }
}

// Emboss style 4 was "wood" before wood became a style of its own.
void ConvertOldWoodStyle(const TSettingEntry&, TSettings& s, const TSettingsReadContext&) {
    if (s.EmbossStyle != 4) return;
    s.EmbossStyle = 0;
    s.WoodStyle = 1;
}

void FollowFullScreen(const TSettingEntry&, TSettings& s, const TSettingsReadContext& c) {
    if (s.FullScreen != c.Hooks.IsFullScreen()) c.Hooks.ToggleFullScreen();
}

// A name with folder parts would reach outside the language folder; such a
// name has no file there.
void ApplyChosenLanguage(const TSettingEntry&, TSettings& s, const TSettingsReadContext& c) {
    const std::string lower = AsciiLower(s.sCurLang);
    if (!IsPlainLanguageName(lower)) return;
    const std::string lng = LanguageFile(c.Paths, lower);
    if (FileExists(lng)) c.Hooks.ApplyLanguageFile(lng);
    const std::string help = HelpFolder(c.Paths, lower);
    if (DirExists(help)) s.HelpFile = help;
}

// The default settings file copied at the first start names no server of
// this player's choosing.
void DefaultOnFirstStart(const TSettingEntry& e, TSettings& s, const TSettingsReadContext& c) {
    if (c.Paths.FirstStart) SetDefault(e, s);
}

// An empty entry would make a menu item that opens nothing; one longer than
// any path is damage.
bool IsStorableRecentPath(const std::string& path) {
    return !path.empty() && path.size() <= kMaxPathLength;
}

// Jigsaws and saved games are reopened from this player's folders, whatever
// folder the list names.
TRecentFile ReopenedRecentFile(const std::string& stored, const TSettingsPaths& paths) {
    TRecentFile f;
    f.Name = FileNamePart(stored);
    const std::string ext = AsciiLower(ExtensionOf(f.Name));
    if (ext == ".orv") {
        f.Path = JoinPath(paths.JigsawsDir, f.Name);
    } else if (ext == ".sv1") {
        f.Path = JoinPath(paths.SavedGamesDir, f.Name);
    } else {
        f.Path = stored;
    }
    return f;
}

// The count is clamped rather than reset: nine entries still give four.
void ReadRecentFiles(const TSettingEntry& e, TSettings& s, const TSettingsReadContext& c) {
    const int64_t count =
        std::clamp<int64_t>(c.Ini.ReadInteger(e.Section, e.Key, e.SubKey, 0), e.Min, e.Max);
    s.RecentFiles.clear();
    for (int i = 0; i < count; ++i) {
        const std::string stored = c.Ini.ReadString(e.Section, RecentFileKey(i), "", "");
        if (IsStorableRecentPath(stored))
            s.RecentFiles.push_back(ReopenedRecentFile(stored, c.Paths));
    }
    c.Hooks.RecentFilesLoaded(s.RecentFiles);
}

void WriteRecentFiles(const TSettingEntry& e, const TSettings& s, TIniBuffer& ini) {
    std::vector<std::string> stored;
    for (const TRecentFile& f : s.RecentFiles) {
        if (static_cast<int64_t>(stored.size()) < e.Max && IsStorableRecentPath(f.Path))
            stored.push_back(f.Path);
    }
    ini.WriteInteger(e.Section, e.Key, e.SubKey, static_cast<int32_t>(stored.size()));
    for (size_t i = 0; i < stored.size(); ++i)
        ini.WriteString(e.Section, RecentFileKey(static_cast<int>(i)), "", stored[i]);
}

constexpr TSettingEntry Flag(const char* section, const char* key, const char* subKey,
                             bool TSettings::*field, bool def, TSettingReader after = nullptr) {
    return {section, key, subKey, field, def ? 1 : 0, "", 0, 1, after, nullptr, nullptr};
}

template <typename T>
constexpr TSettingEntry Number(const char* section, const char* key, const char* subKey,
                               T TSettings::*field, int64_t def, int64_t min, int64_t max) {
    return {section, key, subKey, field, def, "", min, max, nullptr, nullptr, nullptr};
}

constexpr TSettingEntry Colour(const char* section, const char* key, const char* subKey,
                               TColor TSettings::*field, TColor def, TSettingReader after) {
    return {section, key, subKey, field, def, "", 0, 0x00FFFFFF, after, nullptr, nullptr};
}

constexpr TSettingEntry Text(const char* section, const char* key, std::string TSettings::*field,
                             const char* def, int64_t minLength, TSettingReader after) {
    return {section, key, "", field, 0, def, minLength, kMaxNameLength, after, nullptr, nullptr};
}

// In the order of reading and of writing: Lang comes before Files.
constexpr TSettingEntry kSettingsTable[] = {
    Flag("Main", "DefJigP", "Rotate", &TSettings::Rotate, false),
    Number("Main", "DefJigP", "BorderStyle", &TSettings::BorderStyle, 0, 0, 1),
    Number("Main", "DefJigP", "ShapeStyle", &TSettings::ShapeStyle, 3, 0, 6),
    Number("Main", "DefJigP", "Level", &TSettings::Level, 6, 0, kLevelCount - 1),
    Number("Main", "DefJigP", "SpreadOut", &TSettings::SpreadOut, 0, 0, 1),
    Flag("Main", "DefJigP", "FitToScreen", &TSettings::FitToScreen, true),
    Flag("Main", "AutoSave", "Enabled", &TSettings::AutoSave_bEnabled, true),
    // Minutes. 0 or less would autosave on every tick; a long interval is the
    // player's choice as long as its milliseconds fit 32 bits.
    Number("Main", "AutoSave", "Interval", &TSettings::AutoSave_iIntervalMin, 10, 1,
           INT32_MAX / 60000),
    Flag("Main", "Sound", "", &TSettings::CB_SoundPlay, true),
    // 4 is the old wood style, turned into 0 once the wood colour is read.
    Number("Main", "Embossing", "Style", &TSettings::EmbossStyle, 1, 0, 4),
    Number("Main", "Embossing", "WoodStyle", &TSettings::WoodStyle, 2, 0, 2),
    Colour("Main", "Embossing", "WoodColor", &TSettings::WoodColor, kDefaultWoodColor,
           ConvertOldWoodStyle),
    Flag("Main", "ShowConj", "", &TSettings::CB_VisualShowJoin, true),
    Flag("Main", "FullScreen", "", &TSettings::FullScreen, false, FollowFullScreen),
    // Buttons are 0 or 1, modifier sets combine Shift, Alt and Ctrl.
    Number("Play", "RotCW", "Button", &TSettings::RotCW_Button, 1, 0, 1),
    Number("Play", "RotCW", "Shift", &TSettings::RotCW_Shift, 4, 0, 7),
    Number("Play", "RotCCW", "Button", &TSettings::RotCCW_Button, 0, 0, 1),
    Number("Play", "RotCCW", "Shift", &TSettings::RotCCW_Shift, 4, 0, 7),
    Number("Play", "MoveOW", "Button", &TSettings::MoveOW_Button, 1, 0, 1),
    Number("Play", "MoveOW", "Shift", &TSettings::MoveOW_Shift, 0, 0, 7),
    Flag("Play", "SingleMainWindow", "", &TSettings::bSingleWin, false),
    Flag("Play", "ClickToDrag", "", &TSettings::bClickToDrag, false),
    Number("Play", "StuckKoef", "", &TSettings::iStuckKoef, 12, 10, 30),
    // An empty name applies no language: English stays.
    Text("Lang", "Lang", &TSettings::sCurLang, kBaseLanguage, 0, ApplyChosenLanguage),
    Flag("Lang", "QuickHelp", "", &TSettings::ShowQuickHelp, true),
    {"Files", "LastFileNum", "", std::monostate{}, 0, "", 0, kMaxRecentFiles, nullptr,
     ReadRecentFiles, WriteRecentFiles},
    Text("Download", "DnSrc", &TSettings::sDnSrc, kDownloadHosts[1], 1, DefaultOnFirstStart),
    Flag("Download", "UseSecure", "", &TSettings::bUseSecure, false, DefaultOnFirstStart),
    Number("Download", "SecureMethodInd", "", &TSettings::iSecureMethodInd, 5, 0,
           static_cast<int64_t>(kSecureMethodNames.size()) - 1),
};

}  // namespace

TSettings::TSettings() {
    for (const TSettingEntry& e : SettingsTable()) SetDefault(e, *this);
}

std::span<const TSettingEntry> SettingsTable() {
    return kSettingsTable;
}

std::string RecentFileKey(int index) {
    return "Last" + std::to_string(index);
}

std::string RecentFileCaption(int index, const std::string& name) {
    return "&" + std::to_string(index + 1) + ". " + name;
}

std::string SettingsFilePath(const TSettingsPaths& paths) {
    return JoinPath(paths.UserDataDir, kSettingsFileName);
}

bool IsPlainLanguageName(const std::string& name) {
    if (name.empty() || name == "." || name == "..") return false;
    return name.find_first_of("/\\") == std::string::npos && name.find('\0') == std::string::npos;
}

void SetSettingsDefaults(TSettings& s, const TSettingsPaths& paths, TSettingsHooks& hooks) {
    s = TSettings{};
    s.lBkg = kDefaultBkg;
    s.WinBkg.fill(kDefaultBkg);
    s.ThumbPath = paths.ThumbDir;
    s.SiteJigsawsDir = kDefaultSiteJigsawsDir;
    s.FullScreen = hooks.IsFullScreen();
    hooks.ShowFullScreenState(s.FullScreen);
    s.HelpFile = HelpFolder(paths, kBaseLanguage);
    hooks.ApplyLanguageFile(LanguageFile(paths, kBaseLanguage));
}

void ReadSettings(TSettings& s, const TIniBuffer& ini, const TSettingsPaths& paths,
                  TSettingsHooks& hooks) {
    const TSettingsReadContext context{ini, paths, hooks};
    for (const TSettingEntry& e : SettingsTable()) ReadEntry(e, s, context);
}

void WriteSettings(const TSettings& s, TIniBuffer& ini) {
    WriteEntries(s, ini);
    // A file the reader refuses would lose every setting at the next start.
    // Long runs of blank lines go first; if lines the program does not know
    // still make it too big, only the settings are kept.
    if (!ini.FitsReader()) ini.SqueezeBlankRuns();
    if (!ini.FitsReader()) {
        ini.Clear();
        WriteEntries(s, ini);
    }
}

void LoadSettings(TSettings& s, const TSettingsPaths& paths, TSettingsHooks& hooks) {
    SetSettingsDefaults(s, paths, hooks);
    const std::string file = SettingsFilePath(paths);
    if (!FileExists(file)) return;
    TIniBuffer ini;
    ini.Open(file);
    ReadSettings(s, ini, paths, hooks);
}

void SaveSettings(const TSettings& s, const TSettingsPaths& paths) {
    const std::string file = SettingsFilePath(paths);
    TIniBuffer ini;
    ini.Open(file);
    WriteSettings(s, ini);
    ini.Store(file);
}

}  // namespace orvel
