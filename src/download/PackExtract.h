#pragma once

// Unpacking a downloaded jigsaw pack (RAR, ZIP, 7z or tar.gz) into the
// jigsaw folder, safely: only regular files land there, each inside the
// folder, within size limits, under a scratch name until the whole pack has
// been read. A pack that fails leaves the folder as it was.

#include <cstdint>
#include <string>
#include <vector>

namespace orvel {

struct TExtractLimits {
    // An entry or a whole pack that claims or grows beyond these is stopped.
    uint64_t MaxEntryBytes = 256ull << 20;
    uint64_t MaxPackBytes = 1024ull << 20;
    // What a pack may expand to: this many times its packed size, plus Slack
    // so that small packs of well-compressing files still unpack. A jigsaw
    // holding a smooth picture as a bitmap packs several hundred to one.
    uint64_t MaxRatio = 1000;
    uint64_t Slack = 16ull << 20;
};

enum class ExtractStatus {
    Ok,
    OpenFailed,     // not an archive the library reads
    EntryRefused,   // a name, kind or size that must not be unpacked
    EntryFailed,    // damaged data, or the file could not be written
};

struct TExtractReport {
    ExtractStatus Status = ExtractStatus::Ok;
    // The walk ended on a damaged header after the entries before it were
    // unpacked; the pack still counts.
    bool HeaderBroken = false;
    // What went wrong (the library's or our own words) and for which entry.
    std::string Message;
    std::string Entry;
    // The files unpacked, as full paths (empty when the pack failed).
    std::vector<std::string> Written;
    bool Ok() const { return Status == ExtractStatus::Ok; }
};

// Names that must never be written by a pack: empty, absolute, with a ".."
// or hidden part, or with characters no file name of ours carries.
bool SafeEntryName(const std::string& name);

TExtractReport ExtractPack(const std::string& archivePath, const std::string& destDir,
                           const TExtractLimits& limits = {});

}  // namespace orvel
