#pragma once

#include <QDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <string>

#include "lang/Lang.h"

namespace orvel {

// The credits form F_Credits: thanks, and the names and licences of
// everything the game carries from others (the text of credits.txt in the
// program data folder).
class TF_Credits : public QDialog {
    Q_OBJECT
public:
    TF_Credits(const std::string& creditsFile, const TLanguage& lang, QWidget* parent = nullptr);

    QLabel* L_Thanks = nullptr;
    QPlainTextEdit* M_Names = nullptr;
    QPushButton* B_Ok = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
};

}  // namespace orvel
