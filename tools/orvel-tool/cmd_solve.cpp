// orvel-tool solve: starts a jigsaw as the program does, headless, and plays
// it to the end with the mouse through the application core; prints what it
// took and how long the field's work lasted.
#include <time.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "Command.h"
#include "HeadlessProgram.h"
#include "app/AutoPlay.h"
#include "base/Text.h"
#include "game/GameModel.h"
#include "graphics/ImageCodecs.h"
#include "play/EdgeSort.h"
#include "play/LostPieces.h"

namespace orvel::tool {
namespace {

const char* kUsage =
    "(JIGSAW.orv [--level N --shape S --border 0|1 --rotate --spread --seed N] | GAME.sv1) "
    "[--screen WxH] [--emboss E --wood W] [--moves N] [--save OUT.sv1] [--image OUT.bmp] "
    "[--screenshot OUT.png] [--picture OUT.png] [--background CODE] [--sort-edges] [--find-lost N]";

// Full compositions timed after opening; the median is reported.
constexpr int kComposeRuns = 7;

struct SolveOptions {
    std::string game, screenshot, picture, save, image;
    long long level = -1, shape = -1, border = -1, seed = 0, emboss = -1, wood = -1, moves = -1;
    long long background = -1;  // every window's: a picture code 10 .. 17 or a colour 0x00BBGGRR
    bool haveSeed = false, rotate = false, spread = false;
    // Before playing: the loose edge pieces sorted into the first pocket, and
    // the lost-piece finder pressed findLost times; both timed.
    bool sortEdges = false;
    long long findLost = 0;
    int screenW = 1920, screenH = 1080;
};

bool ParseScreen(const std::string& v, SolveOptions& o) {
    const size_t cross = v.find('x');
    long long w = 0, h = 0;
    if (cross == std::string::npos || !ParseInt(v.substr(0, cross), 640, 16384, w) ||
        !ParseInt(v.substr(cross + 1), 480, 16384, h)) {
        std::fprintf(stderr, "solve: --screen wants WxH, at least 640x480\n");
        return false;
    }
    o.screenW = static_cast<int>(w);
    o.screenH = static_cast<int>(h);
    return true;
}

// One option at args[i] (and its value); false after naming the problem.
bool ParseOption(const std::vector<std::string>& args, size_t& i, SolveOptions& o) {
    const std::string& a = args[i];
    const auto value = [&]() -> const std::string* {
        if (i + 1 < args.size()) return &args[++i];
        std::fprintf(stderr, "solve: %s needs a value\n", a.c_str());
        return nullptr;
    };
    const auto number = [&](long long lo, long long hi, long long& out) {
        const std::string* v = value();
        if (v && ParseInt(*v, lo, hi, out)) return true;
        if (v) std::fprintf(stderr, "solve: bad value for %s: %s\n", a.c_str(), v->c_str());
        return false;
    };
    const auto text = [&](std::string& out) {
        const std::string* v = value();
        if (v) out = *v;
        return v != nullptr;
    };
    if (a == "--level") return number(0, kLevelCount - 1, o.level);
    if (a == "--shape") return number(0, 6, o.shape);
    if (a == "--border") return number(0, 1, o.border);
    if (a == "--seed") return o.haveSeed = number(INT32_MIN, UINT32_MAX, o.seed);
    if (a == "--emboss") return number(0, 3, o.emboss);
    if (a == "--wood") return number(0, 2, o.wood);
    if (a == "--moves") return number(0, INT32_MAX, o.moves);
    if (a == "--background") return number(0, 0xFFFFFF, o.background);
    if (a == "--rotate") return o.rotate = true;
    if (a == "--spread") return o.spread = true;
    if (a == "--sort-edges") return o.sortEdges = true;
    if (a == "--find-lost") return number(0, INT32_MAX, o.findLost);
    if (a == "--screen") return value() && ParseScreen(args[i], o);
    if (a == "--screenshot") return text(o.screenshot);
    if (a == "--picture") return text(o.picture);
    if (a == "--save") return text(o.save);
    if (a == "--image") return text(o.image);
    if (!a.empty() && a[0] == '-') {
        std::fprintf(stderr, "solve: unknown option %s\nUsage: orvel-tool solve %s\n", a.c_str(),
                     kUsage);
        return false;
    }
    if (!o.game.empty()) {
        std::fprintf(stderr, "solve: one game only (%s)\n", a.c_str());
        return false;
    }
    o.game = a;
    return true;
}

// 0 when the arguments are usable, else the exit status after naming the problem.
int ParseSolveArgs(const std::vector<std::string>& args, SolveOptions& o) {
    for (size_t i = 0; i < args.size(); ++i)
        if (!ParseOption(args, i, o)) return 2;
    if (o.game.empty()) {
        std::fprintf(stderr, "Usage: orvel-tool solve %s\n", kUsage);
        return 2;
    }
    return 0;
}

// The cut and the look as the player would have chosen them in the settings.
void ApplyChoices(TSettings& s, const SolveOptions& o) {
    if (o.level >= 0) s.Level = static_cast<int32_t>(o.level);
    if (o.shape >= 0) s.ShapeStyle = static_cast<uint8_t>(o.shape);
    if (o.border >= 0) s.BorderStyle = static_cast<uint8_t>(o.border);
    if (o.emboss >= 0) s.EmbossStyle = static_cast<uint8_t>(o.emboss);
    if (o.wood >= 0) s.WoodStyle = static_cast<uint8_t>(o.wood);
    s.Rotate = o.rotate;
    s.SpreadOut = o.spread ? 1 : 0;
}

// ------------------------------------------------------------------ timing

double Now(clockid_t clock) {
    timespec ts{};
    clock_gettime(clock, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

// Milliseconds of wall time and of processor time (this thread or the
// whole process) of one piece of work.
struct TTiming {
    std::vector<double> Wall, Cpu;
    void Add(double wall, double cpu) {
        Wall.push_back(wall);
        Cpu.push_back(cpu);
    }
};

template <typename Work>
void Time(TTiming& t, clockid_t cpuClock, Work&& work) {
    const double w0 = Now(CLOCK_MONOTONIC), c0 = Now(cpuClock);
    work();
    t.Add(Now(CLOCK_MONOTONIC) - w0, Now(cpuClock) - c0);
}

double Median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    const size_t m = v.size() / 2;
    return v.size() % 2 ? v[m] : (v[m - 1] + v[m]) / 2;
}

// The core's hands, with every mouse move of a drag timed.
class TTimedHands : public TPlayerHands {
public:
    explicit TTimedHands(TOrvelApp& app) : m_hands(app) {}
    void Press(int x, int y, int button, uint8_t shift) override {
        m_hands.Press(x, y, button, shift);
    }
    void Move(int x, int y, bool held) override {
        if (!held) return m_hands.Move(x, y, held);
        Time(Steps, CLOCK_THREAD_CPUTIME_ID, [&] { m_hands.Move(x, y, held); });
    }
    void Release(int x, int y, int button, uint8_t shift) override {
        m_hands.Release(x, y, button, shift);
    }
    void SwitchSide() override { m_hands.SwitchSide(); }
    TTiming Steps;

private:
    TAppHands m_hands;
};

// ------------------------------------------------------------------ outputs

bool WriteShot(const TOrvelApp& app, const std::string& path) {
    const TFieldView& v = app.View;
    TMyBitmap shot;
    if (!Create24(shot, std::max(v.FieldW, 1), std::max(v.FieldH, 1))) return false;
    CopyRect(shot, 0, 0, shot.Width, shot.Height, v.Field, 0, 0);
    return SavePngFile(shot, path).Ok();
}

// The solved picture as the finish form's Save button writes it; only a
// solved game has one.
bool WriteImage(TOrvelApp& app, const SolveOptions& o) {
    if (o.image.empty()) return true;
    if (!app.Game.Solved) {
        std::fprintf(stderr, "solve: not solved, so no --image %s\n", o.image.c_str());
        return false;
    }
    const Result written = app.WriteSolvedImage(o.image);
    if (!written)
        std::fprintf(stderr, "solve: cannot write %s: %s\n", o.image.c_str(),
                     written.Error().Detail.c_str());
    return written.Ok();
}

bool WriteOutputs(TOrvelApp& app, const SolveOptions& o) {
    bool ok = true;
    if (!o.screenshot.empty() && !WriteShot(app, o.screenshot)) {
        std::fprintf(stderr, "solve: cannot write %s\n", o.screenshot.c_str());
        ok = false;
    }
    if (!o.picture.empty() && !SavePngFile(app.Game.Buffers[0], o.picture).Ok()) {
        std::fprintf(stderr, "solve: cannot write %s\n", o.picture.c_str());
        ok = false;
    }
    return ok && WriteImage(app, o);
}

// The helpers for big puzzles, run as the player would before playing:
// prints what they did and how long each took. Pieces sorted into the
// pocket stay there: the player below only plays the sides.
void RunHelpers(TOrvelApp& app, const SolveOptions& o) {
    if (o.sortEdges) {
        // The search alone, then the whole command with the pocket's redraw.
        TTiming search, sort;
        Time(search, CLOCK_PROCESS_CPUTIME_ID, [&] { LooseEdgePieces(app.Game); });
        Time(sort, CLOCK_PROCESS_CPUTIME_ID, [&] { app.RunCommand(MI_GameSortEdges); });
        std::printf(
            "edges_sorted = %d\nsort_edges_search_ms = %.2f\nsort_edges_command_ms = %.2f\n",
            GroupCount(app.Game, MW_POCKET0, true), search.Wall[0], sort.Wall[0]);
    }
    if (o.findLost <= 0) return;
    // The search alone, then the whole command with its redraw and flash
    // (whose pauses pass on the headless clock only).
    TTiming search, command;
    const std::vector<int> side{app.Game.CurSide};
    size_t lost = 0;
    for (long long k = 0; k < o.findLost; ++k) {
        Time(search, CLOCK_PROCESS_CPUTIME_ID,
             [&] { lost = FindLostGroups(app.Game, app.Wins, side).size(); });
        Time(command, CLOCK_PROCESS_CPUTIME_ID, [&] { app.RunCommand(MI_GameFindLost); });
    }
    std::printf(
        "lost_groups_last = %zu\nfind_lost_search_ms_median = %.2f\nfind_lost_search_ms_max = "
        "%.2f\nfind_lost_command_ms_median = %.2f\nfind_lost_command_ms_max = %.2f\n",
        lost, Median(search.Wall), *std::max_element(search.Wall.begin(), search.Wall.end()),
        Median(command.Wall), *std::max_element(command.Wall.begin(), command.Wall.end()));
}

uint32_t StartCounter(const SolveOptions& o) {
    if (o.haveSeed) return static_cast<uint32_t>(o.seed);
    return static_cast<uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count());
}

// A message the program would have shown in a box, on one line.
void PrintMessage(const std::string& text) {
    std::string line = text;
    for (size_t at = line.find("\n\n"); at != std::string::npos; at = line.find("\n\n", at))
        line.replace(at, 2, ": ");
    std::replace(line.begin(), line.end(), '\n', ' ');
    std::fprintf(stderr, "solve: %s\n", line.c_str());
}

// Saves the game as Save As would, then once more (which rewrites only the
// state), and prints how long each took.
bool SaveTimed(THeadlessProgram& program, const std::string& path) {
    TOrvelApp& app = program.App();
    const size_t before = program.Fake().Messages.size();
    TTiming full, update;
    bool saved = false;
    Time(full, CLOCK_PROCESS_CPUTIME_ID, [&] { saved = app.SaveAsPath(path); });
    if (saved) Time(update, CLOCK_PROCESS_CPUTIME_ID, [&] { saved = app.SaveGame(path, false); });
    const auto& shown = program.Fake().Messages;
    for (size_t k = before; k < shown.size(); ++k) PrintMessage(shown[k].Text);
    if (!saved) return false;
    std::printf(
        "saved = %s\nsave_ms = %.1f\nupdate_ms = %.1f\nsave_cpu_ms = %.1f\nupdate_cpu_ms = %.1f\n",
        app.Game.sSolve.c_str(), full.Wall[0], update.Wall[0], full.Cpu[0], update.Cpu[0]);
    return true;
}

int RunSolve(const std::vector<std::string>& args) {
    SolveOptions o;
    if (const int status = ParseSolveArgs(args, o)) return status;
    // The generator is seeded from the counter at start, so a seed given is
    // the seed the game is cut with.
    THeadlessProgram program(o.screenW, o.screenH, StartCounter(o));
    TOrvelApp& app = program.App();
    ApplyChoices(app.Settings, o);

    TTiming open, compose;
    bool opened = false;
    Time(open, CLOCK_PROCESS_CPUTIME_ID, [&] { opened = program.Open(o.game); });
    for (const FakePlatform::Message& m : program.Fake().Messages) PrintMessage(m.Text);
    if (!opened) return 1;
    if (o.background >= 0) {
        app.Settings.WinBkg.fill(static_cast<TColor>(o.background));
        app.ApplyBackgrounds();
    }
    RunHelpers(app, o);
    for (int k = 0; k < kComposeRuns; ++k)
        Time(compose, CLOCK_THREAD_CPUTIME_ID, [&] {
            app.RequestFullRedraw();
            app.FlushFieldUpdate();
        });

    TTimedHands hands(app);
    TAutoPlay player(app.Game, app.Wins, app.Settings, hands);
    TTiming play;
    TAutoPlayStats stats;
    Time(play, CLOCK_PROCESS_CPUTIME_ID, [&] { stats = player.Play(static_cast<int>(o.moves)); });
    app.RequestFullRedraw();
    app.FlushFieldUpdate();

    const TSolvedStats solved = SolvedStats(app.Game);
    std::printf(
        "GameSeed = %d\nTotalTileNum = %d\nmoves = %d\njoins = %d\nsolved = %d\n"
        "iSolvedPercent = %d\nnewgame_ms = %.1f\ndrag_step_us_median = %.0f\n"
        "compose_ms_median = %.2f\n",
        app.Game.Header.GameSeed, app.Game.Header.TotalTileNum, stats.Moves, stats.Joins,
        app.Game.Solved ? 1 : 0, solved.iSolvedPercent, open.Wall[0],
        Median(hands.Steps.Wall) * 1000, Median(compose.Wall));
    std::printf(
        "clicks = %d\nside_switches = %d\nsent_away = %d\nfetched = %d\nshifted = %d\n"
        "stuck = %d\ndrag_steps = %zu\n"
        "newgame_cpu_ms = %.1f\ndrag_step_cpu_us_median = %.0f\ncompose_cpu_ms_median = %.2f\n"
        "play_ms = %.0f\nplay_cpu_ms = %.0f\n",
        stats.Clicks, stats.SideSwitches, stats.SentAway, stats.Fetched, stats.Shifted,
        stats.Stuck ? 1 : 0, hands.Steps.Wall.size(), open.Cpu[0], Median(hands.Steps.Cpu) * 1000,
        Median(compose.Cpu), play.Wall[0], play.Cpu[0]);
    const bool saved = o.save.empty() || SaveTimed(program, o.save);
    return WriteOutputs(app, o) && saved ? 0 : 1;
}

CommandRegistration solveCommand({"solve", kUsage,
                                  "starts a jigsaw headless as the program does and solves it "
                                  "with the mouse; prints moves, joins and timings",
                                  RunSolve});

}  // namespace
}  // namespace orvel::tool
