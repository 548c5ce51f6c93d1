#include "download/Downloader.h"

#include <cstdio>
#include <filesystem>

#include "base/FileRead.h"
#include "base/Text.h"
#include "graphics/ImageCodecs.h"
#include "lang/Lang.h"
#include "platform/Platform.h"
#include "settings/Settings.h"

namespace fs = std::filesystem;

namespace orvel {
namespace {

constexpr size_t kPageHead = 255;
// An error page is read whole to find its title; pages are small.
constexpr uint64_t kMaxErrorPageBytes = 256 * 1024;
constexpr long kStatusNotFound = 404;
constexpr long kStatusUnauthorised = 401;

bool IsFile(const std::string& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

void RemoveFile(const std::string& path) {
    std::error_code ec;
    fs::remove(path, ec);
}

std::string ReadHead(const std::string& path, size_t limit) {
    std::string head(limit, '\0');
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return {};
    head.resize(std::fread(head.data(), 1, limit, f));
    std::fclose(f);
    return head;
}

// The preview fitted into its list cell, or an empty buffer.
TMyBitmap LoadPreview(const std::string& path) {
    TMyBitmap pic, fitted;
    if (!IsFile(path) || !LoadJpegFile(pic, path).Ok()) return fitted;
    int w = 0, h = 0;
    PreviewFitSize(pic.Width, pic.Height, w, h);
    if (Create24(fitted, w, h)) ScaleInto(fitted, pic);
    return fitted;
}

}  // namespace

TDownloader::TDownloader(Platform& platform, const TLanguage& lang, TSettings& settings,
                         TDownloadPaths paths, TDownloadDeployment deployment)
    : m_platform(platform),
      m_lang(lang),
      m_settings(settings),
      m_paths(std::move(paths)),
      m_deployment(std::move(deployment)),
      m_http(std::make_unique<TMyHttp>()) {
    ConnectEvents();
}

TDownloader::~TDownloader() = default;

// ---------------------------------------------------------------- the list

void TDownloader::BuildList() {
    const std::string thumbPath = AsciiLower(m_settings.ThumbPath);
    if (m_listBuilt && thumbPath == m_listThumbPath) return;
    m_listBuilt = true;
    m_listThumbPath = thumbPath;
    m_items.clear();
    m_previews.clear();
    m_selected = -1;
    const std::vector<std::string> names = LoadCatalogueList(m_settings.ThumbPath);
    for (size_t i = 0; i < names.size(); ++i) {
        TDownItem item;
        item.Name = names[i];
        m_previews.push_back(LoadPreview(JoinPath(m_settings.ThumbPath, names[i] + ".jpg")));
        if (m_previews.back().Width > 0) {
            item.ImageIndex = static_cast<int>(i) + 1;
            item.W = m_previews.back().Width;
            item.H = m_previews.back().Height;
        }
        m_items.push_back(item);
    }
}

bool TDownloader::Downloaded(const std::string& name) const {
    return IsFile(JoinPath(m_paths.JigsawsDir, name + ".orv"));
}

void TDownloader::RefreshStates() {
    for (TDownItem& item : m_items) item.State = Downloaded(item.Name) ? 1 : 0;
}

const TMyBitmap* TDownloader::Preview(int index) const {
    if (index < 0 || index >= static_cast<int>(m_items.size()) || m_items[index].ImageIndex == 0)
        return nullptr;
    return &m_previews[m_items[index].ImageIndex - 1];
}

// ---------------------------------------------------------------- the form

void TDownloader::Show() {
    if (!m_shownBefore || m_mode < 0) m_mode = DownMode_New;
    m_shownBefore = true;
    m_stop = m_closing = m_infoLoaded = false;
    m_firstDownloaded.clear();
    m_baseCaption = m_lang.LookUp(LangSection::Download, "FormCaption");
    m_http->Setup.SecureMethodInd = m_settings.iSecureMethodInd;
    m_http->Setup.ConnectTimeoutMs = kConnectTimeoutMs;
    m_http->Setup.User = m_deployment.User;
    m_http->Setup.Password = m_deployment.Password;
    m_http->Setup.CaFile = m_deployment.CaFile;
    SetBusy(false);
    m_downloadEnabled = false;
    BuildList();
    RefreshStates();
    if (m_selected < 0 && !m_items.empty()) m_selected = 0;
    m_downloadEnabled = m_selected >= 0;
    m_view->CaptionChanged(m_baseCaption);
    m_view->ListChanged();
    m_view->StateChanged();
    if (!m_http->Available()) Warn("MS_TcpNotInstalled");
}

void TDownloader::SelectItem(int index) {
    if (m_closing || index < 0 || index >= static_cast<int>(m_items.size())) return;
    m_selected = index;
    m_downloadEnabled = true;
    m_view->CaptionChanged(m_baseCaption);
    m_view->StateChanged();
}

void TDownloader::SetMode(int mode) {
    if (mode < 0 || mode >= kDownModeCount) return;
    m_mode = mode;
    m_view->StateChanged();
}

void TDownloader::Close() {
    m_transferOk = false;
    if (m_closing) return;
    m_closing = true;
    m_http->Disconnect();
    RemoveFile(m_paths.UserDataDir + "_thumb.jpg");
    RemoveFile(m_paths.UserDataDir + "_jigsaws.txt");
}

void TDownloader::SetBusy(bool busy) {
    m_busy = busy;
    if (!busy) m_view->ProgressChanged(0, 0);
    m_view->StateChanged();
}

void TDownloader::ResetTransferDisplay() {
    m_view->CaptionChanged(m_baseCaption);
    m_view->ProgressChanged(0, 0);
}

void TDownloader::ConnectEvents() {
    THttpEvents& e = m_http->Events;
    auto status = [this](const char* key) {
        m_view->CaptionChanged(m_baseCaption + " - " + m_lang.LookUp(LangSection::Download, key));
    };
    e.Connected = [status] { status("ProcConnect"); };
    e.Disconnected = [status] { status("ProcDisconnect"); };
    e.WorkBegin = [this](int64_t total) { m_view->ProgressChanged(0, total); };
    e.Work = [this, status](int64_t done) {
        m_view->ProgressChanged(done, -1);
        status("ProcReceivingData");
    };
    e.Idle = [this] { m_platform.ProcessEvents(); };
}

// ---------------------------------------------------------------- messages

void TDownloader::WarnText(const std::string& text) const {
    m_lang.ShowMessage(text, MsgKind::Warning);
}

void TDownloader::Warn(const std::string& key, const std::string& arg) const {
    WarnText(FormatText(m_lang.LookUpMessage(LangSection::Download, key), arg));
}

void TDownloader::ReportHttpError(const THttpReply& reply, const std::string& url, bool& refused) {
    m_transferOk = false;
    m_view->Note("failed: " + url + " (" + reply.Error + ")");
    if (reply.ProtocolError && reply.Status == kStatusNotFound) {
        Warn("MS_FileNotFound", url);
    } else if (reply.ProtocolError && reply.Status == kStatusUnauthorised) {
        refused = true;
        Warn("MS_InvalidLogin", url);
    } else {
        WarnText(reply.Error);
    }
}

void TDownloader::ShowErrorPage(const std::string& page, const std::string& url, bool& refused) {
    m_transferOk = false;
    const std::string title = ErrorPageTitle(page);
    const std::string firstWord = title.substr(0, title.find_first_of(" \t\r\n"));
    m_view->Note("error page: " + url + " (" + title + ")");
    if (firstWord == "404") {
        Warn("MS_FileNotFound", url);
    } else if (firstWord == "401") {
        refused = true;
        Warn("MS_InvalidLogin", url);
    } else {
        WarnText(title);
    }
}

// ---------------------------------------------------------------- transfers

bool TDownloader::FetchServerInfo() {
    for (;;) {
        bool refused = false;
        if (TryServerInfo(refused)) return true;
        if (refused || m_stop || m_closing || !m_http->Available()) return false;
        const std::string other = OtherDownloadHost(m_settings.sDnSrc);
        const std::string question = FormatText(
            m_lang.LookUpMessage(LangSection::Download, "Q_TryAnotherDnSrc"), {m_settings.sDnSrc, other});
        if (m_lang.ShowMessage(question, MsgKind::YesNo) != MsgResult::Yes) return false;
        m_settings.sDnSrc = other;
    }
}

bool TDownloader::TryServerInfo(bool& refused) {
    if (m_infoLoaded) return true;
    if (!m_http->Available() || m_stop || m_closing) return false;
    m_http->Disconnect();
    m_view->ProgressChanged(0, 0);
    const std::string url = ServerInfoUrl(m_settings);
    m_http->Kind = TransferKind::ServerInfo;
    m_transferOk = true;
    std::string body;
    const THttpReply reply = m_http->Get(url, body);
    if (!reply.Ok) {
        ReportHttpError(reply, url, refused);
    } else if (!body.empty() && IsErrorPage(body)) {
        ShowErrorPage(body, url, refused);
    } else {
        m_info = ParseServerInfo(body);
        m_infoLoaded = m_info.Usable();
        m_view->Note((m_infoLoaded ? "fetched: " : "no pack extension in: ") + url);
    }
    m_http->Disconnect();
    m_http->Kind = TransferKind::None;
    ResetTransferDisplay();
    return m_infoLoaded;
}

bool TDownloader::FetchPack(const TDownItem& item, const std::string& url, const std::string& temp) {
    RemoveFile(temp);
    std::FILE* file = std::fopen(temp.c_str(), "wb");
    if (!file) {
        WarnText("Failed create file " + temp + "!");
        return false;
    }
    m_http->Kind = TransferKind::Pack;
    m_transferOk = true;
    const THttpReply reply = m_http->GetToFile(url, file);
    const bool closed = std::fclose(file) == 0;
    bool refused = false;
    if (!reply.Ok || !closed) {
        ReportHttpError(reply.Ok ? THttpReply{false, false, false, 0, "the pack could not be stored"} : reply,
                        url, refused);
        return false;
    }
    if (IsErrorPage(ReadHead(temp, kPageHead))) {
        std::string page;
        (void)ReadSmallFile(temp, kMaxErrorPageBytes, page);
        ShowErrorPage(page, url, refused);
        return false;
    }
    m_view->Note("fetched: " + url + " for " + item.Name);
    return true;
}

bool TDownloader::UnpackPack(int index, const std::string& temp, bool showArchiveErrors) {
    const TExtractReport report = ExtractPack(temp, m_paths.JigsawsDir);
    for (const std::string& path : report.Written) m_view->Note("unpacked: " + path);
    if (report.Status == ExtractStatus::OpenFailed) {
        m_view->Note("not a pack: " + report.Message);
        WarnText("Archive open error - " + report.Message);
        return false;
    }
    if (report.Status == ExtractStatus::EntryRefused) {
        // A pack that tries to write where it must not is always reported.
        m_view->Note("refused: " + report.Entry + " (" + report.Message + ")");
        WarnText(FormatText(m_lang.LookUpMessage(LangSection::Download, "MS_UnsafePack"),
                            {m_items[index].Name + m_info.Ext, report.Entry + ": " + report.Message}));
        return false;
    }
    if (!report.Ok()) {
        m_view->Note("failed: " + report.Entry + " (" + report.Message + ")");
        if (showArchiveErrors) WarnText("Archive extract error - " + report.Entry + ": " + report.Message);
        return false;
    }
    if (report.HeaderBroken && showArchiveErrors) WarnText("Archive header error - File header broken");
    m_items[index].State = 1;
    if (m_firstDownloaded.empty())
        m_firstDownloaded = JoinPath(m_paths.JigsawsDir, m_items[index].Name + ".orv");
    m_view->ListChanged();
    return true;
}

bool TDownloader::DownloadItem(int index, bool showArchiveErrors) {
    if (!m_http->Available() || !m_infoLoaded || index < 0 ||
        index >= static_cast<int>(m_items.size()) || m_stop || m_closing)
        return false;
    m_selected = index;
    m_view->StateChanged();
    m_http->Disconnect();
    m_view->ProgressChanged(0, 0);
    const TDownItem& item = m_items[index];
    const std::string temp = JoinPath(m_paths.TempDir, item.Name + m_info.Ext);
    const bool ok = FetchPack(item, PackUrl(m_settings, item.Name, m_info.Ext), temp) &&
                    UnpackPack(index, temp, showArchiveErrors);
    RemoveFile(temp);
    m_http->Disconnect();
    m_http->Kind = TransferKind::None;
    ResetTransferDisplay();
    return ok;
}

// ---------------------------------------------------------------- the button

bool TDownloader::DownloadAllowed() const {
    if (m_items.empty()) {
        Warn("MS_ListEmpty");
        return false;
    }
    if (m_mode == DownMode_Selected && m_selected < 0) {
        Warn("MS_SelJigsaw");
        return false;
    }
    if (m_mode == DownMode_New) {
        bool anyNew = false;
        for (const TDownItem& item : m_items) anyNew |= item.State == 0;
        if (!anyNew) Warn("MS_NoNewJigs");
        return anyNew;
    }
    return true;
}

void TDownloader::DownloadClick() {
    if (m_busy || !m_http->Available() || !DownloadAllowed()) return;
    if (m_mode == DownMode_Selected) {
        const std::string& name = m_items[m_selected].Name;
        if (Downloaded(name)) {
            const std::string question = FormatText(
                m_lang.LookUpMessage(LangSection::LoadSaveForm, "Q_OverwriteFile"), name + ".orv");
            if (m_lang.ShowMessage(question, MsgKind::OkCancel) != MsgResult::Ok) return;
        }
        SetBusy(true);
        if (FetchServerInfo()) DownloadItem(m_selected, true);
        SetBusy(false);
        return;
    }
    SetBusy(true);
    DownloadMany();
    SetBusy(false);
}

void TDownloader::DownloadMany() {
    if (!FetchServerInfo()) return;
    int failures = 0;
    for (int i = 0; i < static_cast<int>(m_items.size()) && !m_stop && !m_closing; ++i) {
        if (m_mode == DownMode_New && m_items[i].State == 1) continue;
        if (!DownloadItem(i, false)) ++failures;
        WaitBetweenItems();
        if (!m_transferOk) break;
    }
    SetBusy(false);
    if (failures > 0)
        WarnText(FormatText(m_lang.LookUpMessage(LangSection::Download, "MS_SomeFailed"), failures));
}

// Stop and Exit are noticed here, while the window handles its events.
void TDownloader::WaitBetweenItems() {
    const uint64_t start = m_platform.TickMs();
    do {
        m_platform.ProcessEvents();
        m_platform.SleepMs(10);
    } while (m_platform.TickMs() - start < static_cast<uint64_t>(kWaitBetweenItemsMs));
}

}  // namespace orvel
