#pragma once

// Rewriting the state block of a saved game in place without ever leaving a
// torn save behind, through a write-ahead journal next to it
// ("<save>.jnl", which no list of jigsaws or saved games shows):
//   1. the journal is written and flushed: a magic, the save's identity
//      (seed, state offset, size, inode), the new state's length and bytes,
//      and an FNV-1a checksum over all of it;
//   2. the state is written over the old one in the save and flushed;
//   3. the journal is removed.
// A kill before the journal is whole leaves a journal that fails its
// checksum over an untouched save; a kill after leaves a journal that
// RecoverSaveJournal writes into the save again. The journal names the inode
// it was written for, so a journal left from before a full save (which
// renames a new file over the old) never applies to the new file.

#include <cstdint>
#include <string>
#include <vector>

#include "base/Result.h"
#include "game/SafeFile.h"

namespace orvel {

// The journal beside the save at path.
std::string SaveJournalPath(const std::string& path);

// Overwrites bytes at stateOffset of the save at path (a complete save of the
// game with seed whose state block has exactly this length) through the
// journal. Planted faults count the journal's bytes, then the in-place
// bytes; FailRename fails the journal's flush. A clean failure restores the
// old state and fails with kCannotSaveGame; a crash stops where it is.
Result WriteStateInPlace(const std::string& path, int32_t seed, int32_t stateOffset,
                         const std::vector<uint8_t>& bytes, const TWriteFaults* faults = nullptr);

// What a journal still asks for when it could not be written into its save.
struct TJournalReplay {
    bool Pending = false;
    int64_t Offset = 0;
    std::vector<uint8_t> Bytes;
};

// Writes a whole journal that belongs to the save at path into it, flushes
// it and removes the journal; a journal that is torn or belongs to another
// file is removed. When the save cannot be written (a read-only folder or
// disk), the journal stays and its bytes come back for the reader to lay
// over what it reads.
TJournalReplay RecoverSaveJournal(const std::string& path);

}  // namespace orvel
