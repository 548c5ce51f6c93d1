// The download window over the core downloader, offscreen: what it shows
// of the list and the state, and that Exit ends the showing.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QGroupBox>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "download/forms/DownloadForm.h"
#include "graphics/ImageCodecs.h"
#include "lang/Lang.h"
#include "platform/FakePlatform.h"
#include "settings/Settings.h"

namespace orvel {
namespace {

namespace fs = std::filesystem;

void Write(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

TEST(DownloadFormTest, TheWindowShowsTheListAndStateAndClosesOnExit) {
    const fs::path dir = fs::temp_directory_path() / ("orvel-dlform-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    TMyBitmap pic;
    std::vector<uint8_t> jpeg;
    ASSERT_TRUE(Create24(pic, 240, 180) && SaveJpeg(pic, jpeg, 80).Ok());
    Write(dir / "thumb/jiglist.txt", "Lake\nmeadow\n");
    Write(dir / "thumb/lake.jpg", std::string(jpeg.begin(), jpeg.end()));
    Write(dir / "Jigsaws/meadow.orv", "x");
    Write(dir / "data/_jigsaws.txt", "scratch");
    fs::create_directories(dir / "tmp");

    FakePlatform fp;
    TLanguage lang(&fp, "");
    std::stringstream english;
    english << std::ifstream(ORVEL_SOURCE_DIR "/data/language/english.lng").rdbuf();
    lang.LoadFromBytes(english.str());
    TSettings settings;
    settings.ThumbPath = (dir / "thumb").string() + "/";
    TDownloader down(fp, lang, settings,
                     {(dir / "Jigsaws").string() + "/", (dir / "tmp").string() + "/",
                      (dir / "data").string() + "/"});
    TF_Download form(down, lang, fp);

    bool checked = false;
    QTimer::singleShot(0, &form, [&] {
        EXPECT_EQ(form.windowTitle(), "Download Jigsaws");
        ASSERT_EQ(form.LV_Downs->count(), 2);
        EXPECT_EQ(form.LV_Downs->item(0)->text(), "lake");
        EXPECT_EQ(form.LV_Downs->currentRow(), 0);
        EXPECT_EQ(form.CB_DownMode->currentIndex(), DownMode_New);
        EXPECT_EQ(form.CB_DownMode->currentText(), "New Jigsaws");
        EXPECT_TRUE(form.B_Download->isEnabled());
        EXPECT_FALSE(form.B_Stop->isEnabled());
        EXPECT_FALSE(form.PB_DownProgress->isVisible());
        EXPECT_TRUE(form.GB_DownThumb->isVisible());
        EXPECT_EQ(form.GB_DownThumb->title(), "lake");
        EXPECT_EQ(down.Items()[1].State, 1);

        form.LV_Downs->setCurrentRow(1);  // no preview: the preview box hides
        EXPECT_EQ(down.Selected(), 1);
        EXPECT_FALSE(form.GB_DownThumb->isVisible());
        form.CB_DownMode->setCurrentIndex(DownMode_All);
        emit form.CB_DownMode->activated(DownMode_All);
        EXPECT_EQ(down.Mode(), DownMode_All);
        checked = true;
        QTest::mouseClick(form.B_Ok, Qt::LeftButton);
    });
    form.Run();

    EXPECT_TRUE(checked);
    EXPECT_TRUE(down.Closing());
    EXPECT_FALSE(fs::exists(dir / "data/_jigsaws.txt"));
    EXPECT_TRUE(fp.Messages.empty());
    fs::remove_all(dir);
}

}  // namespace
}  // namespace orvel
