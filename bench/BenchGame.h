#pragma once

// What the benchmarks share: where the build put the sample jigsaws and
// resources, and a sample game started the way the program starts one.

#include <filesystem>
#include <string>

#include "cutter/LevelTable.h"
#include "game/JigsawFile.h"
#include "platform/FakePlatform.h"
#include "play/NewGame.h"

namespace orvel::bench {

// The build folder: the bench programs live in its bench/ folder.
inline std::string BuildDir() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string("..") : exe.parent_path().parent_path().string();
}

// The side the field shows, laid out over the whole field and shown.
inline void ShowSideOnField(TPlayWindows& pw, int fieldW, int fieldH) {
    TMyWin& side = pw.Wins[MW_SIDE0];
    SetPosSize(side.Outer, 0, 0, fieldW, fieldH);
    Relayout(side);
    side.Visible = true;
}

// storm.orv spread out and fitted to playW x playH, cut at level with seed 1.
inline bool StartSampleGame(TGame& game, TPlayWindows& pw, FakePlatform& platform, int level,
                            bool rotate, const EffectSettings& effects, int playW, int playH) {
    CreatePlayWindows(pw, platform, {"1", "2", "3", "4"}, "Thumbnail");
    const std::string path = BuildDir() + "/jigsaws/storm.orv";
    ResultOf<TJigsawData> read = ReadJigsaw(path, JigsawReadMode::Browse);
    if (!read) return false;
    TNewGameRequest r;
    r.Path = path;
    r.Header = read.Value().Header;
    r.Header.Rotate = rotate ? 1 : 0;
    r.Header.SpreadOut = 1;
    r.Header.FitToScreen = 1;
    FitPictureSize(r.Header, playW, playH);
    LevelTable table;
    BuildLevelTable(table, r.Header.FitW, r.Header.FitH, 0, 0);
    FillHeaderFromLevel(r.Header, table, level, r.Header.FitW, r.Header.FitH, 0);
    r.SeedShown = true;
    r.SeedText = "1";
    TNewGameSetup s;
    s.PlayW = playW;
    s.PlayH = playH;
    s.Effects = effects;
    s.ResourcesDir = BuildDir() + "/resources";
    s.ShapeFile = BuildDir() + "/pic_orvel.dat";
    CountingProgress progress;
    TNewGameView newView;
    return StartNewGame(game, pw, r, s, newView, progress, platform).Ok();
}

}  // namespace orvel::bench
