#include "settings/IniFile.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "base/FileRead.h"
#include "base/IoError.h"
#include "base/Text.h"

namespace orvel {

namespace {

bool StartsWith(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && s.compare(0, prefix.size(), prefix) == 0;
}

std::string SectionLine(std::string_view section) {
    return "[" + std::string(TrimView(section)) + "]";
}
std::string KeyTag(std::string_view key) {
    return "<" + std::string(TrimView(key)) + ">";
}
std::string SubKeyTag(std::string_view subKey) {
    return std::string(TrimView(subKey)) + "=";
}

}  // namespace

void TIniBuffer::SetText(std::string_view text) {
    m_lines.clear();
    if (StartsWith(text, "\xEF\xBB\xBF")) text.remove_prefix(3);
    size_t start = 0;
    const size_t n = text.size();
    size_t i = 0;
    while (i < n) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            m_lines.emplace_back(text.substr(start, i - start));
            if (c == '\r' && i + 1 < n && text[i + 1] == '\n') ++i;
            start = i + 1;
        }
        ++i;
    }
    // A last line without a line end still counts; a final line end adds
    // no empty line.
    if (start < n) m_lines.emplace_back(text.substr(start));
}

uint64_t TIniBuffer::TextSize() const {
    uint64_t total = 0;
    for (const auto& line : m_lines) total += line.size() + 2;
    return total;
}

bool TIniBuffer::FitsReader() const {
    return TextSize() <= kMaxFileSize;
}

void TIniBuffer::SqueezeBlankRuns() {
    std::vector<std::string> kept;
    int run = 0;
    for (std::string& line : m_lines) {
        run = TrimView(line).empty() ? run + 1 : 0;
        if (run <= 2) kept.push_back(std::move(line));
    }
    m_lines = std::move(kept);
}

std::string TIniBuffer::Text() const {
    std::string out;
    out.reserve(TextSize());
    for (const auto& line : m_lines) {
        out += line;
        out += "\r\n";
    }
    return out;
}

void TIniBuffer::Open(const std::string& path) {
    m_lines.clear();
    std::string bytes;
    if (ReadSmallFile(path, kMaxFileSize, bytes)) SetText(bytes);
}

void TIniBuffer::Store(const std::string& path) {
    if (!FitsReader()) throw IoError("Too big to be read back: " + path);
    const std::string text = Text();
    const std::string scratch = path + ".tmp";
    {
        std::ofstream out(scratch, std::ios::binary | std::ios::trunc);
        if (!out) throw IoError("Cannot create " + scratch);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        out.flush();
        if (!out) {
            out.close();
            std::remove(scratch.c_str());
            throw IoError("Cannot write " + scratch);
        }
    }
    std::error_code ec;
    std::filesystem::rename(scratch, path, ec);
    if (ec) {
        std::remove(scratch.c_str());
        throw IoError("Cannot replace " + path + ": " + ec.message());
    }
    m_lines.clear();
}

TIniBuffer::Location TIniBuffer::Locate(std::string_view section, std::string_view key,
                                        std::string_view subKey) const {
    Location loc;
    const int count = static_cast<int>(m_lines.size());
    const std::string secLine = SectionLine(section);
    for (int i = 0; i < count; ++i) {
        if (StartsWith(TrimView(m_lines[i]), secLine)) {
            loc.Section = i;
            break;
        }
    }
    if (loc.Section < 0) return loc;
    const std::string keyTag = KeyTag(key);
    for (int i = loc.Section + 1; i < count; ++i) {
        const std::string_view t = TrimView(m_lines[i]);
        if (StartsWith(t, "[")) break;
        if (StartsWith(t, keyTag)) {
            loc.Key = i;
            break;
        }
    }
    if (loc.Key < 0 || TrimView(subKey).empty()) return loc;
    const std::string subTag = SubKeyTag(subKey);
    for (int i = loc.Key + 1; i < count; ++i) {
        const std::string_view t = TrimView(m_lines[i]);
        if (StartsWith(t, "[") || StartsWith(t, "<")) break;
        if (StartsWith(t, subTag)) {
            loc.SubKey = i;
            break;
        }
    }
    return loc;
}

std::string TIniBuffer::ReadString(std::string_view section, std::string_view key,
                                   std::string_view subKey, const std::string& def) const {
    const Location loc = Locate(section, key, subKey);
    if (loc.Key < 0) return def;
    const bool hasSub = !TrimView(subKey).empty();
    if (hasSub && loc.SubKey < 0) return def;
    const std::string& line = m_lines[hasSub ? loc.SubKey : loc.Key];
    const std::string tag = hasSub ? SubKeyTag(subKey) : KeyTag(key);
    // The line matched after trimming, so the tag occurs in the raw line.
    const size_t pos = line.find(tag);
    if (pos == std::string::npos) return def;
    return std::string(TrimView(std::string_view(line).substr(pos + tag.size())));
}

int32_t TIniBuffer::ReadInteger(std::string_view section, std::string_view key,
                                std::string_view subKey, int32_t def) const {
    const std::string text = ReadString(section, key, subKey, std::string());
    int32_t value = 0;
    return ParseInt32(text, value) ? value : def;
}

bool TIniBuffer::ReadBool(std::string_view section, std::string_view key, std::string_view subKey,
                          bool def) const {
    const std::string text = ReadString(section, key, subKey, std::string());
    if (text == "1") return true;
    if (text == "0") return false;
    return def;
}

void TIniBuffer::WriteString(std::string_view section, std::string_view key,
                             std::string_view subKey, std::string_view rawValue) {
    // A line break inside a value (a file name may hold one) would split the
    // line and plant a stray key in the file; it is written as a blank.
    std::string value(rawValue);
    for (char& c : value) {
        if (c == '\r' || c == '\n') c = ' ';
    }
    Location loc = Locate(section, key, subKey);
    const bool hasSub = !TrimView(subKey).empty();
    const std::string keyLine = "   " + KeyTag(key);
    const std::string subLine = hasSub ? "      " + SubKeyTag(subKey) + value : std::string();
    if (loc.Section < 0) {
        if (!m_lines.empty()) {
            m_lines.emplace_back();
            m_lines.emplace_back();
        }
        m_lines.push_back(SectionLine(section));
        loc.Section = static_cast<int>(m_lines.size()) - 1;
    }
    if (loc.Key < 0) {
        if (!hasSub) {
            m_lines.insert(m_lines.begin() + loc.Section + 1, keyLine + " " + value);
        } else {
            m_lines.insert(m_lines.begin() + loc.Section + 1, keyLine);
            m_lines.insert(m_lines.begin() + loc.Section + 2, subLine);
        }
        return;
    }
    if (!hasSub) {
        m_lines[loc.Key] = keyLine + " " + value;
    } else if (loc.SubKey >= 0) {
        m_lines[loc.SubKey] = subLine;
    } else {
        m_lines.insert(m_lines.begin() + loc.Key + 1, subLine);
    }
}

void TIniBuffer::WriteInteger(std::string_view section, std::string_view key,
                              std::string_view subKey, int32_t value) {
    WriteString(section, key, subKey, std::to_string(value));
}

void TIniBuffer::WriteBool(std::string_view section, std::string_view key, std::string_view subKey,
                           bool value) {
    WriteString(section, key, subKey, value ? "1" : "0");
}

}  // namespace orvel
