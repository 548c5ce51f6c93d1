#include "play/SolvedImage.h"

#include "base/Text.h"
#include "game/GameModel.h"
#include "platform/Platform.h"

namespace orvel {

namespace {

constexpr TColor kStripColor = 0xFFFFFF;
constexpr TColor kTextColor = 0x000000;
constexpr TColor kBorderNoteColor = 0x808000;
constexpr TColor kRotationNoteColor = 0xFF0000;
constexpr int kStripPointSize = 10;

bool IsBlank(const std::string& line) {
    return line.find_first_not_of(" \t\r\f\v") == std::string::npos;
}

// A window whose client is the picture's place in out, scrolled so that
// the piece lands on its own place in the picture (srcX + 1, srcY + 1).
TMyWin PictureWindow(const GameHeader& h, const TPiece& p) {
    TMyWin win;
    SetPosSize(win.Client, 1, 1, h.ImageW, h.ImageH);
    win.Outer = win.Client;
    win.ScrollX = p.posX - p.srcX;
    win.ScrollY = p.posY - p.srcY;
    return win;
}

void DrawPicture(TMyBitmap& out, const TGame& game, const TPieceLook& look) {
    TMyRect clip;
    SetPosSize(clip, 1, 1, game.Header.ImageW, game.Header.ImageH);
    const int n = PiecesInPlay(game);
    for (int i = 0; i < n; ++i)
        DrawPiece(out, clip, PictureWindow(game.Header, game.Pieces[i]), game, i, look);
}

// Writes text at x in the strip row starting at top; returns where it ends.
int WritePart(TMyBitmap& out, Platform& platform, int x, int top, const std::string& text,
              TColor color, bool bold) {
    TextStyle style;
    style.PointSize = kStripPointSize;
    style.Bold = bold;
    style.Color = color;
    const TextExtent e = platform.MeasureText(text, style);
    platform.RenderText(out, TRect{x, top, out.Width - 2, top + kSolvedStripH - 4}, text, style);
    return x + e.Width;
}

void WriteAssembly(TMyBitmap& out, const GameHeader& h, const std::string& date,
                   Platform& platform) {
    const int top = h.ImageH + 31;
    int x = kSolvedTextLeft;
    x = WritePart(out, platform, x, top, "Assembled from  ", kTextColor, false);
    x = WritePart(out, platform, x, top, std::to_string(h.TotalTileNum), kTextColor, true);
    x = WritePart(out, platform, x, top, "  pieces", kTextColor, false);
    if (h.BorderStyle != 0)
        x = WritePart(out, platform, x, top, "  with border", kBorderNoteColor, false);
    if (h.Rotate) WritePart(out, platform, x, top, "  with rotation", kRotationNoteColor, false);
    TextStyle style;
    style.PointSize = kStripPointSize;
    const int dateW = platform.MeasureText(date, style).Width;
    WritePart(out, platform, out.Width - kSolvedTextLeft - dateW, top, date, kTextColor, false);
}

}  // namespace

void CentreSolvedPicture(TGame& game, int playW, int playH) {
    const int n = PiecesInPlay(game);
    if (n == 0) return;
    // Piece 0's box lies boxX, boxY into the picture (past the frame, say);
    // the picture's own corner is what gets centred.
    const TPiece& first = game.Pieces[0];
    const int dx = (playW - game.Header.ImageW) / 2 - (first.posX - first.boxX);
    const int dy = (playH - game.Header.ImageH) / 2 - (first.posY - first.boxY);
    for (int i = 0; i < n; ++i) {
        game.Pieces[i].posX += dx;
        game.Pieces[i].posY += dy;
    }
}

std::string SolvedDescriptionText(const std::string& description) {
    std::string text;
    size_t start = 0;
    while (start <= description.size()) {
        size_t end = description.find('\n', start);
        if (end == std::string::npos) end = description.size();
        std::string line = description.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!IsBlank(line)) text += line + "   ";
        start = end + 1;
    }
    return text.empty() ? "Unknown image" : text;
}

bool BuildSolvedImage(TMyBitmap& out, const TGame& game, const TPieceLook& look,
                      const std::string& description, const std::string& date,
                      Platform& platform) {
    const GameHeader& h = game.Header;
    const int w = h.ImageW + 2, height = h.ImageH + kSolvedExtraH;
    if (h.ImageW <= 0 || h.ImageH <= 0 || !Create24(out, w, height)) return false;
    FillBox(out, 0, 0, w, height, 0x000000);
    DrawPicture(out, game, look);
    FillBox(out, 1, h.ImageH + 2, h.ImageW, kSolvedStripH, kStripColor);
    FillBox(out, 1, h.ImageH + 27, h.ImageW, kSolvedStripH, kStripColor);
    WritePart(out, platform, kSolvedTextLeft, h.ImageH + 6, SolvedDescriptionText(description),
              kTextColor, false);
    WriteAssembly(out, h, date, platform);
    return true;
}

}  // namespace orvel
