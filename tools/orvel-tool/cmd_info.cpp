// orvel-tool info: reads a jigsaw file as the game does and prints what it
// holds; a file the game would refuse is named with the reason.
#include <cstdio>
#include <string>
#include <vector>

#include "Command.h"
#include "game/JigsawFile.h"

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

int RunInfo(const std::vector<std::string>& args) {
    if (args.size() != 1 || (args[0].size() > 1 && args[0][0] == '-')) {
        std::fprintf(stderr, "Usage: orvel-tool info FILE\n");
        return 2;
    }
    const std::string& path = args[0];
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
                                 "prints the header, thumbnail and description of a jigsaw file; "
                                 "fails on a file the game would refuse",
                                 RunInfo});

}  // namespace
}  // namespace orvel::tool
