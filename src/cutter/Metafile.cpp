#include "cutter/Metafile.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

#include "graphics/Rect.h"

namespace orvel {
namespace {

constexpr uint32_t kFrameLeft = 24, kFrameTop = 28, kFrameRight = 32, kFrameBottom = 36;
constexpr uint32_t kBoundsRight = 16, kBoundsBottom = 20;

uint32_t LoadU32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
void StoreU32(uint8_t* p, uint32_t v) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
    p[2] = uint8_t(v >> 16);
    p[3] = uint8_t(v >> 24);
}

const EmfRecord* Header(const TMetafile& mf) {
    return mf.Records.empty() ? nullptr : &mf.Records.front();
}

int32_t HeaderField(const TMetafile& mf, uint32_t at) {
    const EmfRecord* h = Header(mf);
    int32_t v = 0;
    if (h) ReadI32(mf, *h, at, v);
    return v;
}

// Pixels at 96 dpi from 0.01 mm, rounded half away from zero like MulDiv.
int32_t MMToPixels(int64_t mm) {
    int64_t num = mm * 96;
    return int32_t(num >= 0 ? (num + 1270) / 2540 : -((-num + 1270) / 2540));
}

bool IsPointRecord32(uint32_t type) {
    return type >= EMR_POLYBEZIER && type <= EMR_POLYBEZIERTO;
}
bool IsPointRecord16(uint32_t type) {
    return type >= EMR_POLYBEZIER16 && type <= EMR_POLYBEZIERTO16;
}

// Calls fn(x, y) for every point of the records the mirror and rotation move,
// and stores what it returns. 16-bit points are kept in their range.
template <typename Fn>
void TransformPoints(TMetafile& mf, Fn fn) {
    for (const EmfRecord& r : mf.Records) {
        uint8_t* rec = mf.Bytes.data() + r.Offset;
        if (IsPointRecord32(r.Type) || IsPointRecord16(r.Type)) {
            uint32_t count = 0;
            if (!ReadU32(mf, r, 24, count)) continue;
            const bool wide = IsPointRecord32(r.Type);
            const uint32_t pointSize = wide ? 8 : 4;
            // The count is checked against the record, not trusted.
            const uint32_t room = r.Size >= 28 ? (r.Size - 28) / pointSize : 0;
            count = std::min(count, room);
            for (uint32_t i = 0; i < count; ++i) {
                uint8_t* p = rec + 28 + i * pointSize;
                if (wide) {
                    int32_t x = int32_t(LoadU32(p)), y = int32_t(LoadU32(p + 4));
                    fn(x, y);
                    StoreU32(p, uint32_t(x));
                    StoreU32(p + 4, uint32_t(y));
                } else {
                    int32_t x = int16_t(uint16_t(p[0] | p[1] << 8));
                    int32_t y = int16_t(uint16_t(p[2] | p[3] << 8));
                    fn(x, y);
                    x = std::clamp(x, -32768, 32767);
                    y = std::clamp(y, -32768, 32767);
                    p[0] = uint8_t(x), p[1] = uint8_t(uint32_t(x) >> 8);
                    p[2] = uint8_t(y), p[3] = uint8_t(uint32_t(y) >> 8);
                }
            }
        } else if (r.Type == EMR_MOVETOEX || r.Type == EMR_LINETO) {
            int32_t x = 0, y = 0;
            if (!ReadI32(mf, r, 8, x) || !ReadI32(mf, r, 12, y)) continue;
            fn(x, y);
            WriteU32(mf, r, 8, uint32_t(x));
            WriteU32(mf, r, 12, uint32_t(y));
        }
    }
}

void SetHeaderSize(TMetafile& mf, int32_t w, int32_t h, int32_t wf, int32_t hf) {
    if (mf.Records.empty()) return;
    const EmfRecord h0 = mf.Records.front();
    WriteU32(mf, h0, kBoundsRight, uint32_t(w));
    WriteU32(mf, h0, kBoundsBottom, uint32_t(h));
    WriteU32(mf, h0, kFrameRight, uint32_t(wf));
    WriteU32(mf, h0, kFrameBottom, uint32_t(hf));
}

}  // namespace

bool ReadU32(const TMetafile& mf, const EmfRecord& r, uint32_t at, uint32_t& value) {
    if (uint64_t(at) + 4 > r.Size) return false;
    value = LoadU32(mf.Bytes.data() + r.Offset + at);
    return true;
}

bool WriteU32(TMetafile& mf, const EmfRecord& r, uint32_t at, uint32_t value) {
    if (uint64_t(at) + 4 > r.Size) return false;
    StoreU32(mf.Bytes.data() + r.Offset + at, value);
    return true;
}

bool LoadMetafile(TMetafile& mf, const uint8_t* data, size_t size) {
    mf.Bytes.clear();
    mf.Records.clear();
    if (!data || size < kEmfHeaderMinSize || size > kMaxMetafileBytes) return false;
    TMetafile out;
    out.Bytes.assign(data, data + size);
    size_t at = 0;
    while (at + 8 <= size) {
        const uint32_t type = LoadU32(data + at);
        const uint32_t recSize = LoadU32(data + at + 4);
        if (recSize < 8 || recSize % 4 != 0 || recSize > size - at) return false;
        out.Records.push_back({type, uint32_t(at), recSize});
        at += recSize;
        if (type == EMR_EOF) break;
    }
    const EmfRecord& h = out.Records.front();
    uint32_t signature = 0;
    if (h.Type != EMR_HEADER || h.Size < kEmfHeaderMinSize || !ReadU32(out, h, 40, signature) ||
        signature != kEmfSignature)
        return false;
    mf = std::move(out);
    const int64_t wf = int64_t(HeaderField(mf, kFrameRight)) - HeaderField(mf, kFrameLeft);
    const int64_t hf = int64_t(HeaderField(mf, kFrameBottom)) - HeaderField(mf, kFrameTop);
    const int32_t w = wf > 0 && wf < 100000000 ? MMToPixels(wf) : 0;
    const int32_t hgt = hf > 0 && hf < 100000000 ? MMToPixels(hf) : 0;
    if (w < 1 || hgt < 1 || w > kMaxMetafileSide || hgt > kMaxMetafileSide) {
        mf.Bytes.clear();
        mf.Records.clear();
        return false;
    }
    return true;
}

int32_t MetafileMMWidth(const TMetafile& mf) {
    return HeaderField(mf, kFrameRight) - HeaderField(mf, kFrameLeft);
}
int32_t MetafileMMHeight(const TMetafile& mf) {
    return HeaderField(mf, kFrameBottom) - HeaderField(mf, kFrameTop);
}
int32_t MetafileWidth(const TMetafile& mf) {
    return MMToPixels(MetafileMMWidth(mf));
}
int32_t MetafileHeight(const TMetafile& mf) {
    return MMToPixels(MetafileMMHeight(mf));
}

void RecolourShape(TMetafile& mf, TColor color) {
    for (const EmfRecord& r : mf.Records) {
        switch (r.Type) {
            case EMR_SETPIXELV:
                WriteU32(mf, r, 16, color);
                break;
            case EMR_SETTEXTCOLOR:
            case EMR_SETBKCOLOR:
                WriteU32(mf, r, 8, color);
                break;
            case EMR_CREATEPEN:
                WriteU32(mf, r, 24, color);
                break;  // lopn.lopnColor
            case EMR_CREATEBRUSHINDIRECT:
                WriteU32(mf, r, 16, color);
                break;  // lb.lbColor
            case EMR_EXTFLOODFILL:
                WriteU32(mf, r, 16, color);
                break;
            case EMR_EXTCREATEPEN:
                WriteU32(mf, r, 40, color);
                break;  // elp.elpColor
            default:
                break;
        }
    }
}

void MirrorShape(TMetafile& mf, bool leftRight, bool topBottom) {
    if (mf.Records.empty()) return;
    const int32_t w = MetafileWidth(mf), h = MetafileHeight(mf);
    const int32_t wf = MetafileMMWidth(mf), hf = MetafileMMHeight(mf);
    if (leftRight || topBottom) {
        TransformPoints(mf, [&](int32_t& x, int32_t& y) {
            if (leftRight) x = int32_t(int64_t(w) - x - 1);
            if (topBottom) y = int32_t(int64_t(h) - y - 1);
        });
    }
    SetHeaderSize(mf, w, h, wf, hf);
}

RotatedSize RotateShape(TMetafile& mf, double angle) {
    RotatedSize out;
    if (mf.Records.empty()) return out;
    const int32_t w = MetafileWidth(mf), h = MetafileHeight(mf);
    const int32_t wf = MetafileMMWidth(mf), hf = MetafileMMHeight(mf);
    const int32_t cx = w / 2, cy = h / 2;
    const double rad = angle * std::numbers::pi / 180.0;
    const double s = std::sin(rad), c = std::cos(rad);
    int32_t dx = 0, dy = 0;
    auto rotate = [&](int64_t x, int64_t y, int64_t& rx, int64_t& ry) {
        const double u = 2.0 * double(x) - 2.0 * cx + 1.0;
        const double v = 2.0 * (double(y) - cy) + 1.0;
        rx = int64_t(std::nearbyint((u * c - v * s - 1.0) / 2.0 + cx + dx));
        ry = int64_t(std::nearbyint((u * s + v * c - 1.0) / 2.0 + cy + dy));
    };
    auto boxSize = [&](int64_t right, int64_t bottom, int32_t& bw, int32_t& bh) {
        const int64_t xs[4] = {0, right, right, 0}, ys[4] = {0, 0, bottom, bottom};
        int64_t minX = 0, maxX = 0, minY = 0, maxY = 0;
        for (int i = 0; i < 4; ++i) {
            int64_t rx, ry;
            rotate(xs[i], ys[i], rx, ry);
            if (i == 0) {
                rx = std::clamp<int64_t>(rx, -100000, 100000);
                ry = std::clamp<int64_t>(ry, -100000, 100000);
                minX = maxX = rx;
                minY = maxY = ry;
            }
            minX = std::min(minX, rx), maxX = std::max(maxX, rx);
            minY = std::min(minY, ry), maxY = std::max(maxY, ry);
        }
        bw = int32_t(std::min<int64_t>(maxX - minX + 1, INT32_MAX));
        bh = int32_t(std::min<int64_t>(maxY - minY + 1, INT32_MAX));
    };
    boxSize(int64_t(w) - 1, int64_t(h) - 1, out.W2, out.H2);
    boxSize(int64_t(wf) - 1, int64_t(hf) - 1, out.WF2, out.HF2);
    dx = (out.W2 - w) / 2;
    dy = (out.H2 - h) / 2;
    TransformPoints(mf, [&](int32_t& x, int32_t& y) {
        int64_t rx, ry;
        rotate(x, y, rx, ry);
        x = int32_t(std::clamp<int64_t>(rx, INT32_MIN, INT32_MAX));
        y = int32_t(std::clamp<int64_t>(ry, INT32_MIN, INT32_MAX));
    });
    SetHeaderSize(mf, out.W2, out.H2, out.WF2, out.HF2);
    return out;
}

// ---------------------------------------------------------------------------

MetafileWriter::MetafileWriter(int32_t width, int32_t height) : m_width(width), m_height(height) {
    const int32_t wf = int32_t(std::lround(width * 2540.0 / 96.0));
    const int32_t hf = int32_t(std::lround(height * 2540.0 / 96.0));
    // bounds, frame, signature, version, bytes, records, handles, description
    // count and offset, palette entries, reference device in pixels and mm.
    Record(EMR_HEADER, {0,
                        0,
                        uint32_t(width),
                        uint32_t(height),
                        0,
                        0,
                        uint32_t(wf),
                        uint32_t(hf),
                        kEmfSignature,
                        0x10000,
                        0,
                        0,
                        1,
                        0,
                        0,
                        0,
                        1920,
                        1080,
                        508,
                        286});
}

void MetafileWriter::Record(uint32_t type, const std::vector<uint32_t>& fields) {
    const size_t at = m_bytes.size();
    m_bytes.resize(at + 8 + 4 * fields.size());
    StoreU32(&m_bytes[at], type);
    StoreU32(&m_bytes[at + 4], uint32_t(8 + 4 * fields.size()));
    for (size_t i = 0; i < fields.size(); ++i) StoreU32(&m_bytes[at + 8 + 4 * i], fields[i]);
    ++m_records;
}

namespace {
std::vector<uint32_t> BoundsOf(const std::vector<int32_t>& xy) {
    int32_t l = INT32_MAX, t = INT32_MAX, r = INT32_MIN, b = INT32_MIN;
    for (size_t i = 0; i + 1 < xy.size(); i += 2) {
        l = std::min(l, xy[i]), r = std::max(r, xy[i]);
        t = std::min(t, xy[i + 1]), b = std::max(b, xy[i + 1]);
    }
    if (xy.size() < 2) l = t = r = b = 0;
    return {uint32_t(l), uint32_t(t), uint32_t(r), uint32_t(b)};
}
uint32_t Pack16(int32_t x, int32_t y) {
    return uint32_t(uint16_t(x)) | uint32_t(uint16_t(y)) << 16;
}
}  // namespace

void MetafileWriter::Points32(uint32_t type, const std::vector<int32_t>& xy) {
    std::vector<uint32_t> f = BoundsOf(xy);
    f.push_back(uint32_t(xy.size() / 2));
    for (size_t i = 0; i + 1 < xy.size(); i += 2) {
        f.push_back(uint32_t(xy[i]));
        f.push_back(uint32_t(xy[i + 1]));
    }
    Record(type, f);
}

void MetafileWriter::Points16(uint32_t type, const std::vector<int32_t>& xy) {
    std::vector<uint32_t> f = BoundsOf(xy);
    f.push_back(uint32_t(xy.size() / 2));
    for (size_t i = 0; i + 1 < xy.size(); i += 2) f.push_back(Pack16(xy[i], xy[i + 1]));
    Record(type, f);
}

void MetafileWriter::PolyPolygon(bool points16, const std::vector<std::vector<int32_t>>& polys) {
    std::vector<int32_t> all;
    for (const auto& p : polys) all.insert(all.end(), p.begin(), p.end());
    std::vector<uint32_t> f = BoundsOf(all);
    f.push_back(uint32_t(polys.size()));
    f.push_back(uint32_t(all.size() / 2));
    for (const auto& p : polys) f.push_back(uint32_t(p.size() / 2));
    for (size_t i = 0; i + 1 < all.size(); i += 2) {
        if (points16) {
            f.push_back(Pack16(all[i], all[i + 1]));
        } else {
            f.push_back(uint32_t(all[i]));
            f.push_back(uint32_t(all[i + 1]));
        }
    }
    Record(points16 ? EMR_POLYPOLYGON16 : EMR_POLYPOLYGON, f);
}

std::vector<uint8_t> MetafileWriter::Finish() {
    Record(EMR_EOF, {0, 16, 20});  // no palette; offset and size of the last field
    StoreU32(&m_bytes[48], uint32_t(m_bytes.size()));
    StoreU32(&m_bytes[52], m_records);
    (void)m_width;
    (void)m_height;
    return std::move(m_bytes);
}

}  // namespace orvel
