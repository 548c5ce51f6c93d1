// orvel-tool cut: cuts a picture with the game's own cutter and writes the
// mask and the piece table, for tests, goldens and timing.
#include <chrono>
#include <ctime>
#include <cstdio>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "Command.h"
#include "cutter/CellCutter.h"
#include "cutter/KnobStrip.h"
#include "cutter/LevelTable.h"
#include "cutter/PieceEffects.h"
#include "cutter/Silhouettes.h"
#include "game/GameState.h"
#include "graphics/ImageCodecs.h"
#include "platform/FakePlatform.h"

namespace orvel::tool {
namespace {

// Message boxes go to standard error; the generator is seeded from the
// clock when no seed is given.
class StderrPlatform : public FakePlatform {
public:
    MsgResult ShowMessage(const std::string& text, const std::string&, MsgKind) override {
        std::fprintf(stderr, "%s\n", text.c_str());
        return MsgResult::Ok;
    }
    uint64_t HighResCounter() override {
        return static_cast<uint64_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count());
    }
};

bool ParseInt(const std::string& s, long long lo, long long hi, long long& out) {
    char* end = nullptr;
    errno = 0;
    const long long v = std::strtoll(s.c_str(), &end, 10);
    if (s.empty() || *end != '\0' || errno != 0 || v < lo || v > hi) return false;
    out = v;
    return true;
}

// The program data folder is the executable's folder; its resources/ holds the knob strip.
std::string ResourcesDir() {
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return (ec ? std::filesystem::path(".") : exe.parent_path()).string() + "/resources";
}

// Processor time of this thread, so that timings on a busy machine say
// what the work costs rather than how long it waited.
double CpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec * 1000.0 + ts.tv_nsec / 1e6;
}

double Ms(std::chrono::steady_clock::time_point a, std::chrono::steady_clock::time_point b) {
    return std::chrono::duration<double, std::milli>(b - a).count();
}

// Returns false (with a message) when the file cannot be written completely.
bool WritePieces(const TGame& game, const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "w");
    if (!f) {
        std::fprintf(stderr, "cut: cannot write %s\n", path.c_str());
        return false;
    }
    std::fprintf(f, "[\n");
    const int n = game.Header.TotalTileNum;
    for (int i = 0; i < n; ++i) {
        const TPiece& p = game.Pieces[i];
        std::fprintf(f,
                     "  {\"index\": %d, \"cellX\": %d, \"cellY\": %d, \"cellW\": %d, \"cellH\": %d, "
                     "\"boxX\": %d, \"boxY\": %d, \"boxW\": %d, \"boxH\": %d, \"seedX\": %d, \"seedY\": %d, "
                     "\"neighbours\": [",
                     i, p.cellX, p.cellY, p.cellW, p.cellH, p.boxX, p.boxY, p.boxW, p.boxH, p.seedX, p.seedY);
        for (int k = 0; k < 9; ++k) std::fprintf(f, "%s%d", k ? ", " : "", p.neighbours[k]);
        std::fprintf(f, "], \"MaskCode\": %d, \"JoinBit\": %d, \"isPicture\": %d, \"reliefSlot\": %d}%s\n",
                     p.MaskCode, p.JoinBit, p.isPicture, p.reliefSlot, i + 1 < n ? "," : "");
    }
    std::fprintf(f, "]\n");
    const bool written = !std::ferror(f);
    if (std::fclose(f) != 0 || !written) {
        std::fprintf(stderr, "cut: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

const char* kUsage =
    "IMAGE [--level N] [--shape S] [--border 0|1] [--rotate] [--seed N] [--fit WxH] [--emboss E] "
    "[--wood W] [--mask OUT.png] [--pieces OUT.json]";

int RunCut(const std::vector<std::string>& args) {
    std::string image, maskPath, piecesPath;
    long long level = 0, shape = 0, border = 0, emboss = 1, wood = 2, seed = 0;
    bool haveSeed = false, rotate = false;
    int fitW = 0, fitH = 0;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](const char* name) -> const std::string* {
            if (i + 1 >= args.size()) {
                std::fprintf(stderr, "cut: %s needs a value\n", name);
                return nullptr;
            }
            return &args[++i];
        };
        auto intOpt = [&](const char* name, long long lo, long long hi, long long& out) {
            const std::string* v = value(name);
            if (!v) return false;
            if (!ParseInt(*v, lo, hi, out)) {
                std::fprintf(stderr, "cut: bad value for %s: %s\n", name, v->c_str());
                return false;
            }
            return true;
        };
        bool ok = true;
        if (a == "--level")
            ok = intOpt("--level", 0, kLevelCount - 1, level);
        else if (a == "--shape")
            ok = intOpt("--shape", 0, 255, shape);
        else if (a == "--border")
            ok = intOpt("--border", 0, 1, border);
        else if (a == "--rotate")
            rotate = true;
        else if (a == "--seed")
            ok = haveSeed = intOpt("--seed", INT32_MIN, UINT32_MAX, seed);
        else if (a == "--emboss")
            ok = intOpt("--emboss", 0, 3, emboss);
        else if (a == "--wood")
            ok = intOpt("--wood", 0, 2, wood);
        else if (a == "--mask") {
            const std::string* v = value("--mask");
            ok = v != nullptr;
            if (v) maskPath = *v;
        } else if (a == "--pieces") {
            const std::string* v = value("--pieces");
            ok = v != nullptr;
            if (v) piecesPath = *v;
        } else if (a == "--fit") {
            const std::string* v = value("--fit");
            const size_t cross = v ? v->find('x') : std::string::npos;
            long long fw = 0, fh = 0;
            ok = cross != std::string::npos && ParseInt(v->substr(0, cross), 1, kMaxBitmapSide - 1, fw) &&
                 ParseInt(v->substr(cross + 1), 1, kMaxBitmapSide - 1, fh);
            fitW = static_cast<int>(fw);
            fitH = static_cast<int>(fh);
            if (!ok && v) std::fprintf(stderr, "cut: --fit wants WxH\n");
        } else if (!a.empty() && a[0] == '-') {
            std::fprintf(stderr, "cut: unknown option %s\nUsage: orvel-tool cut %s\n", a.c_str(), kUsage);
            return 2;
        } else if (image.empty()) {
            image = a;
        } else {
            std::fprintf(stderr, "cut: unexpected argument %s (one picture only)\nUsage: orvel-tool cut %s\n",
                         a.c_str(), kUsage);
            ok = false;
        }
        if (!ok) return 2;
    }
    if (image.empty()) {
        std::fprintf(stderr, "Usage: orvel-tool cut %s\n", kUsage);
        return 2;
    }

    StderrPlatform platform;
    TGame game;
    std::string error;
    if (!LoadImageFile(game.Buffers[0], image, &error)) {
        std::fprintf(stderr, "cut: cannot load %s: %s\n", image.c_str(), error.c_str());
        return 1;
    }
    if (game.Buffers[0].BytesPerPixel != 3) {
        TMyBitmap rgb;
        CopyFromBitmap(rgb, game.Buffers[0]);
        game.Buffers[0] = std::move(rgb);
    }
    GameHeader& h = game.Header;
    h.ImageW = game.Buffers[0].Width;
    h.ImageH = game.Buffers[0].Height;
    h.FitW = h.ImageW;
    h.FitH = h.ImageH;
    if (fitW > 0 && (h.ImageW > fitW || h.ImageH > fitH)) {
        // Fitted as the game fits a picture to the screen, keeping its shape.
        if (static_cast<double>(fitW) / fitH > static_cast<double>(h.ImageW) / h.ImageH) {
            h.FitW = static_cast<int>(static_cast<int64_t>(fitH) * h.ImageW / h.ImageH);
            h.FitH = fitH;
        } else {
            h.FitW = fitW;
            h.FitH = static_cast<int>(static_cast<int64_t>(fitW) * h.ImageH / h.ImageW);
        }
        h.FitW = std::max(h.FitW, 1);
        h.FitH = std::max(h.FitH, 1);
        TMyBitmap scaled;
        Create24(scaled, h.FitW, h.FitH);
        ScaleInto(scaled, game.Buffers[0]);
        game.Buffers[0] = std::move(scaled);
        h.ImageW = h.FitW;
        h.ImageH = h.FitH;
        h.FitToScreen = 1;
    }
    h.ShapeStyle = static_cast<uint8_t>(shape);
    h.BorderStyle = static_cast<uint8_t>(border);
    h.Rotate = rotate ? 1 : 0;
    LevelTable table;
    BuildLevelTable(table, h.ImageW, h.ImageH, h.ShapeStyle, h.BorderStyle);
    if (!FillHeaderFromLevel(h, table, static_cast<int>(level), h.ImageW, h.ImageH, h.BorderStyle)) {
        std::fprintf(stderr, "cut: level %lld gives %d pieces, more than %d\n", level, h.TotalTileNum,
                     kMaxPlayablePieces);
        return 1;
    }
    game.Random.Seed = haveSeed ? static_cast<uint32_t>(seed) : static_cast<uint32_t>(platform.HighResCounter());
    h.GameSeed = static_cast<int32_t>(game.Random.Seed);
    game.Pieces.assign(h.TotalTileNum + 1, TPiece{});

    CutEnvironment env;
    env.platform = &platform;
    // Shape style 3 takes its silhouettes from the shape file in the program data folder.
    Silhouettes silhouettes(std::filesystem::path(ResourcesDir()).parent_path().string() + "/pic_orvel.dat",
                            &platform);
    if (h.ShapeStyle == 3) env.pictures = &silhouettes;
    const double c0 = CpuMs();
    const auto t0 = std::chrono::steady_clock::now();
    bool ok;
    if (h.ShapeStyle < 4) {
        ok = CutPieces(game, env);
    } else {
        TMyBitmap strip;
        std::string stripError;
        if (!LoadKnobStrip(strip, ResourcesDir(), &stripError)) {
            std::fprintf(stderr, "cut: knob strip: %s\n", stripError.c_str());
            return 1;
        }
        ok = CutGrid(game, env, strip);
    }
    const auto t1 = std::chrono::steady_clock::now();
    const double c1 = CpuMs();
    if (rotate && game.Buffers[4].Width > 0) {
        for (int r = 1; r < 4; ++r) {
            RotateRight(game.Buffers[r], game.Buffers[r - 1]);
            RotateRightWithMargin(game.Buffers[4 + r], game.Buffers[4 + r - 1], 5);
        }
    }
    game.Pieces.resize(std::max(h.TotalTileNum, 0));
    for (auto& p : game.Pieces) p.group = static_cast<int32_t>(&p - game.Pieces.data());
    EffectSettings effects;
    effects.EmbossStyle = static_cast<int>(emboss);
    effects.WoodStyle = static_cast<int>(wood);
    const double c2 = CpuMs();
    const auto t2 = std::chrono::steady_clock::now();
    if (game.Buffers[4].Width > 0) ApplyPieceEffects(game, effects, nullptr);
    const auto t3 = std::chrono::steady_clock::now();
    const double c3 = CpuMs();

    // An output that cannot be written fails the run like a failed cut.
    if (!maskPath.empty() && game.Buffers[4].Width > 0 && !SavePngFile(game.Buffers[4], maskPath, &error)) {
        std::fprintf(stderr, "cut: cannot write %s: %s\n", maskPath.c_str(), error.c_str());
        ok = false;
    }
    if (!piecesPath.empty() && !WritePieces(game, piecesPath)) ok = false;

    std::printf("GameSeed = %d\nImageW = %d\nImageH = %d\nTileS = %d\nTilePX = %d\nTilePY = %d\n"
                "TotalTileNum = %d\ncut_ms = %.1f\neffects_ms = %.1f\ncut_cpu_ms = %.1f\neffects_cpu_ms = %.1f\n",
                h.GameSeed, h.ImageW, h.ImageH, h.TileS, h.TilePX, h.TilePY, h.TotalTileNum, Ms(t0, t1),
                Ms(t2, t3), c1 - c0, c3 - c2);
    return ok ? 0 : 1;
}

CommandRegistration cutCommand({"cut", kUsage,
                                "cuts a picture into pieces with the game's cutter; writes the mask and "
                                "the piece table",
                                RunCut});

}  // namespace
}  // namespace orvel::tool
