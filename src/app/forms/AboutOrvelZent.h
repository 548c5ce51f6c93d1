#pragma once

#include <QDialog>
#include <QLabel>
#include <string>

namespace orvel {

// The splash window at start and the about box later: the picture with the
// product name, subtitle, version and date (each of the last two with a
// shadow twin).
class TF_AboutOrvelZent : public QDialog {
    Q_OBJECT
public:
    // resourcesDir holds splash.png.
    TF_AboutOrvelZent(const std::string& resourcesDir, QWidget* parent = nullptr);

    // Turns the splash into the about box: a dialog border, no frame shape.
    void MakeAboutBox(const QString& caption);
    bool HasDialogBorder() const { return m_dialogBorder; }

    QLabel* I_Background = nullptr;
    QLabel* L_Product = nullptr;
    QLabel* L_Subtitle = nullptr;
    QLabel* L_Version = nullptr;
    QLabel* L_VersionShadow = nullptr;
    QLabel* L_Date = nullptr;
    QLabel* L_DateShadow = nullptr;
    QWidget* B_Frame = nullptr;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool m_dialogBorder = false;
};

}  // namespace orvel
