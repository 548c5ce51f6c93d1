// The shipped help: every page the program opens exists in every language,
// every link inside the pages leads somewhere, and a missing page falls back
// to English.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <set>

#include "help/HelpPages.h"
#include "settings/TempDir.h"

namespace orvel {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::WriteFile;

const fs::path kLanguageDir = fs::path(ORVEL_SOURCE_DIR) / "data" / "language";

// The languages shipped: one per .lng file.
std::vector<std::string> ShippedLanguages() {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(kLanguageDir))
        if (e.path().extension() == ".lng") names.push_back(e.path().stem().string());
    return names;
}

std::vector<fs::path> HelpFiles(const std::string& language) {
    std::vector<fs::path> files;
    for (const auto& e : fs::recursive_directory_iterator(kLanguageDir / (language + ".help")))
        if (e.path().extension() == ".htm") files.push_back(e.path());
    return files;
}

std::set<std::string> Anchors(const std::string& html) {
    std::set<std::string> ids;
    static const std::regex id(R"re((?:id|name)\s*=\s*"([^"]+)")re", std::regex::icase);
    for (auto it = std::sregex_iterator(html.begin(), html.end(), id); it != std::sregex_iterator();
         ++it)
        ids.insert((*it)[1]);
    return ids;
}

TEST(HelpPages, EveryPageTheProgramOpensExistsInEveryLanguage) {
    const auto languages = ShippedLanguages();
    ASSERT_GE(languages.size(), 4u);
    for (const std::string& lang : languages) {
        for (const char* page : kHelpPages) {
            const fs::path file = kLanguageDir / (lang + ".help") / page;
            EXPECT_TRUE(fs::is_regular_file(file)) << file;
            // A real page, not a placeholder: a title and some text.
            const std::string html = ReadFile(file.string());
            EXPECT_NE(html.find("<title>"), std::string::npos) << file;
            EXPECT_GT(html.size(), 800u) << file;
        }
    }
    // The options dialog's and the browser's pages are among them.
    const std::set<std::string> pages(kHelpPages.begin(), kHelpPages.end());
    for (const char* tab : {"TS_AutoSave", "TS_Sound", "TS_Play", "TS_Visual", "TS_Lang", "TS_Dn"})
        EXPECT_TRUE(pages.contains(OptionsHelpPage(tab))) << tab;
    EXPECT_TRUE(pages.contains(BrowserHelpPage(false)));
    EXPECT_TRUE(pages.contains(BrowserHelpPage(true)));
}

TEST(HelpPages, EveryLinkAndPictureInThePagesResolves) {
    static const std::regex link(R"re((?:href|src)\s*=\s*"([^"]*)")re", std::regex::icase);
    int checked = 0;
    for (const std::string& lang : ShippedLanguages()) {
        for (const fs::path& file : HelpFiles(lang)) {
            const std::string html = ReadFile(file.string());
            for (auto it = std::sregex_iterator(html.begin(), html.end(), link);
                 it != std::sregex_iterator(); ++it) {
                const std::string target = (*it)[1];
                ASSERT_FALSE(target.empty()) << file;
                if (target.starts_with("http://") || target.starts_with("https://") ||
                    target.starts_with("mailto:"))
                    continue;
                const size_t hash = target.find('#');
                const std::string path = target.substr(0, hash);
                const fs::path into = path.empty() ? file : file.parent_path() / path;
                EXPECT_TRUE(fs::is_regular_file(into)) << file << " -> " << target;
                if (hash != std::string::npos && fs::is_regular_file(into)) {
                    EXPECT_TRUE(Anchors(ReadFile(into.string())).contains(target.substr(hash + 1)))
                        << file << " -> " << target;
                }
                ++checked;
            }
        }
    }
    EXPECT_GT(checked, 50);
}

TEST(HelpPages, APageALanguageLacksComesFromTheEnglishHelpAndNothingLeavesTheFolder) {
    test::TempDir dir;
    const std::string lang = dir.Path();
    fs::create_directories(dir.File("english.help"));
    fs::create_directories(dir.File("german.help"));
    WriteFile(dir.File("english.help/open.htm"), "en");
    WriteFile(dir.File("english.help/cont-zent.htm"), "en");
    WriteFile(dir.File("german.help/cont-zent.htm"), "de");
    WriteFile(dir.File("secret.htm"), "no");
    const std::string german = dir.File("german.help");

    EXPECT_EQ(HelpPageFile(german, lang, "cont-zent.htm"), german + "/cont-zent.htm");
    EXPECT_EQ(HelpPageFile(german, lang, "open.htm"), dir.File("english.help") + "/open.htm");
    EXPECT_EQ(HelpPageFile(german, lang, "save.htm"), "");
    EXPECT_EQ(HelpPageFile(german, lang, "../secret.htm"), "");
    EXPECT_EQ(HelpPageFile(german, lang, ""), "");
    EXPECT_TRUE(HelpAvailable(lang));
    fs::remove(dir.File("english.help/cont-zent.htm"));
    EXPECT_FALSE(HelpAvailable(lang));
}

}  // namespace
}  // namespace orvel
