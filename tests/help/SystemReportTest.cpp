// The system report: its lines in order and in their formats, read from
// stand-in system files, and the file it is saved as.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>

#include "game/GameState.h"
#include "help/SystemReport.h"
#include "settings/TempDir.h"

namespace orvel {
namespace {

using test::ReadFile;
using test::WriteFile;

class SystemReportTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteFile(dir.File("os-release"),
                  "PRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\nNAME=\"Debian GNU/Linux\"\n"
                  "VERSION_ID=\"12\"\nVERSION='12 (bookworm)'\n# a comment=x\nID=debian\n");
        const std::string cpu =
            "processor\t: 0\nvendor_id\t: GenuineIntel\ncpu family\t: 6\nmodel\t\t: 85\n"
            "model name\t: Intel(R) Xeon(R) CPU @ 2.00GHz\nstepping\t: 7\n\n";
        WriteFile(dir.File("cpuinfo"), cpu + cpu + "processor\t: 2\nmodel name\t: other\n");
        WriteFile(dir.File("meminfo"),
                  "MemTotal:        8000000 kB\nMemFree:          500000 kB\n"
                  "MemAvailable:    1234567 kB\nSwapTotal:       2097148 kB\n"
                  "SwapFree:        1048574 kB\nCommitLimit:     6097148 kB\n"
                  "Committed_AS:    2048000 kB\n");
        WriteFile(dir.File("product"), "Standard PC (Q35 + ICH9, 2009)\n");
        WriteFile(dir.File("vendor"), "QEMU\n");
        WriteFile(dir.File("orvel-jigsaw"), "program");
        files = {dir.File("os-release"), dir.File("cpuinfo"), dir.File("meminfo"),
                 dir.File("product"), dir.File("vendor")};
        context.ExePath = dir.File("orvel-jigsaw");
        context.OtherDir = dir.Path();
        context.Now = 45000.75;
        context.Screen.ScreenW = 1600;
        context.Screen.ScreenH = 1000;
        context.Screen.BitsPerPixel = 24;
        context.Desktop = "MATE";
        context.Session = "x11";
    }

    std::vector<std::string> Build() { return BuildSystemReport(game, settings, context, files); }

    static size_t IndexOf(const std::vector<std::string>& lines, const std::string& line) {
        return static_cast<size_t>(std::find(lines.begin(), lines.end(), line) - lines.begin());
    }

    test::TempDir dir;
    TSystemFiles files;
    TReportContext context;
    TGame game;
    TSettings settings;
};

TEST_F(SystemReportTest, WithoutAGameTheProgramSectionLeadsStraightToTheOptions) {
    const auto lines = Build();
    ASSERT_GT(lines.size(), 20u);
    const std::vector<std::string> head = {std::string(40, '='),
                                           "Orvel Jigsaw Zentia Tour System Report",
                                           "",
                                           "Date: 2023-03-15 18:00:00",
                                           "",
                                           "------ Program ------",
                                           "",
                                           "Version 1.45",
                                           "December 30, 2024",
                                           "Exe path = " + context.ExePath};
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 10), head);
    EXPECT_TRUE(
        std::regex_match(lines[10], std::regex(R"(Exe date = \d{4}-\d\d-\d\d \d\d:\d\d:\d\d)")))
        << lines[10];
    EXPECT_EQ(lines[11], "");
    EXPECT_EQ(lines[12], "------ Options ------");
    EXPECT_EQ(IndexOf(lines, "------ Jigsaw ------"), lines.size());
    EXPECT_EQ(lines[lines.size() - 2], "");
    EXPECT_EQ(lines.back(), std::string(40, '='));
    for (const std::string& line : lines) EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos);

    // A program file that cannot be found leaves its date out.
    context.ExePath = dir.File("gone");
    const auto without = Build();
    EXPECT_EQ(without[10], "");
    EXPECT_EQ(without[11], "------ Options ------");
}

TEST_F(SystemReportTest, SectionsFollowInOrderEachUnderItsHeading) {
    const auto lines = Build();
    size_t last = 0;
    for (const char* heading : {"------ Options ------", "------ Screen ------", "------ OS ------",
                                "------ System ------", "------ Memory ------"}) {
        const size_t at = IndexOf(lines, heading);
        ASSERT_LT(at, lines.size()) << heading;
        EXPECT_GT(at, last) << heading;
        EXPECT_EQ(lines[at - 1], "");
        EXPECT_EQ(lines[at + 1], "");
        last = at;
    }
    const size_t options = IndexOf(lines, "------ Options ------");
    const std::vector<std::string> subHeads = {"AutoSave", "Sound",    "Visual",
                                               "Play",     "Language", "Download"};
    size_t prev = options;
    for (const std::string& sub : subHeads) {
        const size_t at = IndexOf(lines, sub);
        ASSERT_LT(at, lines.size()) << sub;
        EXPECT_EQ(lines[at - 1], "----------") << sub;
        EXPECT_GT(at, prev) << sub;
        prev = at;
    }
}

TEST_F(SystemReportTest, SettingsBindingsAndColoursUseTheirFormats) {
    settings.RotCW_Button = 3;
    settings.RotCCW_Button = 0;
    settings.RotCCW_Shift = 6;
    settings.MoveOW_Button = 2;
    settings.MoveOW_Shift = 127;
    settings.lBkg = 0x989898;
    settings.WoodColor = 0x49687A;
    settings.sCurLang = "german";
    const auto lines = Build();
    for (const char* expected :
         {"lBkg = 989898", "WoodColor = 49687A", "RotCW_Button = ", "RotCCW_Button = mbLeft",
          "RotCCW_Shift =  ssAlt ssCtrl", "MoveOW_Button = mbMiddle",
          "MoveOW_Shift =  ssShift ssAlt ssCtrl ssLeft ssRight ssMiddle ssDouble",
          "sCurLang = german", "ScreenW = 1600, ScreenH = 1000", "BitsPerPixel = 24", "Planes = 1"})
        EXPECT_LT(IndexOf(lines, expected), lines.size()) << expected;
    // The binding lines keep their order: button before shift, CW, CCW, move.
    EXPECT_LT(IndexOf(lines, "RotCW_Button = "), IndexOf(lines, "RotCCW_Button = mbLeft"));
    EXPECT_LT(IndexOf(lines, "RotCCW_Shift =  ssAlt ssCtrl"),
              IndexOf(lines, "MoveOW_Button = mbMiddle"));
}

TEST_F(SystemReportTest, SystemFactsComeFromTheSystemFiles) {
    const auto lines = Build();
    const size_t os = IndexOf(lines, "------ OS ------");
    EXPECT_EQ(lines[os + 2], "PRETTY_NAME = Debian GNU/Linux 12 (bookworm)");
    EXPECT_EQ(lines[os + 3], "NAME = Debian GNU/Linux");
    EXPECT_EQ(lines[os + 4], "VARIANT_ID = ");
    EXPECT_EQ(lines[os + 5], "VERSION = 12 (bookworm)");
    EXPECT_EQ(lines[os + 6], "VERSION_ID = 12");
    EXPECT_TRUE(std::regex_match(lines[os + 8], std::regex(R"(KernelMajorVersion = \d+)")));
    EXPECT_LT(IndexOf(lines, "Desktop = MATE"), lines.size());
    EXPECT_LT(IndexOf(lines, "Session = x11"), lines.size());

    const size_t sys = IndexOf(lines, "------ System ------");
    EXPECT_EQ(lines[sys + 2], "SystemProductName = Standard PC (Q35 + ICH9, 2009)");
    EXPECT_EQ(lines[sys + 3], "SystemManufacturer = QEMU");
    EXPECT_EQ(lines[sys + 5], "Processors = 3");
    EXPECT_EQ(lines[sys + 6], "CentralProcessor0");
    EXPECT_TRUE(std::regex_match(
        lines[sys + 7], std::regex("Identifier = .+ Family 6 Model 85 Stepping 7, GenuineIntel")))
        << lines[sys + 7];
    EXPECT_EQ(lines[sys + 8], "ProcessorNameString = Intel(R) Xeon(R) CPU @ 2.00GHz");

    const size_t mem = IndexOf(lines, "------ Memory ------");
    const std::vector<std::string> memory = {
        "Memory Load = 84%",        "Total Physical = 7812 Mb",     "Avail Physical = 1205.632 Mb",
        "Total Virtual  = 5954 Mb", "Avail Virtual  = 3954.246 Mb", "Total PageFile = 2048 Mb",
        "Avail PageFile = 1024 Mb"};
    EXPECT_EQ(std::vector<std::string>(lines.begin() + mem + 2, lines.begin() + mem + 9), memory);
    // Program and documents share a file system here: one free-space line.
    EXPECT_TRUE(
        std::regex_match(lines[mem + 9], std::regex(R"("/[^"]*" drive free space = \d+ Mb)")))
        << lines[mem + 9];
    EXPECT_EQ(lines[mem + 10], "");
}

TEST_F(SystemReportTest, MissingSystemFilesGiveEmptyValuesNotFewerLines) {
    const size_t full = Build().size();
    files = {dir.File("none1"), dir.File("none2"), dir.File("none3"), dir.File("none4"),
             dir.File("none5")};
    const auto lines = Build();
    EXPECT_EQ(lines.size(), full);
    EXPECT_LT(IndexOf(lines, "PRETTY_NAME = "), lines.size());
    EXPECT_LT(IndexOf(lines, "Memory Load = 0%"), lines.size());
    EXPECT_LT(IndexOf(lines, "Total Physical = 0 Mb"), lines.size());
}

TEST_F(SystemReportTest, TheSavedReportEndsEveryLineWithCrLfAndReplacesTheOldOne) {
    const std::string path = dir.File("orvel-report.txt");
    WriteFile(path, "an older report that was much longer than the new one will be\n");
    ASSERT_TRUE(SaveSystemReport(path, {"one", "", "three"}).Ok());
    EXPECT_EQ(ReadFile(path), "one\r\n\r\nthree\r\n");
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));

    const Result failed = SaveSystemReport(dir.File("no/such/folder/report.txt"), {"x"});
    EXPECT_FALSE(failed.Ok());
}

}  // namespace
}  // namespace orvel
