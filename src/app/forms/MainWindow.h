#pragma once

#include <QAction>
#include <QCursor>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QTimer>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <string>

#include "app/Folders.h"
#include "app/MainMenu.h"
#include "app/Toolbar.h"
#include "game/GameState.h"
#include "play/Field.h"
#include "play/PlayWindow.h"
#include "lang/Lang.h"
#include "platform/Platform.h"
#include "platform/Progress.h"
#include "settings/Settings.h"

namespace orvel {

class TF_Main;

// I_Field: shows the field buffer; only invalidated rectangles are copied over.
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

// The main window: toolbar, play field, progress panel, command menu, keys,
// wheel, full screen, timers and the close path.
class TF_Main : public QWidget, public Progress, public TSettingsHooks {
    Q_OBJECT
public:
    TF_Main(Platform& platform, const TPlatformFolders& folders, QWidget* parent = nullptr);
    ~TF_Main() override;

    // Start-up after creation: toolbar laid out, field mouse on, shown, settings read.
    void StartUp();

    // Commands.
    void RunCommand(int cmd);
    bool CommandAvailable(int cmd) const;
    void EnableGameCommands(bool flag);
    void EnableCommands(bool flag);
    void SetItemEnabled(int cmd, bool flag);
    void SetItemChecked(int cmd, bool flag);
    void SetItemVisible(int cmd, bool flag);

    // Progress (opening, cutting, saving).
    void ShowProgress(const std::string& text, int steps) override;
    void StepProgress() override;
    void HideProgress() override;
    bool ProgressUp() const { return m_progressUp; }

    // Settings hooks.
    bool ApplyLanguageFile(const std::string& path) override;
    bool IsFullScreen() const override { return m_fullScreen; }
    void ToggleFullScreen() override;
    void ShowFullScreenState(bool on) override;
    void RecentFilesLoaded(const std::vector<TRecentFile>& files) override;

    // Field.
    void ShowSide(int side);
    void FlushFieldUpdate();
    void RequestFullRedraw();
    void FieldMouseDown(int x, int y, Qt::MouseButton button, Qt::KeyboardModifiers mods);
    void FieldMouseMove(int x, int y, Qt::MouseButtons buttons, Qt::KeyboardModifiers mods);
    void FieldMouseUp(int x, int y, Qt::MouseButton button, Qt::KeyboardModifiers mods);

    // Toolbar.
    void LayoutToolbar();
    void DrawToolButton(int slot, bool hot);
    void ToolMouseMove(int slot, bool leftHeld);
    void ToolMouseDown(int slot);
    void ToolMouseUp();
    void ToolbarPanelMove();
    void ToolbarPanelPress(int x, int y);
    void ToolbarPanelRelease(int x, int y);

    // The close query: the save-changes question (when one is installed), then
    // the settings file. Returns whether the window may close.
    bool FormCloseQuery();

    // Installed by the saved-games part: asks whether to save a changed game;
    // false keeps the window open.
    std::function<bool()> QuerySaveChanges;
    // Installed by the piece-handling part: field mouse events with the button
    // (0 left, 1 right), the shift set (1 Shift, 2 Alt, 4 Ctrl) and the point;
    // fromWheel marks the presses the wheel makes (a press alone). Without them the field only
    // shows hover on window buttons.
    std::function<void(int button, uint8_t shift, int x, int y, bool fromWheel)> PieceMouseDown;
    std::function<void(uint8_t shift, int x, int y, bool buttonHeld)> PieceMouseMove;
    std::function<void(int button, uint8_t shift, int x, int y, bool fromWheel)> PieceMouseUp;
    // Installed by the saved-games part: writes the autosave.
    std::function<void()> AutoSaveGame;

    // What the program and the tests look at.
    TGame Game;
    TPlayWindows Wins;
    TFieldView View;
    TFieldLayers Layers;
    TToolbar Toolbar;
    TMenuState Menu;
    TKeyGate Keys;
    TSettings Settings;
    TAppPaths Paths;
    std::unique_ptr<TLanguage> Lang;
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
    QTimer* T_Redraw = nullptr;
    QCursor DragCursor1;  // dragging pieces
    QCursor DragCursor2;  // panning a window's content
    TMyBitmap ToolbarSkin;
    TMyBitmap StarImage;
    TMyBitmap WeightImage;
    int FieldW = 0, FieldH = 0;
    bool StartedUp = false;
    double LastAutoSave = 0;
    // Commands run (for the tests and the system report's curious reader).
    std::vector<int> CommandLog;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void CreateMenu();
    void CreateToolbar();
    void CreateProgressPanel();
    void PaintToolbarSkin();
    void ApplyTexts(const TLanguage& lang);
    void RefreshAction(int cmd);
    void FormResize();
    void FullScreenClick();
    void AutoSaveTimer();
    void PopUpMenu();
    void ShowAbout();
    QString ItemCaption(int cmd) const;

    Platform& m_platform;
    TLangApplyRegistry::Handle m_langHandle;
    std::array<bool, kMenuCmdCount> m_available{};
    bool m_fullScreen = false;
    bool m_suppressResize = false;
    bool m_progressUp = false;
    int m_progressSteps = 0;
    int m_progressDone = 0;
    QRect m_normalBounds;
};

// Where the quick-help window goes: left = main left + main width − help
// width − 10; top = main top + (main height − help height) div 2.
QPoint QuickHelpPlace(const QRect& mainFrame, const QSize& helpSize);

// The key code and shift state the menu uses for a Qt key event.
uint16_t MenuKeyCode(int qtKey);
uint8_t MenuShiftState(Qt::KeyboardModifiers mods);

}  // namespace orvel
