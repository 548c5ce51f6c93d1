#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orvel {

// The settings file engine: one in-memory list of text lines with three
// levels, sections ("[Name]"), keys ("   <Key> value" or "   <Key>") and
// sub-keys ("      Sub=value").
//
// Lines are compared after trimming (bytes up to and including the blank are
// removed at both ends), case-sensitively, as prefix tests. A section search
// runs over the whole buffer, a key search from the section line to the next
// "[" line, a sub-key search from the key line to the next "[" or "<" line.
// Lines that match nothing are kept as they are.
//
// The file holds 8-bit text; on this system that is UTF-8, kept byte for byte
// (a UTF-8 byte-order mark at the very start is dropped). Lines are split at
// CR LF, LF or a lone CR and written back ended by CR LF each.
class TIniBuffer {
public:
    // Files bigger than this are not settings files the program wrote; they
    // load as empty so a damaged file cannot make the program allocate
    // without bound.
    static constexpr uint64_t kMaxFileSize = 4u * 1024u * 1024u;

    struct Location {
        int Section = -1;
        int Key = -1;
        int SubKey = -1;
    };

    // Clears the buffer, then loads the file into it when it exists and can
    // be read. Never throws.
    void Open(const std::string& path);
    // Writes the buffer to a scratch file beside path and renames it over
    // path, so a crash mid-write never leaves a half-written file; then
    // clears the buffer. Throws IoError when the file cannot be written or
    // would be too big for Open to take back (the old file is then left
    // untouched).
    void Store(const std::string& path);
    // Whether Text() is small enough for Open to take it back.
    bool FitsReader() const;
    // Keeps the first two lines of every run of blank lines and drops the
    // rest; blank lines mean nothing to the reader.
    void SqueezeBlankRuns();

    // Replaces the buffer with the lines of text (as Open does with a file).
    void SetText(std::string_view text);
    // The buffer as the file would hold it: every line ended by CR LF.
    std::string Text() const;
    void Clear() { m_lines.clear(); }
    const std::vector<std::string>& Lines() const { return m_lines; }

    Location Locate(std::string_view section, std::string_view key, std::string_view subKey) const;

    std::string ReadString(std::string_view section, std::string_view key, std::string_view subKey,
                           const std::string& def) const;
    // A whole signed 32-bit decimal number, else def.
    int32_t ReadInteger(std::string_view section, std::string_view key, std::string_view subKey,
                        int32_t def) const;
    // Exactly "1" or "0", else def.
    bool ReadBool(std::string_view section, std::string_view key, std::string_view subKey,
                  bool def) const;

    void WriteString(std::string_view section, std::string_view key, std::string_view subKey,
                     std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, std::string_view subKey,
                      int32_t value);
    void WriteBool(std::string_view section, std::string_view key, std::string_view subKey,
                   bool value);

private:
    uint64_t TextSize() const;

    std::vector<std::string> m_lines;
};

}  // namespace orvel
