#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <random>

#include "base/Text.h"
#include "lang/Lang.h"
#include "platform/FakePlatform.h"
#include "settings/TempDir.h"

namespace orvel {
namespace {

std::unique_ptr<TLanguage> Loaded(const std::string& text) {
    auto lang = std::make_unique<TLanguage>(nullptr, "");
    lang->LoadFromBytes(text);
    return lang;
}

TEST(LangFile, SectionsAndEntries) {
    const auto lang = Loaded(
        "<B_Ok> Before any header\n"
        "[Nonsense]\n"
        "<B_Cancel> Still before a known header\n"
        "[All]\n"
        "<b_ok> OK \n"
        "<B_Ok> Second OK\n"
        "<B_Close\n"
        "  [Options] with more words\n"
        "<FormCaption>Options\n"
        "[Optionsx]\n"
        "<TS_Play> Play page\n"
        "[Main Form]\n"
        "<MI_File> <File>\n"
        "plain line\n"
        "< Spaced Key >   text  with  inner  blanks  \n");
    EXPECT_EQ(lang->LookUp(LangSection::All, "B_Ok"), "OK");  // first wins, trimmed
    EXPECT_EQ(lang->LookUp(LangSection::All, "B_OK"), "OK");
    EXPECT_EQ(lang->LookUp(LangSection::All, "B_Cancel"),
              "B_Cancel");  // entries before [All] ignored
    EXPECT_EQ(lang->LookUp(LangSection::All, "B_Close"), "B_Close");  // no ">"
    EXPECT_EQ(lang->LookUp(LangSection::Options, "FormCaption"), "Options");
    // [Optionsx] names no section: its entries stay in Options.
    EXPECT_EQ(lang->LookUp(LangSection::Options, "TS_Play"), "Play page");
    EXPECT_EQ(lang->LookUp(LangSection::Info, "FormCaption"),
              "FormCaption");  // sections are separate
    EXPECT_EQ(lang->LookUp(LangSection::MainForm, "MI_File"), "<File>");
    EXPECT_EQ(lang->LookUp(LangSection::MainForm, "spaced key"), "text  with  inner  blanks");
    EXPECT_EQ(lang->Entries().size(), 6u);
}

TEST(LangFile, KeysIgnoreOnlyTheCaseOfPlainLetters) {
    const auto lang = Loaded("[All]\n<Ключ_A> x\n");
    EXPECT_EQ(lang->LookUp(LangSection::All, "Ключ_a"), "x");
    EXPECT_EQ(lang->LookUp(LangSection::All, "КЛЮЧ_A"), "КЛЮЧ_A");
}

TEST(LangFile, DollarDBreaksLinesOnlyInMessages) {
    FakePlatform platform;
    TLanguage lang(&platform, "");
    lang.LoadFromBytes("[Main Form]\n<Q_Gather> Gather?$DAll pieces move.\n");
    EXPECT_EQ(lang.LookUp(LangSection::MainForm, "Q_Gather"), "Gather?$DAll pieces move.");
    EXPECT_EQ(lang.LookUpMessage(LangSection::MainForm, "Q_Gather"), "Gather?\nAll pieces move.");
    EXPECT_EQ(lang.ShowMessageKey(LangSection::MainForm, "Q_Gather", MsgKind::YesNo),
              MsgResult::Yes);
    ASSERT_EQ(platform.Messages.size(), 1u);
    EXPECT_EQ(platform.Messages[0].Text, "Gather?\nAll pieces move.");
    EXPECT_EQ(platform.Messages[0].Caption, "Orvel Jigsaw Zentia Tour");
    EXPECT_EQ(platform.Messages[0].Kind, MsgKind::YesNo);
    EXPECT_EQ(lang.LookUpMessage(LangSection::MainForm, "$D$"), "\n$");
}

TEST(LangFile, Encodings) {
    const std::string utf8 = "[All]\n<B_Ok> Schließen €\n";
    EXPECT_EQ(DecodeLangFileBytes(utf8), utf8);
    EXPECT_EQ(DecodeLangFileBytes("\xEF\xBB\xBF" + utf8), utf8);
    // Not UTF-8: Windows-1252, byte by byte.
    EXPECT_EQ(DecodeLangFileBytes("Schlie\xDF"
                                  "en \x80 \x81"),
              "Schließen € \xC2\x81");
    // UTF-16 little- and big-endian, with a character beyond the basic plane.
    std::string le = "\xFF\xFE";
    std::string be = "\xFE\xFF";
    const char16_t units[] = {u'[', u'A', u'l', u'l',      u']',   u'\n',
                              u'<', u'k', u'>', u'\u00DF', 0xD83D, 0xDE00};
    for (char16_t u : units) {
        le += static_cast<char>(u & 0xFF);
        le += static_cast<char>(u >> 8);
        be += static_cast<char>(u >> 8);
        be += static_cast<char>(u & 0xFF);
    }
    const std::string expected = "[All]\n<k>\xC3\x9F\xF0\x9F\x98\x80";
    EXPECT_EQ(DecodeLangFileBytes(le), expected);
    EXPECT_EQ(DecodeLangFileBytes(be), expected);
    // An odd last byte is dropped; a lone surrogate becomes U+FFFD.
    EXPECT_EQ(DecodeLangFileBytes(le + "\x41"), expected);
    EXPECT_EQ(DecodeLangFileBytes(std::string("\xFF\xFE\x3D\xD8\x41\x00", 6)),
              "\xEF\xBF\xBD"
              "A");
    // Broken UTF-8 after a UTF-8 mark is repaired, not trusted.
    EXPECT_EQ(DecodeLangFileBytes("\xEF\xBB\xBF"
                                  "a\xC3"),
              "a\xEF\xBF\xBD");
    EXPECT_EQ(Loaded(le)->LookUp(LangSection::All, "K"), "\xC3\x9F\xF0\x9F\x98\x80");
}

TEST(LangFile, GarbageNeverCrashes) {
    std::mt19937 rng(11);
    for (int n = 0; n < 200; ++n) {
        std::string bytes(static_cast<size_t>(rng() % 3000), '\0');
        for (char& c : bytes)
            c = static_cast<char>(rng() % 7 == 0 ? "[<>\n\r$%"[rng() % 8] : rng());
        if (n % 3 == 0) bytes = "\xFF\xFE" + bytes;
        if (n % 3 == 1) bytes = "[All]\n" + bytes;
        TLanguage lang(nullptr, "");
        lang.LoadFromBytes(bytes);
        // The index answers as a walk over the entries in file order would.
        const auto& entries = lang.Entries();
        for (const auto& e : entries) {
            std::string first;
            for (const auto& f : entries) {
                if (f.Section == e.Section && EqualsAsciiNoCase(f.Key, e.Key)) {
                    first = f.Text;
                    break;
                }
            }
            EXPECT_EQ(lang.LookUp(e.Section, e.Key), first);
        }
        LANG_INFO info;
        ParseLangInfo(DecodeLangFileBytes(bytes), info);
    }
    const auto huge = Loaded("[All]\n<B_Ok> " + std::string(1 << 20, 'x') + "\n");
    EXPECT_EQ(huge->LookUp(LangSection::All, "B_Ok").size(), 1u << 20);
}

TEST(LangFile, FormatTextNeverReadsMissingArguments) {
    EXPECT_EQ(FormatText("Pocket %d (%d)", std::vector<std::string>{"2", "7"}), "Pocket 2 (7)");
    EXPECT_EQ(FormatText("%s and %s and %d", std::vector<std::string>{"a"}), "a and  and ");
    EXPECT_EQ(FormatText("Solved: %d%%", 50), "Solved: 50%");
    EXPECT_EQ(FormatText("100% %x %", std::string_view("z")), "100% %x %");
    EXPECT_EQ(FormatText("no placeholder", 5), "no placeholder");
    EXPECT_EQ(FormatText("%s", std::string_view("%d")), "%d");  // arguments are not formats
}

TEST(LangFile, MenuHintDropsEllipsesAndAddsTheShortcut) {
    EXPECT_EQ(MenuHint("Open...", "O"), "Open (O)");
    EXPECT_EQ(MenuHint("Save As\xE2\x80\xA6", "Shift+S"), "Save As (Shift+S)");
    EXPECT_EQ(MenuHint("a...b....c", ""), "ab.c");
    EXPECT_EQ(MenuHint("Options...", ""), "Options");
}

class LangFolderTest : public ::testing::Test {
protected:
    void Put(const std::string& name, const std::string& bytes) {
        test::WriteFile(dir.File(name), bytes);
    }
    test::TempDir dir;
    FakePlatform platform;
};

TEST_F(LangFolderTest, ListIsBuiltFromDescribedFilesSortedByEnglishName) {
    Put("german.lng",
        "[Language Info]\n<EngName> German\n<localname> Deutsch\n<author> A\n[All]\n<B_Ok> OK\n");
    Put("finnish.lng", "[Language Info]\n<localname> Suomi\n");  // only localname
    Put("english.lng",
        "\xEF\xBB\xBF[Language Info]\n <engname>  english \n<l_onlyinterface> x\n<engname> "
        "Other\n");
    Put("nodesc.lng", "[All]\n<B_Ok> OK\n<engname> Nope\n");
    Put("later.lng", "[All]\n[Language Info]\n<engname> Afrikaans\n[Main Form]\n<engname> Zulu\n");
    Put("readme.txt", "[Language Info]\n<engname> Text\n");
    std::filesystem::create_directories(dir.File("folder.lng"));

    TLanguage lang(&platform, dir.Path());
    lang.BuildLangList();
    const auto& list = lang.LangList();
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[0].engname, "Afrikaans");
    EXPECT_EQ(list[0].FileName, "later");
    EXPECT_EQ(list[1].engname, "english");  // case-insensitive order, value trimmed, first wins
    EXPECT_EQ(list[1].l_onlyinterface, "x");
    EXPECT_EQ(list[2].engname, "finnish");  // empty engname becomes the file name
    EXPECT_EQ(list[2].localname, "Suomi");
    EXPECT_EQ(LangDisplayName(list[2]), "Suomi");  // shown by its localname
    EXPECT_EQ(LangDisplayName(list[0]), "Afrikaans");
    EXPECT_EQ(LangDisplayName(LANG_INFO{"Mixed", "", "", "", ""}), "mixed");
    EXPECT_EQ(list[3].engname, "German");
    EXPECT_EQ(list[3].localname, "Deutsch");
    EXPECT_EQ(list[3].author, "A");
    EXPECT_TRUE(platform.Messages.empty());
}

TEST_F(LangFolderTest, MissingFolderIsCreatedAndListedEmpty) {
    TLanguage lang(&platform, dir.File("language"));
    lang.BuildLangList();
    EXPECT_TRUE(lang.LangList().empty());
    EXPECT_TRUE(std::filesystem::is_directory(dir.File("language")));
}

TEST_F(LangFolderTest, MissingFileWarnsWithItsPathAndKeepsTheTexts) {
    Put("english.lng", "[Options]\n<MS_CantFindLangFile> No file %s here.$DSorry.\n");
    TLanguage lang(&platform, dir.Path());
    EXPECT_EQ(lang.LangFilePath("English"), dir.Path() + "/english.lng");
    EXPECT_EQ(lang.FlagFilePath("GERMAN"), dir.Path() + "/german.bmp");
    ASSERT_TRUE(lang.LoadAndApply(lang.LangFilePath("english")));
    int applied = 0;
    auto handle = lang.Forms().Register(LangApplyOrder::Options, "F_Options",
                                        [&](const TLanguage&) { ++applied; });

    const std::string missing = lang.LangFilePath("german");
    EXPECT_FALSE(lang.LoadAndApply(missing));
    ASSERT_EQ(platform.Messages.size(), 1u);
    EXPECT_EQ(platform.Messages[0].Text, "No file " + missing + " here.\nSorry.");
    EXPECT_EQ(platform.Messages[0].Kind, MsgKind::Warning);
    EXPECT_EQ(applied, 0);
    EXPECT_EQ(lang.LookUp(LangSection::Options, "MS_CantFindLangFile"), "No file %s here.$DSorry.");

    // With nothing loaded the message shows its own key.
    TLanguage empty(&platform, dir.Path());
    EXPECT_FALSE(empty.LoadAndApply(dir.File("none.lng")));
    EXPECT_EQ(platform.Messages.back().Text, "MS_CantFindLangFile");
}

TEST_F(LangFolderTest, OversizedFileIsRefused) {
    Put("big.lng", "[All]\n<B_Ok> " + std::string(TLanguage::kMaxFileSize, 'x'));
    TLanguage lang(&platform, dir.Path());
    EXPECT_FALSE(lang.LoadAndApply(dir.File("big.lng")));
    lang.BuildLangList();
    EXPECT_TRUE(lang.LangList().empty());
}

}  // namespace
}  // namespace orvel
