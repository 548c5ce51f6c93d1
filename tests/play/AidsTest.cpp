// The glass seen from both sides (what it shows and where a press on it
// lands) and the solved picture as a file would hold it.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "PieceTestUtil.h"
#include "platform/FakePlatform.h"
#include "play/Glass.h"
#include "play/SolvedImage.h"

namespace orvel::testing {
namespace {

// ------------------------------------------------------------------ glass

class GlassTest : public ::testing::Test {
protected:
    static constexpr int kFieldW = 800;
    static constexpr int kFieldH = 600;

    void SetUp() override {
        CreatePlayWindows(wins, fp, {"P1", "P2", "P3", "P4"}, "Thumbnail");
        ASSERT_TRUE(Create24(field, kFieldW, kFieldH));
        for (int y = 0; y < kFieldH; ++y)
            for (int x = 0; x < kFieldW; ++x) SetPixel(field, x, y, PictureAt(x, y));
        PlaceGlass(200, 100, 240, 240);
    }
    void PlaceGlass(int x, int y, int w, int h) {
        TMyWin& g = wins.Glass;
        SetPosSize(g.Outer, x, y, w, h);
        SetClientSize(g, true, w, h);
        g.Visible = true;
        RecomputeLens(lens, g);
    }
    int CentreX() const { return wins.Glass.Client.Left + wins.Glass.Client.Width / 2; }
    int CentreY() const { return wins.Glass.Client.Top + wins.Glass.Client.Height / 2; }

    FakePlatform fp;
    TPlayWindows wins;
    TGlassLens lens;
    TMyBitmap field;
};

TEST_F(GlassTest, PressesOnTheLensLandOnTheMagnifiedSpot) {
    for (int zoom : {kGlassZoomNear, kGlassZoomFar}) {
        for (int w : {240, 301}) {
            PlaceGlass(150, 80, w, 260);
            SetGlassZoom(wins.Glass, lens, zoom);
            // The centre sees itself.
            int x = CentreX(), y = CentreY();
            ASSERT_TRUE(LensHit(wins.Glass, lens, x, y, true));
            EXPECT_EQ(x, CentreX());
            EXPECT_EQ(y, CentreY());
            // Moving d pixels on the lens moves d div zoom pixels on the field.
            for (int d : {-90, -31, 7, 60, 100}) {
                int px = CentreX() + d, py = CentreY() + d / 2;
                ASSERT_TRUE(LensHit(wins.Glass, lens, px, py, true)) << d;
                EXPECT_NEAR(px - CentreX(), d / static_cast<double>(zoom), 1.0) << zoom << " " << d;
                EXPECT_NEAR(py - CentreY(), d / 2 / static_cast<double>(zoom), 1.0);
            }
            // Without mapping the point stays as it is.
            x = CentreX() + 10;
            y = CentreY();
            EXPECT_TRUE(LensHit(wins.Glass, lens, x, y, false));
            EXPECT_EQ(x, CentreX() + 10);
        }
    }
    // The corners of the client lie outside the ellipse; a hidden glass has no lens.
    int x = wins.Glass.Client.Left + 2, y = wins.Glass.Client.Top + 2;
    EXPECT_FALSE(LensHit(wins.Glass, lens, x, y, true));
    EXPECT_EQ(x, wins.Glass.Client.Left + 2);
    wins.Glass.Visible = false;
    x = CentreX();
    y = CentreY();
    EXPECT_FALSE(LensHit(wins.Glass, lens, x, y, true));
}

// Whatever the lens shows at a point is the field pixel a press there lands
// on; outside the lens the field shows through, and the rim is one pixel of
// the two rim colours.
TEST_F(GlassTest, TheLensShowsWhereItsPressesLand) {
    TMyRect all;
    SetPosSize(all, 0, 0, kFieldW, kFieldH);
    for (int zoom : {kGlassZoomNear, kGlassZoomFar}) {
        SetGlassZoom(wins.Glass, lens, zoom);
        TMyBitmap shown;
        ASSERT_TRUE(CopyFromBitmap(shown, field));
        DrawGlass(shown, all, all, wins.Glass, lens);
        const TMyRect& c = wins.Glass.Client;
        int magnified = 0, rim = 0, through = 0;
        for (int y = c.Top; y <= c.Bottom; ++y) {
            for (int x = c.Left; x <= c.Right; ++x) {
                const TColor got = static_cast<TColor>(GetPixel(shown, x, y));
                int fx = x, fy = y;
                if (!LensHit(wins.Glass, lens, fx, fy, true)) {
                    ASSERT_EQ(got, PictureAt(x, y)) << x << "," << y;
                    ++through;
                } else if (got == kLensRimLight || got == kLensRimDark) {
                    ++rim;
                } else {
                    ASSERT_EQ(got, PictureAt(fx, fy)) << x << "," << y << " zoom " << zoom;
                    ++magnified;
                }
            }
        }
        // A 240 x 240 lens: about pi * 120^2 pixels inside, a rim of about 2 * pi * 120.
        EXPECT_NEAR(magnified, 3.14159 * 120 * 120, 1200);
        EXPECT_NEAR(rim, 2 * 3.14159 * 120, 300);
        EXPECT_GT(through, 4 * 2000);
        // Nothing outside the glass changed.
        EXPECT_EQ(GetPixel(shown, c.Left - 1, c.Top + 5), static_cast<int32_t>(PictureAt(c.Left - 1, c.Top + 5)));
    }
}

TEST_F(GlassTest, LensPartsWithNoFieldUnderThemAreBlackAndTheUpdateIsRespected) {
    PlaceGlass(kFieldW - 120, 100, 240, 240);  // half of it beyond the shown field
    TMyRect shownArea, update;
    SetPosSize(shownArea, 0, 0, kFieldW, kFieldH);
    SetPosSize(update, 0, 0, kFieldW, kFieldH);
    TMyBitmap wide;
    ASSERT_TRUE(Create24(wide, kFieldW + 200, kFieldH));
    FillBox(wide, 0, 0, wide.Width, wide.Height, 0x123456);
    DrawGlass(wide, update, shownArea, wins.Glass, lens);
    // The lens centre looks at the field's right edge: left of it the field, right of it nothing.
    EXPECT_EQ(GetPixel(wide, CentreX() - 4, CentreY()), 0x123456);
    EXPECT_EQ(GetPixel(wide, CentreX() + 2, CentreY()), 0x123456);  // beyond the update
    TMyRect inner;
    SetPosSize(inner, 0, 0, kFieldW + 200, kFieldH);
    DrawGlass(wide, inner, shownArea, wins.Glass, lens);
    EXPECT_EQ(GetPixel(wide, CentreX() + 60, CentreY()), 0);
}

TEST(GlassZoom, TheVisibleButtonShowsTheZoomInUse) {
    FakePlatform fp;
    TPlayWindows wins;
    CreatePlayWindows(wins, fp, {"P1", "P2", "P3", "P4"}, "Thumbnail");
    TGlassLens lens;
    TMyWin& g = wins.Glass;
    EXPECT_TRUE(g.Button(TWinButtonId::Zoom1).Visible);
    EXPECT_FALSE(g.Button(TWinButtonId::Zoom2).Visible);
    g.Button(TWinButtonId::Zoom1).Pressed = true;
    SetGlassZoom(g, lens, kGlassZoomFar);
    EXPECT_EQ(lens.Zoom, 3);
    EXPECT_FALSE(g.Button(TWinButtonId::Zoom1).Visible);
    EXPECT_TRUE(g.Button(TWinButtonId::Zoom2).Visible);
    EXPECT_FALSE(g.Button(TWinButtonId::Zoom1).Pressed);
    SetGlassZoom(g, lens, kGlassZoomNear);
    EXPECT_EQ(lens.Zoom, 2);
    EXPECT_TRUE(g.Button(TWinButtonId::Zoom1).Visible);
    EXPECT_FALSE(g.Button(TWinButtonId::Zoom2).Visible);
}

// ------------------------------------------------------------------ solved picture

class SolvedImageTest : public ::testing::Test {
protected:
    // 8 x 6 pieces of 50 pixels put together: a 400 x 300 picture, 440 x
    // 340 with the frame around it.
    void Solve(bool border, bool rotate) {
        game = TGame{};
        MakeGridGame(game, 8, 6, 50, border, rotate);
        if (::testing::Test::HasFatalFailure()) return;
        const int n = PiecesInPlay(game);
        for (int i = 1; i < n; ++i) {
            PlaceBeside(game, i, 0, 0, 0);
            game.Pieces[i].group = 0;
        }
        game.InvalidateOrder();
    }
    std::vector<std::string> Texts() const {
        std::vector<std::string> t;
        for (const auto& r : fp.RenderedTexts) t.push_back(r.Text);
        return t;
    }
    bool Wrote(const std::string& text) const {
        const std::vector<std::string> t = Texts();
        return std::find(t.begin(), t.end(), text) != t.end();
    }

    FakePlatform fp;
    TGame game;
    TPieceLook look;
};

TEST_F(SolvedImageTest, APictureWithItsBorderAndTwoCaptionStrips) {
    Solve(false, true);
    ASSERT_EQ(game.Header.ImageW, 400);
    ASSERT_EQ(game.Header.ImageH, 300);
    TMyBitmap out;
    ASSERT_TRUE(BuildSolvedImage(out, game, look, "", "1/2/2027", fp));
    EXPECT_EQ(out.Width, 402);
    EXPECT_EQ(out.Height, 352);
    // The picture inside a one-pixel black border.
    int wrong = 0;
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 400; ++x)
            wrong += static_cast<TColor>(GetPixel(out, x + 1, y + 1)) != PictureAt(x, y);
    EXPECT_EQ(wrong, 0);
    for (int x : {0, 401}) EXPECT_EQ(GetPixel(out, x, 150), 0);
    for (int y : {0, 301, 326, 351}) EXPECT_EQ(GetPixel(out, 200, y), 0);
    // White strips, the texts in their colours; rotation written, no border.
    EXPECT_EQ(GetPixel(out, 5, 303), 0xFFFFFF);
    EXPECT_EQ(GetPixel(out, 5, 330), 0xFFFFFF);
    EXPECT_TRUE(Wrote("Unknown image"));
    EXPECT_TRUE(Wrote("Assembled from  "));
    EXPECT_TRUE(Wrote("48"));
    EXPECT_TRUE(Wrote("  pieces"));
    EXPECT_TRUE(Wrote("  with rotation"));
    EXPECT_FALSE(Wrote("  with border"));
    for (const auto& r : fp.RenderedTexts) {
        EXPECT_EQ(r.Style.Bold, r.Text == "48") << r.Text;
        if (r.Text == "  with rotation") {
            EXPECT_EQ(r.Style.Color, 0xFF0000u);
        }
        EXPECT_EQ(r.Style.PointSize, 10);
    }
    // The date ends ten pixels before the right edge.
    const int row = 300 + 31 + 2;
    EXPECT_EQ(GetPixel(out, 402 - 10 - 2, row), 0);
    EXPECT_EQ(GetPixel(out, 402 - 10, row), 0xFFFFFF);
    // The parts follow one another: the count starts where the first part ends.
    EXPECT_EQ(GetPixel(out, 10 + 16 * fp.CharW, row), 0);
}

TEST_F(SolvedImageTest, TheFrameIsNamedAndTheDescriptionKeepsItsNonBlankLines) {
    Solve(true, false);
    TMyBitmap out;
    ASSERT_TRUE(BuildSolvedImage(out, game, look, "Harbour at dawn\r\n   \n\nby A. Painter\n",
                                 "1/2/2027", fp));
    EXPECT_EQ(out.Width, game.Header.ImageW + 2);
    EXPECT_EQ(out.Height, game.Header.ImageH + 52);
    EXPECT_TRUE(Wrote("Harbour at dawn   by A. Painter   "));
    EXPECT_TRUE(Wrote("  with border"));
    EXPECT_FALSE(Wrote("  with rotation"));
    EXPECT_EQ(SolvedDescriptionText(" \n\t\n"), "Unknown image");
}

TEST_F(SolvedImageTest, CentringMovesThePictureAsOne) {
    Solve(true, false);
    std::vector<std::pair<int, int>> before;
    for (int i = 0; i < PiecesInPlay(game); ++i)
        before.emplace_back(game.Pieces[i].posX, game.Pieces[i].posY);
    CentreSolvedPicture(game, 1000, 700);
    const TPiece& first = game.Pieces[0];
    EXPECT_EQ(first.posX - first.boxX, (1000 - game.Header.ImageW) / 2);
    EXPECT_EQ(first.posY - first.boxY, (700 - game.Header.ImageH) / 2);
    const int dx = first.posX - before[0].first, dy = first.posY - before[0].second;
    for (int i = 0; i < PiecesInPlay(game); ++i) {
        EXPECT_EQ(game.Pieces[i].posX - before[i].first, dx);
        EXPECT_EQ(game.Pieces[i].posY - before[i].second, dy);
    }
}

}  // namespace
}  // namespace orvel::testing
