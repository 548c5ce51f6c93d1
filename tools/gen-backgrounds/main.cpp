// Draws the eight background pictures of the play windows and their buttons
// in the colour picker: <name>-1600.jpg (a kTileWidth × kTileHeight tile,
// seamless when repeated) and <name>-but.jpg (kButtonWidth × kButtonHeight).
// With --sheet, also writes a contact sheet: each tile repeated 2 × 2 at a
// fifth of its size, the meeting point of four tiles at full size, and the
// buttons at full and double size, on the program's default grey.
//
// Usage: gen-backgrounds <output folder> [--sheet <file.png>]

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "Backgrounds.h"
#include "Noise.h"
#include "graphics/Bitmap.h"
#include "graphics/ImageCodecs.h"

namespace orvel {

namespace {

// The colour picker shows the eight buttons in a 544 × 62 row: cells of
// 68 × 62, each button with a 2-pixel margin for the selection mark.
constexpr int kButtonCellWidth = 68;
constexpr int kButtonCellHeight = 62;
constexpr int kButtonMargin = 2;
constexpr int kButtonWidth = kButtonCellWidth - 2 * kButtonMargin;
constexpr int kButtonHeight = kButtonCellHeight - 2 * kButtonMargin;
constexpr int kButtonShrink = 4;  // tile pixels per button pixel
constexpr int kButtonCropX = 400;
constexpr int kButtonCropY = 300;
constexpr int kJpegQuality = 90;

struct Background {
    const char* Name;
    Picture (*Draw)();
};

constexpr Background kBackgrounds[] = {
    {"parquet", DrawParquet}, {"stucco1", DrawStucco1}, {"stucco4", DrawStucco4},
    {"wood1", DrawWood1},     {"wood2", DrawWood2},     {"wood3", DrawWood3},
    {"wood4", DrawWood4},     {"wood5", DrawWood5},
};

// Box-filtered reduction of the part of src at (x0, y0), wrapping around, to
// width × height pixels of factor × factor source pixels each.
Picture Shrink(const Picture& src, int x0, int y0, int width, int height, int factor) {
    Picture out(width, height);
    const float norm = 1.0f / float(factor * factor);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            Rgb sum;
            for (int j = 0; j < factor; ++j)
                for (int i = 0; i < factor; ++i)
                    sum = sum + src.At((x0 + x * factor + i) % src.Width,
                                       (y0 + y * factor + j) % src.Height);
            out.At(x, y) = sum * norm;
        }
    }
    return out;
}

// Rounds to 8 bits with a faint deterministic dither, so smooth shading does
// not turn into bands.
TMyBitmap ToBitmap(const Picture& pic) {
    TMyBitmap bmp;
    if (!Create24(bmp, pic.Width, pic.Height)) return bmp;  // empty: saving it fails and says so
    for (int y = 0; y < pic.Height; ++y) {
        uint8_t* p = RowPtr(bmp, y);
        for (int x = 0; x < pic.Width; ++x) {
            const Rgb& c = pic.At(x, y);
            const float dither = HashUnit(uint32_t(x), uint32_t(y), 77) - 0.5f;
            auto channel = [dither](float v) {
                return uint8_t(std::clamp(std::lround(v + dither), 0L, 255L));
            };
            *p++ = channel(c.B);
            *p++ = channel(c.G);
            *p++ = channel(c.R);
        }
    }
    return bmp;
}

bool WriteFile(const std::filesystem::path& path, const std::vector<uint8_t>& data) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
    return bool(out);
}

bool WriteJpeg(const Picture& pic, const std::filesystem::path& path) {
    std::vector<uint8_t> data;
    const Result encoded = SaveJpeg(ToBitmap(pic), data, kJpegQuality);
    if (!encoded || !WriteFile(path, data)) {
        const std::string error = encoded ? "" : PlainText(encoded.Error());
        std::fprintf(stderr, "gen-backgrounds: cannot write %s %s\n", path.c_str(), error.c_str());
        return false;
    }
    return true;
}

void Paste(Picture& dst, const Picture& src, int x0, int y0) {
    for (int y = 0; y < src.Height; ++y)
        for (int x = 0; x < src.Width; ++x) dst.At(x0 + x, y0 + y) = src.At(x, y);
}

// The 2 × 2 repeat at a fifth of the size, then the point where four tiles
// meet at full size.
constexpr int kSheetShrink = 5;
constexpr int kSeamView = 400;
constexpr int kGap = 12;
constexpr int kSheetCellW = 2 * kTileWidth / kSheetShrink + kGap + kSeamView;
constexpr int kSheetCellH = std::max(2 * kTileHeight / kSheetShrink, kSeamView);

void PasteSheetCell(Picture& sheet, const Picture& tile, int x0, int y0) {
    const Picture small =
        Shrink(tile, 0, 0, kTileWidth / kSheetShrink, kTileHeight / kSheetShrink, kSheetShrink);
    for (int j = 0; j < 2; ++j)
        for (int i = 0; i < 2; ++i)
            Paste(sheet, small, x0 + i * small.Width, y0 + j * small.Height);
    const Picture corner = Shrink(tile, kTileWidth - kSeamView / 2, kTileHeight - kSeamView / 2,
                                  kSeamView, kSeamView, 1);
    Paste(sheet, corner, x0 + 2 * small.Width + kGap, y0);
}

Picture Enlarge(const Picture& src, int factor) {
    Picture out(src.Width * factor, src.Height * factor);
    for (int y = 0; y < out.Height; ++y)
        for (int x = 0; x < out.Width; ++x) out.At(x, y) = src.At(x / factor, y / factor);
    return out;
}

// The buttons side by side as the colour picker's row shows them.
Picture ButtonRow(const std::vector<Picture>& buttons, Rgb background) {
    Picture row(kButtonCellWidth * int(buttons.size()), kButtonCellHeight);
    std::fill(row.Pixels.begin(), row.Pixels.end(), background);
    for (size_t i = 0; i < buttons.size(); ++i)
        Paste(row, buttons[i], int(i) * kButtonCellWidth + kButtonMargin, kButtonMargin);
    return row;
}

// The tiles two to a line, then the button row at full and at double size.
bool WriteSheet(const std::vector<Picture>& tiles, const std::vector<Picture>& buttons,
                const std::string& path) {
    const Rgb grey = Hex(0x989898);  // the program's default window background
    const Picture row = ButtonRow(buttons, grey);
    const int buttonTop = kGap + int(tiles.size() + 1) / 2 * (kSheetCellH + kGap);
    Picture sheet(2 * kSheetCellW + 3 * kGap, buttonTop + 2 * row.Height + kGap);
    std::fill(sheet.Pixels.begin(), sheet.Pixels.end(), grey);
    for (size_t i = 0; i < tiles.size(); ++i)
        PasteSheetCell(sheet, tiles[i], kGap + int(i % 2) * (kSheetCellW + kGap),
                       kGap + int(i / 2) * (kSheetCellH + kGap));
    Paste(sheet, row, kGap, buttonTop);
    Paste(sheet, Enlarge(row, 2), 2 * kGap + row.Width, buttonTop);
    if (const Result saved = SavePngFile(ToBitmap(sheet), path); !saved) {
        std::fprintf(stderr, "gen-backgrounds: cannot write %s\n", PlainText(saved.Error()).c_str());
        return false;
    }
    return true;
}

}  // namespace

}  // namespace orvel

int main(int argc, char** argv) {
    using namespace orvel;
    if (argc != 2 && !(argc == 4 && std::string(argv[2]) == "--sheet")) {
        std::fprintf(stderr, "usage: gen-backgrounds <output folder> [--sheet <file.png>]\n");
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    std::vector<Picture> tiles, buttons;
    for (const Background& bkg : kBackgrounds) {
        Picture tile = bkg.Draw();
        Picture button =
            Shrink(tile, kButtonCropX, kButtonCropY, kButtonWidth, kButtonHeight, kButtonShrink);
        if (!WriteJpeg(tile, dir / (std::string(bkg.Name) + "-1600.jpg")) ||
            !WriteJpeg(button, dir / (std::string(bkg.Name) + "-but.jpg")))
            return 1;
        tiles.push_back(std::move(tile));
        buttons.push_back(std::move(button));
    }
    if (argc == 4 && !WriteSheet(tiles, buttons, argv[3])) return 1;
    return 0;
}
