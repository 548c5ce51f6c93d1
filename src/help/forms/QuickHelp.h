#pragma once

#include <QCheckBox>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QWidget>
#include <array>
#include <functional>

#include "lang/Lang.h"

namespace orvel {

// The quick-help box F_Help: a small tool window beside the main window
// that explains the mouse and the keys. Closing hides it; keys pressed in
// it reach the game.
class TF_Help : public QWidget {
    Q_OBJECT
public:
    // The toolbar pictures it shows, in the order of Picture.
    enum Picture { PicContents, PicOpen, PicDownload, PicMenu, PicSide1, PicSide2, PicCount };

    explicit TF_Help(QWidget* keyTarget, QWidget* parent = nullptr);

    void SetPictures(const std::array<QImage, PicCount>& pictures);
    // Takes the texts of the language and lays the box out again.
    void ApplyTexts(const TLanguage& lang);
    // Lays the lower part out for the texts it carries now.
    void LayOut();

    QLabel* L_Click = nullptr;
    QLabel* L_Contents = nullptr;
    QLabel* L_Open = nullptr;
    QLabel* L_Download = nullptr;
    QLabel* L_Menu = nullptr;
    QLabel* L_RotateCW = nullptr;
    QLabel* L_RotateCCW = nullptr;
    QLabel* L_Ctrl = nullptr;
    QLabel* L_Ctrl1 = nullptr;
    QLabel* L_MoveOW = nullptr;
    QLabel* L_Switch = nullptr;
    QLabel* L_Spacebar = nullptr;
    QLabel* I_Wheel = nullptr;
    QLabel* I_Wheel1 = nullptr;
    QFrame* Shape1 = nullptr;
    QCheckBox* CB_Show = nullptr;
    QPushButton* B_Close = nullptr;
    std::array<QLabel*, PicCount> Pictures{};

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    QLabel* NewLabel(const char* name, bool wrap);
    int PlaceRow(QLabel* picture, QLabel* text, int top);

    QWidget* m_keyTarget;
};

// A small mouse with one button lit and the wheel's turn shown by an arrow
// (up for the left button's rotation, down for the right one's).
QImage MousePicture(bool rightButton);

}  // namespace orvel
