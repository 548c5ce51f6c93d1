// The help's windows offscreen: the quick-help box's layout for a short and
// a long check-box text and its keys, and the help window's pages, topics
// and history.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QTest>

#include "help/forms/HelpViewer.h"
#include "help/forms/QuickHelp.h"
#include "lang/Lang.h"
#include "platform/FakePlatform.h"

namespace orvel {
namespace {

// Notes the keys that reach it.
class TKeyRecorder : public QWidget {
public:
    std::vector<std::pair<int, bool>> Keys;  // key, pressed

protected:
    void keyPressEvent(QKeyEvent* e) override { Keys.emplace_back(e->key(), true); }
    void keyReleaseEvent(QKeyEvent* e) override { Keys.emplace_back(e->key(), false); }
};

TEST(QuickHelpForm, CloseStaysBesideAShortShowTextAndMovesBelowALongOne) {
    TKeyRecorder main;
    TF_Help help(&main);
    help.CB_Show->setText("Show at start");
    help.B_Close->setText("Close");
    help.LayOut();
    EXPECT_EQ(help.B_Close->y(), help.CB_Show->y());
    EXPECT_LE(help.CB_Show->geometry().right(), help.B_Close->x() - 16);

    help.CB_Show->setText(
        "Show this box every time the game starts, beside the main window, until unticked");
    help.LayOut();
    const QRect show = help.CB_Show->geometry();
    const QRect close = help.B_Close->geometry();
    EXPECT_EQ(show.width(), help.width() - 16);
    EXPECT_EQ(close.top(), show.bottom() + 1 + 9);
    EXPECT_EQ(help.height(), close.bottom() + 1 + 9);
    EXPECT_FALSE(show.intersects(close));
    // The rotation texts never run past the frame.
    EXPECT_LE(help.L_RotateCW->geometry().right(), help.Shape1->geometry().right() - 10 + 1);
}

TEST(QuickHelpForm, KeysReachTheMainWindowAndEscOrCloseOnlyHide) {
    TKeyRecorder main;
    TF_Help help(&main);
    help.show();
    QTest::keyPress(&help, Qt::Key_T);
    QTest::keyRelease(&help, Qt::Key_T);
    EXPECT_EQ(main.Keys,
              (std::vector<std::pair<int, bool>>{{Qt::Key_T, true}, {Qt::Key_T, false}}));
    QTest::keyPress(&help, Qt::Key_Escape);
    EXPECT_FALSE(help.isVisible());
    help.show();
    QTest::mouseClick(help.B_Close, Qt::LeftButton);
    EXPECT_FALSE(help.isVisible());
}

TEST(HelpViewerForm, OpensAtThePageListsTheTopicsAndGoesBackAndForth) {
    FakePlatform fp;
    const std::string langDir = std::string(ORVEL_SOURCE_DIR) + "/data/language";
    TLanguage lang(&fp, langDir);
    ASSERT_TRUE(lang.LoadAndApply(langDir + "/german.lng"));
    TF_HelpViewer viewer;
    viewer.ApplyTexts(lang);
    EXPECT_EQ(viewer.B_Back->text(), QString::fromUtf8("Zurück"));

    const std::string help = langDir + "/german.help/";
    viewer.ShowPage(help + "play-mode.htm", "play-mode.htm");
    EXPECT_TRUE(viewer.Browser->source().toLocalFile().endsWith("german.help/play-mode.htm"));
    EXPECT_EQ(viewer.Topics->count(), 9);
    EXPECT_EQ(viewer.Topics->currentItem()->text(), "Spielweise");
    EXPECT_TRUE(viewer.Browser->toPlainText().contains("Einrastabstand"));

    viewer.ShowPage(help + "sound.htm", "sound.htm");
    ASSERT_TRUE(viewer.B_Back->isEnabled());
    QTest::mouseClick(viewer.B_Back, Qt::LeftButton);
    EXPECT_TRUE(viewer.Browser->source().toLocalFile().endsWith("play-mode.htm"));
    QTest::mouseClick(viewer.B_Contents, Qt::LeftButton);
    EXPECT_TRUE(viewer.Browser->source().toLocalFile().endsWith("german.help/cont-zent.htm"));

    viewer.ShowPage("", "gone.htm");
    EXPECT_TRUE(viewer.Browser->toPlainText().contains("gone.htm"));
}

}  // namespace
}  // namespace orvel
