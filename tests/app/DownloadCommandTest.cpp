// The download command end to end: the menu item shows the download window,
// a jigsaw comes from a real web server, and the first new jigsaw is offered
// and opened.
#include <gtest/gtest.h>

#include "app/AppTestUtil.h"
#include "download/DownloadTestUtil.h"
#include "game/JigsawFile.h"
#include "game/JigsawTestUtil.h"

namespace orvel {
namespace {

// The player's part in the window: pick the named jigsaw, download it, exit.
struct TDownloadingWindow : test::TFakeWindow {
    std::string Pick;
    int Shown = 0;
    void ShowDownload(TDownloader& down) override {
        ++Shown;
        down.Show();
        down.SetMode(DownMode_Selected);
        for (size_t i = 0; i < down.Items().size(); ++i)
            if (down.Items()[i].Name == Pick) down.SelectItem(static_cast<int>(i));
        down.DownloadClick();
        down.Close();
    }
};

class DownloadCommandTest : public test::OrvelAppTest {
protected:
    void SetUp() override {
        test::OrvelAppTest::SetUp();
        if (!test::HaveProgram("python3")) GTEST_SKIP() << "python3 is missing";
        ASSERT_TRUE(m_server.Start(m_site.Sub("root"), m_site.Sub("work")));
        Start();
        app->AttachView(&m_window);
        m_window.App = app.get();
        m_window.Bounds = window.Bounds;
        app->Settings.sDnSrc = m_server.Host();
        app->Settings.SiteJigsawsDir = "packs/";
        app->Settings.ThumbPath = m_site.Sub("thumb");
        test::WriteText(app->Settings.ThumbPath + "jiglist.txt", "Pattern\n");
        test::WriteText(m_site.Path() + "/root/packs/info.dat", "ext: zip\n");
        PublishPattern();
    }

    void PublishPattern() {
        TJigsawContent c;
        c.ImageW = 320;
        c.ImageH = 240;
        c.Label = "pattern";
        c.Thumb = test::JpegOf(test::PatternPicture(40, 30));
        c.Descriptions = {"A pattern"};
        c.Pictures = {test::BitmapOf(test::PatternPicture(320, 240))};
        const std::string made = m_site.Sub("made") + "pattern.orv";
        ASSERT_TRUE(WriteJigsaw(made, c).Ok());
        test::WriteZip(m_site.Path() + "/root/packs/pattern.zip", {{"pattern.orv", test::ReadText(made)}});
    }

    test::TScratchDir m_site;
    test::TTestServer m_server;
    TDownloadingWindow m_window;
};

TEST_F(DownloadCommandTest, TheFirstNewJigsawIsOfferedAndOpens) {
    m_window.Pick = "pattern";
    const std::string jigsaw = app->Paths.JigsawsDir + "pattern.orv";
    fp.QueueAnswer(MsgResult::Yes);  // Q_OpenFirstJigsaw
    fp.QueueFileChoice(jigsaw);      // the chooser opens with it selected
    app->RunCommand(MI_FileDownload);

    EXPECT_EQ(m_window.Shown, 1);
    ASSERT_EQ(fp.Messages.size(), 1u);
    EXPECT_EQ(fp.Messages[0].Text, app->Lang->LookUpMessage(LangSection::Download, "Q_OpenFirstJigsaw"));
    EXPECT_EQ(fp.Messages[0].Kind, MsgKind::YesNo);
    ASSERT_EQ(fp.FileChoices.size(), 1u);
    EXPECT_EQ(fp.FileChoices[0].Start, jigsaw);
    EXPECT_TRUE(app->Game.GameLoaded);
    EXPECT_EQ(app->Game.Header.ImageW, 320);
}

TEST_F(DownloadCommandTest, NoOfferWhenDeclinedOrWhenNothingCame) {
    m_window.Pick = "pattern";
    fp.QueueAnswer(MsgResult::No);
    app->RunCommand(MI_FileDownload);
    EXPECT_TRUE(std::filesystem::exists(app->Paths.JigsawsDir + "pattern.orv"));
    EXPECT_EQ(fp.Messages.size(), 1u);
    EXPECT_TRUE(fp.FileChoices.empty());
    EXPECT_FALSE(app->Game.GameLoaded);

    // The browser's call: the second showing starts afresh, and Cancel on
    // replacing the jigsaw leaves nothing to offer.
    fp.Messages.clear();
    fp.QueueAnswer(MsgResult::Cancel);
    EXPECT_EQ(app->ShowDownloadWindow(), "");
    ASSERT_EQ(fp.Messages.size(), 1u);
    EXPECT_EQ(fp.Messages[0].Kind, MsgKind::OkCancel);
}

}  // namespace
}  // namespace orvel
