#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <filesystem>
#include <fstream>

#include "app/forms/AboutOrvelZent.h"
#include "app/forms/MainWindow.h"
#include "game/JigsawFile.h"
#include "game/JigsawTestUtil.h"
#include "platform/FakePlatform.h"

namespace orvel {
namespace {

namespace fs = std::filesystem;

// One QApplication for the whole binary, offscreen.
class QtEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "test_forms";
        static char* argv[] = {name, nullptr};
        m_app = new QApplication(argc, argv);
    }
    void TearDown() override {
        delete m_app;
        m_app = nullptr;
    }

private:
    QApplication* m_app = nullptr;
};
const auto* const kEnv = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

struct MainWindowFixture : ::testing::Test {
    FakePlatform fp;
    fs::path tmp;
    std::unique_ptr<TF_Main> main;

    void SetUp() override {
        tmp = fs::temp_directory_path() /
              ("orvel-forms-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(tmp);
        fs::create_directories(tmp / "docs");
        fs::create_directories(tmp / "data");
        TPlatformFolders f;
        f.ProgramDir = ORVEL_BUILD_DIR;
        f.DocumentsDir = (tmp / "docs").string();
        f.DataHomeDir = (tmp / "data").string();
        f.TempDir = tmp.string();
        fp.Screen.ScreenW = 1280;
        fp.Screen.ScreenH = 800;
        fp.Screen.WorkArea = {0, 0, 1279, 759};
        main = std::make_unique<TF_Main>(fp, f);
        main->StartUp();
        QApplication::processEvents();
    }
    void TearDown() override {
        main.reset();
        fs::remove_all(tmp);
    }
    void Press(int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyPress(main.get(), static_cast<Qt::Key>(key), mods);
    }
    void Release(int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyRelease(main.get(), static_cast<Qt::Key>(key), mods);
    }
    QWidget* Button(int slot) { return main->ToolButtons[slot]; }
    void ClickButton(int slot) {
        QWidget* b = Button(slot);
        QTest::mouseMove(b, QPoint(10, 10));
        QTest::mousePress(b, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
        QTest::mouseRelease(b, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    }
};

TEST_F(MainWindowFixture, CreatedWithToolbarMenuAndTexts) {
    EXPECT_EQ(main->windowTitle().toStdString(), "Orvel Jigsaw Zentia Tour");
    EXPECT_EQ(main->P_Toolbar->height(), 35);
    EXPECT_EQ(main->P_Field->y(), 35);
    for (int slot = 0; slot < kToolSlotCount; ++slot)
        EXPECT_EQ(Button(slot)->objectName().toStdString(), ToolSlots()[slot].Name);
    // English texts arrived, with the shortcut shown beside them.
    EXPECT_EQ(main->Actions[MI_FileSaveAs]->text().toStdString(), "Save As\tShift+S");
    EXPECT_EQ(main->Actions[MI_HelpCont]->text().toStdString(), "Contents\tF1");
    EXPECT_EQ(Button(BI_Glass)->toolTip().toStdString(), "Glass (G)");
    EXPECT_EQ(main->Actions[MI_HelpProductHomePage]->text().toStdString(), "Product Home");
    // No game: the game menus and their buttons are off; Full Screen is on.
    EXPECT_FALSE(main->Actions[MI_Game]->isEnabled());
    EXPECT_FALSE(main->Actions[MI_FileSave]->isEnabled());
    EXPECT_FALSE(main->App.Toolbar().Buttons[BI_Thumb].Enabled);
    EXPECT_FALSE(main->App.Toolbar().Buttons[BI_Arrange].Enabled);
    EXPECT_TRUE(main->Actions[MI_FullScreen]->isEnabled());
    // The help pages ship: Contents and its button are on from the start.
    EXPECT_TRUE(main->Actions[MI_HelpCont]->isEnabled());
    EXPECT_TRUE(main->App.Toolbar().Buttons[BI_Help].Enabled);
    // The home-page items show only when the build names a home page.
    const bool homePage = *BuiltHomeUrl() != '\0';
    EXPECT_EQ(main->Actions[MI_HelpHomePage]->isVisible(), homePage);
    EXPECT_EQ(main->Actions[MI_HelpProductHomePage]->isVisible(), homePage);
    EXPECT_FALSE(main->Actions[MI_Menu]->isVisible());
    // The first side shows and fills the field, its button is down.
    EXPECT_TRUE(main->App.Wins.Wins[MW_SIDE0].Visible);
    EXPECT_FALSE(main->App.Wins.Wins[MW_SIDE1].Visible);
    EXPECT_EQ(main->App.Wins.Wins[MW_SIDE0].Outer.Width, main->P_Field->width());
    EXPECT_TRUE(main->App.Toolbar().Buttons[BI_Win1].Down);
    // Nothing wakes an idle program: no timer runs until a game starts.
    for (const QTimer* timer : main->findChildren<QTimer*>())
        EXPECT_FALSE(timer->isActive()) << timer->objectName().toStdString();
    EXPECT_EQ(main->T_AutoSave->interval(), 5000);
    // Pocket captions follow the language's format.
    EXPECT_FALSE(IsEmpty(main->App.Wins.Wins[MW_POCKET0].CaptionTextBox));
}

TEST_F(MainWindowFixture, HintsDropTheDialogDotsOfTheCaptions) {
    ASSERT_TRUE(main->App.ApplyLanguageFile(main->App.Paths.LanguageDir + "german.lng"));
    // "Speichern unter..." in the menu, without its dots in the hint.
    EXPECT_EQ(main->Actions[MI_FileSaveAs]->text().toStdString(), "Speichern unter...\tShift+S");
    EXPECT_EQ(Button(BI_Open)->toolTip().toStdString(),
              "\xC3\x96"
              "ffnen (O)");
    EXPECT_EQ(Button(BI_Options)->toolTip().toStdString(), "Einstellungen");
}

TEST_F(MainWindowFixture, KeysFireOnReleaseOfTheLastPressedKey) {
    // F1 down, U down and up, F1 up: only Full Screen runs.
    Press(Qt::Key_F1);
    Press(Qt::Key_U);
    Release(Qt::Key_U);
    Release(Qt::Key_F1);
    EXPECT_EQ(main->App.CommandLog, (std::vector<int>{MI_FullScreen}));
    EXPECT_TRUE(main->App.IsFullScreen());
    Press(Qt::Key_U);
    Release(Qt::Key_U);
    EXPECT_FALSE(main->App.IsFullScreen());
    // F1 alone opens the help at its contents page.
    main->App.CommandLog.clear();
    Press(Qt::Key_F1);
    Release(Qt::Key_F1);
    EXPECT_EQ(main->App.CommandLog, (std::vector<int>{MI_HelpCont}));
    EXPECT_EQ(fp.HelpPages, (std::vector<std::string>{"cont-zent.htm"}));
    EXPECT_TRUE(fp.Opened.empty());
    main->App.CommandLog.clear();
    // The shift state must match exactly.
    Press(Qt::Key_U, Qt::ShiftModifier);
    Release(Qt::Key_U, Qt::ShiftModifier);
    EXPECT_FALSE(main->App.IsFullScreen());
    Press(Qt::Key_U);
    Release(Qt::Key_U);
    EXPECT_TRUE(main->App.IsFullScreen());
    Press(Qt::Key_U);
    Release(Qt::Key_U);
    EXPECT_FALSE(main->App.IsFullScreen());
    // Shift down, U down, Shift up, U up: the release of Shift cancels U.
    Press(Qt::Key_Shift, Qt::ShiftModifier);
    Press(Qt::Key_U, Qt::ShiftModifier);
    Release(Qt::Key_Shift);
    Release(Qt::Key_U);
    EXPECT_FALSE(main->App.IsFullScreen());
    // Shift held through: the exact state is Shift, which U does not have.
    Press(Qt::Key_Shift, Qt::ShiftModifier);
    Press(Qt::Key_U, Qt::ShiftModifier);
    Release(Qt::Key_U, Qt::ShiftModifier);
    Release(Qt::Key_Shift);
    EXPECT_FALSE(main->App.IsFullScreen());
    // Disabled commands never run from their keys.
    main->App.CommandLog.clear();
    Press(Qt::Key_S);
    Release(Qt::Key_S);
    Press(Qt::Key_T);  // the thumbnail needs a game
    Release(Qt::Key_T);
    EXPECT_TRUE(main->App.CommandLog.empty());
}

TEST_F(MainWindowFixture, SpaceSwitchesSidesOnlyWithTwoSides) {
    Press(Qt::Key_Space);
    Release(Qt::Key_Space);
    EXPECT_EQ(main->App.Game.CurSide, 0);  // no game
    main->App.Game.GameLoaded = true;
    main->App.Settings.bSingleWin = true;
    main->App.EnableGameCommands(true);
    Press(Qt::Key_Space);
    Release(Qt::Key_Space);
    EXPECT_EQ(main->App.Game.CurSide, 0);  // single-window mode
    EXPECT_FALSE(main->Actions[MI_GameWin2]->isEnabled());
    main->App.Settings.bSingleWin = false;
    main->App.EnableGameCommands(true);
    Press(Qt::Key_Space);
    Release(Qt::Key_Space);
    EXPECT_EQ(main->App.Game.CurSide, 1);
    EXPECT_TRUE(main->App.Wins.Wins[MW_SIDE1].Visible);
    EXPECT_FALSE(main->App.Wins.Wins[MW_SIDE0].Visible);
    EXPECT_TRUE(main->App.Toolbar().Buttons[BI_Win2].Down);
    EXPECT_TRUE(main->Actions[MI_GameWin2]->isChecked());
    EXPECT_FALSE(main->App.Game.Busy);
}

TEST_F(MainWindowFixture, ToolbarGapsFollowTheWidth) {
    main->resize(800, 600);
    QApplication::processEvents();
    EXPECT_EQ(Button(BI_Open)->x(), 4 + 29 + 12);
    EXPECT_EQ(Button(BI_Save)->x(), Button(BI_Open)->x() + 29 + 2);
    // From 801 the band's gaps are 24 and 8, but that row ends at 981: until
    // it fits, the buttons keep the tighter gaps rather than run off the edge.
    main->resize(801, 600);
    QApplication::processEvents();
    EXPECT_EQ(Button(BI_Open)->x(), 4 + 29 + 12);
    EXPECT_LE(Button(BI_Help)->geometry().right(), 800);
    main->resize(981, 600);
    QApplication::processEvents();
    EXPECT_EQ(Button(BI_Open)->x(), 4 + 29 + 24);
    EXPECT_EQ(Button(BI_Save)->x(), Button(BI_Open)->x() + 29 + 8);
    EXPECT_EQ(Button(BI_Help)->geometry().right(), 980);
    main->resize(1024, 600);
    QApplication::processEvents();
    EXPECT_EQ(Button(BI_Open)->x(), 4 + 29 + 24);
    // The field and both sides follow the window.
    EXPECT_EQ(main->App.Wins.Wins[MW_SIDE0].Outer.Width, 1024);
    EXPECT_EQ(main->App.Wins.Wins[MW_SIDE0].Outer.Height, 600 - 35);
}

TEST_F(MainWindowFixture, ToolButtonsRunTheirCommandsEvenWhenReleasedOutside) {
    ClickButton(BI_FullScreen);
    QApplication::processEvents();
    EXPECT_TRUE(main->App.IsFullScreen());
    // Pressed on Full Screen, released far away: still runs.
    QWidget* b = Button(BI_FullScreen);
    QTest::mouseMove(b, QPoint(5, 5));
    QTest::mousePress(b, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_EQ(b->pos(),
              QPoint(main->App.Toolbar().Buttons[BI_FullScreen].Left + 1, 3));  // shown pressed
    QTest::mouseRelease(b, Qt::LeftButton, Qt::NoModifier, QPoint(300, 200));
    EXPECT_FALSE(main->App.IsFullScreen());
    EXPECT_EQ(b->pos(), QPoint(main->App.Toolbar().Buttons[BI_FullScreen].Left, 2));
    // Disabled buttons never run; Help opens the contents page.
    main->App.CommandLog.clear();
    ClickButton(BI_Save);
    ClickButton(BI_Thumb);  // needs a game
    EXPECT_TRUE(main->App.CommandLog.empty());
    ClickButton(BI_Help);
    EXPECT_EQ(main->App.CommandLog, (std::vector<int>{MI_HelpCont}));
    EXPECT_EQ(fp.HelpPages, (std::vector<std::string>{"cont-zent.htm"}));
}

TEST_F(MainWindowFixture, FullScreenShowsMinAndCloseAndTheCornerCloses) {
    EXPECT_FALSE(Button(BI_Min)->isVisible());
    ClickButton(BI_FullScreen);
    QApplication::processEvents();
    EXPECT_TRUE(main->App.IsFullScreen());
    EXPECT_TRUE(main->Actions[MI_FullScreen]->isChecked());
    EXPECT_TRUE(main->App.Toolbar().Buttons[BI_FullScreen].Down);
    EXPECT_TRUE(Button(BI_Min)->isVisible());
    EXPECT_TRUE(Button(BI_Close)->isVisible());
    EXPECT_EQ(Button(BI_Close)->x(), main->width() - 30);
    int a = 0, b = 0;
    ToolbarGaps(main->width(), true, a, b);
    EXPECT_EQ(Button(BI_Min)->x(), main->width() - 30 - b - 25);
    // The screen's top-right corner closes the program, settings kept.
    QWidget* panel = main->P_Toolbar;
    const QPoint corner(panel->width() - 1, 0);
    QTest::mousePress(panel, Qt::LeftButton, Qt::NoModifier, corner);
    QTest::mouseRelease(panel, Qt::LeftButton, Qt::NoModifier, corner);
    QApplication::processEvents();
    EXPECT_FALSE(main->isVisible());
    EXPECT_TRUE(fs::exists(main->App.Paths.SettingsFile));
}

TEST_F(MainWindowFixture, LeavingFullScreenSizesTheClientToTheWorkArea) {
    main->move(100, 100);
    main->resize(700, 600);
    QApplication::processEvents();
    main->App.RunCommand(MI_FullScreen);
    QApplication::processEvents();
    main->App.RunCommand(MI_FullScreen);
    QApplication::processEvents();
    EXPECT_FALSE(main->App.IsFullScreen());
    // Work area 1280 x 760, frames 4, caption 23.
    EXPECT_EQ(main->width(), 1280 - 2 * 4);
    EXPECT_EQ(main->height(), 760 - 2 * 4 - 23);
    // Moved to 100, 100 before: the window comes back whole on the work area.
    EXPECT_EQ(main->geometry().x(), 4);
    EXPECT_LE(main->geometry().right() + 4, 1279);
    EXPECT_EQ(main->App.Wins.Wins[MW_SIDE0].Outer.Width, 1280 - 2 * 4);
}

TEST_F(MainWindowFixture, ProgressPanelBlocksCommandsAndKeys) {
    main->App.ShowProgress("Working", 4);
    EXPECT_TRUE(main->P_Progress->isVisible());
    EXPECT_EQ(main->P_Progress->x(), (main->P_Field->width() - main->P_Progress->width()) / 2);
    EXPECT_EQ(main->L_Progress->text().toStdString(), "Working");
    EXPECT_FALSE(main->Actions[MI_FullScreen]->isEnabled());
    EXPECT_FALSE(main->App.Toolbar().Buttons[BI_FullScreen].Enabled);
    const int g = main->I_ProgressBarEmpty->width();
    EXPECT_EQ(g, main->P_Progress->width() - 70);
    main->App.StepProgress();
    main->App.StepProgress();
    EXPECT_EQ(main->I_ProgressBar->width(), 2 * g / 4);
    Press(Qt::Key_U);
    Release(Qt::Key_U);
    EXPECT_FALSE(main->App.IsFullScreen());
    EXPECT_GT(fp.ProcessEventsCalls, 0);
    main->App.HideProgress();
    EXPECT_FALSE(main->P_Progress->isVisible());
    EXPECT_TRUE(main->Actions[MI_FullScreen]->isEnabled());
    EXPECT_TRUE(main->App.Toolbar().Buttons[BI_FullScreen].Enabled);
    EXPECT_TRUE(main->App.Toolbar().Buttons[BI_Open].Enabled);
    EXPECT_TRUE(main->App.Toolbar().Buttons[BI_Download].Enabled);  // back with the panel gone, like Open
}

TEST_F(MainWindowFixture, ClosingWritesTheSettingsOrStaysOpen) {
    main->App.Game.GameLoaded = true;
    main->App.Game.Modified = true;
    main->App.QuerySaveChanges = [] { return false; };
    EXPECT_FALSE(main->close());
    EXPECT_FALSE(main->App.Game.Busy);
    EXPECT_FALSE(fs::exists(main->App.Paths.SettingsFile));
    main->App.QuerySaveChanges = [] { return true; };
    main->App.Settings.iStuckKoef = 17;
    EXPECT_TRUE(main->close());
    ASSERT_TRUE(fs::exists(main->App.Paths.SettingsFile));
    TSettings written;
    TSettingsHooks quiet;
    TSettingsPaths where;
    where.UserDataDir = main->App.Paths.UserDataDir;
    LoadSettings(written, where, quiet);
    EXPECT_EQ(written.iStuckKoef, 17);
    EXPECT_TRUE(fp.Messages.empty());
}

TEST_F(MainWindowFixture, ASettingsFileThatCannotBeWrittenIsReportedAndTheWindowCloses) {
    // A folder where the file should be: it cannot be replaced.
    fs::create_directories(main->App.Paths.SettingsFile);
    EXPECT_TRUE(main->close());
    ASSERT_EQ(fp.Messages.size(), 1u);
    EXPECT_EQ(fp.Messages[0].Kind, MsgKind::Warning);
    EXPECT_NE(fp.Messages[0].Text.find("The settings could not be saved to \"" +
                                       main->App.Paths.SettingsFile),
              std::string::npos)
        << fp.Messages[0].Text;
}

TEST(QuickHelp, PlacedAtTheRightMiddle) {
    EXPECT_EQ(QuickHelpPlace(QRect(100, 50, 1000, 700), QSize(300, 401)),
              QPoint(100 + 1000 - 300 - 10, 50 + 149));
}

TEST(Splash, LabelsAndAboutBox) {
    TF_AboutOrvelZent splash(std::string(ORVEL_BUILD_DIR) + "/resources");
    EXPECT_EQ(splash.L_Version->text().toStdString(), "Version 1.45");
    EXPECT_EQ(splash.L_VersionShadow->text(), splash.L_Version->text());
    EXPECT_EQ(splash.L_Date->text().toStdString(), "December 30, 2024");
    EXPECT_EQ(splash.L_DateShadow->text(), splash.L_Date->text());
    EXPECT_EQ(splash.L_Product->palette().color(QPalette::WindowText), QColor(255, 82, 43));
    EXPECT_EQ(splash.L_Subtitle->palette().color(QPalette::WindowText), QColor(186, 82, 43));
    EXPECT_EQ(splash.size(), splash.I_Background->pixmap().size());
    EXPECT_EQ(splash.B_Frame->size(), splash.size());
    EXPECT_FALSE(splash.HasDialogBorder());
    splash.MakeAboutBox("About");
    EXPECT_TRUE(splash.HasDialogBorder());
    EXPECT_TRUE(splash.B_Frame->isHidden());
    splash.show();
    QTest::keyClick(&splash, Qt::Key_Escape);
    EXPECT_EQ(splash.result(), QDialog::Rejected);
}

}  // namespace
}  // namespace orvel

namespace orvel {
namespace {

// Renders the window with the progress panel half-way and the open menu into
// tests/ of the build folder (for looking at), and checks the bar's two parts differ.
TEST_F(MainWindowFixture, ProgressBarShowsItsFilledPart) {
    main->resize(1024, 640);
    QApplication::processEvents();
    main->App.ShowProgress("Opening the jigsaw...", 2);
    main->App.StepProgress();
    QApplication::processEvents();
    const QImage shot = main->grab().toImage();
    shot.save(QString(ORVEL_BUILD_DIR) + "/tests/forms-progress.png");
    const QPoint bar = main->I_ProgressBar->mapTo(main.get(), QPoint(0, 10));
    const int g = main->I_ProgressBarEmpty->width();
    const QColor filled = shot.pixelColor(bar + QPoint(g / 4, 0));
    const QColor empty = shot.pixelColor(bar + QPoint(3 * g / 4, 0));
    EXPECT_NE(filled, empty);
    EXPECT_GT(filled.red(), empty.red());
    main->App.HideProgress();
    main->PM_Menu->popup(QPoint(0, 0));
    QApplication::processEvents();
    main->PM_Menu->grab().toImage().save(QString(ORVEL_BUILD_DIR) + "/tests/forms-menu.png");
    EXPECT_EQ(main->PM_Menu->actions().size() > 8, true);
    main->PM_Menu->hide();
}

}  // namespace
}  // namespace orvel

namespace orvel {
namespace {

TEST_F(MainWindowFixture, ShutDownRemovesTheEntryScratchFile) {
    const std::string scratch = main->App.Paths.EntryScratchFile;
    ASSERT_FALSE(scratch.empty());
    { std::ofstream(scratch) << "x"; }
    ASSERT_TRUE(fs::exists(scratch));
    main.reset();
    EXPECT_FALSE(fs::exists(scratch));
}

}  // namespace
}  // namespace orvel

#include "platform/qt/QtPlatform.h"

namespace orvel {
namespace {

// With the desktop's text renderer: pockets and the thumbnail on the field get
// white caption text; the field picture is saved under tests/ for looking at.
TEST(MainWindowField, PocketsAndThumbnailWithRealCaptions) {
    QtPlatform qp;
    const fs::path tmp =
        fs::temp_directory_path() / ("orvel-forms-field-" + std::to_string(::getpid()));
    fs::create_directories(tmp / "docs");
    fs::create_directories(tmp / "data");
    TPlatformFolders f;
    f.ProgramDir = ORVEL_BUILD_DIR;
    f.DocumentsDir = (tmp / "docs").string();
    f.DataHomeDir = (tmp / "data").string();
    f.TempDir = tmp.string();
    {
        TF_Main main(qp, f);
        main.StartUp();
        main.resize(1000, 640);
        QApplication::processEvents();
        TPlayWindows& pw = main.App.Wins;
        for (int k = 0; k < 2; ++k) {
            TMyWin& p = pw.Wins[MW_POCKET0 + k];
            SetPosSize(p.Outer, 420 + 40 * k, 40 + 200 * k, 300, 220);
            p.ContentW = 700;
            p.ContentH = 500;
            Relayout(p);
            SetVisible(pw, p, true);
            BringToFront(pw, p);
        }
        TMyWin& t = pw.Wins[MW_THUMB];
        t.MaxClientW = 400;
        t.MaxClientH = 300;
        UpdateLimits(t);
        SetPosSize(t.Outer, 40, 40, 248, 206);
        SetClientSize(t, false, 0, 0);
        SetVisible(pw, t, true);
        main.App.RequestFullRedraw();
        main.App.FlushFieldUpdate();
        const QImage field = main.I_Field->Picture();
        field.copy(0, 0, Min(field.width(), 1000), Min(field.height(), 605))
            .save(QString(ORVEL_BUILD_DIR) + "/tests/forms-field.png");
        // The active pocket's caption holds near-white text pixels.
        const TMyWin& top = pw.Wins[MW_POCKET1];
        int white = 0;
        for (int x = top.CaptionArea.Left; x <= top.CaptionArea.Right; ++x)
            for (int y = top.CaptionArea.Top; y <= top.CaptionArea.Bottom; ++y)
                if (field.pixelColor(x, y).lightness() > 230) ++white;
        EXPECT_GT(white, 20);
        EXPECT_EQ(t.Client.Height, t.Client.Width * 300 / 400);
    }
    fs::remove_all(tmp);
}

}  // namespace
}  // namespace orvel

namespace orvel {
namespace {

TEST_F(MainWindowFixture, WheelClicksWithTheTurningBindings) {
    struct Click {
        int button;
        uint8_t shift;
        bool wheel;
        bool down;
    };
    std::vector<Click> clicks;
    main->App.PieceMouseDown = [&](int b, uint8_t s, int, int, bool w) {
        clicks.push_back({b, s, w, true});
    };
    main->App.PieceMouseUp = [&](int b, uint8_t s, int, int, bool w) {
        clicks.push_back({b, s, w, false});
    };
    const QPoint inField = main->I_Field->mapTo(main.get(), QPoint(50, 50));
    auto wheel = [&](int dy) {
        QWheelEvent ev(QPointF(inField), QPointF(main->mapToGlobal(inField)), QPoint(),
                       QPoint(0, dy), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(main.get(), &ev);
    };
    wheel(-120);
    EXPECT_TRUE(clicks.empty());  // no game
    main->App.Game.GameLoaded = true;
    main->App.Settings.RotCW_Button = 1;
    main->App.Settings.RotCW_Shift = 4;
    main->App.Settings.RotCCW_Button = 0;
    main->App.Settings.RotCCW_Shift = 1;
    wheel(-120);
    wheel(120);
    // Each turn is a press alone: a release would drop a group being dragged.
    ASSERT_EQ(clicks.size(), 2u);
    EXPECT_EQ(clicks[0].button, 1);
    EXPECT_EQ(clicks[0].shift, 4);
    EXPECT_TRUE(clicks[0].wheel && clicks[0].down);
    EXPECT_EQ(clicks[1].button, 0);
    EXPECT_EQ(clicks[1].shift, 1);
    EXPECT_TRUE(clicks[1].wheel && clicks[1].down);
    // Field presses reach the piece handling with button and shift set.
    clicks.clear();
    QTest::mousePress(main->I_Field, Qt::RightButton, Qt::ShiftModifier | Qt::ControlModifier,
                      QPoint(20, 30));
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0].button, 1);
    EXPECT_EQ(clicks[0].shift, kShiftBit | kCtrlBit);
    EXPECT_FALSE(clicks[0].wheel);
    // Nothing reaches it while the progress display is up.
    main->App.ShowProgress("x", 1);
    wheel(-120);
    QTest::mousePress(main->I_Field, Qt::LeftButton, Qt::NoModifier, QPoint(20, 30));
    EXPECT_EQ(clicks.size(), 1u);
    main->App.HideProgress();
}

}  // namespace
}  // namespace orvel

namespace orvel {
namespace {

// A program folder without resources or language files: the window still
// comes up and works, only without its skins.
TEST(MainWindowBare, StartsWithoutResources) {
    FakePlatform fp;
    const fs::path tmp =
        fs::temp_directory_path() / ("orvel-forms-bare-" + std::to_string(::getpid()));
    fs::create_directories(tmp / "program");
    fs::create_directories(tmp / "docs");
    fs::create_directories(tmp / "data");
    TPlatformFolders f;
    f.ProgramDir = (tmp / "program").string();
    f.DocumentsDir = (tmp / "docs").string();
    f.DataHomeDir = (tmp / "data").string();
    f.TempDir = tmp.string();
    {
        TF_Main main(fp, f);
        main.StartUp();
        QApplication::processEvents();
        EXPECT_EQ(main.App.Wins.WinSkin.Width, 0);
        EXPECT_EQ(main.App.ToolbarSkin.Width, 0);
        // Without language files the thumbnail keeps its designed caption.
        TMyWin probe;
        InitWindow(probe, 0, 0, 100, 100, TWinKind::Thumb);
        SetCaption(probe, "Thumbnail", fp);
        EXPECT_EQ(main.App.Wins.Wins[MW_THUMB].CaptionTextBox.Width, probe.CaptionTextBox.Width);
        EXPECT_GT(probe.CaptionTextBox.Width, 0);
        main.App.RunCommand(MI_FullScreen);
        main.App.RunCommand(MI_FullScreen);
        main.App.ShowProgress("x", 3);
        main.App.StepProgress();
        main.App.HideProgress();
        EXPECT_TRUE(main.close());
    }
    fs::remove_all(tmp);
}

}  // namespace
}  // namespace orvel

namespace orvel {
namespace {

// The Open button opens the chosen jigsaw: the recent item shows it, the
// autosave timer runs, the thumbnail shows the picture on the field.
TEST_F(MainWindowFixture, OpenButtonStartsAJigsaw) {
    const std::string path = main->App.Paths.JigsawsDir + "pattern.orv";
    TJigsawContent c;
    c.ImageW = 320;
    c.ImageH = 240;
    c.Thumb = test::JpegOf(test::PatternPicture(40, 30));
    c.Descriptions = {"A pattern"};
    c.Pictures = {test::JpegOf(test::PatternPicture(320, 240))};
    ASSERT_TRUE(WriteJigsaw(path, c).Ok());
    main->App.Settings.Level = 12;
    // The browser comes up: the jigsaw is picked, Enter leads to the level
    // page and Enter opens it; a browser still open after that is closed.
    QTimer::singleShot(100, [&] {
        TF_DirView& dv = *main->F_DirView;
        const QList<QListWidgetItem*> items = dv.LV_Jigs->findItems("pattern", Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1);
        dv.LV_Jigs->setCurrentItem(items[0]);
        QTest::keyClick(dv.LV_Jigs, Qt::Key_Return);
        QTest::keyClick(&dv, Qt::Key_Return);
    });
    QTimer::singleShot(5000, [&] {
        if (main->F_DirView && main->F_DirView->isVisible()) main->F_DirView->reject();
    });
    ClickButton(BI_Open);
    QApplication::processEvents();
    ASSERT_TRUE(main->App.Game.GameLoaded);
    EXPECT_TRUE(fp.Messages.empty());
    EXPECT_FALSE(main->P_Progress->isVisible());
    EXPECT_TRUE(main->T_AutoSave->isActive());
    EXPECT_TRUE(main->Actions[MI_Game]->isEnabled());
    EXPECT_TRUE(main->Actions[MI_FileSave]->isEnabled());  // a game can be saved
    EXPECT_TRUE(main->Actions[MI_FileLast0]->isVisible());
    EXPECT_TRUE(main->Actions[MI_FileLast0]->isEnabled());
    EXPECT_EQ(main->Actions[MI_FileLast0]->text().toStdString(), "&1. pattern.orv");
    ClickButton(BI_Thumb);
    QApplication::processEvents();
    const TMyWin& thumb = main->App.Wins.Wins[MW_THUMB];
    ASSERT_TRUE(thumb.Visible);
    const QImage field = main->I_Field->Picture();
    const TMyBitmap& pic = main->App.GameView.ThumbBuffer;
    const TColor px = static_cast<TColor>(GetPixel(pic, 10, 10));
    EXPECT_EQ(field.pixelColor(thumb.Client.Left + 10, thumb.Client.Top + 10),
              QColor(ColorR(px), ColorG(px), ColorB(px)));
}

}  // namespace
}  // namespace orvel
