#include "lang/Lang.h"

#include "base/FileRead.h"
#include "base/Text.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace orvel {

namespace {

constexpr std::array<const char*, kLangSectionCount> kSectionNames = {
    "Language Info", "All",    "Main Form",  "Load/Save Form", "Pocket",
    "Options",       "Info",   "Credits",    "About",          "Thumbnail",
    "Download",      "Finish", "Quick Help", "Color Picker",   "Extra"};

bool StartsWith(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && s.compare(0, prefix.size(), prefix) == 0;
}

void AppendUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

constexpr uint32_t kReplacement = 0xFFFD;

// Decodes one UTF-8 sequence at s[i]; returns its length, 0 when invalid
// (overlong forms, surrogates and values above U+10FFFF are invalid).
size_t DecodeUtf8At(std::string_view s, size_t i, uint32_t& cp) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    if (b0 < 0x80) {
        cp = b0;
        return 1;
    }
    size_t len = 0;
    uint32_t min = 0;
    if ((b0 & 0xE0) == 0xC0) {
        len = 2;
        cp = b0 & 0x1F;
        min = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        len = 3;
        cp = b0 & 0x0F;
        min = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        len = 4;
        cp = b0 & 0x07;
        min = 0x10000;
    } else {
        return 0;
    }
    if (i + len > s.size()) return 0;
    for (size_t k = 1; k < len; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return len;
}

bool IsValidUtf8(std::string_view s) {
    uint32_t cp = 0;
    for (size_t i = 0; i < s.size();) {
        const size_t len = DecodeUtf8At(s, i, cp);
        if (len == 0) return false;
        i += len;
    }
    return true;
}

std::string Utf8Sanitised(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    uint32_t cp = 0;
    for (size_t i = 0; i < s.size();) {
        const size_t len = DecodeUtf8At(s, i, cp);
        if (len == 0) {
            AppendUtf8(out, kReplacement);
            ++i;
        } else {
            out.append(s.substr(i, len));
            i += len;
        }
    }
    return out;
}

// Windows-1252 0x80..0x9F; the five unassigned bytes map to the C1 controls
// of the same value, as the system's own conversion does.
constexpr std::array<uint16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

std::string FromCp1252(std::string_view s) {
    std::string out;
    out.reserve(s.size() + s.size() / 2);
    for (const char ch : s) {
        const auto b = static_cast<unsigned char>(ch);
        if (b >= 0x80 && b <= 0x9F) {
            AppendUtf8(out, kCp1252High[b - 0x80]);
        } else {
            AppendUtf8(out, b);
        }
    }
    return out;
}

std::string FromUtf16(std::string_view s, bool bigEndian) {
    std::string out;
    out.reserve(s.size());
    const size_t units = s.size() / 2;  // an odd last byte is no character
    auto unitAt = [&](size_t k) -> uint32_t {
        const auto a = static_cast<unsigned char>(s[2 * k]);
        const auto b = static_cast<unsigned char>(s[2 * k + 1]);
        return bigEndian ? (static_cast<uint32_t>(a) << 8 | b)
                         : (static_cast<uint32_t>(b) << 8 | a);
    };
    for (size_t k = 0; k < units; ++k) {
        const uint32_t u = unitAt(k);
        if (u >= 0xD800 && u <= 0xDBFF && k + 1 < units) {
            const uint32_t lo = unitAt(k + 1);
            if (lo >= 0xDC00 && lo <= 0xDFFF) {
                AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (lo - 0xDC00));
                ++k;
                continue;
            }
        }
        AppendUtf8(out, (u >= 0xD800 && u <= 0xDFFF) ? kReplacement : u);
    }
    return out;
}

// Calls fn(trimmedLine) for each line, split at CR LF, LF or CR.
template <typename Fn>
void ForEachLine(std::string_view text, Fn&& fn) {
    size_t start = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == '\r' || text[i] == '\n') {
            if (!fn(TrimView(text.substr(start, i - start)))) return;
            start = i + 1;
        }
    }
}

// The section a header line opens, -1 when it names none.
int HeaderSection(std::string_view line) {
    for (int i = 0; i < kLangSectionCount; ++i) {
        const std::string tag = std::string("[") + kSectionNames[i] + "]";
        if (StartsWith(line, tag)) return i;
    }
    return -1;
}

// An entry line: "<" key ">" text. False for any other line.
bool SplitEntry(std::string_view line, std::string_view& key, std::string_view& text) {
    if (!StartsWith(line, "<")) return false;
    const size_t close = line.find('>');
    if (close == std::string_view::npos) return false;
    key = TrimView(line.substr(1, close - 1));
    text = TrimView(line.substr(close + 1));
    return true;
}

std::string IndexKey(LangSection section, std::string_view key) {
    std::string k(1, static_cast<char>('A' + static_cast<int>(section)));
    k += AsciiLower(key);
    return k;
}

std::string ReplaceDollarD(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '$' && i + 1 < text.size() && text[i + 1] == 'D') {
            out += '\n';
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace

const char* LangSectionName(LangSection section) {
    const auto i = static_cast<size_t>(section);
    return i < kSectionNames.size() ? kSectionNames[i] : "";
}

std::string DecodeLangFileBytes(std::string_view bytes) {
    if (StartsWith(bytes, "\xFF\xFE")) return FromUtf16(bytes.substr(2), false);
    if (StartsWith(bytes, "\xFE\xFF")) return FromUtf16(bytes.substr(2), true);
    if (StartsWith(bytes, "\xEF\xBB\xBF")) return Utf8Sanitised(bytes.substr(3));
    if (IsValidUtf8(bytes)) return std::string(bytes);
    return FromCp1252(bytes);
}

std::vector<TLangEntry> ParseLangText(std::string_view utf8) {
    std::vector<TLangEntry> entries;
    int current = -1;
    ForEachLine(utf8, [&](std::string_view line) {
        if (StartsWith(line, "[")) {
            const int sec = HeaderSection(line);
            if (sec >= 0) current = sec;
            return true;
        }
        std::string_view key;
        std::string_view text;
        if (current >= 0 && SplitEntry(line, key, text)) {
            entries.push_back(
                {static_cast<LangSection>(current), std::string(key), std::string(text)});
        }
        return true;
    });
    return entries;
}

bool ParseLangInfo(std::string_view utf8, LANG_INFO& info) {
    bool found = false;
    bool done = false;
    bool seen[4] = {false, false, false, false};
    ForEachLine(utf8, [&](std::string_view line) {
        if (!found) {
            found = StartsWith(line, "[Language Info]");
            return true;
        }
        if (StartsWith(line, "[")) {
            done = true;
            return false;
        }
        std::string_view key;
        std::string_view text;
        if (!SplitEntry(line, key, text)) return true;
        const std::string k = AsciiLower(key);
        std::string* fields[4] = {&info.engname, &info.localname, &info.author,
                                  &info.l_onlyinterface};
        const char* names[4] = {"engname", "localname", "author", "l_onlyinterface"};
        for (int i = 0; i < 4; ++i) {
            if (k == names[i] && !seen[i]) {
                *fields[i] = std::string(text);
                seen[i] = true;
            }
        }
        return true;
    });
    (void)done;
    return found;
}

std::string LangDisplayName(const LANG_INFO& info) {
    if (!info.localname.empty()) return info.localname;
    if (!info.engname.empty()) return info.engname;
    return AsciiLower(info.FileName);
}

std::string MenuHint(std::string_view caption, std::string_view shortcutText) {
    std::string out;
    out.reserve(caption.size() + shortcutText.size() + 3);
    for (size_t i = 0; i < caption.size();) {
        if (caption.compare(i, 3, "...") == 0 || caption.compare(i, 3, "\xE2\x80\xA6") == 0) {
            i += 3;
            continue;
        }
        out += caption[i++];
    }
    if (!shortcutText.empty()) {
        out += " (";
        out += shortcutText;
        out += ")";
    }
    return out;
}

// ---------------------------------------------------------------------------
// The forms that take the texts.

struct TLangRegistryState {
    struct Item {
        uint64_t Id;
        LangApplyOrder Order;
        std::string Name;
        TLangApplyRegistry::ApplyFn Apply;
    };
    std::vector<Item> Items;  // sorted by (Order, Id)
    uint64_t NextId = 1;
};

TLangApplyRegistry::TLangApplyRegistry() : m_state(std::make_shared<TLangRegistryState>()) {}

TLangApplyRegistry::Handle& TLangApplyRegistry::Handle::operator=(Handle&& other) noexcept {
    if (this != &other) {
        Reset();
        m_state = std::move(other.m_state);
        m_id = other.m_id;
        other.m_state.reset();
    }
    return *this;
}

void TLangApplyRegistry::Handle::Reset() {
    if (auto state = m_state.lock()) {
        auto& items = state->Items;
        items.erase(std::remove_if(items.begin(), items.end(),
                                   [&](const auto& it) { return it.Id == m_id; }),
                    items.end());
    }
    m_state.reset();
}

TLangApplyRegistry::Handle TLangApplyRegistry::Register(LangApplyOrder order, std::string name,
                                                        ApplyFn apply) {
    const uint64_t id = m_state->NextId++;
    auto& items = m_state->Items;
    auto pos =
        std::upper_bound(items.begin(), items.end(), order, [](LangApplyOrder o, const auto& it) {
            return static_cast<int>(o) < static_cast<int>(it.Order);
        });
    items.insert(pos, {id, order, std::move(name), std::move(apply)});
    return Handle(m_state, id);
}

void TLangApplyRegistry::ApplyAll(const TLanguage& lang) const {
    // Served by id so that a form registering or leaving from inside a
    // callback neither invalidates the walk nor gets called after it left.
    std::vector<uint64_t> ids;
    ids.reserve(m_state->Items.size());
    for (const auto& it : m_state->Items) ids.push_back(it.Id);
    for (const uint64_t id : ids) {
        ApplyFn fn;
        for (const auto& it : m_state->Items) {
            if (it.Id == id) {
                fn = it.Apply;
                break;
            }
        }
        if (fn) fn(lang);
    }
}

std::vector<std::string> TLangApplyRegistry::Names() const {
    std::vector<std::string> names;
    for (const auto& it : m_state->Items) names.push_back(it.Name);
    return names;
}

size_t TLangApplyRegistry::Count() const {
    return m_state->Items.size();
}

// ---------------------------------------------------------------------------
// The language.

TLanguage::TLanguage(Platform* platform, std::string languageDir)
    : m_platform(platform), m_languageDir(std::move(languageDir)) {}

std::string TLanguage::LangFilePath(std::string_view name) const {
    return JoinPath(m_languageDir, AsciiLower(name) + ".lng");
}

std::string TLanguage::HelpFilePath(std::string_view name) const {
    return JoinPath(m_languageDir, AsciiLower(name) + ".help");
}

std::string TLanguage::FlagFilePath(std::string_view name) const {
    return JoinPath(m_languageDir, AsciiLower(name) + ".bmp");
}

std::string TLanguage::LookUp(LangSection section, std::string_view key) const {
    const auto it = m_index.find(IndexKey(section, key));
    if (it == m_index.end()) return std::string(key);
    return m_entries[it->second].Text;
}

std::string TLanguage::LookUpMessage(LangSection section, std::string_view key) const {
    return ReplaceDollarD(LookUp(section, key));
}

void TLanguage::RebuildIndex() {
    m_index.clear();
    m_index.reserve(m_entries.size());
    for (size_t i = 0; i < m_entries.size(); ++i) {
        m_index.emplace(IndexKey(m_entries[i].Section, m_entries[i].Key), i);  // keeps the first
    }
}

void TLanguage::LoadFromBytes(std::string_view bytes) {
    m_entries = ParseLangText(DecodeLangFileBytes(bytes));
    RebuildIndex();
}

void TLanguage::FreeTexts() {
    m_entries.clear();
    m_index.clear();
}

bool TLanguage::LoadAndApply(const std::string& path) {
    std::string bytes;
    if (!ReadSmallFile(path, kMaxFileSize, bytes)) {
        ShowMessage(FormatText(LookUp(LangSection::Options, "MS_CantFindLangFile"), path),
                    MsgKind::Warning);
        return false;
    }
    LoadFromBytes(bytes);
    m_forms.ApplyAll(*this);
    return true;
}

void TLanguage::BuildLangList() {
    m_langList.clear();
    std::error_code ec;
    if (!std::filesystem::is_directory(m_languageDir, ec)) {
        std::filesystem::create_directories(m_languageDir, ec);
        return;  // a new folder holds no language
    }
    std::filesystem::directory_iterator it(m_languageDir, ec);
    if (ec) return;
    for (const auto& entry : it) {
        const std::filesystem::path p = entry.path();
        if (!EqualsAsciiNoCase(p.extension().string(), ".lng")) continue;
        std::string bytes;
        if (!ReadSmallFile(p.string(), kMaxFileSize, bytes)) continue;
        LANG_INFO info;
        info.FileName = p.stem().string();
        if (!ParseLangInfo(DecodeLangFileBytes(bytes), info)) continue;
        if (info.engname.empty()) info.engname = info.FileName;
        m_langList.push_back(std::move(info));
    }
    // Ties are broken by file name so the order never depends on the folder's.
    std::sort(m_langList.begin(), m_langList.end(), [](const LANG_INFO& a, const LANG_INFO& b) {
        const std::string la = AsciiLower(a.engname);
        const std::string lb = AsciiLower(b.engname);
        if (la != lb) return la < lb;
        return a.FileName < b.FileName;
    });
}

MsgResult TLanguage::ShowMessage(const std::string& text, MsgKind kind) const {
    if (!m_platform) return MsgResult::Ok;
    return m_platform->ShowMessage(ReplaceDollarD(text), kAppTitle, kind);
}

MsgResult TLanguage::ShowMessageKey(LangSection section, std::string_view key, MsgKind kind) const {
    return ShowMessage(LookUp(section, key), kind);
}

}  // namespace orvel
