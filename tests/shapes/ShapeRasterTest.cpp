#include <gtest/gtest.h>

#include "cutter/ShapeData.h"
#include "cutter/ShapeRaster.h"
#include "shapes/ShapeTestUtil.h"

namespace orvel {
namespace {

using test::CountColour;
using test::Make;
using test::WhiteBitmap;

constexpr TColor kRed = 0x0000FF;

// The pixels set by a drawing into a w x h white buffer.
std::vector<std::pair<int, int>> Drawn(const TMetafile& mf, int w, int h, int bx, int by, int bw,
                                       int bh) {
    TMyBitmap b = WhiteBitmap(w, h);
    DrawMetafile(b, mf, bx, by, bw, bh);
    std::vector<std::pair<int, int>> out;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (GetPixel(b, x, y) != 0xFFFFFF) out.push_back({x, y});
    return out;
}

TEST(ShapeRaster, FilledOutlinedSquareCoversExactlyItsBox) {
    MetafileWriter mw(10, 10);
    test::PenAndBrush(mw, kRed);
    mw.Points32(EMR_POLYGON, {0, 0, 9, 0, 9, 9, 0, 9});
    TMetafile mf = Make(mw.Finish());
    TMyBitmap b = WhiteBitmap(30, 30);
    DrawMetafile(b, mf, 5, 7, 10, 10);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x) {
            const bool inside = x >= 5 && x <= 14 && y >= 7 && y <= 16;
            ASSERT_EQ(GetPixel(b, x, y), int32_t(inside ? kRed : 0xFFFFFF)) << x << "," << y;
        }
    // Stretched to twice the size it covers twice the box, less the last
    // half-pixel of the outline.
    TMyBitmap big = WhiteBitmap(40, 40);
    DrawMetafile(big, mf, 0, 0, 20, 20);
    EXPECT_EQ(GetPixel(big, 1, 1), int32_t(kRed));
    EXPECT_EQ(GetPixel(big, 19, 19), int32_t(kRed));
    EXPECT_EQ(GetPixel(big, 20, 10), 0xFFFFFF);
}

TEST(ShapeRaster, NullPenFillsOnlyPixelCentresInside) {
    MetafileWriter mw(10, 10);
    test::PenAndBrush(mw, kRed, true);
    mw.Points32(EMR_POLYGON, {0, 0, 9, 0, 9, 9, 0, 9});
    // Centres from 0.5 to 9.5 map to pixels 0 .. 8 in each direction.
    EXPECT_EQ(Drawn(Make(mw.Finish()), 20, 20, 0, 0, 10, 10).size(), 81u);
}

TEST(ShapeRaster, BezierSixteenAndThirtyTwoBitFormsDrawTheSame) {
    const std::vector<int32_t> curve{40, 0, 40, 40, 0, 40, -20, 30, -10, 10, 0, 0};
    auto make = [&](bool wide, bool to) {
        MetafileWriter mw(50, 50);
        test::PenAndBrush(mw, kRed);
        mw.Record(EMR_BEGINPATH, {});
        std::vector<int32_t> pts = curve;
        if (to) {
            mw.MoveTo(5, 5);
        } else {
            pts.insert(pts.begin(), {5, 5});
        }
        for (size_t i = 0; i < pts.size(); i += 2)
            pts[i] += to ? 5 : (i ? 5 : 0), pts[i + 1] += to ? 5 : (i ? 5 : 0);
        const uint32_t type = to ? (wide ? EMR_POLYBEZIERTO : EMR_POLYBEZIERTO16)
                                 : (wide ? EMR_POLYBEZIER : EMR_POLYBEZIER16);
        if (wide)
            mw.Points32(type, pts);
        else
            mw.Points16(type, pts);
        mw.Record(EMR_CLOSEFIGURE, {});
        mw.Record(EMR_ENDPATH, {});
        mw.Record(EMR_FILLPATH, {0, 0, 50, 50});
        return Make(mw.Finish());
    };
    const auto a = Drawn(make(true, true), 60, 60, 0, 0, 50, 50);
    EXPECT_GT(a.size(), 600u);
    EXPECT_EQ(a, Drawn(make(false, true), 60, 60, 0, 0, 50, 50));
    EXPECT_EQ(a, Drawn(make(true, false), 60, 60, 0, 0, 50, 50));
    EXPECT_EQ(a, Drawn(make(false, false), 60, 60, 0, 0, 50, 50));
}

TEST(ShapeRaster, FillModeDecidesOverlaps) {
    auto make = [](uint32_t mode, bool poly16) {
        MetafileWriter mw(30, 30);
        test::PenAndBrush(mw, kRed, true);
        mw.Record(EMR_SETPOLYFILLMODE, {mode});
        mw.PolyPolygon(poly16, {{0, 0, 20, 0, 20, 20, 0, 20}, {10, 10, 29, 10, 29, 29, 10, 29}});
        return Make(mw.Finish());
    };
    TMyBitmap alt = WhiteBitmap(30, 30), wind = WhiteBitmap(30, 30);
    DrawMetafile(alt, make(1, false), 0, 0, 30, 30);
    DrawMetafile(wind, make(2, true), 0, 0, 30, 30);
    EXPECT_EQ(GetPixel(alt, 15, 15), 0xFFFFFF);  // overlap left out
    EXPECT_EQ(GetPixel(wind, 15, 15), int32_t(kRed));
    EXPECT_EQ(GetPixel(alt, 5, 5), int32_t(kRed));
    EXPECT_EQ(GetPixel(alt, 25, 25), int32_t(kRed));
    EXPECT_EQ(GetPixel(alt, 25, 5), 0xFFFFFF);
}

TEST(ShapeRaster, LinesFromMoveToLineToAndPolylines) {
    MetafileWriter mw(20, 20);
    test::PenAndBrush(mw, kRed);
    mw.MoveTo(0, 0);
    mw.LineTo(19, 0);
    mw.Points16(EMR_POLYLINE16, {0, 19, 19, 19});
    mw.Points32(EMR_POLYLINETO, {19, 10});  // from the line-to's end
    const auto px = Drawn(Make(mw.Finish()), 20, 20, 0, 0, 20, 20);
    EXPECT_EQ(px.size(), 20u + 20u + 10u);
}

TEST(ShapeRaster, NullObjectsAndUnknownRecordsDrawNothing) {
    MetafileWriter mw(20, 20);
    mw.Record(9999, {1, 2, 3, 4});
    mw.Record(EMR_SELECTOBJECT, {kStockObject | kNullPen});
    mw.Record(EMR_SELECTOBJECT, {kStockObject | kNullBrush});
    mw.Points32(EMR_POLYGON, {0, 0, 19, 0, 19, 19});
    mw.Record(EMR_SELECTOBJECT, {77});  // never created
    mw.Points32(EMR_POLYGON, {0, 0, 19, 0, 19, 19});
    EXPECT_TRUE(Drawn(Make(mw.Finish()), 20, 20, 0, 0, 20, 20).empty());
}

TEST(ShapeRaster, RecordsAfterEndOfFileAreNotPlayed) {
    MetafileWriter mw(20, 20);
    test::PenAndBrush(mw, kRed);
    std::vector<uint8_t> bytes = mw.Finish();
    MetafileWriter extra(20, 20);
    extra.Points32(EMR_POLYGON, {0, 0, 19, 0, 19, 19});
    std::vector<uint8_t> tail = extra.Finish();
    bytes.insert(bytes.end(), tail.begin() + 88, tail.end());
    EXPECT_TRUE(Drawn(Make(bytes), 20, 20, 0, 0, 20, 20).empty());
}

TEST(ShapeRaster, OneColourOnlyAndWhiteErasesExactly) {
    ShapeData data;
    ASSERT_EQ(LoadShapeData(data, test::ShapeFilePath()), ShapeLoadResult::Loaded);
    const TColor piece = RgbToColor(128, 0, 175), white = 0xFFFFFF;
    for (int i = 0; i < data.Count; ++i) {
        ASSERT_TRUE(SelectShape(data, i));
        for (int size : {12, 31, 90}) {
            TMetafile mf = data.Current;
            MirrorShape(mf, i % 2 == 0, i % 3 == 0);
            const RotatedSize rs = RotateShape(mf, (i * 7) % 60 - 30);
            RecolourShape(mf, piece);
            TMyBitmap b = WhiteBitmap(200, 200);
            // Partly off the buffer on purpose.
            const int x = i % 4 == 0 ? -size / 2 : 60, y = i % 5 == 0 ? 200 - size / 2 : 60;
            const int w = rs.W2 * size / 100 + 1, h = rs.H2 * size / 100 + 1;
            DrawMetafile(b, mf, x, y, w, h, &piece);
            EXPECT_GT(CountColour(b, piece), 0) << i << " " << size;
            EXPECT_EQ(CountColour(b, piece) + CountColour(b, white), 200 * 200);
            RecolourShape(mf, white);
            DrawMetafile(b, mf, x, y, w, h, &white);
            EXPECT_EQ(CountColour(b, white), 200 * 200) << i << " " << size;
        }
    }
}

TEST(ShapeRaster, AbsurdCoordinatesAreClippedNotWalked) {
    MetafileWriter mw(10, 10);
    test::PenAndBrush(mw, kRed);
    mw.Points32(EMR_POLYGON, {-2000000000, -2000000000, 2000000000, 5, 5, 2000000000});
    mw.MoveTo(-2000000000, 3);
    mw.LineTo(2000000000, 3);
    TMyBitmap b = WhiteBitmap(50, 50);
    DrawMetafile(b, Make(mw.Finish()), 0, 0, 50, 50);
    EXPECT_GT(CountColour(b, kRed), 0);
    EXPECT_EQ(CountColour(b, kRed) + CountColour(b, 0xFFFFFF), 2500);
}

}  // namespace
}  // namespace orvel
