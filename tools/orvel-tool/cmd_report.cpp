// orvel-tool report: the system report the game's "Create Report" writes,
// printed for this computer and the player's settings. A tool has no
// screen: the screen's figures are 0.
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <system_error>

#include "Command.h"
#include "app/DataFolder.h"
#include "app/Folders.h"
#include "base/Text.h"
#include "base/Version.h"
#include "game/GameState.h"
#include "help/SystemReport.h"
#include "settings/Settings.h"

namespace orvel::tool {
namespace {

std::filesystem::path ToolPath() {
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::path() : exe;
}

// The local time now as the game's day count.
double LocalNowDays() {
    const time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return 25569.0 + (static_cast<double>(now) + static_cast<double>(local.tm_gmtoff)) / 86400.0;
}

int RunReport(const std::vector<std::string>&) {
    const std::filesystem::path tool = ToolPath();
    const std::filesystem::path game = tool.parent_path() / "orvel-jigsaw";
    std::error_code ec;
    const TPlatformFolders folders = ReadXdgFolders(ProgramDataDir(tool.parent_path().string()));
    TSettingsPaths paths;
    paths.UserDataDir = AddSlash(JoinPath(folders.DataHomeDir, kAppTitle));
    paths.LanguageDir = JoinPath(folders.ProgramDir, "language");
    TSettingsHooks noWindow;
    TSettings settings;
    LoadSettings(settings, paths, noWindow);

    TReportContext context;
    context.ExePath = std::filesystem::is_regular_file(game, ec) ? game.string() : tool.string();
    context.OtherDir = folders.DocumentsDir;
    context.Now = LocalNowDays();
    context.Screen = ScreenMetrics{0, 0, {0, 0, -1, -1}, 0, 0, 0, 0};
    ReadDesktopNames(context);
    TGame noGame;
    const std::string text = ReportText(BuildSystemReport(noGame, settings, context));
    std::fwrite(text.data(), 1, text.size(), stdout);
    return 0;
}

CommandRegistration reportCommand(
    {"report", "", "prints the system report (\"Create Report\" in the game's Help menu)",
     RunReport});

}  // namespace
}  // namespace orvel::tool
