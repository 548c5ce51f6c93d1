#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "graphics/Bitmap.h"

namespace orvel {

// Enhanced-metafile record types the silhouettes use or the rewrites touch.
enum EmfRecordType : uint32_t {
    EMR_HEADER = 1,
    EMR_POLYBEZIER = 2,
    EMR_POLYGON = 3,
    EMR_POLYLINE = 4,
    EMR_POLYBEZIERTO = 5,
    EMR_POLYLINETO = 6,
    EMR_POLYPOLYLINE = 7,
    EMR_POLYPOLYGON = 8,
    EMR_EOF = 14,
    EMR_SETPIXELV = 15,
    EMR_SETPOLYFILLMODE = 19,
    EMR_SETTEXTCOLOR = 24,
    EMR_SETBKCOLOR = 25,
    EMR_MOVETOEX = 27,
    EMR_SELECTOBJECT = 37,
    EMR_CREATEPEN = 38,
    EMR_CREATEBRUSHINDIRECT = 39,
    EMR_DELETEOBJECT = 40,
    EMR_EXTFLOODFILL = 53,
    EMR_LINETO = 54,
    EMR_BEGINPATH = 59,
    EMR_ENDPATH = 60,
    EMR_CLOSEFIGURE = 61,
    EMR_FILLPATH = 62,
    EMR_STROKEANDFILLPATH = 63,
    EMR_STROKEPATH = 64,
    EMR_POLYBEZIER16 = 85,
    EMR_POLYGON16 = 86,
    EMR_POLYLINE16 = 87,
    EMR_POLYBEZIERTO16 = 88,
    EMR_POLYLINETO16 = 89,
    EMR_POLYPOLYLINE16 = 90,
    EMR_POLYPOLYGON16 = 91,
    EMR_EXTCREATEPEN = 95,
};

// Stock objects are selected by index with the high bit set.
constexpr uint32_t kStockObject = 0x80000000u;
constexpr uint32_t kWhiteBrush = 0, kBlackBrush = 4, kNullBrush = 5;
constexpr uint32_t kWhitePen = 6, kBlackPen = 7, kNullPen = 8;
constexpr uint32_t kEmfSignature = 0x464D4520u;  // " EMF"
constexpr uint32_t kEmfHeaderMinSize = 88;

// Largest picture side (pixels) a drawing may claim; larger frames are not drawings.
constexpr int32_t kMaxMetafileSide = 10000;
// Largest drawing accepted at all.
constexpr size_t kMaxMetafileBytes = 16u << 20;

struct EmfRecord {
    uint32_t Type = 0;
    uint32_t Offset = 0;  // of the record's first byte in the stream
    uint32_t Size = 0;    // whole record, type and size fields included
};

// A vector picture: the raw enhanced-metafile record stream plus an index of
// its records. The rewrites change the bytes in place; every record in the
// index lies completely inside Bytes, so field access only has to check the
// record's own size.
struct TMetafile {
    std::vector<uint8_t> Bytes;
    std::vector<EmfRecord> Records;
};

// Makes a metafile from a blob. False (and an empty metafile) when the bytes
// are not a drawing: no header record first, a wrong signature, a frame that
// is empty or absurdly large, or a record whose size runs outside the blob.
// Records after EMR_EOF are ignored.
bool LoadMetafile(TMetafile& mf, const uint8_t* data, size_t size);

// The frame (0.01 mm) and the picture size in pixels it stands for at 96 dpi.
int32_t MetafileMMWidth(const TMetafile& mf);
int32_t MetafileMMHeight(const TMetafile& mf);
int32_t MetafileWidth(const TMetafile& mf);
int32_t MetafileHeight(const TMetafile& mf);

// Every colour of the drawing becomes color.
void RecolourShape(TMetafile& mf, TColor color);
// Mirrors the drawing inside its own frame.
void MirrorShape(TMetafile& mf, bool leftRight, bool topBottom);
// Turns the drawing about its centre by angle degrees and enlarges the frame
// to the turned picture. Returns the new size in pixels.
struct RotatedSize {
    int32_t W2 = 0, H2 = 0, WF2 = 0, HF2 = 0;
};
RotatedSize RotateShape(TMetafile& mf, double angle);

// Field access inside one record: false when the field lies past the record.
bool ReadU32(const TMetafile& mf, const EmfRecord& r, uint32_t at, uint32_t& value);
bool WriteU32(TMetafile& mf, const EmfRecord& r, uint32_t at, uint32_t value);
inline bool ReadI32(const TMetafile& mf, const EmfRecord& r, uint32_t at, int32_t& value) {
    uint32_t u = 0;
    bool ok = ReadU32(mf, r, at, u);
    value = static_cast<int32_t>(u);
    return ok;
}

// Builds a record stream: header first, EOF last. Used by the shape file
// generator and the tests.
class MetafileWriter {
public:
    // width and height in pixels; the frame is written at 96 dpi.
    MetafileWriter(int32_t width, int32_t height);
    void Record(uint32_t type, const std::vector<uint32_t>& fields);
    void Points32(uint32_t type, const std::vector<int32_t>& xy);  // POLY* with 32-bit points
    void Points16(uint32_t type, const std::vector<int32_t>& xy);  // POLY*16
    void PolyPolygon(bool points16, const std::vector<std::vector<int32_t>>& polys);
    void MoveTo(int32_t x, int32_t y) { Record(EMR_MOVETOEX, {uint32_t(x), uint32_t(y)}); }
    void LineTo(int32_t x, int32_t y) { Record(EMR_LINETO, {uint32_t(x), uint32_t(y)}); }
    // Finishes with EOF and fixes the header's byte and record counts.
    std::vector<uint8_t> Finish();

private:
    std::vector<uint8_t> m_bytes;
    uint32_t m_records = 0;
    int32_t m_width, m_height;
};

}  // namespace orvel
