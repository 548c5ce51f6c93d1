#pragma once

// TDownloader: everything the download window does, without the window. It
// holds the catalogue list and the mode, fetches the server's description
// file and the packs, unpacks them into the jigsaw folder and reports what
// the window shows through TDownloadView.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "download/DownloadCatalogue.h"
#include "download/HttpClient.h"
#include "download/PackExtract.h"
#include "graphics/Bitmap.h"

namespace orvel {

class Platform;
class TLanguage;
struct TSettings;

enum DownMode { DownMode_Selected = 0, DownMode_New = 1, DownMode_All = 2 };
constexpr int kDownModeCount = 3;
constexpr int kWaitBetweenItemsMs = 200;

// One catalogue item: picture 0 = no preview, i + 1 = the preview of line i;
// W x H the preview's size as drawn; State 1 when <name>.orv is in the
// jigsaw folder.
struct TDownItem {
    std::string Name;
    int ImageIndex = 0;
    int W = kPreviewW;
    int H = kPreviewH;
    int State = 0;
};

struct TDownloadPaths {
    std::string JigsawsDir;
    std::string TempDir;
    std::string UserDataDir;  // the catalogue's scratch files are removed from here
};

// The values a build is deployed with (basic-authentication credentials),
// plus the trust store override tests use for their own server.
struct TDownloadDeployment {
    std::string User;
    std::string Password;
    std::string CaFile;
};
TDownloadDeployment BuiltDownloadDeployment();

// What the download window shows; every default does nothing.
class TDownloadView {
public:
    virtual ~TDownloadView() = default;
    virtual void CaptionChanged(const std::string& /*caption*/) {}
    virtual void ProgressChanged(int64_t /*position*/, int64_t /*maximum*/) {}
    // The items, their states or previews changed.
    virtual void ListChanged() {}
    // Busy or idle, the selection, the mode or the preview changed.
    virtual void StateChanged() {}
    // One line about what was fetched, unpacked or refused.
    virtual void Note(const std::string& /*line*/) {}
};

class TDownloader {
public:
    TDownloader(Platform& platform, const TLanguage& lang, TSettings& settings,
                TDownloadPaths paths, TDownloadDeployment deployment = BuiltDownloadDeployment());
    ~TDownloader();
    TDownloader(const TDownloader&) = delete;
    TDownloader& operator=(const TDownloader&) = delete;

    void SetView(TDownloadView* view) { m_view = view ? view : &m_noView; }

    // A showing begins: flags cleared, list built or refreshed, first item
    // selected. Warns when there is no network layer.
    void Show();
    void SelectItem(int index);
    void SetMode(int mode);
    // The Download button; returns when every transfer of it has ended.
    void DownloadClick();
    // Stop: no further item starts.
    void StopClick() { m_stop = true; }
    // Exit or the window's close: the showing ends (leftover scratch files
    // removed). A download under way ends after its current item; the window
    // closes once DownloadClick has returned.
    void Close();

    const std::vector<TDownItem>& Items() const { return m_items; }
    // The preview of an item scaled to its size; empty when it has none.
    const TMyBitmap* Preview(int index) const;
    int Selected() const { return m_selected; }
    int Mode() const { return m_mode; }
    bool Busy() const { return m_busy; }
    bool Closing() const { return m_closing; }
    bool DownloadEnabled() const { return m_downloadEnabled; }
    bool NetworkAvailable() const { return m_http->Available(); }
    const std::string& BaseCaption() const { return m_baseCaption; }
    // The first jigsaw unpacked during this showing (its ".orv" path), or empty.
    const std::string& FirstDownloaded() const { return m_firstDownloaded; }

    TMyHttp& Http() { return *m_http; }

private:
    void BuildList();
    void RefreshStates();
    bool Downloaded(const std::string& name) const;
    void SetBusy(bool busy);
    void ResetTransferDisplay();
    void ConnectEvents();
    bool FetchServerInfo();
    bool TryServerInfo(bool& refused);
    bool DownloadItem(int index, bool showArchiveErrors);
    bool FetchPack(const TDownItem& item, const std::string& url, const std::string& temp);
    bool UnpackPack(int index, const std::string& temp, bool showArchiveErrors);
    bool DownloadAllowed() const;
    void DownloadMany();
    void WaitBetweenItems();
    void ReportHttpError(const THttpReply& reply, const std::string& url, bool& refused);
    void ShowErrorPage(const std::string& page, const std::string& url, bool& refused);
    void Warn(const std::string& key, const std::string& arg = {}) const;
    void WarnText(const std::string& text) const;

    Platform& m_platform;
    const TLanguage& m_lang;
    TSettings& m_settings;
    TDownloadPaths m_paths;
    TDownloadDeployment m_deployment;
    std::unique_ptr<TMyHttp> m_http;
    TDownloadView m_noView;
    TDownloadView* m_view = &m_noView;

    std::vector<TDownItem> m_items;
    std::vector<TMyBitmap> m_previews;
    std::string m_listThumbPath;
    bool m_listBuilt = false;
    bool m_shownBefore = false;
    int m_selected = -1;
    int m_mode = DownMode_New;
    std::string m_baseCaption;
    TServerInfo m_info;
    bool m_infoLoaded = false;
    bool m_stop = false;
    bool m_closing = false;
    bool m_transferOk = false;
    bool m_busy = false;
    bool m_downloadEnabled = false;
    std::string m_firstDownloaded;
};

}  // namespace orvel
