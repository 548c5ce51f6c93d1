#include "app/RecentFiles.h"

#include <filesystem>
#include <locale>
#include <stdexcept>

namespace orvel {

namespace {

// The case mapping of the Unicode tables, whatever locale the program runs
// in; without them only A-Z fold.
const std::ctype<wchar_t>& CaseTables() {
    static const std::locale loc = [] {
        try {
            return std::locale("C.UTF-8");
        } catch (const std::runtime_error&) {
            return std::locale::classic();
        }
    }();
    return std::use_facet<std::ctype<wchar_t>>(loc);
}

// The next code point of UTF-8 text. A byte that starts no valid sequence
// becomes a lone surrogate of its own (U+DC80 ...), which no valid text
// holds, so any bytes compare and only equal bytes match them.
char32_t NextCodePoint(std::string_view s, size_t& i) {
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char b = byte(i);
    if (b < 0x80) {
        ++i;
        return b;
    }
    const char32_t invalid = 0xDC00 + b;
    const int extra = b >= 0xF0 ? (b < 0xF5 ? 3 : 0) : b >= 0xE0 ? 2 : b >= 0xC2 ? 1 : 0;
    if (extra == 0 || i + extra >= s.size()) {
        ++i;
        return invalid;
    }
    char32_t c = b & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) {
            ++i;
            return invalid;
        }
        c = (c << 6) | (byte(i + k) & 0x3F);
    }
    i += static_cast<size_t>(extra) + 1;
    return c;
}

std::u32string Folded(std::string_view s) {
    const std::ctype<wchar_t>& tables = CaseTables();
    std::u32string out;
    for (size_t i = 0; i < s.size();)
        out.push_back(
            static_cast<char32_t>(tables.tolower(static_cast<wchar_t>(NextCodePoint(s, i)))));
    return out;
}

}  // namespace

bool SameRecentPath(std::string_view a, std::string_view b) {
    return Folded(a) == Folded(b);
}

void AddRecentToList(std::vector<TRecentFile>& list, const std::string& path) {
    TRecentFile entry{path, std::filesystem::path(path).filename().string()};
    size_t k = 0;
    while (k < list.size() && !SameRecentPath(list[k].Path, path)) ++k;
    if (k == list.size()) {
        if (list.size() < static_cast<size_t>(kMaxRecentFiles)) list.emplace_back();
        k = list.size() - 1;
    }
    for (; k > 0; --k) list[k] = std::move(list[k - 1]);
    list[0] = std::move(entry);
}

}  // namespace orvel
