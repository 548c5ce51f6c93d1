#include "game/EntryFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <limits>

#include "base/FileRead.h"

namespace fs = std::filesystem;

namespace orvel {

TEntryKey ThumbEntryKey() {
    return {ThumbKey, false};
}

TEntryKey TextEntryKey(int index) {
    return {static_cast<uint8_t>((TextKeyBase + index) & 0xFF), true};
}

TEntryKey PictureEntryKey(int index) {
    return {static_cast<uint8_t>((PicKeyBase + index) & 0xFF), true};
}

uint8_t ScrambleBytes(uint8_t* data, size_t size, uint8_t key, bool rotates) {
    for (size_t i = 0; i < size; ++i) {
        data[i] ^= key;
        if (rotates) key = static_cast<uint8_t>((key << 7) | (key >> 1));
    }
    return key;
}

// ---------------------------------------------------------------------------

TEntryReader::TEntryReader(std::string failText, MsgSection section)
    : m_failText(std::move(failText)), m_section(section) {}

TEntryReader::~TEntryReader() {
    if (m_file) std::fclose(m_file);
}

Result TEntryReader::Fail(const std::string& detail) const {
    return Result::Fail(m_failText, {}, detail, m_section);
}

Result TEntryReader::OpenFile(const std::string& path) {
    // Opening a named pipe would block and a folder reads as nothing: only
    // regular files are opened.
    const std::string kind = DescribeNonFile(path);
    if (!kind.empty())
        return Fail(path + ": " + (kind == "missing" ? "no such file" : "is " + kind));
    m_file = std::fopen(path.c_str(), "rb");
    if (!m_file) return Fail(path + ": " + std::strerror(errno));
    // The size of what was opened, not of whatever the name points to by now.
    struct stat st {};
    if (fstat(fileno(m_file), &st) != 0 || !S_ISREG(st.st_mode))
        return Fail(path + ": cannot tell the file's size");
    m_size = static_cast<int64_t>(st.st_size);
    m_pos = 0;
    return Result::Success();
}

void TEntryReader::OpenBytes(const uint8_t* data, size_t size) {
    m_data = data;
    m_size = static_cast<int64_t>(size);
    m_pos = 0;
}

Result TEntryReader::Read(void* dst, size_t size, const std::string& what) {
    if (static_cast<uint64_t>(Remaining()) < size)
        return Fail(what + " runs past the end of the file");
    if (m_data) {
        if (size) std::memcpy(dst, m_data + m_pos, size);
    } else if (std::fread(dst, 1, size, m_file) != size) {
        return Fail(what + ": the file cannot be read");
    }
    m_pos += static_cast<int64_t>(size);
    return Result::Success();
}

Result TEntryReader::Seek(int64_t offset, const std::string& what) {
    if (offset < 0 || offset > m_size) return Fail(what + " lies outside the file");
    if (m_file && fseeko(m_file, static_cast<off_t>(offset), SEEK_SET) != 0)
        return Fail(what + ": the file cannot be read");
    m_pos = offset;
    return Result::Success();
}

Result TEntryReader::ReadInt32(int32_t& value, const std::string& what) {
    uint8_t b[4];
    if (Result r = Read(b, 4, what); !r) return r;
    value = static_cast<int32_t>(static_cast<uint32_t>(b[0]) | (static_cast<uint32_t>(b[1]) << 8) |
                                 (static_cast<uint32_t>(b[2]) << 16) |
                                 (static_cast<uint32_t>(b[3]) << 24));
    return Result::Success();
}

Result TEntryReader::ReadEntryLength(size_t& length, size_t limit, const std::string& what) {
    int32_t n = 0;
    if (Result r = ReadInt32(n, what + " length"); !r) return r;
    if (n < 0) return Fail(what + " has a negative length");
    if (static_cast<uint64_t>(n) > limit)
        return Fail(what + " is larger than " + std::to_string(limit) + " bytes");
    if (n > Remaining())
        return Fail(what + " is longer than the rest of the file (" + std::to_string(n) + " > " +
                    std::to_string(Remaining()) + " bytes)");
    length = static_cast<size_t>(n);
    return Result::Success();
}

Result TEntryReader::ReadEntry(std::vector<uint8_t>& out, TEntryKey key, size_t limit,
                               const std::string& what) {
    size_t n = 0;
    if (Result r = ReadEntryLength(n, limit, what); !r) return r;
    out.resize(n);
    uint8_t k = key.Start;
    for (size_t done = 0; done < n; done += kEntryChunk) {
        const size_t chunk = std::min(kEntryChunk, n - done);
        if (Result r = Read(out.data() + done, chunk, what); !r) return r;
        k = ScrambleBytes(out.data() + done, chunk, k, key.Rotates);
    }
    return Result::Success();
}

Result TEntryReader::SkipEntry(size_t limit, const std::string& what) {
    size_t n = 0;
    if (Result r = ReadEntryLength(n, limit, what); !r) return r;
    if (m_file && fseeko(m_file, static_cast<off_t>(n), SEEK_CUR) != 0)
        return Fail(what + ": the file cannot be read");
    m_pos += static_cast<int64_t>(n);
    return Result::Success();
}

// ---------------------------------------------------------------------------

TEntryWriter::TEntryWriter(std::string failText, MsgSection section)
    : m_failText(std::move(failText)), m_section(section) {}

TEntryWriter::~TEntryWriter() {
    Close();
    if (!m_scratch.empty()) {
        std::error_code ec;
        fs::remove(m_scratch, ec);
    }
}

void TEntryWriter::Close() {
    if (m_file && std::fclose(m_file) != 0 && m_error.empty()) m_error = std::strerror(errno);
    m_file = nullptr;
}

Result TEntryWriter::Open(const std::string& path) {
    m_path = path;
    m_scratch = path + ".writing-" + std::to_string(::getpid());
    m_file = std::fopen(m_scratch.c_str(), "wb");
    if (!m_file) {
        const std::string why = std::strerror(errno);
        m_scratch.clear();
        return Result::Fail(m_failText, {}, path + ": " + why, m_section);
    }
    return Result::Success();
}

void TEntryWriter::Write(const void* data, size_t size) {
    if (!m_file || !m_error.empty() || size == 0) return;
    if (std::fwrite(data, 1, size, m_file) != size) m_error = std::strerror(errno);
}

void TEntryWriter::WriteInt32(int32_t value) {
    const auto v = static_cast<uint32_t>(value);
    const uint8_t b[4] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8),
                          static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 24)};
    Write(b, 4);
}

void TEntryWriter::WriteEntry(const uint8_t* data, size_t size, TEntryKey key) {
    if (size > static_cast<size_t>(std::numeric_limits<int32_t>::max())) {
        if (m_error.empty()) m_error = "an entry is too large";
        return;
    }
    WriteInt32(static_cast<int32_t>(size));
    std::vector<uint8_t> chunk;
    uint8_t k = key.Start;
    for (size_t done = 0; done < size; done += kEntryChunk) {
        chunk.assign(data + done, data + done + std::min(kEntryChunk, size - done));
        k = ScrambleBytes(chunk.data(), chunk.size(), k, key.Rotates);
        Write(chunk.data(), chunk.size());
    }
}

Result TEntryWriter::Commit() {
    if (m_scratch.empty() && m_error.empty()) m_error = "the file was not opened";
    if (m_file && std::fflush(m_file) != 0 && m_error.empty()) m_error = std::strerror(errno);
    Close();
    if (m_error.empty() && !m_scratch.empty()) {
        std::error_code ec;
        fs::rename(m_scratch, m_path, ec);
        if (ec) m_error = ec.message();
    }
    if (!m_error.empty()) return Result::Fail(m_failText, {}, m_path + ": " + m_error, m_section);
    m_scratch.clear();
    return Result::Success();
}

}  // namespace orvel
