// The browser without its window: listing, thumbnails, the level page's
// count and OK state, OK in both modes, deleting, and broken files.
#include <gtest/gtest.h>

#include <filesystem>

#include "game/JigsawFile.h"
#include "game/JigsawTestUtil.h"
#include "graphics/ImageCodecs.h"
#include "library/DirListing.h"
#include "library/DirView.h"
#include "platform/FakePlatform.h"
#include "settings/TempDir.h"

namespace orvel {
namespace {

namespace fs = std::filesystem;

// A clock that moves by StepMs at every reading.
class TickingPlatform : public FakePlatform {
public:
    uint64_t StepMs = 0;
    uint64_t TickMs() override { return Ticks += StepMs; }
};

class DirViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        lang.LoadFromBytes(test::ReadFile(std::string(ORVEL_BUILD_DIR) + "/language/english.lng"));
        folders.JigsawsDir = dir.File("jigs") + "/";
        folders.SavedGamesDir = dir.File("saves") + "/";
        folders.ThumbDir = dir.File("thumb") + "/";
        folders.DistList = {"Sample.orv"};
        for (const std::string& d : {folders.JigsawsDir, folders.SavedGamesDir, folders.ThumbDir})
            fs::create_directories(d);
        view = std::make_unique<TDirView>(fp, lang, folders);
        view->FitAvailW = 1000;
        view->FitAvailH = 700;
        view->Defaults.Level = 13;
        view->Defaults.ShapeStyle = 0;
    }

    std::string Jigsaw(const std::string& name, int w = 400, int h = 300) {
        TJigsawContent c;
        c.ImageW = w;
        c.ImageH = h;
        c.Label = "t";
        c.Thumb = test::JpegOf(test::PatternPicture(40, 30));
        c.Descriptions = {"d"};
        c.Pictures = {test::BitmapOf(test::PatternPicture(w, h))};
        const std::string path = folders.JigsawsDir + name;
        EXPECT_TRUE(WriteJigsaw(path, c).Ok());
        return path;
    }
    void Touch(const std::string& path) { test::WriteFile(path, "not a game"); }
    std::vector<std::string> Captions(DirTab list) const {
        std::vector<std::string> out;
        for (const TDirItem& item : view->Items(list)) out.push_back(item.Caption);
        return out;
    }

    test::TempDir dir;
    TickingPlatform fp;
    TLanguage lang{&fp, ""};
    TDirFolders folders;
    std::unique_ptr<TDirView> view;
};

TEST_F(DirViewTest, FoldersListTheWantedExtensionsSortedWithoutCase) {
    Jigsaw("beta.orv");
    Jigsaw("Alpha.ORV");
    Touch(folders.JigsawsDir + "noext");
    Touch(folders.JigsawsDir + "notes.txt");
    Touch(folders.SavedGamesDir + "old.sv");
    Touch(folders.SavedGamesDir + "game.sv1");
    Touch(folders.SavedGamesDir + "game.sv2");
    fs::create_directories(folders.SavedGamesDir + "folder.sv1");
    view->Show();
    EXPECT_EQ(Captions(DirTab::Jigs), (std::vector<std::string>{"Alpha", "beta"}));
    EXPECT_EQ(Captions(DirTab::Games), (std::vector<std::string>{"game", "old"}));
    // The first jigsaw is selected; OK first leads on to the level page.
    EXPECT_EQ(view->Selected(DirTab::Jigs), 0);
    EXPECT_EQ(view->FileName, "Alpha.ORV");
    EXPECT_EQ(view->OkCaption, "Next >");
    EXPECT_EQ(view->Ok(), DirResult::Stay);
    EXPECT_EQ(view->Tab(), DirTab::Level);
    EXPECT_EQ(view->Ok(), DirResult::Ok);
    EXPECT_EQ(view->SelectedPath, folders.JigsawsDir + "Alpha.ORV");
}

TEST_F(DirViewTest, SaveNamesKeepTheirLastPartAndRefuseSlashAndQuestionMark) {
    std::string name;
    EXPECT_EQ(ReduceSaveName("C:\\games\\evening.sv1", name), SaveNameCheck::Ok);
    EXPECT_EQ(name, "evening");
    EXPECT_EQ(ReduceSaveName("d:morning", name), SaveNameCheck::Ok);
    EXPECT_EQ(name, "morning");
    EXPECT_EQ(ReduceSaveName("a/b", name), SaveNameCheck::Invalid);
    EXPECT_EQ(ReduceSaveName("why?", name), SaveNameCheck::Invalid);
    EXPECT_EQ(ReduceSaveName("folder\\", name), SaveNameCheck::Empty);
    EXPECT_EQ(ReduceSaveName("  ", name), SaveNameCheck::Empty);

    view->Mode = DirMode::Save;
    view->SaveName = "first.orv";
    view->Show();
    EXPECT_FALSE(view->TabVisible(DirTab::Jigs));
    EXPECT_EQ(view->FileName, "first");
    EXPECT_EQ(view->Caption, "Save the Game");
    view->FileName = "x/y";
    EXPECT_EQ(view->Ok(), DirResult::Stay);
    view->FileName = "";
    EXPECT_EQ(view->Ok(), DirResult::Stay);  // nothing typed: nothing happens
    ASSERT_EQ(fp.Messages.size(), 1u);
    EXPECT_EQ(fp.Messages[0].Kind, MsgKind::Warning);
    EXPECT_NE(fp.Messages[0].Text.find("must not contain"), std::string::npos);

    view->FileName = "C:\\else\\kept";
    EXPECT_EQ(view->Ok(), DirResult::Ok);
    EXPECT_EQ(view->SelectedPath, folders.SavedGamesDir + "kept.sv1");

    // An existing name asks; Cancel keeps the dialog open.
    Touch(folders.SavedGamesDir + "kept.sv1");
    fp.QueueAnswer(MsgResult::Cancel);
    EXPECT_EQ(view->Ok(), DirResult::Stay);
    EXPECT_EQ(fp.Messages.back().Kind, MsgKind::OkCancel);
    EXPECT_EQ(fp.Messages.back().Text, "\"kept\" already exists.\nDo you want to replace it?");
    EXPECT_EQ(view->Ok(), DirResult::Ok);
    // Picking a listed game to replace, though it cannot be read, leaves OK on.
    view->Relist();
    view->SelectItem(DirTab::Games, 0);
    EXPECT_EQ(view->FileName, "kept.sv1");
    EXPECT_TRUE(view->OkEnabled);
    EXPECT_EQ(view->OkCaption, "Save");
    EXPECT_EQ(view->Ok(), DirResult::Ok);
    EXPECT_EQ(view->SelectedPath, folders.SavedGamesDir + "kept.sv1");
}

TEST_F(DirViewTest, TheLevelPageCountsWithTheLevelTable) {
    Jigsaw("wide.orv", 400, 300);
    view->Defaults.FitToScreen = false;
    view->Show();
    view->SetTab(DirTab::Level);
    ASSERT_EQ(view->Kind(), SelectionKind::Jigsaw);
    EXPECT_TRUE(view->LevelControlsEnabled);
    view->SetLevel(0);
    // Level 0 of a 400 x 300 picture: TileS 20, 20 x 15 pieces.
    EXPECT_EQ(view->Header().TileS, 20);
    EXPECT_EQ(view->PieceCount, 300);
    EXPECT_EQ(view->PieceText, "Number of pieces: 300");
    EXPECT_EQ(view->Header().SnapBase, std::max(view->Header().KnobDepth / 2, 4));
    EXPECT_TRUE(view->OkEnabled);
    // A border takes 40 pixels off each way; the choice becomes the default.
    view->ChooseBorder(1);
    EXPECT_EQ(view->PieceCount, (360 / 20) * (260 / 20));
    EXPECT_EQ(view->Defaults.BorderStyle, 1);
    EXPECT_EQ(view->BorderLabel(), "With a border frame");
    // Fitting a picture larger than the room shrinks it and its count.
    Jigsaw("huge.orv", 3000, 2000);
    view->Relist();
    view->SelectItem(DirTab::Jigs, 0);
    ASSERT_EQ(view->FileName, "huge.orv");
    const int unfitted = view->PieceCount;
    view->ToggleFitToScreen();
    EXPECT_EQ(view->Header().FitW, 1000);
    EXPECT_EQ(view->Header().FitH, 666);
    EXPECT_LT(view->PieceCount, unfitted);
    EXPECT_TRUE(view->Defaults.FitToScreen);
    // Rotation and mix change the header, not the count.
    const int count = view->PieceCount;
    view->ToggleRotation();
    view->ChooseMix(1);
    EXPECT_EQ(view->Header().Rotate, 1);
    EXPECT_EQ(view->Header().SpreadOut, 1);
    EXPECT_EQ(view->PieceCount, count);
    EXPECT_EQ(view->RotationLabel(), "Rotation on");
}

TEST_F(DirViewTest, ABrokenJigsawShowsAsInvalidAndDoesNotOpen) {
    Touch(folders.JigsawsDir + "broken.orv");
    view->Show();
    EXPECT_EQ(view->Kind(), SelectionKind::None);
    EXPECT_EQ(view->Comment, "Invalid Jigsaw");
    EXPECT_FALSE(view->OkEnabled);
    EXPECT_FALSE(view->LevelControlsEnabled);
    EXPECT_FALSE(view->PreviewShown);
    EXPECT_EQ(view->ThumbCaption, "broken");
    EXPECT_EQ(view->Ok(), DirResult::Stay);  // on to the level page
    EXPECT_EQ(view->Ok(), DirResult::Stay);  // and no further
    EXPECT_TRUE(view->SelectedPath.empty());
    // Its thumbnail stays the placeholder.
    while (view->TimerOn()) view->FillTick();
    EXPECT_EQ(view->Items(DirTab::Jigs)[0].Thumb, 0);
    // A saved game that cannot be read is listed and refused the same way.
    Touch(folders.SavedGamesDir + "game.sv1");
    view->Relist();
    view->SetTab(DirTab::Games);
    view->SelectItem(DirTab::Games, 0);
    EXPECT_EQ(view->OkCaption, "Open");
    EXPECT_EQ(view->Comment, "Invalid Jigsaw");
    EXPECT_EQ(view->Ok(), DirResult::Stay);
    // A file gone since it was listed is reported.
    Jigsaw("gone.orv");
    view->Relist();
    view->SelectItem(DirTab::Jigs, 1);
    fs::remove(folders.JigsawsDir + "gone.orv");
    view->SetTab(DirTab::Level);
    EXPECT_EQ(view->Ok(), DirResult::Stay);
    EXPECT_EQ(fp.Messages.back().Text, "The file \"gone.orv\" cannot be found.");
}

TEST_F(DirViewTest, DeletingSelectsTheNeighbourAndKeepsShippedJigsaws) {
    Jigsaw("a.orv");
    Jigsaw("b.orv");
    Jigsaw("sample.orv");
    view->Show();
    // A jigsaw the program comes with is refused, whatever its case.
    view->SelectItem(DirTab::Jigs, 2);
    view->Delete(DirTab::Jigs);
    EXPECT_TRUE(fs::exists(folders.JigsawsDir + "sample.orv"));
    EXPECT_EQ(fp.Messages.back().Text, "The file \"sample.orv\" cannot be deleted.");
    // Cancel keeps the file.
    view->SelectItem(DirTab::Jigs, 1);
    fp.QueueAnswer(MsgResult::Cancel);
    view->Delete(DirTab::Jigs);
    EXPECT_TRUE(fs::exists(folders.JigsawsDir + "b.orv"));
    // Deleting the middle item selects the one that moved into its place.
    view->Delete(DirTab::Jigs);
    EXPECT_FALSE(fs::exists(folders.JigsawsDir + "b.orv"));
    EXPECT_EQ(Captions(DirTab::Jigs), (std::vector<std::string>{"a", "sample"}));
    EXPECT_EQ(view->FileName, "sample.orv");
    // Delete all leaves the shipped one.
    view->DeleteAll(DirTab::Jigs);
    EXPECT_EQ(Captions(DirTab::Jigs), (std::vector<std::string>{"sample"}));
    EXPECT_EQ(fp.Messages.back().Kind, MsgKind::YesNo);

    // Saved games: the last item's deletion selects the new last one, the
    // only item's deletion empties the name; the caller hears of each.
    Touch(folders.SavedGamesDir + "x.sv1");
    Touch(folders.SavedGamesDir + "y.sv1");
    std::vector<std::string> deleted;
    view->SavedGameDeleted = [&](const std::string& p) { deleted.push_back(p); };
    view->Relist();
    view->SetTab(DirTab::Games);
    view->SelectItem(DirTab::Games, 1);
    view->Delete(DirTab::Games);
    EXPECT_EQ(view->Selected(DirTab::Games), 0);
    EXPECT_EQ(view->FileName, "x.sv1");
    view->Delete(DirTab::Games);
    EXPECT_TRUE(view->Items(DirTab::Games).empty());
    EXPECT_EQ(view->FileName, "");
    EXPECT_FALSE(view->CanDeleteAll(DirTab::Games));
    EXPECT_EQ(deleted, (std::vector<std::string>{folders.SavedGamesDir + "y.sv1",
                                                 folders.SavedGamesDir + "x.sv1"}));
}

TEST_F(DirViewTest, ThumbnailsAreMadeOncePreferringTheCataloguePreview) {
    Jigsaw("plain.orv");
    Jigsaw("listed.orv");
    TMyBitmap red;
    ASSERT_TRUE(Create24(red, 90, 60));
    FillBox(red, 0, 0, 90, 60, 0x0000FF);
    test::WriteBytes(folders.ThumbDir + "listed.jpg", test::JpegOf(red));
    view->Show();
    EXPECT_TRUE(view->TimerOn());
    // Before the timer has run, every item shows the placeholder.
    for (const TDirItem& item : view->Items(DirTab::Jigs)) EXPECT_EQ(item.Thumb, 0);
    view->FillTick();  // the fake clock stands still: one tick fills all
    EXPECT_FALSE(view->TimerOn());
    const TDirItem& listed = view->Items(DirTab::Jigs)[0];
    ASSERT_EQ(listed.Caption, "listed");
    const TMyBitmap& pic = view->Thumbs().Picture(listed.Thumb);
    ASSERT_EQ(pic.Width, kListThumbW);
    ASSERT_EQ(pic.Height, kListThumbH);
    // The preview, fitted and centred on white: red in the middle, white at the edge.
    const uint8_t* mid = PixelPtr(pic, 90, 67);
    EXPECT_GT(mid[2], 200);
    EXPECT_LT(mid[1], 60);
    EXPECT_EQ(GetPixel(pic, 0, 0), 0xFFFFFF);
    const int count = view->Thumbs().Count();
    const int listedThumb = listed.Thumb;
    view->Show();
    EXPECT_EQ(view->Items(DirTab::Jigs)[0].Thumb, listedThumb);
    EXPECT_EQ(view->Thumbs().Count(), count);

    // A file written anew gets its picture made again, under a new index.
    TMyBitmap blue;
    ASSERT_TRUE(Create24(blue, 90, 60));
    FillBox(blue, 0, 0, 90, 60, 0xFF0000);
    view->RefreshThumbnail("LISTED.orv", blue);
    view->Show();
    const int fresh = view->Items(DirTab::Jigs)[0].Thumb;
    EXPECT_NE(fresh, listedThumb);
    EXPECT_GT(PixelPtr(view->Thumbs().Picture(fresh), 90, 67)[0], 200);
    EXPECT_GT(PixelPtr(view->Thumbs().Picture(listedThumb), 90, 67)[2], 200);  // kept as it was

    // The fill stops when its time is used up and goes on at the next tick.
    Jigsaw("third.orv");
    Jigsaw("fourth.orv");
    view->Show();
    fp.StepMs = 120;  // every thumbnail takes longer than a tick may work
    view->FillTick();
    EXPECT_TRUE(view->TimerOn());
    EXPECT_EQ(view->Thumbs().Count(), count + 2);
    int ticks = 1;
    while (view->TimerOn() && ticks < 10) {
        view->FillTick();
        ++ticks;
    }
    EXPECT_EQ(view->Thumbs().Count(), count + 3);
    EXPECT_LE(ticks, 3);
}

TEST_F(DirViewTest, APreselectedFileIsSelectedInItsList) {
    const std::string jig = Jigsaw("Chosen.orv");
    Jigsaw("another.orv");
    Touch(folders.SavedGamesDir + "later.sv1");
    view->SelectedPath = jig;
    view->GameRunning = true;
    view->Show();
    EXPECT_EQ(view->FileName, "Chosen.orv");
    EXPECT_EQ(view->Tab(), DirTab::Level);  // a game runs: straight to the pieces
    EXPECT_TRUE(view->SelectedPath.empty());
    view->SelectedPath = folders.SavedGamesDir + "later.sv1";
    view->Show();
    EXPECT_EQ(view->Tab(), DirTab::Games);
    EXPECT_EQ(view->Selected(DirTab::Games), 0);
    // A path that is gone is dropped: the first jigsaw is selected.
    view->SelectedPath = folders.JigsawsDir + "missing.orv";
    view->Show();
    EXPECT_EQ(view->FileName, "another.orv");
    EXPECT_FALSE(view->ExtraEnabled());
}

}  // namespace
}  // namespace orvel
