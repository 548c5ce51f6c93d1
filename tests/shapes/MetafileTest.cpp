#include <gtest/gtest.h>

#include "cutter/Metafile.h"
#include "cutter/ShapeData.h"
#include "cutter/ShapeRaster.h"
#include "shapes/ShapeTestUtil.h"

namespace orvel {
namespace {

using test::Make;

const EmfRecord& Find(const TMetafile& mf, uint32_t type, int nth = 0) {
    for (const EmfRecord& r : mf.Records)
        if (r.Type == type && nth-- == 0) return r;
    throw std::runtime_error("record missing");
}
int32_t Field(const TMetafile& mf, uint32_t type, uint32_t at, int nth = 0) {
    int32_t v = 0;
    EXPECT_TRUE(ReadI32(mf, Find(mf, type, nth), at, v));
    return v;
}
// 16-bit point k of a POLY*16 record.
std::pair<int, int> Point16(const TMetafile& mf, uint32_t type, int k) {
    const uint32_t packed = uint32_t(Field(mf, type, 28 + 4 * uint32_t(k)));
    return {int16_t(packed & 0xFFFF), int16_t(packed >> 16)};
}

TEST(Metafile, SizeComesFromTheFrameAt96Dpi) {
    for (int w : {1, 7, 60, 99, 120, 1000}) {
        TMetafile mf = Make(MetafileWriter(w, w + 3).Finish());
        ASSERT_FALSE(mf.Records.empty());
        EXPECT_EQ(MetafileWidth(mf), w);
        EXPECT_EQ(MetafileHeight(mf), w + 3);
    }
}

TEST(Metafile, RejectsStreamsThatAreNotDrawings) {
    std::vector<uint8_t> good = MetafileWriter(10, 10).Finish();
    TMetafile mf;
    ASSERT_TRUE(LoadMetafile(mf, good.data(), good.size()));
    EXPECT_FALSE(LoadMetafile(mf, good.data(), 40));  // cut inside the header
    EXPECT_TRUE(mf.Records.empty());
    std::vector<uint8_t> bad = good;
    bad[40] = 'X';  // signature
    EXPECT_FALSE(LoadMetafile(mf, bad.data(), bad.size()));
    bad = good;
    bad[92] = 7;  // the EOF record's size is no longer a multiple of 4
    EXPECT_FALSE(LoadMetafile(mf, bad.data(), bad.size()));
    bad = good;
    bad[0] = 3;  // no header first
    EXPECT_FALSE(LoadMetafile(mf, bad.data(), bad.size()));
    EXPECT_FALSE(LoadMetafile(mf, nullptr, 0));
    // A frame of 20000 pixels is no silhouette.
    std::vector<uint8_t> huge = MetafileWriter(20000, 10).Finish();
    EXPECT_FALSE(LoadMetafile(mf, huge.data(), huge.size()));
}

TEST(Metafile, RecolourChangesEveryColourFieldAndNothingElse) {
    MetafileWriter mw(20, 20);
    mw.Record(EMR_SETPIXELV, {3, 4, 0x111111});
    mw.Record(EMR_SETTEXTCOLOR, {0x222222});
    mw.Record(EMR_SETBKCOLOR, {0x333333});
    mw.Record(EMR_CREATEPEN, {1, 0, 1, 0, 0x444444});
    mw.Record(EMR_CREATEBRUSHINDIRECT, {2, 0, 0x555555, 0});
    mw.Record(EMR_EXTFLOODFILL, {5, 6, 0x666666, 1});
    mw.Record(EMR_EXTCREATEPEN, {3, 0, 0, 0, 0, 0, 1, 0, 0x777777, 0, 0});
    mw.Record(EMR_SETPOLYFILLMODE, {0x888888});  // not a colour
    const std::vector<uint8_t> before = mw.Finish();
    TMetafile mf = Make(before);
    RecolourShape(mf, 0x00ABCDEF);
    EXPECT_EQ(Field(mf, EMR_SETPIXELV, 16), 0xABCDEF);
    EXPECT_EQ(Field(mf, EMR_SETPIXELV, 8), 3);
    EXPECT_EQ(Field(mf, EMR_SETTEXTCOLOR, 8), 0xABCDEF);
    EXPECT_EQ(Field(mf, EMR_SETBKCOLOR, 8), 0xABCDEF);
    EXPECT_EQ(Field(mf, EMR_CREATEPEN, 24), 0xABCDEF);
    EXPECT_EQ(Field(mf, EMR_CREATEBRUSHINDIRECT, 16), 0xABCDEF);
    EXPECT_EQ(Field(mf, EMR_EXTFLOODFILL, 16), 0xABCDEF);
    EXPECT_EQ(Field(mf, EMR_EXTFLOODFILL, 20), 1);
    EXPECT_EQ(Field(mf, EMR_EXTCREATEPEN, 40), 0xABCDEF);
    EXPECT_EQ(Field(mf, EMR_SETPOLYFILLMODE, 8), 0x888888);
    // Exactly the seven colour fields changed.
    int changed = 0;
    for (size_t i = 0; i < before.size(); i += 4)
        changed += std::memcmp(&before[i], &mf.Bytes[i], 4) != 0;
    EXPECT_EQ(changed, 7);
}

TEST(Metafile, MirrorFlipsEveryPointRecordInsideTheFrame) {
    MetafileWriter mw(10, 6);
    mw.Points32(EMR_POLYGON, {0, 0, 9, 1, 3, 5});
    mw.Points16(EMR_POLYBEZIERTO16, {1, 2, 3, 4, 8, 5});
    mw.MoveTo(2, 3);
    mw.LineTo(7, 0);
    mw.PolyPolygon(false, {{1, 1, 2, 2, 3, 1}});  // not among the mirrored records
    TMetafile mf = Make(mw.Finish());
    const std::vector<uint8_t> before = mf.Bytes;

    MirrorShape(mf, true, false);
    EXPECT_EQ(Field(mf, EMR_POLYGON, 28), 9);
    EXPECT_EQ(Field(mf, EMR_POLYGON, 32), 0);
    EXPECT_EQ(Field(mf, EMR_POLYGON, 36), 0);
    EXPECT_EQ(Field(mf, EMR_POLYGON, 44), 6);
    EXPECT_EQ(Point16(mf, EMR_POLYBEZIERTO16, 2), std::make_pair(1, 5));
    EXPECT_EQ(Field(mf, EMR_MOVETOEX, 8), 7);
    EXPECT_EQ(Field(mf, EMR_LINETO, 8), 2);
    EXPECT_EQ(Field(mf, EMR_LINETO, 12), 0);
    EXPECT_EQ(Field(mf, EMR_POLYPOLYGON, 40), 1);

    MirrorShape(mf, false, true);
    EXPECT_EQ(Field(mf, EMR_POLYGON, 32), 5);
    EXPECT_EQ(Point16(mf, EMR_POLYBEZIERTO16, 0), std::make_pair(8, 3));
    EXPECT_EQ(Field(mf, EMR_LINETO, 12), 5);
    // Header: bounds end at the pixel size, the frame at the 0.01 mm size.
    EXPECT_EQ(Field(mf, EMR_HEADER, 16), 10);
    EXPECT_EQ(Field(mf, EMR_HEADER, 20), 6);
    EXPECT_EQ(Field(mf, EMR_HEADER, 32), MetafileMMWidth(mf));

    // Twice each way is the identity.
    MirrorShape(mf, true, true);
    EXPECT_EQ(mf.Bytes, before);
}

TEST(Metafile, RotateByZeroChangesNothing) {
    ShapeData data;
    ASSERT_EQ(LoadShapeData(data, test::ShapeFilePath()), ShapeLoadResult::Loaded);
    for (int i = 0; i < data.Count; ++i) {
        ASSERT_TRUE(SelectShape(data, i));
        TMetafile mf = data.Current;
        const RotatedSize rs = RotateShape(mf, 0);
        EXPECT_EQ(rs.W2, data.Entries[size_t(i)].width);
        EXPECT_EQ(rs.H2, data.Entries[size_t(i)].height);
        EXPECT_EQ(mf.Bytes, data.Current.Bytes) << i;
    }
}

TEST(Metafile, QuarterTurnSwapsTheSizeAndMovesPointsByThePointRule) {
    MetafileWriter mw(10, 6);
    mw.Points32(EMR_POLYLINE, {0, 0, 9, 5, 9, 0});
    mw.MoveTo(0, 5);
    TMetafile mf = Make(mw.Finish());
    const RotatedSize rs = RotateShape(mf, 90);
    EXPECT_EQ(rs.W2, 6);
    EXPECT_EQ(rs.H2, 10);
    EXPECT_EQ(rs.WF2, MetafileMMHeight(Make(MetafileWriter(10, 6).Finish())));
    // Corners go round the new frame (0 .. 5) x (0 .. 9) clockwise.
    EXPECT_EQ(Field(mf, EMR_POLYLINE, 28), 5);
    EXPECT_EQ(Field(mf, EMR_POLYLINE, 32), 0);
    EXPECT_EQ(Field(mf, EMR_POLYLINE, 36), 0);
    EXPECT_EQ(Field(mf, EMR_POLYLINE, 40), 9);
    EXPECT_EQ(Field(mf, EMR_POLYLINE, 44), 5);
    EXPECT_EQ(Field(mf, EMR_POLYLINE, 48), 9);
    EXPECT_EQ(Field(mf, EMR_MOVETOEX, 8), 0);
    EXPECT_EQ(Field(mf, EMR_MOVETOEX, 12), 0);
    EXPECT_EQ(Field(mf, EMR_HEADER, 16), 6);
    EXPECT_EQ(Field(mf, EMR_HEADER, 20), 10);
    EXPECT_EQ(MetafileWidth(mf), 6);
    EXPECT_EQ(MetafileHeight(mf), 10);
}

TEST(Metafile, SmallTurnsKeepThePictureInsideTheEnlargedFrame) {
    ShapeData data;
    ASSERT_EQ(LoadShapeData(data, test::ShapeFilePath()), ShapeLoadResult::Loaded);
    for (int angle : {-30, -17, -1, 1, 13, 29}) {
        for (int i = 0; i < data.Count; ++i) {
            ASSERT_TRUE(SelectShape(data, i));
            TMetafile mf = data.Current;
            const int w = MetafileWidth(mf), h = MetafileHeight(mf);
            const RotatedSize rs = RotateShape(mf, angle);
            EXPECT_GE(rs.W2, w - 1);
            EXPECT_LE(rs.W2, int(w * 1.5 + h * 0.5 + 2));
            // All drawing points stay in the new frame (one pixel of slack for
            // the rounding of control points that lay on the old edge).
            const TColor c = 1;
            TMyBitmap b = test::WhiteBitmap(rs.W2 + 40, rs.H2 + 40);
            TMetafile big = mf;
            DrawMetafile(b, big, 20, 20, rs.W2, rs.H2, &c);
            for (int y = 0; y < b.Height; ++y)
                for (int x = 0; x < b.Width; ++x)
                    if (GetPixel(b, x, y) == 1) {
                        ASSERT_GE(x, 18) << i << " " << angle;
                        ASSERT_LE(x, 21 + rs.W2) << i << " " << angle;
                        ASSERT_GE(y, 18);
                        ASSERT_LE(y, 21 + rs.H2);
                    }
        }
    }
}

TEST(Metafile, SixteenBitPointsAreKeptInTheirRange) {
    MetafileWriter mw(10000, 10);
    mw.Points16(EMR_POLYGON16, {-32768, 0, 100, 9});
    TMetafile mf = Make(mw.Finish());
    MirrorShape(mf, true, false);
    // 10000 + 32768 - 1 does not fit 16 bits: it stops at the edge of the
    // range instead of wrapping round to a negative coordinate.
    EXPECT_EQ(Point16(mf, EMR_POLYGON16, 0).first, 32767);
    EXPECT_EQ(Point16(mf, EMR_POLYGON16, 1).first, 10000 - 100 - 1);
}

}  // namespace
}  // namespace orvel
