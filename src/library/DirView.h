#pragma once

// The jigsaw and saved-game browser without its window: the two file lists
// with their thumbnails, the level page's choices with the piece count, and
// what OK, delete and the other commands do. The window (TF_DirView) shows
// this state and passes clicks and keys on.

#include <functional>
#include <string>
#include <vector>

#include "base/Result.h"
#include "cutter/LevelTable.h"
#include "game/GameTypes.h"
#include "graphics/Bitmap.h"
#include "lang/Lang.h"
#include "library/ThumbStore.h"
#include "platform/Platform.h"

namespace orvel {

enum class DirMode { Open = 1, Save = 2 };
enum class DirTab { Jigs = 0, Games = 1, Level = 2 };
// How the dialog closed.
enum class DirResult { Stay, Ok, Cancel, Download };
enum class SelectionKind { None = 0, Jigsaw = 1, SavedGame = 2 };

constexpr int kShapeStyleCount = 7;
// The fill timer's interval and the work one tick may do.
constexpr int kFillTickMs = 100;
constexpr int kFillBudgetMs = 100;

// The folders and lists the browser works with.
struct TDirFolders {
    std::string JigsawsDir;     // with a trailing "/"
    std::string SavedGamesDir;  // with a trailing "/"
    std::string ThumbDir;       // catalogue previews <name>.jpg
    std::string PicturesDir;    // where "new jigsaw from picture" starts looking
    std::vector<std::string> DistList;  // jigsaws that come with the program
};

// The level page's choices, also the player's defaults.
using TDirChoices = TCutChoices;

struct TDirItem {
    std::string FileName;  // with extension
    std::string Caption;   // without
    int Thumb = 0;         // index into the thumbnail store
};

class TDirView {
public:
    TDirView(Platform& platform, const TLanguage& lang, TDirFolders folders);

    // Set by the caller before Show.
    DirMode Mode = DirMode::Open;
    std::string SelectedPath;  // in: preselected file; out: the chosen file
    TDirChoices Defaults;      // the player's choices, updated as they change
    int FitAvailW = 0;         // the room a picture is fitted into
    int FitAvailH = 0;
    bool GameRunning = false;
    // Save mode: the running game's save name (or jigsaw name), its piece
    // count and thumbnail.
    std::string SaveName;
    int RunningPieces = 0;
    const TMyBitmap* RunningThumb = nullptr;
    // Runs the download form; returns the downloaded jigsaw's file name, if
    // any. Without it the download button is off.
    std::function<std::string()> RunDownload;
    // A saved game was deleted (its full path).
    std::function<void(const std::string&)> SavedGameDeleted;

    // Each activation: drops a missing preselection, picks tab and texts,
    // lists the folders, selects, starts the fill timer.
    void Show();
    // Lists both folders again and selects (the preselection, or the first jigsaw).
    void Relist();

    // Tabs and lists.
    DirTab Tab() const { return m_tab; }
    void SetTab(DirTab tab);
    bool TabVisible(DirTab tab) const;
    const std::vector<TDirItem>& Items(DirTab list) const;
    int Selected(DirTab list) const;
    void SelectItem(DirTab list, int index);
    const TThumbStore& Thumbs() const { return m_thumbs; }
    // A file was written anew (a save): its list picture is made again from
    // source, with the save icon unless it is a jigsaw.
    void RefreshThumbnail(const std::string& fileName, const TMyBitmap& source);
    std::string FileName;  // E_FileName
    void SetFileName(const std::string& name) { FileName = name; }

    // The fill timer: runs while TimerOn; each tick adds thumbnails for at
    // most kFillBudgetMs.
    bool TimerOn() const { return m_timerOn; }
    void FillTick();
    bool FillDone() const;

    // The selection.
    SelectionKind Kind() const { return m_kind; }
    const GameHeader& Header() const { return m_header; }
    const TMyBitmap& LoadedThumb() const { return m_loadedThumb; }  // I_Load
    const TMyBitmap& SelectedThumb() const { return m_selThumb; }   // I_Thumb
    std::string ThumbCaption;                                        // L_Thumb
    std::string Comment;                                             // L_Comment
    std::string OkCaption;
    bool OkEnabled = false;
    bool LevelControlsEnabled = false;
    bool PreviewShown = false;
    std::string PieceText;  // L_PieceSize
    int PieceCount = 0;
    std::string Caption;  // the dialog's caption
    std::string HelpPage;

    // The level page.
    const TDirChoices& Shown() const { return m_shown; }
    void ChooseShape(int style);
    void ChooseBorder(int style);
    void ChooseMix(int mix);
    void ToggleRotation();
    void ToggleFitToScreen();
    void SetLevel(int level);
    std::string ShapeLabel() const;
    std::string BorderLabel() const;
    std::string MixLabel() const;
    std::string RotationLabel() const;
    std::string FitLabel() const;

    // The seed panel (Ctrl+click on the button bar).
    bool SeedShown = false;
    std::string Seed;  // E_Seed, trimmed on OK
    void ToggleSeedPanel() { SeedShown = !SeedShown; }

    // Buttons and menus.
    DirResult Ok();
    DirResult Cancel();
    DirResult Extra();
    bool ExtraVisible() const { return Mode == DirMode::Open; }
    bool ExtraEnabled() const { return static_cast<bool>(RunDownload); }
    void Help();
    void Delete(DirTab list);
    void DeleteAll(DirTab list);
    bool CanOpen(DirTab list) const { return Selected(list) >= 0; }
    bool CanDelete(DirTab list) const { return Selected(list) >= 0; }
    bool CanDeleteAll(DirTab list) const { return !Items(list).empty(); }

    // Makes a jigsaw from a picture file in the Jigsaws folder (a name clash
    // asks first), lists and selects it, through Pack.
    void NewJigsawFromPicture();
    // Makes the jigsaw file target from a picture; by default PackJigsaw on
    // this thread. The program moves it off the window's thread.
    using PackRunner = std::function<Result(const std::string& image, const std::string& target,
                                            const std::string& name)>;
    PackRunner Pack;
    // How far the making is: done of steps; done < 0 when it has ended.
    std::function<void(int done, int steps)> PackProgress;

    // The piece-size table of the selection's picture, as shown.
    const LevelTable& Levels() const { return m_levels; }

private:
    std::vector<TDirItem>& ItemsOf(DirTab list);
    std::string FolderOf(DirTab list) const;
    DirTab ListOfPath(const std::string& path) const;
    void ListFolders();
    void SelectPreselected();
    void SelectFirstJigsaw();
    void SelectFile();
    bool SelectJigsaw(const std::string& path);
    bool SelectSavedGame(const std::string& path);
    void ShowInvalid(const std::string& path);
    void ComputePieceCount();
    void SetPieceText(int count);
    bool FillStep();
    void FillOne(TDirItem& item, bool savedGame);
    TMyBitmap ThumbSource(const TDirItem& item, bool savedGame) const;
    DirResult OkSave();
    DirResult OkOpen();
    bool DeleteFile(DirTab list, int index);
    void AfterDelete(DirTab list, int index);
    std::string Text(const char* key) const;
    MsgResult Message(const char* key, const std::string& name, MsgKind kind) const;

    Platform& m_platform;
    const TLanguage& m_lang;
    TDirFolders m_folders;
    TThumbStore m_thumbs;
    TMyBitmap m_saveIcon;
    std::vector<TDirItem> m_jigs;
    std::vector<TDirItem> m_games;
    int m_selJigs = -1;
    int m_selGames = -1;
    DirTab m_tab = DirTab::Jigs;
    DirTab m_listTab = DirTab::Jigs;  // the list the selection comes from
    bool m_timerOn = false;
    int m_fillPos = 0;
    int m_fillPhase = 0;
    SelectionKind m_kind = SelectionKind::None;
    GameHeader m_header;
    TMyBitmap m_loadedThumb;
    TMyBitmap m_selThumb;
    TDirChoices m_shown;
    LevelTable m_levels{};
};

}  // namespace orvel
