#pragma once

// The game-information form and the finish form: thin dialogs that show
// what the application core filled in.

#include <QDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "app/GameInfo.h"

namespace orvel {

class TF_Info : public QDialog {
    Q_OBJECT
public:
    explicit TF_Info(const TInfoForm& form, QWidget* parent = nullptr);

    QWidget* P_Form = nullptr;
    QLabel* I_ShowThumb = nullptr;
    QLabel* L_JigCap = nullptr;
    QLabel* L_Jig = nullptr;
    QLabel* L_Jig1 = nullptr;
    QLabel* L_PieceNum = nullptr;
    QLabel* L_SolvedPercent = nullptr;
    QLabel* l_UnsolvedNum = nullptr;
    QLabel* L_Shapes = nullptr;
    QLabel* L_Borders = nullptr;
    QLabel* L_Rotation = nullptr;
    QPlainTextEdit* M_Info = nullptr;
    QPushButton* B_Ok = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
};

class TF_Finish : public QDialog {
    Q_OBJECT
public:
    explicit TF_Finish(const TFinishForm& form, QWidget* parent = nullptr);

    QWidget* P_Form = nullptr;
    QLabel* L_Congratulations = nullptr;
    QLabel* L_Solved = nullptr;
    QLabel* L_AskForSave = nullptr;
    QPushButton* B_Save = nullptr;
    QPushButton* B_Cancel = nullptr;
};

}  // namespace orvel
