#include "cutter/ShapeData.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace orvel {
namespace {

uint32_t U32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
void Put32(std::vector<uint8_t>& out, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) out[at + i] = uint8_t(v >> (8 * i));
}

}  // namespace

ShapeLoadResult ParseShapeData(ShapeData& data, const uint8_t* bytes, size_t size) {
    FreeShapeData(data);
    if (size < 8 || std::memcmp(bytes, kShapeMagic, 8) != 0) return ShapeLoadResult::InvalidMagic;
    if (size < 12 || size > kMaxShapeFileBytes) return ShapeLoadResult::Damaged;
    const int32_t count = int32_t(U32(bytes + 8));
    // The directory must fit the file before it is allocated.
    if (count < 0 || count > kMaxShapeEntries || 12 + uint64_t(count) * 40 > size)
        return ShapeLoadResult::Damaged;
    std::vector<ShapeDirEntry> entries(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i) {
        ShapeDirEntry& e = entries[size_t(i)];
        std::memcpy(&e, bytes + 12 + 40 * size_t(i), 40);
        e.offset = U32(bytes + 12 + 40 * size_t(i));
        e.size = U32(bytes + 16 + 40 * size_t(i));
        e.width = int32_t(U32(bytes + 20 + 40 * size_t(i)));
        e.height = int32_t(U32(bytes + 24 + 40 * size_t(i)));
        e.blobPointer = 0;
        if (uint64_t(e.offset) + e.size > size || e.size > kMaxMetafileBytes || e.width < 1 ||
            e.height < 1 || e.width > kMaxShapeSide || e.height > kMaxShapeSide)
            return ShapeLoadResult::Damaged;
    }
    std::vector<std::vector<uint8_t>> blobs(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i) {
        const ShapeDirEntry& e = entries[size_t(i)];
        blobs[size_t(i)].assign(bytes + e.offset, bytes + e.offset + e.size);
    }
    data.Count = count;
    data.Entries = std::move(entries);
    data.Blobs = std::move(blobs);
    return ShapeLoadResult::Loaded;
}

ShapeLoadResult LoadShapeData(ShapeData& data, const std::string& path) {
    FreeShapeData(data);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return ShapeLoadResult::Missing;
    std::ifstream in(path, std::ios::binary);
    if (!in) return ShapeLoadResult::Missing;
    in.seekg(0, std::ios::end);
    const std::streamoff length = in.tellg();
    if (length < 0) return ShapeLoadResult::Missing;
    in.seekg(0);
    // The magic decides first, so a wrong file is named as such whatever its size.
    char magic[8] = {};
    in.read(magic, 8);
    if (in.gcount() != 8 || std::memcmp(magic, kShapeMagic, 8) != 0)
        return ShapeLoadResult::InvalidMagic;
    if (uint64_t(length) > kMaxShapeFileBytes) return ShapeLoadResult::Damaged;
    std::vector<uint8_t> bytes(static_cast<size_t>(length));
    in.seekg(0);
    in.read(reinterpret_cast<char*>(bytes.data()), length);
    if (in.gcount() != length) return ShapeLoadResult::Missing;
    return ParseShapeData(data, bytes.data(), bytes.size());
}

Result DescribeShapeLoad(ShapeLoadResult result, const std::string& path) {
    switch (result) {
        case ShapeLoadResult::InvalidMagic:
            return FixedText("Invalid DAT file!");
        case ShapeLoadResult::Damaged:
            return FixedText("Invalid DAT file!", {},
                             path +
                                 " is damaged: its directory or pictures do not fit the "
                                 "file. Jigsaws are cut without picture pieces.");
        case ShapeLoadResult::Loaded:
        case ShapeLoadResult::Missing:
            break;
    }
    return Result::Success();
}

bool SelectShape(ShapeData& data, int32_t index) {
    data.HasCurrent = false;
    data.Current = TMetafile{};
    data.Index = -1;
    if (index < 0 || index >= data.Count || size_t(index) >= data.Blobs.size()) return false;
    const std::vector<uint8_t>& blob = data.Blobs[size_t(index)];
    if (!LoadMetafile(data.Current, blob.data(), blob.size())) return false;
    data.HasCurrent = true;
    data.Index = index;
    return true;
}

void FreeShapeData(ShapeData& data) {
    data = ShapeData{};
}

std::vector<uint8_t> BuildShapeFile(const std::vector<ShapeFileEntry>& entries) {
    std::vector<uint8_t> out(12 + 40 * entries.size(), 0);
    std::memcpy(out.data(), kShapeMagic, 8);
    Put32(out, 8, uint32_t(entries.size()));
    for (size_t i = 0; i < entries.size(); ++i) {
        const ShapeFileEntry& e = entries[i];
        const size_t at = 12 + 40 * i;
        Put32(out, at, uint32_t(out.size()));
        Put32(out, at + 4, uint32_t(e.blob.size()));
        Put32(out, at + 8, uint32_t(e.width));
        Put32(out, at + 12, uint32_t(e.height));
        out[at + 32] = e.flipVertical ? 1 : 0;
        out[at + 33] = e.flipHorizontal ? 1 : 0;
        out.insert(out.end(), e.blob.begin(), e.blob.end());
    }
    return out;
}

}  // namespace orvel
