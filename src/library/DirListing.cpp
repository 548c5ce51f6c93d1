#include "library/DirListing.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "base/Text.h"

namespace orvel {

namespace fs = std::filesystem;

namespace {

bool ExtensionWanted(const std::string& ext, std::string_view wanted) {
    return !ext.empty() && AsciiLower(wanted).find(AsciiLower(ext)) != std::string::npos;
}

}  // namespace

std::vector<std::string> ListFolder(const std::string& dir, std::string_view wanted) {
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path& p = it->path();
        if (!it->is_regular_file(ec)) continue;
        if (ExtensionWanted(p.extension().string(), wanted)) names.push_back(p.filename().string());
    }
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const std::string la = AsciiLower(a), lb = AsciiLower(b);
        return la != lb ? la < lb : a < b;
    });
    return names;
}

std::string BaseName(std::string_view fileName) {
    const size_t dot = fileName.rfind('.');
    return std::string(dot == std::string_view::npos || dot == 0 ? fileName
                                                                  : fileName.substr(0, dot));
}

SaveNameCheck ReduceSaveName(std::string_view typed, std::string& name) {
    const size_t cut = typed.find_last_of("\\:");
    if (cut != std::string_view::npos) typed.remove_prefix(cut + 1);
    name = BaseName(TrimView(typed));
    if (name.empty()) return SaveNameCheck::Empty;
    if (name.find_first_of("\\/?") != std::string::npos) return SaveNameCheck::Invalid;
    return SaveNameCheck::Ok;
}

bool IsDistributedJigsaw(std::string_view fileName, const std::vector<std::string>& distList) {
    return std::any_of(distList.begin(), distList.end(), [&](const std::string& line) {
        return EqualsAsciiNoCase(TrimView(line), fileName);
    });
}

}  // namespace orvel
