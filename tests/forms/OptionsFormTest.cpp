// The options dialog and the colour picker as windows: the controls write
// back into the core's values, the scheme list follows them, OK with equal
// keys stays open on the Play page, an applied language re-texts the open
// dialog, and the picker's clicks choose.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include "app/forms/ColorPickerForm.h"
#include "app/forms/OptionsForm.h"
#include "platform/FakePlatform.h"

namespace orvel {
namespace {

struct OptionsFormFixture : ::testing::Test {
    FakePlatform fp;
    TLanguage lang{&fp, std::string(ORVEL_BUILD_DIR) + "/language"};
    TSettings settings;

    void SetUp() override { ASSERT_TRUE(lang.LoadAndApply(lang.LangFilePath("english"))); }
};

TEST_F(OptionsFormFixture, ControlsWriteBackAndTheSchemeListFollows) {
    TOptionsDialog d(lang, settings);
    d.RebuildLanguages();
    d.ChooseScheme(PlayScheme::Simple);
    TF_Options form(d, fp, nullptr);
    form.show();
    EXPECT_EQ(form.CB_PlayModes->currentIndex(), static_cast<int>(PlayScheme::Simple));
    EXPECT_FALSE(form.CB_PlayMoveOW->isEnabled());  // single window is on
    form.CB_PlayClickToDrag->setChecked(false);
    EXPECT_FALSE(d.Values.ClickToDrag);
    EXPECT_EQ(form.CB_PlayModes->currentIndex(), static_cast<int>(PlayScheme::Other));
    form.SB_StuckKoef->setValue(22);
    EXPECT_EQ(d.Values.StuckKoef, 22);
    EXPECT_EQ(form.L_StuckKoef->text().toStdString(),
              FormatText(lang.LookUp(LangSection::Options, "L_StuckKoef"), 22));
    form.RB_VisualWood[0]->click();
    EXPECT_EQ(d.Values.Wood, 0);
    EXPECT_TRUE(form.S_ViewWoodColor->isHidden());
    form.RB_VisualWood[1]->click();
    EXPECT_FALSE(form.S_ViewWoodColor->isHidden());
    // The language list holds the shipped languages with the current one chosen.
    EXPECT_EQ(form.LV_LangList->count(), static_cast<int>(d.Languages().size()));
    EXPECT_GE(form.LV_LangList->currentRow(), 0);
    EXPECT_EQ(form.CB_SecureMethod->isEnabled(), d.Values.UseSecure);
    // The download page says what the old protocol choices do now.
    EXPECT_NE(form.L_SecureNote->text().toStdString().find("TLS 1.2"), std::string::npos);
    // Help opens the page of the tab in front.
    form.PC_Pages->setCurrentIndex(static_cast<int>(OptionsPage::Visual));
    QTest::mouseClick(form.B_Help, Qt::LeftButton);
    ASSERT_FALSE(fp.HelpPages.empty());
    EXPECT_EQ(fp.HelpPages.back(), "effects.htm");
}

TEST_F(OptionsFormFixture, EqualKeysKeepTheDialogOpenOnThePlayPage) {
    TOptionsDialog d(lang, settings);
    d.RebuildLanguages();
    TF_Options form(d, fp, nullptr);
    form.show();
    form.CB_PlayRotCW->setCurrentIndex(3);
    form.CB_PlayRotCCW->setCurrentIndex(3);
    form.PC_Pages->setCurrentIndex(static_cast<int>(OptionsPage::Dn));
    QTest::mouseClick(form.B_Ok, Qt::LeftButton);
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.result(), QDialog::Rejected);
    EXPECT_EQ(form.PC_Pages->currentIndex(), static_cast<int>(OptionsPage::Play));
    ASSERT_EQ(fp.Messages.size(), 1u);
}

TEST_F(OptionsFormFixture, AnAppliedLanguageReTextsTheOpenDialog) {
    TOptionsDialog d(lang, settings);
    TF_Options form(d, fp, nullptr);
    EXPECT_EQ(form.PC_Pages->tabText(2).toStdString(), "Play");
    ASSERT_TRUE(lang.LoadAndApply(lang.LangFilePath("german")));
    EXPECT_EQ(form.PC_Pages->tabText(2).toStdString(), "Spielen");
    EXPECT_EQ(form.B_Cancel->text().toStdString(), "Abbrechen");
    EXPECT_EQ(form.CB_PlayRotCW->count(), kKeyChoiceCount);
}

TEST(ColorPickerForm, ClicksChooseAndTheSwatchHidesForPictures) {
    FakePlatform fp;
    TLanguage lang(&fp, std::string(ORVEL_BUILD_DIR) + "/language");
    TColorPicker picker;
    picker.Color = 0x989898;
    picker.ShowPictures = true;
    std::vector<int32_t> applied;
    picker.Apply = [&](int32_t v) { applied.push_back(v); };
    TF_ColorPicker form(picker, lang, std::string(ORVEL_BUILD_DIR) + "/bkg-pics");
    form.show();
    EXPECT_FALSE(form.I_DefCol->isVisible());
    EXPECT_TRUE(form.I_BkgPics->isVisible());
    const TMyRect cell = PaletteCell(3);
    QTest::mouseClick(form.I_Palette, Qt::LeftButton, {}, QPoint(cell.Left + 3, cell.Top + 3));
    EXPECT_EQ(picker.Color, static_cast<int32_t>(PaletteColors()[3]));
    const TMyRect pic = PictureCell(2);
    QTest::mouseClick(form.I_BkgPics, Qt::LeftButton, {}, QPoint(pic.Left + 5, pic.Top + 5));
    EXPECT_EQ(picker.Color, 12);
    EXPECT_FALSE(form.I_SelCol->isVisible());
    QTest::mouseClick(form.I_Gamma, Qt::LeftButton, {}, QPoint(0, 150));
    EXPECT_EQ(picker.Color, 0x0000FF);
    EXPECT_EQ(applied,
              (std::vector<int32_t>{static_cast<int32_t>(PaletteColors()[3]), 12, 0x0000FF}));
}

}  // namespace
}  // namespace orvel
