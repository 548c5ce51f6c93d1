#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDate>
#include <QDateTime>
#include <QMessageBox>
#include <QTimer>
#include <memory>

#include "graphics/Bitmap.h"
#include "platform/qt/QtPlatform.h"

namespace orvel {
namespace {

// One application for the whole binary, on the offscreen platform.
class QtEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "test_platform";
        static char* argv[] = {name, nullptr};
        m_app = std::make_unique<QApplication>(argc, argv);
    }
    void TearDown() override { m_app.reset(); }

private:
    std::unique_ptr<QApplication> m_app;
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

constexpr TColor kWhite = 0xFFFFFF;

struct Changed {
    int count = 0;
    int minX = 1 << 30, minY = 1 << 30, maxX = -1, maxY = -1;
};

Changed ChangedPixels(const TMyBitmap& buf, TColor background) {
    Changed c;
    for (int y = 0; y < buf.Height; ++y)
        for (int x = 0; x < buf.Width; ++x)
            if ((static_cast<uint32_t>(GetPixel(buf, x, y)) & 0xFFFFFF) != background) {
                ++c.count;
                c.minX = std::min(c.minX, x);
                c.minY = std::min(c.minY, y);
                c.maxX = std::max(c.maxX, x);
                c.maxY = std::max(c.maxY, y);
            }
    return c;
}

void Fill(TMyBitmap& buf, TColor color) {
    for (int y = 0; y < buf.Height; ++y)
        for (int x = 0; x < buf.Width; ++x) SetPixel(buf, x, y, color);
}

TEST(QtPlatformTextTest, TextAppearsInsideTheBoxOnly) {
    QtPlatform platform;
    TMyBitmap buf;
    ASSERT_TRUE(Create24(buf, 200, 80));
    Fill(buf, kWhite);
    TextStyle style;
    style.PointSize = 10;
    style.Color = RgbToColor(200, 0, 0);
    const TRect box{20, 10, 150, 45};
    platform.RenderText(buf, box, "Hello World", style);

    const Changed c = ChangedPixels(buf, kWhite);
    ASSERT_GT(c.count, 20);
    EXPECT_GE(c.minX, box.Left);
    EXPECT_LE(c.maxX, box.Right);
    EXPECT_GE(c.minY, box.Top);
    EXPECT_LE(c.maxY, box.Bottom);
    // Top-aligned and upright: the ink starts near the box's top, although
    // the buffer's rows run bottom-up.
    EXPECT_LE(c.minY, box.Top + 6);
    EXPECT_LE(c.maxY, box.Top + 20);
    // The strongest pixel is close to the text colour: red, no blue.
    bool strong = false;
    for (int y = c.minY; y <= c.maxY; ++y)
        for (int x = c.minX; x <= c.maxX; ++x) {
            const uint8_t* p = PixelPtr(buf, x, y);
            if (p[2] >= 190 && p[0] <= 60 && p[1] <= 60) strong = true;
        }
    EXPECT_TRUE(strong);
}

TEST(QtPlatformTextTest, ClippedToTheBoxAndTheBuffer) {
    QtPlatform platform;
    TMyBitmap buf;
    ASSERT_TRUE(Create32(buf, 60, 30));
    Fill(buf, kWhite);
    for (int y = 0; y < buf.Height; ++y)
        for (int x = 0; x < buf.Width; ++x) PixelPtr(buf, x, y)[3] = 77;
    TextStyle style;
    style.Bold = true;
    // A long text in a narrow box: nothing beyond its right edge.
    platform.RenderText(buf, TRect{5, 2, 30, 20}, "WWWWWWWWWWWWWWWWWW", style);
    Changed c = ChangedPixels(buf, kWhite);
    ASSERT_GT(c.count, 0);
    EXPECT_GE(c.minX, 5);
    EXPECT_LE(c.maxX, 30);
    for (int y = 0; y < buf.Height; ++y)
        for (int x = 0; x < buf.Width; ++x)
            ASSERT_EQ(PixelPtr(buf, x, y)[3], 77);  // alpha untouched

    // A box reaching out of the buffer on every side; the text keeps its
    // place, so only its part inside shows.
    Fill(buf, kWhite);
    platform.RenderText(buf, TRect{-8, -5, 500, 500}, "Mm", style);
    c = ChangedPixels(buf, kWhite);
    EXPECT_GT(c.count, 0);
    EXPECT_LE(c.maxY, 15);

    // Nothing at all for a box outside or an empty text.
    Fill(buf, kWhite);
    platform.RenderText(buf, TRect{100, 100, 200, 200}, "Mm", style);
    platform.RenderText(buf, TRect{0, 0, 59, 29}, "", style);
    EXPECT_EQ(ChangedPixels(buf, kWhite).count, 0);
}

TEST(QtPlatformTextTest, EllipsisStaysInTheBox) {
    QtPlatform platform;
    TMyBitmap buf;
    ASSERT_TRUE(Create24(buf, 120, 30));
    Fill(buf, kWhite);
    TextStyle style;
    style.EndEllipsis = true;
    platform.RenderText(buf, TRect{0, 0, 49, 29}, "A rather long caption text", style);
    const Changed c = ChangedPixels(buf, kWhite);
    ASSERT_GT(c.count, 0);
    EXPECT_LE(c.maxX, 49);
}

TEST(QtPlatformTextTest, Measure) {
    QtPlatform platform;
    TextStyle style;
    const TextExtent one = platform.MeasureText("i", style);
    const TextExtent many = platform.MeasureText("WWWWWW", style);
    EXPECT_GT(one.Height, 0);
    EXPECT_GT(many.Width, 4 * one.Width);
    style.PointSize = 16;
    EXPECT_GT(platform.MeasureText("i", style).Height, one.Height);
}

TEST(QtPlatformClockTest, DayCountAndTicks) {
    QtPlatform platform;
    const double now = platform.Now();
    const QDateTime local = QDateTime::currentDateTime();
    const double days = static_cast<double>(QDate(1899, 12, 30).daysTo(local.date()));
    EXPECT_GE(now, days - 1);
    EXPECT_LT(now, days + 1.0001);
    const uint64_t t0 = platform.TickMs();
    platform.SleepMs(20);
    EXPECT_GE(platform.TickMs(), t0 + 20);
    EXPECT_NE(platform.HighResCounter(), 0u);
}

// Answers the next message box by pressing button, or Escape when none is given.
void AnswerNextBox(QMessageBox::StandardButton button, std::vector<int>* shown = nullptr) {
    QTimer::singleShot(0, [button, shown] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        if (shown) {
            for (QAbstractButton* b : box->buttons()) shown->push_back(box->standardButton(b));
        }
        if (button == QMessageBox::NoButton)
            box->reject();
        else
            box->button(button)->click();
    });
}

TEST(QtPlatformMessageTest, KindsAndAnswers) {
    QtPlatform platform;
    std::vector<int> buttons;
    AnswerNextBox(QMessageBox::No, &buttons);
    EXPECT_EQ(platform.ShowMessage("Save changes?", "Orvel", MsgKind::YesNoCancel), MsgResult::No);
    EXPECT_EQ(buttons.size(), 3u);
    AnswerNextBox(QMessageBox::Cancel);
    EXPECT_EQ(platform.ShowMessage("Go on?", "Orvel", MsgKind::OkCancel), MsgResult::Cancel);
    AnswerNextBox(QMessageBox::Yes);
    EXPECT_EQ(platform.ShowMessage("Sure?", "Orvel", MsgKind::YesNo), MsgResult::Yes);
    AnswerNextBox(QMessageBox::Ok);
    EXPECT_EQ(platform.ShowMessage("Done", "Orvel", MsgKind::Info), MsgResult::Ok);
    // Closing the box without a button: No for Yes/No, Cancel where there is one.
    AnswerNextBox(QMessageBox::NoButton);
    EXPECT_EQ(platform.ShowMessage("Sure?", "Orvel", MsgKind::YesNo), MsgResult::No);
    AnswerNextBox(QMessageBox::NoButton);
    EXPECT_EQ(platform.ShowMessage("Save?", "Orvel", MsgKind::YesNoCancel), MsgResult::Cancel);
    AnswerNextBox(QMessageBox::NoButton);
    EXPECT_EQ(platform.ShowMessage("Careful", "Orvel", MsgKind::Warning), MsgResult::Ok);
}

TEST(QtPlatformCursorTest, DragCursors) {
    {
        QtPlatform platform;
        platform.SetCursor(CursorShape::DragClosed);
        ASSERT_NE(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::ClosedHandCursor);
        platform.SetCursor(CursorShape::SizeNWSE);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::SizeFDiagCursor);
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);  // restored with the platform

    QtPlatform platform;
    QWidget field;
    platform.SetCursorWidget(&field);
    platform.SetDragCursors(QCursor(Qt::CrossCursor), QCursor(Qt::IBeamCursor));
    platform.SetCursor(CursorShape::DragOpen);
    EXPECT_EQ(field.cursor().shape(), Qt::CrossCursor);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(QtPlatformScreenTest, MetricsFromTheScreen) {
    QtPlatform platform;
    const ScreenMetrics m = platform.GetScreenMetrics();
    EXPECT_GT(m.ScreenW, 0);
    EXPECT_GT(m.ScreenH, 0);
    EXPECT_LE(m.WorkArea.Right, m.ScreenW - 1);
    EXPECT_GT(m.CaptionH, 0);
}

}  // namespace
}  // namespace orvel
