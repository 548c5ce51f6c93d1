#include "app/OpenGame.h"

#include "app/Toolbar.h"
#include "base/IntMath.h"
#include "cutter/LevelTable.h"
#include "game/JigsawFile.h"
#include "play/NewGame.h"

namespace orvel {

TPlayArea ComputePlayArea(const ScreenMetrics& sm, bool fullScreen, int windowW, int windowH) {
    TPlayArea a;
    if (fullScreen) {
        a.PlayW = windowW;
        a.PlayH = windowH - kToolbarHeight;
        a.PlayFullW = a.PlayW + 2 * sm.FrameW;
        a.PlayFullH = a.PlayH + 2 * sm.FrameH;
        return a;
    }
    const int workW = sm.WorkArea.Right - sm.WorkArea.Left + 1;
    const int workH = sm.WorkArea.Bottom - sm.WorkArea.Top + 1;
    a.PlayW = workW - 2 * sm.FrameW;
    a.PlayH = workH - 2 * sm.FrameH - sm.CaptionH - kToolbarHeight;
    a.PlayFullW = workW;
    a.PlayFullH = workH - sm.CaptionH - kToolbarHeight;
    return a;
}

TCutChoices DefaultCut(const TSettings& s) {
    return TCutChoices{s.Level, s.Rotate, s.BorderStyle, s.ShapeStyle, s.SpreadOut, s.FitToScreen};
}

ResultOf<TJigsawChoice> ChooseDefaultCut(const std::string& path, const TCutChoices& choices,
                                         int fitW, int fitH) {
    ResultOf<TJigsawData> read = ReadJigsaw(path, JigsawReadMode::Browse);
    if (!read) return read.Status();
    TJigsawChoice choice;
    choice.Header = read.Value().Header;
    choice.Thumb = std::move(read.Value().Thumb);
    GameHeader& h = choice.Header;
    ApplyCutChoices(h, choices);
    FitPictureSize(h, fitW, fitH);
    // The level table is built for the picture as it will be cut.
    const int w = h.FitToScreen ? h.FitW : h.ImageW;
    const int ht = h.FitToScreen ? h.FitH : h.ImageH;
    LevelTable table;
    BuildLevelTable(table, w, ht, h.ShapeStyle, h.BorderStyle);
    if (!FillHeaderFromLevel(h, table, choices.Level, w, ht, h.BorderStyle))
        return FixedText("%s pieces are too many", {std::to_string(h.TotalTileNum)}, path);
    GameHeader asCut = h;
    asCut.ImageW = w;
    asCut.ImageH = ht;
    if (Result r = CheckPictureForLevel(asCut); !r) return r;
    return choice;
}

void PaintThumbnail(TMyBitmap& buffer, const TMyWin& thumbWin, const TMyBitmap& picture) {
    if (buffer.Width <= 0 || picture.Width <= 0) return;
    const int w = Clamp(thumbWin.Client.Width, 1, buffer.Width);
    const int h = Clamp(thumbWin.Client.Height, 1, buffer.Height);
    ScaleRegion(buffer, w, h, picture, picture.Width, picture.Height);
}

}  // namespace orvel
