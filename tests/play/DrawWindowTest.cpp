#include <gtest/gtest.h>

#include "play/Field.h"
#include "play/PlayWindow.h"
#include "platform/FakePlatform.h"

namespace orvel {
namespace {

// Every skin pixel tells where it came from: blue = x mod 256, green = y, red = x div 256.
void CodedSkin(TMyBitmap& skin, int w, int h) {
    ASSERT_TRUE(Create32(skin, w, h));
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            uint8_t* p = PixelPtr(skin, x, y);
            p[0] = static_cast<uint8_t>(x & 255);
            p[1] = static_cast<uint8_t>(y);
            p[2] = static_cast<uint8_t>(x >> 8);
            p[3] = 255;
        }
    }
}

TColor SkinAt(int x, int y) {
    return RgbToColor(x >> 8, y, x & 255);
}

struct DrawFixture : ::testing::Test {
    FakePlatform fp;
    TPlayWindows pw;
    TMyBitmap field;
    TMyRect all;

    void SetUp() override {
        CodedSkin(pw.WinSkin, kWinSkinW, kWinSkinH);
        CodedSkin(pw.GlassSkin, kGlassSkinW, kGlassSkinH);
        ASSERT_TRUE(Create24(field, 400, 300));
        ASSERT_EQ(field.Width, 400);
        FillBox(field, 0, 0, 400, 300, 0x123456);
        SetPosSize(all, 0, 0, 400, 300);
        CreatePlayWindows(pw, fp, {"Pocket 1 (0)", "Pocket 2 (0)", "Pocket 3 (0)", "Pocket 4 (0)"}, "Thumbnail");
    }
    TMyWin& Pocket() {
        TMyWin& w = pw.Wins[MW_POCKET0];
        SetPosSize(w.Outer, 20, 30, 160, 120);
        w.ContentW = 400;
        w.ContentH = 300;
        Relayout(w);
        w.Visible = true;
        return w;
    }
    TColor At(int x, int y) const { return static_cast<TColor>(GetPixel(field, x, y)); }
};

TEST_F(DrawFixture, FrameSlicesComeFromTheirSkinBlocks) {
    TMyWin& w = Pocket();
    const int L = w.Outer.Left, T = w.Outer.Top, R = w.Outer.Right, B = w.Outer.Bottom;
    for (bool active : {false, true}) {
        w.Active = active;
        const int x0 = active ? 103 : 1;
        DrawWindow(field, all, w, pw);
        EXPECT_EQ(At(L, T), SkinAt(x0, 1));
        EXPECT_EQ(At(L + 5, T + 21), SkinAt(x0 + 5, 22));
        EXPECT_EQ(At(L + 60, T + 2), SkinAt(x0 + 6, 3));    // the stretched column (no text there)
        EXPECT_EQ(At(R - 5, T + 21), SkinAt(x0 + 94, 22));  // below the close button
        EXPECT_EQ(At(L + 50, B), SkinAt(x0 + 10, 100));     // bottom edge, stretched
        EXPECT_EQ(At(L, B), SkinAt(x0, 100));
        EXPECT_EQ(At(R, B), SkinAt(x0 + 99, 100));
        EXPECT_EQ(At(L, T + 22 + 2), SkinAt(x0, 25));      // top of the side edge
        EXPECT_EQ(At(L + 3, T + 60), SkinAt(x0 + 3, 31));  // side edge, row 31 stretched
        EXPECT_EQ(At(R, T + 60), SkinAt(x0 + 99, 31));
    }
}

TEST_F(DrawFixture, BackgroundScrollBarsAndButtons) {
    TMyWin& w = Pocket();
    w.ContentH = 150;  // a long vertical thumb
    Relayout(w);
    w.Active = true;
    SetButtonsActive(w, true);
    w.Button(TWinButtonId::Close).Hover = true;
    DrawWindow(field, all, w, pw);
    EXPECT_EQ(At(w.Client.Left, w.Client.Top), 0x989898u);
    EXPECT_EQ(At(w.Client.Right, w.Client.Bottom), 0x989898u);
    // Tracks: vertical from row 21 of columns 276.., horizontal from column 296 of rows 1...
    EXPECT_EQ(At(w.VTrack.Left + 4, w.VTrack.Bottom), SkinAt(280, 21));
    EXPECT_EQ(At(w.HTrack.Right, w.HTrack.Top + 4), SkinAt(296, 5));
    EXPECT_EQ(At(w.Corner.Left + 1, w.Corner.Top + 2), SkinAt(277, 3));
    // Close button, active and hot: the fourth image.
    const TMyRect& c = w.Button(TWinButtonId::Close).Bounds;
    EXPECT_EQ(At(c.Left, c.Top), SkinAt(2 + 3 * 23, 110));
    // Thumb: ends of 7 pixels, column 7 stretched between.
    const TMyRect& th = w.Button(TWinButtonId::HThumb).Bounds;
    ASSERT_GT(th.Width, 14);
    EXPECT_EQ(At(th.Left, th.Top), SkinAt(211, 41));
    EXPECT_EQ(At(th.Left + 7, th.Top + 3), SkinAt(218, 44));
    EXPECT_EQ(At(th.Right, th.Top), SkinAt(227, 41));
    const TMyRect& vt = w.Button(TWinButtonId::VThumb).Bounds;
    EXPECT_EQ(At(vt.Left + 2, vt.Bottom), SkinAt(213, 117));
    EXPECT_EQ(At(vt.Left + 2, vt.Top + 7), SkinAt(213, 108));
    // Pressed look needs the active window.
    w.Button(TWinButtonId::ScrollUp).Pressed = true;
    w.Button(TWinButtonId::ScrollUp).Hover = true;
    DrawWindow(field, all, w, pw);
    EXPECT_EQ(At(w.Button(TWinButtonId::ScrollUp).Bounds.Left, w.Button(TWinButtonId::ScrollUp).Bounds.Top), SkinAt(251, 61));
    SetButtonsActive(w, false);
    DrawWindow(field, all, w, pw);
    EXPECT_EQ(At(w.Button(TWinButtonId::ScrollUp).Bounds.Left, w.Button(TWinButtonId::ScrollUp).Bounds.Top), SkinAt(231, 61));
}

TEST_F(DrawFixture, OnlyTheUpdateRectangleIsTouched) {
    TMyWin& w = Pocket();
    TMyRect upd;
    SetBounds(upd, w.Client.Left + 10, w.Client.Top + 10, w.Client.Left + 19, w.Client.Top + 19);
    DrawWindow(field, upd, w, pw);
    int changed = 0;
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 400; ++x)
            if (At(x, y) != 0x123456u) {
                ++changed;
                EXPECT_TRUE(ContainsPoint(upd, x, y)) << x << "," << y;
            }
    EXPECT_EQ(changed, 100);
}

TEST_F(DrawFixture, BackgroundPictureScrollsWithTheContent) {
    TMyWin& w = Pocket();
    TMyBitmap pic;
    CodedSkin(pic, 400, 250);
    pw.BkgPicture = &pic;
    pw.BkgPictureCode = 12;
    w.Background = 12;
    ScrollBy(w, THitCode::RightArrow, 0, 0);
    ScrollBy(w, THitCode::DownArrow, 0, 0);
    DrawWindow(field, all, w, pw);
    EXPECT_EQ(At(w.Client.Left, w.Client.Top), SkinAt(40, 30));
    EXPECT_EQ(At(w.Client.Left + 3, w.Client.Top + 2), SkinAt(43, 32));
    // A picture code whose picture is not the loaded one falls back to the grey.
    w.Background = 13;
    DrawWindow(field, all, w, pw);
    EXPECT_EQ(At(w.Client.Left, w.Client.Top), 0x989898u);
}

TEST_F(DrawFixture, CaptionTextIsBlendedByCoverage) {
    TMyWin& w = Pocket();
    SetCaption(w, "XX", fp);
    ASSERT_FALSE(IsEmpty(w.CaptionTextBox));
    DrawWindow(field, all, w, pw);
    const int tw = w.CaptionTextBox.Width;
    const int x = Max(w.Outer.Left + (w.Outer.Width - tw) / 2, w.CaptionArea.Left);
    const int y = w.CaptionArea.Top + (w.CaptionArea.Height - w.CaptionTextBox.Height) / 2 + 1;
    // The fake renderer draws solid boxes: full coverage gives white.
    EXPECT_EQ(At(x, y), 0xFFFFFFu);
    EXPECT_NE(At(x - 1, y), 0xFFFFFFu);
}

TEST_F(DrawFixture, GlassCornersAndButtonsFromTheGlassSkin) {
    TMyWin& g = pw.Glass;
    g.Visible = true;
    SetPosSize(g.Outer, 100, 40, 240, 240);
    Relayout(g);
    DrawWindow(field, all, g, pw);
    EXPECT_EQ(At(100, 40), SkinAt(0, 0));
    EXPECT_EQ(At(339, 40), SkinAt(96 + 92, 0));
    EXPECT_EQ(At(100, 279), SkinAt(0, 96 + 92));
    EXPECT_EQ(At(339, 279), SkinAt(96 + 92, 96 + 92));
    EXPECT_FALSE(g.Button(TWinButtonId::Zoom2).Visible);
    const TMyRect& z = g.Button(TWinButtonId::Zoom1).Bounds;
    EXPECT_EQ(At(z.Left + 1, z.Top + 1), SkinAt(197, 26));
}

TEST_F(DrawFixture, CompositionFollowsTheStackingOrder) {
    TMyWin& a = Pocket();
    TMyWin& b = pw.Wins[MW_POCKET1];
    SetPosSize(b.Outer, 60, 60, 160, 120);
    Relayout(b);
    b.Visible = true;
    b.Background = 0x0000FF;
    a.Background = 0x00FF00;
    pw.Wins[MW_SIDE0].Visible = true;
    SetPosSize(pw.Wins[MW_SIDE0].Outer, 0, 0, 400, 300);
    Relayout(pw.Wins[MW_SIDE0]);
    pw.Wins[MW_SIDE1].Visible = false;
    std::vector<int> drawn;
    TFieldLayers layers;
    layers.DrawPieces = [&](TMyBitmap&, const TMyWin& w, const TMyRect&) { drawn.push_back(w.Id); };
    const int px = 100, py = 100;  // inside both clients
    ASSERT_TRUE(ContainsPoint(a.Client, px, py) && ContainsPoint(b.Client, px, py));
    ComposeRect(field, all, pw, layers);
    EXPECT_EQ(At(px, py), 0x0000FFu);
    EXPECT_EQ(drawn, (std::vector<int>{MW_SIDE0, MW_POCKET0, MW_POCKET1}));
    BringToFront(pw, a);
    drawn.clear();
    ComposeRect(field, all, pw, layers);
    EXPECT_EQ(At(px, py), 0x00FF00u);
    EXPECT_EQ(drawn, (std::vector<int>{MW_SIDE0, MW_POCKET1, MW_POCKET0}));
    // A rectangle that misses a window leaves its pieces alone.
    TMyRect corner;
    SetBounds(corner, 390, 290, 399, 299);
    drawn.clear();
    ComposeRect(field, corner, pw, layers);
    EXPECT_EQ(drawn, (std::vector<int>{MW_SIDE0}));
}

TEST_F(DrawFixture, FlushSendsOnlyThePendingRectangle) {
    TFieldView view;
    ASSERT_TRUE(SizeField(view, 400, 300, 0x989898));
    SetFieldArea(view, 400, 250);
    std::vector<TMyRect> shown;
    view.Invalidate = [&](const TMyRect& r) { shown.push_back(r); };
    TFieldLayers layers;
    int overlays = 0;
    layers.DrawOverlays = [&](TMyBitmap&, const TMyRect&) { ++overlays; };
    FlushField(view, pw, layers);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].Width, 400);
    EXPECT_EQ(shown[0].Height, 250);
    FlushField(view, pw, layers);  // nothing pending
    EXPECT_EQ(shown.size(), 1u);
    TMyRect a, b;
    SetBounds(a, 10, 10, 19, 19);
    SetBounds(b, 30, 5, 39, 14);
    RequestUpdate(view, FieldUpdate::Drawn, &a);
    RequestUpdate(view, FieldUpdate::Button, &b);
    FlushField(view, pw, layers);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1].Left, 10);
    EXPECT_EQ(shown[1].Top, 5);
    EXPECT_EQ(shown[1].Right, 39);
    EXPECT_EQ(shown[1].Bottom, 19);
    EXPECT_EQ(overlays, 2);
}

TEST_F(DrawFixture, HoverMarksTheButtonAndAsksForItsRectangle) {
    TMyWin& w = Pocket();
    TFieldView view;
    ASSERT_TRUE(SizeField(view, 400, 300, 0x989898));
    view.Pending = FieldUpdate::None;
    const TMyRect close = w.Button(TWinButtonId::Close).Bounds;
    EXPECT_TRUE(HoverField(view, pw, close.Left + 5, close.Top + 5, fp));
    EXPECT_TRUE(w.Button(TWinButtonId::Close).Hover);
    EXPECT_EQ(view.Pending, FieldUpdate::Button);
    EXPECT_EQ(view.PendingRect.Left, close.Left);
    EXPECT_EQ(view.PendingRect.Width, close.Width);
    view.Pending = FieldUpdate::None;
    EXPECT_FALSE(HoverField(view, pw, close.Left + 6, close.Top + 5, fp));
    EXPECT_EQ(view.Pending, FieldUpdate::None);
    // Leaving it: the old button is redrawn normal.
    EXPECT_TRUE(HoverField(view, pw, w.Client.Left + 5, w.Client.Top + 5, fp));
    EXPECT_FALSE(w.Button(TWinButtonId::Close).Hover);
    EXPECT_EQ(view.PendingRect.Left, close.Left);
    // A resize zone sets its cursor, elsewhere the arrow comes back.
    HoverField(view, pw, w.Outer.Left, w.Outer.Top + 50, fp);
    EXPECT_EQ(fp.Cursor, CursorShape::SizeWE);
    HoverField(view, pw, w.Client.Left + 5, w.Client.Top + 5, fp);
    EXPECT_EQ(fp.Cursor, CursorShape::Arrow);
}

TEST_F(DrawFixture, HoverMovingToAnotherWindowsButtonRedrawsBoth) {
    TMyWin& first = Pocket();
    TMyWin& second = pw.Wins[MW_POCKET1];
    SetPosSize(second.Outer, 220, 30, 160, 120);
    second.ContentW = 400;
    second.ContentH = 300;
    Relayout(second);
    second.Visible = true;
    TFieldView view;
    ASSERT_TRUE(SizeField(view, 400, 300, 0x989898));
    const TMyRect a = first.Button(TWinButtonId::Close).Bounds;
    const TMyRect b = second.Button(TWinButtonId::ScrollDown).Bounds;
    ASSERT_FALSE(IntersectRect(a, b));
    ASSERT_TRUE(second.Button(TWinButtonId::ScrollDown).Visible);

    EXPECT_TRUE(HoverField(view, pw, a.Left + 2, a.Top + 2, fp));
    EXPECT_EQ(view.HotWin, MW_POCKET0);
    view.Pending = FieldUpdate::None;
    EXPECT_TRUE(HoverField(view, pw, b.Left + 2, b.Top + 2, fp));
    EXPECT_FALSE(first.Button(TWinButtonId::Close).Hover);
    EXPECT_FALSE(first.HotButton.has_value());
    EXPECT_TRUE(second.Button(TWinButtonId::ScrollDown).Hover);
    EXPECT_EQ(view.HotWin, MW_POCKET1);
    EXPECT_EQ(view.HotButton, TWinButtonId::ScrollDown);
    // One pending rectangle that holds the old and the new button.
    EXPECT_EQ(view.Pending, FieldUpdate::Button);
    EXPECT_EQ(view.PendingRect.Left, a.Left);
    EXPECT_EQ(view.PendingRect.Right, b.Right);
    EXPECT_EQ(view.PendingRect.Bottom, Max(a.Bottom, b.Bottom));

    // Off every window: nothing is hot any more.
    EXPECT_TRUE(HoverField(view, pw, 5, 290, fp));
    EXPECT_EQ(view.HotWin, kNoWindow);
    EXPECT_FALSE(view.HotButton.has_value());
    EXPECT_FALSE(second.Button(TWinButtonId::ScrollDown).Hover);
}

}  // namespace
}  // namespace orvel
