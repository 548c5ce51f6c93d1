// Designs the silhouettes of the shape data file and writes the file.
//
// Every silhouette is built from Bezier outlines with QPainterPath (shapes
// united, thick curves outlined with QPainterPathStroker), scaled to its
// natural size and written as a metafile record stream: a solid pen and
// brush, then one path of move-to, line-to and poly-bezier-to records filled
// and stroked. With --sheet the program also plays every silhouette through
// the cutter's own rasteriser into a contact sheet, to look at.

#include <QGuiApplication>
#include <QImage>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QTransform>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "cutter/Metafile.h"
#include "cutter/ShapeData.h"
#include "cutter/ShapeRaster.h"

using namespace orvel;

namespace {

struct Silhouette {
    const char* name;
    QPainterPath path;  // designed in a 100 x 100 space, y down
    int size;           // natural length of the longer side, pixels
    bool flipV, flipH;
};

QPainterPath Ellipse(double cx, double cy, double rx, double ry, double angle = 0) {
    QPainterPath p;
    p.addEllipse(QPointF(0, 0), rx, ry);
    QTransform t;
    t.translate(cx, cy);
    t.rotate(angle);
    return t.map(p);
}
QPainterPath Circle(double cx, double cy, double r) {
    return Ellipse(cx, cy, r, r);
}

// A closed outline from a start point and cubic segments (c1, c2, end).
QPainterPath Curves(double x, double y, std::initializer_list<double> c) {
    QPainterPath p(QPointF(x, y));
    std::vector<double> v(c);
    for (size_t i = 0; i + 5 < v.size() + 0; i += 6)
        p.cubicTo(v[i], v[i + 1], v[i + 2], v[i + 3], v[i + 4], v[i + 5]);
    p.closeSubpath();
    return p;
}

QPainterPath Poly(std::initializer_list<double> c) {
    std::vector<double> v(c);
    QPainterPath p(QPointF(v[0], v[1]));
    for (size_t i = 2; i + 1 < v.size(); i += 2) p.lineTo(v[i], v[i + 1]);
    p.closeSubpath();
    return p;
}

// A thick stroke along a curve, with round ends.
QPainterPath Stroke(const QPainterPath& line, double width) {
    QPainterPathStroker s;
    s.setWidth(width);
    s.setCapStyle(Qt::RoundCap);
    s.setJoinStyle(Qt::RoundJoin);
    return s.createStroke(line);
}
QPainterPath Line(double x1, double y1, double x2, double y2, double width) {
    QPainterPath p(QPointF(x1, y1));
    p.lineTo(x2, y2);
    return Stroke(p, width);
}
QPainterPath Bend(double x1, double y1, double cx1, double cy1, double cx2, double cy2, double x2,
                  double y2, double width) {
    QPainterPath p(QPointF(x1, y1));
    p.cubicTo(cx1, cy1, cx2, cy2, x2, y2);
    return Stroke(p, width);
}

// Signed area of a closed polygon (positive: clockwise with y down).
double Area(const QPolygonF& poly) {
    double a = 0;
    for (int i = 0; i < poly.size(); ++i) {
        const QPointF& p = poly[i];
        const QPointF& q = poly[(i + 1) % poly.size()];
        a += p.x() * q.y() - q.x() * p.y();
    }
    return a / 2;
}

// The parts become figures of one path, all turning the same way, so the
// winding fill unites them while every outline keeps its own curves. Strokes
// (which overlap themselves) are first merged into one clean outline.
QPainterPath Union(std::initializer_list<QPainterPath> parts) {
    QPainterPath out;
    for (const QPainterPath& part : parts) {
        QPainterPath sub;
        auto take = [&] {
            if (sub.isEmpty()) return;
            const QList<QPolygonF> polys = sub.toSubpathPolygons();
            const bool reversed = !polys.isEmpty() && Area(polys.front()) < 0;
            out.addPath(reversed ? sub.toReversed() : sub);
            sub = QPainterPath();
        };
        for (int i = 0; i < part.elementCount(); ++i) {
            const QPainterPath::Element e = part.elementAt(i);
            if (e.type == QPainterPath::MoveToElement) {
                take();
                sub.moveTo(e.x, e.y);
            } else if (e.type == QPainterPath::LineToElement) {
                sub.lineTo(e.x, e.y);
            } else if (e.type == QPainterPath::CurveToElement) {
                const QPainterPath::Element c2 = part.elementAt(i + 1), end = part.elementAt(i + 2);
                sub.cubicTo(e.x, e.y, c2.x, c2.y, end.x, end.y);
                i += 2;
            }
        }
        take();
    }
    return out;
}

QPainterPath Star(int points, double outer, double inner, double cx, double cy, double sag) {
    QPainterPath p;
    const int n = points * 2;
    auto at = [&](int k) {
        const double a = -M_PI / 2 + k * M_PI / points;
        const double r = k % 2 ? inner : outer;
        return QPointF(cx + r * std::cos(a), cy + r * std::sin(a));
    };
    p.moveTo(at(0));
    for (int k = 0; k < n; ++k) {
        const QPointF a = at(k), b = at(k + 1), c(cx, cy);
        // Control points a third of the way along, pulled towards the centre.
        const QPointF c1 = a + (b - a) / 3.0, c2 = a + (b - a) * 2.0 / 3.0;
        p.cubicTo(c1 + (c - c1) * sag, c2 + (c - c2) * sag, b);
    }
    p.closeSubpath();
    return p;
}

std::vector<Silhouette> Design() {
    std::vector<Silhouette> s;
    s.push_back({"heart", Curves(50, 92, {15, 68, 0,  45, 5,  27, 10,  8,  42, 4,  50, 27,
                                          58, 4,  90, 8,  95, 27, 100, 45, 85, 68, 50, 92}),
                 96, false, false});
    s.push_back({"star", Star(5, 50, 21, 50, 53, 0.08), 104, true, false});
    s.push_back({"moon", Curves(60, 2, {6,  4,  -8, 74, 44, 96, 68, 106, 90, 90, 98, 72,
                                        70, 80, 40, 70, 40, 42, 40, 20,  50, 8,  60, 2}),
                 100, true, true});
    s.push_back({"fish",
                 Union({Curves(2, 50, {20, 22, 60, 18, 78, 44, 86, 36, 92, 28, 99, 22, 94, 40, 94,
                                       60, 99, 78, 92, 72, 86, 64, 78, 56, 60, 82, 20, 78, 2,  50}),
                        Curves(32, 30, {38, 12, 56, 10, 62, 32})}),
                 110, false, true});
    s.push_back(
        {"bird",
         Union({Ellipse(48, 60, 32, 21, -15), Circle(74, 36, 15), Poly({84, 30, 99, 37, 85, 43}),
                Curves(24, 62, {14, 64, 6, 66, 0, 76, 8, 62, 14, 56, 22, 52}),
                Line(44, 80, 40, 96, 4), Line(56, 80, 58, 96, 4)}),
         96, false, true});
    s.push_back({"cat",
                 Union({Ellipse(44, 72, 26, 26), Circle(44, 34, 19), Poly({26, 28, 27, 4, 44, 20}),
                        Poly({62, 28, 61, 4, 44, 20}), Bend(66, 90, 90, 94, 96, 70, 84, 52, 8)}),
                 108, false, true});
    s.push_back({"rabbit",
                 Union({Ellipse(58, 72, 30, 22), Circle(30, 52, 16), Ellipse(24, 22, 6, 20, -12),
                        Ellipse(38, 22, 6, 20, 14), Circle(88, 66, 9), Ellipse(38, 90, 10, 5)}),
                 104, false, true});
    s.push_back({"leaf",
                 [] {
                     QTransform t;
                     t.translate(50, 50);
                     t.rotate(28);
                     t.translate(-50, -50);
                     return t.map(
                         Union({Curves(50, 2, {80, 20, 88, 60, 51, 86, 16, 64, 20, 22, 50, 2}),
                                Bend(51, 84, 51, 90, 50, 95, 47, 99, 5)}));
                 }(),
                 104, true, true});
    s.push_back({"acorn",
                 Union({Curves(8, 42, {8, 16, 92, 16, 92, 42}), Line(50, 22, 56, 6, 7),
                        Curves(16, 40, {14, 70, 40, 90, 50, 98, 60, 90, 86, 70, 84, 40})}),
                 100, false, true});
    s.push_back({"flower",
                 [] {
                     QPainterPath p = Circle(50, 36, 11);
                     for (int k = 0; k < 5; ++k) {
                         const double a = -M_PI / 2 + k * 2 * M_PI / 5;
                         p = Union({p, Ellipse(50 + 20 * std::cos(a), 36 + 20 * std::sin(a), 15, 10,
                                               a * 180 / M_PI)});
                     }
                     p = Union({p, Line(50, 50, 50, 99, 5)});
                     p = Union({p, Ellipse(64, 80, 12, 5, -35)});
                     return p;
                 }(),
                 110, false, true});
    s.push_back({"tulip",
                 Union({Curves(28, 16, {40, 24, 44, 30, 50, 10, 56, 30, 60, 24, 72, 16,
                                        80, 46, 70, 62, 50, 62, 30, 62, 20, 46, 28, 16}),
                        Line(50, 60, 50, 99, 5), Ellipse(38, 82, 14, 5, 40)}),
                 110, false, true});
    s.push_back({"fir tree",
                 Union({Poly({50, 2, 78, 34, 22, 34}), Poly({50, 18, 86, 56, 14, 56}),
                        Poly({50, 38, 94, 80, 6, 80}), Poly({43, 79, 57, 79, 57, 98, 43, 98})}),
                 110, false, true});
    s.push_back({"mushroom",
                 Union({Curves(4, 52, {4, 8, 96, 8, 96, 52, 70, 58, 30, 58, 4, 52}),
                        Poly({37, 54, 63, 54, 70, 96, 30, 96})}),
                 96, false, true});
    s.push_back({"apple",
                 Union({Curves(50, 26, {30, 12, 5,  20, 8,  50, 10, 80, 35, 99, 50, 90,
                                        65, 99, 90, 80, 92, 50, 95, 20, 70, 12, 50, 26}),
                        Bend(50, 28, 50, 18, 52, 10, 56, 2, 4), Ellipse(68, 12, 12, 5, -25)}),
                 96, false, true});
    s.push_back(
        {"pear",
         Union({Circle(50, 70, 28), Circle(50, 36, 17), Poly({34, 40, 66, 40, 77, 62, 23, 62}),
                Bend(50, 22, 50, 14, 52, 8, 58, 2, 4)}),
         104, false, true});
    s.push_back({"bell",
                 Union({Curves(50, 8, {30, 8,  26, 26, 25, 46, 24, 64, 16, 74, 6,  82, 50, 82, 50,
                                       82, 94, 82, 84, 74, 76, 64, 75, 46, 74, 26, 70, 8,  50, 8}),
                        Circle(50, 88, 9), Circle(50, 6, 6)}),
                 100, false, true});
    s.push_back({"house",
                 Union({Poly({20, 46, 80, 46, 80, 96, 20, 96}), Poly({6, 50, 50, 10, 94, 50}),
                        Poly({64, 14, 76, 14, 76, 40, 64, 40})}),
                 100, false, true});
    s.push_back({"umbrella",
                 Union({Curves(4, 50, {4,  10, 96, 10, 96, 50, 88, 44, 80, 44, 73, 50, 66, 44, 57,
                                       44, 50, 50, 43, 44, 34, 44, 27, 50, 20, 44, 12, 44, 4,  50}),
                        [] {
                            QPainterPath h(QPointF(50, 46));
                            h.lineTo(50, 84);
                            h.cubicTo(50, 98, 34, 98, 34, 86);
                            return Stroke(h, 7);
                        }()}),
                 104, false, true});
    s.push_back({"teapot",
                 Union({Ellipse(48, 64, 32, 26), Ellipse(48, 38, 16, 6), Circle(48, 30, 6),
                        Curves(74, 66, {86, 60, 88, 44, 98, 34, 96, 52, 92, 70, 72, 80}),
                        Stroke(
                            [] {
                                QPainterPath h(QPointF(20, 50));
                                h.cubicTo(2, 46, 0, 76, 22, 80);
                                return h;
                            }(),
                            8),
                        Poly({28, 86, 68, 86, 64, 92, 32, 92})}),
                 110, false, true});
    s.push_back(
        {"butterfly",
         Union({Ellipse(30, 32, 24, 18, -35), Ellipse(70, 32, 24, 18, 35),
                Ellipse(34, 68, 17, 13, 35), Ellipse(66, 68, 17, 13, -35), Ellipse(50, 52, 5, 30),
                Bend(48, 24, 44, 14, 40, 8, 34, 4, 3), Bend(52, 24, 56, 14, 60, 8, 66, 4, 3)}),
         106, true, false});
    s.push_back(
        {"snail",
         Union({Circle(56, 48, 30), Curves(4, 88, {4,  74, 16, 70, 28, 74, 50, 76, 70, 76, 92, 78,
                                                   99, 82, 99, 90, 90, 92, 60, 92, 30, 92, 4,  88}),
                Bend(12, 76, 10, 66, 8, 58, 4, 50, 4), Bend(20, 74, 20, 64, 20, 56, 18, 48, 4),
                Circle(4, 50, 4), Circle(18, 48, 4)}),
         106, false, true});
    s.push_back({"turtle",
                 Union({Curves(14, 62, {14, 18, 86, 18, 86, 62}), Ellipse(93, 54, 9, 8),
                        Ellipse(28, 68, 9, 11, 20), Ellipse(72, 68, 9, 11, -20),
                        Poly({14, 56, 2, 64, 16, 63})}),
                 110, false, true});
    s.push_back(
        {"duck",
         Union({Curves(6, 52,
                       {10, 90, 70, 96, 88, 72, 92, 60, 80, 50, 66, 56, 40, 62, 20, 56, 6, 52}),
                Circle(74, 34, 15), Ellipse(70, 52, 10, 16, -10),
                Curves(84, 30, {96, 28, 100, 36, 100, 38, 96, 42, 90, 42, 84, 42})}),
         100, false, true});
    s.push_back(
        {"elephant",
         Union({Ellipse(58, 50, 34, 26), Circle(26, 44, 19), Ellipse(38, 40, 12, 18),
                Bend(14, 50, 4, 64, 6, 80, 14, 92, 9), Poly({38, 64, 52, 64, 52, 96, 38, 96}),
                Poly({68, 64, 82, 64, 82, 96, 68, 96}), Bend(90, 46, 96, 52, 97, 60, 96, 66, 3)}),
         114, false, true});
    s.push_back(
        {"cloud",
         Union({Circle(28, 58, 20), Circle(50, 42, 25), Circle(72, 52, 20), Circle(86, 66, 13),
                Circle(14, 70, 12), Poly({14, 62, 88, 62, 88, 82, 14, 82}), Circle(50, 72, 12)}),
         110, true, true});
    s.push_back({"sun",
                 [] {
                     QPainterPath p = Circle(50, 50, 27);
                     for (int k = 0; k < 12; ++k) {
                         const double a = k * M_PI / 6, b = 0.16;
                         p = Union(
                             {p, Poly({50 + 24 * std::cos(a - b), 50 + 24 * std::sin(a - b),
                                       50 + 49 * std::cos(a), 50 + 49 * std::sin(a),
                                       50 + 24 * std::cos(a + b), 50 + 24 * std::sin(a + b)})});
                     }
                     return p;
                 }(),
                 100, false, false});
    s.push_back({"shamrock",
                 [] {
                     QPainterPath heart =
                         Curves(0, 0, {-14, -10, -22, -22, -18, -32, -14, -42, -2, -42, 0, -32,
                                       2,   -42, 14,  -42, 18,  -32, 22,  -22, 14, -10, 0, 0});
                     QPainterPath p;
                     for (int k = 0; k < 3; ++k) {
                         QTransform t;
                         t.translate(50, 46);
                         t.rotate(k * 120);
                         p = Union({p, t.map(heart)});
                     }
                     p = Union({p, Circle(50, 46, 6)});
                     p = Union({p, Bend(50, 46, 54, 70, 60, 86, 68, 98, 5)});
                     return p;
                 }(),
                 104, true, true});
    s.push_back({"sailboat",
                 Union({Curves(4, 70, {30, 70, 70, 70, 96, 70, 86, 90, 20, 92, 4, 70}),
                        Curves(50, 4, {70, 24, 84, 44, 92, 74, 76, 74, 62, 74, 50, 74}),
                        Poly({48, 14, 48, 74, 10, 74}), Line(49, 4, 49, 74, 4)}),
                 106, false, true});
    s.push_back({"light bulb",
                 Union({Circle(50, 36, 30), Poly({32, 56, 68, 56, 62, 76, 38, 76}),
                        Curves(36, 76, {36, 88, 40, 94, 50, 96, 60, 94, 64, 88, 64, 76})}),
                 100, false, false});
    s.push_back({"whale",
                 Curves(4, 58, {4,  26, 58, 20, 76, 46, 80, 54, 84, 50, 90, 38, 92, 34, 96,
                                30, 99, 30, 96, 44, 94, 58, 88, 62, 70, 84, 20, 88, 4,  58}),
                 114, false, true});
    s.push_back(
        {"owl",
         Union({Ellipse(50, 58, 30, 38), Poly({22, 36, 24, 4, 46, 24}),
                Poly({78, 36, 76, 4, 54, 24}), Ellipse(40, 96, 7, 4), Ellipse(60, 96, 7, 4)}),
         104, false, false});
    s.push_back(
        {"crown",
         Union({Poly({10, 82, 6, 30, 30, 56, 50, 20, 70, 56, 94, 30, 90, 82}), Circle(6, 28, 6),
                Circle(50, 16, 7), Circle(94, 28, 6), Poly({10, 80, 90, 80, 90, 94, 10, 94})}),
         100, false, false});
    s.push_back({"note",
                 Union({Ellipse(34, 82, 18, 13, -20), Line(48, 80, 48, 6, 7),
                        Curves(46, 4, {60, 14, 80, 22, 78, 48, 72, 34, 62, 30, 50, 30})}),
                 104, false, true});
    s.push_back(
        {"dog",
         Union({Ellipse(54, 52, 32, 18), Circle(20, 30, 14), Ellipse(7, 37, 10, 7),
                Ellipse(28, 44, 11, 14, 30), Ellipse(26, 32, 6, 13, -15), Line(32, 60, 30, 84, 10),
                Line(46, 62, 46, 84, 10), Line(66, 62, 68, 84, 10), Line(78, 58, 82, 84, 10),
                Bend(82, 46, 92, 40, 96, 28, 94, 16, 6)}),
         110, false, true});
    return s;
}

// Scales the design to its natural size and writes it as a metafile.
ShapeFileEntry Encode(const Silhouette& sil, bool points16) {
    const QRectF b = sil.path.boundingRect();
    const double scale = sil.size / std::max(b.width(), b.height());
    const int w = int(std::ceil(b.width() * scale)) + 2, h = int(std::ceil(b.height() * scale)) + 2;
    QTransform t;
    t.translate(1, 1);
    t.scale(scale, scale);
    t.translate(-b.left(), -b.top());
    const QPainterPath path = t.map(sil.path);

    MetafileWriter mw(w, h);
    mw.Record(EMR_CREATEPEN, {1, 0, 1, 0, 0});         // solid, width 1, black
    mw.Record(EMR_CREATEBRUSHINDIRECT, {2, 0, 0, 0});  // solid, black
    mw.Record(EMR_SELECTOBJECT, {1});
    mw.Record(EMR_SELECTOBJECT, {2});
    mw.Record(EMR_SETPOLYFILLMODE, {2});  // winding
    mw.Record(EMR_BEGINPATH, {});
    std::vector<int32_t> curve;
    auto flush = [&] {
        if (curve.empty()) return;
        if (points16)
            mw.Points16(EMR_POLYBEZIERTO16, curve);
        else
            mw.Points32(EMR_POLYBEZIERTO, curve);
        curve.clear();
    };
    bool open = false;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        const int32_t x = int32_t(std::lround(e.x)), y = int32_t(std::lround(e.y));
        if (e.type == QPainterPath::MoveToElement) {
            flush();
            if (open) mw.Record(EMR_CLOSEFIGURE, {});
            mw.MoveTo(x, y);
            open = true;
        } else if (e.type == QPainterPath::LineToElement) {
            flush();
            mw.LineTo(x, y);
        } else {
            curve.push_back(x);
            curve.push_back(y);
        }
    }
    flush();
    if (open) mw.Record(EMR_CLOSEFIGURE, {});
    mw.Record(EMR_ENDPATH, {});
    mw.Record(EMR_STROKEANDFILLPATH, {0, 0, uint32_t(w), uint32_t(h)});
    mw.Record(EMR_SELECTOBJECT, {kStockObject | kNullPen});
    mw.Record(EMR_SELECTOBJECT, {kStockObject | kNullBrush});
    mw.Record(EMR_DELETEOBJECT, {1});
    mw.Record(EMR_DELETEOBJECT, {2});
    return {w, h, sil.flipV, sil.flipH, mw.Finish()};
}

// Plays every entry of the file through the cutter's rasteriser, large and at
// the size of a fine cut's piece, into one sheet.
bool WriteSheet(const std::vector<uint8_t>& file, const char* path) {
    ShapeData data;
    if (ParseShapeData(data, file.data(), file.size()) != ShapeLoadResult::Loaded) return false;
    const int cell = 260, small = 34, cols = 6;
    const int rows = (data.Count + cols - 1) / cols;
    TMyBitmap sheet;
    if (!Create24(sheet, cols * cell, rows * cell)) return false;
    for (int y = 0; y < sheet.Height; ++y)
        std::memset(RowPtr(sheet, y), 0xFF, size_t(sheet.Stride));
    for (int i = 0; i < data.Count; ++i) {
        if (!SelectShape(data, i)) return false;
        const ShapeDirEntry& e = data.Entries[size_t(i)];
        const double k = 200.0 / std::max(e.width, e.height);
        const int w = int(e.width * k), h = int(e.height * k);
        const int x0 = (i % cols) * cell + 10, y0 = (i / cols) * cell + 10;
        const TColor c = RgbToColor(128, 0, 25 + 25 * (i % 9));
        TMetafile mf = data.Current;
        RecolourShape(mf, c);
        DrawMetafile(sheet, mf, x0, y0, w, h, &c);
        // Small, turned and mirrored as a fine cut would place it.
        TMetafile turned = data.Current;
        MirrorShape(turned, e.flipHorizontal != 0, e.flipVertical != 0);
        const RotatedSize rs = RotateShape(turned, -25);
        const double ks = double(small) / std::max(e.width, e.height);
        DrawMetafile(sheet, turned, x0 + 206, y0 + 200, int(std::lround(rs.W2 * ks)),
                     int(std::lround(rs.H2 * ks)), &c);
    }
    QImage img(sheet.Width, sheet.Height, QImage::Format_RGB888);
    for (int y = 0; y < sheet.Height; ++y) {
        const uint8_t* src = RowPtr(sheet, y);
        uint8_t* dst = img.scanLine(y);
        for (int x = 0; x < sheet.Width; ++x) {
            dst[3 * x] = src[3 * x + 2];
            dst[3 * x + 1] = src[3 * x + 1];
            dst[3 * x + 2] = src[3 * x];
        }
    }
    return img.save(path);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: gen-shapes <out.dat> [--sheet <sheet.png>] [--list]\n");
        return 2;
    }
    QGuiApplication::setApplicationName("gen-shapes");
    const std::vector<Silhouette> designs = Design();
    std::vector<ShapeFileEntry> entries;
    for (size_t i = 0; i < designs.size(); ++i) entries.push_back(Encode(designs[i], i % 3 == 2));
    const std::vector<uint8_t> file = BuildShapeFile(entries);
    std::ofstream out(argv[1], std::ios::binary);
    out.write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
    if (!out) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    out.close();
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], "--sheet") == 0 && i + 1 < argc) {
            if (!WriteSheet(file, argv[++i])) {
                std::fprintf(stderr, "cannot make the sheet\n");
                return 1;
            }
        } else if (std::strcmp(argv[i], "--list") == 0) {
            for (size_t k = 0; k < designs.size(); ++k)
                std::printf("%2zu %-12s %3d x %3d  flipV %d flipH %d  %zu bytes\n", k,
                            designs[k].name, entries[k].width, entries[k].height,
                            entries[k].flipVertical, entries[k].flipHorizontal,
                            entries[k].blob.size());
        }
    }
    return 0;
}
