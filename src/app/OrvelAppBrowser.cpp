// The application core's side of the jigsaw and saved-game browser: making
// it, handing it the player's choices and the running game, taking back the
// chosen file and cut, and making jigsaws from the player's pictures.
#include <atomic>
#include <chrono>
#include <filesystem>
#include <future>
#include <thread>

#include "app/OrvelApp.h"
#include "graphics/Bitmap.h"
#include "library/PackJigsaw.h"

namespace orvel {

namespace {

// While a picture is packed the window keeps answering; this is how often.
constexpr int kPackPollMs = 20;

}  // namespace

void TOrvelApp::CreateDirView() {
    TDirFolders folders;
    folders.JigsawsDir = Paths.JigsawsDir;
    folders.SavedGamesDir = Paths.SavedGamesDir;
    folders.ThumbDir = Paths.ThumbDir;
    folders.PicturesDir = Paths.PicturesDir;
    folders.DistList = Paths.DistList;
    DirView = std::make_unique<TDirView>(m_platform, *Lang, std::move(folders));
    DirView->Pack = [this](const std::string& image, const std::string& target,
                           const std::string& name) { return PackPicture(image, target, name); };
    // A save makes the file's list picture again.
    SavedThumbChanged = [this](const std::string& path, const TMyBitmap& thumb) {
        DirView->RefreshThumbnail(std::filesystem::path(path).filename().string(), thumb);
    };
    // The browser's download button: the first jigsaw fetched becomes its selection.
    DirView->RunDownload = [this] {
        return std::filesystem::path(ShowDownloadWindow()).filename().string();
    };
    DirView->SavedGameDeleted = [this](const std::string& path) {
        // The game in play no longer has the file it was saved to.
        if (!Game.sSolve.empty() && std::filesystem::path(path) == Game.sSolve) {
            Game.sSolve.clear();
            Game.Modified = true;
        }
    };
}

void TOrvelApp::PrepareDirView(DirMode mode, const std::string& path) {
    TDirView& dv = *DirView;
    dv.Mode = mode;
    dv.SelectedPath = path;
    dv.Defaults = DefaultCut(Settings);
    const TPlayArea fit = ComputePlayArea(m_platform.GetScreenMetrics(), false, 0, 0);
    dv.FitAvailW = fit.PlayW;
    dv.FitAvailH = fit.PlayH;
    dv.GameRunning = Game.GameLoaded;
}

// The choices the player made on the level page are the new defaults, kept
// however the dialog closed.
std::string TOrvelApp::BrowseForJigsaw(const std::string& path) {
    PrepareDirView(DirMode::Open, path);
    const DirResult result = m_view->ShowDirView(*DirView);
    const TDirChoices& c = DirView->Defaults;
    Settings.Level = c.Level;
    Settings.Rotate = c.Rotate;
    Settings.BorderStyle = static_cast<uint8_t>(c.BorderStyle);
    Settings.ShapeStyle = static_cast<uint8_t>(c.ShapeStyle);
    Settings.SpreadOut = static_cast<uint8_t>(c.SpreadOut);
    Settings.FitToScreen = c.FitToScreen;
    if (result != DirResult::Ok) return {};
    TakeBrowserChoice();
    return DirView->SelectedPath;
}

// A jigsaw opens with the cut the level page shows, not the default one.
void TOrvelApp::TakeBrowserChoice() {
    const TDirView& dv = *DirView;
    if (dv.Kind() != SelectionKind::Jigsaw) return;
    m_choice.Header = dv.Header();
    if (!CopyFromBitmap(m_choice.Thumb, dv.LoadedThumb())) ReleaseBitmap(m_choice.Thumb);
    m_choice.SeedShown = dv.SeedShown;
    m_choice.SeedText = dv.Seed;
    m_choicePath = dv.SelectedPath;
}

void TOrvelApp::OpenAtStart() {
    OpenCommand(Settings.RecentFiles.empty() ? std::string() : Settings.RecentFiles[0].Path, false);
}

bool TOrvelApp::ChooseSavePath(std::string& path) {
    if (!m_view->HasDirView()) return false;
    PrepareDirView(DirMode::Save, Game.sSolve);
    TDirView& dv = *DirView;
    dv.SelectedPath.clear();
    dv.SaveName = !Game.sSolve.empty() ? std::filesystem::path(Game.sSolve).filename().string()
                                       : Game.sJigName;
    dv.RunningPieces = Game.Header.TotalTileNum;
    dv.RunningThumb = &GameView.StoreThumb;
    const DirResult result = m_view->ShowDirView(dv);
    dv.RunningThumb = nullptr;
    if (result != DirResult::Ok) return false;
    path = dv.SelectedPath;
    return true;
}

// The picture is packed on a thread of its own, so a large photo does not
// stop the window; the browser shows the steps.
Result TOrvelApp::PackPicture(const std::string& image, const std::string& target,
                              const std::string& name) {
    std::atomic<int> steps{0};
    std::packaged_task<Result()> task([&] { return PackJigsaw(image, target, name, name, &steps); });
    std::future<Result> done = task.get_future();
    std::thread worker(std::move(task));
    const auto& progress = DirView->PackProgress;
    int shown = 0;
    if (progress) progress(shown, kPackSteps);
    while (done.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready) {
        if (progress && shown != steps.load()) progress(shown = steps.load(), kPackSteps);
        m_platform.ProcessEvents();
        m_platform.SleepMs(kPackPollMs);
    }
    worker.join();
    if (progress) progress(-1, kPackSteps);
    return done.get();
}

}  // namespace orvel
