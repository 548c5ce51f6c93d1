// The game-information and finish forms show what the core filled in, and
// the solved picture's caption strips carry real text when the desktop
// renders it.
#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QTest>
#include <QTimer>

#include "app/forms/InfoForms.h"
#include "platform/qt/QtPlatform.h"
#include "play/PieceTestUtil.h"
#include "play/SolvedImage.h"

namespace orvel {
namespace {

TInfoForm SampleInfo(bool rotate, bool savedGame) {
    TInfoForm f;
    f.Caption = "Game Information";
    f.OkText = "OK";
    f.PieceNum = "Pieces: 48";
    f.SolvedPercent = "Solved: 25%";
    f.UnsolvedNum = "Groups left to join: 30";
    f.Rotation = "Rotation";
    f.RotationEnabled = rotate;
    f.Shapes = "Classic";
    f.Borders = "No border";
    f.JigCap = "Jigsaw:";
    f.Jig = savedGame ? "evening.sv1" : "harbour";
    f.Jig1 = savedGame ? "(harbour)" : "";
    f.Jig1Visible = savedGame;
    f.Description = "Harbour at dawn";
    return f;
}

TEST(InfoForms, TheInformationFormShowsTheTextsAndGreysWhatTheGameLacks) {
    for (bool rotate : {true, false}) {
        TF_Info form(SampleInfo(rotate, !rotate));
        EXPECT_EQ(form.windowTitle(), "Game Information");
        EXPECT_EQ(form.L_PieceNum->text(), "Pieces: 48");
        EXPECT_EQ(form.l_UnsolvedNum->text(), "Groups left to join: 30");
        EXPECT_EQ(form.L_Rotation->text(), "Rotation");
        EXPECT_EQ(form.L_Rotation->isEnabled(), rotate);
        EXPECT_FALSE(form.L_Borders->isEnabled());
        EXPECT_EQ(form.L_Jig1->isHidden(), rotate);
        EXPECT_EQ(form.M_Info->toPlainText(), "Harbour at dawn");
        EXPECT_TRUE(form.B_Ok->isDefault());
    }
    // Enter in the description closes with OK, Escape with Cancel.
    for (auto [key, result] : {std::pair{Qt::Key_Return, QDialog::Accepted},
                               std::pair{Qt::Key_Escape, QDialog::Rejected}}) {
        TF_Info form(SampleInfo(true, false));
        QTimer::singleShot(0, form.M_Info, [&form, key = key] {
            QTest::keyClick(form.M_Info, key);
        });
        EXPECT_EQ(form.exec(), result);
    }
}

TEST(InfoForms, TheFinishFormSavesWithItsDefaultButtonOnly) {
    TFinishForm texts{"Puzzle Solved", "Congratulations!", "You've solved the puzzle.",
                      "Would you like to save it as a Bitmap file?", "Save", "Cancel"};
    for (bool save : {true, false}) {
        TF_Finish form(texts);
        EXPECT_EQ(form.windowTitle(), "Puzzle Solved");
        EXPECT_EQ(form.L_Congratulations->text(), "Congratulations!");
        EXPECT_EQ(form.L_AskForSave->text(), "Would you like to save it as a Bitmap file?");
        EXPECT_TRUE(form.B_Save->isDefault());
        EXPECT_FALSE(form.B_Cancel->isDefault());
        QPushButton* button = save ? form.B_Save : form.B_Cancel;
        QTimer::singleShot(0, button, [button] { button->click(); });
        EXPECT_EQ(form.exec(), save ? QDialog::Accepted : QDialog::Rejected);
    }
}

// Dark pixels in a strip row band: where the text went.
int InkIn(const TMyBitmap& out, int left, int right, int top, int bottom, TColor* sample) {
    int ink = 0;
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x) {
            const TColor c = static_cast<TColor>(GetPixel(out, x, y));
            if (ColorR(c) + ColorG(c) + ColorB(c) < 3 * 160) {
                ++ink;
                if (sample != nullptr && ColorB(c) > 200 && ColorR(c) < 60) *sample = c;
            }
        }
    return ink;
}

TEST(InfoForms, TheSolvedPictureCarriesRenderedCaptions) {
    QtPlatform platform;
    TGame game;
    testing::MakeGridGame(game, 8, 6, 50, false, true);
    for (int i = 1; i < PiecesInPlay(game); ++i) {
        testing::PlaceBeside(game, i, 0, 0, 0);
        game.Pieces[i].group = 0;
    }
    TMyBitmap out;
    ASSERT_TRUE(BuildSolvedImage(out, game, TPieceLook{}, "Harbour at dawn", "12/8/26", platform));
    ASSERT_EQ(out.Width, 402);
    ASSERT_EQ(out.Height, 352);
    // Text in the description strip near its left end, not past its middle.
    EXPECT_GT(InkIn(out, 10, 120, 302, 325, nullptr), 40);
    EXPECT_EQ(InkIn(out, 250, 400, 302, 325, nullptr), 0);
    // The second strip: the count and the rotation note (in blue), the date at the right end.
    TColor blue = 0;
    EXPECT_GT(InkIn(out, 10, 300, 327, 350, &blue), 100);
    EXPECT_NE(blue, 0u) << "no blue rotation note";
    EXPECT_GT(InkIn(out, 340, 391, 327, 350, nullptr), 20);
    EXPECT_EQ(InkIn(out, 393, 400, 327, 350, nullptr), 0);
}

}  // namespace
}  // namespace orvel
