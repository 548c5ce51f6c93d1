// The browser's window offscreen: it shows the core's lists and answers the
// keys and clicks the player uses; and with 500 jigsaws, how long until the
// list first paints and until every thumbnail is in (printed, not judged).
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <filesystem>

#include "game/JigsawFile.h"
#include "game/JigsawTestUtil.h"
#include "library/forms/DirViewForm.h"
#include "platform/FakePlatform.h"
#include "settings/TempDir.h"

namespace orvel {
namespace {

namespace fs = std::filesystem;

struct DirViewFormTest : ::testing::Test {
    FakePlatform fp;
    TLanguage lang{&fp, ""};
    fs::path tmp;
    TDirFolders folders;
    std::unique_ptr<TDirView> core;
    std::unique_ptr<TF_DirView> form;

    void SetUp() override {
        lang.LoadFromBytes(test::ReadFile(std::string(ORVEL_BUILD_DIR) + "/language/english.lng"));
        tmp = fs::temp_directory_path() /
              ("orvel-dirview-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(tmp);
        fs::create_directories(tmp / "jigs");
        fs::create_directories(tmp / "saves");
        folders.JigsawsDir = (tmp / "jigs").string() + "/";
        folders.SavedGamesDir = (tmp / "saves").string() + "/";
    }
    void TearDown() override {
        form.reset();
        fs::remove_all(tmp);
    }
    void Make() {
        core = std::make_unique<TDirView>(fp, lang, folders);
        core->FitAvailW = 1200;
        core->FitAvailH = 700;
        core->Defaults.ShapeStyle = 0;
        form = std::make_unique<TF_DirView>(*core, lang, std::string(ORVEL_BUILD_DIR) + "/resources");
    }
    void Jigsaw(const std::string& name) {
        TJigsawContent c;
        c.ImageW = 320;
        c.ImageH = 240;
        c.Label = "p";
        c.Thumb = test::JpegOf(test::PatternPicture(40, 30));
        c.Descriptions = {"d"};
        c.Pictures = {test::BitmapOf(test::PatternPicture(320, 240))};
        ASSERT_TRUE(WriteJigsaw(folders.JigsawsDir + name, c).Ok());
    }
    // Runs steps one after another while the dialog is open.
    static void While(std::vector<std::function<void()>> steps) {
        auto queue = std::make_shared<std::vector<std::function<void()>>>(std::move(steps));
        // The step runner holds itself only weakly; the pending timer keeps
        // it alive, so nothing is left behind once the last step has run.
        auto next = std::make_shared<std::function<void(size_t)>>();
        std::weak_ptr<std::function<void(size_t)>> weak = next;
        *next = [queue, weak](size_t i) {
            if (i >= queue->size()) return;
            QTimer::singleShot(50, [queue, self = weak.lock(), i] {
                (*queue)[i]();
                (*self)(i + 1);
            });
        };
        (*next)(0);
    }
};

TEST_F(DirViewFormTest, KeysLeadFromTheListToTheLevelPageAndOpen) {
    Jigsaw("one.orv");
    Jigsaw("two.orv");
    test::WriteFile(folders.JigsawsDir + "zbroken.orv", "not a jigsaw");
    Make();
    While({[&] {
               EXPECT_EQ(form->LV_Jigs->count(), 3);
               EXPECT_EQ(form->LV_Jigs->currentRow(), 0);
               EXPECT_EQ(form->B_Ok->text(), "Next >");
               EXPECT_TRUE(form->B_Help->isEnabled());
               EXPECT_FALSE(form->B_Extra->isEnabled());
               // The broken one: invalid, OK off.
               QTest::keyClick(form->LV_Jigs, Qt::Key_End);
           },
           [&] {
               EXPECT_EQ(form->L_Comment->text(), "Invalid Jigsaw");
               EXPECT_FALSE(form->B_Ok->isEnabled());
               QTest::keyClick(form->LV_Jigs, Qt::Key_Home);
           },
           [&] {
               EXPECT_TRUE(form->B_Ok->isEnabled());
               QTest::keyClick(form->LV_Jigs, Qt::Key_Return);
           },
           [&] {
               EXPECT_EQ(form->PC_Tabs->currentIndex(), 2);
               EXPECT_EQ(form->B_Ok->text(), "Open");
               // Ctrl and a click on the button bar show the seed field.
               QTest::mouseClick(form->P_ButBar, Qt::LeftButton, Qt::ControlModifier, QPoint(5, 5));
               EXPECT_TRUE(form->P_Seed->isVisible());
               QTest::keyClick(form->SB_PieceSize, Qt::Key_End);
           },
           [&] {
               EXPECT_EQ(core->Shown().Level, kLevelCount - 1);
               EXPECT_EQ(form->L_PieceNum->text().toStdString(), core->PieceText);
               QTest::keyClick(form->SB_PieceSize, Qt::Key_Return);
           }});
    EXPECT_EQ(form->Run(), DirResult::Ok);
    EXPECT_EQ(core->SelectedPath, folders.JigsawsDir + "one.orv");
    EXPECT_TRUE(core->SeedShown);

    // Escape cancels.
    While({[&] { QTest::keyClick(form.get(), Qt::Key_Escape); }});
    EXPECT_EQ(form->Run(), DirResult::Cancel);
}

TEST_F(DirViewFormTest, FiveHundredJigsawsPaintAtOnceAndFillInTicks) {
    const fs::path samples = fs::path(ORVEL_BUILD_DIR) / "jigsaws";
    std::vector<fs::path> files;
    if (fs::exists(samples))
        for (const auto& e : fs::directory_iterator(samples))
            if (e.path().extension() == ".orv") files.push_back(e.path());
    if (files.empty()) GTEST_SKIP() << "no sample jigsaws in the build";
    for (int i = 0; i < 500; ++i)
        fs::create_symlink(files[i % files.size()],
                           fs::path(folders.JigsawsDir) / ("j" + std::to_string(1000 + i) + ".orv"));
    Make();
    QElapsedTimer clock;
    qint64 firstPaint = -1, filled = -1;
    struct PaintWatch : QObject {
        std::function<void()> Painted;
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::Paint && Painted) Painted();
            return false;
        }
    } watch;
    watch.Painted = [&] {
        if (firstPaint < 0) firstPaint = clock.elapsed();
    };
    form->LV_Jigs->viewport()->installEventFilter(&watch);
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (firstPaint >= 0 && !core->TimerOn() && filled < 0) {
            filled = clock.elapsed();
            form->reject();
        }
    });
    poll.start(5);
    clock.start();
    form->Run();
    EXPECT_EQ(form->LV_Jigs->count(), 500);
    EXPECT_GE(firstPaint, 0);
    EXPECT_FALSE(core->TimerOn());
    std::printf("browser with 500 jigsaws: first list paint after %lld ms, all thumbnails after %lld ms\n",
                static_cast<long long>(firstPaint), static_cast<long long>(filled));
}

}  // namespace
}  // namespace orvel
