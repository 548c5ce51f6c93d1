#include "game/SafeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

namespace orvel {

namespace {

// write() may take fewer bytes than asked, and signals may interrupt it.
bool WriteAll(int fd, const uint8_t* p, size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, p, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        p += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

// The rename is only durable once the folder's own entry list is on disk.
bool SyncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool ok = ::fsync(fd) == 0 || errno == EINVAL;  // some file systems cannot sync folders
    ::close(fd);
    return ok;
}

}  // namespace

std::string FolderOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? "./" : path.substr(0, slash + 1);
}

TSafeFile::TSafeFile(std::string target, std::string scratch, std::string errorKey,
                     const TWriteFaults* faults)
    : m_target(std::move(target)),
      m_scratch(std::move(scratch)),
      m_errorKey(std::move(errorKey)),
      m_faults(faults) {}

TSafeFile::~TSafeFile() {
    if (!m_crashed) {
        Discard();
    } else if (m_fd >= 0) {
        ::close(m_fd);  // the half-written scratch file stays, as after a kill
    }
}

void TSafeFile::Discard() {
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
        ::unlink(m_scratch.c_str());
    }
}

Result TSafeFile::Failure() const {
    return Result::Fail(m_errorKey, {m_target}, m_error);
}

Result TSafeFile::Open() {
    m_fd = ::open(m_scratch.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (m_fd < 0) {
        m_error = m_scratch + ": " + std::strerror(errno);
        return Failure();
    }
    m_pos = 0;
    return Result::Success();
}

// Cuts a write short where a planted fault says the disk is full.
bool TSafeFile::Planted(size_t& size) {
    if (!m_faults || m_faults->FailAfterBytes < 0) return false;
    const int64_t room = m_faults->FailAfterBytes - m_pos;
    if (room >= static_cast<int64_t>(size)) return false;
    size = static_cast<size_t>(room > 0 ? room : 0);
    return true;
}

void TSafeFile::Write(const void* data, size_t size) {
    if (m_fd < 0 || !m_error.empty() || size == 0) return;
    const bool fault = Planted(size);
    if (!WriteAll(m_fd, static_cast<const uint8_t*>(data), size)) {
        m_error = std::strerror(errno);
        return;
    }
    m_pos += static_cast<int64_t>(size);
    if (fault) {
        m_error = std::strerror(ENOSPC);
        m_crashed = m_faults->Crash;
    }
}

void TSafeFile::WriteInt32(int32_t value) {
    const auto v = static_cast<uint32_t>(value);
    const uint8_t b[4] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8),
                          static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 24)};
    Write(b, 4);
}

void TSafeFile::PatchInt32(int64_t offset, int32_t value) {
    if (m_fd < 0 || !m_error.empty()) return;
    const auto v = static_cast<uint32_t>(value);
    const uint8_t b[4] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8),
                          static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 24)};
    if (::pwrite(m_fd, b, 4, static_cast<off_t>(offset)) != 4) m_error = std::strerror(errno);
}

Result TSafeFile::Finish() {
    if (m_fd < 0 && m_error.empty()) m_error = "the file was not opened";
    if (m_error.empty() && ::fsync(m_fd) != 0) m_error = std::strerror(errno);
    if (m_crashed) return Failure();
    if (!m_error.empty()) {
        Discard();
        return Failure();
    }
    const bool closed = ::close(m_fd) == 0;
    m_fd = -1;
    if (!closed) {
        m_error = std::strerror(errno);
        ::unlink(m_scratch.c_str());
        return Failure();
    }
    m_finished = true;
    return Result::Success();
}

Result TSafeFile::Commit() {
    if (Result r = Finish(); !r) return r;
    Result moved = MoveIntoPlace(m_scratch, m_target, m_errorKey, m_faults);
    if (!moved && !(m_faults && m_faults->Crash)) ::unlink(m_scratch.c_str());
    return moved;
}

Result MoveIntoPlace(const std::string& scratch, const std::string& target,
                     const std::string& errorKey, const TWriteFaults* faults) {
    if (faults && faults->FailRename)
        return Result::Fail(errorKey, {target}, "the rename failed");
    if (::rename(scratch.c_str(), target.c_str()) != 0)
        return Result::Fail(errorKey, {target}, std::strerror(errno));
    if (!SyncFolder(FolderOf(target)))
        return Result::Fail(errorKey, {target}, std::strerror(errno));
    return Result::Success();
}

Result CopyFileSafely(const std::string& source, const std::string& target,
                      const std::string& scratch, const std::string& errorKey,
                      const TWriteFaults* faults) {
    std::FILE* in = std::fopen(source.c_str(), "rb");
    if (!in) return Result::Fail(errorKey, {target}, source + ": " + std::strerror(errno));
    TSafeFile out(target, scratch, errorKey, faults);
    Result opened = out.Open();
    std::vector<uint8_t> chunk(size_t{1} << 20);
    while (opened && !out.Failed()) {
        const size_t n = std::fread(chunk.data(), 1, chunk.size(), in);
        if (n == 0) break;
        out.Write(chunk.data(), n);
    }
    const bool readFailed = std::ferror(in) != 0;
    std::fclose(in);
    if (!opened) return opened;
    if (readFailed) return Result::Fail(errorKey, {target}, source + ": the file cannot be read");
    return out.Commit();
}

}  // namespace orvel

namespace orvel {

bool SyncFolderOf(const std::string& path) {
    return SyncFolder(FolderOf(path));
}

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& out, int64_t maxSize) {
    std::FILE* in = std::fopen(path.c_str(), "rb");
    if (!in) return false;
    struct stat st {};
    bool ok = ::fstat(::fileno(in), &st) == 0 && st.st_size <= maxSize;
    if (ok) {
        out.resize(static_cast<size_t>(st.st_size));
        ok = std::fread(out.data(), 1, out.size(), in) == out.size();
    }
    std::fclose(in);
    return ok;
}

}  // namespace orvel
