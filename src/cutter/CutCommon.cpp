#include "cutter/CutCommon.h"

#include <string>
#include <utility>

#include "cutter/MaskAccess.h"

namespace orvel {

uint8_t MaskCodeFor(int row, int col) {
    static const uint8_t codes[3][3] = {{25, 150, 75}, {200, 125, 50}, {175, 100, 225}};
    return codes[row % 3][col % 3];
}

uint8_t JoinBitFor(int row, int col) {
    static const uint8_t bits[2][3] = {{1, 2, 4}, {8, 16, 32}};
    return bits[row % 2][col % 3];
}

void LayGridCells(TGame& game) {
    GameHeader& h = game.Header;
    const int m = h.BorderStyle == 1 ? 20 : 0;
    h.JigsL = m;
    h.JigsT = m;
    h.JigsR = h.ImageW - m - 1;
    h.JigsB = h.ImageH - m - 1;
    const int freeW = h.ImageW - h.TilePX * h.TileS - 2 * m;
    const int freeH = h.ImageH - h.TilePY * h.TileS - 2 * m;
    const int baseW = h.TileS + freeW / h.TilePX, extraW = freeW % h.TilePX;
    const int baseH = h.TileS + freeH / h.TilePY, extraH = freeH % h.TilePY;
    int y = h.JigsT;
    for (int row = 0; row < h.TilePY; ++row) {
        const int cellH = baseH + (row < extraH ? 1 : 0);
        int x = h.JigsL;
        for (int col = 0; col < h.TilePX; ++col) {
            const int cellW = baseW + (col < extraW ? 1 : 0);
            TPiece& p = game.Pieces[row * h.TilePX + col];
            p.cellX = x;
            p.cellY = y;
            p.cellW = cellW;
            p.cellH = cellH;
            p.boxX = x;
            p.boxY = y;
            p.boxW = cellW;
            p.boxH = cellH;
            if (col > 0) {
                p.boxX -= h.KnobDepth;
                p.boxW += h.KnobDepth;
            }
            if (col < h.TilePX - 1) p.boxW += h.KnobDepth;
            if (row > 0) {
                p.boxY -= h.KnobDepth;
                p.boxH += h.KnobDepth;
            }
            if (row < h.TilePY - 1) p.boxH += h.KnobDepth;
            for (auto& n : p.neighbours) n = -1;
            p.isPicture = 0;
            p.MaskCode = MaskCodeFor(row, col);
            p.JoinBit = JoinBitFor(row, col);
            x += cellW;
        }
        y += cellH;
    }
}

namespace cutcommon {

bool HeaderUsable(const GameHeader& h) {
    if (h.ImageW < 1 || h.ImageH < 1 || h.ImageW > kMaxBitmapSide - 5 || h.ImageH > kMaxBitmapSide - 5)
        return false;
    if (h.TileS < 1 || h.TilePX < 1 || h.TilePY < 1) return false;
    if (static_cast<int64_t>(h.TilePX) * h.TilePY > 30000) return false;
    // Both cutters walk the grid over a table of TileNum records.
    if (h.TileNum != h.TilePX * h.TilePY) return false;
    const int m = h.BorderStyle == 1 ? 20 : 0;
    // The cells must fit the area (no negative share of the free width).
    if (h.ImageW - 2 * m < static_cast<int64_t>(h.TilePX) * h.TileS) return false;
    if (h.ImageH - 2 * m < static_cast<int64_t>(h.TilePY) * h.TileS) return false;
    return true;
}

bool CreateWorkMask(TMyBitmap& work, int imageW, int imageH) {
    if (!Create24(work, imageW + 5, imageH + 5)) return false;
    ClearWorkMask(work, imageW, imageH);
    return true;
}

void ClearWorkMask(TMyBitmap& work, int imageW, int imageH) {
    FillBox(work, 0, 0, work.Width, work.Height, 0);
    FillBox(work, 0, 0, imageW, imageH, kWhite);
}

void IncludeInBox(TPiece& p, int left, int top, int right, int bottom) {
    const int r = Max(p.boxX + p.boxW - 1, right), b = Max(p.boxY + p.boxH - 1, bottom);
    p.boxX = Min(p.boxX, left);
    p.boxY = Min(p.boxY, top);
    p.boxW = r - p.boxX + 1;
    p.boxH = b - p.boxY + 1;
}

void FillHoles(TMyBitmap& work, int imageW, int imageH, int x0, int y0, int x1, int y1, TColor color,
               bool& found, int& left, int& top, int& right, int& bottom, KnobRect* painted) {
    found = false;
    left = top = 1 << 30;
    right = bottom = -(1 << 30);
    const int sx0 = Max(x0, 0), sy0 = Max(y0, 0);
    const int sx1 = Min(x1, imageW - 1), sy1 = Min(y1, imageH - 1);
    for (int y = sy0; y <= sy1; ++y) {
        for (int x = sx0; x <= sx1; ++x) {
            const TColor c = MaskGet(work, x, y);
            if (c == color) {
                found = true;
                if (x < left) left = x;
                if (x > right) right = x;
                if (y < top) top = y;
                if (y > bottom) bottom = y;
                continue;
            }
            // A white pixel on the rectangle's edge counts as well: pinched
            // between a piece and the edge of the picture or of the jigsaw
            // area, it is in no other piece's scan. Beyond the right and
            // bottom edges of the picture lie the black strips.
            if (c != kWhite) continue;
            const int same = (x > 0 && MaskGet(work, x - 1, y) == color) +
                             (MaskGet(work, x + 1, y) == color) +
                             (y > 0 && MaskGet(work, x, y - 1) == color) +
                             (MaskGet(work, x, y + 1) == color);
            if (same == 0) continue;
            // The flood may run beyond the scanned rectangle.
            TMyRect filled{x, y, x, y};
            if (same == 4)
                MaskSet(work, x, y, color);
            else
                FloodFill(work, x, y, filled, true, color);
            found = true;
            left = Min(left, filled.Left);
            right = Max(right, filled.Right);
            top = Min(top, filled.Top);
            bottom = Max(bottom, filled.Bottom);
            if (painted) {
                painted->Include(filled.Left, filled.Top);
                painted->Include(filled.Right, filled.Bottom);
            }
        }
    }
}

void AppendFramePiece(TGame& game) {
    GameHeader& h = game.Header;
    const int index = h.TileNum;
    if (static_cast<int>(game.Pieces.size()) < index + 1) game.Pieces.resize(index + 1);
    TPiece& p = game.Pieces[index];
    p = TPiece{};
    p.boxX = 0;
    p.boxY = 0;
    p.boxW = h.ImageW;
    p.boxH = h.ImageH;
    p.MaskCode = 5;
    p.JoinBit = 128;
    h.TotalTileNum = h.TileNum + 1;
}

TError PaintErrorLine(int index, int x, int y) {
    return FixedText(kPaintErrorLine,
                     {std::to_string(index), std::to_string(x), std::to_string(y)});
}

TError PaintError() {
    return TError{kPaintErrorKey, {}, {}, MsgSection::MainForm};
}

Result CutOutcome(std::vector<TError> messages, bool failed) {
    Result outcome;
    if (failed && messages.empty()) messages.push_back(FixedText(kNotCutProperly));
    if (failed) {
        outcome = Result(std::move(messages.back()));
        messages.pop_back();
    }
    for (TError& note : messages) outcome.AddNote(std::move(note));
    return outcome;
}

}  // namespace cutcommon
}  // namespace orvel
