#include <gtest/gtest.h>

#include "game/GameState.h"
#include "play/PlayWindow.h"
#include "platform/FakePlatform.h"

namespace orvel {
namespace {

// A pocket with the given client size and content, laid out.
TMyWin MakePocket(int clientW, int clientH, int contentW, int contentH) {
    TMyWin w;
    InitWindow(w, 10, 20, 100, 100, TWinKind::Pocket);
    w.Visible = true;
    w.ContentW = contentW;
    w.ContentH = contentH;
    SetClientSize(w, true, clientW, clientH);
    return w;
}

TEST(PlayWindowInit, KindsGetTheirFramesAndLimits) {
    TMyWin side, pocket, thumb, glass;
    InitWindow(side, 0, 0, 100, 100, TWinKind::Side);
    InitWindow(pocket, 0, 0, 100, 100, TWinKind::Pocket);
    InitWindow(thumb, 0, 0, 100, 100, TWinKind::Thumb);
    InitWindow(glass, 0, 0, 240, 240, TWinKind::Glass);
    EXPECT_EQ(side.FrameW, 0);
    EXPECT_EQ(side.MinClientW, 78);
    EXPECT_EQ(pocket.FrameW, 8);
    EXPECT_EQ(pocket.FrameH, 26);
    EXPECT_EQ(pocket.MinOuterW, 86);
    EXPECT_EQ(pocket.MinOuterH, 104);
    EXPECT_EQ(thumb.MinClientW, 20);
    EXPECT_TRUE(thumb.DragByClient && thumb.KeepAspect && thumb.Resizable);
    EXPECT_FALSE(glass.Resizable);
    EXPECT_EQ(glass.LensSrc[3].Left, 96);
    EXPECT_EQ(glass.LensSrc[3].Top, 96);
    // Caption area and its bitmap: 300 wide, border + caption high.
    EXPECT_EQ(pocket.CaptionArea.Height, 22);
    EXPECT_EQ(pocket.CaptionBitmap.Width, 300);
    EXPECT_EQ(pocket.CaptionBitmap.Height, 22);
    EXPECT_EQ(side.CaptionBitmap.Width, 0);
    // Close button in the top-right corner of the outer rectangle.
    EXPECT_EQ(pocket.Button(TWinButtonId::Close).Bounds.Right, pocket.Outer.Right);
    EXPECT_EQ(pocket.Button(TWinButtonId::Close).Bounds.Top, pocket.Outer.Top);
    EXPECT_EQ(pocket.Button(TWinButtonId::Close).HitCode, THitCode::Close);
    EXPECT_EQ(pocket.Button(TWinButtonId::VThumb).HitCode, THitCode::VThumb);
}

TEST(PlayWindowInit, ButtonImagesFollowTheSkinRow) {
    TMyWinButton four, three;
    InitButton(four, 2, 110, 20, 20, TButtonStyle::FourState);
    EXPECT_EQ(four.SrcHover.Left, 25);
    EXPECT_EQ(four.SrcActive.Left, 48);
    EXPECT_EQ(four.SrcActiveHover.Left, 71);
    EXPECT_EQ(four.SrcPressed.Left, 94);
    InitButton(three, 211, 41, 17, 17, TButtonStyle::StretchH);
    EXPECT_EQ(three.SrcActive.Left, 211);
    EXPECT_EQ(three.SrcActiveHover.Left, 231);
    EXPECT_EQ(three.SrcPressed.Left, 251);
    EXPECT_EQ(three.SrcPressed.Top, 41);
    EXPECT_TRUE(three.StretchH);
    EXPECT_FALSE(three.StretchV);
}

TEST(PlayWindowInit, GlassButtonsSitAtTheirAnchors) {
    TMyWin glass;
    InitWindow(glass, 100, 50, 240, 240, TWinKind::Glass);
    EXPECT_EQ(glass.Button(TWinButtonId::Close).Bounds.Left, 100 + 240 - 14 - 16);
    EXPECT_EQ(glass.Button(TWinButtonId::Close).Bounds.Top, 50 + 15);
    EXPECT_EQ(glass.Button(TWinButtonId::Zoom1).Bounds.Left, 109);
    EXPECT_EQ(glass.Button(TWinButtonId::Zoom2).Bounds.Top, 58);
    EXPECT_EQ(glass.LensDst[3].Left, 100 + 240 - 93);
    EXPECT_EQ(glass.Grip.Left, 100 + 239 - 25);
    EXPECT_EQ(glass.Grip.Width, 21);
}

TEST(PlayWindowLayout, WideContentGivesOnlyAHorizontalBar) {
    TMyWin w = MakePocket(100, 100, 300, 80);
    EXPECT_TRUE(w.HScroll);
    EXPECT_FALSE(w.VScroll);
    EXPECT_EQ(w.Client.Width, 100);
    EXPECT_EQ(w.Client.Height, 83);
    EXPECT_EQ(w.Outer.Width, 108);
    EXPECT_EQ(w.Outer.Height, 126);
    EXPECT_TRUE(w.Button(TWinButtonId::ScrollLeft).Visible);
    EXPECT_FALSE(w.Button(TWinButtonId::ScrollUp).Visible);
    // Track between the two arrows; the thumb is a third of it but at least 12.
    EXPECT_EQ(w.HTrack.Left, w.Button(TWinButtonId::ScrollLeft).Bounds.Right + 1);
    EXPECT_EQ(w.HTrack.Right, w.Button(TWinButtonId::ScrollRight).Bounds.Left - 1);
    EXPECT_EQ(w.HTrack.Width, 100 - 3 * 17);
    EXPECT_EQ(w.Button(TWinButtonId::HThumb).Bounds.Width, Max(12, w.HTrack.Width * 100 / 300));
    EXPECT_EQ(w.Button(TWinButtonId::HThumb).Bounds.Left, w.HTrack.Left);
    EXPECT_EQ(w.Corner.Width, 17);
}

TEST(PlayWindowLayout, ThumbNeverShorterThanTwelve) {
    TMyWin w = MakePocket(100, 100, 100000, 80);
    EXPECT_EQ(w.Button(TWinButtonId::HThumb).Bounds.Width, 12);
}

TEST(PlayWindowLayout, NoContentMeansNoBars) {
    TMyWin w = MakePocket(100, 100, 0, 0);
    w.ScrollX = 5;
    Relayout(w);
    EXPECT_FALSE(w.HScroll);
    EXPECT_FALSE(w.VScroll);
    EXPECT_EQ(w.ScrollX, 0);
    // Scrolling a window without content does nothing.
    ScrollBy(w, THitCode::RightArrow, 0, 0);
    ScrollBy(w, THitCode::HThumb, 500, 0);
    EXPECT_EQ(w.ScrollX, 0);
}

TEST(PlayWindowLayout, ClientSizeIsClamped) {
    TMyWin w = MakePocket(10, 5000, 0, 0);
    EXPECT_EQ(w.Client.Width, 78);
    w.MaxClientW = 200;
    w.MaxClientH = 150;
    UpdateLimits(w);
    SetClientSize(w, true, 1000, 1000);
    EXPECT_EQ(w.Client.Width, 200);
    EXPECT_EQ(w.Client.Height, 150);
    EXPECT_EQ(w.MaxOuterW, 208);
}

TEST(PlayWindowScroll, ArrowStepsStopAtTheEnd) {
    TMyWin w = MakePocket(100, 100, 300, 80);
    std::vector<int> seen;
    for (int i = 0; i < 9; ++i) {
        ScrollBy(w, THitCode::RightArrow, 0, 0);
        seen.push_back(w.ScrollX);
        const TMyRect& thumb = w.Button(TWinButtonId::HThumb).Bounds;
        EXPECT_GE(thumb.Left, w.HTrack.Left);
        EXPECT_LE(thumb.Right, w.HTrack.Right);
    }
    EXPECT_EQ(seen, (std::vector<int>{30, 60, 90, 120, 150, 180, 200, 200, 200}));
    // 200 * 49 div 300 = 32: the thumb starts 32 pixels into the track.
    EXPECT_EQ(w.Button(TWinButtonId::HThumb).Bounds.Left, w.HTrack.Left + 32);
    for (int i = 0; i < 8; ++i) ScrollBy(w, THitCode::LeftArrow, 0, 0);
    EXPECT_EQ(w.ScrollX, 0);
    EXPECT_EQ(w.Button(TWinButtonId::HThumb).Bounds.Left, w.HTrack.Left);
}

TEST(PlayWindowScroll, ThumbDragMapsToContentAndClamps) {
    TMyWin w = MakePocket(100, 100, 300, 80);
    const int track = w.HTrack.Width;
    ScrollBy(w, THitCode::HThumb, w.HTrack.Left + 10, 0);
    EXPECT_EQ(w.Button(TWinButtonId::HThumb).Bounds.Left, w.HTrack.Left + 10);
    EXPECT_EQ(w.ScrollX, 10 * 300 / track);
    ScrollBy(w, THitCode::HThumb, w.HTrack.Left - 50, 0);
    EXPECT_EQ(w.ScrollX, 0);
    ScrollBy(w, THitCode::HThumb, 100000, 0);
    EXPECT_EQ(w.Button(TWinButtonId::HThumb).Bounds.Right, w.HTrack.Right);
    EXPECT_LE(w.ScrollX, 200);
    // Panning only moves the axes that have a bar.
    const int before = w.ScrollY;
    ScrollBy(w, THitCode::Pan, w.HTrack.Left, 100000);
    EXPECT_EQ(w.ScrollX, 0);
    EXPECT_EQ(w.ScrollY, before);
}

TEST(PlayWindowScroll, ShrinkingContentHidesTheBarAndResetsIt) {
    TMyWin w = MakePocket(100, 100, 300, 300);
    ScrollBy(w, THitCode::RightArrow, 0, 0);
    ScrollBy(w, THitCode::DownArrow, 0, 0);
    EXPECT_EQ(w.ScrollX, 30);
    EXPECT_EQ(w.ScrollY, 30);
    w.ContentW = 50;
    Relayout(w);
    EXPECT_FALSE(w.HScroll);
    EXPECT_TRUE(w.VScroll);
    EXPECT_EQ(w.ScrollX, 0);
    EXPECT_EQ(w.ScrollY, 30);
    EXPECT_TRUE(IsEmpty(w.HTrack));
    EXPECT_FALSE(w.Button(TWinButtonId::HThumb).Visible);
}

TEST(PlayWindowScroll, ScrollPositionPulledBackWhenClientGrows) {
    TMyWin w = MakePocket(100, 100, 300, 80);
    for (int i = 0; i < 7; ++i) ScrollBy(w, THitCode::RightArrow, 0, 0);
    EXPECT_EQ(w.ScrollX, 200);
    SetClientSize(w, true, 250, 100);
    EXPECT_TRUE(w.HScroll);
    EXPECT_EQ(w.ScrollX, 50);
}

TEST(PlayWindowHit, TopRightCornerIsTheCloseButtonNeverAResize) {
    FakePlatform fp;
    TMyWin w = MakePocket(100, 100, 300, 300);
    for (int dx = 0; dx < 4; ++dx) {
        for (int dy = 0; dy < 4; ++dy) {
            const THitCode code = HitTest(w, w.Outer.Right - dx, w.Outer.Top + dy, false, fp);
            EXPECT_TRUE(code == THitCode::Close || code == THitCode::None) << static_cast<int>(code);
        }
    }
    EXPECT_EQ(HitTest(w, w.Outer.Right, w.Outer.Top, true, fp), THitCode::Close);
    EXPECT_EQ(w.HotButton, TWinButtonId::Close);
    EXPECT_TRUE(w.Button(TWinButtonId::Close).Hover);
    EXPECT_TRUE(w.Button(TWinButtonId::Close).Pressed);
}

TEST(PlayWindowHit, EdgesCornersAndCursors) {
    FakePlatform fp;
    TMyWin w = MakePocket(100, 100, 0, 0);
    const TMyRect o = w.Outer;
    EXPECT_EQ(HitTest(w, o.Left, o.Top + 40, false, fp), THitCode::Left);
    EXPECT_EQ(fp.Cursor, CursorShape::SizeWE);
    EXPECT_EQ(HitTest(w, o.Left + 30, o.Top, false, fp), THitCode::Top);
    EXPECT_EQ(fp.Cursor, CursorShape::SizeNS);
    EXPECT_EQ(HitTest(w, o.Right, o.Top + 50, false, fp), THitCode::Right);
    EXPECT_EQ(HitTest(w, o.Left + 30, o.Bottom, false, fp), THitCode::Bottom);
    EXPECT_EQ(HitTest(w, o.Left, o.Top, false, fp), THitCode::TopLeft);
    EXPECT_EQ(fp.Cursor, CursorShape::SizeNWSE);
    EXPECT_EQ(HitTest(w, o.Left, o.Bottom, false, fp), THitCode::BottomLeft);
    EXPECT_EQ(fp.Cursor, CursorShape::SizeNESW);
    EXPECT_EQ(HitTest(w, o.Right, o.Bottom, false, fp), THitCode::BottomRight);
    // The grip reaches into the client: there it wins over the client.
    EXPECT_EQ(HitTest(w, o.Right - 8, o.Bottom - 8, false, fp), THitCode::BottomRight);
    fp.Cursor = CursorShape::Arrow;
    EXPECT_EQ(HitTest(w, w.Client.Left + 5, w.Client.Top + 5, false, fp), THitCode::None);
    EXPECT_EQ(HitTest(w, o.Left + 30, o.Top + 10, false, fp),
              THitCode::None);  // caption: moving is decided by IsOnFrame
    EXPECT_EQ(fp.Cursor, CursorShape::Arrow);
    EXPECT_TRUE(IsOnFrame(w, o.Left + 30, o.Top + 10));
    EXPECT_FALSE(IsOnFrame(w, w.Client.Left, w.Client.Top));
    w.Visible = false;
    EXPECT_EQ(HitTest(w, o.Left, o.Top + 40, false, fp), THitCode::None);
}

TEST(PlayWindowHit, TrackBesideTheThumbActsAsArrows) {
    FakePlatform fp;
    TMyWin w = MakePocket(100, 100, 300, 300);
    ScrollBy(w, THitCode::RightArrow, 0, 0);
    ScrollBy(w, THitCode::RightArrow, 0, 0);
    const TMyRect thumb = w.Button(TWinButtonId::HThumb).Bounds;
    const int y = w.HTrack.Top + 3;
    EXPECT_EQ(HitTest(w, thumb.Left - 1, y, false, fp), THitCode::LeftArrow);
    EXPECT_FALSE(w.HotButton.has_value());
    EXPECT_EQ(HitTest(w, thumb.Right + 1, y, false, fp), THitCode::RightArrow);
    EXPECT_EQ(HitTest(w, thumb.Left + 2, y, false, fp), THitCode::HThumb);
    EXPECT_EQ(w.HotButton, TWinButtonId::HThumb);
    const TMyRect vthumb = w.Button(TWinButtonId::VThumb).Bounds;
    EXPECT_EQ(HitTest(w, w.VTrack.Left + 3, vthumb.Bottom + 1, false, fp), THitCode::DownArrow);
    EXPECT_TRUE(IsOnScrollBar(w, w.HTrack.Left, y));
    EXPECT_TRUE(IsOnScrollBar(w, w.Corner.Left, w.Corner.Top));
    EXPECT_FALSE(IsOnScrollBar(w, w.Client.Left, w.Client.Top));
}

TEST(PlayWindowHit, SideCornerSquareResizes) {
    FakePlatform fp;
    TMyWin side;
    InitWindow(side, 0, 0, 400, 300, TWinKind::Side);
    side.Visible = true;
    side.ContentW = 800;
    side.ContentH = 600;
    Relayout(side);
    EXPECT_EQ(side.Outer.Width, 400);
    EXPECT_EQ(HitTest(side, 395, 295, false, fp), THitCode::BottomRight);
    EXPECT_EQ(side.Client.Width, 383);
}

TEST(PlayWindowHit, GlassGripIsTheLowerRightHalf) {
    FakePlatform fp;
    TMyWin glass;
    InitWindow(glass, 0, 0, 240, 240, TWinKind::Glass);
    glass.Visible = true;
    const TMyRect g = glass.Grip;
    EXPECT_EQ(HitTest(glass, g.Right, g.Bottom, false, fp), THitCode::BottomRight);
    EXPECT_EQ(HitTest(glass, g.Left, g.Top, false, fp), THitCode::None);
    EXPECT_EQ(HitTest(glass, g.Left + 10, g.Top + 11, false, fp), THitCode::BottomRight);
    EXPECT_EQ(HitTest(glass, g.Left + 10, g.Top + 10, false, fp), THitCode::None);
}

TEST(PlayWindowSize, ThumbnailKeepsItsAspect) {
    TMyWin thumb;
    InitWindow(thumb, 0, 0, 100, 100, TWinKind::Thumb);
    thumb.MinClientW = 53;
    thumb.MinClientH = 40;
    thumb.MaxClientW = 400;
    thumb.MaxClientH = 300;
    UpdateLimits(thumb);
    SetClientSize(thumb, true, 200, 10);
    EXPECT_EQ(thumb.Client.Width, 200);
    EXPECT_EQ(thumb.Client.Height, 150);
    for (int proposed : {120, 257, 399, 1000}) {
        int w = proposed + thumb.FrameW, h = 77;
        ConstrainSize(thumb, w, h, true, false);
        const int cw = w - thumb.FrameW, ch = h - thumb.FrameH;
        EXPECT_EQ(ch, cw * 300 / 400) << proposed;
        EXPECT_LE(cw, 400);
    }
    int w = 5, h = 90;
    ConstrainSize(thumb, w, h, false, true);
    EXPECT_EQ(h, 90);
    EXPECT_EQ(w, 120);
}

TEST(PlayWindowMisc, CopyGeometryKeepsTheSidesInStep) {
    TMyWin a, b;
    InitWindow(a, 0, 0, 300, 200, TWinKind::Side);
    InitWindow(b, 0, 0, 100, 100, TWinKind::Side);
    b.Id = 1;
    a.ContentW = 900;
    a.ContentH = 700;
    Relayout(a);
    ScrollBy(a, THitCode::DownArrow, 0, 0);
    CopyGeometry(b, a);
    EXPECT_EQ(b.Id, 1);
    EXPECT_EQ(b.Outer.Width, 300);
    EXPECT_EQ(b.ScrollY, 70);
    EXPECT_TRUE(b.HScroll && b.VScroll);
    EXPECT_EQ(b.Button(TWinButtonId::VThumb).Bounds.Top, a.Button(TWinButtonId::VThumb).Bounds.Top);
}

TEST(PlayWindowStacking, BringToFrontAndActivate) {
    FakePlatform fp;
    TPlayWindows pw;
    CreatePlayWindows(pw, fp, {"Pocket 1 (0)", "Pocket 2 (0)", "Pocket 3 (0)", "Pocket 4 (0)"}, "Thumbnail");
    int activations = 0;
    pw.OnActivate = [&](TMyWin*) { ++activations; };
    BringToFront(pw, pw.Wins[MW_POCKET0]);
    EXPECT_EQ(pw.ZOrder, (std::array<int, 7>{0, 1, 3, 4, 5, 6, 2}));
    EXPECT_TRUE(pw.Wins[MW_POCKET0].Active);
    EXPECT_TRUE(pw.Wins[MW_POCKET0].Button(TWinButtonId::Close).ActiveLook);
    // A side stays where it is but still becomes the active one.
    BringToFront(pw, pw.Wins[MW_SIDE1]);
    EXPECT_EQ(pw.ZOrder, (std::array<int, 7>{0, 1, 3, 4, 5, 6, 2}));
    EXPECT_TRUE(pw.Wins[MW_SIDE1].Active);
    EXPECT_FALSE(pw.Wins[MW_POCKET0].Active);
    EXPECT_FALSE(pw.Wins[MW_POCKET0].Button(TWinButtonId::Close).ActiveLook);
    EXPECT_EQ(pw.ActiveWin, &pw.Wins[MW_SIDE1]);
    EXPECT_EQ(activations, 2);
    SetVisible(pw, pw.Wins[MW_SIDE1], false);
    EXPECT_FALSE(pw.Wins[MW_SIDE1].Active);
    Activate(pw, nullptr);
    EXPECT_EQ(pw.ActiveWin, nullptr);
}

TEST(PlayWindowStacking, SetUpTable) {
    FakePlatform fp;
    TPlayWindows pw;
    CreatePlayWindows(pw, fp, {"Pocket 1 (0)", "Pocket 2 (0)", "Pocket 3 (0)", "Pocket 4 (0)"}, "Thumbnail");
    EXPECT_TRUE(pw.Wins[MW_SIDE0].Visible);
    EXPECT_TRUE(pw.Wins[MW_SIDE1].Visible);
    EXPECT_EQ(pw.Wins[MW_SIDE1].ToolButton, 6);
    for (int k = 0; k < 4; ++k) {
        const TMyWin& p = pw.Wins[MW_POCKET0 + k];
        EXPECT_FALSE(p.Visible);
        EXPECT_EQ(p.Id, MW_POCKET0 + k);
        EXPECT_EQ(p.Outer.Left, 50 * k);
        EXPECT_EQ(p.ToolButton, 9 + k);
        EXPECT_EQ(p.Background, 0x989898);
        // "Pocket 1 (0)" as 6-pixel boxes: 12 characters, two spaces.
        EXPECT_FALSE(IsEmpty(p.CaptionTextBox));
    }
    EXPECT_FALSE(pw.Wins[MW_THUMB].HasBackground);
    EXPECT_EQ(pw.Glass.Outer.Width, 240);
    EXPECT_EQ(pw.Glass.MaxClientW, 480);
}

TEST(PlayWindowCaption, CoverageBecomesAlpha) {
    FakePlatform fp;
    TMyWin w;
    InitWindow(w, 0, 0, 100, 100, TWinKind::Pocket);
    SetCaption(w, "AB", fp);
    ASSERT_FALSE(IsEmpty(w.CaptionTextBox));
    EXPECT_EQ(w.CaptionTextBox.Left, 0);
    // Every lit pixel is white with its coverage as alpha; everything else is clear.
    int lit = 0;
    for (int y = 0; y < w.CaptionBitmap.Height; ++y) {
        for (int x = 0; x < w.CaptionBitmap.Width; ++x) {
            const uint8_t* p = PixelPtr(w.CaptionBitmap, x, y);
            if (p[0] != 0) {
                ++lit;
                EXPECT_EQ(p[3], p[0]);
                EXPECT_TRUE(ContainsPoint(w.CaptionTextBox, x, y));
            } else {
                EXPECT_EQ(p[3], 0);
            }
        }
    }
    EXPECT_GT(lit, 0);
    SetCaption(w, "", fp);
    EXPECT_TRUE(IsEmpty(w.CaptionTextBox));
    EXPECT_EQ(GetAlpha(w.CaptionBitmap, 1, 1), 0);
}

}  // namespace
}  // namespace orvel

namespace orvel {
namespace {

TEST(PlayWindowGlass, FrameIsTheOpaqueCornerOutsideTheLens) {
    TMyWin glass;
    InitWindow(glass, 100, 100, 240, 240, TWinKind::Glass);
    glass.Visible = true;
    TMyBitmap skin;
    ASSERT_TRUE(Create32(skin, kGlassSkinW, kGlassSkinH));  // all clear
    // The top-left corner image is opaque in its outer 20 x 20 square only.
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) PixelPtr(skin, x, y)[3] = 255;
    PixelPtr(skin, 5, 5)[3] = 200;  // not more than 200: not a handle
    EXPECT_TRUE(IsOnFrame(glass, 100 + 2, 100 + 2, &skin));
    EXPECT_FALSE(IsOnFrame(glass, 100 + 5, 100 + 5, &skin));
    EXPECT_FALSE(IsOnFrame(glass, 100 + 30, 100 + 30, &skin));    // clear skin there
    EXPECT_FALSE(IsOnFrame(glass, 100 + 120, 100 + 120, &skin));  // the lens
    EXPECT_FALSE(IsOnFrame(glass, 100 + 2, 100 + 2, nullptr));
    EXPECT_TRUE(IsInLens(glass, 220, 220));
    EXPECT_TRUE(IsInLens(glass, 100, 220));   // the ellipse touches the left edge
    EXPECT_FALSE(IsInLens(glass, 102, 102));  // the corner lies outside it
}

}  // namespace
}  // namespace orvel
