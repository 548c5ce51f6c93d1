#include "app/GameInfo.h"

#include <filesystem>

#include "base/Text.h"
#include "game/GameModel.h"

namespace orvel {

TInfoForm BuildInfoForm(TGame& game, const TLanguage& lang, const TNewGameView& view) {
    const GameHeader& h = game.Header;
    const TSolvedStats stats = SolvedStats(game);
    TInfoForm f;
    f.Caption = lang.LookUp(LangSection::Info, "FormCaption");
    f.OkText = lang.LookUp(LangSection::All, "B_Ok");
    f.PieceNum = FormatText(lang.LookUp(LangSection::Info, "L_PieceNum"), h.TotalTileNum);
    f.SolvedPercent =
        FormatText(lang.LookUp(LangSection::Info, "L_SolvedPercent"), stats.iSolvedPercent);
    f.UnsolvedNum = FormatText(lang.LookUp(LangSection::Info, "l_UnsolvedNum"), stats.iUnsolvedNum);
    f.Rotation = lang.LookUp(LangSection::Info, "L_Rotation");
    f.RotationEnabled = h.Rotate != 0;
    f.Shapes = lang.LookUp(LangSection::LoadSaveForm, "Shapes" + std::to_string(h.ShapeStyle));
    f.Borders = lang.LookUp(LangSection::LoadSaveForm, "Borders" + std::to_string(h.BorderStyle));
    f.BordersEnabled = h.BorderStyle == 1;
    f.JigCap = lang.LookUp(LangSection::Info, "L_JigCap");
    if (!game.sSolve.empty()) {
        f.Jig = std::filesystem::path(game.sSolve).filename().string();
        f.Jig1 = "(" + game.sJigName + ")";
        f.Jig1Visible = true;
    } else {
        f.Jig = game.sJigName;
    }
    f.Description = view.Description;
    f.Thumb = &view.InfoThumb;
    return f;
}

TFinishForm BuildFinishForm(const TLanguage& lang) {
    TFinishForm f;
    f.Caption = lang.LookUp(LangSection::Finish, "FormCaption");
    f.Congratulations = lang.LookUp(LangSection::Finish, "L_Congratulations");
    f.Solved = lang.LookUp(LangSection::Finish, "L_Solved");
    f.AskForSave = lang.LookUp(LangSection::Finish, "L_AskForSave");
    f.SaveText = lang.LookUp(LangSection::Finish, "B_Save");
    f.CancelText = lang.LookUp(LangSection::All, "B_Cancel");
    return f;
}

}  // namespace orvel
