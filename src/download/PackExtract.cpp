#include "download/PackExtract.h"

#include <archive.h>
#include <archive_entry.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <set>

#include "base/Text.h"

namespace fs = std::filesystem;

namespace orvel {
namespace {

// Files of these kinds may be replaced by a pack (the jigsaw and its
// preview); any other file already in the folder is the player's own.
bool ReplaceableKind(const fs::path& name) {
    const std::string ext = AsciiLower(name.extension().string());
    return ext == ".orv" || ext == ".jpg";
}

std::vector<std::string> NameParts(const std::string& name) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= name.size()) {
        size_t end = name.find('/', start);
        if (end == std::string::npos) end = name.size();
        parts.push_back(name.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

// Whether the folder already holds something whose name differs from leaf
// only in case, or is leaf itself but is no file a pack may replace.
std::string ProtectedClash(const fs::path& folder, const std::string& leaf) {
    std::error_code ec;
    const std::string folded = AsciiLower(leaf);
    for (const fs::directory_entry& item : fs::directory_iterator(folder, ec)) {
        const std::string name = item.path().filename().string();
        if (AsciiLower(name) != folded) continue;
        if (name != leaf) return "folds onto the existing " + name;
        if (!item.is_regular_file(ec) || item.is_symlink(ec)) return "an existing item is no file";
        if (!ReplaceableKind(name)) return "would replace the existing " + name;
    }
    return {};
}

class TUnpacker {
public:
    TUnpacker(const std::string& dest, const TExtractLimits& limits, uint64_t packedSize)
        : m_dest(dest), m_limits(limits), m_packedSize(packedSize) {}
    ~TUnpacker() { Rollback(); }

    TExtractReport Run(const std::string& archivePath);

private:
    struct TPending {
        fs::path Scratch;
        fs::path Final;
    };

    bool Open(const std::string& archivePath);
    bool Walk();
    bool Entry(archive_entry* entry);
    bool PlaceFor(const std::string& name, fs::path& finalPath);
    bool MakeFolders(const fs::path& folder);
    bool CopyData(int fd, const std::string& name);
    bool CheckGrowth(uint64_t entryBytes, const std::string& name);
    bool Fail(ExtractStatus status, const std::string& entry, const std::string& message);
    bool Commit();
    void Rollback();

    fs::path m_dest;
    TExtractLimits m_limits;
    uint64_t m_packedSize = 0;
    uint64_t m_total = 0;
    archive* m_archive = nullptr;
    std::vector<TPending> m_pending;
    std::vector<fs::path> m_madeFolders;
    std::set<std::string> m_foldedNames;
    TExtractReport m_report;
};

bool TUnpacker::Fail(ExtractStatus status, const std::string& entry, const std::string& message) {
    m_report.Status = status;
    m_report.Entry = entry;
    m_report.Message = message;
    return false;
}

bool TUnpacker::Open(const std::string& archivePath) {
    m_archive = archive_read_new();
    // Only the kinds a pack may be; every other reader stays out of reach.
    archive_read_support_format_rar(m_archive);
    archive_read_support_format_rar5(m_archive);
    archive_read_support_format_zip(m_archive);
    archive_read_support_format_7zip(m_archive);
    archive_read_support_format_tar(m_archive);
    archive_read_support_filter_gzip(m_archive);
    if (archive_read_open_filename(m_archive, archivePath.c_str(), 64 * 1024) != ARCHIVE_OK) {
        const char* why = archive_error_string(m_archive);
        return Fail(ExtractStatus::OpenFailed, {}, why ? why : "not a pack");
    }
    return true;
}

TExtractReport TUnpacker::Run(const std::string& archivePath) {
    if (Open(archivePath) && Walk()) Commit();
    if (m_archive) archive_read_free(m_archive);
    m_archive = nullptr;
    if (!m_report.Ok()) {
        Rollback();
        m_report.Written.clear();
    }
    return m_report;
}

bool TUnpacker::Walk() {
    for (;;) {
        archive_entry* entry = nullptr;
        const int r = archive_read_next_header(m_archive, &entry);
        if (r == ARCHIVE_EOF) return true;
        if (r != ARCHIVE_OK && r != ARCHIVE_WARN) {
            // A damaged header ends the walk; what came before it stands.
            m_report.HeaderBroken = true;
            return true;
        }
        if (!Entry(entry)) return false;
    }
}

bool TUnpacker::Entry(archive_entry* entry) {
    const char* raw = archive_entry_pathname(entry);
    std::string name = raw ? raw : "";
    const mode_t type = archive_entry_filetype(entry);
    if (type == AE_IFDIR) {
        if (!name.empty() && name.back() == '/') name.pop_back();
        if (!SafeEntryName(name)) return Fail(ExtractStatus::EntryRefused, name, "unsafe name");
        return true;  // folders are made when a file needs them
    }
    if (!SafeEntryName(name)) return Fail(ExtractStatus::EntryRefused, name, "unsafe name");
    if (type != AE_IFREG || archive_entry_hardlink(entry) || archive_entry_symlink(entry))
        return Fail(ExtractStatus::EntryRefused, name, "not a regular file");
    if (archive_entry_size_is_set(entry)) {
        const int64_t claimed = archive_entry_size(entry);
        if (claimed < 0 || static_cast<uint64_t>(claimed) > m_limits.MaxEntryBytes ||
            m_total + static_cast<uint64_t>(claimed) > m_limits.MaxPackBytes)
            return Fail(ExtractStatus::EntryRefused, name, "too large");
    }
    if (!m_foldedNames.insert(AsciiLower(name)).second)
        return Fail(ExtractStatus::EntryRefused, name, "the pack holds this name twice");
    fs::path finalPath;
    if (!PlaceFor(name, finalPath)) return false;
    const fs::path scratch = finalPath.parent_path() /
                             (".~orvel-unpack-" + std::to_string(m_pending.size()) + ".part");
    const int fd = ::open(scratch.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0) return Fail(ExtractStatus::EntryFailed, name, std::strerror(errno));
    m_pending.push_back({scratch, finalPath});
    const bool copied = CopyData(fd, name);
    if (::close(fd) != 0 && copied)
        return Fail(ExtractStatus::EntryFailed, name, std::strerror(errno));
    return copied;
}

// The entry's final place inside the folder, with its folders made; refuses
// a place reached through anything but a real folder, or a protected name.
bool TUnpacker::PlaceFor(const std::string& name, fs::path& finalPath) {
    const std::vector<std::string> parts = NameParts(name);
    fs::path folder = m_dest;
    for (size_t i = 0; i + 1 < parts.size(); ++i) {
        const fs::path next = folder / parts[i];
        std::error_code ec;
        const fs::file_status status = fs::symlink_status(next, ec);
        if (fs::exists(status) && !fs::is_directory(status))
            return Fail(ExtractStatus::EntryRefused, name, "reached through something that is no folder");
        if (!fs::exists(status))
            if (std::string clash = ProtectedClash(folder, parts[i]); !clash.empty())
                return Fail(ExtractStatus::EntryRefused, name, clash);
        folder = next;
        if (!MakeFolders(folder)) return Fail(ExtractStatus::EntryFailed, name, "cannot make a folder");
    }
    if (std::string clash = ProtectedClash(folder, parts.back()); !clash.empty())
        return Fail(ExtractStatus::EntryRefused, name, clash);
    finalPath = folder / parts.back();
    return true;
}

bool TUnpacker::MakeFolders(const fs::path& folder) {
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(folder, ec);
    if (fs::is_directory(status)) return true;
    if (fs::exists(status)) return false;
    if (!fs::create_directory(folder, ec)) return false;
    m_madeFolders.push_back(folder);
    return true;
}

bool TUnpacker::CheckGrowth(uint64_t entryBytes, const std::string& name) {
    const uint64_t ratioCap = m_limits.MaxRatio * m_packedSize + m_limits.Slack;
    if (entryBytes > m_limits.MaxEntryBytes || m_total > m_limits.MaxPackBytes || m_total > ratioCap)
        return Fail(ExtractStatus::EntryRefused, name, "expands beyond the allowed size");
    return true;
}

bool TUnpacker::CopyData(int fd, const std::string& name) {
    std::vector<char> buffer(64 * 1024);
    uint64_t entryBytes = 0;
    for (;;) {
        const la_ssize_t got = archive_read_data(m_archive, buffer.data(), buffer.size());
        if (got == 0) return true;
        if (got < 0) {
            const char* why = archive_error_string(m_archive);
            return Fail(ExtractStatus::EntryFailed, name, why ? why : "damaged data");
        }
        entryBytes += static_cast<uint64_t>(got);
        m_total += static_cast<uint64_t>(got);
        if (!CheckGrowth(entryBytes, name)) return false;
        for (la_ssize_t done = 0; done < got;) {
            const ssize_t n = ::write(fd, buffer.data() + done, static_cast<size_t>(got - done));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return Fail(ExtractStatus::EntryFailed, name, std::strerror(errno));
            done += n;
        }
    }
}

bool TUnpacker::Commit() {
    for (TPending& p : m_pending) {
        std::error_code ec;
        fs::rename(p.Scratch, p.Final, ec);
        if (ec) return Fail(ExtractStatus::EntryFailed, p.Final.string(), ec.message());
        m_report.Written.push_back(p.Final.string());
        p.Scratch.clear();
    }
    m_pending.clear();
    m_madeFolders.clear();
    return true;
}

void TUnpacker::Rollback() {
    std::error_code ec;
    for (const TPending& p : m_pending)
        if (!p.Scratch.empty()) fs::remove(p.Scratch, ec);
    m_pending.clear();
    for (auto it = m_madeFolders.rbegin(); it != m_madeFolders.rend(); ++it) fs::remove(*it, ec);
    m_madeFolders.clear();
}

}  // namespace

bool SafeEntryName(const std::string& name) {
    if (name.empty() || name.front() == '/') return false;
    for (unsigned char c : name)
        if (c < 0x20 || c == 0x7F || c == '\\' || c == ':') return false;
    for (const std::string& part : NameParts(name))
        if (part.empty() || part.front() == '.') return false;
    return true;
}

TExtractReport ExtractPack(const std::string& archivePath, const std::string& destDir,
                           const TExtractLimits& limits) {
    std::error_code ec;
    const uintmax_t packed = fs::file_size(archivePath, ec);
    TUnpacker unpacker(destDir, limits, ec ? 0 : packed);
    return unpacker.Run(archivePath);
}

}  // namespace orvel
