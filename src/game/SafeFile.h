#pragma once

// Writing a file so that whatever happens to the program meanwhile, the
// target holds either its old complete content or the new complete content:
// everything goes into a scratch file in the target's folder, which is
// flushed to disk and then renamed over the target in one step; the folder
// is flushed after the rename. A failed write leaves the target untouched.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "base/Result.h"

namespace orvel {

// Faults a test can plant to stand in for a full disk or a killed program.
struct TWriteFaults {
    // The write that would take the scratch file beyond this many bytes
    // writes up to it and fails as a full disk does; negative: never.
    int64_t FailAfterBytes = -1;
    // The rename over the target fails (for a state written in place: the
    // flush of its journal, the step after which the new state counts).
    bool FailRename = false;
    // Stop at the fault as a killed program would: nothing is cleaned up and
    // the scratch file stays behind as far as it was written.
    bool Crash = false;
};

class TSafeFile {
public:
    // errorKey names the failure shown to the player; its one argument is the
    // target's path, its detail the system's reason.
    TSafeFile(std::string target, std::string scratch, std::string errorKey,
              const TWriteFaults* faults = nullptr);
    ~TSafeFile();  // an uncommitted scratch file is removed (unless a crash was planted)
    TSafeFile(const TSafeFile&) = delete;
    TSafeFile& operator=(const TSafeFile&) = delete;

    // Creates (or truncates) the scratch file.
    Result Open();
    // Appends; the first failure is kept and reported by Commit.
    void Write(const void* data, size_t size);
    void WriteInt32(int32_t value);
    // Overwrites four bytes already written.
    void PatchInt32(int64_t offset, int32_t value);
    int64_t Position() const { return m_pos; }
    bool Failed() const { return !m_error.empty(); }

    // Flushes the scratch file to disk and closes it; it stays under its
    // scratch name, complete, for the caller to move (MoveIntoPlace).
    Result Finish();
    // Finish, then the rename over the target and the folder's flush; fails
    // without touching the target.
    Result Commit();

private:
    bool Planted(size_t& size);
    Result Failure() const;
    void Discard();

    std::string m_target;
    std::string m_scratch;
    std::string m_errorKey;
    const TWriteFaults* m_faults;
    int m_fd = -1;
    int64_t m_pos = 0;
    std::string m_error;
    bool m_crashed = false;
    bool m_finished = false;
};

// Renames a finished scratch file over target and flushes the folder. A
// failure is errorKey with target as its argument.
Result MoveIntoPlace(const std::string& scratch, const std::string& target,
                     const std::string& errorKey, const TWriteFaults* faults = nullptr);

// The folder part of path with a trailing "/" ("./" for a bare name).
std::string FolderOf(const std::string& path);

// Copies source over target through scratch in the same safe way.
Result CopyFileSafely(const std::string& source, const std::string& target,
                      const std::string& scratch, const std::string& errorKey,
                      const TWriteFaults* faults = nullptr);

}  // namespace orvel

namespace orvel {

// Flushes the list of the folder that holds path, so that a file created,
// renamed or removed there stays so; false where it cannot be flushed.
bool SyncFolderOf(const std::string& path);

// Reads the whole file at path; false when it cannot be read or is larger
// than maxSize bytes.
bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& out, int64_t maxSize);

}  // namespace orvel
