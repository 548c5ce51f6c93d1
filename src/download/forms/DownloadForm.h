#pragma once

// TF_Download: the download window. It shows the core downloader's list,
// mode, progress and caption and passes the buttons on; every decision is the
// core's.

#include <QDialog>
#include <QPixmap>

#include "download/Downloader.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;

namespace orvel {

class Platform;
class TLanguage;

class TF_Download : public QDialog, public TDownloadView {
    Q_OBJECT
public:
    TF_Download(TDownloader& downloader, const TLanguage& lang, Platform& platform,
                QWidget* parent = nullptr);
    ~TF_Download() override;

    // One showing, modal: the list is built or refreshed, the window waits
    // for the player and closes on Exit.
    void Run();

    QListWidget* LV_Downs = nullptr;
    QGroupBox* GB_DownThumb = nullptr;
    QLabel* I_DownThumb = nullptr;
    QLabel* L_DownMode = nullptr;
    QComboBox* CB_DownMode = nullptr;
    QPushButton* B_Download = nullptr;
    QPushButton* B_Stop = nullptr;
    QPushButton* B_Ok = nullptr;
    QPushButton* B_Help = nullptr;
    QProgressBar* PB_DownProgress = nullptr;

    // TDownloadView.
    void CaptionChanged(const std::string& caption) override;
    void ProgressChanged(int64_t position, int64_t maximum) override;
    void ListChanged() override;
    void StateChanged() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void reject() override;

private:
    void CreateControls();
    void ApplyTexts();
    void FirstPlacement();
    QPixmap ItemPicture(int index) const;
    void ShowPreview();
    void DownloadClick();
    void ExitClick();

    TDownloader& m_down;
    const TLanguage& m_lang;
    Platform& m_platform;
    QPixmap m_tick;
    bool m_updating = false;
    bool m_placed = false;
    int64_t m_progressMax = 0;
};

}  // namespace orvel
