// gen-shapemasks OUT.bmp RESOURCES_DIR SHAPE_FILE
// Cuts a small picture with every shape style and copies one inner piece of
// each into a cell of the strip: piece pixels 255, the rest 0.
#include <algorithm>
#include <cstdio>
#include <string>

#include "cutter/CellCutter.h"
#include "cutter/KnobStrip.h"
#include "cutter/LevelTable.h"
#include "cutter/Silhouettes.h"
#include "game/GameState.h"
#include "graphics/ImageCodecs.h"
#include "library/PiecePreview.h"

namespace {

using namespace orvel;

constexpr int kGrid = 5;  // pieces each way; the sample comes from inside
constexpr uint32_t kSeed = 20241230;

bool Fail(const std::string& what) {
    std::fprintf(stderr, "gen-shapemasks: %s\n", what.c_str());
    return false;
}

void SetUpGame(TGame& game, int shape) {
    const int side = kGrid * kShapeStripTile;
    GameHeader& h = game.Header;
    h.ImageW = h.FitW = side;
    h.ImageH = h.FitH = side;
    h.ShapeStyle = static_cast<uint8_t>(shape);
    const LevelRecord r = ComputeLevelRecord(kShapeStripTile, side, side, shape, 0);
    h.MaskS = r.MaskS;
    h.TileS = r.TileS;
    h.KnobDepth = r.KnobDepth;
    h.SnapBase = std::max(r.KnobDepth / 2, 4);
    h.TilePX = r.TilePX;
    h.TilePY = r.TilePY;
    h.TileNum = h.TotalTileNum = r.TileNum;
    game.Random.Seed = kSeed;
    h.GameSeed = static_cast<int32_t>(kSeed);
    game.Pieces.assign(h.TotalTileNum + 1, TPiece{});
    (void)Create24(game.Buffers[0], side, side);
}

bool Cut(TGame& game, const std::string& resources, const std::string& shapeFile) {
    CutEnvironment env;
    Silhouettes silhouettes(shapeFile);
    if (game.Header.ShapeStyle == 3) env.pictures = &silhouettes;
    Result r = Result::Success();
    if (game.Header.ShapeStyle < 4) {
        r = CutPieces(game, env);
    } else {
        TMyBitmap strip;
        r = LoadKnobStrip(strip, resources);
        if (r) r = CutGrid(game, env, strip);
    }
    return r.Ok() || Fail(PlainText(r.Error()));
}

// The piece shown: the middle one, or for the style with figures the first
// figure inside the grid.
int SamplePiece(const TGame& game) {
    const int middle = (kGrid / 2) * kGrid + kGrid / 2;
    if (game.Header.ShapeStyle != 3) return middle;
    for (int i = 0; i < game.Header.TileNum; ++i) {
        const int row = i / kGrid, col = i % kGrid;
        if (game.Pieces[i].isPicture && row > 0 && col > 0 && row < kGrid - 1 && col < kGrid - 1)
            return i;
    }
    return middle;
}

// The piece's pixels, shrunk only when its box is larger than a cell, centred in cell shape.
void CopyPiece(const TGame& game, int index, TMyBitmap& strip, int shape) {
    const TPiece& p = game.Pieces[index];
    const TMyBitmap& mask = game.Buffers[4];
    const TColor colour = PieceColor(p.MaskCode);
    const double scale = std::min({1.0, double(kShapeCellW) / p.boxW, double(kShapeCellH) / p.boxH});
    const int w = static_cast<int>(p.boxW * scale), h = static_cast<int>(p.boxH * scale);
    const int left = shape * kShapeCellStep + 1 + (kShapeCellW - w) / 2;
    const int top = (kShapeCellH - h) / 2;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int sx = p.boxX + static_cast<int>(x / scale);
            const int sy = p.boxY + static_cast<int>(y / scale);
            if (GetPixel(mask, sx, sy) == static_cast<int32_t>(colour))
                SetPixel(strip, left + x, top + y, 0xFFFFFF);
        }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "Usage: gen-shapemasks OUT.bmp RESOURCES_DIR SHAPE_FILE\n");
        return 2;
    }
    TMyBitmap strip;
    if (!Create24(strip, kShapeStripW, kShapeStripH)) return Fail("out of memory") ? 0 : 1;
    FillBox(strip, 0, 0, kShapeStripW, kShapeStripH, 0);
    for (int shape = 0; shape < 7; ++shape) {
        TGame game;
        SetUpGame(game, shape);
        if (!Cut(game, argv[2], argv[3])) return 1;
        CopyPiece(game, SamplePiece(game), strip, shape);
    }
    const Result saved = SaveBmp24File(strip, argv[1]);
    if (!saved) return Fail(PlainText(saved.Error())) ? 0 : 1;
    return 0;
}
