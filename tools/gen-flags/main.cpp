// Draws the 60 x 40 flag pictures shown beside each language in the options
// dialog: <name>.bmp, 24-bit, with magenta (0xFF00FF) where the list's
// background shows through (the rounded corners).
//
// Usage: gen-flags <output folder>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int kW = 60;
constexpr int kH = 40;
constexpr double kCornerRadius = 4.0;
constexpr int kSub = 4;  // samples per pixel and axis inside the flag

struct Rgb {
    double R, G, B;
};

constexpr Rgb Hex(uint32_t rgb) {
    return {double((rgb >> 16) & 0xFF), double((rgb >> 8) & 0xFF), double(rgb & 0xFF)};
}

using FlagFn = std::function<Rgb(double x, double y)>;  // x in 0..60, y in 0..40, y down

Rgb Germany(double, double y) {
    if (y < kH / 3.0) return Hex(0x000000);
    if (y < 2 * kH / 3.0) return Hex(0xDD0000);
    return Hex(0xFFCE00);
}

Rgb France(double x, double) {
    if (x < kW / 3.0) return Hex(0x0055A4);
    if (x < 2 * kW / 3.0) return Hex(0xFFFFFF);
    return Hex(0xEF4135);
}

Rgb Spain(double, double y) {
    // Red, yellow twice as high, red.
    return (y < kH / 4.0 || y >= 3 * kH / 4.0) ? Hex(0xAA151B) : Hex(0xF1BF00);
}

// The Union Flag, drawn to this picture's 3:2 shape. The red diagonals are
// counterchanged: each arm carries its red stripe on the side a quarter turn
// clockwise of the arm's outward direction.
Rgb UnitedKingdom(double x, double y) {
    const Rgb blue = Hex(0x012169);
    const Rgb red = Hex(0xC8102E);
    const Rgb white = Hex(0xFFFFFF);
    const double unit = kH / 30.0;  // the flag's design grid is 30 units high
    const double px = x - kW / 2.0;
    const double py = y - kH / 2.0;
    // St George's cross on top of everything.
    if (std::fabs(px) < 3 * unit || std::fabs(py) < 3 * unit) return red;
    if (std::fabs(px) < 5 * unit || std::fabs(py) < 5 * unit) return white;
    // The diagonal arm of this quadrant and its outward direction.
    const double ox = (px < 0 ? -kW : kW) / 2.0;
    const double oy = (py < 0 ? -kH : kH) / 2.0;
    const double len = std::hypot(ox, oy);
    const double nx = oy / len;  // a quarter turn clockwise on screen
    const double ny = -ox / len;
    const double s = px * nx + py * ny;  // signed distance from the arm's centre line
    if (s > 0 && s < 2 * unit) return red;
    if (std::fabs(s) < 3 * unit) return white;
    return blue;
}

bool InsideShape(double x, double y) {
    // A rectangle with rounded corners, tested at the pixel centre.
    const double cx = std::clamp(x, kCornerRadius, kW - kCornerRadius);
    const double cy = std::clamp(y, kCornerRadius, kH - kCornerRadius);
    return std::hypot(x - cx, y - cy) <= kCornerRadius;
}

std::vector<uint8_t> Render(const FlagFn& flag) {
    std::vector<uint8_t> bgr(size_t(kW) * kH * 3);
    for (int y = 0; y < kH; ++y) {
        for (int x = 0; x < kW; ++x) {
            uint8_t* p = &bgr[(size_t(y) * kW + x) * 3];
            if (!InsideShape(x + 0.5, y + 0.5)) {
                p[0] = 0xFF;  // magenta: blue and red full, green none
                p[1] = 0x00;
                p[2] = 0xFF;
                continue;
            }
            // Inner edges between the flag's colours are smoothed; the
            // outline against magenta stays hard so no pink fringe appears.
            Rgb sum{0, 0, 0};
            for (int sy = 0; sy < kSub; ++sy) {
                for (int sx = 0; sx < kSub; ++sx) {
                    const Rgb c = flag(x + (sx + 0.5) / kSub, y + (sy + 0.5) / kSub);
                    sum.R += c.R;
                    sum.G += c.G;
                    sum.B += c.B;
                }
            }
            constexpr double n = kSub * kSub;
            auto channel = [](double v) { return uint8_t(std::lround(std::clamp(v, 0.0, 255.0))); };
            p[0] = channel(sum.B / n);
            p[1] = channel(sum.G / n);
            p[2] = channel(sum.R / n);
            // Never magenta inside the flag, or that pixel would vanish.
            if (p[0] == 0xFF && p[1] == 0x00 && p[2] == 0xFF) p[1] = 0x01;
        }
    }
    return bgr;
}

void Put16(std::string& s, uint32_t v) {
    s += char(v & 0xFF);
    s += char((v >> 8) & 0xFF);
}
void Put32(std::string& s, uint32_t v) {
    Put16(s, v & 0xFFFF);
    Put16(s, v >> 16);
}

// A 24-bit BMP: rows bottom-up, each padded to a multiple of 4 bytes.
bool WriteBmp24(const std::filesystem::path& path, const std::vector<uint8_t>& topDownBgr) {
    const uint32_t rowBytes = (kW * 3 + 3) & ~3u;
    const uint32_t imageBytes = rowBytes * kH;
    std::string out;
    out += "BM";
    Put32(out, 54 + imageBytes);
    Put32(out, 0);
    Put32(out, 54);
    Put32(out, 40);
    Put32(out, kW);
    Put32(out, kH);
    Put16(out, 1);
    Put16(out, 24);
    Put32(out, 0);  // no compression
    Put32(out, imageBytes);
    Put32(out, 2835);  // 72 dpi
    Put32(out, 2835);
    Put32(out, 0);
    Put32(out, 0);
    for (int y = kH - 1; y >= 0; --y) {
        out.append(reinterpret_cast<const char*>(&topDownBgr[size_t(y) * kW * 3]), kW * 3);
        out.append(rowBytes - kW * 3, '\0');
    }
    const std::filesystem::path scratch = path.string() + ".tmp";
    {
        std::ofstream f(scratch, std::ios::binary | std::ios::trunc);
        f.write(out.data(), std::streamsize(out.size()));
        if (!f) return false;
    }
    std::error_code ec;
    std::filesystem::rename(scratch, path, ec);
    return !ec;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: gen-flags <output folder>\n");
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    const std::pair<const char*, FlagFn> flags[] = {
        {"english", UnitedKingdom}, {"german", Germany}, {"french", France}, {"spanish", Spain}};
    for (const auto& [name, fn] : flags) {
        const auto path = dir / (std::string(name) + ".bmp");
        if (!WriteBmp24(path, Render(fn))) {
            std::fprintf(stderr, "gen-flags: cannot write %s\n", path.string().c_str());
            return 1;
        }
    }
    return 0;
}
