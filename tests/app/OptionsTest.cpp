// The options dialog through the application core: the key-list rules, the
// radios for stored styles they cannot show, OK applying to a running game
// and surviving a restart, Cancel changing nothing, the wood colour's picker,
// the background commands, and a language switch re-texting every open window.
#include <gtest/gtest.h>

#include <functional>

#include "app/AppTestUtil.h"
#include "app/ColorPick.h"
#include "app/OptionsDialog.h"
#include "game/JigsawFile.h"
#include "game/JigsawTestUtil.h"

namespace orvel {
namespace {

using test::OrvelAppTest;

// The recording window with scripted dialogs: each handler plays the
// player's part and answers OK (true) or Cancel.
struct TDialogWindow : test::TFakeWindow {
    std::function<bool(TOptionsDialog&)> Options;
    std::function<bool(TColorPicker&)> Picker;
    int TextsChanges = 0;
    bool ShowOptions(TOptionsDialog& d) override { return Options ? Options(d) : false; }
    bool ShowColorPicker(TColorPicker& p) override { return Picker ? Picker(p) : false; }
    void TextsChanged() override { ++TextsChanges; }
};

class OptionsTest : public OrvelAppTest {
protected:
    void SetUp() override {
        OrvelAppTest::SetUp();
        Begin();
    }
    void Begin() {
        Start();
        dialogs.App = app.get();
        dialogs.Bounds = window.Bounds;
        app->AttachView(&dialogs);
    }
    // Runs the options command; change plays the player, then OK.
    void OptionsOk(const std::function<void(TOptionsDialog&)>& change) {
        dialogs.Options = [&](TOptionsDialog& d) {
            change(d);
            return d.Confirm();
        };
        app->RunCommand(MI_Options);
    }
    void OpenSmallGame(bool rotate) {
        const std::string path = app->Paths.JigsawsDir + "small.orv";
        TJigsawContent c;
        c.ImageW = 240;
        c.ImageH = 160;
        c.Label = "pattern";
        c.Descriptions = {"A pattern"};
        c.Thumb = test::JpegOf(test::PatternPicture(40, 30));
        c.Pictures = {test::BitmapOf(test::PatternPicture(240, 160))};
        ASSERT_TRUE(WriteJigsaw(path, c).Ok());
        app->Settings.Level = 10;
        app->Settings.ShapeStyle = 0;
        app->Settings.Rotate = rotate;
        app->OpenFile(path);
        ASSERT_TRUE(app->Game.GameLoaded) << (fp.Messages.empty() ? "" : fp.Messages[0].Text);
    }
    TDialogWindow dialogs;
};

TEST(KeyLists, EveryChoiceIsFoundAndPairsOutsideTheTableAreNot) {
    for (int i = 0; i < kKeyChoiceCount; ++i)
        EXPECT_EQ(KeyChoiceIndex(kKeyChoices[i].Button, kKeyChoices[i].Shift), i);
    EXPECT_EQ(KeyChoiceIndex(0, 0), -1);  // the plain left button drags
    EXPECT_EQ(KeyChoiceIndex(1, 6), -1);
    EXPECT_EQ(KeyChoiceIndex(2, 0), -1);
}

TEST(KeyLists, SchemesFollowTheListsAndBothCheckBoxes) {
    TSettings s;
    TOptionsValues v = OptionsFromSettings(s);
    EXPECT_EQ(DetectScheme(v), PlayScheme::Standard);
    ApplyScheme(v, PlayScheme::Simple);
    EXPECT_EQ(DetectScheme(v), PlayScheme::Simple);
    v.ClickToDrag = false;
    EXPECT_EQ(DetectScheme(v), PlayScheme::Other);
    const TOptionsValues before = v;
    ApplyScheme(v, PlayScheme::Other);
    EXPECT_EQ(v, before);
    ApplyScheme(v, PlayScheme::Standard);
    v.MoveOW = -1;
    EXPECT_EQ(DetectScheme(v), PlayScheme::Other);
}

TEST(EffectRadios, StoredStylesOutOfRangeShowAsTheLastChoice) {
    const int emboss[][2] = {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 3}, {255, 3}};
    for (const auto& e : emboss) EXPECT_EQ(EmbossRadio(e[0]), e[1]) << e[0];
    const int wood[][2] = {{0, 0}, {1, 1}, {2, 2}, {3, 2}, {255, 2}};
    for (const auto& w : wood) EXPECT_EQ(WoodRadio(w[0]), w[1]) << w[0];
    TSettings s;
    s.EmbossStyle = 9;
    s.WoodStyle = 7;
    const TOptionsValues v = OptionsFromSettings(s);
    EXPECT_EQ(v.Emboss, 3);
    EXPECT_EQ(v.Wood, 2);
}

TEST_F(OptionsTest, APairNotInTheTableLeavesItsListEmptyAndKeepsTheStoredKeys) {
    app->Settings.RotCW_Button = 0;
    app->Settings.RotCW_Shift = 0;
    app->Settings.MoveOW_Button = 1;
    app->Settings.MoveOW_Shift = 6;
    int shownCW = 0, shownMove = 0;
    OptionsOk([&](TOptionsDialog& d) {
        shownCW = d.Values.RotCW;
        shownMove = d.Values.MoveOW;
        EXPECT_EQ(d.Scheme(), PlayScheme::Other);
    });
    EXPECT_EQ(shownCW, -1);
    EXPECT_EQ(shownMove, -1);
    // Two empty lists are not equal: OK went through and the pairs stayed.
    EXPECT_TRUE(fp.Messages.empty());
    EXPECT_EQ(app->Settings.RotCW_Shift, 0);
    EXPECT_EQ(app->Settings.MoveOW_Shift, 6);
}

TEST_F(OptionsTest, TwoActionsOnOneBindingRefuseOkOnThePlayPage) {
    bool accepted = true;
    OptionsPage page = OptionsPage::AutoSave;
    dialogs.Options = [&](TOptionsDialog& d) {
        d.Values.RotCW = 3;
        d.Values.RotCCW = 3;
        accepted = d.Confirm();
        page = d.ActivePage;
        return false;
    };
    app->RunCommand(MI_Options);
    EXPECT_FALSE(accepted);
    EXPECT_EQ(page, OptionsPage::Play);
    ASSERT_EQ(fp.Messages.size(), 1u);
    EXPECT_EQ(fp.Messages[0].Kind, MsgKind::Warning);
    // The move key counts even while single window is on.
    dialogs.Options = [&](TOptionsDialog& d) {
        d.Values.SingleWin = true;
        d.Values.MoveOW = d.Values.RotCCW;
        accepted = d.Confirm();
        return false;
    };
    app->RunCommand(MI_Options);
    EXPECT_FALSE(accepted);
    EXPECT_EQ(fp.Messages.size(), 2u);
}

TEST_F(OptionsTest, AMissingLanguageFileRefusesOk) {
    bool accepted = true;
    dialogs.Options = [&](TOptionsDialog& d) {
        d.Values.Language = "klingon";
        accepted = d.Confirm();
        return false;
    };
    app->RunCommand(MI_Options);
    EXPECT_FALSE(accepted);
    ASSERT_EQ(fp.Messages.size(), 1u);
    EXPECT_NE(fp.Messages[0].Text.find("klingon.lng"), std::string::npos);
}

TEST_F(OptionsTest, CancelChangesNothing) {
    const TSettings before = app->Settings;
    dialogs.Options = [](TOptionsDialog& d) {
        d.Values.Sound = !d.Values.Sound;
        d.Values.ShowJoin = !d.Values.ShowJoin;
        d.Values.AutoInterval = 33;
        d.ChooseScheme(PlayScheme::Simple);
        d.Values.Emboss = 0;
        d.Values.Language = "german";
        return false;
    };
    app->RunCommand(MI_Options);
    EXPECT_EQ(app->Settings, before);
}

TEST_F(OptionsTest, EveryPreferenceChangedInTheDialogSurvivesARestart) {
    OptionsOk([](TOptionsDialog& d) {
        d.Values.AutoSave = false;
        d.Values.AutoInterval = 25;
        d.Values.Sound = false;
        d.ChooseScheme(PlayScheme::Simple);
        d.Values.StuckKoef = 27;
        d.Values.Emboss = 3;
        d.Values.Wood = 1;
        d.Values.WoodColor = 0x102030;
        d.Values.ShowJoin = false;
        d.Values.Language = "french";
        d.Values.DnSrc = 0;
        d.Values.UseSecure = true;
        d.Values.SecureMethod = 6;
    });
    const TSettings changed = app->Settings;
    EXPECT_EQ(changed.sCurLang, "french");
    EXPECT_TRUE(changed.bSingleWin);
    EXPECT_EQ(changed.RotCW_Button, 1);
    EXPECT_EQ(changed.RotCW_Shift, 0);
    EXPECT_EQ(changed.sDnSrc, kDownloadHosts[0]);
    ASSERT_TRUE(app->CloseRequest());
    app.reset();
    Begin();
    EXPECT_EQ(app->Settings.AutoSave_iIntervalMin, 25);
    EXPECT_FALSE(app->Settings.CB_SoundPlay);
    EXPECT_EQ(app->Settings.iStuckKoef, 27);
    EXPECT_EQ(app->Settings.EmbossStyle, 3);
    EXPECT_EQ(app->Settings.WoodStyle, 1);
    EXPECT_EQ(app->Settings.WoodColor, 0x102030u);
    EXPECT_TRUE(app->Settings.bClickToDrag);
    EXPECT_EQ(app->Settings.MoveOW_Shift, 4);
    EXPECT_EQ(app->Settings.sCurLang, "french");
    EXPECT_TRUE(app->Settings.bUseSecure);
    EXPECT_EQ(app->Settings.iSecureMethodInd, 6);
    EXPECT_EQ(app->Settings.sDnSrc, kDownloadHosts[0]);
    EXPECT_FALSE(app->Settings.CB_VisualShowJoin);
}

TEST_F(OptionsTest, NewEffectsAreRebuiltInTheRunningGame) {
    OpenSmallGame(true);
    ASSERT_EQ(app->Settings.EmbossStyle, 1);
    const size_t shown = dialogs.ProgressTexts.size();
    OptionsOk([](TOptionsDialog& d) {
        d.Values.Emboss = 0;
        d.Values.Wood = 1;
    });
    ASSERT_EQ(dialogs.ProgressTexts.size(), shown + 1);
    EXPECT_EQ(dialogs.ProgressTexts.back(),
              app->Lang->LookUp(LangSection::MainForm, "Prog_ChangeEmboss"));
    // A new effect on a game with rotation: one step and one per rotation.
    EXPECT_EQ(dialogs.ProgressSteps.back(), (std::pair<int, int>{5, 5}));
    EXPECT_EQ(app->Game.WoodWidth, WoodWidthFor(1));
    // No relief left in any turned mask.
    for (int r = 0; r < 4; ++r) {
        const TMyBitmap& mask = app->Game.Mask(r);
        for (int y = 0; y < mask.Height; y += 7)
            for (int x = 0; x < mask.Width; x += 5)
                ASSERT_EQ(PixelPtr(mask, x, y)[2], 128) << r << ":" << x << "," << y;
    }
    EXPECT_FALSE(app->ProgressUp());
    // Unchanged styles rebuild nothing.
    OptionsOk([](TOptionsDialog&) {});
    EXPECT_EQ(dialogs.ProgressTexts.size(), shown + 1);
}

TEST_F(OptionsTest, SingleWindowBringsTheSecondSidesPiecesToTheFirst) {
    OpenSmallGame(false);
    app->ShowSide(1);
    app->Game.Pieces[0].window = MW_SIDE1;
    app->Game.Pieces[1].window = MW_SIDE1;
    OptionsOk([](TOptionsDialog& d) { d.Values.SingleWin = true; });
    EXPECT_EQ(app->Game.CurSide, 0);
    for (const TPiece& p : app->Game.Pieces) EXPECT_NE(p.window, MW_SIDE1);
    EXPECT_FALSE(app->Menu().Enabled[MI_GameWin2]);
    EXPECT_FALSE(app->Toolbar().Buttons[BI_Win1].Enabled);
    OptionsOk([](TOptionsDialog& d) { d.Values.SingleWin = false; });
    EXPECT_TRUE(app->Menu().Enabled[MI_GameWin2]);
}

TEST_F(OptionsTest, ALanguageSwitchReTextsTheMainWindowAndAnOpenDialog) {
    TOptionsDialog open(*app->Lang, app->Settings);
    EXPECT_EQ(open.Text("TS_Play"), "Play");
    const int taken = open.TextsTaken();
    const int changes = dialogs.TextsChanges;
    OptionsOk([](TOptionsDialog& d) {
        d.RebuildLanguages();
        for (int i = 0; i < static_cast<int>(d.Languages().size()); ++i)
            if (d.Languages()[i].FileName == "german") d.SelectLanguage(i);
    });
    EXPECT_EQ(app->Settings.sCurLang, "german");
    EXPECT_EQ(open.TextsTaken(), taken + 1);
    EXPECT_EQ(open.Text("TS_Play"), "Spielen");
    EXPECT_EQ(open.Text("B_Cancel"), "Abbrechen");
    EXPECT_EQ(open.StuckKoefText().find("%d"), std::string::npos);
    EXPECT_GT(dialogs.TextsChanges, changes);
    EXPECT_EQ(app->Menu().Captions[MI_Options],
              app->Lang->LookUp(LangSection::MainForm, "MI_Options"));
    EXPECT_NE(app->Menu().Captions[MI_Options], "Options");
}

TEST_F(OptionsTest, TheWoodColourFollowsItsPickerAndComesBackOnCancel) {
    TOptionsDialog d(*app->Lang, app->Settings);
    int previews = 0;
    d.PreviewChanged = [&] { ++previews; };
    TColor seen = 0;
    d.PickWoodColor([&](TColorPicker& p) {
        EXPECT_EQ(p.Target, -2);
        EXPECT_EQ(p.SuggestedCount(), 2);
        EXPECT_EQ(p.Suggested[0], 0x49687A);
        EXPECT_EQ(p.Suggested[1], 0x92ADBE);
        EXPECT_FALSE(p.ShowPictures);
        p.Choose(0x0000E0);
        seen = d.Values.WoodColor;
        return false;
    });
    EXPECT_EQ(seen, 0x0000E0u);
    EXPECT_EQ(d.Values.WoodColor, kDefaultWoodColor);
    EXPECT_GE(previews, 2);
    d.PickWoodColor([](TColorPicker& p) {
        p.Choose(0x00E000);
        return true;
    });
    EXPECT_EQ(d.Values.WoodColor, 0x00E000u);
}

TEST_F(OptionsTest, ThePreviewShowsTheChosenEffectsOnTheSamplePiece) {
    TOptionsDialog d(*app->Lang, app->Settings);
    auto draw = [&](int emboss, int wood) {
        d.Values.Emboss = emboss;
        d.Values.Wood = wood;
        TMyBitmap out;
        EXPECT_TRUE(d.DrawPreview(out));
        return out;
    };
    TMyBitmap mask, picture;
    BuildSamplePiece(mask, picture);
    const TMyBitmap flat = draw(0, 0);
    // Without effects the piece is its picture and the rest the background.
    int pieceDiffs = 0, outside = 0;
    for (int y = 0; y < kEffectPreviewH; ++y)
        for (int x = 0; x < kEffectPreviewW; ++x) {
            const bool in = (GetPixel(mask, x, y) & 0xFFFFFF) != 0;
            const int32_t want =
                in ? GetPixel(picture, x, y) : static_cast<int32_t>(kPreviewBackground);
            if (GetPixel(flat, x, y) != want) ++(in ? pieceDiffs : outside);
        }
    EXPECT_EQ(pieceDiffs, 0);
    EXPECT_EQ(outside, 0);
    const TMyBitmap relief = draw(3, 0);
    const TMyBitmap wood = draw(0, 1);
    int reliefDiffs = 0, woodPixels = 0;
    const TColor edge = RgbToColor(ColorR(kDefaultWoodColor) - 10, ColorG(kDefaultWoodColor) - 10,
                                   ColorB(kDefaultWoodColor) - 10);
    for (int y = 0; y < kEffectPreviewH; ++y)
        for (int x = 0; x < kEffectPreviewW; ++x) {
            reliefDiffs += GetPixel(relief, x, y) != GetPixel(flat, x, y);
            woodPixels += static_cast<TColor>(GetPixel(wood, x, y)) == edge;
        }
    EXPECT_GT(reliefDiffs, 100);
    EXPECT_GT(woodPixels, 100);
}

TEST_F(OptionsTest, CancelRestoresThePreviousBackgrounds) {
    LoadGame();
    app->SetPickedBackground(1, 0x00C000);
    int32_t duringAll = 0;
    std::string caption;
    dialogs.Picker = [&](TColorPicker& p) {
        caption = p.Caption;
        EXPECT_TRUE(p.ShowPictures);
        EXPECT_EQ(p.Target, -1);
        p.Choose(0x0000C0);
        p.Choose(13);
        duringAll = app->Wins.Wins[MW_POCKET0 + 2].Background;
        return false;
    };
    app->RunCommand(MI_GameBkgAll);
    EXPECT_EQ(duringAll, 13);
    EXPECT_EQ(caption.find('&'), std::string::npos);
    EXPECT_EQ(app->Settings.lBkg, kDefaultBkg);
    EXPECT_EQ(app->Wins.Wins[0].Background, static_cast<int32_t>(kDefaultBkg));
    EXPECT_EQ(app->Wins.Wins[1].Background, 0x00C000);
    EXPECT_EQ(app->Settings.WinBkg[1], 0x00C000u);

    // The current window alone: only its value comes back.
    app->SetPickedBackground(0, 0x808000);
    dialogs.Picker = [&](TColorPicker& p) {
        EXPECT_EQ(p.Target, MW_SIDE0);
        EXPECT_EQ(p.Color, 0x808000);
        p.Choose(0x0000E0);
        return false;
    };
    app->RunCommand(MI_GameBkgCur);
    EXPECT_EQ(app->Wins.Wins[0].Background, 0x808000);
    EXPECT_EQ(app->Wins.Wins[1].Background, 0x00C000);

    dialogs.Picker = [&](TColorPicker& p) {
        p.Choose(0x0000E0);
        return true;
    };
    app->RunCommand(MI_GameBkgCur);
    EXPECT_EQ(app->Wins.Wins[0].Background, 0x0000E0);
    EXPECT_EQ(app->Settings.WinBkg[0], 0x0000E0u);
}

}  // namespace
}  // namespace orvel
