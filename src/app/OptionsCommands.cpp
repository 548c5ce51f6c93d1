// The options command, the two background commands, and applying what the
// options dialog hands back to a running game.

#include <filesystem>
#include <system_error>

#include "app/ColorPick.h"
#include "app/OptionsDialog.h"
#include "app/OrvelApp.h"
#include "cutter/PieceEffects.h"
#include "play/Backgrounds.h"
#include "play/Sides.h"

namespace orvel {

namespace {

std::string WithoutAccel(std::string s) {
    std::erase(s, '&');
    return s;
}

bool FileExists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

}  // namespace

void TOrvelApp::OptionsCommand() {
    TOptionsDialog dialog(*Lang, Settings);
    dialog.RebuildLanguages();
    if (!m_view->ShowOptions(dialog)) return;
    ApplyOptions(dialog.Values);
}

void TOrvelApp::ApplyOptions(const TOptionsValues& v) {
    TBusyScope busy(Game);
    Settings.AutoSave_iIntervalMin = v.AutoInterval;
    Settings.AutoSave_bEnabled = v.AutoSave;
    Settings.CB_SoundPlay = v.Sound;
    Settings.CB_VisualShowJoin = v.ShowJoin;
    ApplySingleWindow(v.SingleWin);
    StorePlayOptions(v, Settings);
    ApplyEffectStyles(v.Emboss, v.Wood);
    Settings.WoodColor = v.WoodColor;
    ApplyChosenLanguage(v.Language);
    StoreDownloadOptions(v, Settings);
    if (!Game.GameLoaded) return;
    RequestFullRedraw();
    FlushFieldUpdate();
}

// Single window on: the game goes to the first side, and what lay on the
// second side comes with it, since the player can no longer reach it.
void TOrvelApp::ApplySingleWindow(bool on) {
    if (on == Settings.bSingleWin) return;
    Settings.bSingleWin = on;
    if (on && Game.GameLoaded) {
        ShowSide(MW_SIDE0);
        for (TPiece& p : Game.Pieces)
            if (p.window == MW_SIDE1) p.window = MW_SIDE0;
    }
    EnableGameCommands(Game.GameLoaded);
}

void TOrvelApp::ApplyEffectStyles(int emboss, int wood) {
    const bool embossChanged = emboss != Settings.EmbossStyle;
    const bool woodChanged = wood != Settings.WoodStyle;
    if (!embossChanged && !woodChanged) return;
    Settings.EmbossStyle = static_cast<uint8_t>(emboss);
    Settings.WoodStyle = static_cast<uint8_t>(wood);
    if (!Game.GameLoaded) return;
    const bool effects = (embossChanged && emboss != 0) || (woodChanged && wood != 0);
    const int rotations = Game.Header.Rotate ? 4 : 1;
    ShowProgress(Lang->LookUp(LangSection::MainForm, "Prog_ChangeEmboss"),
                 effects ? 1 + rotations : 1);
    StepProgress();
    // The relief is written only where it is not flat; a new style starts
    // from a flat mask so nothing of the old one stays.
    for (int r = 0; r < rotations; ++r) ResetRelief(Game.Mask(r));
    ApplyPieceEffects(Game, EffectSettings{emboss, wood}, effects ? this : nullptr);
    HideProgress();
}

void TOrvelApp::ApplyChosenLanguage(const std::string& name) {
    std::string chosen = IsPlainLanguageName(name) ? name : std::string("english");
    if (!FileExists(Lang->LangFilePath(chosen))) chosen = "english";
    ApplyLanguageFile(Lang->LangFilePath(chosen));
    const std::string help = Lang->HelpFilePath(chosen);
    Settings.HelpFile = std::filesystem::exists(help) ? help : Lang->HelpFilePath("english");
    Settings.sCurLang = chosen;
}

// ----------------------------------------------------------------- backgrounds

void TOrvelApp::BackgroundCommand(bool allWindows) {
    TBusyScope busy(Game);
    if (ClearSelection) ClearSelection();
    const TColor oldAll = Settings.lBkg;
    const std::array<TColor, 6> old = Settings.WinBkg;
    const int target = allWindows ? -1 : CurrentWindow(Wins).Id;
    TColorPicker picker;
    picker.Caption = WithoutAccel(m_menu.Captions[allWindows ? MI_GameBkgAll : MI_GameBkgCur]);
    picker.Target = target;
    picker.ShowPictures = true;
    picker.Suggested[0] = static_cast<int32_t>(kDefaultBackground);
    picker.Color = static_cast<int32_t>(allWindows ? Settings.lBkg : Settings.WinBkg[target]);
    picker.Apply = [this, target](int32_t value) { SetPickedBackground(target, value); };
    if (m_view->ShowColorPicker(picker)) {
        if (m_pieces) m_pieces->RebuildDragLayers();
        if (Game.GameLoaded) Game.Modified = Game.ModifiedSinceAutosave = true;
    } else if (allWindows) {
        Settings.lBkg = oldAll;
        for (int w = 0; w < kBackgroundWindows; ++w)
            SetPickedBackground(w, static_cast<int32_t>(old[w]));
    } else {
        SetPickedBackground(target, static_cast<int32_t>(old[target]));
    }
    RequestFullRedraw();
    FlushFieldUpdate();
}

// The one place a picked background reaches the play windows. A picture
// code loads its picture (the default grey when it cannot); only one picture
// shows at a time, so windows left on another picture code show grey.
void TOrvelApp::SetPickedBackground(int target, int32_t value) {
    if (target < 0) {
        Settings.lBkg = static_cast<TColor>(value);
        for (int w = 0; w < kBackgroundWindows; ++w) SetBackground(w, value);
    } else if (target < kBackgroundWindows) {
        SetBackground(target, value);
    }
    RequestFullRedraw();
    FlushFieldUpdate();
}

}  // namespace orvel
