// Where the program finds its data: beside the executable in a build tree,
// in share/orvel-jigsaw once installed; and orvel-tool report, which prints
// the report the game writes.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "app/DataFolder.h"
#include "settings/TempDir.h"

namespace orvel {
namespace {

namespace fs = std::filesystem;

TEST(DataFolder, ABuildTreeUsesItsOwnFolderAnInstallationItsShareFolder) {
    test::TempDir dir;
    fs::create_directories(dir.File("build/language"));
    EXPECT_EQ(ProgramDataDir(dir.File("build")), dir.File("build"));

    fs::create_directories(dir.File("usr/bin"));
    EXPECT_EQ(ProgramDataDir(dir.File("usr/bin")), dir.File("usr/bin"));
    fs::create_directories(dir.File("usr/share/orvel-jigsaw/language"));
    EXPECT_EQ(ProgramDataDir(dir.File("usr/bin")), dir.File("usr/share/orvel-jigsaw"));
}

TEST(ReportTool, PrintsTheReportWithCrLfLineEnds) {
    const std::string tool = std::string(ORVEL_BUILD_DIR) + "/orvel-tool";
    if (!fs::exists(tool)) GTEST_SKIP() << "orvel-tool not built";
    std::FILE* p = popen((tool + " report").c_str(), "r");
    ASSERT_NE(p, nullptr);
    std::string out;
    char buf[4096];
    for (size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
    EXPECT_EQ(pclose(p), 0);
    const std::string rule(40, '=');
    EXPECT_TRUE(out.starts_with(rule + "\r\nOrvel Jigsaw Zentia Tour System Report\r\n\r\nDate: "))
        << out.substr(0, 200);
    EXPECT_TRUE(out.ends_with("\r\n\r\n" + rule + "\r\n"));
    for (const char* heading : {"------ Program ------", "------ Options ------",
                                "------ OS ------", "------ Memory ------"})
        EXPECT_NE(out.find(std::string("\r\n") + heading + "\r\n"), std::string::npos) << heading;
    // Without a game there is no jigsaw section; no bare line feeds.
    EXPECT_EQ(out.find("------ Jigsaw ------"), std::string::npos);
    for (size_t at = out.find('\n'); at != std::string::npos; at = out.find('\n', at + 1))
        ASSERT_EQ(out[at - 1], '\r');
}

}  // namespace
}  // namespace orvel
