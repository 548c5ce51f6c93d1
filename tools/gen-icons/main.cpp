// Draws the program's desktop icon, the game's mark (a jigsaw piece in the
// product colour on a dark tile), in the sizes desktops look for:
//   <output>/hicolor/<n>x<n>/apps/orvel-jigsaw.png
//
//   gen-icons <output folder>

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>

namespace {

const QColor kTile(0x2a, 0x25, 0x22);
const QColor kTileEdge(0x1d, 0x1a, 0x18);
const QColor kFlame(0xff, 0x52, 0x2b);
const QColor kCopper(0xe8, 0x6a, 0x3c);
const QColor kCopper2(0xb0, 0x43, 0x26);
const QColor kCream(0xf6, 0xea, 0xd7);

// One piece with a knob on top and on the right, and a hole at the left,
// in a 64 x 64 design square.
QPainterPath Piece() {
    QPainterPath body;
    body.addRoundedRect(QRectF(12, 20, 32, 32), 4, 4);
    QPainterPath knobs;
    knobs.addEllipse(QRectF(21, 9, 14, 15));
    knobs.addEllipse(QRectF(40, 29, 15, 14));
    QPainterPath hole;
    hole.addEllipse(QRectF(7, 30, 12, 12));
    return body.united(knobs).subtracted(hole).simplified();
}

QImage Icon(int size) {
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    p.setPen(QPen(kTileEdge, 1.5));
    p.setBrush(kTile);
    p.drawRoundedRect(QRectF(2, 2, 60, 60), 12, 12);
    QLinearGradient shine(QPointF(0, 8), QPointF(0, 56));
    shine.setColorAt(0, kFlame);
    shine.setColorAt(1, kCopper2);
    p.setPen(QPen(kCopper2.darker(150), size >= 32 ? 1.2 : 0.8));
    p.setBrush(shine);
    p.drawPath(Piece());
    if (size >= 32) {
        // A highlight along the top edge, as the pieces have in play.
        p.setPen(QPen(kCream, 1.4));
        p.setOpacity(0.6);
        p.drawLine(QPointF(15, 23), QPointF(20, 23));
        p.drawLine(QPointF(37, 23), QPointF(41, 23));
    }
    return img;
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: gen-icons <output folder>\n");
        return 2;
    }
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString dir = QString("%1/hicolor/%2x%2/apps").arg(argv[1]).arg(size);
        QDir().mkpath(dir);
        if (!Icon(size).save(dir + "/orvel-jigsaw.png")) {
            std::fprintf(stderr, "gen-icons: cannot write %s\n", qPrintable(dir));
            return 1;
        }
    }
    return 0;
}
