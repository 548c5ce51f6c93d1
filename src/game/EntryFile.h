#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "base/Result.h"

namespace orvel {

// Start keys of the scrambled entries of jigsaw files (and, for ThumbKey, of
// saved games). Every writer and reader takes them from here: changing one
// makes every file written before unreadable.
constexpr uint8_t ThumbKey = 0x9D;
constexpr uint8_t TextKeyBase = 0x4E;
constexpr uint8_t PicKeyBase = 0xB3;

// Entries are copied in chunks of this many bytes; the key runs on from one
// chunk into the next.
constexpr size_t kEntryChunk = 50000;

// How an entry is scrambled: its start key, and whether the key turns right
// by one bit after every byte (rotating) or stays (fixed).
struct TEntryKey {
    uint8_t Start = 0;
    bool Rotates = false;
};
TEntryKey ThumbEntryKey();             // ThumbKey, fixed
TEntryKey TextEntryKey(int index);     // (TextKeyBase + index) mod 256, rotating
TEntryKey PictureEntryKey(int index);  // (PicKeyBase + index) mod 256, rotating

// XORs size bytes with the running key that starts at key; returns the key
// for the byte that follows, so that an entry can be done piece by piece.
// Scrambling and unscrambling are the same operation.
uint8_t ScrambleBytes(uint8_t* data, size_t size, uint8_t key, bool rotates);

// Reads a file of fixed fields and entries (an i32 length n, then n
// scrambled bytes), from disk or from memory. Every read is checked against
// what is left of the file before anything is allocated, so no length field
// can make it allocate more than the file holds. A failure carries the
// format's own text, given at construction, and a detail saying what was wrong.
class TEntryReader {
public:
    TEntryReader(std::string failText, MsgSection section);
    ~TEntryReader();
    TEntryReader(const TEntryReader&) = delete;
    TEntryReader& operator=(const TEntryReader&) = delete;

    // A regular file; anything else (missing, a folder, a pipe) fails.
    Result OpenFile(const std::string& path);
    // Bytes that stay owned by the caller and must outlive the reader.
    void OpenBytes(const uint8_t* data, size_t size);

    int64_t Size() const { return m_size; }
    int64_t Position() const { return m_pos; }
    int64_t Remaining() const { return m_size - m_pos; }

    Result Read(void* dst, size_t size, const std::string& what);
    // Moves to offset, which must lie inside the file (its end included).
    Result Seek(int64_t offset, const std::string& what);
    Result ReadInt32(int32_t& value, const std::string& what);
    // Unpacks the next entry into out. Its length must not be negative, above
    // limit, or beyond the end of the file.
    Result ReadEntry(std::vector<uint8_t>& out, TEntryKey key, size_t limit,
                     const std::string& what);
    // Steps over the next entry, checking its length the same way.
    Result SkipEntry(size_t limit, const std::string& what);

    Result Fail(const std::string& detail) const;

private:
    Result ReadEntryLength(size_t& length, size_t limit, const std::string& what);

    std::string m_failText;
    MsgSection m_section;
    std::FILE* m_file = nullptr;
    const uint8_t* m_data = nullptr;
    int64_t m_size = 0;
    int64_t m_pos = 0;
};

// Writes such a file through a scratch file beside the target, which takes
// the target's place only when everything was written, so a failed write
// never leaves a half file under the target's name. Write errors are
// collected and reported by Commit.
class TEntryWriter {
public:
    TEntryWriter(std::string failText, MsgSection section);
    ~TEntryWriter();  // removes the scratch file of an uncommitted write
    TEntryWriter(const TEntryWriter&) = delete;
    TEntryWriter& operator=(const TEntryWriter&) = delete;

    Result Open(const std::string& path);
    void Write(const void* data, size_t size);
    void WriteInt32(int32_t value);
    // Writes the length and the bytes scrambled with key, chunk by chunk.
    void WriteEntry(const uint8_t* data, size_t size, TEntryKey key);
    Result Commit();

private:
    void Close();

    std::string m_failText;
    MsgSection m_section;
    std::string m_path;
    std::string m_scratch;
    std::FILE* m_file = nullptr;
    std::string m_error;  // the first write error
};

}  // namespace orvel
