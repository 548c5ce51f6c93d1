// gen-knobstrip OUT.bmp: draws the knob strip from the grid profiles and
// writes it as a 16-colour (4 bits per pixel) bitmap file.
#include <cstdint>
#include <cstdio>
#include <vector>

#include "cutter/KnobStrip.h"

namespace {

void Put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(v & 0xFF);
    out.push_back((v >> 8) & 0xFF);
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

}  // namespace

int main(int argc, char** argv) {
    using namespace orvel;
    if (argc != 2) {
        std::fprintf(stderr, "usage: gen-knobstrip OUT.bmp\n");
        return 2;
    }
    TMyBitmap strip;
    if (!DrawKnobStrip(strip)) {
        std::fprintf(stderr, "gen-knobstrip: cannot draw the strip\n");
        return 1;
    }
    const TColor* palette = KnobStripPalette();
    const int w = strip.Width, h = strip.Height;
    const uint32_t rowBytes = ((static_cast<uint32_t>(w) * 4 + 31) / 32) * 4;
    const uint32_t pixelOffset = 14 + 40 + 16 * 4;
    std::vector<uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    Put32(out, pixelOffset + rowBytes * h);
    Put32(out, 0);
    Put32(out, pixelOffset);
    Put32(out, 40);
    Put32(out, static_cast<uint32_t>(w));
    Put32(out, static_cast<uint32_t>(h));
    Put16(out, 1);
    Put16(out, 4);
    Put32(out, 0);
    Put32(out, rowBytes * h);
    Put32(out, 2835);
    Put32(out, 2835);
    Put32(out, 16);
    Put32(out, 16);
    for (int i = 0; i < 16; ++i) {
        const TColor c = palette[i];
        out.push_back(ColorB(c));
        out.push_back(ColorG(c));
        out.push_back(ColorR(c));
        out.push_back(0);
    }
    for (int y = h - 1; y >= 0; --y) {  // bottom-up rows
        std::vector<uint8_t> row(rowBytes, 0);
        for (int x = 0; x < w; ++x) {
            const TColor c = static_cast<TColor>(GetPixel(strip, x, y));
            int index = -1;
            for (int i = 0; i < 16; ++i)
                if (palette[i] == c) index = i;
            if (index < 0) {
                std::fprintf(stderr, "gen-knobstrip: colour %06X outside the palette\n", c);
                return 1;
            }
            row[x / 2] |= static_cast<uint8_t>(x % 2 == 0 ? index << 4 : index);
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    std::FILE* f = std::fopen(argv[1], "wb");
    if (!f || std::fwrite(out.data(), 1, out.size(), f) != out.size()) {
        std::fprintf(stderr, "gen-knobstrip: cannot write %s\n", argv[1]);
        if (f) std::fclose(f);
        return 1;
    }
    return std::fclose(f) == 0 ? 0 : 1;
}
