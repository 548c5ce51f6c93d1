#pragma once

// F_DirView: the window of the jigsaw and saved-game browser. It shows what
// TDirView holds and hands it clicks, keys and timer ticks; every decision
// is the core's.

#include <QDialog>
#include <QImage>
#include <QListWidget>
#include <QStyledItemDelegate>
#include <QWidget>
#include <array>
#include <functional>

#include "library/DirView.h"

class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class QSlider;
class QTabWidget;
class QTimer;

namespace orvel {

// Item size of the lists (IL_Formal spaces them): the thumbnail and its caption.
constexpr int kListItemW = 196;
constexpr int kListItemH = 151 + 24;
constexpr int kLevelPanelW = 726;
constexpr int kLevelPanelH = 550;

// LV_Jigs, LV_Games: thumbnails with captions, drawn by the list itself.
class TThumbList : public QListWidget {
    Q_OBJECT
public:
    TThumbList(const TThumbStore& store, QWidget* parent);
    // Rebuilds the items from the core's list.
    void Fill(const std::vector<TDirItem>& items);
    // Takes the thumbnails the fill timer added.
    void Refresh(const std::vector<TDirItem>& items);
    QImage Thumb(int index) const;
    std::function<void()> DeletePressed;
    std::function<void()> EnterPressed;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    const TThumbStore& m_store;
    mutable std::vector<QImage> m_images;  // converted once per store entry
};

class TThumbDelegate : public QStyledItemDelegate {
public:
    explicit TThumbDelegate(TThumbList& list) : QStyledItemDelegate(&list), m_list(list) {}
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
        return {kListItemW, kListItemH};
    }

private:
    TThumbList& m_list;
};

// A picture that can be clicked, with the selection frame drawn round it
// and greyed when disabled.
class TChoicePicture : public QWidget {
    Q_OBJECT
public:
    TChoicePicture(const QImage& image, QWidget* parent);
    void SetImage(const QImage& image);
    void SetChosen(bool chosen);
    std::function<void()> Clicked;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QImage m_image;
    QImage m_grey;
    bool m_chosen = false;
};

class TF_DirView : public QDialog {
    Q_OBJECT
public:
    TF_DirView(TDirView& core, const TLanguage& lang, const std::string& resourcesDir,
               QWidget* parent = nullptr);

    // Shows the dialog modally for the core's mode and returns how it closed.
    DirResult Run();

    QTabWidget* PC_Tabs = nullptr;
    QWidget* TS_Jigs = nullptr;
    QWidget* TS_Games = nullptr;
    QWidget* TS_Level = nullptr;
    TThumbList* LV_Jigs = nullptr;
    TThumbList* LV_Games = nullptr;
    QWidget* P_FileName = nullptr;
    QLabel* L_FileNameCap = nullptr;
    QLineEdit* E_FileName = nullptr;
    QWidget* P_ButBar = nullptr;
    QPushButton* B_Ok = nullptr;
    QPushButton* B_Cancel = nullptr;
    QPushButton* B_Help = nullptr;
    QPushButton* B_Extra = nullptr;
    QPushButton* B_NewJigsaw = nullptr;
    QWidget* P_Seed = nullptr;
    QLabel* L_Seed = nullptr;
    QLineEdit* E_Seed = nullptr;
    QLabel* I_Thumb = nullptr;
    QLabel* L_Thumb = nullptr;
    QLabel* L_Comment = nullptr;
    QLabel* L_PieceSize = nullptr;
    QProgressBar* P_Progress = nullptr;
    QWidget* P_Level = nullptr;
    std::array<TChoicePicture*, kShapeStyleCount> I_Shapes{};
    std::array<TChoicePicture*, 2> I_Borders{};
    std::array<TChoicePicture*, 2> I_Mix{};
    TChoicePicture* I_Rotation = nullptr;
    TChoicePicture* I_FitToScreen = nullptr;
    QLabel* L_Shapes = nullptr;
    QLabel* L_Borders = nullptr;
    QLabel* L_Mix = nullptr;
    QLabel* L_Rotation = nullptr;
    QLabel* L_FitToScreen = nullptr;
    QSlider* SB_PieceSize = nullptr;
    QLabel* L_PieceNum = nullptr;
    QLabel* I_PieceSize = nullptr;
    QMenu* PM_Jigs = nullptr;
    QMenu* PM_Games = nullptr;
    QTimer* T_AddItem = nullptr;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateButtonBar();
    void CreateLists();
    void CreateLevelPage();
    QWidget* Group(QWidget* parent, int x, int y, int w, int h, const QString& title);
    void CreateMenus();
    void ApplyTexts();
    void ShowState();
    void ShowLevelPage();
    void ShowLists();
    void ListClicked(DirTab list, int row);
    void TabChanged(int page);
    void Act(DirResult result);
    void Ok();
    void Tick();
    void PopUp(DirTab list, const QPoint& at);
    void PackProgress(int done, int steps);
    DirTab ListTab() const;
    void CentreLevelPanel();

    TDirView& m_core;
    const TLanguage& m_lang;
    DirResult m_result = DirResult::Cancel;
    TMyBitmap m_strip;
    TMyBitmap m_previewBkg;
    bool m_updating = false;
};

}  // namespace orvel
