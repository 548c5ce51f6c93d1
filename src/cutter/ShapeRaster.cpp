#include "cutter/ShapeRaster.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>
#include <vector>

namespace orvel {
namespace {

struct Pt {
    double X, Y;
};

struct Figure {
    std::vector<Pt> Points;  // device coordinates
    bool Closed = false;
};

struct GdiObject {
    bool IsPen = false;
    bool Null = false;
    TColor Color = 0;
};

// Records hold at most this many handles; larger indices are ignored.
constexpr uint32_t kMaxHandles = 4096;
// Segments a cubic curve is cut into, at most.
constexpr int kMaxCurveSegments = 64;

uint32_t U32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

class Player {
public:
    Player(TMyBitmap& buf, const TMetafile& mf, int boxX, int boxY, int boxW, int boxH,
           const TColor* only)
        : m_buf(buf), m_mf(mf), m_only(only) {
        const double w = std::max(1, MetafileWidth(mf)), h = std::max(1, MetafileHeight(mf));
        m_sx = boxW / w;
        m_sy = boxH / h;
        m_ox = boxX;
        m_oy = boxY;
    }

    void Play() {
        for (size_t i = 1; i < m_mf.Records.size(); ++i) {
            const EmfRecord& r = m_mf.Records[i];
            if (r.Type == EMR_EOF) break;
            PlayRecord(r);
        }
    }

private:
    Pt Map(double x, double y) const { return {m_ox + (x + 0.5) * m_sx, m_oy + (y + 0.5) * m_sy}; }

    bool Field(const EmfRecord& r, uint32_t at, uint32_t& v) const {
        return ReadU32(m_mf, r, at, v);
    }
    const uint8_t* Rec(const EmfRecord& r) const { return m_mf.Bytes.data() + r.Offset; }

    // Points of a POLY* record, mapped; false when the record is damaged.
    bool ReadPoints(const EmfRecord& r, bool wide, std::vector<Pt>& pts) const {
        uint32_t count = 0;
        if (!Field(r, 24, count)) return false;
        const uint64_t need = 28 + uint64_t(count) * (wide ? 8 : 4);
        if (need > r.Size) return false;
        pts.clear();
        pts.reserve(count);
        const uint8_t* p = Rec(r) + 28;
        for (uint32_t i = 0; i < count; ++i) {
            if (wide) {
                pts.push_back(Map(int32_t(U32(p)), int32_t(U32(p + 4))));
                p += 8;
            } else {
                pts.push_back(
                    Map(int16_t(uint16_t(p[0] | p[1] << 8)), int16_t(uint16_t(p[2] | p[3] << 8))));
                p += 4;
            }
        }
        return true;
    }

    // Counts and points of a POLYPOLY* record; false when damaged.
    bool ReadPolyPoints(const EmfRecord& r, bool wide, std::vector<std::vector<Pt>>& polys) const {
        uint32_t nPolys = 0, total = 0;
        if (!Field(r, 24, nPolys) || !Field(r, 28, total)) return false;
        const uint64_t need = 32 + uint64_t(nPolys) * 4 + uint64_t(total) * (wide ? 8 : 4);
        if (need > r.Size) return false;
        polys.clear();
        const uint8_t* counts = Rec(r) + 32;
        const uint8_t* p = counts + uint64_t(nPolys) * 4;
        uint64_t used = 0;
        for (uint32_t k = 0; k < nPolys; ++k) {
            const uint32_t n = U32(counts + 4 * k);
            if (used + n > total) return false;
            used += n;
            std::vector<Pt> poly;
            poly.reserve(n);
            for (uint32_t i = 0; i < n; ++i) {
                if (wide) {
                    poly.push_back(Map(int32_t(U32(p)), int32_t(U32(p + 4))));
                    p += 8;
                } else {
                    poly.push_back(Map(int16_t(uint16_t(p[0] | p[1] << 8)),
                                       int16_t(uint16_t(p[2] | p[3] << 8))));
                    p += 4;
                }
            }
            polys.push_back(std::move(poly));
        }
        return true;
    }

    static void AddCurve(std::vector<Pt>& out, Pt p0, Pt p1, Pt p2, Pt p3) {
        const double len = std::hypot(p1.X - p0.X, p1.Y - p0.Y) +
                           std::hypot(p2.X - p1.X, p2.Y - p1.Y) +
                           std::hypot(p3.X - p2.X, p3.Y - p2.Y);
        int n = 1;
        if (std::isfinite(len)) n = std::clamp(int(len / 3.0) + 1, 1, kMaxCurveSegments);
        for (int i = 1; i <= n; ++i) {
            const double t = double(i) / n, u = 1.0 - t;
            const double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
            out.push_back({a * p0.X + b * p1.X + c * p2.X + d * p3.X,
                           a * p0.Y + b * p1.Y + c * p2.Y + d * p3.Y});
        }
    }

    // Bezier points (start, then control, control, end triples) flattened.
    static std::vector<Pt> Flatten(const std::vector<Pt>& pts, Pt start, size_t from) {
        std::vector<Pt> out{start};
        Pt cur = start;
        for (size_t i = from; i + 2 < pts.size(); i += 3) {
            AddCurve(out, cur, pts[i], pts[i + 1], pts[i + 2]);
            cur = pts[i + 2];
        }
        return out;
    }

    void PlayRecord(const EmfRecord& r) {
        if (!PlayObjectRecord(r) && !PlayPathRecord(r) && !PlayLineRecord(r)) PlayShapeRecord(r);
    }

    // Pens, brushes and the fill mode; false for other records.
    bool PlayObjectRecord(const EmfRecord& r) {
        uint32_t a = 0, b = 0, color = 0;
        switch (r.Type) {
            case EMR_SETPOLYFILLMODE:
                if (Field(r, 8, a)) m_winding = a == 2;
                return true;
            case EMR_CREATEPEN:
                if (Field(r, 8, a) && Field(r, 12, b) && a < kMaxHandles) {
                    Field(r, 24, color);
                    m_objects[a] = {true, (b & 0xF) == 5, color};  // PS_NULL
                }
                return true;
            case EMR_EXTCREATEPEN:
                if (Field(r, 8, a) && Field(r, 28, b) && a < kMaxHandles) {
                    Field(r, 40, color);
                    m_objects[a] = {true, (b & 0xF) == 5, color};
                }
                return true;
            case EMR_CREATEBRUSHINDIRECT:
                if (Field(r, 8, a) && Field(r, 12, b) && a < kMaxHandles) {
                    Field(r, 16, color);
                    m_objects[a] = {false, b == 1, color};  // BS_NULL
                }
                return true;
            case EMR_SELECTOBJECT:
                if (Field(r, 8, a)) Select(a);
                return true;
            case EMR_DELETEOBJECT:
                if (Field(r, 8, a)) m_objects.erase(a);
                return true;
            default:
                return false;
        }
    }

    // Path brackets and the path's filling and stroking; false for other records.
    bool PlayPathRecord(const EmfRecord& r) {
        switch (r.Type) {
            case EMR_BEGINPATH:
                m_path.clear();
                m_inPath = true;
                return true;
            case EMR_ENDPATH:
                m_inPath = false;
                return true;
            case EMR_CLOSEFIGURE:
                if (m_inPath && !m_path.empty()) {
                    m_path.back().Closed = true;
                    // Drawing goes on from the figure's start.
                    if (!m_path.back().Points.empty()) m_cur = m_path.back().Points.front();
                }
                return true;
            case EMR_FILLPATH:
            case EMR_STROKEANDFILLPATH:
            case EMR_STROKEPATH:
                if (m_inPath) return true;
                if (r.Type != EMR_STROKEPATH) {
                    std::vector<Figure> closed = m_path;
                    for (auto& f : closed) f.Closed = true;
                    Fill(closed);
                }
                if (r.Type != EMR_FILLPATH) Stroke(m_path);
                m_path.clear();
                return true;
            default:
                return false;
        }
    }

    // Drawing from the current position, and single pixels; false for other records.
    bool PlayLineRecord(const EmfRecord& r) {
        std::vector<Pt> pts;
        uint32_t a = 0, b = 0;
        switch (r.Type) {
            case EMR_MOVETOEX:
                if (Field(r, 8, a) && Field(r, 12, b)) {
                    m_cur = Map(int32_t(a), int32_t(b));
                    if (m_inPath) StartFigure(m_cur);
                }
                return true;
            case EMR_LINETO:
                if (Field(r, 8, a) && Field(r, 12, b)) LineTo({Map(int32_t(a), int32_t(b))});
                return true;
            case EMR_POLYLINETO:
            case EMR_POLYLINETO16:
                if (ReadPoints(r, r.Type == EMR_POLYLINETO, pts)) LineTo(pts);
                return true;
            case EMR_POLYBEZIERTO:
            case EMR_POLYBEZIERTO16:
                if (ReadPoints(r, r.Type == EMR_POLYBEZIERTO, pts)) {
                    std::vector<Pt> flat = Flatten(pts, m_cur, 0);
                    flat.erase(flat.begin());
                    LineTo(flat);
                }
                return true;
            case EMR_SETPIXELV:
                if (Field(r, 8, a) && Field(r, 12, b)) PlayPixel(r, Map(int32_t(a), int32_t(b)));
                return true;
            default:
                return false;
        }
    }

    void PlayPixel(const EmfRecord& r, Pt p) {
        uint32_t color = 0;
        Field(r, 16, color);
        if (std::isfinite(p.X) && std::isfinite(p.Y))
            Plot(int(std::floor(p.X)), int(std::floor(p.Y)), m_only ? *m_only : color);
    }

    // Whole figures: curves, polygons, polylines and their multiple forms.
    // Other records are not drawn.
    void PlayShapeRecord(const EmfRecord& r) {
        std::vector<Pt> pts;
        switch (r.Type) {
            case EMR_POLYBEZIER:
            case EMR_POLYBEZIER16:
                if (ReadPoints(r, r.Type == EMR_POLYBEZIER, pts) && !pts.empty())
                    Shape(Flatten(pts, pts[0], 1), false);
                break;
            case EMR_POLYGON:
            case EMR_POLYGON16:
                if (ReadPoints(r, r.Type == EMR_POLYGON, pts)) Shape(pts, true);
                break;
            case EMR_POLYLINE:
            case EMR_POLYLINE16:
                if (ReadPoints(r, r.Type == EMR_POLYLINE, pts)) Shape(pts, false);
                break;
            case EMR_POLYPOLYGON:
            case EMR_POLYPOLYGON16:
            case EMR_POLYPOLYLINE:
            case EMR_POLYPOLYLINE16:
                PlayPolyPoly(r);
                break;
            default:
                break;
        }
    }

    void PlayPolyPoly(const EmfRecord& r) {
        const bool wide = r.Type == EMR_POLYPOLYGON || r.Type == EMR_POLYPOLYLINE;
        const bool closed = r.Type == EMR_POLYPOLYGON || r.Type == EMR_POLYPOLYGON16;
        std::vector<std::vector<Pt>> polys;
        if (!ReadPolyPoints(r, wide, polys)) return;
        std::vector<Figure> figs;
        for (auto& p : polys) figs.push_back({std::move(p), closed});
        if (m_inPath) {
            for (auto& f : figs) m_path.push_back(std::move(f));
            return;
        }
        if (closed) Fill(figs);
        Stroke(figs);
    }

    void Select(uint32_t handle) {
        if (handle & kStockObject) {
            const uint32_t stock = handle & ~kStockObject;
            switch (stock) {
                case kWhiteBrush:
                    m_brush = {false, false, 0xFFFFFF};
                    break;
                case 1:
                    m_brush = {false, false, 0xC0C0C0};
                    break;
                case 2:
                    m_brush = {false, false, 0x808080};
                    break;
                case 3:
                    m_brush = {false, false, 0x404040};
                    break;
                case kBlackBrush:
                    m_brush = {false, false, 0};
                    break;
                case kNullBrush:
                    m_brush = {false, true, 0};
                    break;
                case kWhitePen:
                    m_pen = {true, false, 0xFFFFFF};
                    break;
                case kBlackPen:
                    m_pen = {true, false, 0};
                    break;
                case kNullPen:
                    m_pen = {true, true, 0};
                    break;
                default:
                    break;
            }
            return;
        }
        auto it = m_objects.find(handle);
        if (it == m_objects.end()) return;
        (it->second.IsPen ? m_pen : m_brush) = it->second;
    }

    void StartFigure(Pt p) { m_path.push_back({{p}, false}); }

    void LineTo(const std::vector<Pt>& pts) {
        if (pts.empty()) return;
        if (m_inPath) {
            if (m_path.empty() || m_path.back().Closed) StartFigure(m_cur);
            auto& f = m_path.back().Points;
            f.insert(f.end(), pts.begin(), pts.end());
        } else {
            std::vector<Figure> line{{{m_cur}, false}};
            line[0].Points.insert(line[0].Points.end(), pts.begin(), pts.end());
            Stroke(line);
        }
        m_cur = pts.back();
    }

    // A polygon, polyline or polybezier: a figure of its own.
    void Shape(const std::vector<Pt>& pts, bool closed) {
        if (pts.empty()) return;
        std::vector<Figure> figs{{pts, closed}};
        if (m_inPath) {
            m_path.push_back(figs[0]);
            return;
        }
        if (closed) Fill(figs);
        Stroke(figs);
    }

    TColor PenColor() const { return m_only ? *m_only : m_pen.Color; }
    TColor BrushColor() const { return m_only ? *m_only : m_brush.Color; }

    void Plot(int x, int y, TColor c) {
        if (x < 0 || y < 0 || x >= m_buf.Width || y >= m_buf.Height) return;
        uint8_t* p = PixelPtr(m_buf, x, y);
        p[0] = ColorB(c);
        p[1] = ColorG(c);
        p[2] = ColorR(c);
    }

    static bool Finite(Pt p) { return std::isfinite(p.X) && std::isfinite(p.Y); }

    void Stroke(const std::vector<Figure>& figs) {
        if (m_pen.Null) return;
        const TColor c = PenColor();
        for (const Figure& f : figs) {
            const size_t n = f.Points.size();
            if (n == 1) Segment(f.Points[0], f.Points[0], c);
            for (size_t i = 0; i + 1 < n; ++i) Segment(f.Points[i], f.Points[i + 1], c);
            if (f.Closed && n > 2) Segment(f.Points[n - 1], f.Points[0], c);
        }
    }

    // One-pixel line between the pixels holding the two points. The segment
    // is first cut to a little more than the buffer, so far-away points cost
    // nothing; the same points always give the same pixels.
    void Segment(Pt a, Pt b, TColor c) {
        if (!Finite(a) || !Finite(b)) return;
        const double minX = -2, minY = -2, maxX = m_buf.Width + 2.0, maxY = m_buf.Height + 2.0;
        double t0 = 0, t1 = 1;
        const double ddx = b.X - a.X, ddy = b.Y - a.Y;
        auto clip = [&](double p, double q) {
            if (p == 0) return q >= 0;
            const double t = q / p;
            if (p < 0) {
                if (t > t1) return false;
                t0 = std::max(t0, t);
            } else {
                if (t < t0) return false;
                t1 = std::min(t1, t);
            }
            return true;
        };
        if (!clip(-ddx, a.X - minX) || !clip(ddx, maxX - a.X) || !clip(-ddy, a.Y - minY) ||
            !clip(ddy, maxY - a.Y))
            return;
        const Pt s{a.X + t0 * ddx, a.Y + t0 * ddy}, e{a.X + t1 * ddx, a.Y + t1 * ddy};
        int x0 = int(std::floor(s.X)), y0 = int(std::floor(s.Y));
        const int x1 = int(std::floor(e.X)), y1 = int(std::floor(e.Y));
        const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
        const int stepX = x0 < x1 ? 1 : -1, stepY = y0 < y1 ? 1 : -1;
        int err = dx + dy;
        for (int guard = 0; guard <= dx - dy + 1; ++guard) {
            Plot(x0, y0, c);
            if (x0 == x1 && y0 == y1) break;
            const int e2 = 2 * err;
            if (e2 >= dy) err += dy, x0 += stepX;
            if (e2 <= dx) err += dx, y0 += stepY;
        }
    }

    struct Edge {
        double X0, Y0, X1, Y1;
        int Dir;
    };

    // Scanline fill: a pixel is set when its centre lies inside.
    void Fill(const std::vector<Figure>& figs) {
        if (m_brush.Null) return;
        const TColor c = BrushColor();
        std::vector<Edge> edges;
        double minY = 1e300, maxY = -1e300;
        for (const Figure& f : figs) {
            const size_t n = f.Points.size();
            for (size_t i = 0; i < n; ++i) {
                Pt a = f.Points[i], b = f.Points[(i + 1) % n];
                if (!Finite(a) || !Finite(b) || a.Y == b.Y) continue;
                int dir = 1;
                if (a.Y > b.Y) std::swap(a, b), dir = -1;
                edges.push_back({a.X, a.Y, b.X, b.Y, dir});
                minY = std::min(minY, a.Y);
                maxY = std::max(maxY, b.Y);
            }
        }
        if (edges.empty()) return;
        std::sort(edges.begin(), edges.end(),
                  [](const Edge& l, const Edge& r) { return l.Y0 < r.Y0; });
        const int firstRow = int(std::max(0.0, std::floor(minY - 0.5)));
        const int lastRow = int(std::min(double(m_buf.Height - 1), std::ceil(maxY)));
        std::vector<const Edge*> active;
        std::vector<std::pair<double, int>> xs;
        size_t next = 0;
        for (int row = firstRow; row <= lastRow; ++row) {
            const double yc = row + 0.5;
            while (next < edges.size() && edges[next].Y0 <= yc) active.push_back(&edges[next++]);
            std::erase_if(active, [yc](const Edge* e) { return e->Y1 <= yc; });
            xs.clear();
            for (const Edge* e : active) {
                if (e->Y0 > yc) continue;
                const double t = (yc - e->Y0) / (e->Y1 - e->Y0);
                xs.push_back({e->X0 + t * (e->X1 - e->X0), e->Dir});
            }
            std::sort(xs.begin(), xs.end());
            int wind = 0;
            for (size_t i = 0; i + 1 < xs.size(); ++i) {
                wind += m_winding ? xs[i].second : 1;
                const bool inside = m_winding ? wind != 0 : (wind & 1) != 0;
                if (inside) Span(row, xs[i].first, xs[i + 1].first, c);
            }
        }
    }

    // Pixels whose centres lie in [xa, xb).
    void Span(int row, double xa, double xb, TColor c) {
        const double from = std::max(0.0, std::ceil(xa - 0.5));
        const double to = std::min(double(m_buf.Width), std::ceil(xb - 0.5));
        if (from >= to) return;
        uint8_t* p = PixelPtr(m_buf, int(from), row);
        const int bpp = m_buf.BytesPerPixel;
        for (int x = int(from); x < int(to); ++x, p += bpp) {
            p[0] = ColorB(c);
            p[1] = ColorG(c);
            p[2] = ColorR(c);
        }
    }

    TMyBitmap& m_buf;
    const TMetafile& m_mf;
    const TColor* m_only;
    double m_sx = 1, m_sy = 1, m_ox = 0, m_oy = 0;
    GdiObject m_pen{true, false, 0};            // default: black pen
    GdiObject m_brush{false, false, 0xFFFFFF};  // default: white brush
    std::unordered_map<uint32_t, GdiObject> m_objects;
    bool m_winding = false;
    bool m_inPath = false;
    Pt m_cur{0, 0};
    std::vector<Figure> m_path;
};

}  // namespace

void DrawMetafile(TMyBitmap& buf, const TMetafile& mf, int boxX, int boxY, int boxW, int boxH,
                  const TColor* onlyColor) {
    if (buf.Width <= 0 || buf.Height <= 0 || !buf.Bits || buf.BytesPerPixel < 3) return;
    if (mf.Records.empty() || boxW <= 0 || boxH <= 0) return;
    Player(buf, mf, boxX, boxY, boxW, boxH, onlyColor).Play();
}

}  // namespace orvel
