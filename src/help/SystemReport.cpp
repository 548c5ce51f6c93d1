#include "help/SystemReport.h"

#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/utsname.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <system_error>

#include "base/Version.h"
#include "game/GameModel.h"
#include "game/GameState.h"

namespace orvel {

namespace {

constexpr const char* kRule = "========================================";
constexpr const char* kSubRule = "----------";
// Day count of 1970-01-01 since 1899-12-30.
constexpr double kUnixEpochDays = 25569.0;
// System files are small; anything larger is not the file we mean.
constexpr size_t kMaxSystemFile = 1u << 20;

std::string ReadSmallFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return {};
    std::string text(kMaxSystemFile, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<size_t>(in.gcount()));
    return text;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::string Unquote(std::string_view v) {
    v = TrimView(v);
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
    return std::string(v);
}

// KEY=value lines of /etc/os-release.
std::map<std::string, std::string> ReadOsRelease(const std::string& path) {
    std::map<std::string, std::string> values;
    for (const std::string& line : Lines(ReadSmallFile(path))) {
        const size_t eq = line.find('=');
        if (eq == std::string::npos || line.starts_with('#')) continue;
        values[std::string(TrimView(std::string_view(line).substr(0, eq)))] =
            Unquote(std::string_view(line).substr(eq + 1));
    }
    return values;
}

// "key : value" lines; for /proc/cpuinfo only the first processor's block.
std::map<std::string, std::string> ReadColonFile(const std::string& text, bool firstBlockOnly) {
    std::map<std::string, std::string> values;
    for (const std::string& line : Lines(text)) {
        if (TrimView(line).empty()) {
            if (firstBlockOnly && !values.empty()) break;
            continue;
        }
        const size_t colon = line.find(':');
        if (colon == std::string::npos) continue;
        values.emplace(std::string(TrimView(std::string_view(line).substr(0, colon))),
                       std::string(TrimView(std::string_view(line).substr(colon + 1))));
    }
    return values;
}

int CountProcessors(const std::string& cpuInfo) {
    int count = 0;
    for (const std::string& line : Lines(cpuInfo))
        if (line.starts_with("processor") && line.find(':') != std::string::npos) ++count;
    return count;
}

std::string Get(const std::map<std::string, std::string>& m, const std::string& key) {
    const auto it = m.find(key);
    return it != m.end() ? it->second : std::string();
}

// A /proc/meminfo figure in kB (the file's unit); 0 when missing.
double MemKb(const std::map<std::string, std::string>& m, const std::string& key) {
    long long kb = 0;
    std::sscanf(Get(m, key).c_str(), "%lld", &kb);
    return static_cast<double>(kb);
}

std::string Megabytes(const char* label, double kb, int decimals) {
    char buf[96];
    std::snprintf(buf, sizeof buf, "%s = %0.*f Mb", label, decimals, kb / 1024.0);
    return buf;
}

std::string Hex(uint32_t v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%X", v);
    return buf;
}

std::string Line(const std::string& name, const std::string& value) {
    return name + " = " + value;
}
std::string Line(const std::string& name, int64_t value) {
    return name + " = " + std::to_string(value);
}

void Heading(std::vector<std::string>& out, const std::string& title) {
    out.push_back("");
    out.push_back("------ " + title + " ------");
    out.push_back("");
}

struct TUname {
    std::string Sysname, Release, Version, Machine;
};

TUname ReadUname() {
    utsname u{};
    if (::uname(&u) != 0) return {};
    return {u.sysname, u.release, u.version, u.machine};
}

// The leading number of a kernel release ("6.1.0-18-amd64": 6 and 1).
int ReleasePart(const std::string& release, int index) {
    int parts[2] = {0, 0};
    std::sscanf(release.c_str(), "%d.%d", &parts[0], &parts[1]);
    return parts[index];
}

std::string FormatTm(const std::tm& t) {
    char buf[32];
    std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S", &t);
    return buf;
}

std::string FormatLocalTime(time_t when) {
    std::tm t{};
    localtime_r(&when, &t);
    return FormatTm(t);
}

void ProgramSection(std::vector<std::string>& out, const TReportContext& c) {
    out.push_back(kRule);
    out.push_back(std::string(kAppTitle) + " System Report");
    out.push_back("");
    out.push_back("Date: " + FormatReportTime(c.Now));
    Heading(out, "Program");
    out.push_back(kVersionText);
    out.push_back(kVersionDate);
    out.push_back("Exe path = " + c.ExePath);
    struct stat st {};
    if (!c.ExePath.empty() && ::stat(c.ExePath.c_str(), &st) == 0)
        out.push_back("Exe date = " + FormatLocalTime(st.st_mtime));
}

}  // namespace

namespace {

void JigsawSection(std::vector<std::string>& out, TGame& game) {
    const GameHeader& h = game.Header;
    Heading(out, "Jigsaw");
    out.push_back("sJig: " + game.sJig);
    out.push_back("sSolve: " + game.sSolve);
    out.push_back("sJigName: " + game.sJigName);
    out.push_back(Line("GameSeed", h.GameSeed));
    out.push_back(Line("ImageW", h.ImageW) + ", " + Line("ImageH", h.ImageH));
    out.push_back(Line("JigsL", h.JigsL) + ", " + Line("JigsT", h.JigsT));
    out.push_back(Line("MaskS", h.MaskS) + ", " + Line("TileS", h.TileS));
    out.push_back(Line("TilePX", h.TilePX) + ", " + Line("TilePY", h.TilePY));
    out.push_back(Line("PicPX", h.PicPX) + ", " + Line("PicPY", h.PicPY));
    out.push_back(Line("TileNum", h.TileNum) + ", " + Line("TotalTileNum", h.TotalTileNum));
    out.push_back(Line("Level", h.Level));
    out.push_back(Line("Rotate", h.Rotate));
    out.push_back(Line("BorderStyle", h.BorderStyle));
    out.push_back(Line("ShapeStyle", h.ShapeStyle));
    out.push_back(Line("SpreadOut", h.SpreadOut));
    out.push_back(Line("FitToScreen", h.FitToScreen));
    out.push_back(Line("SideNum", h.SideNum));
    out.push_back(Line("Jigs in MW_SIDE0", GroupCount(game, MW_SIDE0, true)));
    out.push_back(Line("Jigs in MW_SIDE1", GroupCount(game, MW_SIDE1, false)));
    for (int k = 0; k < 4; ++k)
        out.push_back(
            Line("Jigs in MW_POCKET" + std::to_string(k), GroupCount(game, MW_POCKET0 + k, false)));
    const TSolvedStats stats = SolvedStats(game);
    out.push_back(Line("iUnsolvedNum", stats.iUnsolvedNum));
    out.push_back(Line("iSolvedPercent", stats.iSolvedPercent));
}

void Binding(std::vector<std::string>& out, const std::string& name, int button, int shift) {
    out.push_back(name + "_Button = " + ButtonText(button));
    out.push_back(name + "_Shift = " + ShiftText(shift));
}

void OptionsSection(std::vector<std::string>& out, const TSettings& s) {
    Heading(out, "Options");
    out.push_back("lBkg = " + Hex(s.lBkg));
    out.insert(out.end(), {kSubRule, "AutoSave"});
    out.push_back(Line("AutoSave_bEnabled", s.AutoSave_bEnabled));
    out.push_back(Line("AutoSave_iIntervalMin", s.AutoSave_iIntervalMin));
    out.insert(out.end(), {kSubRule, "Sound"});
    out.push_back(Line("CB_SoundPlay", s.CB_SoundPlay));
    out.insert(out.end(), {kSubRule, "Visual"});
    out.push_back(Line("EmbossStyle", s.EmbossStyle));
    out.push_back(Line("WoodStyle", s.WoodStyle));
    out.push_back("WoodColor = " + Hex(s.WoodColor));
    out.push_back(Line("CB_VisualShowJoin", s.CB_VisualShowJoin));
    out.push_back(Line("FullScreen", s.FullScreen));
    out.insert(out.end(), {kSubRule, "Play"});
    Binding(out, "RotCW", s.RotCW_Button, s.RotCW_Shift);
    Binding(out, "RotCCW", s.RotCCW_Button, s.RotCCW_Shift);
    Binding(out, "MoveOW", s.MoveOW_Button, s.MoveOW_Shift);
    out.push_back(Line("bSingleWin", s.bSingleWin));
    out.push_back(Line("bClickToDrag", s.bClickToDrag));
    out.push_back(Line("iStuckKoef", s.iStuckKoef));
    out.insert(out.end(), {kSubRule, "Language"});
    out.push_back(Line("sCurLang", s.sCurLang));
    out.push_back(Line("ShowQuickHelp", s.ShowQuickHelp));
    out.insert(out.end(), {kSubRule, "Download"});
    out.push_back(Line("sDnSrc", s.sDnSrc));
    out.push_back(Line("bUseSecure", s.bUseSecure));
    out.push_back(Line("iSecureMethodInd", s.iSecureMethodInd));
}

void ScreenSection(std::vector<std::string>& out, const ScreenMetrics& sm) {
    Heading(out, "Screen");
    out.push_back(Line("ScreenW", sm.ScreenW) + ", " + Line("ScreenH", sm.ScreenH));
    // One plane of BitsPerPixel: how every Linux display keeps its pixels.
    out.push_back(Line("BitsPerPixel", sm.BitsPerPixel));
    out.push_back(Line("Planes", 1));
}

void OsSection(std::vector<std::string>& out, const TReportContext& c, const TSystemFiles& files,
               const TUname& u) {
    Heading(out, "OS");
    const auto os = ReadOsRelease(files.OsRelease);
    for (const char* key :
         {"PRETTY_NAME", "NAME", "VARIANT_ID", "VERSION", "VERSION_ID", "BUILD_ID"})
        out.push_back(Line(key, Get(os, key)));
    out.push_back(Line("KernelMajorVersion", ReleasePart(u.Release, 0)));
    out.push_back(Line("KernelMinorVersion", ReleasePart(u.Release, 1)));
    out.push_back(Line("Kernel", u.Sysname + " " + u.Release));
    out.push_back(Line("KernelBuild", u.Version));
    out.push_back(Line("Desktop", c.Desktop));
    out.push_back(Line("Session", c.Session));
}

void SystemSection(std::vector<std::string>& out, const TSystemFiles& files, const TUname& u) {
    Heading(out, "System");
    out.push_back(Line("SystemProductName", Unquote(ReadSmallFile(files.ProductName))));
    out.push_back(Line("SystemManufacturer", Unquote(ReadSmallFile(files.Manufacturer))));
    const std::string cpuText = ReadSmallFile(files.CpuInfo);
    out.push_back(Line("CPU", u.Machine));
    out.push_back(Line("Processors", CountProcessors(cpuText)));
    out.push_back("CentralProcessor0");
    const auto cpu = ReadColonFile(cpuText, true);
    std::string id;
    if (!Get(cpu, "cpu family").empty())
        id = u.Machine + " Family " + Get(cpu, "cpu family") + " Model " + Get(cpu, "model") +
             " Stepping " + Get(cpu, "stepping") + ", " + Get(cpu, "vendor_id");
    out.push_back(Line("Identifier", id));
    out.push_back(Line("ProcessorNameString", Get(cpu, "model name")));
}

// The mount point of the file system path lies on: the highest folder above
// it on the same device.
std::string MountPointOf(const std::string& path, dev_t device) {
    std::filesystem::path p = std::filesystem::path(path).lexically_normal();
    while (p.has_parent_path() && p.parent_path() != p) {
        struct stat st {};
        if (::stat(p.parent_path().c_str(), &st) != 0 || st.st_dev != device) break;
        p = p.parent_path();
    }
    return p.string();
}

void FreeSpaceLine(std::vector<std::string>& out, const std::string& dir, dev_t device) {
    struct statvfs fs {};
    if (::statvfs(dir.c_str(), &fs) != 0) return;
    const double freeKb =
        static_cast<double>(fs.f_bavail) * static_cast<double>(fs.f_frsize) / 1024.0;
    char buf[64];
    std::snprintf(buf, sizeof buf, " drive free space = %0.0f Mb", std::floor(freeKb) / 1024.0);
    out.push_back("\"" + MountPointOf(dir, device) + "\"" + buf);
}

void MemorySection(std::vector<std::string>& out, const TReportContext& c,
                   const TSystemFiles& files) {
    Heading(out, "Memory");
    const auto mem = ReadColonFile(ReadSmallFile(files.MemInfo), false);
    const double total = MemKb(mem, "MemTotal");
    const double avail = MemKb(mem, "MemAvailable");
    const int load = total > 0 ? static_cast<int>((total - avail) * 100.0 / total) : 0;
    out.push_back("Memory Load = " + std::to_string(load) + "%");
    out.push_back(Megabytes("Total Physical", total, 0));
    out.push_back(Megabytes("Avail Physical", avail, 3));
    // What the kernel lets processes commit stands for the virtual memory.
    const double commitLimit = MemKb(mem, "CommitLimit");
    const double committed = MemKb(mem, "Committed_AS");
    out.push_back(Megabytes("Total Virtual ", commitLimit, 0));
    out.push_back(Megabytes("Avail Virtual ", std::max(0.0, commitLimit - committed), 3));
    out.push_back(Megabytes("Total PageFile", MemKb(mem, "SwapTotal"), 0));
    out.push_back(Megabytes("Avail PageFile", MemKb(mem, "SwapFree"), 0));

    const std::string exeDir = std::filesystem::path(c.ExePath).parent_path().string();
    struct stat exeSt {};
    struct stat otherSt {};
    const bool exeOk = !exeDir.empty() && ::stat(exeDir.c_str(), &exeSt) == 0;
    if (exeOk) FreeSpaceLine(out, exeDir, exeSt.st_dev);
    if (!c.OtherDir.empty() && ::stat(c.OtherDir.c_str(), &otherSt) == 0 &&
        (!exeOk || otherSt.st_dev != exeSt.st_dev))
        FreeSpaceLine(out, c.OtherDir, otherSt.st_dev);
}

}  // namespace

void ReadDesktopNames(TReportContext& context) {
    const char* desktop = std::getenv("XDG_CURRENT_DESKTOP");
    const char* session = std::getenv("XDG_SESSION_TYPE");
    context.Desktop = desktop != nullptr ? desktop : "";
    context.Session = session != nullptr ? session : "";
}

std::string FormatReportTime(double days) {
    const double seconds = std::round((days - kUnixEpochDays) * 86400.0);
    // The day count is local time already: read its fields without a zone.
    const time_t t = static_cast<time_t>(seconds);
    std::tm fields{};
    gmtime_r(&t, &fields);
    return FormatTm(fields);
}

std::string ButtonText(int button) {
    switch (button) {
        case 0:
            return "mbLeft";
        case 1:
            return "mbRight";
        case 2:
            return "mbMiddle";
        default:
            return "";
    }
}

std::string ShiftText(int shift) {
    static constexpr const char* kNames[] = {" ssShift", " ssAlt",    " ssCtrl",  " ssLeft",
                                             " ssRight", " ssMiddle", " ssDouble"};
    std::string text;
    for (int bit = 0; bit < 7; ++bit)
        if (shift & (1 << bit)) text += kNames[bit];
    return text;
}

std::vector<std::string> BuildSystemReport(TGame& game, const TSettings& settings,
                                           const TReportContext& context,
                                           const TSystemFiles& files) {
    std::vector<std::string> out;
    const TUname u = ReadUname();
    ProgramSection(out, context);
    if (game.GameLoaded) JigsawSection(out, game);
    OptionsSection(out, settings);
    ScreenSection(out, context.Screen);
    OsSection(out, context, files, u);
    SystemSection(out, files, u);
    MemorySection(out, context, files);
    out.push_back("");
    out.push_back(kRule);
    return out;
}

std::string ReportText(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

Result SaveSystemReport(const std::string& path, const std::vector<std::string>& lines) {
    const std::string scratch = path + ".tmp";
    {
        std::ofstream out(scratch, std::ios::binary | std::ios::trunc);
        const std::string text = ReportText(lines);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        if (!out.flush()) {
            std::error_code ec;
            std::filesystem::remove(scratch, ec);
            return Result::Fail("Cannot create file \"%s\".", {path}, {}, MsgSection::Fixed);
        }
    }
    std::error_code ec;
    std::filesystem::rename(scratch, path, ec);
    if (ec) {
        std::filesystem::remove(scratch, ec);
        return Result::Fail("Cannot create file \"%s\".", {path}, ec.message(), MsgSection::Fixed);
    }
    return Result::Success();
}

}  // namespace orvel
