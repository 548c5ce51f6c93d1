#pragma once

// The pure parts of downloading: the local catalogue, the server's
// description file, the addresses built from the settings, error pages and
// the choice of the other host.

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace orvel {

struct TSettings;

constexpr int kPreviewW = 180;
constexpr int kPreviewH = 135;
constexpr const char* kCatalogueListName = "jiglist.txt";
constexpr const char* kServerInfoName = "info.dat";

// The catalogue's jigsaw names: each line trimmed and lower-cased, empty
// lines skipped, in file order.
std::vector<std::string> ParseCatalogueList(std::string_view text);
// The list of ThumbPath + "jiglist.txt"; empty when the file is missing.
std::vector<std::string> LoadCatalogueList(const std::string& thumbPath);

// The server's description file: "key: value" lines, both trimmed and
// lower-cased. Ext is the pack extension with its dot; empty when the file
// names none, which makes it unusable.
struct TServerInfo {
    std::map<std::string, std::string> Values;
    std::string Ext;
    bool Usable() const { return !Ext.empty(); }
};
TServerInfo ParseServerInfo(std::string_view text);

// "https://" when secure, else "http://".
std::string DownloadScheme(bool secure);
// scheme + sDnSrc + "/" + SiteJigsawsDir + "info.dat" / + name + ext.
std::string ServerInfoUrl(const TSettings& s);
std::string PackUrl(const TSettings& s, const std::string& name, const std::string& ext);

// The other host of the download-host list; a host not in the list counts
// as the first, so the other is the second.
std::string OtherDownloadHost(const std::string& host);

// Whether an answer is an HTML page: its first 255 bytes, up to the first
// zero byte and lower-cased, hold "<html>".
bool IsErrorPage(std::string_view head);
// An HTML page's title (upper-cased), empty when it has none.
std::string ErrorPageTitle(std::string_view page);

// A preview's size in the list: as it is when it fits 180 x 135, else scaled
// to height 135, or to width 180 when that is still too wide.
void PreviewFitSize(int w, int h, int& fitW, int& fitH);

}  // namespace orvel
