#include "download/DownloadCatalogue.h"

#include <algorithm>

#include "base/FileRead.h"
#include "base/Text.h"
#include "settings/Settings.h"

namespace orvel {
namespace {

// A catalogue list is a few hundred short lines; anything far larger is not one.
constexpr uint64_t kMaxCatalogueBytes = 4u * 1024u * 1024u;
constexpr size_t kErrorPageHead = 255;

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

std::string AsciiUpper(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

}  // namespace

std::vector<std::string> ParseCatalogueList(std::string_view text) {
    std::vector<std::string> names;
    for (std::string_view line : SplitLines(text)) {
        const std::string name = AsciiLower(TrimView(line));
        if (!name.empty()) names.push_back(name);
    }
    return names;
}

std::vector<std::string> LoadCatalogueList(const std::string& thumbPath) {
    std::string text;
    if (!ReadSmallFile(JoinPath(thumbPath, kCatalogueListName), kMaxCatalogueBytes, text)) return {};
    return ParseCatalogueList(text);
}

TServerInfo ParseServerInfo(std::string_view text) {
    TServerInfo info;
    for (std::string_view line : SplitLines(text)) {
        const size_t colon = line.find(':');
        if (colon == std::string_view::npos) continue;
        const std::string key = AsciiLower(TrimView(line.substr(0, colon)));
        const std::string value = AsciiLower(TrimView(line.substr(colon + 1)));
        if (key.empty() || value.empty()) continue;
        info.Values[key] = value;
    }
    if (auto ext = info.Values.find("ext"); ext != info.Values.end())
        info.Ext = ext->second.find('.') == std::string::npos ? "." + ext->second : ext->second;
    return info;
}

std::string DownloadScheme(bool secure) { return secure ? "https://" : "http://"; }

std::string ServerInfoUrl(const TSettings& s) {
    return DownloadScheme(s.bUseSecure) + s.sDnSrc + "/" + s.SiteJigsawsDir + kServerInfoName;
}

std::string PackUrl(const TSettings& s, const std::string& name, const std::string& ext) {
    return DownloadScheme(s.bUseSecure) + s.sDnSrc + "/" + s.SiteJigsawsDir + name + ext;
}

std::string OtherDownloadHost(const std::string& host) {
    return AsciiLower(host) == AsciiLower(kDownloadHosts[1]) ? kDownloadHosts[0] : kDownloadHosts[1];
}

bool IsErrorPage(std::string_view head) {
    head = head.substr(0, std::min(head.size(), kErrorPageHead));
    head = head.substr(0, head.find('\0'));
    return AsciiLower(head).find("<html>") != std::string::npos;
}

std::string ErrorPageTitle(std::string_view page) {
    const std::string upper = AsciiUpper(page);
    const size_t open = upper.find("<TITLE>");
    const size_t close = upper.find("</TITLE>");
    if (upper.find("<HTML>") == std::string::npos || open == std::string::npos ||
        close == std::string::npos || close < open)
        return {};
    return std::string(TrimView(std::string_view(upper).substr(open + 7, close - open - 7)));
}

void PreviewFitSize(int w, int h, int& fitW, int& fitH) {
    fitW = w;
    fitH = h;
    if (w <= kPreviewW && h <= kPreviewH) return;
    fitW = w * kPreviewH / std::max(h, 1);
    fitH = kPreviewH;
    if (fitW > kPreviewW) {
        fitH = h * kPreviewW / std::max(w, 1);
        fitW = kPreviewW;
    }
    fitW = std::max(fitW, 1);
    fitH = std::max(fitH, 1);
}

}  // namespace orvel
