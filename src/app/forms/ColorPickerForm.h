#pragma once

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <array>
#include <string>

#include "app/ColorPick.h"
#include "app/forms/DialogSkin.h"
#include "lang/Lang.h"

namespace orvel {

// The colour picker: shows the core's palette, gamma picture, suggestions
// and background pictures and hands every click to the picker, which applies
// the choice to its target at once.
class TF_ColorPicker : public QDialog {
    Q_OBJECT
public:
    // bkgPicsDir holds the "<name>-but.jpg" buttons of the picture row.
    TF_ColorPicker(TColorPicker& picker, const TLanguage& lang, const std::string& bkgPicsDir,
                   QWidget* parent = nullptr);

    TPictureBox* I_Palette = nullptr;
    TPictureBox* I_Gamma = nullptr;
    TPictureBox* I_DefCol = nullptr;
    TPictureBox* I_BkgPics = nullptr;
    QPushButton* B_GammaCircle = nullptr;
    QPushButton* B_GammaSquare = nullptr;
    QLabel* L_PalCap = nullptr;
    QLabel* L_GammaCap = nullptr;
    QLabel* L_DefColCap = nullptr;
    QLabel* L_SelColCap = nullptr;
    QLabel* L_BkgPicsCap = nullptr;
    QLabel* I_SelCol = nullptr;
    QLabel* I_PointColor = nullptr;
    QPushButton* B_Ok = nullptr;
    QPushButton* B_Cancel = nullptr;

protected:
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    QWidget* CreateColumns();
    QWidget* CreateRows();
    QWidget* CreateButtons();
    void ConnectPictures();
    void TakeTexts(const TLanguage& lang);
    void Choose(int32_t value);
    void ShowChoice();
    void ShowGamma();
    void ShowPointColor(int x, int y);

    TColorPicker& m_picker;
    std::array<TMyBitmap, kPictureCount> m_buttons;
    TMyBitmap m_gamma;
};

}  // namespace orvel
