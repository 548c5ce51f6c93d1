#include "app/forms/MainWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QWheelEvent>
#include <cstring>

#include "app/forms/AboutOrvelZent.h"
#include "app/forms/ColorPickerForm.h"
#include "app/forms/InfoForms.h"
#include "app/forms/OptionsForm.h"
#include "download/forms/DownloadForm.h"

namespace orvel {

QImage ToQImage(const TMyBitmap& bmp) {
    if (bmp.Width == 0) return {};
    QImage img(bmp.Width, bmp.Height,
               bmp.BytesPerPixel == 4 ? QImage::Format_ARGB32 : QImage::Format_BGR888);
    const int rowBytes = bmp.Width * bmp.BytesPerPixel;
    for (int y = 0; y < bmp.Height; ++y) std::memcpy(img.scanLine(y), RowPtr(bmp, y), rowBytes);
    return img;
}

namespace {

QCursor LoadCursor(const std::string& path, Qt::CursorShape fallback, int hotX, int hotY) {
    QPixmap pix(QString::fromStdString(path));
    if (pix.isNull()) return QCursor(fallback);
    return QCursor(pix, hotX, hotY);
}

// 0 left, 1 right, 2 middle: the piece handling's button numbers.
int PieceButton(Qt::MouseButton b) {
    if (b == Qt::RightButton) return 1;
    if (b == Qt::MiddleButton) return 2;
    return 0;
}

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

}  // namespace

// ----------------------------------------------------------------- field image

TFieldImage::TFieldImage(TF_Main& owner, QWidget* parent) : QWidget(parent), m_owner(owner) {
    setObjectName("I_Field");
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
}

void TFieldImage::ShowRect(const TMyBitmap& field, const TMyRect& rect) {
    if (field.Width == 0) return;
    if (m_picture.width() != field.Width || m_picture.height() != field.Height) {
        m_picture = QImage(field.Width, field.Height, QImage::Format_BGR888);
        m_picture.fill(QColor(0x98, 0x98, 0x98));
    }
    TMyRect all, part;
    SetPosSize(all, 0, 0, field.Width, field.Height);
    if (!IntersectRect(rect, all, &part)) return;
    // The buffer's rows run bottom-up; the picture's top-down.
    for (int y = part.Top; y <= part.Bottom; ++y)
        std::memcpy(m_picture.scanLine(y) + part.Left * 3, RowPtr(field, y) + part.Left * 3,
                    static_cast<size_t>(part.Width) * 3);
    if (isVisible()) repaint(part.Left, part.Top, part.Width, part.Height);
}

void TFieldImage::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    const QRect r = event->rect();
    if (m_picture.isNull()) {
        p.fillRect(r, QColor(0x98, 0x98, 0x98));
        return;
    }
    p.drawImage(r, m_picture, r);
}

void TFieldImage::mousePressEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    if (MouseEnabled)
        m_owner.App.FieldMouseDown(p.x(), p.y(), PieceButton(event->button()),
                                   MenuShiftState(event->modifiers()));
}

void TFieldImage::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    if (MouseEnabled)
        m_owner.App.FieldMouseMove(p.x(), p.y(), event->buttons() != Qt::NoButton,
                                   MenuShiftState(event->modifiers()));
}

void TFieldImage::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    if (MouseEnabled)
        m_owner.App.FieldMouseUp(p.x(), p.y(), PieceButton(event->button()),
                                 MenuShiftState(event->modifiers()));
}

// ----------------------------------------------------------------- toolbar widgets

TToolButtonImage::TToolButtonImage(TF_Main& owner, int slot, QWidget* parent)
    : QWidget(parent), m_owner(owner), m_slot(slot) {
    setObjectName(ToolSlots()[slot].Name);
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(0, 0, kToolImageSize, kToolImageSize);
}

void TToolButtonImage::SetPicture(const QImage& image) {
    m_picture = image;
    update();
}

void TToolButtonImage::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (!m_picture.isNull()) p.drawImage(0, 0, m_picture);
}

void TToolButtonImage::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) m_owner.App.ToolMouseDown(m_slot);
}

void TToolButtonImage::mouseMoveEvent(QMouseEvent* event) {
    m_owner.App.ToolMouseMove(m_slot, (event->buttons() & Qt::LeftButton) != 0);
}

void TToolButtonImage::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) m_owner.App.ToolMouseUp();
}

TToolbarPanel::TToolbarPanel(TF_Main& owner, QWidget* parent) : QWidget(parent), m_owner(owner) {
    setObjectName("P_Toolbar");
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TToolbarPanel::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    if (Background.isNull()) {
        p.fillRect(event->rect(), QColor(0x2a, 0x25, 0x22));
        return;
    }
    p.drawImage(event->rect(), Background, event->rect());
}

void TToolbarPanel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        m_owner.App.ToolbarPanelPress(event->position().toPoint().x(),
                                      event->position().toPoint().y());
}

void TToolbarPanel::mouseMoveEvent(QMouseEvent*) {
    m_owner.App.ToolbarPanelMove();
}

void TToolbarPanel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        m_owner.App.ToolbarPanelRelease(event->position().toPoint().x(),
                                        event->position().toPoint().y());
}

// ----------------------------------------------------------------- creation

TF_Main::TF_Main(Platform& platform, const TPlatformFolders& folders, QWidget* parent,
                 TAppOptions options)
    : QWidget(parent), App(platform, folders, std::move(options)), m_platform(platform) {
    setObjectName("F_Main");
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(kMinWindowW, kMinWindowH);
    QFont font("DejaVu Sans");
    font.setPixelSize(12);
    setFont(font);
    setWindowTitle(kAppTitle);
    const TBounds start = App.NormalBounds();
    setGeometry(start.X, start.Y, start.W, start.H);
    CreatePanels();
    CreateMenu();
    CreateToolbar();
    const std::string res = App.Paths.AppDir + "resources";
    DragCursor1 = LoadCursor(res + "/dragaaa.png", Qt::ClosedHandCursor, 16, 14);
    DragCursor2 = LoadCursor(res + "/dragbbb.png", Qt::OpenHandCursor, 16, 14);
    T_AutoSave = new QTimer(this);
    T_AutoSave->setObjectName("T_AutoSave");
    T_AutoSave->setInterval(kAutoSaveTickMs);
    connect(T_AutoSave, &QTimer::timeout, this, [this] { App.AutoSaveTick(); });
    App.AttachView(this);
    ShowWholeState();
    if (QScreen* screen = QGuiApplication::primaryScreen())
        connect(screen, &QScreen::availableGeometryChanged, this,
                [this] { App.WorkAreaChanged(); });
}

TF_Main::~TF_Main() {
    if (I_Field) I_Field->MouseEnabled = false;
    App.AttachView(nullptr);
}

void TF_Main::StartUp() {
    App.StartUp();
}

void TF_Main::CreatePanels() {
    P_Toolbar = new TToolbarPanel(*this, this);
    P_Field = new QWidget(this);
    P_Field->setObjectName("P_Field");
    I_Field = new TFieldImage(*this, P_Field);
    CreateProgressPanel();
}

void TF_Main::CreateMenu() {
    PM_Menu = new QMenu(this);
    PM_Menu->setObjectName("PM_Menu");
    // The menu wears the toolbar's colours.
    setStyleSheet(
        "QMenu { background: #2a2522; color: #f6ead7; border: 1px solid #b04326; padding: 3px; }"
        "QMenu::item { padding: 4px 22px 4px 22px; }"
        "QMenu::item:selected { background: #e86a3c; color: #fffaf0; }"
        "QMenu::item:disabled { color: #746b64; }"
        "QMenu::separator { height: 1px; background: #4a423c; margin: 3px 6px; }"
        "QMenu::indicator { width: 12px; height: 12px; left: 5px; }"
        "QMenu::indicator:checked { background: #ff522b; border: 1px solid #f6ead7; }"
        "QToolTip { background: #2a2522; color: #f6ead7; border: 1px solid #e86a3c; }");
    for (const TMenuItemDef& d : MenuItems()) {
        QMenu* into = d.Parent < 0 ? PM_Menu : SubMenus[d.Parent];
        if (d.SeparatorBefore) into->addSeparator();
        QAction* action = nullptr;
        if (d.Cmd == MI_FileLastSep) {
            action = into->addSeparator();
        } else if (d.Cmd == MI_File || d.Cmd == MI_Game || d.Cmd == MI_Pockets ||
                   d.Cmd == MI_Help) {
            SubMenus[d.Cmd] = into->addMenu(d.Caption);
            SubMenus[d.Cmd]->setObjectName(d.Name);
            action = SubMenus[d.Cmd]->menuAction();
        } else {
            action = into->addAction(d.Caption);
            const int cmd = d.Cmd;
            // Shortcuts are shown, not bound: commands fire on key release (keyReleaseEvent).
            connect(action, &QAction::triggered, this, [this, cmd] { App.RunCommand(cmd); });
        }
        action->setObjectName(d.Name);
        Actions[d.Cmd] = action;
    }
    for (int cmd :
         {MI_GameWin1, MI_GameWin2, MI_GameThumb, MI_GameGlass, MI_GameWeight, MI_PocketsPocket1,
          MI_PocketsPocket2, MI_PocketsPocket3, MI_PocketsPocket4, MI_FullScreen})
        Actions[cmd]->setCheckable(true);
}

void TF_Main::CreateToolbar() {
    for (int slot = 0; slot < kToolSlotCount; ++slot)
        ToolButtons[slot] = new TToolButtonImage(*this, slot, P_Toolbar);
    if (App.ToolbarSkin.Width > 0) {
        TMyBitmap icon;
        BuildToolImage(icon, App.ToolbarSkin, ToolSlots()[BI_App].Image, 1);
        setWindowIcon(QIcon(QPixmap::fromImage(ToQImage(icon))));
    }
}

void TF_Main::CreateProgressPanel() {
    P_Progress = new QWidget(P_Field);
    P_Progress->setObjectName("P_Progress");
    P_Progress->resize(kProgressPanelW, kProgressPanelH);
    I_ProgressBkg = new QLabel(P_Progress);
    I_ProgressBkg->setObjectName("I_ProgressBkg");
    I_ProgressBarEmpty = new QLabel(P_Progress);
    I_ProgressBarEmpty->setObjectName("I_ProgressBarEmpty");
    I_ProgressBar = new QLabel(P_Progress);
    I_ProgressBar->setObjectName("I_ProgressBar");
    I_ProgressBar->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    L_Progress = new QLabel(P_Progress);
    L_Progress->setObjectName("L_Progress");
    L_Progress->setGeometry(20, 18, 360, 28);
    L_Progress->setAlignment(Qt::AlignCenter);
    QPalette pal = L_Progress->palette();
    pal.setColor(QPalette::WindowText, QColor(0xf6, 0xea, 0xd7));
    L_Progress->setPalette(pal);
    QFont f = L_Progress->font();
    f.setBold(true);
    f.setPixelSize(14);
    L_Progress->setFont(f);
    P_Progress->hide();
    PaintToolbarSkin();
}

void TF_Main::PaintToolbarSkin() {
    const TMyBitmap& skin = App.Wins.WinSkin;
    TMyBitmap bg;
    BuildToolbarBackground(bg, skin, Max(m_platform.GetScreenMetrics().ScreenW, 1), kToolbarHeight);
    P_Toolbar->Background = ToQImage(bg);
    const int w = P_Progress->width();
    TMyBitmap panel, empty, full;
    BuildProgressBackground(panel, skin, w);
    I_ProgressBkg->setPixmap(QPixmap::fromImage(ToQImage(panel)));
    I_ProgressBkg->setGeometry(0, 0, w, kProgressPanelH);
    const int g = w - 70;
    BuildProgressBar(empty, skin, g, false, &panel, 35, 56);
    BuildProgressBar(full, skin, g, true, &panel, 35, 56);
    I_ProgressBarEmpty->setPixmap(QPixmap::fromImage(ToQImage(empty)));
    I_ProgressBarEmpty->setGeometry(35, 56, g, 20);
    I_ProgressBar->setPixmap(QPixmap::fromImage(ToQImage(full)));
    I_ProgressBar->setGeometry(35, 56, g, 20);
}

// The core was made before the widgets: they take its whole state once.
void TF_Main::ShowWholeState() {
    App.Resize(width(), height());
    for (int cmd = 0; cmd < kMenuCmdCount; ++cmd) MenuItemChanged(cmd);
    for (int slot = 0; slot < kToolSlotCount; ++slot) ToolButtonChanged(slot, false);
    ToolbarPlaced();
}

// ----------------------------------------------------------------- what the core shows

void TF_Main::ShowWindow() {
    I_Field->MouseEnabled = true;
    show();
}

void TF_Main::LayoutChanged(const TMainLayout& layout) {
    P_Toolbar->setGeometry(0, 0, layout.Width, kToolbarHeight);
    P_Field->setGeometry(0, layout.FieldTop, layout.FieldW, layout.FieldH);
    I_Field->setGeometry(0, 0, layout.FieldW, layout.FieldH);
    P_Progress->move(layout.ProgressLeft, layout.ProgressTop);
}

void TF_Main::FieldChanged(const TMyBitmap& field, const TMyRect& rect) {
    I_Field->ShowRect(field, rect);
}

void TF_Main::MenuItemChanged(int cmd) {
    QAction* a = Actions[cmd];
    if (a == nullptr) return;
    const TMenuState& menu = App.Menu();
    const TMenuItemDef& d = MenuItems()[cmd];
    QString text = Q(menu.Captions[cmd]);
    const std::string keys = ShortcutText(d.Key, d.Shift);
    if (!keys.empty()) text += "\t" + Q(keys);
    if (!a->isSeparator()) a->setText(text);
    a->setEnabled(menu.Enabled[cmd]);
    a->setChecked(menu.Checked[cmd]);
    a->setVisible(menu.Visible[cmd]);
    // A caption that follows the current window carries its button's hint along.
    for (int slot = 0; slot < kToolSlotCount; ++slot)
        if (ToolButtons[slot] != nullptr && App.Toolbar().Buttons[slot].Item == cmd)
            ToolButtons[slot]->setToolTip(Q(App.ToolHint(slot)));
}

void TF_Main::TextsChanged() {
    for (int cmd = 0; cmd < kMenuCmdCount; ++cmd) MenuItemChanged(cmd);
    for (int slot = 0; slot < kToolSlotCount; ++slot)
        ToolButtons[slot]->setToolTip(Q(App.ToolHint(slot)));
    HelpTextsChanged();
}

void TF_Main::ToolButtonChanged(int slot, bool hot) {
    if (ToolButtons[slot] == nullptr) return;
    TMyBitmap img;
    App.ToolImage(slot, hot, img);
    ToolButtons[slot]->SetPicture(ToQImage(img));
}

void TF_Main::ToolbarPlaced() {
    for (int slot = 0; slot < kToolSlotCount; ++slot) {
        const TToolButton& b = App.Toolbar().Buttons[slot];
        const int shift = b.Shifted ? 1 : 0;
        ToolButtons[slot]->setGeometry(b.Left + shift, b.Top + shift, b.Width, b.Height);
        ToolButtons[slot]->setVisible(b.Visible);
    }
}

void TF_Main::ProgressShown(const std::string& text) {
    I_ProgressBar->setFixedWidth(0);
    I_ProgressBar->setVisible(false);
    L_Progress->setText(Q(text));
    P_Progress->show();
    P_Progress->raise();
}

void TF_Main::ProgressStepped(int done, int steps) {
    const int w =
        static_cast<int>(static_cast<int64_t>(done) * I_ProgressBarEmpty->width() / Max(steps, 1));
    I_ProgressBar->setFixedWidth(w);
    I_ProgressBar->setVisible(w > 0);
}

void TF_Main::ProgressHidden() {
    P_Progress->hide();
}

void TF_Main::AutoSaveTimerStarted() {
    T_AutoSave->start();
}

TBounds TF_Main::WindowBounds() const {
    const QRect g = geometry();
    return {g.x(), g.y(), g.width(), g.height()};
}

void TF_Main::ApplyWindowState(bool fullScreen, const TBounds& bounds) {
    setMinimumSize(0, 0);
    // The desktop's own full-screen state (no caption, border or frame), and
    // the bounds as well for desktops without a window manager to apply it.
    if (fullScreen) {
        showFullScreen();
    } else {
        showNormal();
    }
    setGeometry(bounds.X, bounds.Y, bounds.W, bounds.H);
    setMinimumSize(kMinWindowW, kMinWindowH);
}

void TF_Main::Minimize() {
    showMinimized();
}

void TF_Main::RequestClose() {
    close();
}

void TF_Main::PopUpMenu(int x, int y) {
    PM_Menu->popup(P_Toolbar->mapToGlobal(QPoint(x, y)));
}

void TF_Main::ShowAbout(const std::string& caption) {
    TF_AboutOrvelZent about(App.Paths.AppDir + "resources", this);
    about.MakeAboutBox(Q(caption));
    about.exec();
}

void TF_Main::ResizeClient(int width, int height) {
    if (!isMaximized() && !isFullScreen()) resize(width, height);
}

DirResult TF_Main::ShowDirView(TDirView& dirView) {
    if (!F_DirView)
        F_DirView = std::make_unique<TF_DirView>(dirView, *App.Lang, App.Paths.AppDir + "resources", this);
    return F_DirView->Run();
}

void TF_Main::ShowInfo(const TInfoForm& form) {
    TF_Info info(form, this);
    info.exec();
}

bool TF_Main::ShowFinish(const TFinishForm& form) {
    TF_Finish finish(form, this);
    return finish.exec() == QDialog::Accepted;
}

bool TF_Main::FieldCursor(int& x, int& y) const {
    const QPoint p = I_Field->mapFromGlobal(QCursor::pos());
    x = p.x();
    y = p.y();
    return true;
}

bool TF_Main::ShowOptions(TOptionsDialog& dialog) {
    TF_Options options(dialog, m_platform, [this](TColorPicker& p) { return ShowColorPicker(p); },
                       this);
    return options.exec() == QDialog::Accepted;
}

bool TF_Main::ShowColorPicker(TColorPicker& picker) {
    TF_ColorPicker dialog(picker, *App.Lang, App.Paths.BkgPicsDir, this);
    return dialog.exec() == QDialog::Accepted;
}

void TF_Main::ShowDownload(TDownloader& downloader) {
    if (!m_downloadForm) m_downloadForm = std::make_unique<TF_Download>(downloader, *App.Lang, m_platform, this);
    m_downloadForm->Run();
}

// ----------------------------------------------------------------- events

void TF_Main::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    App.Resize(width(), height());
}

uint16_t MenuKeyCode(int qtKey) {
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) ||
        qtKey == Qt::Key_Space)
        return static_cast<uint16_t>(qtKey);
    // Modifier keys are keys too: pressing one makes it the key last pressed,
    // releasing one while another key is held cancels that key's command.
    if (qtKey == Qt::Key_Shift) return 0x10;
    if (qtKey == Qt::Key_Control) return 0x11;
    if (qtKey == Qt::Key_Alt) return 0x12;
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12)
        return static_cast<uint16_t>(kKeyF1 + (qtKey - Qt::Key_F1));
    // Other keys never match a shortcut; they still count as "the key last pressed".
    return static_cast<uint16_t>(0x8000 | (qtKey & 0x7FFF));
}

uint8_t MenuShiftState(Qt::KeyboardModifiers mods) {
    uint8_t s = 0;
    if (mods & Qt::ShiftModifier) s |= kShiftBit;
    if (mods & Qt::AltModifier) s |= kAltBit;
    if (mods & Qt::ControlModifier) s |= kCtrlBit;
    return s;
}

void TF_Main::keyPressEvent(QKeyEvent* event) {
    if (!event->isAutoRepeat()) App.KeyDown(MenuKeyCode(event->key()));
}

void TF_Main::keyReleaseEvent(QKeyEvent* event) {
    if (!event->isAutoRepeat())
        App.KeyUp(MenuKeyCode(event->key()), MenuShiftState(event->modifiers()));
}

void TF_Main::wheelEvent(QWheelEvent* event) {
    event->accept();
    const QPoint p = I_Field->mapFromGlobal(event->globalPosition().toPoint());
    App.Wheel(p.x(), p.y(), event->angleDelta().y());
}

void TF_Main::closeEvent(QCloseEvent* event) {
    if (App.CloseRequest()) {
        T_AutoSave->stop();
        event->accept();
    } else {
        event->ignore();
    }
}

QPoint QuickHelpPlace(const QRect& mainFrame, const QSize& helpSize) {
    return QPoint(mainFrame.left() + mainFrame.width() - helpSize.width() - 10,
                  mainFrame.top() + (mainFrame.height() - helpSize.height()) / 2);
}

}  // namespace orvel
