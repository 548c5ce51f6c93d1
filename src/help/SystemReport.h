#pragma once

// The system report ("Create Report"): a plain-text page about the program,
// the jigsaw in play, the settings, the screen, the operating system, the
// processor and the memory, saved as "orvel-report.txt" for the player to
// send to support. The system's figures are read from the usual Linux files,
// whose places tests may change.

#include <string>
#include <vector>

#include "base/Result.h"
#include "platform/Platform.h"
#include "settings/Settings.h"

namespace orvel {

struct TGame;

// Where the operating system's facts are read.
struct TSystemFiles {
    std::string OsRelease = "/etc/os-release";
    std::string CpuInfo = "/proc/cpuinfo";
    std::string MemInfo = "/proc/meminfo";
    std::string ProductName = "/sys/class/dmi/id/product_name";
    std::string Manufacturer = "/sys/class/dmi/id/sys_vendor";
};

// What the program knows of itself and its desktop when the report is made.
struct TReportContext {
    std::string ExePath;   // full path of the program file
    std::string OtherDir;  // a second folder whose file system is reported (documents)
    double Now = 0;        // local date and time, days since 1899-12-30
    ScreenMetrics Screen;
    std::string Desktop;  // the desktop's name ($XDG_CURRENT_DESKTOP)
    std::string Session;  // the window system (x11, wayland)
};

// The desktop's and the session's names from the environment
// ($XDG_CURRENT_DESKTOP, $XDG_SESSION_TYPE).
void ReadDesktopNames(TReportContext& context);

// "YYYY-MM-DD HH:MM:SS" for a day count since 1899-12-30 with the time of day
// as fraction, rounded to the second.
std::string FormatReportTime(double days);
// A mouse binding's button ("mbLeft", "mbRight", "mbMiddle", else empty) and
// shift set (" ssShift", " ssAlt", " ssCtrl", ... for the bits 1..64 set).
std::string ButtonText(int button);
std::string ShiftText(int shift);

// The report's lines in order. The jigsaw section is there only with a game
// loaded; counting its groups refreshes the draw order.
std::vector<std::string> BuildSystemReport(TGame& game, const TSettings& settings,
                                           const TReportContext& context,
                                           const TSystemFiles& files = {});

// The lines, each ended by CR LF.
std::string ReportText(const std::vector<std::string>& lines);
// Writes the lines to path, replacing an earlier report only once the new one
// is complete.
Result SaveSystemReport(const std::string& path, const std::vector<std::string>& lines);

}  // namespace orvel
