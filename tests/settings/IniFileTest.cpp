#include "settings/IniFile.h"

#include <gtest/gtest.h>

#include "base/IoError.h"
#include "settings/TempDir.h"

namespace orvel {
namespace {

TIniBuffer FromText(const std::string& text) {
    TIniBuffer ini;
    ini.SetText(text);
    return ini;
}

TEST(IniFile, SectionIsMatchedAsTrimmedPrefix) {
    // "[Main2]" does not begin with "[Main]"; "[Main] old stuff" does.
    TIniBuffer ini = FromText("[Main2]\r\n   <Sound> 0\r\n  [Main] old stuff\r\n   <Sound> 1\r\n");
    const auto loc = ini.Locate("Main", "Sound", "");
    EXPECT_EQ(loc.Section, 2);
    EXPECT_EQ(loc.Key, 3);
    EXPECT_TRUE(ini.ReadBool("Main", "Sound", "", false));
    // Names given by the caller are trimmed too.
    EXPECT_EQ(ini.Locate(" Main ", " Sound ", "").Key, 3);
    // Case matters.
    EXPECT_EQ(ini.Locate("main", "Sound", "").Section, -1);
}

TEST(IniFile, KeySearchStopsAtNextSection) {
    TIniBuffer ini = FromText("[Main]\n   <Sound> 1\n[Play]\n   <StuckKoef> 20\n");
    EXPECT_EQ(ini.Locate("Main", "StuckKoef", "").Key, -1);
    EXPECT_EQ(ini.ReadInteger("Main", "StuckKoef", "", 12), 12);
    EXPECT_EQ(ini.ReadInteger("Play", "StuckKoef", "", 12), 20);
}

TEST(IniFile, SubKeySearchStopsAtNextKeyOrSection) {
    TIniBuffer ini = FromText(
        "[Play]\n   <RotCW>\n      Button=1\n   <RotCCW>\n      Shift=2\n[Main]\n      Shift=7\n");
    EXPECT_EQ(ini.Locate("Play", "RotCW", "Shift").SubKey, -1);
    EXPECT_EQ(ini.ReadInteger("Play", "RotCW", "Shift", 4), 4);
    EXPECT_EQ(ini.ReadInteger("Play", "RotCCW", "Shift", 4), 2);
    EXPECT_EQ(ini.ReadInteger("Play", "RotCCW", "Button", 9), 9);
}

TEST(IniFile, ValuesAreTrimmedAndTypedStrictly) {
    TIniBuffer ini = FromText(
        "[Main]\n"
        "   <DefJigP>\n"
        "      Rotate=true\n"
        "      FitToScreen=1\n"
        "      Level= 7 \n"
        "      SpreadOut=01\n"
        "      ShapeStyle=3x\n"
        "      BorderStyle=\n"
        "   <Lang>   german   \n"
        "   <Big> 2147483648\n"
        "   <Min> -2147483648\n"
        "   <Plus> +5\n");
    EXPECT_FALSE(ini.ReadBool("Main", "DefJigP", "Rotate", false));
    EXPECT_TRUE(ini.ReadBool("Main", "DefJigP", "Rotate", true));
    EXPECT_TRUE(ini.ReadBool("Main", "DefJigP", "FitToScreen", false));
    EXPECT_EQ(ini.ReadInteger("Main", "DefJigP", "Level", 6), 7);
    EXPECT_EQ(ini.ReadBool("Main", "DefJigP", "SpreadOut", false), false);  // "01" is not a boolean
    EXPECT_EQ(ini.ReadInteger("Main", "DefJigP", "ShapeStyle", 3), 3);
    EXPECT_EQ(ini.ReadInteger("Main", "DefJigP", "BorderStyle", 1), 1);
    EXPECT_EQ(ini.ReadString("Main", "Lang", "", "english"), "german");
    EXPECT_EQ(ini.ReadInteger("Main", "Big", "", 42), 42);
    EXPECT_EQ(ini.ReadInteger("Main", "Min", "", 42), INT32_MIN);
    EXPECT_EQ(ini.ReadInteger("Main", "Plus", "", 42), 5);
    EXPECT_EQ(ini.ReadString("Main", "Missing", "", "dflt"), "dflt");
}

TEST(IniFile, WritingIntoNothingListsKeysInReverseOrder) {
    TIniBuffer ini;
    ini.WriteInteger("Main", "AutoSave", "Enabled", 1);
    ini.WriteInteger("Main", "AutoSave", "Interval", 10);
    ini.WriteBool("Main", "Sound", "", true);
    ini.WriteString("Lang", "Lang", "", "english");
    EXPECT_EQ(ini.Text(),
              "[Main]\r\n"
              "   <Sound> 1\r\n"
              "   <AutoSave>\r\n"
              "      Interval=10\r\n"
              "      Enabled=1\r\n"
              "\r\n\r\n"
              "[Lang]\r\n"
              "   <Lang> english\r\n");
}

TEST(IniFile, NewSubKeyGoesRightUnderItsKey) {
    TIniBuffer ini = FromText("[Play]\n   <RotCW>\n      Button=1\n   <RotCCW>\n      Button=0\n");
    ini.WriteInteger("Play", "RotCW", "Shift", 4);
    ASSERT_EQ(ini.Lines().size(), 6u);
    EXPECT_EQ(ini.Lines()[1], "   <RotCW>");
    EXPECT_EQ(ini.Lines()[2], "      Shift=4");
    EXPECT_EQ(ini.Lines()[3], "      Button=1");
    EXPECT_EQ(ini.Lines()[4], "   <RotCCW>");
}

TEST(IniFile, ExistingEntriesKeepTheirPlaceAndUnknownLinesStay) {
    const std::string text =
        "; my notes\r\n"
        "[Main]\r\n"
        "   <Unknown> x\r\n"
        "   <Sound> 0\r\n"
        "   <AutoSave>\r\n"
        "      Enabled=0\r\n"
        "      Other=5\r\n";
    TIniBuffer ini = FromText(text);
    ini.WriteBool("Main", "Sound", "", true);
    ini.WriteBool("Main", "AutoSave", "Enabled", true);
    EXPECT_EQ(ini.Text(),
              "; my notes\r\n"
              "[Main]\r\n"
              "   <Unknown> x\r\n"
              "   <Sound> 1\r\n"
              "   <AutoSave>\r\n"
              "      Enabled=1\r\n"
              "      Other=5\r\n");
}

TEST(IniFile, LineEndsAndByteOrderMark) {
    TIniBuffer ini = FromText("\xEF\xBB\xBF[A]\r\n<K> 1\n<L> 2\r<M> 3");
    ASSERT_EQ(ini.Lines().size(), 4u);
    EXPECT_EQ(ini.Lines()[0], "[A]");
    EXPECT_EQ(ini.ReadInteger("A", "M", "", 0), 3);
    EXPECT_EQ(ini.Text(), "[A]\r\n<K> 1\r\n<L> 2\r\n<M> 3\r\n");
    EXPECT_TRUE(FromText("").Lines().empty());
}

TEST(IniFile, LineBreaksInValuesCannotPlantKeys) {
    TIniBuffer ini;
    ini.WriteString("Files", "Last0", "", "/tmp/a\r\n[Evil]\n   <Lang> x.orv");
    ini.SetText(ini.Text());
    EXPECT_EQ(ini.Lines().size(), 2u);
    EXPECT_EQ(ini.Locate("Evil", "", "").Section, -1);
}

TEST(IniFile, StoreReplacesTheFileThroughAScratchFile) {
    test::TempDir dir;
    const std::string path = dir.File("orvel.ini");
    test::WriteFile(path, "old");
    TIniBuffer ini;
    ini.WriteBool("Main", "Sound", "", true);
    ini.Store(path);
    EXPECT_TRUE(ini.Lines().empty());  // the buffer lives for one store only
    EXPECT_EQ(test::ReadFile(path), "[Main]\r\n   <Sound> 1\r\n");
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));

    TIniBuffer again;
    again.Open(path);
    EXPECT_TRUE(again.ReadBool("Main", "Sound", "", false));
}

TEST(IniFile, FailedStoreThrowsAndLeavesNoScratchFile) {
    test::TempDir dir;
    TIniBuffer ini;
    ini.WriteBool("Main", "Sound", "", true);
    // The folder does not exist: the scratch file cannot be made.
    EXPECT_THROW(ini.Store(dir.File("missing/orvel.ini")), IoError);
    // The target is a folder: the rename fails and the folder stays as it was.
    const std::string target = dir.File("orvel.ini");
    std::filesystem::create_directories(target);
    test::WriteFile(target + "/keep", "x");
    ini.WriteBool("Main", "Sound", "", true);
    EXPECT_THROW(ini.Store(target), IoError);
    EXPECT_EQ(test::ReadFile(target + "/keep"), "x");
    EXPECT_FALSE(std::filesystem::exists(target + ".tmp"));
}

TEST(IniFile, StoreRefusesWhatOpenWouldNotTakeBack) {
    test::TempDir dir;
    const std::string path = dir.File("orvel.ini");
    test::WriteFile(path, "old");
    TIniBuffer ini;
    // Each empty line is written as CR LF: one line too many for the limit.
    ini.SetText(std::string(TIniBuffer::kMaxFileSize / 2 + 1, '\n'));
    EXPECT_FALSE(ini.FitsReader());
    EXPECT_THROW(ini.Store(path), IoError);
    EXPECT_EQ(test::ReadFile(path), "old");
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));

    ini.SetText(std::string(TIniBuffer::kMaxFileSize / 2, '\n'));
    EXPECT_TRUE(ini.FitsReader());
}

TEST(IniFile, SqueezingKeepsTwoBlankLinesOfEachRun) {
    TIniBuffer ini = FromText("[A]\n\n \n\t\n\n<K> 1\n\n<L> 2\n\n\n\n");
    ini.SqueezeBlankRuns();
    EXPECT_EQ(ini.Text(), "[A]\r\n\r\n \r\n<K> 1\r\n\r\n<L> 2\r\n\r\n\r\n");
}

TEST(IniFile, OpenOfMissingOrOversizedFileGivesEmptyBuffer) {
    test::TempDir dir;
    TIniBuffer ini;
    ini.SetText("[X]");
    ini.Open(dir.File("none.ini"));
    EXPECT_TRUE(ini.Lines().empty());

    const std::string big = dir.File("big.ini");
    test::WriteFile(big, std::string(TIniBuffer::kMaxFileSize + 1, 'a'));
    ini.Open(big);
    EXPECT_TRUE(ini.Lines().empty());
}

}  // namespace
}  // namespace orvel
