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
#include "app/DataFolder.h"
#include "cutter/CellCutter.h"
#include "cutter/KnobStrip.h"
#include "cutter/LevelTable.h"
#include "cutter/PieceEffects.h"
#include "cutter/Silhouettes.h"
#include "game/GameState.h"
#include "graphics/ImageCodecs.h"
#include "base/Result.h"

namespace orvel::tool {
namespace {

// A message the game would show in a box, on one line of standard error:
// the text with its places filled (a language key stands for itself here),
// then the detail.
void PrintMessage(const TError& message) { std::fprintf(stderr, "%s\n", PlainText(message).c_str()); }

// Every message of a result, in the order the game shows them; true when it succeeded.
bool Report(const Result& result) {
    for (const TError& note : result.Notes()) PrintMessage(note);
    if (!result.Ok()) PrintMessage(result.Error());
    return result.Ok();
}

// The generator is seeded from the clock when no seed is given.
uint32_t ClockSeed() {
    return static_cast<uint32_t>(
        std::chrono::high_resolution_clock::now().time_since_epoch().count());
}

// The program data folder is the executable's folder; its resources/ holds the knob strip.
std::string ResourcesDir() {
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ProgramDataDir((ec ? std::filesystem::path(".") : exe.parent_path()).string()) +
           "/resources";
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
    "[--wood W] [--mask OUT.png] [--pieces OUT.json] [--coverage]";

struct CutOptions {
    std::string image, maskPath, piecesPath;
    long long level = 0, shape = 0, border = 0, emboss = 1, wood = 2, seed = 0;
    bool haveSeed = false, rotate = false, coverage = false;
    int fitW = 0, fitH = 0;
};

// --fit WxH.
bool ParseFit(const std::string& v, CutOptions& o) {
    const size_t cross = v.find('x');
    long long fw = 0, fh = 0;
    const bool ok = cross != std::string::npos &&
                    ParseInt(v.substr(0, cross), 1, kMaxBitmapSide - 1, fw) &&
                    ParseInt(v.substr(cross + 1), 1, kMaxBitmapSide - 1, fh);
    o.fitW = static_cast<int>(fw);
    o.fitH = static_cast<int>(fh);
    if (!ok) std::fprintf(stderr, "cut: --fit wants WxH\n");
    return ok;
}

// Reads the arguments; 0 when they are usable, else the exit status (2) after
// naming the problem.
int ParseCutArgs(const std::vector<std::string>& args, CutOptions& o) {
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
        auto textOpt = [&](const char* name, std::string& out) {
            const std::string* v = value(name);
            if (v) out = *v;
            return v != nullptr;
        };
        bool ok = true;
        if (a == "--level")
            ok = intOpt("--level", 0, kLevelCount - 1, o.level);
        else if (a == "--shape")
            ok = intOpt("--shape", 0, 255, o.shape);
        else if (a == "--border")
            ok = intOpt("--border", 0, 1, o.border);
        else if (a == "--rotate")
            o.rotate = true;
        else if (a == "--coverage")
            o.coverage = true;
        else if (a == "--seed")
            ok = o.haveSeed = intOpt("--seed", INT32_MIN, UINT32_MAX, o.seed);
        else if (a == "--emboss")
            ok = intOpt("--emboss", 0, 3, o.emboss);
        else if (a == "--wood")
            ok = intOpt("--wood", 0, 2, o.wood);
        else if (a == "--mask")
            ok = textOpt("--mask", o.maskPath);
        else if (a == "--pieces")
            ok = textOpt("--pieces", o.piecesPath);
        else if (a == "--fit") {
            const std::string* v = value("--fit");
            ok = v && ParseFit(*v, o);
        } else if (!a.empty() && a[0] == '-') {
            std::fprintf(stderr, "cut: unknown option %s\nUsage: orvel-tool cut %s\n", a.c_str(), kUsage);
            return 2;
        } else if (o.image.empty()) {
            o.image = a;
        } else {
            std::fprintf(stderr, "cut: unexpected argument %s (one picture only)\nUsage: orvel-tool cut %s\n",
                         a.c_str(), kUsage);
            ok = false;
        }
        if (!ok) return 2;
    }
    if (o.image.empty()) {
        std::fprintf(stderr, "Usage: orvel-tool cut %s\n", kUsage);
        return 2;
    }
    return 0;
}

// The picture into buffer 0 as 24-bit, fitted into fitW x fitH as the game
// fits a picture to the screen (keeping its shape) when that is asked for.
bool LoadPicture(TGame& game, const CutOptions& o) {
    TMyBitmap& picture = game.Buffers[0];
    if (!Report(LoadImageFile(picture, o.image))) return false;
    if (picture.BytesPerPixel != 3) {
        TMyBitmap rgb;
        if (!CopyFromBitmap(rgb, picture)) return Report(FixedText("cut: out of memory"));
        picture = std::move(rgb);
    }
    GameHeader& h = game.Header;
    h.ImageW = h.FitW = picture.Width;
    h.ImageH = h.FitH = picture.Height;
    if (o.fitW <= 0 || (h.ImageW <= o.fitW && h.ImageH <= o.fitH)) return true;
    if (static_cast<double>(o.fitW) / o.fitH > static_cast<double>(h.ImageW) / h.ImageH) {
        h.FitW = static_cast<int>(static_cast<int64_t>(o.fitH) * h.ImageW / h.ImageH);
        h.FitH = o.fitH;
    } else {
        h.FitW = o.fitW;
        h.FitH = static_cast<int>(static_cast<int64_t>(o.fitW) * h.ImageH / h.ImageW);
    }
    h.FitW = std::max(h.FitW, 1);
    h.FitH = std::max(h.FitH, 1);
    TMyBitmap scaled;
    if (!Create24(scaled, h.FitW, h.FitH)) return Report(FixedText("cut: out of memory"));
    ScaleInto(scaled, picture);
    picture = std::move(scaled);
    h.ImageW = h.FitW;
    h.ImageH = h.FitH;
    h.FitToScreen = 1;
    return true;
}

// The header for the chosen level, as the browser fills it.
bool SetUpHeader(TGame& game, const CutOptions& o) {
    GameHeader& h = game.Header;
    h.ShapeStyle = static_cast<uint8_t>(o.shape);
    h.BorderStyle = static_cast<uint8_t>(o.border);
    h.Rotate = o.rotate ? 1 : 0;
    LevelTable table;
    BuildLevelTable(table, h.ImageW, h.ImageH, h.ShapeStyle, h.BorderStyle);
    if (!FillHeaderFromLevel(h, table, static_cast<int>(o.level), h.ImageW, h.ImageH,
                             h.BorderStyle)) {
        std::fprintf(stderr, "cut: level %lld gives %d pieces, more than %d\n", o.level,
                     h.TotalTileNum, kMaxPlayablePieces);
        return false;
    }
    game.Random.Seed = o.haveSeed ? static_cast<uint32_t>(o.seed) : ClockSeed();
    h.GameSeed = static_cast<int32_t>(game.Random.Seed);
    game.Pieces.assign(h.TotalTileNum + 1, TPiece{});
    return true;
}

// The cutter the game would run; its messages go to standard error.
bool Cut(TGame& game) {
    CutEnvironment env;
    // Shape style 3 takes its silhouettes from the shape file in the program data folder.
    Silhouettes silhouettes(std::filesystem::path(ResourcesDir()).parent_path().string() +
                            "/pic_orvel.dat");
    if (game.Header.ShapeStyle == 3) env.pictures = &silhouettes;
    if (game.Header.ShapeStyle < 4) return Report(CutPieces(game, env));
    TMyBitmap strip;
    if (!Report(LoadKnobStrip(strip, ResourcesDir()))) return false;
    return Report(CutGrid(game, env, strip));
}

// How the pieces draw the picture: a piece draws the pixels of its box that
// carry its MaskCode. Undrawn pixels are holes in the finished picture;
// overdrawn ones are drawn by more than one piece.
struct Coverage {
    long long undrawn = 0, overdrawn = 0;
};

Coverage MeasureCoverage(const TGame& game) {
    const GameHeader& h = game.Header;
    const TMyBitmap& mask = game.Buffers[4];
    Coverage c;
    if (mask.Width < h.ImageW || mask.Height < h.ImageH) return c;
    std::vector<uint8_t> drawn(static_cast<size_t>(h.ImageW) * h.ImageH, 0);
    for (int i = 0; i < h.TotalTileNum; ++i) {
        const TPiece& p = game.Pieces[i];
        const int x0 = std::max(p.boxX, 0), x1 = std::min(p.boxX + p.boxW, h.ImageW);
        const int y0 = std::max(p.boxY, 0), y1 = std::min(p.boxY + p.boxH, h.ImageH);
        for (int y = y0; y < y1; ++y) {
            const uint8_t* row = RowPtr(mask, y);
            for (int x = x0; x < x1; ++x) {
                uint8_t& d = drawn[static_cast<size_t>(y) * h.ImageW + x];
                if (row[3 * x] == p.MaskCode && d < 2) ++d;
            }
        }
    }
    for (uint8_t d : drawn) {
        c.undrawn += d == 0;
        c.overdrawn += d > 1;
    }
    return c;
}

// The picture and the mask in their other three quarter turns.
bool RotateBuffers(TGame& game) {
    for (int r = 1; r < 4; ++r) {
        if (!RotateRight(game.Buffers[r], game.Buffers[r - 1]) ||
            !RotateRightWithMargin(game.Buffers[4 + r], game.Buffers[4 + r - 1], 5))
            return Report(FixedText("cut: out of memory"));
    }
    return true;
}

void ApplyEffects(TGame& game, const CutOptions& o) {
    game.Pieces.resize(std::max(game.Header.TotalTileNum, 0));
    for (auto& p : game.Pieces) p.group = static_cast<int32_t>(&p - game.Pieces.data());
    EffectSettings effects;
    effects.EmbossStyle = static_cast<int>(o.emboss);
    effects.WoodStyle = static_cast<int>(o.wood);
    if (game.Buffers[4].Width > 0) ApplyPieceEffects(game, effects, nullptr);
}

// An output that cannot be written fails the run like a failed cut.
bool WriteOutputs(const TGame& game, const CutOptions& o) {
    bool ok = true;
    if (!o.maskPath.empty() && game.Buffers[4].Width > 0) {
        const Result saved = SavePngFile(game.Buffers[4], o.maskPath);
        if (!saved) {
            std::fprintf(stderr, "cut: cannot write %s: %s\n", o.maskPath.c_str(),
                         saved.Error().Detail.c_str());
            ok = false;
        }
    }
    if (!o.piecesPath.empty() && !WritePieces(game, o.piecesPath)) ok = false;
    return ok;
}

int RunCut(const std::vector<std::string>& args) {
    CutOptions o;
    if (const int status = ParseCutArgs(args, o)) return status;
    TGame game;
    if (!LoadPicture(game, o) || !SetUpHeader(game, o)) return 1;
    const double c0 = CpuMs();
    const auto t0 = std::chrono::steady_clock::now();
    bool ok = Cut(game);
    const auto t1 = std::chrono::steady_clock::now();
    const double c1 = CpuMs();
    if (o.coverage) {
        const Coverage cov = MeasureCoverage(game);
        std::printf("undrawn_pixels = %lld\noverdrawn_pixels = %lld\n", cov.undrawn, cov.overdrawn);
    }
    if (o.rotate && game.Buffers[4].Width > 0 && !RotateBuffers(game)) ok = false;
    const double c2 = CpuMs();
    const auto t2 = std::chrono::steady_clock::now();
    ApplyEffects(game, o);
    const auto t3 = std::chrono::steady_clock::now();
    const double c3 = CpuMs();
    if (!WriteOutputs(game, o)) ok = false;
    const GameHeader& h = game.Header;
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
