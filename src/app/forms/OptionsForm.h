#pragma once

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabWidget>
#include <array>
#include <functional>

#include "app/OptionsDialog.h"
#include "app/forms/DialogSkin.h"
#include "platform/Platform.h"

namespace orvel {

// The options dialog: its controls show the core's dialog values, every
// change goes back into them at once, and OK asks the core's checks.
class TF_Options : public QDialog {
    Q_OBJECT
public:
    // pickColor shows a colour picker modally (the wood colour's).
    TF_Options(TOptionsDialog& dialog, Platform& platform,
               std::function<bool(TColorPicker&)> pickColor, QWidget* parent = nullptr);
    ~TF_Options() override;

    QTabWidget* PC_Pages = nullptr;
    // Autosave and sound.
    QCheckBox* CB_AutoSave = nullptr;
    QScrollBar* SB_AutoChange = nullptr;
    QLabel* L_AutoInterval = nullptr;
    QCheckBox* CB_SoundPlay = nullptr;
    // Play.
    QLabel* L_PlayModes = nullptr;
    QComboBox* CB_PlayModes = nullptr;
    QLabel* L_PlayRotCW = nullptr;
    QLabel* L_PlayRotCCW = nullptr;
    QLabel* L_PlayMoveOW = nullptr;
    QComboBox* CB_PlayRotCW = nullptr;
    QComboBox* CB_PlayRotCCW = nullptr;
    QComboBox* CB_PlayMoveOW = nullptr;
    QCheckBox* CB_PlaySingleWin = nullptr;
    QCheckBox* CB_PlayClickToDrag = nullptr;
    QLabel* L_StuckKoef = nullptr;
    QScrollBar* SB_StuckKoef = nullptr;
    // Visual.
    QGroupBox* GB_VisualEmboss = nullptr;
    std::array<QRadioButton*, 4> RB_VisualEmboss{};
    QGroupBox* GB_VisualWood = nullptr;
    std::array<QRadioButton*, 3> RB_VisualWood{};
    QPushButton* S_ViewWoodColor = nullptr;
    QLabel* I_ViewEmboss = nullptr;
    QCheckBox* CB_VisualShowJoin = nullptr;
    // Language.
    QLabel* L_LangListCap = nullptr;
    QListWidget* LV_LangList = nullptr;
    QLabel* L_LangName = nullptr;
    QLabel* L_LangAuthor = nullptr;
    QLabel* L_LangNoHelp = nullptr;
    // Download.
    QLabel* L_DnSrcCap = nullptr;
    QComboBox* CB_DnSrc = nullptr;
    QCheckBox* CB_UseSecure = nullptr;
    QLabel* L_SecureMethodCap = nullptr;
    QLabel* L_SecureNote = nullptr;
    QComboBox* CB_SecureMethod = nullptr;
    QWidget* P_Test = nullptr;
    QLineEdit* E_TestThumbPath = nullptr;
    QLineEdit* E_TestSiteJigsawsDir = nullptr;
    // Buttons.
    QPushButton* B_Help = nullptr;
    QPushButton* B_Ok = nullptr;
    QPushButton* B_Cancel = nullptr;

    // Redraws the effect preview and shows the wood swatch's colour.
    void ShowPreview();
    // Every control takes its text again (a language was applied).
    void TakeTexts();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QWidget* CreateAutoSavePage();
    QWidget* CreateSoundPage();
    QWidget* CreatePlayPage();
    QWidget* CreateVisualPage();
    QWidget* CreateLangPage();
    QWidget* CreateDnPage();
    QWidget* CreateButtons();
    void ShowValues();
    void ShowLanguages();
    void ShowLanguageInfo(int index);
    void ShowScheme();
    void PlayChanged();
    void OkClick();
    void OpenHelp();

    TOptionsDialog& m_dialog;
    Platform& m_platform;
    std::function<bool(TColorPicker&)> m_pickColor;
    bool m_showing = false;  // controls are being filled: no change goes back
};

}  // namespace orvel
