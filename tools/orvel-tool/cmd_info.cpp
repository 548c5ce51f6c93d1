// orvel-tool info: reads a jigsaw file or a saved game as the game does and
// prints what it holds; a file the game would refuse is named with the reason.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "Command.h"
#include "base/Text.h"
#include "game/JigsawFile.h"
#include "game/SavedGameFile.h"

namespace orvel::tool {
namespace {

const char* KindText(StoredKind kind) {
    switch (kind) {
        case StoredKind::Jpeg:
            return "JPEG";
        case StoredKind::Bitmap:
            return "bitmap";
        default:
            return "none";
    }
}

// One value per line: line breaks and backslashes are written as \n, \r, \\.
std::string OneLine(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else if (c == '\\')
            out += "\\\\";
        else
            out += c;
    }
    return out;
}

int Refuse(const std::string& path, const TError& error) {
    std::fprintf(stderr, "info: %s: %s: %s\n", path.c_str(), error.Key.c_str(),
                 error.Detail.c_str());
    return 1;
}

int CountVisiblePockets(const TSaveState& state) {
    int n = 0;
    for (const TSavedPocket& p : state.Pockets) n += p.Visible ? 1 : 0;
    return n;
}

void PrintHeader(const GameHeader& h) {
    std::printf(
        "MaskS = %d\nTileS = %d\nTilePX = %d\nTilePY = %d\nTileNum = %d\nPicNum = %d\n"
        "TotalTileNum = %d\nImageW = %d\nImageH = %d\nFitW = %d\nFitH = %d\nLevel = %d\n"
        "Rotate = %d\nBorderStyle = %d\nShapeStyle = %d\nSpreadOut = %d\nFitToScreen = %d\n"
        "NameCode = %d\nEntryOffset = %d\n",
        h.MaskS, h.TileS, h.TilePX, h.TilePY, h.TileNum, h.PicNum, h.TotalTileNum, h.ImageW,
        h.ImageH, h.FitW, h.FitH, h.Level, h.Rotate, h.BorderStyle, h.ShapeStyle, h.SpreadOut,
        h.FitToScreen, h.NameCode, h.EntryOffsets[1]);
}

// A saved game: its fixed fields and header, then what resuming reads.
int SavedGameInfo(const std::string& path) {
    ResultOf<TSavedGameData> read = ReadSavedGame(path, SaveReadMode::Browse);
    if (!read) return Refuse(path, read.Error());
    const TSavedGameData& d = read.Value();
    std::printf("Name = %s\nGameSeed = %d\nStateOffset = %d\n", OneLine(d.Name).c_str(),
                d.GameSeed, d.StateOffset);
    PrintHeader(d.Header);
    std::printf("ThumbKind = %s\nThumbW = %d\nThumbH = %d\n", KindText(d.ThumbKind), d.Thumb.Width,
                d.Thumb.Height);
    ResultOf<TSavedGameData> full = ReadSavedGame(path, SaveReadMode::Resume);
    if (!full) return Refuse(path, full.Error());
    const TSavedGameData& f = full.Value();
    std::printf("Description = %s\nMaskW = %d\nMaskH = %d\nPieces = %zu\nVisiblePockets = %d\n"
                "Trailer = %d\nWeightPiece = %d\n",
                OneLine(f.Description).c_str(), f.Mask.Width, f.Mask.Height, f.State.Pieces.size(),
                CountVisiblePockets(f.State), f.State.HasTrailer ? 1 : 0, f.State.WeightPiece);
    return 0;
}

int RunInfo(const std::vector<std::string>& args) {
    if (args.size() != 1 || (args[0].size() > 1 && args[0][0] == '-')) {
        std::fprintf(stderr, "Usage: orvel-tool info FILE\n");
        return 2;
    }
    const std::string& path = args[0];
    if (AsciiLower(std::filesystem::path(path).extension().string()) == ".sv1")
        return SavedGameInfo(path);
    // The browser's reading first, then the new game's, so that every
    // entry the game would read is checked.
    ResultOf<TJigsawData> head = ReadJigsaw(path, JigsawReadMode::Browse);
    if (!head) return Refuse(path, head.Error());
    const TJigsawData& h = head.Value();
    std::printf(
        "ImageW = %d\nImageH = %d\nLabel = %s\nNameCode = %d\nSideNum = %d\nEntryOffset = %d\n"
        "ThumbKind = %s\nThumbW = %d\nThumbH = %d\n",
        h.ImageW, h.ImageH, OneLine(h.Label).c_str(), h.NameCode, h.Header.SideNum,
        h.Header.EntryOffsets[1], KindText(h.ThumbKind), h.Thumb.Width, h.Thumb.Height);
    ResultOf<TJigsawData> body = ReadJigsaw(path, JigsawReadMode::NewGame);
    if (!body) return Refuse(path, body.Error());
    std::printf("Description = %s\nPictureKind = %s\n", OneLine(body.Value().Description).c_str(),
                KindText(body.Value().PictureKind));
    return 0;
}

CommandRegistration infoCommand({"info", "FILE",
                                 "prints the header, thumbnail and description of a jigsaw file "
                                 "or a saved game; fails on a file the game would refuse",
                                 RunInfo});

}  // namespace
}  // namespace orvel::tool
