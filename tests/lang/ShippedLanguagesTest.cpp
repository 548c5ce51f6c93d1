#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>

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
