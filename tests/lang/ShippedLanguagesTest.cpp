#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <tuple>

#include "base/Text.h"
#include "lang/Lang.h"
#include "lang/LangKeys.h"
#include "platform/FakePlatform.h"

namespace orvel {
namespace {

const std::vector<std::string> kShipped = {"english", "german", "french", "spanish"};

std::string LanguageDir() {
    return std::string(ORVEL_SOURCE_DIR) + "/data/language";
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// (section, lower-case key) -> text, from the file's raw entries; duplicates
// are reported because a second text for a key would never be seen.
using TextMap = std::map<std::pair<int, std::string>, std::string>;

TextMap ReadShipped(const std::string& name) {
    const std::string bytes = ReadBytes(LanguageDir() + "/" + name + ".lng");
    EXPECT_FALSE(bytes.empty()) << name;
    EXPECT_EQ(DecodeLangFileBytes(bytes), bytes) << name << " should be plain UTF-8";
    TextMap texts;
    for (const TLangEntry& e : ParseLangText(DecodeLangFileBytes(bytes))) {
        const auto key = std::make_pair(static_cast<int>(e.Section), AsciiLower(e.Key));
        EXPECT_TRUE(texts.emplace(key, e.Text).second) << name << ": " << e.Key << " twice";
        EXPECT_FALSE(e.Text.empty()) << name << ": " << e.Key << " has no text";
    }
    return texts;
}

TEST(ShippedLanguages, EnglishHasEveryLookedUpKeyAndNoOther) {
    const TextMap english = ReadShipped("english");
    std::set<std::pair<int, std::string>> table;
    for (const TLangKey& k : LangKeys()) {
        const auto key = std::make_pair(static_cast<int>(k.Section), AsciiLower(k.Key));
        EXPECT_TRUE(table.insert(key).second) << k.Key << " listed twice";
        const auto it = english.find(key);
        if (it == english.end()) {
            ADD_FAILURE() << "english.lng lacks [" << LangSectionName(k.Section) << "] " << k.Key;
            continue;
        }
        EXPECT_EQ(PlaceholdersOf(it->second), k.Placeholders) << k.Key << ": " << it->second;
        if (!k.Message) {
            EXPECT_EQ(it->second.find("$D"), std::string::npos)
                << k.Key << " is not shown as a message";
        }
    }
    for (const auto& [key, text] : english) {
        EXPECT_TRUE(table.count(key))
            << "english.lng has " << key.second << ", which nothing looks up";
    }
}

// English shows the captions the menu and dialogs were designed with.
TEST(ShippedLanguages, EnglishKeepsTheDesignedCaptions) {
    using S = LangSection;
    const std::vector<std::tuple<S, const char*, const char*>> designed = {
        {S::MainForm, "MI_FileOpen", "Open"},
        {S::MainForm, "MI_FileSave", "Save"},
        {S::MainForm, "MI_FileSaveAs", "Save As"},
        {S::MainForm, "MI_FileSaveImage", "Save Solved Image"},
        {S::MainForm, "MI_FileDownload", "Download Jigsaws"},
        {S::MainForm, "MI_GameWin1", "First Win"},
        {S::MainForm, "MI_GameWin2", "Second Win"},
        {S::MainForm, "MI_GameThumb", "Thumbnail"},
        {S::MainForm, "MI_GameBkgAll", "Bkg for All Wins"},
        {S::MainForm, "MI_GameBkgCur", "Bkg for Cur Win"},
        {S::MainForm, "MI_GameInfo", "Info"},
        {S::MainForm, "MI_GameSelectAll", "Select All"},
        {S::MainForm, "MI_GameArrange", "Arrange"},
        {S::MainForm, "MI_GameGather", "Gather"},
        {S::MainForm, "MI_GameGlass", "Glass"},
        {S::MainForm, "MI_GameWeight", "Weight"},
        {S::MainForm, "MI_PocketsPocket1", "Pocket 1"},
        {S::MainForm, "MI_PocketsPocket4", "Pocket 4"},
        {S::MainForm, "MI_PocketsTile", "Tile"},
        {S::MainForm, "MI_PocketsCascade", "Cascade"},
        {S::MainForm, "MI_Options", "Options"},
        {S::MainForm, "MI_HelpCont", "Contents"},
        {S::MainForm, "MI_HelpQuick", "Quick Help"},
        {S::MainForm, "MI_HelpOrvelHomePage", "Product Home"},
        {S::MainForm, "MI_HelpReport", "Create Report"},
        {S::MainForm, "MI_HelpCredits", "Credits"},
        {S::MainForm, "MI_HelpAbout", "About"},
        {S::MainForm, "MI_FullScreen", "Full Screen"},
        {S::MainForm, "MI_Min", "Minimize"},
        {S::MainForm, "MI_Exit", "Exit"},
        {S::Finish, "L_Congratulations", "Congratulations!"},
        {S::Finish, "L_Solved", "You've solved the puzzle."},
        {S::Finish, "L_AskForSave", "Would you like to save it as a Bitmap file?"},
        {S::Download, "DownMode0", "Selected Jigsaw"},
        {S::Download, "DownMode1", "New Jigsaws"},
        {S::Download, "DownMode2", "All jigsaws"},
        {S::Options, "CB_PlayModes0", "Standard"},
        {S::Options, "Key5", "Right + Ctrl"},
        {S::QuickHelp, "CB_Show", "Show this box at start"},
    };
    TLanguage lang(nullptr, LanguageDir());
    ASSERT_TRUE(lang.LoadAndApply(lang.LangFilePath("english")));
    for (const auto& [section, key, text] : designed)
        EXPECT_EQ(lang.LookUp(section, key), text) << key;
}

TEST(ShippedLanguages, EveryLanguageHasEnglishKeysAndPlaceholders) {
    const TextMap english = ReadShipped("english");
    for (const std::string& name : kShipped) {
        const TextMap texts = ReadShipped(name);
        for (const auto& [key, text] : english) {
            const auto it = texts.find(key);
            if (it == texts.end()) {
                ADD_FAILURE() << name << ".lng lacks " << key.second;
                continue;
            }
            EXPECT_EQ(PlaceholdersOf(it->second), PlaceholdersOf(text))
                << name << ": " << key.second;
        }
        for (const auto& [key, text] : texts) {
            EXPECT_TRUE(english.count(key))
                << name << ".lng has " << key.second << ", which english.lng lacks";
        }
    }
}

TEST(ShippedLanguages, AllAreListedWithTheirOwnNames) {
    TLanguage lang(nullptr, LanguageDir());
    lang.BuildLangList();
    std::map<std::string, LANG_INFO> byFile;
    for (const LANG_INFO& info : lang.LangList()) byFile[info.FileName] = info;
    for (const std::string& name : kShipped) {
        ASSERT_TRUE(byFile.count(name)) << name;
        EXPECT_FALSE(byFile[name].localname.empty());
        EXPECT_FALSE(byFile[name].author.empty());
        EXPECT_FALSE(byFile[name].l_onlyinterface.empty());
    }
    EXPECT_EQ(byFile["german"].localname, "Deutsch");
    EXPECT_EQ(byFile["french"].localname, "Français");
    EXPECT_EQ(byFile["spanish"].localname, "Español");
}

// A stand-in for a form: the controls of its sections, re-texted on apply.
struct FakeForm {
    explicit FakeForm(std::vector<LangSection> sections) : Sections(std::move(sections)) {}
    std::vector<LangSection> Sections;
    std::map<std::pair<int, std::string>, std::string> Controls;
    int Applies = 0;
    void TakeTexts(const TLanguage& lang) {
        ++Applies;
        for (const TLangKey& k : LangKeys()) {
            for (LangSection s : Sections) {
                if (k.Section == s)
                    Controls[{static_cast<int>(s), AsciiLower(k.Key)}] = lang.LookUp(s, k.Key);
            }
        }
    }
};

TEST(ShippedLanguages, ApplyingEachLanguageRetextsEveryForm) {
    FakePlatform platform;
    TLanguage lang(&platform, LanguageDir());
    using S = LangSection;
    std::vector<std::pair<LangApplyOrder, FakeForm>> forms = {
        {LangApplyOrder::MainForm, FakeForm({S::MainForm, S::All})},
        {LangApplyOrder::Browser, FakeForm({S::LoadSaveForm, S::All})},
        {LangApplyOrder::Info, FakeForm({S::Info, S::All})},
        {LangApplyOrder::Thumbnail, FakeForm({S::Thumbnail, S::Pocket})},
        {LangApplyOrder::Download, FakeForm({S::Download, S::All})},
        {LangApplyOrder::Options, FakeForm({S::Options, S::All})},
        {LangApplyOrder::QuickHelp, FakeForm({S::QuickHelp, S::All})},
        {LangApplyOrder::Other,
         FakeForm({S::Finish, S::Credits, S::About, S::ColorPicker, S::All})},
    };
    std::vector<TLangApplyRegistry::Handle> handles;
    for (auto& [order, form] : forms) {
        FakeForm* f = &form;
        handles.push_back(
            lang.Forms().Register(order, "form", [f](const TLanguage& l) { f->TakeTexts(l); }));
    }
    int round = 0;
    for (const std::string name : {"english", "german", "french", "spanish", "english"}) {
        ++round;
        ASSERT_TRUE(lang.LoadAndApply(lang.LangFilePath(name))) << name;
        const TextMap texts = ReadShipped(name);
        for (const auto& [order, form] : forms) {
            EXPECT_EQ(form.Applies, round);
            for (const auto& [key, text] : form.Controls) {
                EXPECT_EQ(text, texts.at(key)) << name << ": " << key.second;
            }
        }
    }
    EXPECT_TRUE(platform.Messages.empty());
    EXPECT_EQ(lang.LookUp(LangSection::All, "B_Cancel"), "Cancel");
}

}  // namespace
}  // namespace orvel
