#include "library/PiecePreview.h"

#include <algorithm>
#include <vector>

namespace orvel {

namespace {

// The cell scaled to w x h, nearest pixel: a mask keeps its two values.
std::vector<uint8_t> ScaledCell(const TMyBitmap& strip, int shape, int w, int h) {
    std::vector<uint8_t> mask(static_cast<size_t>(w) * h, 0);
    const int cellX = shape * kShapeCellStep + 1;
    for (int y = 0; y < h; ++y) {
        const int sy = y * kShapeCellH / h;
        if (sy >= strip.Height) continue;
        for (int x = 0; x < w; ++x) {
            const int sx = cellX + x * kShapeCellW / w;
            if (sx >= strip.Width) continue;
            mask[static_cast<size_t>(y) * w + x] = PixelPtr(strip, sx, sy)[0] == 255 ? 1 : 0;
        }
    }
    return mask;
}

uint8_t Shift(uint8_t v, int by) { return static_cast<uint8_t>(std::clamp(v + by, 0, 255)); }

}  // namespace

void PreviewPieceSize(int tileS, int& w, int& h) {
    w = tileS * kShapeCellW / kShapeStripTile;
    h = tileS * kShapeCellH / kShapeStripTile;
    if (w > kShapeCellW || h > kShapeCellH) {
        w = kShapeCellW;
        h = kShapeCellH;
    }
    w = std::max(w, 1);
    h = std::max(h, 1);
}

TMyBitmap PiecePreview(const TMyBitmap& strip, int shape, int tileS, const TMyBitmap& background) {
    TMyBitmap out;
    if (!CopyFromBitmap(out, background) || strip.Width <= 0) return out;
    int w = 0, h = 0;
    PreviewPieceSize(tileS, w, h);
    const std::vector<uint8_t> mask = ScaledCell(strip, shape, w, h);
    auto in = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < w && y < h && mask[static_cast<size_t>(y) * w + x] != 0;
    };
    const int left = (out.Width - w) / 2, top = (out.Height - h) / 2;
    for (int y = 0; y < h; ++y) {
        if (top + y < 0 || top + y >= out.Height) continue;
        for (int x = 0; x < w; ++x) {
            if (!in(x, y) || left + x < 0 || left + x >= out.Width) continue;
            int by = 0;
            bool light = false, dark = false;
            for (int d = 1; d <= kBevelWidth; ++d) {
                light = light || !in(x - d, y) || !in(x, y - d);
                dark = dark || !in(x + d, y) || !in(x, y + d);
            }
            if (light) by += kBevel;
            if (dark) by -= kBevel;
            uint8_t* p = PixelPtr(out, left + x, top + y);
            for (int c = 0; c < 3; ++c) p[c] = Shift(p[c], by);
        }
    }
    return out;
}

TMyBitmap ShapeBackground(int w, int h) {
    TMyBitmap b;
    if (!Create24(b, w, h)) return b;
    for (int y = 0; y < h; ++y) {
        uint8_t* row = RowPtr(b, y);
        for (int x = 0; x < w; ++x) {
            // A faint grain, so the bevelled rims stay the strongest lines.
            const int grain = ((x * 7 + y / 5) % 5) - 2;
            row[3 * x + 0] = Shift(120, grain);
            row[3 * x + 1] = Shift(165, grain);
            row[3 * x + 2] = Shift(200, grain);
        }
    }
    return b;
}

}  // namespace orvel
