#include "settings/Settings.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <random>

#include "settings/IniFile.h"
#include "settings/SettingsTable.h"
#include "settings/TempDir.h"

namespace orvel {
namespace {

// Records what loading the settings asks of the rest of the program.
struct RecordingHooks : TSettingsHooks {
    bool ApplyLanguageFile(const std::string& path) override {
        Applied.push_back(path);
        return true;
    }
    bool IsFullScreen() const override { return FullScreen; }
    void ToggleFullScreen() override {
        FullScreen = !FullScreen;
        ++Toggles;
    }
    void ShowFullScreenState(bool on) override { Shown.push_back(on); }
    void RecentFilesLoaded(const std::vector<TRecentFile>& files) override {
        Recent = files;
        ++RecentCalls;
    }
    std::vector<std::string> Applied;
    bool FullScreen = false;
    int Toggles = 0;
    std::vector<bool> Shown;
    std::vector<TRecentFile> Recent;
    int RecentCalls = 0;
};

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        paths.UserDataDir = dir.Path() + "/user";
        paths.JigsawsDir = dir.Path() + "/user/jigsaws/";
        paths.SavedGamesDir = dir.Path() + "/user/saved";
        paths.LanguageDir = dir.Path() + "/language";
        paths.ThumbDir = dir.Path() + "/thumb/";
        std::filesystem::create_directories(paths.UserDataDir);
        std::filesystem::create_directories(paths.LanguageDir);
        test::WriteFile(paths.LanguageDir + "/english.lng", "[Language Info]\n");
    }
    void WriteIni(const std::string& text) { test::WriteFile(SettingsFilePath(paths), text); }
    std::string IniBytes() const { return test::ReadFile(SettingsFilePath(paths)); }
    TSettings Load() {
        TSettings s;
        LoadSettings(s, paths, hooks);
        return s;
    }

    test::TempDir dir;
    TSettingsPaths paths;
    RecordingHooks hooks;
};

// The first four sections of a file written from nothing with every default.
const char* const kDefaultHead =
    "[Main]\r\n"
    "   <FullScreen> 0\r\n"
    "   <ShowConj> 1\r\n"
    "   <Embossing>\r\n"
    "      WoodColor=4810874\r\n"
    "      WoodStyle=2\r\n"
    "      Style=1\r\n"
    "   <Sound> 1\r\n"
    "   <AutoSave>\r\n"
    "      Interval=10\r\n"
    "      Enabled=1\r\n"
    "   <DefJigP>\r\n"
    "      FitToScreen=1\r\n"
    "      SpreadOut=0\r\n"
    "      Level=6\r\n"
    "      ShapeStyle=3\r\n"
    "      BorderStyle=0\r\n"
    "      Rotate=0\r\n"
    "\r\n"
    "\r\n"
    "[Play]\r\n"
    "   <StuckKoef> 12\r\n"
    "   <ClickToDrag> 0\r\n"
    "   <SingleMainWindow> 0\r\n"
    "   <MoveOW>\r\n"
    "      Shift=0\r\n"
    "      Button=1\r\n"
    "   <RotCCW>\r\n"
    "      Shift=4\r\n"
    "      Button=0\r\n"
    "   <RotCW>\r\n"
    "      Shift=4\r\n"
    "      Button=1\r\n"
    "\r\n"
    "\r\n"
    "[Lang]\r\n"
    "   <QuickHelp> 1\r\n"
    "   <Lang> english\r\n";

TEST_F(SettingsTest, DefaultsSaveExactlyAsDesignedAndSaveIsStable) {
    const TSettings s = Load();  // no orvel.ini: defaults only
    SaveSettings(s, paths);
    const std::string first = IniBytes();
    EXPECT_EQ(first, std::string(kDefaultHead) +
                         "\r\n\r\n[Files]\r\n"
                         "   <LastFileNum> 0\r\n"
                         "\r\n\r\n[Download]\r\n"
                         "   <SecureMethodInd> 5\r\n"
                         "   <UseSecure> 0\r\n"
                         "   <DnSrc> " +
                         std::string(kDownloadHosts[1]) + "\r\n");

    // Load what was saved and save again: byte for byte the same.
    TSettings again = Load();
    SaveSettings(again, paths);
    EXPECT_EQ(IniBytes(), first);
    SaveSettings(again, paths);
    EXPECT_EQ(IniBytes(), first);
}

TEST_F(SettingsTest, DefaultsWithoutFileApplyEnglishOnly) {
    const TSettings s = Load();
    ASSERT_EQ(hooks.Applied.size(), 1u);
    EXPECT_EQ(hooks.Applied[0], paths.LanguageDir + "/english.lng");
    EXPECT_EQ(hooks.Shown, std::vector<bool>{false});
    EXPECT_EQ(hooks.RecentCalls, 0);
    EXPECT_EQ(s.lBkg, 0x989898u);
    for (auto c : s.WinBkg) EXPECT_EQ(c, 0x989898u);
    EXPECT_EQ(s.ThumbPath, paths.ThumbDir);
    EXPECT_EQ(s.SiteJigsawsDir, "orvel/jigsaws_zent/");
    EXPECT_EQ(s.HelpFile, paths.LanguageDir + "/english.help");
    EXPECT_EQ(s.sCurLang, "english");
}

TEST_F(SettingsTest, ReadsEveryStoredValue) {
    WriteIni(
        "[Main]\n   <DefJigP>\n      Rotate=1\n      BorderStyle=1\n      ShapeStyle=5\n      "
        "Level=13\n"
        "      SpreadOut=1\n      FitToScreen=0\n"
        "   <AutoSave>\n      Enabled=0\n      Interval=25\n"
        "   <Sound> 0\n   <ShowConj> 0\n"
        "   <Embossing>\n      Style=3\n      WoodStyle=1\n      WoodColor=12345\n"
        "[Play]\n   <RotCW>\n      Button=0\n      Shift=1\n   <RotCCW>\n      Button=1\n      "
        "Shift=2\n"
        "   <MoveOW>\n      Button=0\n      Shift=4\n   <SingleMainWindow> 1\n   <ClickToDrag> 1\n"
        "   <StuckKoef> 30\n"
        "[Lang]\n   <QuickHelp> 0\n"
        "[Download]\n   <DnSrc> my.host\n   <UseSecure> 1\n   <SecureMethodInd> 6\n");
    const TSettings s = Load();
    EXPECT_TRUE(s.Rotate);
    EXPECT_EQ(s.BorderStyle, 1);
    EXPECT_EQ(s.ShapeStyle, 5);
    EXPECT_EQ(s.Level, 13);
    EXPECT_EQ(s.SpreadOut, 1);
    EXPECT_FALSE(s.FitToScreen);
    EXPECT_FALSE(s.AutoSave_bEnabled);
    EXPECT_EQ(s.AutoSave_iIntervalMin, 25);
    EXPECT_FALSE(s.CB_SoundPlay);
    EXPECT_FALSE(s.CB_VisualShowJoin);
    EXPECT_EQ(s.EmbossStyle, 3);
    EXPECT_EQ(s.WoodStyle, 1);
    EXPECT_EQ(s.WoodColor, 12345u);
    EXPECT_EQ(s.RotCW_Button, 0);
    EXPECT_EQ(s.RotCW_Shift, 1);
    EXPECT_EQ(s.RotCCW_Button, 1);
    EXPECT_EQ(s.RotCCW_Shift, 2);
    EXPECT_EQ(s.MoveOW_Button, 0);
    EXPECT_EQ(s.MoveOW_Shift, 4);
    EXPECT_TRUE(s.bSingleWin);
    EXPECT_TRUE(s.bClickToDrag);
    EXPECT_EQ(s.iStuckKoef, 30);
    EXPECT_FALSE(s.ShowQuickHelp);
    EXPECT_EQ(s.sDnSrc, "my.host");
    EXPECT_TRUE(s.bUseSecure);
    EXPECT_EQ(s.iSecureMethodInd, 6);
}

TEST_F(SettingsTest, EmbossStyleFourBecomesWoodAndStaysSoAfterSave) {
    WriteIni("[Main]\r\n   <Embossing>\r\n      Style=4\r\n      WoodStyle=2\r\n");
    const TSettings s = Load();
    EXPECT_EQ(s.EmbossStyle, 0);
    EXPECT_EQ(s.WoodStyle, 1);
    SaveSettings(s, paths);
    TIniBuffer ini;
    ini.Open(SettingsFilePath(paths));
    EXPECT_EQ(ini.ReadInteger("Main", "Embossing", "Style", -1), 0);
    EXPECT_EQ(ini.ReadInteger("Main", "Embossing", "WoodStyle", -1), 1);
    // The file keeps its own order: Style still comes before WoodStyle.
    const auto loc = ini.Locate("Main", "Embossing", "Style");
    EXPECT_LT(loc.SubKey, ini.Locate("Main", "Embossing", "WoodStyle").SubKey);
}

TEST_F(SettingsTest, OutOfRangeValuesFallBackBeforeTheyIndexAnything) {
    WriteIni(
        "[Main]\n   <DefJigP>\n      Level=14\n      ShapeStyle=7\n      BorderStyle=2\n      "
        "SpreadOut=2\n"
        "   <AutoSave>\n      Interval=0\n"
        "   <Embossing>\n      Style=5\n      WoodStyle=3\n"
        "[Play]\n   <RotCW>\n      Button=2\n      Shift=8\n   <StuckKoef> 9\n"
        "[Download]\n   <SecureMethodInd> 7\n");
    const TSettings s = Load();
    const TSettings d;
    EXPECT_EQ(s.Level, d.Level);
    EXPECT_EQ(s.ShapeStyle, d.ShapeStyle);
    EXPECT_EQ(s.BorderStyle, d.BorderStyle);
    EXPECT_EQ(s.SpreadOut, d.SpreadOut);
    EXPECT_EQ(s.AutoSave_iIntervalMin, d.AutoSave_iIntervalMin);
    EXPECT_EQ(s.EmbossStyle, d.EmbossStyle);
    EXPECT_EQ(s.WoodStyle, d.WoodStyle);
    EXPECT_EQ(s.RotCW_Button, d.RotCW_Button);
    EXPECT_EQ(s.RotCW_Shift, d.RotCW_Shift);
    EXPECT_EQ(s.iStuckKoef, d.iStuckKoef);
    EXPECT_EQ(s.iSecureMethodInd, d.iSecureMethodInd);

    // Byte settings keep the low byte first: 259 is 3, a valid shape style.
    WriteIni("[Main]\n   <DefJigP>\n      ShapeStyle=259\n      Level=-1\n");
    const TSettings t = Load();
    EXPECT_EQ(t.ShapeStyle, 3);
    EXPECT_EQ(t.Level, d.Level);

    // A long autosave interval is kept as written.
    WriteIni("[Main]\n   <AutoSave>\n      Interval=90\n");
    EXPECT_EQ(Load().AutoSave_iIntervalMin, 90);
}

// A value other than the entry's default that the entry allows, as stored.
std::string OtherStoredValue(const TSettingEntry& e) {
    if (std::holds_alternative<std::string TSettings::*>(e.Field)) return "other.name";
    if (std::holds_alternative<bool TSettings::*>(e.Field)) return e.Default ? "0" : "1";
    return std::to_string(e.Default != e.Min ? e.Min : e.Max);
}

// Stored values just outside what the entry allows.
std::vector<std::string> OutOfRangeStoredValues(const TSettingEntry& e) {
    if (std::holds_alternative<std::string TSettings::*>(e.Field)) {
        std::vector<std::string> values{std::string(static_cast<size_t>(e.Max) + 1, 'x')};
        if (e.Min > 0) values.emplace_back(static_cast<size_t>(e.Min) - 1, 'x');
        return values;
    }
    return {std::to_string(e.Min - 1), std::to_string(e.Max + 1)};
}

TEST_F(SettingsTest, EveryEntryWritesItsDefaultAndReadsBackWhatItAllows) {
    const TSettings defaults = Load();
    SaveSettings(defaults, paths);
    const std::string defaultFile = IniBytes();
    for (const TSettingEntry& e : SettingsTable()) {
        if (std::holds_alternative<std::monostate>(e.Field)) continue;
        SCOPED_TRACE(std::string(e.Section) + "/" + e.Key + "/" + e.SubKey);
        const bool text = std::holds_alternative<std::string TSettings::*>(e.Field);
        const int64_t checked = text ? static_cast<int64_t>(std::strlen(e.DefaultText)) : e.Default;
        EXPECT_TRUE(checked >= e.Min && checked <= e.Max);
        TIniBuffer ini;
        ini.SetText(defaultFile);
        EXPECT_EQ(ini.ReadString(e.Section, e.Key, e.SubKey, "missing"),
                  text ? e.DefaultText : std::to_string(e.Default));

        // Another allowed value survives a load and a save byte for byte.
        ini.WriteString(e.Section, e.Key, e.SubKey, OtherStoredValue(e));
        const std::string changedFile = ini.Text();
        WriteIni(changedFile);
        hooks = RecordingHooks{};
        const TSettings changed = Load();
        EXPECT_FALSE(changed == defaults);
        SaveSettings(changed, paths);
        EXPECT_EQ(IniBytes(), changedFile);
    }
}

TEST_F(SettingsTest, EveryEntryFallsBackToItsDefaultOutOfRange) {
    const TSettings defaults = Load();
    for (const TSettingEntry& e : SettingsTable()) {
        if (std::holds_alternative<std::monostate>(e.Field)) continue;
        for (const std::string& value : OutOfRangeStoredValues(e)) {
            SCOPED_TRACE(std::string(e.Key) + "/" + e.SubKey + "=" + value.substr(0, 12));
            TIniBuffer ini;
            ini.WriteString(e.Section, e.Key, e.SubKey, value);
            WriteIni(ini.Text());
            EXPECT_TRUE(Load() == defaults);
        }
    }
}

TEST_F(SettingsTest, OutOfRangeColoursAndAnEmptyDownloadSourceFallBack) {
    const TSettings d;
    for (const char* colour : {"-1", "16777216", "-2147483648", "4294967295"}) {
        WriteIni(std::string("[Main]\n   <Embossing>\n      WoodColor=") + colour + "\n");
        EXPECT_EQ(Load().WoodColor, d.WoodColor) << colour;
    }
    WriteIni("[Main]\n   <Embossing>\n      WoodColor=16777215\n");
    EXPECT_EQ(Load().WoodColor, 0xFFFFFFu);

    for (const char* line : {"   <DnSrc> \n", "   <DnSrc>\n"}) {
        WriteIni(std::string("[Download]\n") + line);
        EXPECT_EQ(Load().sDnSrc, kDownloadHosts[1]);
    }

    // What memory holds out of range is written as the default.
    TSettings s = Load();
    s.WoodColor = 0xFF000000u;
    s.sDnSrc.clear();
    SaveSettings(s, paths);
    const TSettings back = Load();
    EXPECT_EQ(back.WoodColor, d.WoodColor);
    EXPECT_EQ(back.sDnSrc, kDownloadHosts[1]);
}

TEST_F(SettingsTest, WhatIsSavedOverAFloodedFileLoadsBackTheSame) {
    const size_t limit = TIniBuffer::kMaxFileSize;
    const std::string head = "; my notes\n[Main]\n   <Sound> 0\n";
    std::string junk = head;
    while (junk.size() + 2 <= limit) junk += "x\n";
    struct Case {
        std::string Bytes;
        bool KeepsNotes;  // only blank lines had to go
    };
    // Written back with CR LF, either would be about twice the limit.
    const std::vector<Case> cases = {
        {head + std::string(limit - head.size(), '\n'), true},
        {junk, false},
    };
    for (const Case& c : cases) {
        WriteIni(c.Bytes);
        TSettings s = Load();
        s.Level = 2;
        s.RecentFiles = {{"/pictures/a.jpg", "a.jpg"}};
        SaveSettings(s, paths);

        const std::string saved = IniBytes();
        EXPECT_LE(saved.size(), limit);
        EXPECT_EQ(saved.find("; my notes") != std::string::npos, c.KeepsNotes);
        hooks = RecordingHooks{};
        EXPECT_TRUE(Load() == s);
        EXPECT_FALSE(s.CB_SoundPlay);  // read from the flooded file, so kept by the save
    }
}

TEST_F(SettingsTest, FullScreenRunsTheCommandOnlyWhenItDiffers) {
    WriteIni("[Main]\n   <FullScreen> 1\n");
    TSettings s = Load();
    EXPECT_EQ(hooks.Toggles, 1);
    EXPECT_TRUE(hooks.FullScreen);
    EXPECT_TRUE(s.FullScreen);

    RecordingHooks already;
    already.FullScreen = true;
    LoadSettings(s, paths, already);
    EXPECT_EQ(already.Toggles, 0);
    EXPECT_EQ(already.Shown, std::vector<bool>{true});
}

TEST_F(SettingsTest, ChosenLanguageIsAppliedAfterEnglish) {
    test::WriteFile(paths.LanguageDir + "/german.lng", "[Language Info]\n");
    std::filesystem::create_directories(paths.LanguageDir + "/german.help");
    WriteIni("[Lang]\n   <Lang> German\n");
    const TSettings s = Load();
    ASSERT_EQ(hooks.Applied.size(), 2u);
    EXPECT_EQ(hooks.Applied[0], paths.LanguageDir + "/english.lng");
    EXPECT_EQ(hooks.Applied[1], paths.LanguageDir + "/german.lng");
    EXPECT_EQ(s.sCurLang, "German");
    EXPECT_EQ(s.HelpFile, paths.LanguageDir + "/german.help");
}

TEST_F(SettingsTest, MissingOrUnsafeLanguageIsSkippedSilently) {
    for (const char* name : {"klingon", "../language/english", "/etc/passwd", ""}) {
        hooks.Applied.clear();
        WriteIni(std::string("[Lang]\n   <Lang> ") + name + "\n");
        const TSettings s = Load();
        ASSERT_EQ(hooks.Applied.size(), 1u) << name;
        EXPECT_EQ(s.HelpFile, paths.LanguageDir + "/english.help");
    }
}

TEST_F(SettingsTest, RecentFilesAreReopenedFromTheirFolders) {
    WriteIni(
        "[Files]\n   <LastFileNum> 4\n"
        "   <Last0> C:\\Games\\Saved\\evening.SV1\n"
        "   <Last1> /elsewhere/jigs/castle.orv\n"
        "   <Last2> /pictures/holiday.jpg\n"
        "   <Last3> saved/plain.sv1\n");
    const TSettings s = Load();
    ASSERT_EQ(s.RecentFiles.size(), 4u);
    EXPECT_EQ(s.RecentFiles[0].Path, paths.SavedGamesDir + "/evening.SV1");
    EXPECT_EQ(s.RecentFiles[0].Name, "evening.SV1");
    EXPECT_EQ(s.RecentFiles[1].Path, paths.JigsawsDir + "castle.orv");
    EXPECT_EQ(s.RecentFiles[2].Path, "/pictures/holiday.jpg");
    EXPECT_EQ(s.RecentFiles[2].Name, "holiday.jpg");
    EXPECT_EQ(s.RecentFiles[3].Path, paths.SavedGamesDir + "/plain.sv1");
    EXPECT_EQ(hooks.RecentCalls, 1);
    EXPECT_EQ(hooks.Recent.size(), 4u);
    EXPECT_EQ(RecentFileCaption(1, s.RecentFiles[1].Name), "&2. castle.orv");

    // Saved with their new full paths, Last0 first.
    SaveSettings(s, paths);
    TIniBuffer ini;
    ini.Open(SettingsFilePath(paths));
    EXPECT_EQ(ini.ReadString("Files", "Last0", "", ""), paths.SavedGamesDir + "/evening.SV1");
    EXPECT_EQ(ini.ReadInteger("Files", "LastFileNum", "", -1), 4);
}

TEST_F(SettingsTest, AtMostFourRecentFilesAreRead) {
    std::string text = "[Files]\n   <LastFileNum> 9\n";
    for (int i = 0; i < 9; ++i)
        text += "   <Last" + std::to_string(i) + "> /x/f" + std::to_string(i) + ".txt\n";
    WriteIni(text);
    EXPECT_EQ(Load().RecentFiles.size(), 4u);

    WriteIni("[Files]\n   <LastFileNum> -3\n   <Last0> /x/a.orv\n");
    EXPECT_TRUE(Load().RecentFiles.empty());

    // A count naming entries that are not there gives no empty menu items.
    WriteIni("[Files]\n   <LastFileNum> 3\n   <Last1> /x/b.orv\n");
    const TSettings s = Load();
    ASSERT_EQ(s.RecentFiles.size(), 1u);
    EXPECT_EQ(s.RecentFiles[0].Name, "b.orv");
}

TEST_F(SettingsTest, FirstStartResetsTheDownloadSource) {
    WriteIni("[Download]\n   <DnSrc> other.host\n   <UseSecure> 1\n   <SecureMethodInd> 3\n");
    paths.FirstStart = true;
    const TSettings s = Load();
    EXPECT_EQ(s.sDnSrc, kDownloadHosts[1]);
    EXPECT_FALSE(s.bUseSecure);
    EXPECT_EQ(s.iSecureMethodInd, 3);
}

TEST_F(SettingsTest, BadFilesLoadAsDefaults) {
    const TSettings d;
    std::mt19937 rng(7);
    std::vector<std::string> inputs = {"", std::string(1 << 20, 'x'),
                                       "[Main]\n   <DefJigP>\n" + std::string(100000, '<')};
    for (int n = 0; n < 20; ++n) {
        std::string bytes(4096, '\0');
        for (char& c : bytes) c = static_cast<char>(rng());
        inputs.push_back(bytes);
    }
    for (const std::string& bytes : inputs) {
        WriteIni(bytes);
        const TSettings s = Load();
        EXPECT_EQ(s.Level, d.Level);
        EXPECT_EQ(s.ShapeStyle, d.ShapeStyle);
        EXPECT_EQ(s.sCurLang, d.sCurLang);
        SaveSettings(s, paths);  // and what is saved over it loads cleanly
        EXPECT_EQ(Load().Level, d.Level);
    }
}

}  // namespace
}  // namespace orvel
