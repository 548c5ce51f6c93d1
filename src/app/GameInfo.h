#pragma once

// What the game-information form and the finish form show, filled from the
// game in play and the language; the forms themselves only display it.

#include <string>

#include "game/GameState.h"
#include "graphics/Bitmap.h"
#include "lang/Lang.h"
#include "play/NewGame.h"

namespace orvel {

struct TInfoForm {
    std::string Caption;
    std::string OkText;
    std::string PieceNum;       // L_PieceNum with the piece count
    std::string SolvedPercent;  // L_SolvedPercent with the share solved
    std::string UnsolvedNum;    // l_UnsolvedNum with the groups left to join
    std::string Rotation;
    bool RotationEnabled = false;  // the game turns pieces
    std::string Shapes;            // the name of the shape style
    std::string Borders;           // the name of the border style
    bool BordersEnabled = false;   // the game has a border frame
    std::string JigCap;
    std::string Jig;   // the saved game's file name, or the jigsaw's name
    std::string Jig1;  // "(" + the jigsaw's name + ")" beside a saved game's name
    bool Jig1Visible = false;
    std::string Description;
    const TMyBitmap* Thumb = nullptr;  // the picture fitted for the form
};

// The counts are read from the game (its draw order is sorted on the way).
TInfoForm BuildInfoForm(TGame& game, const TLanguage& lang, const TNewGameView& view);

struct TFinishForm {
    std::string Caption;
    std::string Congratulations;
    std::string Solved;
    std::string AskForSave;
    std::string SaveText;
    std::string CancelText;
};

TFinishForm BuildFinishForm(const TLanguage& lang);

}  // namespace orvel
