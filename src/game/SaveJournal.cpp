#include "game/SaveJournal.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "game/SavedGameFile.h"

namespace orvel {

namespace {

// The journal, little-endian:
//   0   8 bytes   "ORVELJN1"
//   8   i32       the save's GameSeed
//   12  i32       the save's state offset
//   16  i64       the save's size
//   24  u64       the save's inode
//   32  i64       n = the state's length
//   40  n bytes   the state
//   .   u64       FNV-1a over everything before it
constexpr char kJournalMagic[] = "ORVELJN1";
constexpr size_t kMagicSize = 8;
constexpr size_t kHeadSize = 40;
constexpr size_t kSumSize = 8;
// No state block comes near this; anything longer is not a journal.
constexpr int64_t kMaxJournalSize = int64_t{64} << 20;

// What binds a journal to the one file it was written for.
struct TSaveIdentity {
    int32_t Seed = 0;
    int32_t StateOffset = 0;
    int64_t Size = 0;
    uint64_t Inode = 0;
    bool operator==(const TSaveIdentity&) const = default;
};

uint64_t Fnv1a(const uint8_t* p, size_t n) {
    uint64_t h = 0xcbf29ce484222325ULL;
    for (size_t i = 0; i < n; ++i) h = (h ^ p[i]) * 0x100000001b3ULL;
    return h;
}

void PutLe(std::vector<uint8_t>& out, uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

uint64_t GetLe(const uint8_t* p, int bytes) {
    uint64_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | p[i];
    return v;
}

// Closes the descriptor however the routine ends.
class TFd {
public:
    explicit TFd(int fd) : m_fd(fd) {}
    ~TFd() {
        if (m_fd >= 0) ::close(m_fd);
    }
    TFd(const TFd&) = delete;
    TFd& operator=(const TFd&) = delete;
    int Get() const { return m_fd; }
    bool Open() const { return m_fd >= 0; }

private:
    int m_fd;
};

bool PWriteAll(int fd, const uint8_t* p, size_t size, int64_t offset) {
    while (size > 0) {
        const ssize_t n = ::pwrite(fd, p, size, static_cast<off_t>(offset));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        p += n;
        offset += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

bool PReadAll(int fd, uint8_t* p, size_t size, int64_t offset) {
    while (size > 0) {
        const ssize_t n = ::pread(fd, p, size, static_cast<off_t>(offset));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        p += n;
        offset += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

bool IdentityOf(int fd, TSaveIdentity& id) {
    struct stat st {};
    uint8_t fixed[8];
    if (::fstat(fd, &st) != 0 || !PReadAll(fd, fixed, sizeof fixed, kSavedGameMagicSize))
        return false;
    id.Seed = static_cast<int32_t>(GetLe(fixed, 4));
    id.StateOffset = static_cast<int32_t>(GetLe(fixed + 4, 4));
    id.Size = st.st_size;
    id.Inode = st.st_ino;
    return true;
}

std::vector<uint8_t> EncodeJournal(const TSaveIdentity& id, const std::vector<uint8_t>& state) {
    std::vector<uint8_t> out(kJournalMagic, kJournalMagic + kMagicSize);
    out.reserve(kHeadSize + state.size() + kSumSize);
    PutLe(out, static_cast<uint32_t>(id.Seed), 4);
    PutLe(out, static_cast<uint32_t>(id.StateOffset), 4);
    PutLe(out, static_cast<uint64_t>(id.Size), 8);
    PutLe(out, id.Inode, 8);
    PutLe(out, state.size(), 8);
    out.insert(out.end(), state.begin(), state.end());
    PutLe(out, Fnv1a(out.data(), out.size()), 8);
    return out;
}

// A whole journal: its magic, its length and its checksum agree.
bool DecodeJournal(const std::vector<uint8_t>& j, TSaveIdentity& id, std::vector<uint8_t>& state) {
    if (j.size() < kHeadSize + kSumSize || std::memcmp(j.data(), kJournalMagic, kMagicSize) != 0)
        return false;
    const uint64_t length = GetLe(j.data() + 32, 8);
    if (length != j.size() - kHeadSize - kSumSize) return false;
    if (Fnv1a(j.data(), j.size() - kSumSize) != GetLe(j.data() + j.size() - kSumSize, 8))
        return false;
    id.Seed = static_cast<int32_t>(GetLe(j.data() + 8, 4));
    id.StateOffset = static_cast<int32_t>(GetLe(j.data() + 12, 4));
    id.Size = static_cast<int64_t>(GetLe(j.data() + 16, 8));
    id.Inode = GetLe(j.data() + 24, 8);
    state.assign(j.begin() + kHeadSize, j.end() - kSumSize);
    return id.StateOffset >= 0 && id.StateOffset + static_cast<int64_t>(length) <= id.Size;
}

// The bytes planted faults let through, counted over every write of one save.
class TFaultBudget {
public:
    explicit TFaultBudget(const TWriteFaults* faults) : m_faults(faults) {}
    // Cuts size to what is left; true when it was cut.
    bool Cut(size_t& size) {
        if (!m_faults || m_faults->FailAfterBytes < 0) return false;
        const int64_t room = m_faults->FailAfterBytes - m_used;
        const bool cut = room < static_cast<int64_t>(size);
        if (cut) size = static_cast<size_t>(room > 0 ? room : 0);
        m_used += static_cast<int64_t>(size);
        return cut;
    }
    bool FailFlush() const { return m_faults && m_faults->FailRename; }
    bool Crash() const { return m_faults && m_faults->Crash; }

private:
    const TWriteFaults* m_faults;
    int64_t m_used = 0;
};

// Writes data at offset as far as the budget allows; false, with errno set,
// on a real or planted failure.
bool WriteCounted(int fd, const std::vector<uint8_t>& data, int64_t offset, TFaultBudget& budget) {
    size_t size = data.size();
    const bool cut = budget.Cut(size);
    if (!PWriteAll(fd, data.data(), size, offset)) return false;
    if (cut) errno = ENOSPC;
    return !cut;
}

// The removal need not wait for the disk: a journal that comes back after a
// power loss still names the file and holds the state it already has.
void RemoveJournal(const std::string& journal) {
    ::unlink(journal.c_str());
}

// Step 1: the journal on disk, its folder entry too. A failure removes it
// unless a crash was planted.
Result WriteJournal(const std::string& path, const TSaveIdentity& id,
                    const std::vector<uint8_t>& state, TFaultBudget& budget) {
    const std::string journal = SaveJournalPath(path);
    TFd fd(::open(journal.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    if (!fd.Open()) return Result::Fail(kCannotSaveGame, {path}, journal + ": " + std::strerror(errno));
    std::string why;
    if (!WriteCounted(fd.Get(), EncodeJournal(id, state), 0, budget))
        why = std::strerror(errno);
    else if (budget.FailFlush())
        why = "the journal cannot be flushed";
    else if (::fdatasync(fd.Get()) != 0 || !SyncFolderOf(journal))
        why = std::strerror(errno);
    if (why.empty()) return Result::Success();
    if (!budget.Crash()) ::unlink(journal.c_str());
    return Result::Fail(kCannotSaveGame, {path}, journal + ": " + why);
}

}  // namespace

std::string SaveJournalPath(const std::string& path) {
    return path + ".jnl";
}

Result WriteStateInPlace(const std::string& path, int32_t seed, int32_t stateOffset,
                         const std::vector<uint8_t>& bytes, const TWriteFaults* faults) {
    TFd save(::open(path.c_str(), O_RDWR | O_CLOEXEC));
    if (!save.Open()) return Result::Fail(kCannotSaveGame, {path}, std::strerror(errno));
    TSaveIdentity id;
    if (!IdentityOf(save.Get(), id) || id.Seed != seed || id.StateOffset != stateOffset ||
        id.Size != stateOffset + static_cast<int64_t>(bytes.size()))
        return Result::Fail(kCannotSaveGame, {path}, "the saved game changed while it was saved");
    std::vector<uint8_t> old(bytes.size());
    if (!PReadAll(save.Get(), old.data(), old.size(), stateOffset))
        return Result::Fail(kCannotSaveGame, {path}, std::strerror(errno));
    TFaultBudget budget(faults);
    if (Result r = WriteJournal(path, id, bytes, budget); !r) return r;
    if (!WriteCounted(save.Get(), bytes, stateOffset, budget) || ::fdatasync(save.Get()) != 0) {
        const Result failed = Result::Fail(kCannotSaveGame, {path}, std::strerror(errno));
        if (budget.Crash()) return failed;
        // A failed save leaves the file as it was. Should the old state not go
        // back either, the journal stays: the next reading completes the new.
        // Here the removal must last, or a power loss would bring back the
        // state that was reported as not saved.
        if (PWriteAll(save.Get(), old.data(), old.size(), stateOffset) &&
            ::fdatasync(save.Get()) == 0) {
            RemoveJournal(SaveJournalPath(path));
            (void)SyncFolderOf(path);
        }
        return failed;
    }
    // The state is saved. A journal that cannot be removed, or comes back
    // after a power loss, still matches the file and only writes the same
    // bytes again when it is next replayed.
    RemoveJournal(SaveJournalPath(path));
    return Result::Success();
}

TJournalReplay RecoverSaveJournal(const std::string& path) {
    const std::string journal = SaveJournalPath(path);
    std::vector<uint8_t> bytes;
    if (::access(journal.c_str(), F_OK) != 0) return {};
    TFd save(::open(path.c_str(), O_RDWR | O_CLOEXEC));
    const bool writable = save.Open();
    TFd readOnly(writable ? -1 : ::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    const int fd = writable ? save.Get() : readOnly.Get();
    TSaveIdentity want, have;
    std::vector<uint8_t> state;
    // Without the save there is nothing to tell whether the journal is its.
    if (fd < 0 || !IdentityOf(fd, have)) return {};
    if (!ReadWholeFile(journal, bytes, kMaxJournalSize) || !DecodeJournal(bytes, want, state) ||
        !(want == have)) {
        RemoveJournal(journal);  // torn, or left from before the file was replaced
        return {};
    }
    if (writable && PWriteAll(fd, state.data(), state.size(), want.StateOffset) &&
        ::fdatasync(fd) == 0) {
        RemoveJournal(journal);
        return {};
    }
    return {true, want.StateOffset, std::move(state)};
}

}  // namespace orvel
