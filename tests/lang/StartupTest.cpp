#include <gtest/gtest.h>

#include <filesystem>

#include "lang/Lang.h"
#include "app/LangChoice.h"
#include "platform/FakePlatform.h"
#include "settings/Settings.h"
#include "settings/TempDir.h"

namespace orvel {
namespace {

// The main window's part of loading the settings: languages go to TLanguage.
struct MainHooks : TSettingsHooks {
    explicit MainHooks(TLanguage& l) : lang(l) {}
    bool ApplyLanguageFile(const std::string& path) override { return lang.LoadAndApply(path); }
    TLanguage& lang;
};

class StartupTest : public ::testing::Test {
protected:
    void SetUp() override {
        paths.UserDataDir = dir.Path();
        paths.LanguageDir = dir.File("language");
        std::filesystem::create_directories(paths.LanguageDir);
        for (const char* name : {"english", "german", "french", "spanish"}) {
            std::filesystem::copy_file(
                std::string(ORVEL_SOURCE_DIR) + "/data/language/" + name + ".lng",
                paths.LanguageDir + "/" + name + ".lng");
        }
    }
    test::TempDir dir;
    TSettingsPaths paths;
    FakePlatform platform;
};

TEST_F(StartupTest, SettingsApplyEnglishThenTheChosenLanguageToEveryForm) {
    test::WriteFile(SettingsFilePath(paths), "[Lang]\r\n   <Lang> german\r\n");
    TLanguage lang(&platform, paths.LanguageDir);
    std::vector<std::string> captions;
    auto form =
        lang.Forms().Register(LangApplyOrder::Options, "F_Options", [&](const TLanguage& l) {
            captions.push_back(l.LookUp(LangSection::Options, "FormCaption"));
        });
    MainHooks hooks(lang);
    TSettings s;
    LoadSettings(s, paths, hooks);
    EXPECT_EQ(captions, (std::vector<std::string>{"Options", "Einstellungen"}));
    EXPECT_TRUE(platform.Messages.empty());
}

TEST_F(StartupTest, MissingEnglishIsReportedByItsOwnKey) {
    std::filesystem::remove(paths.LanguageDir + "/english.lng");
    TLanguage lang(&platform, paths.LanguageDir);
    MainHooks hooks(lang);
    TSettings s;
    LoadSettings(s, paths, hooks);
    ASSERT_EQ(platform.Messages.size(), 1u);
    EXPECT_EQ(platform.Messages[0].Text, "MS_CantFindLangFile");
    EXPECT_EQ(platform.Messages[0].Kind, MsgKind::Warning);
}

TEST_F(StartupTest, ChoosingALanguageFallsBackToEnglishAndTakesTheName) {
    std::filesystem::create_directories(paths.LanguageDir + "/french.help");
    TLanguage lang(&platform, paths.LanguageDir);
    TSettings s;
    ASSERT_TRUE(ApplyLanguageChoice(lang, s, "french"));
    EXPECT_EQ(lang.LookUp(LangSection::All, "B_Cancel"), "Annuler");
    EXPECT_EQ(s.sCurLang, "french");
    EXPECT_EQ(s.HelpFile, paths.LanguageDir + "/french.help");

    ASSERT_TRUE(ApplyLanguageChoice(lang, s, "spanish"));
    EXPECT_EQ(lang.LookUp(LangSection::All, "B_Cancel"), "Cancelar");
    EXPECT_EQ(s.HelpFile, paths.LanguageDir + "/english.help");

    ASSERT_TRUE(ApplyLanguageChoice(lang, s, "klingon"));
    EXPECT_EQ(lang.LookUp(LangSection::All, "B_Cancel"), "Cancel");
    EXPECT_EQ(s.sCurLang, "klingon");
    EXPECT_TRUE(platform.Messages.empty());
}

}  // namespace
}  // namespace orvel
