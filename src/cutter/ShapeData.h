#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/Result.h"
#include "cutter/Metafile.h"

namespace orvel {

constexpr const char* kShapeFileName = "pic_orvel.dat";
constexpr const char kShapeMagic[9] = "BJ61DAT ";

// One directory entry of the shape data file, stored byte for byte.
struct ShapeDirEntry {
    uint32_t offset = 0;  // absolute file position of the blob
    uint32_t size = 0;    // blob length in bytes
    int32_t width = 0;    // natural size in pixels
    int32_t height = 0;
    uint8_t reserved[16] = {};
    uint8_t flipVertical = 0;    // may be mirrored top to bottom
    uint8_t flipHorizontal = 0;  // may be mirrored left to right
    uint8_t padding[2] = {};
    // Written as anything. In memory the blob lives in ShapeData::Blobs at the
    // entry's own index (a 32-bit field cannot hold an address), so this is 0.
    uint32_t blobPointer = 0;
};
static_assert(sizeof(ShapeDirEntry) == 40);
static_assert(offsetof(ShapeDirEntry, width) == 8);
static_assert(offsetof(ShapeDirEntry, reserved) == 16);
static_assert(offsetof(ShapeDirEntry, flipVertical) == 32);
static_assert(offsetof(ShapeDirEntry, flipHorizontal) == 33);
static_assert(offsetof(ShapeDirEntry, blobPointer) == 36);

// Limits checked before anything is allocated.
constexpr int32_t kMaxShapeEntries = 10000;
constexpr uint64_t kMaxShapeFileBytes = 64u << 20;
constexpr int32_t kMaxShapeSide = 4096;

// The loaded shape file and the current drawing, owned by one cut.
struct ShapeData {
    int32_t Count = 0;
    std::vector<ShapeDirEntry> Entries;
    std::vector<std::vector<uint8_t>> Blobs;
    bool HasCurrent = false;
    TMetafile Current;
    int32_t Index = -1;  // entry the current drawing came from
};

enum class ShapeLoadResult {
    Loaded,
    Missing,       // nothing readable at the path: no file, a folder, a pipe, ...
    InvalidMagic,  // not a shape data file
    Damaged,       // counts, offsets or sizes do not fit the file or sane limits
};

// Reads the whole shape file. Anything but Loaded leaves no entries (and a
// cut makes no picture pieces). Only a regular file is opened: a named pipe
// at the path would wait for a writer for ever.
ShapeLoadResult LoadShapeData(ShapeData& data, const std::string& path);
// The same from bytes already in memory.
ShapeLoadResult ParseShapeData(ShapeData& data, const uint8_t* bytes, size_t size);
// What the player is told about a load: nothing for Loaded and Missing (a
// missing file simply gives no silhouettes); the fixed "Invalid DAT file!"
// for a wrong magic and, with a detail naming the file, for a damaged one.
Result DescribeShapeLoad(ShapeLoadResult result, const std::string& path);
// Makes entry index the current drawing. False (and no current drawing) when
// the index is out of range or the blob is not a drawing.
bool SelectShape(ShapeData& data, int32_t index);
void FreeShapeData(ShapeData& data);

// Writes a shape file: header, directory, then the blobs in order.
struct ShapeFileEntry {
    int32_t width = 0, height = 0;
    bool flipVertical = false, flipHorizontal = false;
    std::vector<uint8_t> blob;
};
std::vector<uint8_t> BuildShapeFile(const std::vector<ShapeFileEntry>& entries);

}  // namespace orvel
