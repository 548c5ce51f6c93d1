// The main window's help: the help window, the quick-help box and the credits.
#include <QApplication>

#include "app/forms/MainWindow.h"
#include "help/HelpPages.h"
#include "help/forms/Credits.h"

namespace orvel {

void TF_Main::ShowHelpPage(const std::string& page) {
    if (HelpViewer == nullptr) {
        HelpViewer = new TF_HelpViewer(this);
        HelpViewer->ApplyTexts(*App.Lang);
        // First shown over the middle of the game's window.
        HelpViewer->move(frameGeometry().center() - HelpViewer->rect().center());
    }
    // A window of a modal dialog's own stays usable while the dialog is up.
    QWidget* owner = QApplication::activeModalWidget();
    if (owner == nullptr) owner = this;
    if (HelpViewer->parentWidget() != owner) HelpViewer->setParent(owner, Qt::Window);
    HelpViewer->ShowPage(HelpPageFile(App.Settings.HelpFile, App.Paths.LanguageDir, page), page);
}

void TF_Main::CreateQuickHelp() {
    F_Help = new TF_Help(this, this);
    std::array<QImage, TF_Help::PicCount> pictures;
    const int toolSlots[TF_Help::PicCount] = {BI_Help, BI_Open, BI_Download,
                                              BI_App,  BI_Win1, BI_Win2};
    for (int i = 0; i < TF_Help::PicCount; ++i) {
        TMyBitmap img;
        App.ToolImage(toolSlots[i], false, img);
        pictures[i] = ToQImage(img);
    }
    F_Help->SetPictures(pictures);
    F_Help->ApplyTexts(*App.Lang);
    F_Help->CB_Show->setChecked(App.Settings.ShowQuickHelp);
    connect(F_Help->CB_Show, &QCheckBox::toggled, this,
            [this](bool on) { App.Settings.ShowQuickHelp = on; });
    F_Help->move(QuickHelpPlace(frameGeometry(), F_Help->size()));
}

void TF_Main::ShowQuickHelp() {
    if (F_Help == nullptr) CreateQuickHelp();
    F_Help->CB_Show->setChecked(App.Settings.ShowQuickHelp);
    F_Help->show();
    F_Help->raise();
}

void TF_Main::ShowQuickHelpAtStart() {
    if (F_Help == nullptr) CreateQuickHelp();
    F_Help->move(QuickHelpPlace(frameGeometry(), F_Help->size()));
    if (App.Settings.ShowQuickHelp) F_Help->show();
}

void TF_Main::ShowCredits() {
    TF_Credits credits(App.Paths.AppDir + "credits.txt", *App.Lang, this);
    credits.exec();
}

void TF_Main::HelpTextsChanged() {
    if (F_Help != nullptr) F_Help->ApplyTexts(*App.Lang);
    if (HelpViewer != nullptr) HelpViewer->ApplyTexts(*App.Lang);
}

}  // namespace orvel
