#include "lang/LangKeys.h"

#include "base/Text.h"

#include <array>

namespace orvel {

namespace {

using S = LangSection;
constexpr bool kMsg = true;
constexpr bool kText = false;

constexpr TLangKey kKeys[] = {
    // The description of the file itself, read by the language list.
    {S::LanguageInfo, "engname", "", kText},
    {S::LanguageInfo, "localname", "", kText},
    {S::LanguageInfo, "author", "", kText},
    {S::LanguageInfo, "l_onlyinterface", "", kText},

    // Shared by all forms.
    {S::All, "B_Ok", "", kText},
    {S::All, "B_Cancel", "", kText},
    {S::All, "B_Close", "", kText},
    {S::All, "B_Help", "", kText},

    // Main window: the menu, by item name.
    {S::MainForm, "MI_Menu", "", kText},
    {S::MainForm, "MI_File", "", kText},
    {S::MainForm, "MI_FileOpen", "", kText},
    {S::MainForm, "MI_FileSave", "", kText},
    {S::MainForm, "MI_FileSaveAs", "", kText},
    {S::MainForm, "MI_FileSaveImage", "", kText},
    {S::MainForm, "MI_FileDownload", "", kText},
    {S::MainForm, "MI_Game", "", kText},
    {S::MainForm, "MI_GameWin1", "", kText},
    {S::MainForm, "MI_GameWin2", "", kText},
    {S::MainForm, "MI_GameThumb", "", kText},
    {S::MainForm, "MI_GameBkgAll", "", kText},
    {S::MainForm, "MI_GameBkgCur", "", kText},
    {S::MainForm, "MI_GameInfo", "", kText},
    {S::MainForm, "MI_GameSelectAll", "", kText},
    {S::MainForm, "MI_GameArrange", "", kText},
    {S::MainForm, "MI_GameGather", "", kText},
    {S::MainForm, "MI_GameGlass", "", kText},
    {S::MainForm, "MI_GameWeight", "", kText},
    {S::MainForm, "MI_Pockets", "", kText},
    {S::MainForm, "MI_PocketsPocket1", "", kText},
    {S::MainForm, "MI_PocketsPocket2", "", kText},
    {S::MainForm, "MI_PocketsPocket3", "", kText},
    {S::MainForm, "MI_PocketsPocket4", "", kText},
    {S::MainForm, "MI_PocketsTile", "", kText},
    {S::MainForm, "MI_PocketsCascade", "", kText},
    {S::MainForm, "MI_Options", "", kText},
    {S::MainForm, "MI_Help", "", kText},
    {S::MainForm, "MI_HelpCont", "", kText},
    {S::MainForm, "MI_HelpQuick", "", kText},
    {S::MainForm, "MI_HelpHomePage", "", kText},
    {S::MainForm, "MI_HelpOrvelHomePage", "", kText},  // caption of MI_HelpProductHomePage
    {S::MainForm, "MI_HelpReport", "", kText},
    {S::MainForm, "MI_HelpCredits", "", kText},
    {S::MainForm, "MI_HelpAbout", "", kText},
    {S::MainForm, "MI_FullScreen", "", kText},
    {S::MainForm, "MI_Min", "", kText},
    {S::MainForm, "MI_Exit", "", kText},
    // Main window: captions that follow the game's state.
    {S::MainForm, "MI_GameWeightOn", "", kText},
    {S::MainForm, "MI_GameWeightOff", "", kText},
    {S::MainForm, "MI_GameBkgWin%d", "%d", kText},
    {S::MainForm, "MI_GameBkgPocket%d", "%d", kText},
    {S::MainForm, "MI_GameSelectAllWin%d", "%d", kText},
    {S::MainForm, "MI_GameSelectAllPocket%d", "%d", kText},
    {S::MainForm, "SD_SaveImage", "", kText},
    // Main window: progress texts, questions and messages.
    {S::MainForm, "Prog_OpenJig", "", kText},
    {S::MainForm, "Prog_SaveSolve", "", kText},
    {S::MainForm, "Prog_AutoSaveSolve", "", kText},
    {S::MainForm, "Prog_ChangeEmboss", "", kText},
    {S::MainForm, "Q_SaveChanges", "", kMsg},
    {S::MainForm, "Q_Gather", "", kMsg},
    {S::MainForm, "MS_PaintError", "", kMsg},
    {S::MainForm, "MS_CantWriteSettings", "%s", kMsg},
    {S::MainForm, "MS_PictureTooSmall", "", kMsg},
    // Main window: the edge sorter and the lost-piece finder.
    {S::MainForm, "MI_GameSortEdges", "", kText},
    {S::MainForm, "MI_GameFindLost", "", kText},
    {S::MainForm, "MS_NoLostPieces", "", kMsg},
    {S::MainForm, "MS_CantSaveGame", "%s", kMsg},
    {S::MainForm, "MS_CantSaveImage", "%s", kMsg},

    // The jigsaw and saved-game browser.
    {S::LoadSaveForm, "Cap_Load", "", kText},
    {S::LoadSaveForm, "Cap_Save", "", kText},
    {S::LoadSaveForm, "B_Open", "", kText},
    {S::LoadSaveForm, "B_Save", "", kText},
    {S::LoadSaveForm, "B_Next", "", kText},
    {S::LoadSaveForm, "B_Extra", "", kMsg},
    {S::LoadSaveForm, "TS_Jigs", "", kText},
    {S::LoadSaveForm, "TS_Games", "", kText},
    {S::LoadSaveForm, "TS_Level", "", kText},
    {S::LoadSaveForm, "L_FileNameCap", "", kText},
    {S::LoadSaveForm, "L_Comment", "", kText},
    {S::LoadSaveForm, "L_PieceNum", "%d", kText},
    {S::LoadSaveForm, "RotateOn", "", kText},
    {S::LoadSaveForm, "RotateOff", "", kText},
    {S::LoadSaveForm, "FitOn", "", kText},
    {S::LoadSaveForm, "FitOff", "", kText},
    {S::LoadSaveForm, "Mix", "", kText},
    {S::LoadSaveForm, "Mix_Random", "", kText},
    {S::LoadSaveForm, "Mix_Spreadout", "", kText},
    {S::LoadSaveForm, "Shapes0", "", kText},
    {S::LoadSaveForm, "Shapes1", "", kText},
    {S::LoadSaveForm, "Shapes2", "", kText},
    {S::LoadSaveForm, "Shapes3", "", kText},
    {S::LoadSaveForm, "Shapes4", "", kText},
    {S::LoadSaveForm, "Shapes5", "", kText},
    {S::LoadSaveForm, "Shapes6", "", kText},
    {S::LoadSaveForm, "Borders0", "", kText},
    {S::LoadSaveForm, "Borders1", "", kText},
    {S::LoadSaveForm, "PMI_JigsOpen", "", kText},
    {S::LoadSaveForm, "PMI_JigsDel", "", kText},
    {S::LoadSaveForm, "PMI_JigsDelAll", "", kText},
    {S::LoadSaveForm, "PMI_GamesOpen", "", kText},
    {S::LoadSaveForm, "PMI_GamesDel", "", kText},
    {S::LoadSaveForm, "PMI_GamesDelAll", "", kText},
    {S::LoadSaveForm, "MS_CantDeleteFile", "%s", kMsg},
    {S::LoadSaveForm, "MS_CantFindFile", "%s", kMsg},
    {S::LoadSaveForm, "MS_EnterFileName", "", kMsg},
    {S::LoadSaveForm, "MS_InvalidFileName", "", kMsg},
    {S::LoadSaveForm, "Q_DeleteFile", "%s", kMsg},
    {S::LoadSaveForm, "Q_DelAllJigs", "", kMsg},
    {S::LoadSaveForm, "Q_DelAllGames", "", kMsg},
    {S::LoadSaveForm, "Q_OverwriteFile", "%s", kMsg},
    {S::LoadSaveForm, "B_NewJigsaw", "", kText},
    {S::LoadSaveForm, "NewJigsawTitle", "", kText},
    {S::LoadSaveForm, "PicturesFilter", "", kText},
    {S::LoadSaveForm, "Prog_NewJigsaw", "", kText},
    {S::LoadSaveForm, "L_Seed", "", kText},
    {S::LoadSaveForm, "MS_CantMakeJigsaw", "%s", kMsg},

    // The pocket windows: pocket number and group count.
    {S::Pocket, "PocketCaption", "%d%d", kText},

    // The options dialog.
    {S::Options, "FormCaption", "", kText},
    {S::Options, "TS_AutoSave", "", kText},
    {S::Options, "TS_Sound", "", kText},
    {S::Options, "TS_Play", "", kText},
    {S::Options, "TS_Visual", "", kText},
    {S::Options, "TS_Lang", "", kText},
    {S::Options, "TS_Dn", "", kText},
    {S::Options, "CB_AutoSave", "", kText},
    {S::Options, "L_AutoInterval", "%d", kText},
    {S::Options, "CB_SoundPlay", "", kText},
    {S::Options, "L_PlayModes", "", kText},
    {S::Options, "CB_PlayModes0", "", kText},
    {S::Options, "CB_PlayModes1", "", kText},
    {S::Options, "CB_PlayModes2", "", kText},
    {S::Options, "L_PlayRotCW", "", kText},
    {S::Options, "L_PlayRotCCW", "", kText},
    {S::Options, "L_PlayMoveOW", "", kText},
    {S::Options, "Key0", "", kText},
    {S::Options, "Key1", "", kText},
    {S::Options, "Key2", "", kText},
    {S::Options, "Key3", "", kText},
    {S::Options, "Key4", "", kText},
    {S::Options, "Key5", "", kText},
    {S::Options, "Key6", "", kText},
    {S::Options, "CB_PlaySingleWin", "", kText},
    {S::Options, "CB_PlayClickToDrag", "", kText},
    {S::Options, "L_StuckKoef", "%d", kText},
    {S::Options, "GB_VisualEmboss", "", kText},
    {S::Options, "RB_VisualEmboss0", "", kText},
    {S::Options, "RB_VisualEmboss1", "", kText},
    {S::Options, "RB_VisualEmboss2", "", kText},
    {S::Options, "RB_VisualEmboss3", "", kText},
    {S::Options, "GB_VisualWood", "", kText},
    {S::Options, "RB_VisualWood0", "", kText},
    {S::Options, "RB_VisualWood1", "", kText},
    {S::Options, "RB_VisualWood2", "", kText},
    {S::Options, "GB_VisualWoodColor", "", kText},
    {S::Options, "CB_VisualShowJoin", "", kText},
    {S::Options, "L_LangListCap", "", kText},
    {S::Options, "L_DnSrcCap", "", kText},
    {S::Options, "CB_UseSecure", "", kText},
    {S::Options, "L_SecureMethodCap", "", kText},
    {S::Options, "L_SecureNote", "", kText},
    {S::Options, "MS_CantFindLangFile", "%s", kMsg},
    {S::Options, "MS_KeysMustBeDiff", "", kMsg},

    // The image-information form.
    {S::Info, "FormCaption", "", kText},
    {S::Info, "L_PieceNum", "%d", kText},
    {S::Info, "L_SolvedPercent", "%d", kText},
    {S::Info, "l_UnsolvedNum", "%d", kText},
    {S::Info, "L_Rotation", "", kText},
    {S::Info, "L_JigCap", "", kText},

    {S::Credits, "FormCaption", "", kText},
    {S::Credits, "L_Thanks", "", kText},
    {S::About, "FormCaption", "", kText},
    {S::Thumbnail, "FormCaption", "", kText},

    // The download form.
    {S::Download, "FormCaption", "", kText},
    {S::Download, "L_DownMode", "", kText},
    {S::Download, "DownMode0", "", kText},
    {S::Download, "DownMode1", "", kText},
    {S::Download, "DownMode2", "", kText},
    {S::Download, "B_Download", "", kText},
    {S::Download, "B_Stop", "", kText},
    {S::Download, "ProcConnect", "", kText},
    {S::Download, "ProcDisconnect", "", kText},
    {S::Download, "ProcReceivingData", "", kText},
    {S::Download, "MS_FileNotFound", "%s", kMsg},
    {S::Download, "MS_InvalidLogin", "%s", kMsg},
    {S::Download, "MS_ListEmpty", "", kMsg},
    {S::Download, "MS_NoNewJigs", "", kMsg},
    {S::Download, "MS_SelJigsaw", "", kMsg},
    {S::Download, "MS_SomeFailed", "%d", kMsg},
    {S::Download, "MS_TcpNotInstalled", "", kMsg},
    {S::Download, "Q_TryAnotherDnSrc", "%s%s", kMsg},
    {S::Download, "Q_OpenFirstJigsaw", "", kMsg},
    {S::Download, "MS_UnsafePack", "%s%s", kMsg},

    // The finished-puzzle dialog.
    {S::Finish, "FormCaption", "", kText},
    {S::Finish, "L_Congratulations", "", kText},
    {S::Finish, "L_Solved", "", kText},
    {S::Finish, "L_AskForSave", "", kText},
    {S::Finish, "B_Save", "", kText},

    // The quick-help box.
    {S::QuickHelp, "FormCaption", "", kText},
    {S::QuickHelp, "L_Click", "", kText},
    {S::QuickHelp, "L_Contents", "", kText},
    {S::QuickHelp, "L_Open", "", kText},
    {S::QuickHelp, "L_Download", "", kText},
    {S::QuickHelp, "L_Menu", "", kText},
    {S::QuickHelp, "L_RotateCW", "", kText},
    {S::QuickHelp, "L_RotateCCW", "", kText},
    {S::QuickHelp, "L_Ctrl", "", kText},
    {S::QuickHelp, "L_MoveOW", "", kText},
    {S::QuickHelp, "L_Switch", "", kText},
    {S::QuickHelp, "L_Spacebar", "", kText},
    {S::QuickHelp, "CB_Show", "", kText},
    {S::QuickHelp, "L_SortEdges", "", kText},
    {S::QuickHelp, "L_FindLost", "", kText},
    // The help window.
    {S::QuickHelp, "HelpCaption", "", kText},
    {S::QuickHelp, "B_Back", "", kText},
    {S::QuickHelp, "B_Forward", "", kText},
    {S::QuickHelp, "B_Contents", "", kText},
    {S::QuickHelp, "L_NoHelp", "%s", kText},

    // The colour picker.
    {S::ColorPicker, "L_PalCap", "", kText},
    {S::ColorPicker, "L_GammaCap", "", kText},
    {S::ColorPicker, "L_DefColCap", "", kText},
    {S::ColorPicker, "L_SelColCap", "", kText},
    {S::ColorPicker, "L_BkgPicsCap", "", kText},
};

}  // namespace

std::span<const TLangKey> LangKeys() {
    return kKeys;
}

const TLangKey* FindLangKey(LangSection section, std::string_view key) {
    for (const TLangKey& k : kKeys) {
        if (k.Section == section && EqualsAsciiNoCase(k.Key, key)) return &k;
    }
    return nullptr;
}

std::string PlaceholdersOf(std::string_view text) {
    std::string out;
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '%') continue;
        const char f = text[i + 1];
        if (f == 'd' || f == 's') out += text.substr(i, 2);
        ++i;  // "%%" and "%d" both consume two characters
    }
    return out;
}

}  // namespace orvel
