#pragma once

#include <QAction>
#include <QCursor>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QTimer>
#include <QWidget>
#include <array>
#include <cstdint>
#include <memory>

#include "app/AppView.h"
#include "app/OrvelApp.h"
#include "library/forms/DirViewForm.h"
#include "help/forms/HelpViewer.h"
#include "help/forms/QuickHelp.h"
#include "platform/Platform.h"

namespace orvel {

class TF_Main;

// I_Field: shows the field buffer; only changed rectangles are copied over.
class TFieldImage : public QWidget {
    Q_OBJECT
public:
    TFieldImage(TF_Main& owner, QWidget* parent);
    // Copies a rectangle of the field buffer into the shown picture and repaints it at once.
    void ShowRect(const TMyBitmap& field, const TMyRect& rect);
    const QImage& Picture() const { return m_picture; }
    bool MouseEnabled = false;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    TF_Main& m_owner;
    QImage m_picture;
};

// BI_*: one toolbar button showing its state image.
class TToolButtonImage : public QWidget {
    Q_OBJECT
public:
    TToolButtonImage(TF_Main& owner, int slot, QWidget* parent);
    void SetPicture(const QImage& image);
    int Slot() const { return m_slot; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    TF_Main& m_owner;
    int m_slot;
    QImage m_picture;
};

// P_Toolbar with its background picture I_Toolbar.
class TToolbarPanel : public QWidget {
    Q_OBJECT
public:
    TToolbarPanel(TF_Main& owner, QWidget* parent);
    QImage Background;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    TF_Main& m_owner;
};

// The main window: shows what the application core decides (toolbar, play
// field, progress panel, command menu) and hands it the window's keys,
// mouse, wheel, resizes, timer ticks and close requests.
class TF_Main : public QWidget, public TAppView {
    Q_OBJECT
public:
    TF_Main(Platform& platform, const TPlatformFolders& folders, QWidget* parent = nullptr,
            TAppOptions options = {});
    ~TF_Main() override;

    // Start-up after creation: toolbar laid out, field mouse on, shown, settings read.
    void StartUp();

    // The core; the tests and the program's other parts work through it.
    TOrvelApp App;

    QMenu* PM_Menu = nullptr;
    std::array<QAction*, kMenuCmdCount> Actions{};
    std::array<QMenu*, kMenuCmdCount> SubMenus{};
    TToolbarPanel* P_Toolbar = nullptr;
    QWidget* P_Field = nullptr;
    TFieldImage* I_Field = nullptr;
    QWidget* P_Progress = nullptr;
    QLabel* I_ProgressBkg = nullptr;
    QLabel* I_ProgressBarEmpty = nullptr;
    QLabel* I_ProgressBar = nullptr;
    QLabel* L_Progress = nullptr;
    std::array<TToolButtonImage*, kToolSlotCount> ToolButtons{};
    QTimer* T_AutoSave = nullptr;
    QCursor DragCursor1;  // dragging pieces
    QCursor DragCursor2;  // panning a window's content

    // TAppView.
    void ShowWindow() override;
    void LayoutChanged(const TMainLayout& layout) override;
    void FieldChanged(const TMyBitmap& field, const TMyRect& rect) override;
    void MenuItemChanged(int cmd) override;
    void TextsChanged() override;
    void ToolButtonChanged(int slot, bool hot) override;
    void ToolbarPlaced() override;
    void ProgressShown(const std::string& text) override;
    void ProgressStepped(int done, int steps) override;
    void ProgressHidden() override;
    void AutoSaveTimerStarted() override;
    TBounds WindowBounds() const override;
    void ApplyWindowState(bool fullScreen, const TBounds& bounds) override;
    void Minimize() override;
    void RequestClose() override;
    void PopUpMenu(int x, int y) override;
    void ShowAbout(const std::string& caption) override;
    void ResizeClient(int width, int height) override;
    bool HasDirView() const override { return true; }
    DirResult ShowDirView(TDirView& dirView) override;
    void ShowInfo(const TInfoForm& form) override;
    bool ShowFinish(const TFinishForm& form) override;
    bool FieldCursor(int& x, int& y) const override;
    bool ShowOptions(TOptionsDialog& dialog) override;
    bool ShowColorPicker(TColorPicker& picker) override;
    void ShowQuickHelp() override;
    void ShowCredits() override;

    // The browser, made when it is first shown.
    std::unique_ptr<TF_DirView> F_DirView;

    // The help window at page, in the player's language (English when the
    // language has no such page); the quick-help box placed beside the
    // window, shown when the player wants it at start.
    void ShowHelpPage(const std::string& page);
    void ShowQuickHelpAtStart();
    TF_HelpViewer* HelpViewer = nullptr;
    TF_Help* F_Help = nullptr;
    void ShowDownload(TDownloader& downloader) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void CreatePanels();
    void CreateMenu();
    void CreateToolbar();
    void CreateProgressPanel();
    void PaintToolbarSkin();
    void ShowWholeState();
    void HelpTextsChanged();
    void CreateQuickHelp();

    Platform& m_platform;
    // The download window, made at its first showing and kept (it keeps its place).
    std::unique_ptr<class TF_Download> m_downloadForm;
};

// Where the quick-help window goes: left = main left + main width − help
// width − 10; top = main top + (main height − help height) div 2.
QPoint QuickHelpPlace(const QRect& mainFrame, const QSize& helpSize);

// A buffer as a picture Qt can show.
QImage ToQImage(const TMyBitmap& bmp);

// The key code and shift state the menu uses for a Qt key event.
uint16_t MenuKeyCode(int qtKey);
uint8_t MenuShiftState(Qt::KeyboardModifiers mods);

}  // namespace orvel
