// Draws the game's skin pictures. Every block sits at the place the play
// windows, toolbar and progress panel take it from, so moving a block here
// means moving its coordinates in the game as well.
//
//   gen-skins <output folder>

#include <QColor>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>
#include <cstdio>

namespace {

// The palette every picture shares.
const QColor kInk(0x1d, 0x1a, 0x18);       // darkest frame line
const QColor kCharcoal(0x3a, 0x34, 0x30);  // inactive caption
const QColor kCharcoal2(0x2a, 0x25, 0x22);
const QColor kCopper(0xe8, 0x6a, 0x3c);  // active caption, highlights
const QColor kCopper2(0xb0, 0x43, 0x26);
const QColor kFlame(0xff, 0x52, 0x2b);  // the product colour
const QColor kCream(0xf6, 0xea, 0xd7);  // icon and glyph colour
const QColor kSteel(0x8c, 0x86, 0x80);

QImage NewImage(int w, int h) {
    QImage img(w, h, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    return img;
}

void Aa(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
}

// ---------------------------------------------------------------- window skin

// A 100 x 100 window: 22-pixel caption (18 + border), 4-pixel border, rounded top.
void DrawFrameTemplate(QPainter& p, int x0, bool active) {
    p.save();
    p.translate(x0, 1);
    QPainterPath outer;
    outer.addRoundedRect(QRectF(0, 0, 100, 100), 6, 6);
    QPainterPath hole;
    hole.addRect(QRectF(4, 22, 92, 74));
    QPainterPath frame = outer.subtracted(hole);
    QLinearGradient g(0, 0, 0, 100);
    if (active) {
        g.setColorAt(0.0, kCopper.lighter(118));
        g.setColorAt(0.20, kCopper);
        g.setColorAt(0.22, kCopper2);
        g.setColorAt(1.0, kCopper2.darker(125));
    } else {
        g.setColorAt(0.0, kCharcoal.lighter(135));
        g.setColorAt(0.20, kCharcoal);
        g.setColorAt(0.22, kCharcoal2);
        g.setColorAt(1.0, kCharcoal2.darker(120));
    }
    p.fillPath(frame, g);
    // A soft gloss on the upper half of the caption.
    QPainterPath gloss;
    gloss.addRoundedRect(QRectF(1, 1, 98, 10), 5, 5);
    p.fillPath(gloss.intersected(outer), QColor(255, 255, 255, active ? 46 : 26));
    // Outline and the inner line around the client.
    p.setPen(QPen(kInk, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(0.5, 0.5, 99, 99), 5.5, 5.5);
    p.setPen(QPen(active ? kCopper2.darker(160) : kInk, 1));
    p.drawRect(QRectF(3.5, 21.5, 93, 75));
    p.setPen(QPen(QColor(255, 255, 255, active ? 70 : 40), 1));
    p.drawLine(QPointF(6, 1.5), QPointF(94, 1.5));
    p.restore();
}

// Close button images: normal, hover, active, active hover, pressed at d = 23.
void DrawCloseButtons(QPainter& p) {
    for (int k = 0; k < 5; ++k) {
        const bool active = k >= 2;
        const bool hover = k == 1 || k == 3;
        const bool pressed = k == 4;
        QRectF r(2 + 23 * k + 3.5, 110 + 3.5, 13, 13);
        QColor fill = active ? kFlame : kSteel.darker(130);
        if (hover) fill = active ? kFlame.lighter(125) : kSteel;
        if (pressed) fill = kCopper2.darker(130);
        QRadialGradient rg(r.center() - QPointF(2, 2), 9);
        rg.setColorAt(0, fill.lighter(130));
        rg.setColorAt(1, fill);
        p.setPen(QPen(kInk, 1));
        p.setBrush(rg);
        p.drawEllipse(r);
        QPen x(kCream, 1.8, Qt::SolidLine, Qt::RoundCap);
        p.setPen(x);
        const QPointF c = r.center() + (pressed ? QPointF(0.5, 0.5) : QPointF(0, 0));
        p.drawLine(c + QPointF(-3, -3), c + QPointF(3, 3));
        p.drawLine(c + QPointF(3, -3), c + QPointF(-3, 3));
    }
}

// An arrow in a 17 x 17 cell pointing in direction dir (0 left, 1 right, 2 up, 3 down).
void DrawArrowButton(QPainter& p, int x, int y, int dir, int state) {
    QRectF r(x + 0.5, y + 0.5, 16, 16);
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    QColor base = state == 0 ? QColor(0x5a, 0x54, 0x50) : (state == 1 ? kCopper : kCopper2);
    g.setColorAt(0, base.lighter(125));
    g.setColorAt(1, base.darker(110));
    p.setPen(QPen(kInk, 1));
    p.setBrush(g);
    p.drawRoundedRect(r, 3, 3);
    QPolygonF tri;
    const QPointF c = r.center() + (state == 2 ? QPointF(0.5, 0.5) : QPointF(0, 0));
    switch (dir) {
        case 0:
            tri << c + QPointF(-3.5, 0) << c + QPointF(2.5, -4) << c + QPointF(2.5, 4);
            break;
        case 1:
            tri << c + QPointF(3.5, 0) << c + QPointF(-2.5, -4) << c + QPointF(-2.5, 4);
            break;
        case 2:
            tri << c + QPointF(0, -3.5) << c + QPointF(-4, 2.5) << c + QPointF(4, 2.5);
            break;
        default:
            tri << c + QPointF(0, 3.5) << c + QPointF(-4, -2.5) << c + QPointF(4, -2.5);
            break;
    }
    p.setPen(Qt::NoPen);
    p.setBrush(kCream);
    p.drawPolygon(tri);
}

// A thumb drawn as three slices: ends of 7 pixels and a stretchable middle.
void DrawThumb(QPainter& p, int x, int y, bool horizontal, int state) {
    QRectF r = horizontal ? QRectF(x + 0.5, y + 2.5, 16, 12) : QRectF(x + 2.5, y + 0.5, 12, 16);
    QColor base =
        state == 0 ? QColor(0xc9, 0xbf, 0xb3) : (state == 1 ? kCopper.lighter(115) : kCopper);
    QLinearGradient g = horizontal ? QLinearGradient(r.topLeft(), r.bottomLeft())
                                   : QLinearGradient(r.topLeft(), r.topRight());
    g.setColorAt(0, base.lighter(115));
    g.setColorAt(1, base.darker(115));
    p.setPen(QPen(kInk, 1));
    p.setBrush(g);
    p.drawRoundedRect(r, 5, 5);
}

void DrawTracks(QPainter& p) {
    // Corner square (276, 1).
    QRectF corner(276, 1, 17, 17);
    p.fillRect(corner, QColor(0x4a, 0x45, 0x41));
    p.setPen(QPen(QColor(0x2a, 0x26, 0x23), 1));
    for (int i = 0; i < 3; ++i) {
        p.drawLine(QPointF(276 + 6 + 4 * i, 1 + 15), QPointF(276 + 15, 1 + 6 + 4 * i));
    }
    // Vertical track: rows 21.. of columns 276..292, used one row at a time.
    for (int row = 21; row < 41; ++row) {
        for (int c = 0; c < 17; ++c) {
            const double t = c / 16.0;
            const int v = static_cast<int>(0x52 + 18 * std::sin(t * M_PI));
            QColor col(v, v - 4, v - 8);
            if (c == 0 || c == 16) col = QColor(0x2e, 0x2a, 0x27);
            p.fillRect(QRectF(276 + c, row, 1, 1), col);
        }
    }
    // Horizontal track: column 296.. of rows 1..17.
    for (int col = 296; col < 307; ++col) {
        for (int r = 0; r < 17; ++r) {
            const double t = r / 16.0;
            const int v = static_cast<int>(0x52 + 18 * std::sin(t * M_PI));
            QColor c(v, v - 4, v - 8);
            if (r == 0 || r == 16) c = QColor(0x2e, 0x2a, 0x27);
            p.fillRect(QRectF(col, 1 + r, 1, 1), c);
        }
    }
}

QColor ToolbarColorAt(int y) {
    // Vertical only, so tiles and icon blocks join without seams.
    const double t = y / 34.0;
    const int r = static_cast<int>(0x3b - 0x1a * t), g = static_cast<int>(0x34 - 0x18 * t),
              b = static_cast<int>(0x2f - 0x16 * t);
    if (y == 0) return QColor(0x5a, 0x50, 0x48);
    if (y == 33) return kCopper2.darker(140);
    if (y == 34) return QColor(0x12, 0x10, 0x0f);
    return QColor(r, g, b);
}

void DrawToolbarBackground(QPainter& p) {
    for (int y = 0; y < 35; ++y) p.fillRect(QRect(308, 115 + y, 70, 1), ToolbarColorAt(y));
    // The two ends darken towards the window edge.
    for (int x = 0; x < 10; ++x) {
        const int a = 60 - x * 6;
        p.fillRect(QRect(308 + x, 115, 1, 35), QColor(0, 0, 0, a));
        p.fillRect(QRect(377 - x, 115, 1, 35), QColor(0, 0, 0, a));
    }
}

void DrawProgressParts(QPainter& p) {
    // Panel 10 x 100 pieces: left (308,1), tile (318,1), right (328,1).
    // 31 columns so that the 2-pixel outline lies whole inside on both sides.
    QImage panel = NewImage(31, 100);
    {
        QPainter q(&panel);
        Aa(q);
        QLinearGradient g(0, 0, 0, 100);
        g.setColorAt(0, QColor(0x46, 0x3f, 0x3a));
        g.setColorAt(1, QColor(0x24, 0x20, 0x1d));
        q.setPen(QPen(kCopper, 2));
        q.setBrush(g);
        q.drawRoundedRect(QRectF(1, 1, 28, 97), 8, 8);
    }
    // Left end, a stretch-free middle column repeated, right end.
    p.drawImage(QPoint(308, 1), panel, QRect(0, 0, 10, 100));
    for (int x = 0; x < 10; ++x) p.drawImage(QPoint(318 + x, 1), panel, QRect(15, 0, 1, 100));
    p.drawImage(QPoint(328, 1), panel, QRect(21, 0, 10, 100));

    // Bars 10 x 20: full at row 1, empty at row 22; left (340), tile (350), right (360).
    for (int full = 0; full < 2; ++full) {
        QImage bar = NewImage(30, 20);
        QPainter q(&bar);
        Aa(q);
        QLinearGradient g(0, 0, 0, 20);
        if (full) {
            g.setColorAt(0, kFlame.lighter(140));
            g.setColorAt(0.45, kFlame);
            g.setColorAt(1, kCopper2);
        } else {
            g.setColorAt(0, QColor(0x14, 0x12, 0x11));
            g.setColorAt(1, QColor(0x33, 0x2e, 0x2a));
        }
        q.setPen(QPen(kInk, 1));
        q.setBrush(g);
        q.drawRoundedRect(QRectF(0.5, 0.5, 29, 19), 6, 6);
        q.end();
        const int y = full ? 1 : 22;
        p.drawImage(QPoint(340, y), bar, QRect(0, 0, 10, 20));
        for (int x = 0; x < 10; ++x) p.drawImage(QPoint(350 + x, y), bar, QRect(15, 0, 1, 20));
        p.drawImage(QPoint(360, y), bar, QRect(20, 0, 10, 20));
    }
}

QImage MakeWindowSkin() {
    QImage img = NewImage(390, 170);
    QPainter p(&img);
    Aa(p);
    DrawFrameTemplate(p, 1, false);
    DrawFrameTemplate(p, 103, true);
    DrawCloseButtons(p);
    const int rows[6] = {1, 21, 41, 61, 81, 101};
    for (int s = 0; s < 3; ++s) {
        const int x = 211 + 20 * s;
        DrawArrowButton(p, x, rows[0], 0, s);
        DrawArrowButton(p, x, rows[1], 1, s);
        DrawThumb(p, x, rows[2], true, s);
        DrawArrowButton(p, x, rows[3], 2, s);
        DrawArrowButton(p, x, rows[4], 3, s);
        DrawThumb(p, x, rows[5], false, s);
    }
    DrawTracks(p);
    DrawProgressParts(p);
    DrawToolbarBackground(p);
    return img;
}

// ---------------------------------------------------------------- glass skin

QImage MakeGlassSkin() {
    // The bezel around a 240 x 240 lens, cut into four 93 x 93 corners.
    QImage full = NewImage(240, 240);
    {
        QPainter p(&full);
        Aa(p);
        QPainterPath outer;
        outer.addRoundedRect(QRectF(2, 2, 236, 236), 34, 34);
        QPainterPath lens;
        lens.addEllipse(QRectF(2, 2, 236, 236));
        QPainterPath bezel = outer.subtracted(lens);
        QLinearGradient g(0, 0, 240, 240);
        g.setColorAt(0, QColor(0x8a, 0x7e, 0x74));
        g.setColorAt(0.5, QColor(0x4a, 0x42, 0x3c));
        g.setColorAt(1, QColor(0x26, 0x21, 0x1e));
        p.fillPath(bezel, g);
        p.setPen(QPen(kInk, 1.5));
        p.drawPath(outer);
        p.setPen(QPen(kCopper, 2));
        p.drawEllipse(QRectF(3, 3, 234, 234));
        // Rivets in the corners.
        for (QPointF c : {QPointF(22, 22), QPointF(218, 22), QPointF(22, 218), QPointF(218, 218)}) {
            QRadialGradient rg(c - QPointF(1, 1), 5);
            rg.setColorAt(0, kCream);
            rg.setColorAt(1, kSteel.darker(140));
            p.setPen(Qt::NoPen);
            p.setBrush(rg);
            p.drawEllipse(c, 3.5, 3.5);
        }
        // Grip ridges in the lower-right corner (the lower-right half of a 21 x 21 square at 215,
        // 216).
        p.setPen(QPen(kCream, 1.4));
        for (int i = 0; i < 4; ++i) {
            const double o = 6 + 4.5 * i;
            p.drawLine(QPointF(236 - o, 236 - 1), QPointF(236 - 1, 236 - o));
        }
    }
    QImage img = NewImage(290, 189);
    QPainter p(&img);
    p.drawImage(QPoint(0, 0), full, QRect(0, 0, 93, 93));
    p.drawImage(QPoint(96, 0), full, QRect(147, 0, 93, 93));
    p.drawImage(QPoint(0, 96), full, QRect(0, 147, 93, 93));
    p.drawImage(QPoint(96, 96), full, QRect(147, 147, 93, 93));
    Aa(p);
    // Close button 14 x 14: normal, hover, pressed at 196, 213, 230.
    for (int s = 0; s < 3; ++s) {
        QRectF r(196 + 17 * s + 0.5, 2.5, 13, 13);
        QColor fill = s == 0 ? kCopper2 : (s == 1 ? kFlame : kCopper2.darker(140));
        p.setPen(QPen(kInk, 1));
        p.setBrush(fill);
        p.drawEllipse(r);
        p.setPen(QPen(kCream, 1.6, Qt::SolidLine, Qt::RoundCap));
        const QPointF c = r.center();
        p.drawLine(c + QPointF(-2.7, -2.7), c + QPointF(2.7, 2.7));
        p.drawLine(c + QPointF(2.7, -2.7), c + QPointF(-2.7, 2.7));
    }
    // Zoom buttons 27 x 27 at rows 25 and 55: normal, hover, pressed at 196, 226, 256.
    QFont f("DejaVu Sans");
    f.setPixelSize(11);
    f.setBold(true);
    p.setFont(f);
    for (int row = 0; row < 2; ++row) {
        for (int s = 0; s < 3; ++s) {
            QRectF r(196 + 30 * s + 1.5, (row == 0 ? 25 : 55) + 1.5, 24, 24);
            QRadialGradient rg(r.center() - QPointF(3, 3), 16);
            QColor base = s == 0 ? QColor(0x4a, 0x42, 0x3c) : (s == 1 ? kCopper : kCopper2);
            rg.setColorAt(0, base.lighter(140));
            rg.setColorAt(1, base);
            p.setPen(QPen(kInk, 1));
            p.setBrush(rg);
            p.drawEllipse(r);
            p.setPen(kCream);
            p.drawText(r.translated(s == 2 ? 0.5 : 0, s == 2 ? 0.5 : 0), Qt::AlignCenter,
                       row == 0 ? "x2" : "x3");
        }
    }
    return img;
}

// ---------------------------------------------------------------- toolbar skin

using IconFn = void (*)(QPainter&, const QColor&, const QColor&);

QPen Stroke(const QColor& c, double w = 2.0) {
    return QPen(c, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// Icons are drawn in a 29 x 29 cell; fg the main colour, ac the accent.
void IconOpen(QPainter& p, const QColor& fg, const QColor& ac) {
    QPainterPath back;
    back.moveTo(5, 9);
    back.lineTo(11, 9);
    back.lineTo(13, 11);
    back.lineTo(23, 11);
    back.lineTo(23, 22);
    back.lineTo(5, 22);
    back.closeSubpath();
    p.setPen(Stroke(fg, 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawPath(back);
    QPainterPath front;
    front.moveTo(7, 14);
    front.lineTo(25, 14);
    front.lineTo(22, 22);
    front.lineTo(5, 22);
    front.closeSubpath();
    p.setBrush(ac);
    p.drawPath(front);
}
void IconSave(QPainter& p, const QColor& fg, const QColor& ac) {
    p.setPen(Stroke(fg, 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(6, 6, 17, 17), 2, 2);
    p.setBrush(ac);
    p.drawRect(QRectF(9.5, 6, 10, 6));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(9, 15, 11, 8));
}
void IconDownload(QPainter& p, const QColor& fg, const QColor& ac) {
    p.setPen(Stroke(fg, 1.8));
    p.drawLine(QPointF(6, 18), QPointF(6, 23));
    p.drawLine(QPointF(6, 23), QPointF(23, 23));
    p.drawLine(QPointF(23, 23), QPointF(23, 18));
    p.setPen(Stroke(ac, 2.4));
    p.drawLine(QPointF(14.5, 5), QPointF(14.5, 17));
    p.drawLine(QPointF(9.5, 12.5), QPointF(14.5, 17.5));
    p.drawLine(QPointF(19.5, 12.5), QPointF(14.5, 17.5));
}
void IconBkgAll(QPainter& p, const QColor& fg, const QColor& ac) {
    p.setPen(Stroke(fg, 1.2));
    const QColor cols[4] = {ac, fg, fg.darker(130), ac.darker(130)};
    for (int i = 0; i < 4; ++i) {
        p.setBrush(cols[i]);
        p.drawRoundedRect(QRectF(6 + (i % 2) * 9, 6 + (i / 2) * 9, 8, 8), 1.5, 1.5);
    }
}
void IconBkgCur(QPainter& p, const QColor& fg, const QColor& ac) {
    p.setPen(Stroke(fg, 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(5, 7, 15, 15), 2, 2);
    p.setBrush(ac);
    p.drawRoundedRect(QRectF(9, 11, 7, 7), 1, 1);
    // A brush crossing the corner.
    p.setPen(Stroke(fg, 2.2));
    p.drawLine(QPointF(17, 17), QPointF(24, 6));
}
void DrawSheet(QPainter& p, const QColor& fg, const QColor& ac, const char* digit) {
    p.setPen(Stroke(fg, 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(6, 5, 17, 19), 2, 2);
    QFont f("DejaVu Sans");
    f.setPixelSize(13);
    f.setBold(true);
    p.setFont(f);
    p.setPen(ac);
    p.drawText(QRectF(6, 5, 17, 19), Qt::AlignCenter, digit);
}
void IconWin1(QPainter& p, const QColor& fg, const QColor& ac) {
    DrawSheet(p, fg, ac, "1");
}
void IconWin2(QPainter& p, const QColor& fg, const QColor& ac) {
    DrawSheet(p, fg, ac, "2");
}
void IconThumb(QPainter& p, const QColor& fg, const QColor& ac) {
    p.setPen(Stroke(fg, 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(5, 7, 19, 15));
    p.setPen(Qt::NoPen);
    p.setBrush(ac);
    QPolygonF hill;
    hill << QPointF(6, 21) << QPointF(12, 13) << QPointF(16, 18) << QPointF(19, 15)
         << QPointF(23, 21);
    p.drawPolygon(hill);
    p.setBrush(fg);
    p.drawEllipse(QPointF(19, 11), 2, 2);
}
void IconInfo(QPainter& p, const QColor& fg, const QColor& ac) {
    p.setPen(Stroke(fg, 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(14.5, 14.5), 9, 9);
    p.setPen(Stroke(ac, 2.6));
    p.drawLine(QPointF(14.5, 13), QPointF(14.5, 19.5));
    p.drawPoint(QPointF(14.5, 9.3));
}
void DrawPocket(QPainter& p, const QColor& fg, const QColor& ac, bool full) {
    QPainterPath bag;
    bag.moveTo(6, 9);
    bag.lineTo(23, 9);
    bag.lineTo(22, 20);
    bag.quadTo(14.5, 25, 7, 20);
    bag.closeSubpath();
    p.setPen(Stroke(fg, 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawPath(bag);
    p.drawLine(QPointF(6, 12.5), QPointF(23, 12.5));
    if (full) {
        // A small puzzle piece peeking out.
        p.setPen(Stroke(ac.darker(150), 1));
        p.setBrush(ac);
        QPainterPath piece;
        piece.addRect(QRectF(11, 4, 7, 7));
        piece.addEllipse(QRectF(17, 5.5, 4, 4));
        p.drawPath(piece.simplified());
    }
}
void IconPocket(QPainter& p, const QColor& fg, const QColor& ac) {
    DrawPocket(p, fg, ac, false);
}
void IconPocketFull(QPainter& p, const QColor& fg, const QColor& ac) {
    DrawPocket(p, fg, ac, true);
}
void IconSelectAll(QPainter& p, const QColor& fg, const QColor& ac) {
    QPen dash(fg, 1.5, Qt::DashLine);
    dash.setDashPattern({2, 2});
    p.setPen(dash);
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(5, 5, 19, 19));
    p.setPen(Qt::NoPen);
    p.setBrush(ac);
    p.drawRect(QRectF(9, 9, 5, 5));
    p.drawRect(QRectF(15, 15, 5, 5));
}
void IconArrange(QPainter& p, const QColor& fg, const QColor& ac) {
    p.setPen(Stroke(fg, 1));
    for (int i = 0; i < 9; ++i) {
        p.setBrush(i == 4 ? ac : fg);
        p.drawRoundedRect(QRectF(5.5 + (i % 3) * 6.5, 5.5 + (i / 3) * 6.5, 5, 5), 1, 1);
    }
}
void IconGlass(QPainter& p, const QColor& fg, const QColor& ac) {
    p.setPen(Stroke(fg, 2));
    p.setBrush(QColor(ac.red(), ac.green(), ac.blue(), 90));
    p.drawEllipse(QPointF(12.5, 12.5), 6.5, 6.5);
    p.setPen(Stroke(ac, 3.2));
    p.drawLine(QPointF(17.5, 17.5), QPointF(23.5, 23.5));
}
void DrawWeight(QPainter& p, const QColor& fg, const QColor& ac, bool placed) {
    QPainterPath body;
    body.moveTo(9, 11);
    body.lineTo(20, 11);
    body.lineTo(24, 23);
    body.lineTo(5, 23);
    body.closeSubpath();
    p.setPen(Stroke(fg, 1.5));
    p.setBrush(placed ? ac : QColor(Qt::transparent));
    p.drawPath(body);
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(14.5, 8), 3, 2.6);
    if (placed) {
        p.setPen(Stroke(fg, 1.5));
        p.drawLine(QPointF(3, 25.5), QPointF(26, 25.5));
    }
}
void IconWeight(QPainter& p, const QColor& fg, const QColor& ac) {
    DrawWeight(p, fg, ac, false);
}
void IconWeightOn(QPainter& p, const QColor& fg, const QColor& ac) {
    DrawWeight(p, fg, ac, true);
}
void IconOptions(QPainter& p, const QColor& fg, const QColor& ac) {
    QPainterPath gear;
    const QPointF c(14.5, 14.5);
    for (int i = 0; i < 16; ++i) {
        const double a = i * M_PI / 8 - M_PI / 16;
        const double r = (i % 2 == 0) ? 9.5 : 7.0;
        const QPointF q = c + QPointF(r * std::cos(a), r * std::sin(a));
        const QPointF q2 = c + QPointF(r * std::cos(a + M_PI / 8), r * std::sin(a + M_PI / 8));
        if (i == 0)
            gear.moveTo(q);
        else
            gear.lineTo(q);
        gear.lineTo(q2);
    }
    gear.closeSubpath();
    p.setPen(Stroke(fg, 1.2));
    p.setBrush(fg);
    p.drawPath(gear);
    p.setBrush(ac);
    p.drawEllipse(c, 3.2, 3.2);
}
void IconHelp(QPainter& p, const QColor& fg, const QColor& ac) {
    p.setPen(Stroke(fg, 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(14.5, 14.5), 9, 9);
    QFont f("DejaVu Sans");
    f.setPixelSize(14);
    f.setBold(true);
    p.setFont(f);
    p.setPen(ac);
    p.drawText(QRectF(5, 5, 19, 19), Qt::AlignCenter, "?");
}
void IconApp(QPainter& p, const QColor& fg, const QColor& ac) {
    // The game's mark: a jigsaw piece in the accent colour with menu lines.
    QPainterPath piece;
    piece.addRoundedRect(QRectF(5, 8, 13, 13), 2, 2);
    piece.addEllipse(QRectF(9, 3.5, 5, 5.5));
    piece.addEllipse(QRectF(16, 12, 5.5, 5));
    p.setPen(Stroke(ac.darker(160), 1));
    p.setBrush(ac);
    p.drawPath(piece.simplified());
    p.setPen(Stroke(fg, 1.8));
    p.drawLine(QPointF(20, 22), QPointF(25, 22));
    p.drawLine(QPointF(20, 25), QPointF(25, 25));
}
void IconMin(QPainter& p, const QColor& fg, const QColor&) {
    p.setPen(Stroke(fg, 2.4));
    p.drawLine(QPointF(7, 19.5), QPointF(18, 19.5));
}
void IconClose(QPainter& p, const QColor& fg, const QColor& ac) {
    p.setPen(Stroke(ac, 2.6));
    p.drawLine(QPointF(7.5, 9.5), QPointF(17.5, 19.5));
    p.drawLine(QPointF(17.5, 9.5), QPointF(7.5, 19.5));
    (void)fg;
}
void IconFullScreen(QPainter& p, const QColor& fg, const QColor& ac) {
    p.setPen(Stroke(fg, 1.4));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(8.5, 9.5, 12, 10));
    p.setPen(Stroke(ac, 2));
    const double a = 5, b = 24;
    p.drawLine(QPointF(a, a + 5), QPointF(a, a));
    p.drawLine(QPointF(a, a), QPointF(a + 5, a));
    p.drawLine(QPointF(b - 5, a), QPointF(b, a));
    p.drawLine(QPointF(b, a), QPointF(b, a + 5));
    p.drawLine(QPointF(a, b - 5), QPointF(a, b));
    p.drawLine(QPointF(a, b), QPointF(a + 5, b));
    p.drawLine(QPointF(b - 5, b), QPointF(b, b));
    p.drawLine(QPointF(b, b), QPointF(b, b - 5));
}

QImage MakeToolbarSkin() {
    // Column order as the toolbar slots name their images.
    const IconFn icons[22] = {IconOpen,       IconSave,      IconDownload, IconBkgAll, IconBkgCur,
                              IconWin1,       IconWin2,      IconThumb,    IconInfo,   IconPocket,
                              IconPocketFull, IconSelectAll, IconArrange,  IconGlass,  IconWeight,
                              IconWeightOn,   IconOptions,   IconHelp,     IconApp,    IconMin,
                              IconClose,      IconFullScreen};
    QImage img(661, 91, QImage::Format_RGB32);
    img.fill(QColor(0x1d, 0x1a, 0x18));
    QPainter p(&img);
    for (int row = 0; row < 3; ++row) {
        const int y0 = 1 + 30 * row;
        for (int k = 0; k < 22; ++k) {
            const int x0 = 30 * k + 1;
            // The buttons sit 2 pixels down on the toolbar: same background rows.
            for (int y = 0; y < 29; ++y)
                p.fillRect(QRect(x0, y0 + y, 29, 1), ToolbarColorAt(y + 2));
            p.save();
            p.setClipRect(QRect(x0, y0, 29, 29));
            p.translate(x0, y0);
            Aa(p);
            const int w = (k == 19 || k == 20) ? 25 : 29;  // Min and Close show 25 columns
            if (row == 1) {
                QLinearGradient g(0, 0, 0, 29);
                g.setColorAt(0, kCopper.lighter(110));
                g.setColorAt(1, kCopper2);
                p.setPen(QPen(kFlame.lighter(130), 1));
                p.setBrush(g);
                p.drawRoundedRect(QRectF(0.5, 0.5, w - 1, 28), 5, 5);
            }
            QColor fg = kCream, ac = kFlame;
            if (row == 1) ac = QColor(0xff, 0xf1, 0xc4);
            if (row == 2) {
                fg = QColor(0x74, 0x6b, 0x64);
                ac = QColor(0x5e, 0x56, 0x50);
            }
            icons[k](p, fg, ac);
            p.restore();
        }
    }
    return img.convertToFormat(QImage::Format_RGB888);
}

// ---------------------------------------------------------------- splash

QPainterPath PiecePath(double x, double y, double s, int seed) {
    // A classic piece with knobs out on the right and bottom, holes on the left and top.
    QPainterPath path;
    const double k = s * 0.22;
    path.moveTo(x, y);
    path.lineTo(x + s * 0.38, y);
    path.arcTo(QRectF(x + s * 0.5 - k, y - k, 2 * k, 2 * k), 180, seed % 2 ? 180 : -180);
    path.lineTo(x + s, y);
    path.lineTo(x + s, y + s * 0.38);
    path.arcTo(QRectF(x + s - k, y + s * 0.5 - k, 2 * k, 2 * k), 90, -180);
    path.lineTo(x + s, y + s);
    path.lineTo(x + s * 0.62, y + s);
    path.arcTo(QRectF(x + s * 0.5 - k, y + s - k, 2 * k, 2 * k), 0, seed % 3 ? -180 : 180);
    path.lineTo(x, y + s);
    path.lineTo(x, y + s * 0.62);
    path.arcTo(QRectF(x - k, y + s * 0.5 - k, 2 * k, 2 * k), 270, 180);
    path.closeSubpath();
    return path;
}

QImage MakeSplash() {
    const int W = 560, H = 340;
    QImage img(W, H, QImage::Format_RGB32);
    QPainter p(&img);
    Aa(p);
    // Evening sky.
    QLinearGradient sky(0, 0, 0, H);
    sky.setColorAt(0, QColor(0x1a, 0x16, 0x2e));
    sky.setColorAt(0.45, QColor(0x5a, 0x2c, 0x3c));
    sky.setColorAt(0.72, QColor(0xe0, 0x7a, 0x4a));
    sky.setColorAt(1, QColor(0xf6, 0xc0, 0x7a));
    p.fillRect(0, 0, W, H, sky);
    // The sun.
    QRadialGradient sun(QPointF(400, 230), 90);
    sun.setColorAt(0, QColor(255, 236, 190, 255));
    sun.setColorAt(0.35, QColor(255, 190, 120, 200));
    sun.setColorAt(1, QColor(255, 150, 90, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(sun);
    p.drawEllipse(QPointF(400, 230), 90, 90);
    // Layered mountains.
    const QColor layers[3] = {QColor(0x6e, 0x3a, 0x44), QColor(0x42, 0x25, 0x33),
                              QColor(0x1e, 0x14, 0x1f)};
    for (int l = 0; l < 3; ++l) {
        QPainterPath m;
        m.moveTo(0, H);
        const double base = 200 + l * 38;
        for (int x = 0; x <= W; x += 8) {
            const double y = base - 40 * std::sin(x * (0.011 + l * 0.004) + l * 1.7) -
                             22 * std::sin(x * 0.031 + l) -
                             (l == 0 ? 34 * std::exp(-std::pow((x - 330) / 45.0, 2)) : 0);
            m.lineTo(x, y);
        }
        m.lineTo(W, H);
        m.closeSubpath();
        p.setBrush(layers[l]);
        p.drawPath(m);
    }
    // Jigsaw pieces drifting over the sky, the last one glowing in the product colour.
    struct P {
        double x, y, s, a;
        int seed;
        QColor c;
    };
    const P pieces[] = {{372, 40, 46, 12, 1, QColor(0xf6, 0xea, 0xd7, 60)},
                        {448, 78, 36, -18, 2, QColor(0xf6, 0xea, 0xd7, 80)},
                        {486, 24, 28, 25, 3, QColor(0xf6, 0xea, 0xd7, 50)},
                        {410, 118, 52, 6, 4, QColor(0xff, 0x52, 0x2b, 210)}};
    for (const P& pc : pieces) {
        p.save();
        p.translate(pc.x + pc.s / 2, pc.y + pc.s / 2);
        p.rotate(pc.a);
        const QPainterPath path = PiecePath(-pc.s / 2, -pc.s / 2, pc.s, pc.seed);
        p.setPen(QPen(QColor(255, 240, 220, 140), 1.5));
        p.setBrush(pc.c);
        p.drawPath(path);
        p.restore();
    }
    // Dark band at the top-left where the title labels sit.
    QRadialGradient shade(QPointF(60, 40), 330);
    shade.setColorAt(0, QColor(0, 0, 0, 120));
    shade.setColorAt(1, QColor(0, 0, 0, 0));
    p.fillRect(0, 0, W, H, shade);
    // Frame line.
    p.setPen(QPen(kCopper, 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(1, 1, W - 2, H - 2));
    return img.convertToFormat(QImage::Format_RGB888);
}

// ---------------------------------------------------------------- cursors, star, weight

QImage MakeHandCursor(bool closed) {
    QImage img = NewImage(32, 32);
    QPainter p(&img);
    Aa(p);
    QPainterPath hand;
    if (closed) {
        hand.addRoundedRect(QRectF(7, 11, 18, 14), 6, 6);
        for (int i = 0; i < 4; ++i) hand.addRoundedRect(QRectF(8 + 4.2 * i, 8, 4.6, 7), 2.3, 2.3);
        hand.addRoundedRect(QRectF(4, 14, 6, 5), 2.5, 2.5);
    } else {
        hand.addRoundedRect(QRectF(8, 13, 17, 14), 6, 6);
        const double tops[4] = {5, 3, 4, 7};
        for (int i = 0; i < 4; ++i)
            hand.addRoundedRect(QRectF(8.5 + 4.2 * i, tops[i], 4, 14 - tops[i] + 4), 2, 2);
        hand.addRoundedRect(QRectF(3, 12, 8, 5), 2.5, 2.5);
    }
    hand = hand.simplified();
    p.setPen(QPen(Qt::black, 1.4));
    p.setBrush(Qt::white);
    p.drawPath(hand);
    if (!closed) {
        // Panning: small arrows in the accent colour.
        p.setPen(QPen(kFlame, 1.4));
        p.drawLine(QPointF(26, 4), QPointF(30, 4));
        p.drawLine(QPointF(28, 2), QPointF(28, 6));
    }
    return img;
}

// The join star: five frames of 23 x 23, 24 pixels apart, a flash that
// grows and fades; the rest of the strip is transparent.
QImage MakeStar() {
    constexpr int kFrame = 23, kStep = 24, kFrames = 5;
    const double scale[kFrames] = {0.45, 0.7, 1.0, 0.85, 0.6};
    const int alpha[kFrames] = {255, 255, 255, 190, 120};
    QImage img = NewImage(kStep * (kFrames - 1) + kFrame, kFrame);
    QPainter p(&img);
    Aa(p);
    for (int f = 0; f < kFrames; ++f) {
        const QPointF c(kStep * f + 11.5, 11.5);
        const double r = 11.0 * scale[f];
        p.setOpacity(alpha[f] / 255.0);
        QRadialGradient glow(c, r);
        glow.setColorAt(0, QColor(255, 240, 190, 200));
        glow.setColorAt(1, QColor(255, 180, 80, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(glow);
        p.drawEllipse(c, r, r);
        QPolygonF star;
        for (int i = 0; i < 8; ++i) {
            const double a = i * M_PI / 4 - M_PI / 2;
            const double rr = (i % 2 == 0) ? r : r * 0.3;
            star << QPointF(c.x() + rr * std::cos(a), c.y() + rr * std::sin(a));
        }
        p.setBrush(QColor(255, 250, 230));
        p.setPen(QPen(kFlame, 1));
        p.drawPolygon(star);
    }
    return img;
}

QImage MakeWeight() {
    QImage img = NewImage(25, 33);
    QPainter p(&img);
    Aa(p);
    QPainterPath body;
    body.moveTo(6, 12);
    body.lineTo(19, 12);
    body.lineTo(24, 32);
    body.lineTo(1, 32);
    body.closeSubpath();
    QLinearGradient g(0, 0, 25, 0);
    g.setColorAt(0, QColor(0x9a, 0x92, 0x8a));
    g.setColorAt(0.45, QColor(0x4a, 0x44, 0x40));
    g.setColorAt(1, QColor(0x22, 0x1e, 0x1c));
    p.setPen(QPen(kInk, 1));
    p.setBrush(g);
    p.drawPath(body);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0x5a, 0x54, 0x50), 3));
    p.drawEllipse(QPointF(12.5, 7), 4.5, 4.5);
    QFont f("DejaVu Sans");
    f.setPixelSize(8);
    f.setBold(true);
    p.setFont(f);
    p.setPen(kCream);
    p.drawText(QRectF(1, 16, 23, 14), Qt::AlignCenter, "1kg");
    return img;
}

bool Save(const QImage& img, const QString& dir, const char* name) {
    const QString path = dir + "/" + name;
    if (!img.save(path, "PNG")) {
        std::fprintf(stderr, "gen-skins: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: gen-skins <output folder>\n");
        return 2;
    }
    QGuiApplication app(argc, argv);
    const QString dir = QString::fromLocal8Bit(argv[1]);
    bool ok = true;
    ok &= Save(MakeWindowSkin(), dir, "skin.png");
    ok &= Save(MakeGlassSkin(), dir, "glass.png");
    ok &= Save(MakeToolbarSkin(), dir, "toolbar.png");
    ok &= Save(MakeSplash(), dir, "splash.png");
    ok &= Save(MakeHandCursor(true), dir, "dragaaa.png");
    ok &= Save(MakeHandCursor(false), dir, "dragbbb.png");
    ok &= Save(MakeStar(), dir, "star.png");
    ok &= Save(MakeWeight(), dir, "weight.png");
    return ok ? 0 : 1;
}
