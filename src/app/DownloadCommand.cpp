// The download command: the download window over the core's downloader, and
// the offer to open the first jigsaw it brought.
#include <filesystem>

#include "app/OrvelApp.h"
#include "game/GameState.h"

namespace orvel {
namespace {

bool IsFile(const std::string& path) {
    std::error_code ec;
    return !path.empty() && std::filesystem::is_regular_file(path, ec);
}

// The jigsaw a download left: its name with the extension ".orv" when that
// file exists, else the name as it stands when that exists.
std::string OpenableDownload(const std::string& path) {
    if (path.empty()) return {};
    const std::string jigsaw = std::filesystem::path(path).replace_extension(kJigsawExt).string();
    if (IsFile(jigsaw)) return jigsaw;
    return IsFile(path) ? path : std::string();
}

}  // namespace

std::string TOrvelApp::ShowDownloadWindow() {
    if (!m_download) {
        m_download = std::make_unique<TDownloader>(
            m_platform, *Lang, Settings,
            TDownloadPaths{Paths.JigsawsDir, Paths.TempDir, Paths.UserDataDir}, m_options.Download);
    }
    m_view->ShowDownload(*m_download);
    return m_download->FirstDownloaded();
}

void TOrvelApp::DownloadCommand() { OfferFirstDownloaded(ShowDownloadWindow()); }

void TOrvelApp::OfferFirstDownloaded(const std::string& path) {
    const std::string jigsaw = OpenableDownload(path);
    if (jigsaw.empty()) return;
    if (Lang->ShowMessageKey(LangSection::Download, "Q_OpenFirstJigsaw", MsgKind::YesNo) != MsgResult::Yes)
        return;
    TBusyScope busy(Game);
    if (Game.HasSelection && ClearSelection) ClearSelection();
    OpenCommand(jigsaw, false);
}

}  // namespace orvel
