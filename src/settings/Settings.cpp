#include "settings/Settings.h"

#include <algorithm>
#include <filesystem>

#include "base/Text.h"
#include "settings/IniFile.h"

namespace orvel {

namespace {

std::string LowerAscii(std::string s) {
    for (char& c : s) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return s;
}

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

// Settings narrower than 32 bits keep the low byte of what the file says.
uint8_t ReadByte(const TIniBuffer& ini, const char* sec, const char* key, const char* sub,
                 uint8_t def) {
    return static_cast<uint8_t>(ini.ReadInteger(sec, key, sub, def) & 0xFF);
}

template <typename T>
T InRangeOr(T value, T lo, T hi, T def) {
    return (value < lo || value > hi) ? def : value;
}

std::string LanguageFile(const TSettingsPaths& paths, const std::string& lowerName) {
    return JoinPath(paths.LanguageDir, lowerName + ".lng");
}

std::string HelpFolder(const TSettingsPaths& paths, const std::string& lowerName) {
    return JoinPath(paths.LanguageDir, lowerName + ".help");
}

}  // namespace

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
    s.HelpFile = HelpFolder(paths, "english");
    hooks.ApplyLanguageFile(LanguageFile(paths, "english"));
}

void ReadSettings(TSettings& s, const TIniBuffer& ini, const TSettingsPaths& paths,
                  TSettingsHooks& hooks) {
    const TSettings d;  // the defaults, for values brought back into range

    s.Rotate = ini.ReadBool("Main", "DefJigP", "Rotate", s.Rotate);
    s.BorderStyle = InRangeOr<uint8_t>(
        ReadByte(ini, "Main", "DefJigP", "BorderStyle", s.BorderStyle), 0, 1, d.BorderStyle);
    s.ShapeStyle = InRangeOr<uint8_t>(ReadByte(ini, "Main", "DefJigP", "ShapeStyle", s.ShapeStyle),
                                      0, 6, d.ShapeStyle);
    s.Level = InRangeOr<int32_t>(ini.ReadInteger("Main", "DefJigP", "Level", s.Level), 0,
                                 kLevelCount - 1, d.Level);
    s.SpreadOut = InRangeOr<uint8_t>(ReadByte(ini, "Main", "DefJigP", "SpreadOut", s.SpreadOut), 0,
                                     1, d.SpreadOut);
    s.FitToScreen = ini.ReadBool("Main", "DefJigP", "FitToScreen", s.FitToScreen);

    s.AutoSave_bEnabled = ini.ReadBool("Main", "AutoSave", "Enabled", s.AutoSave_bEnabled);
    // An interval of 0 or less would autosave on every tick; a long one is
    // the player's choice and stays, as long as its milliseconds fit 32 bits.
    s.AutoSave_iIntervalMin =
        InRangeOr<int32_t>(ini.ReadInteger("Main", "AutoSave", "Interval", s.AutoSave_iIntervalMin),
                           1, INT32_MAX / 60000, d.AutoSave_iIntervalMin);

    s.CB_SoundPlay = ini.ReadBool("Main", "Sound", "", s.CB_SoundPlay);

    s.EmbossStyle = ReadByte(ini, "Main", "Embossing", "Style", s.EmbossStyle);
    s.WoodStyle = ReadByte(ini, "Main", "Embossing", "WoodStyle", s.WoodStyle);
    s.WoodColor = static_cast<TColor>(
        ini.ReadInteger("Main", "Embossing", "WoodColor", static_cast<int32_t>(s.WoodColor)));
    // Emboss style 4 was "wood" before wood became a style of its own.
    if (s.EmbossStyle == 4) {
        s.EmbossStyle = 0;
        s.WoodStyle = 1;
    }
    s.EmbossStyle = InRangeOr<uint8_t>(s.EmbossStyle, 0, 3, d.EmbossStyle);
    s.WoodStyle = InRangeOr<uint8_t>(s.WoodStyle, 0, 2, d.WoodStyle);

    s.CB_VisualShowJoin = ini.ReadBool("Main", "ShowConj", "", s.CB_VisualShowJoin);

    const bool fullScreen = ini.ReadBool("Main", "FullScreen", "", s.FullScreen);
    if (fullScreen != hooks.IsFullScreen()) hooks.ToggleFullScreen();
    s.FullScreen = fullScreen;

    // Buttons are 0 or 1, modifier sets combine Shift, Alt and Ctrl.
    auto button = [&](const char* key, uint8_t cur, uint8_t def) {
        return InRangeOr<uint8_t>(ReadByte(ini, "Play", key, "Button", cur), 0, 1, def);
    };
    auto shift = [&](const char* key, uint8_t cur, uint8_t def) {
        return InRangeOr<uint8_t>(ReadByte(ini, "Play", key, "Shift", cur), 0, 7, def);
    };
    s.RotCW_Button = button("RotCW", s.RotCW_Button, d.RotCW_Button);
    s.RotCW_Shift = shift("RotCW", s.RotCW_Shift, d.RotCW_Shift);
    s.RotCCW_Button = button("RotCCW", s.RotCCW_Button, d.RotCCW_Button);
    s.RotCCW_Shift = shift("RotCCW", s.RotCCW_Shift, d.RotCCW_Shift);
    s.MoveOW_Button = button("MoveOW", s.MoveOW_Button, d.MoveOW_Button);
    s.MoveOW_Shift = shift("MoveOW", s.MoveOW_Shift, d.MoveOW_Shift);
    s.bSingleWin = ini.ReadBool("Play", "SingleMainWindow", "", s.bSingleWin);
    s.bClickToDrag = ini.ReadBool("Play", "ClickToDrag", "", s.bClickToDrag);
    s.iStuckKoef = InRangeOr<int32_t>(ini.ReadInteger("Play", "StuckKoef", "", s.iStuckKoef), 10,
                                      30, d.iStuckKoef);

    s.sCurLang = ini.ReadString("Lang", "Lang", "", s.sCurLang);
    {
        // A name with folder parts would reach outside the language folder;
        // such a name has no file there.
        const std::string lower = LowerAscii(s.sCurLang);
        if (IsPlainLanguageName(lower)) {
            const std::string lng = LanguageFile(paths, lower);
            if (FileExists(lng)) hooks.ApplyLanguageFile(lng);
            const std::string help = HelpFolder(paths, lower);
            if (DirExists(help)) s.HelpFile = help;
        }
    }
    s.ShowQuickHelp = ini.ReadBool("Lang", "QuickHelp", "", s.ShowQuickHelp);

    const int32_t lastFileNum =
        std::clamp<int32_t>(ini.ReadInteger("Files", "LastFileNum", "", 0), 0, kMaxRecentFiles);
    s.RecentFiles.clear();
    for (int i = 0; i < lastFileNum; ++i) {
        const std::string stored = ini.ReadString("Files", "Last" + std::to_string(i), "", "");
        // A missing entry would make a menu item that opens nothing.
        if (stored.empty()) continue;
        TRecentFile f;
        f.Name = FileNamePart(stored);
        const std::string ext = LowerAscii(ExtensionOf(f.Name));
        if (ext == ".orv") {
            f.Path = JoinPath(paths.JigsawsDir, f.Name);
        } else if (ext == ".sv1") {
            f.Path = JoinPath(paths.SavedGamesDir, f.Name);
        } else {
            f.Path = stored;
        }
        s.RecentFiles.push_back(std::move(f));
    }
    hooks.RecentFilesLoaded(s.RecentFiles);

    s.sDnSrc = ini.ReadString("Download", "DnSrc", "", s.sDnSrc);
    s.bUseSecure = ini.ReadBool("Download", "UseSecure", "", s.bUseSecure);
    s.iSecureMethodInd = InRangeOr<int32_t>(
        ini.ReadInteger("Download", "SecureMethodInd", "", s.iSecureMethodInd), 0,
        static_cast<int32_t>(kSecureMethodNames.size()) - 1, d.iSecureMethodInd);

    if (paths.FirstStart) {
        s.sDnSrc = d.sDnSrc;
        s.bUseSecure = false;
    }
}

void WriteSettings(const TSettings& s, TIniBuffer& ini) {
    ini.WriteBool("Main", "DefJigP", "Rotate", s.Rotate);
    ini.WriteInteger("Main", "DefJigP", "BorderStyle", s.BorderStyle);
    ini.WriteInteger("Main", "DefJigP", "ShapeStyle", s.ShapeStyle);
    ini.WriteInteger("Main", "DefJigP", "Level", s.Level);
    ini.WriteInteger("Main", "DefJigP", "SpreadOut", s.SpreadOut);
    ini.WriteBool("Main", "DefJigP", "FitToScreen", s.FitToScreen);
    ini.WriteBool("Main", "AutoSave", "Enabled", s.AutoSave_bEnabled);
    ini.WriteInteger("Main", "AutoSave", "Interval", s.AutoSave_iIntervalMin);
    ini.WriteBool("Main", "Sound", "", s.CB_SoundPlay);
    ini.WriteInteger("Main", "Embossing", "Style", s.EmbossStyle);
    ini.WriteInteger("Main", "Embossing", "WoodStyle", s.WoodStyle);
    ini.WriteInteger("Main", "Embossing", "WoodColor", static_cast<int32_t>(s.WoodColor));
    ini.WriteBool("Main", "ShowConj", "", s.CB_VisualShowJoin);
    ini.WriteBool("Main", "FullScreen", "", s.FullScreen);

    ini.WriteInteger("Play", "RotCW", "Button", s.RotCW_Button);
    ini.WriteInteger("Play", "RotCW", "Shift", s.RotCW_Shift);
    ini.WriteInteger("Play", "RotCCW", "Button", s.RotCCW_Button);
    ini.WriteInteger("Play", "RotCCW", "Shift", s.RotCCW_Shift);
    ini.WriteInteger("Play", "MoveOW", "Button", s.MoveOW_Button);
    ini.WriteInteger("Play", "MoveOW", "Shift", s.MoveOW_Shift);
    ini.WriteBool("Play", "SingleMainWindow", "", s.bSingleWin);
    ini.WriteBool("Play", "ClickToDrag", "", s.bClickToDrag);
    ini.WriteInteger("Play", "StuckKoef", "", s.iStuckKoef);

    ini.WriteString("Lang", "Lang", "", s.sCurLang);
    ini.WriteBool("Lang", "QuickHelp", "", s.ShowQuickHelp);

    const int count = static_cast<int>(std::min<size_t>(s.RecentFiles.size(), kMaxRecentFiles));
    ini.WriteInteger("Files", "LastFileNum", "", count);
    for (int i = 0; i < count; ++i)
        ini.WriteString("Files", "Last" + std::to_string(i), "", s.RecentFiles[i].Path);

    ini.WriteString("Download", "DnSrc", "", s.sDnSrc);
    ini.WriteBool("Download", "UseSecure", "", s.bUseSecure);
    ini.WriteInteger("Download", "SecureMethodInd", "", s.iSecureMethodInd);
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
