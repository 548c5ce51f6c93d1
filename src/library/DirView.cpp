#include "library/DirView.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <utility>

#include "base/Text.h"
#include "game/JigsawFile.h"
#include "graphics/ImageCodecs.h"
#include "library/DirListing.h"
#include "library/PackJigsaw.h"
#include "library/SaveItem.h"
#include "play/Thumb.h"

namespace orvel {

namespace fs = std::filesystem;

namespace {

constexpr const char* kJigsawExtension = ".orv";
constexpr const char* kSaveExtension = ".sv1";

bool IsFile(const std::string& path) {
    std::error_code ec;
    return !path.empty() && fs::is_regular_file(path, ec);
}

std::string LowerExt(const std::string& name) {
    return AsciiLower(fs::path(name).extension().string());
}

void ApplyChoices(GameHeader& h, const TDirChoices& c) {
    h.Level = c.Level;
    ApplyCutChoices(h, c);
}

TDirChoices ChoicesOf(const GameHeader& h) {
    return TDirChoices{h.Level, h.Rotate != 0, h.BorderStyle, h.ShapeStyle, h.SpreadOut,
                       h.FitToScreen != 0};
}

}  // namespace

TDirView::TDirView(Platform& platform, const TLanguage& lang, TDirFolders folders)
    : m_platform(platform), m_lang(lang), m_folders(std::move(folders)), m_saveIcon(SaveIcon()) {
    Pack = [](const std::string& image, const std::string& target, const std::string& name) {
        return PackJigsaw(image, target, name, name);
    };
}

std::string TDirView::Text(const char* key) const {
    return m_lang.LookUpMessage(LangSection::LoadSaveForm, key);
}

MsgResult TDirView::Message(const char* key, const std::string& name, MsgKind kind) const {
    return m_lang.ShowMessage(FormatText(Text(key), name), kind);
}

// ----------------------------------------------------------------- showing and listing

void TDirView::Show() {
    if (!IsFile(SelectedPath)) SelectedPath.clear();
    m_kind = SelectionKind::None;
    LevelControlsEnabled = false;
    PreviewShown = false;
    OkEnabled = false;
    Comment.clear();
    if (Mode == DirMode::Save) {
        m_tab = m_listTab = DirTab::Games;
        Caption = Text("Cap_Save");
        HelpPage = "save.htm";
        Relist();
        FileName = BaseName(SaveName);
        SetPieceText(RunningPieces);
        if (RunningThumb) m_selThumb = MakeListThumb(*RunningThumb, &m_saveIcon);
        OkCaption = Text("B_Save");
        OkEnabled = true;
        return;
    }
    const bool jigsaw = !SelectedPath.empty() && LowerExt(SelectedPath) == kJigsawExtension;
    m_tab = SelectedPath.empty() || jigsaw ? DirTab::Jigs : DirTab::Games;
    Caption = Text("Cap_Load");
    HelpPage = "open.htm";
    Relist();
    if (jigsaw && GameRunning && m_kind == SelectionKind::Jigsaw) m_tab = DirTab::Level;
}

void TDirView::Relist() {
    m_timerOn = false;
    ListFolders();
    if (!SelectedPath.empty())
        SelectPreselected();
    else if (Mode == DirMode::Open)
        SelectFirstJigsaw();
    m_fillPos = 0;
    m_fillPhase = 0;
    m_timerOn = !FillDone();
}

void TDirView::ListFolders() {
    auto list = [this](const std::string& dir, const char* ext) {
        std::vector<TDirItem> items;
        for (std::string& name : ListFolder(dir, ext)) {
            TDirItem item;
            item.Caption = BaseName(name);
            item.Thumb = m_thumbs.Find(name);
            item.FileName = std::move(name);
            items.push_back(std::move(item));
        }
        return items;
    };
    m_jigs.clear();
    m_games.clear();
    m_selJigs = m_selGames = -1;
    if (Mode == DirMode::Open) m_jigs = list(m_folders.JigsawsDir, kJigsawExtension);
    m_games = list(m_folders.SavedGamesDir, kSaveExtension);
}

DirTab TDirView::ListOfPath(const std::string& path) const {
    return LowerExt(path) == kJigsawExtension ? DirTab::Jigs : DirTab::Games;
}

void TDirView::SelectPreselected() {
    const DirTab list = ListOfPath(SelectedPath);
    const std::string base = BaseName(fs::path(SelectedPath).filename().string());
    SelectedPath.clear();
    const std::vector<TDirItem>& items = Items(list);
    for (size_t i = 0; i < items.size(); ++i)
        if (EqualsAsciiNoCase(items[i].Caption, base)) {
            m_tab = list;
            SelectItem(list, static_cast<int>(i));
            return;
        }
    if (Mode == DirMode::Open) SelectFirstJigsaw();
}

void TDirView::SelectFirstJigsaw() {
    m_tab = m_listTab = DirTab::Jigs;
    if (m_jigs.empty()) {
        FileName.clear();
        SelectFile();
        return;
    }
    SelectItem(DirTab::Jigs, 0);
}

// ----------------------------------------------------------------- tabs and selection

bool TDirView::TabVisible(DirTab tab) const {
    return Mode == DirMode::Open || tab == DirTab::Games;
}

const std::vector<TDirItem>& TDirView::Items(DirTab list) const {
    return list == DirTab::Games ? m_games : m_jigs;
}

std::vector<TDirItem>& TDirView::ItemsOf(DirTab list) {
    return list == DirTab::Games ? m_games : m_jigs;
}

int TDirView::Selected(DirTab list) const {
    return list == DirTab::Games ? m_selGames : m_selJigs;
}

std::string TDirView::FolderOf(DirTab list) const {
    return list == DirTab::Games ? m_folders.SavedGamesDir : m_folders.JigsawsDir;
}

void TDirView::SetTab(DirTab tab) {
    if (!TabVisible(tab)) return;
    m_tab = tab;
    if (tab == DirTab::Level) {
        if (Mode == DirMode::Open) OkCaption = Text("B_Open");
        return;
    }
    m_listTab = tab;
    const int sel = Selected(tab);
    FileName = sel >= 0 ? Items(tab)[sel].FileName : std::string();
    SelectFile();
}

void TDirView::SelectItem(DirTab list, int index) {
    const std::vector<TDirItem>& items = Items(list);
    if (index < 0 || index >= static_cast<int>(items.size())) return;
    (list == DirTab::Games ? m_selGames : m_selJigs) = index;
    m_listTab = list;
    FileName = items[index].FileName;
    SelectFile();
}

void TDirView::SelectFile() {
    const std::string path = FolderOf(m_listTab) + FileName;
    Comment.clear();
    const bool save = m_listTab == DirTab::Games;
    if (Mode == DirMode::Save)
        OkCaption = Text("B_Save");
    else if (m_tab == DirTab::Jigs && !save)
        OkCaption = Text("B_Next");
    else
        OkCaption = Text("B_Open");
    if (FileName.empty() || !IsFile(path)) {
        m_kind = SelectionKind::None;
        ReleaseBitmap(m_selThumb);
        ThumbCaption.clear();
        LevelControlsEnabled = false;
        PreviewShown = false;
        OkEnabled = Mode == DirMode::Save;
        return;
    }
    const bool ok = save ? SelectSavedGame(path) : SelectJigsaw(path);
    if (!ok) ShowInvalid(path);
    // Saving takes any name the rules allow, an unreadable file's as well.
    if (Mode == DirMode::Save) OkEnabled = true;
}

bool TDirView::SelectJigsaw(const std::string& path) {
    ResultOf<TJigsawData> read = ReadJigsaw(path, JigsawReadMode::Browse);
    if (!read) return false;
    m_header = read.Value().Header;
    ApplyChoices(m_header, Defaults);
    FitPictureSize(m_header, FitAvailW, FitAvailH);
    m_loadedThumb = std::move(read.Value().Thumb);
    m_selThumb = MakeListThumb(m_loadedThumb, nullptr);
    ThumbCaption = BaseName(fs::path(path).filename().string());
    m_kind = SelectionKind::Jigsaw;
    m_shown = Defaults;
    LevelControlsEnabled = true;
    PreviewShown = true;
    ComputePieceCount();
    return true;
}

bool TDirView::SelectSavedGame(const std::string& path) {
    ResultOf<TSaveItem> read = ReadSaveItem(path);
    if (!read) return false;
    m_header = read.Value().Header;
    m_header.SideNum = 1;
    m_header.SideCur = 0;
    m_loadedThumb = std::move(read.Value().Thumb);
    m_selThumb = MakeListThumb(m_loadedThumb, &m_saveIcon);
    ThumbCaption = BaseName(fs::path(path).filename().string());
    m_kind = SelectionKind::SavedGame;
    m_shown = ChoicesOf(m_header);
    LevelControlsEnabled = false;
    PreviewShown = true;
    SetPieceText(m_header.TotalTileNum);
    OkEnabled = true;
    return true;
}

void TDirView::ShowInvalid(const std::string& path) {
    m_kind = SelectionKind::None;
    Comment = kInvalidJigsaw;
    LevelControlsEnabled = false;
    PreviewShown = false;
    OkEnabled = false;
    m_selThumb = PlaceholderThumb();
    ThumbCaption = BaseName(fs::path(path).filename().string());
}

// ----------------------------------------------------------------- the level page

void TDirView::ComputePieceCount() {
    ApplyChoices(m_header, m_shown);
    const int w = m_shown.FitToScreen ? m_header.FitW : m_header.ImageW;
    const int h = m_shown.FitToScreen ? m_header.FitH : m_header.ImageH;
    BuildLevelTable(m_levels, w, h, m_shown.ShapeStyle, m_shown.BorderStyle);
    OkEnabled = FillHeaderFromLevel(m_header, m_levels, m_shown.Level, w, h, m_shown.BorderStyle);
    SetPieceText(m_header.TotalTileNum);
}

void TDirView::SetPieceText(int count) {
    PieceCount = count;
    PieceText = FormatText(Text("L_PieceNum"), count);
}

void TDirView::ChooseShape(int style) {
    if (m_kind != SelectionKind::Jigsaw || style < 0 || style >= kShapeStyleCount) return;
    m_shown.ShapeStyle = Defaults.ShapeStyle = style;
    ComputePieceCount();
}

void TDirView::ChooseBorder(int style) {
    if (m_kind != SelectionKind::Jigsaw || style < 0 || style > 1) return;
    m_shown.BorderStyle = Defaults.BorderStyle = style;
    ComputePieceCount();
}

// The mix changes no count.
void TDirView::ChooseMix(int mix) {
    if (m_kind != SelectionKind::Jigsaw || mix < 0 || mix > 1) return;
    m_shown.SpreadOut = Defaults.SpreadOut = mix;
    m_header.SpreadOut = static_cast<uint8_t>(mix);
}

void TDirView::ToggleRotation() {
    if (m_kind != SelectionKind::Jigsaw) return;
    m_shown.Rotate = Defaults.Rotate = !m_shown.Rotate;
    m_header.Rotate = m_shown.Rotate ? 1 : 0;
}

void TDirView::ToggleFitToScreen() {
    if (m_kind != SelectionKind::Jigsaw) return;
    m_shown.FitToScreen = Defaults.FitToScreen = !m_shown.FitToScreen;
    ComputePieceCount();
}

void TDirView::SetLevel(int level) {
    if (m_kind != SelectionKind::Jigsaw) return;
    m_shown.Level = Defaults.Level = std::clamp(level, 0, kLevelCount - 1);
    ComputePieceCount();
}

std::string TDirView::ShapeLabel() const {
    return Text(("Shapes" + std::to_string(m_shown.ShapeStyle)).c_str());
}
std::string TDirView::BorderLabel() const {
    return Text(m_shown.BorderStyle == 1 ? "Borders1" : "Borders0");
}
std::string TDirView::MixLabel() const {
    return Text(m_shown.SpreadOut == 1 ? "Mix_Spreadout" : "Mix_Random");
}
std::string TDirView::RotationLabel() const {
    return Text(m_shown.Rotate ? "RotateOn" : "RotateOff");
}
std::string TDirView::FitLabel() const { return Text(m_shown.FitToScreen ? "FitOn" : "FitOff"); }

// ----------------------------------------------------------------- thumbnails

bool TDirView::FillDone() const {
    return m_fillPhase > 1 || (m_fillPhase == 1 && m_fillPos >= static_cast<int>(m_games.size()));
}

void TDirView::FillTick() {
    m_timerOn = false;
    const uint64_t start = m_platform.TickMs();
    while (FillStep())
        if (m_platform.TickMs() - start >= static_cast<uint64_t>(kFillBudgetMs)) break;
    m_timerOn = !FillDone();
}

// One item a step: those that have their picture cost nothing and are passed
// over in the same step.
bool TDirView::FillStep() {
    while (m_fillPhase <= 1) {
        std::vector<TDirItem>& items = m_fillPhase == 0 ? m_jigs : m_games;
        if (m_fillPos >= static_cast<int>(items.size())) {
            ++m_fillPhase;
            m_fillPos = 0;
            continue;
        }
        TDirItem& item = items[m_fillPos++];
        if (item.Thumb != 0) continue;
        if (const int known = m_thumbs.Find(item.FileName); known > 0) {
            item.Thumb = known;
            continue;
        }
        FillOne(item, m_fillPhase == 1);
        return true;
    }
    return false;
}

void TDirView::FillOne(TDirItem& item, bool savedGame) {
    const TMyBitmap source = ThumbSource(item, savedGame);
    if (source.Width <= 0) return;  // an unreadable file keeps the placeholder
    item.Thumb = m_thumbs.Add(item.FileName, MakeListThumb(source, savedGame ? &m_saveIcon : nullptr));
}

// A jigsaw's catalogue preview is preferred: it is a small JPEG, where the
// jigsaw's own thumbnail needs the file opened and unscrambled.
TMyBitmap TDirView::ThumbSource(const TDirItem& item, bool savedGame) const {
    TMyBitmap pic;
    if (savedGame) {
        if (ResultOf<TSaveItem> read = ReadSaveItem(m_folders.SavedGamesDir + item.FileName); read)
            pic = std::move(read.Value().Thumb);
        return pic;
    }
    const std::string preview = AddSlash(m_folders.ThumbDir) + item.Caption + ".jpg";
    if (IsFile(preview) && LoadJpegFile(pic, preview).Ok()) return pic;
    ReleaseBitmap(pic);
    if (ResultOf<TJigsawData> read =
            ReadJigsaw(m_folders.JigsawsDir + item.FileName, JigsawReadMode::Thumb);
        read)
        pic = std::move(read.Value().Thumb);
    return pic;
}

// ----------------------------------------------------------------- OK, cancel, extra

DirResult TDirView::Ok() {
    if (Mode == DirMode::Open && m_tab != DirTab::Level && LowerExt(FileName) != kSaveExtension &&
        m_tab != DirTab::Games) {
        SetTab(DirTab::Level);
        return DirResult::Stay;
    }
    if (TrimView(FileName).empty()) return DirResult::Stay;
    return Mode == DirMode::Save ? OkSave() : OkOpen();
}

DirResult TDirView::OkSave() {
    std::string name;
    switch (ReduceSaveName(FileName, name)) {
        case SaveNameCheck::Empty:
            m_lang.ShowMessage(Text("MS_EnterFileName"), MsgKind::Warning);
            return DirResult::Stay;
        case SaveNameCheck::Invalid:
            m_lang.ShowMessage(Text("MS_InvalidFileName"), MsgKind::Warning);
            return DirResult::Stay;
        case SaveNameCheck::Ok:
            break;
    }
    const std::string target = m_folders.SavedGamesDir + name + kSaveExtension;
    if (IsFile(target) && Message("Q_OverwriteFile", name, MsgKind::OkCancel) != MsgResult::Ok)
        return DirResult::Stay;
    SelectedPath = target;
    m_timerOn = false;
    return DirResult::Ok;
}

DirResult TDirView::OkOpen() {
    const std::string path = FolderOf(m_listTab) + FileName;
    if (!IsFile(path)) {
        Message("MS_CantFindFile", FileName, MsgKind::Warning);
        return DirResult::Stay;
    }
    // The file is read again: it may have changed since it was selected.
    const TDirChoices shown = m_shown;
    SelectFile();
    if (m_kind == SelectionKind::Jigsaw) {
        m_shown = shown;
        ComputePieceCount();
    }
    if (!OkEnabled || m_kind == SelectionKind::None) return DirResult::Stay;
    Seed = std::string(TrimView(Seed));
    SelectedPath = path;
    m_timerOn = false;
    return DirResult::Ok;
}

DirResult TDirView::Cancel() {
    m_timerOn = false;
    return DirResult::Cancel;
}

DirResult TDirView::Extra() {
    if (!RunDownload) return DirResult::Stay;
    const std::string name = RunDownload();
    if (name.empty()) return DirResult::Stay;
    const std::string path = m_folders.JigsawsDir + BaseName(name) + kJigsawExtension;
    if (IsFile(path)) {
        SelectedPath = path;
        Relist();
    }
    return DirResult::Stay;
}

// ----------------------------------------------------------------- deleting

bool TDirView::DeleteFile(DirTab list, int index) {
    const std::string& name = Items(list)[index].FileName;
    const std::string path = FolderOf(list) + name;
    std::error_code ec;
    if (!fs::remove(path, ec) || ec) {
        Message("MS_CantDeleteFile", name, MsgKind::Warning);
        return false;
    }
    m_thumbs.Forget(name);
    if (list == DirTab::Games && SavedGameDeleted) SavedGameDeleted(path);
    return true;
}

void TDirView::Delete(DirTab list) {
    const int index = Selected(list);
    if (index < 0) return;
    const std::string name = Items(list)[index].FileName;
    if (list == DirTab::Jigs && IsDistributedJigsaw(name, m_folders.DistList)) {
        Message("MS_CantDeleteFile", name, MsgKind::Warning);
        return;
    }
    if (Message("Q_DeleteFile", name, MsgKind::OkCancel) != MsgResult::Ok) return;
    if (!DeleteFile(list, index)) return;
    AfterDelete(list, index);
}

// The item at the same place, or the new last one, becomes selected.
void TDirView::AfterDelete(DirTab list, int index) {
    std::vector<TDirItem>& items = ItemsOf(list);
    items.erase(items.begin() + index);
    (list == DirTab::Games ? m_selGames : m_selJigs) = -1;
    if (items.empty()) {
        FileName.clear();
        SelectFile();
        return;
    }
    SelectItem(list, std::min(index, static_cast<int>(items.size()) - 1));
}

void TDirView::DeleteAll(DirTab list) {
    const bool games = list == DirTab::Games;
    if (m_lang.ShowMessage(Text(games ? "Q_DelAllGames" : "Q_DelAllJigs"), MsgKind::YesNo) !=
        MsgResult::Yes)
        return;
    for (int i = static_cast<int>(Items(list).size()) - 1; i >= 0; --i) {
        if (!games && IsDistributedJigsaw(Items(list)[i].FileName, m_folders.DistList)) continue;
        if (!DeleteFile(list, i)) continue;
        std::vector<TDirItem>& items = ItemsOf(list);
        items.erase(items.begin() + i);
    }
    (games ? m_selGames : m_selJigs) = -1;
    if (Items(list).empty()) {
        FileName.clear();
        SelectFile();
    } else {
        SelectItem(list, 0);
    }
}

void TDirView::RefreshThumbnail(const std::string& fileName, const TMyBitmap& source) {
    const bool savedGame = LowerExt(fileName) != kJigsawExtension;
    m_thumbs.Replace(fileName, MakeListThumb(source, savedGame ? &m_saveIcon : nullptr));
}

void TDirView::Help() {
    m_platform.OpenHelp(HelpPage);
}

// ----------------------------------------------------------------- new jigsaw

void TDirView::NewJigsawFromPicture() {
    const std::string image = m_platform.ChooseOpenFile(
        Text("NewJigsawTitle"), m_folders.PicturesDir, Text("PicturesFilter"),
        {"*.jpg", "*.jpeg", "*.png", "*.bmp", "*.JPG", "*.JPEG", "*.PNG", "*.BMP"});
    if (image.empty()) return;
    const std::string name = JigsawNameOf(image);
    if (name.empty()) return;
    const std::string target = m_folders.JigsawsDir + name + kJigsawExtension;
    if (IsFile(target) && Message("Q_OverwriteFile", name, MsgKind::OkCancel) != MsgResult::Ok)
        return;
    if (Result r = Pack(image, target, name); !r) {
        const TError& e = r.Error();
        m_lang.ShowMessage(FormatText(Text("MS_CantMakeJigsaw"), name) + "\n\n" + PlainText(e),
                           MsgKind::Warning);
        return;
    }
    m_thumbs.Forget(name + kJigsawExtension);
    SelectedPath = target;
    m_tab = m_listTab = DirTab::Jigs;
    Relist();
}

}  // namespace orvel
