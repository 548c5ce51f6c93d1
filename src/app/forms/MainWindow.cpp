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
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "app/forms/AboutOrvelZent.h"
#include "game/GameModel.h"
#include "graphics/ImageCodecs.h"
#include "base/IoError.h"

namespace orvel {

namespace {

// A pocket's caption: the language's "PocketCaption" with the pocket number
// 1..4 and the number of groups in it.
std::string PocketCaption(const TLanguage& lang, int pocket, int groups) {
    return FormatText(lang.LookUp(LangSection::Pocket, "PocketCaption"),
                      {std::to_string(pocket), std::to_string(groups)});
}

// The vendor's two web addresses.
constexpr const char* kVendorSites[2] = {"https://www1.orvel-jigsaw.example",
                                         "https://www2.orvel-jigsaw.example"};

QImage ToQImage(const TMyBitmap& bmp) {
    if (bmp.Width == 0) return {};
    QImage img(bmp.Width, bmp.Height,
               bmp.BytesPerPixel == 4 ? QImage::Format_ARGB32 : QImage::Format_BGR888);
    const int rowBytes = bmp.Width * bmp.BytesPerPixel;
    for (int y = 0; y < bmp.Height; ++y) std::memcpy(img.scanLine(y), RowPtr(bmp, y), rowBytes);
    return img;
}

QCursor LoadCursor(const std::string& path, Qt::CursorShape fallback, int hotX, int hotY) {
    QPixmap pix(QString::fromStdString(path));
    if (pix.isNull()) return QCursor(fallback);
    return QCursor(pix, hotX, hotY);
}

QString StripAccel(QString s) {
    s.remove('&');
    return s;
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
    if (MouseEnabled)
        m_owner.FieldMouseDown(event->position().toPoint().x(), event->position().toPoint().y(),
                               event->button(), event->modifiers());
}

void TFieldImage::mouseMoveEvent(QMouseEvent* event) {
    if (MouseEnabled)
        m_owner.FieldMouseMove(event->position().toPoint().x(), event->position().toPoint().y(),
                               event->buttons(), event->modifiers());
}

void TFieldImage::mouseReleaseEvent(QMouseEvent* event) {
    if (MouseEnabled)
        m_owner.FieldMouseUp(event->position().toPoint().x(), event->position().toPoint().y(),
                             event->button(), event->modifiers());
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
    if (event->button() == Qt::LeftButton) m_owner.ToolMouseDown(m_slot);
}

void TToolButtonImage::mouseMoveEvent(QMouseEvent* event) {
    m_owner.ToolMouseMove(m_slot, (event->buttons() & Qt::LeftButton) != 0);
}

void TToolButtonImage::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) m_owner.ToolMouseUp();
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
        m_owner.ToolbarPanelPress(event->position().toPoint().x(), event->position().toPoint().y());
}

void TToolbarPanel::mouseMoveEvent(QMouseEvent*) {
    m_owner.ToolbarPanelMove();
}

void TToolbarPanel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        m_owner.ToolbarPanelRelease(event->position().toPoint().x(),
                                    event->position().toPoint().y());
}

// ----------------------------------------------------------------- creation

TF_Main::TF_Main(Platform& platform, const TPlatformFolders& folders, QWidget* parent)
    : QWidget(parent), m_platform(platform) {
    setObjectName("F_Main");
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(500, 500);

    // 1. Not busy; the window font.
    Game.Busy = false;
    QFont font("DejaVu Sans");
    font.setPixelSize(12);
    setFont(font);

    // 2. Interaction state, folders and file names, the random generator.
    Paths = SetUpFolders(folders);
    SeedRandomAtStart(Game, m_platform);
    Lang = std::make_unique<TLanguage>(&m_platform, Paths.LanguageDir);

    // 3. Skins: toolbar, window, glass; star and weight.
    const std::string res = Paths.AppDir + "resources";
    (void)LoadPngResource(ToolbarSkin, res, "toolbar");
    (void)LoadPngResource(Wins.WinSkin, res, "skin");
    (void)LoadPngResource(Wins.GlassSkin, res, "glass");
    (void)LoadPngResource(StarImage, res, "star");
    (void)LoadPngResource(WeightImage, res, "weight");

    // 4. Not in full screen; the window takes the work area's normal size; the field buffers.
    const ScreenMetrics sm = m_platform.GetScreenMetrics();
    const int workW = sm.WorkArea.Right - sm.WorkArea.Left + 1,
              workH = sm.WorkArea.Bottom - sm.WorkArea.Top + 1;
    m_normalBounds =
        QRect(sm.WorkArea.Left + sm.FrameW, sm.WorkArea.Top + sm.FrameH + sm.CaptionH,
              Max(500, workW - 2 * sm.FrameW), Max(500, workH - 2 * sm.FrameH - sm.CaptionH));
    setGeometry(m_normalBounds);
    P_Toolbar = new TToolbarPanel(*this, this);
    P_Field = new QWidget(this);
    P_Field->setObjectName("P_Field");
    I_Field = new TFieldImage(*this, P_Field);
    SizeField(View, Max(sm.ScreenW, 1), Max(sm.ScreenH, 1), kDefaultBackground);
    View.Invalidate = [this](const TMyRect& r) { I_Field->ShowRect(View.Field, r); };
    CreateProgressPanel();

    // 5. The play windows and the glass, then the stacking order.
    // The thumbnail starts with its designed caption; a language replaces it when applied.
    std::array<std::string, 4> pocketCaptions;
    for (int k = 0; k < 4; ++k) pocketCaptions[k] = PocketCaption(*Lang, k + 1, 0);
    CreatePlayWindows(Wins, m_platform, pocketCaptions, "Thumbnail");
    const MenuCmd winItems[kPlayWindowCount] = {
        MI_GameWin1,       MI_GameWin2,       MI_PocketsPocket1, MI_PocketsPocket2,
        MI_PocketsPocket3, MI_PocketsPocket4, MI_GameThumb};
    for (int i = 0; i < kPlayWindowCount; ++i) Wins.Wins[i].MenuItem = winItems[i];
    Wins.Glass.MenuItem = MI_GameGlass;

    // 6. Menu, recent-file items disabled; the toolbar.
    m_available.fill(false);
    for (int cmd :
         {MI_Menu, MI_File, MI_Game, MI_Pockets, MI_Help, MI_GameWin1, MI_GameWin2, MI_HelpCont,
          MI_HelpHomePage, MI_HelpProductHomePage, MI_HelpAbout, MI_FullScreen, MI_Min, MI_Exit})
        m_available[cmd] = true;
    CreateMenu();
    for (int k = MI_FileLast0; k <= MI_FileLast3; ++k) {
        SetItemEnabled(k, false);
        SetItemVisible(k, false);
    }
    CreateToolbar();
    if (ToolbarSkin.Width > 0) {
        TMyBitmap icon;
        BuildToolImage(icon, ToolbarSkin, ToolSlots()[BI_App].Image, 1);
        setWindowIcon(QIcon(QPixmap::fromImage(ToQImage(icon))));
    }

    // 7. Cursors; the recent-files separator.
    DragCursor1 = LoadCursor(res + "/dragaaa.png", Qt::ClosedHandCursor, 16, 14);
    DragCursor2 = LoadCursor(res + "/dragbbb.png", Qt::OpenHandCursor, 16, 14);
    SetItemVisible(MI_FileLastSep, true);

    // 8. No game yet: every command needing one is off.
    EnableGameCommands(false);
    SetItemEnabled(MI_FileSaveImage, false);
    SetItemEnabled(MI_GameArrange, false);
    Toolbar.EnableToolButton(BI_Arrange, false);
    // Commands whose windows are not part of this program yet stay off.
    for (int cmd = 0; cmd < kMenuCmdCount; ++cmd)
        if (!m_available[cmd]) SetItemEnabled(cmd, false);
    for (int slot = 0; slot < kToolSlotCount; ++slot)
        if (!m_available[Toolbar.Buttons[slot].Item]) Toolbar.EnableToolButton(slot, false);

    // 9. Caption; autosave flags.
    setWindowTitle(kAppTitle);
    Game.Modified = Game.ModifiedSinceAutosave = false;

    // 10. The field fully dirty, the first side shown, the redraw timer on.
    T_AutoSave = new QTimer(this);
    T_AutoSave->setObjectName("T_AutoSave");
    T_AutoSave->setInterval(5000);
    connect(T_AutoSave, &QTimer::timeout, this, [this] { AutoSaveTimer(); });
    T_Redraw = new QTimer(this);
    T_Redraw->setObjectName("T_Redraw");
    T_Redraw->setInterval(10);
    connect(T_Redraw, &QTimer::timeout, this, [] {});
    RequestFullRedraw();
    ShowSide(0);
    T_Redraw->start();

    m_langHandle = Lang->Forms().Register(LangApplyOrder::MainForm, "F_Main",
                                          [this](const TLanguage& lang) { ApplyTexts(lang); });
    if (QScreen* screen = QGuiApplication::primaryScreen())
        connect(screen, &QScreen::availableGeometryChanged, this, [this] {
            if (!m_fullScreen) FormResize();
        });
}

TF_Main::~TF_Main() {
    if (I_Field) I_Field->MouseEnabled = false;
    m_langHandle.Reset();
    // The entry scratch file holds the last unpacked picture or text; it goes with the program.
    std::error_code ec;
    if (!Paths.EntryScratchFile.empty()) std::filesystem::remove(Paths.EntryScratchFile, ec);
    Paths.DistList.clear();
    Paths.CatalogueList.clear();
}

void TF_Main::StartUp() {
    LayoutToolbar();
    I_Field->MouseEnabled = true;
    show();
    StartedUp = true;
    FormResize();
    LoadSettings(Settings,
                 TSettingsPaths{Paths.UserDataDir, Paths.JigsawsDir, Paths.SavedGamesDir,
                                Paths.LanguageDir, Paths.ThumbDir, Paths.FirstStart},
                 *this);
    FormResize();
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
            connect(action, &QAction::triggered, this, [this, cmd] { RunCommand(cmd); });
        }
        action->setObjectName(d.Name);
        Actions[d.Cmd] = action;
    }
    for (int cmd :
         {MI_GameWin1, MI_GameWin2, MI_GameThumb, MI_GameGlass, MI_GameWeight, MI_PocketsPocket1,
          MI_PocketsPocket2, MI_PocketsPocket3, MI_PocketsPocket4, MI_FullScreen})
        Actions[cmd]->setCheckable(true);
    Menu.Visible[MI_Menu] = false;
    for (int cmd = 0; cmd < kMenuCmdCount; ++cmd) RefreshAction(cmd);
}

QString TF_Main::ItemCaption(int cmd) const {
    return QString::fromStdString(Menu.Captions[cmd]);
}

void TF_Main::RefreshAction(int cmd) {
    QAction* a = Actions[cmd];
    if (a == nullptr) return;
    const TMenuItemDef& d = MenuItems()[cmd];
    QString text = ItemCaption(cmd);
    const std::string keys = ShortcutText(d.Key, d.Shift);
    if (!keys.empty()) text += "\t" + QString::fromStdString(keys);
    if (!a->isSeparator()) a->setText(text);
    a->setEnabled(Menu.Enabled[cmd]);
    a->setChecked(Menu.Checked[cmd]);
    a->setVisible(Menu.Visible[cmd]);
}

void TF_Main::SetItemEnabled(int cmd, bool flag) {
    Menu.Enabled[cmd] = flag && m_available[cmd];
    RefreshAction(cmd);
}

void TF_Main::SetItemChecked(int cmd, bool flag) {
    Menu.Checked[cmd] = flag;
    RefreshAction(cmd);
}

void TF_Main::SetItemVisible(int cmd, bool flag) {
    Menu.Visible[cmd] = flag;
    RefreshAction(cmd);
}

bool TF_Main::CommandAvailable(int cmd) const {
    return cmd >= 0 && cmd < kMenuCmdCount && m_available[cmd];
}

void TF_Main::CreateToolbar() {
    Toolbar.Redraw = [this](int slot, bool hot) { DrawToolButton(slot, hot); };
    for (int slot = 0; slot < kToolSlotCount; ++slot) {
        ToolButtons[slot] = new TToolButtonImage(*this, slot, P_Toolbar);
        DrawToolButton(slot, false);
    }
    LayoutToolbar();
}

void TF_Main::CreateProgressPanel() {
    P_Progress = new QWidget(P_Field);
    P_Progress->setObjectName("P_Progress");
    P_Progress->resize(400, 100);
    I_ProgressBkg = new QLabel(P_Progress);
    I_ProgressBkg->setObjectName("I_ProgressBkg");
    I_ProgressBkg->setGeometry(0, 0, 400, 100);
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
    TMyBitmap bg;
    const ScreenMetrics sm = m_platform.GetScreenMetrics();
    BuildToolbarBackground(bg, Wins.WinSkin, Max(sm.ScreenW, 1), kToolbarHeight);
    P_Toolbar->Background = ToQImage(bg);
    const int w = P_Progress->width();
    TMyBitmap panel, empty, full;
    BuildProgressBackground(panel, Wins.WinSkin, w);
    I_ProgressBkg->setPixmap(QPixmap::fromImage(ToQImage(panel)));
    I_ProgressBkg->setGeometry(0, 0, w, 100);
    const int g = w - 70;
    BuildProgressBar(empty, Wins.WinSkin, g, false, &panel, 35, 56);
    BuildProgressBar(full, Wins.WinSkin, g, true, &panel, 35, 56);
    I_ProgressBarEmpty->setPixmap(QPixmap::fromImage(ToQImage(empty)));
    I_ProgressBarEmpty->setGeometry(35, 56, g, 20);
    I_ProgressBar->setPixmap(QPixmap::fromImage(ToQImage(full)));
    I_ProgressBar->setGeometry(35, 56, g, 20);
}

// ----------------------------------------------------------------- texts

void TF_Main::ApplyTexts(const TLanguage& lang) {
    for (const TMenuItemDef& d : MenuItems()) {
        if (d.Cmd == MI_FileLastSep || (d.Cmd >= MI_FileLast0 && d.Cmd <= MI_FileLast3)) continue;
        // The product page's item has always been keyed MI_HelpOrvelHomePage in language files.
        const std::string text =
            lang.LookUp(LangSection::MainForm,
                        d.Cmd == MI_HelpProductHomePage ? "MI_HelpOrvelHomePage" : d.Name);
        Menu.Captions[d.Cmd] = text;
        RefreshAction(d.Cmd);
    }
    for (int slot = 0; slot < kToolSlotCount; ++slot) {
        const TMenuItemDef& d = MenuItems()[Toolbar.Buttons[slot].Item];
        const std::string caption = StripAccel(ItemCaption(d.Cmd)).toStdString();
        ToolButtons[slot]->setToolTip(
            QString::fromStdString(MenuHint(caption, ShortcutText(d.Key, d.Shift))));
    }
    for (int k = 0; k < 4; ++k) {
        TMyWin& p = Wins.Wins[MW_POCKET0 + k];
        SetCaption(p, PocketCaption(lang, k + 1, p.Groups), m_platform);
    }
    SetCaption(Wins.Wins[MW_THUMB], lang.LookUp(LangSection::Thumbnail, "FormCaption"), m_platform);
    RequestFullRedraw();
    FlushFieldUpdate();
}

bool TF_Main::ApplyLanguageFile(const std::string& path) {
    return Lang->LoadAndApply(path);
}

void TF_Main::ShowFullScreenState(bool on) {
    SetItemChecked(MI_FullScreen, on);
    Toolbar.MarkToolDown(BI_FullScreen, on);
}

void TF_Main::ToggleFullScreen() {
    FullScreenClick();
    LayoutToolbar();
}

void TF_Main::RecentFilesLoaded(const std::vector<TRecentFile>& files) {
    for (int k = 0; k < 4; ++k) {
        const int cmd = MI_FileLast0 + k;
        const bool used = k < static_cast<int>(files.size());
        if (used) Menu.Captions[cmd] = RecentFileCaption(k, files[k].Name);
        // Reopening recent files comes with the saved-games part: shown, not yet enabled.
        SetItemVisible(cmd, used);
        SetItemEnabled(cmd, used);
    }
    SetItemVisible(MI_FileLastSep, !files.empty());
}

// ----------------------------------------------------------------- enabling

void TF_Main::EnableGameCommands(bool flag) {
    SetItemEnabled(MI_FileSave, flag);
    SetItemEnabled(MI_FileSaveAs, flag);
    SetItemEnabled(MI_Game, flag);
    SetItemEnabled(MI_Pockets, flag);
    for (int slot : {1, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 15, 16})
        Toolbar.EnableToolButton(slot, flag && m_available[Toolbar.Buttons[slot].Item]);
    if (flag) {
        const bool sides = !Settings.bSingleWin;
        SetItemEnabled(MI_GameWin1, sides);
        SetItemEnabled(MI_GameWin2, sides);
        Toolbar.EnableToolButton(BI_Win1, sides && m_available[MI_GameWin1]);
        Toolbar.EnableToolButton(BI_Win2, sides && m_available[MI_GameWin2]);
    }
}

void TF_Main::EnableCommands(bool flag) {
    EnableGameCommands(flag && Game.GameLoaded);
    SetItemEnabled(MI_FileOpen, flag);
    SetItemEnabled(MI_FileDownload, flag);
    for (int k = 0; k < 4; ++k)
        if (Menu.Visible[MI_FileLast0 + k]) SetItemEnabled(MI_FileLast0 + k, flag);
    SetItemEnabled(MI_FullScreen, flag);
    SetItemEnabled(MI_FileSaveImage, flag && Game.Solved);
    for (int slot : {BI_Open, BI_Download, BI_FullScreen})
        Toolbar.EnableToolButton(slot, flag && m_available[Toolbar.Buttons[slot].Item]);
}

// ----------------------------------------------------------------- progress

void TF_Main::ShowProgress(const std::string& text, int steps) {
    P_Progress->move((P_Field->width() - P_Progress->width()) / 2,
                     (P_Field->height() - P_Progress->height()) / 2);
    m_progressSteps = Max(steps, 1);
    m_progressDone = 0;
    I_ProgressBar->setFixedWidth(0);
    I_ProgressBar->setVisible(false);
    L_Progress->setText(QString::fromStdString(text));
    P_Progress->show();
    P_Progress->raise();
    m_progressUp = true;
    EnableCommands(false);
    m_platform.ProcessEvents();
}

void TF_Main::StepProgress() {
    if (!m_progressUp) return;
    m_progressDone = Min(m_progressDone + 1, m_progressSteps);
    const int w = static_cast<int>(static_cast<int64_t>(m_progressDone) *
                                   I_ProgressBarEmpty->width() / m_progressSteps);
    I_ProgressBar->setFixedWidth(w);
    I_ProgressBar->setVisible(w > 0);
    m_platform.ProcessEvents();
}

void TF_Main::HideProgress() {
    P_Progress->hide();
    m_progressUp = false;
    EnableCommands(true);
}

// ----------------------------------------------------------------- field

void TF_Main::RequestFullRedraw() {
    RequestUpdate(View, FieldUpdate::Whole);
}

void TF_Main::FlushFieldUpdate() {
    FlushField(View, Wins, Layers);
}

void TF_Main::ShowSide(int side) {
    RequestFullRedraw();
    TMyWin& shown = Wins.Wins[side];
    TMyWin& other = Wins.Wins[1 - side];
    SetVisible(Wins, other, false);
    SetVisible(Wins, shown, true);
    BringToFront(Wins, shown);
    SetItemChecked(side == 0 ? MI_GameWin1 : MI_GameWin2, true);
    SetItemChecked(side == 0 ? MI_GameWin2 : MI_GameWin1, false);
    Toolbar.MarkToolDown(side == 0 ? BI_Win1 : BI_Win2, true);
    Toolbar.MarkToolDown(side == 0 ? BI_Win2 : BI_Win1, false);
    Game.CurSide = side;
}

namespace {

// 0 left, 1 right, 2 middle: the piece handling's button numbers.
int PieceButton(Qt::MouseButton b) {
    if (b == Qt::RightButton) return 1;
    if (b == Qt::MiddleButton) return 2;
    return 0;
}

}  // namespace

void TF_Main::FieldMouseDown(int x, int y, Qt::MouseButton button, Qt::KeyboardModifiers mods) {
    if (m_progressUp) return;
    Game.Busy = true;
    if (PieceMouseDown) PieceMouseDown(PieceButton(button), MenuShiftState(mods), x, y, false);
    FlushFieldUpdate();
    Game.Busy = false;
}

void TF_Main::FieldMouseMove(int x, int y, Qt::MouseButtons buttons, Qt::KeyboardModifiers mods) {
    if (m_progressUp) return;
    Game.Busy = true;
    Toolbar.ClearHotTool();
    if (PieceMouseMove) {
        PieceMouseMove(MenuShiftState(mods), x, y, buttons != Qt::NoButton);
    } else if (buttons == Qt::NoButton) {
        HoverField(View, Wins, x, y, m_platform);
    }
    FlushFieldUpdate();
    Game.Busy = false;
}

void TF_Main::FieldMouseUp(int x, int y, Qt::MouseButton button, Qt::KeyboardModifiers mods) {
    if (m_progressUp) return;
    Game.Busy = true;
    if (PieceMouseUp) PieceMouseUp(PieceButton(button), MenuShiftState(mods), x, y, false);
    FlushFieldUpdate();
    Game.Busy = false;
}

// ----------------------------------------------------------------- toolbar

void TF_Main::LayoutToolbar() {
    Toolbar.Layout(width(), m_fullScreen);
    for (int slot = 0; slot < kToolSlotCount; ++slot) {
        const TToolButton& b = Toolbar.Buttons[slot];
        ToolButtons[slot]->setGeometry(b.Left + (b.Shifted ? 1 : 0), b.Top + (b.Shifted ? 1 : 0),
                                       b.Width, b.Height);
        ToolButtons[slot]->setVisible(b.Visible);
    }
}

void TF_Main::DrawToolButton(int slot, bool hot) {
    if (ToolButtons[slot] == nullptr) return;
    TMyBitmap img;
    BuildToolImage(img, ToolbarSkin, Toolbar.Buttons[slot].Image, Toolbar.SourceRow(slot, hot));
    ToolButtons[slot]->SetPicture(ToQImage(img));
}

void TF_Main::ToolMouseMove(int slot, bool leftHeld) {
    Toolbar.MouseMove(slot, leftHeld);
}

void TF_Main::ToolMouseDown(int slot) {
    Toolbar.MouseDown(slot);
    if (Toolbar.HotSlot >= 0) {
        const TToolButton& b = Toolbar.Buttons[Toolbar.HotSlot];
        ToolButtons[Toolbar.HotSlot]->move(b.Left + 1, b.Top + 1);
    }
}

void TF_Main::ToolMouseUp() {
    const int slot = Toolbar.HotSlot;
    const int cmd = Toolbar.MouseUp();
    if (slot >= 0) ToolButtons[slot]->move(Toolbar.Buttons[slot].Left, Toolbar.Buttons[slot].Top);
    if (cmd >= 0) RunCommand(cmd);
}

void TF_Main::ToolbarPanelMove() {
    Toolbar.ClearHotTool();
}

void TF_Main::ToolbarPanelPress(int x, int y) {
    const TToolButton& close = Toolbar.Buttons[BI_Close];
    if (m_fullScreen && x >= close.Left && y <= close.Top + close.Height - 1) {
        Toolbar.MouseMove(BI_Close, false);
        ToolMouseDown(BI_Close);
    }
}

void TF_Main::ToolbarPanelRelease(int x, int y) {
    const TToolButton& close = Toolbar.Buttons[BI_Close];
    if (m_fullScreen && x >= close.Left && y <= close.Top + close.Height - 1 &&
        Toolbar.HotSlot == BI_Close)
        ToolMouseUp();
}

// ----------------------------------------------------------------- commands

void TF_Main::RunCommand(int cmd) {
    if (cmd < 0 || cmd >= kMenuCmdCount || !Menu.Enabled[cmd] || !m_available[cmd]) return;
    CommandLog.push_back(cmd);
    switch (cmd) {
        case MI_Menu:
            PopUpMenu();
            break;
        case MI_GameWin1:
        case MI_GameWin2:
            Game.Busy = true;
            ShowSide(cmd == MI_GameWin1 ? 0 : 1);
            FlushFieldUpdate();
            Game.Busy = false;
            break;
        case MI_HelpCont:
            m_platform.OpenHelp("cont-zent.htm");
            break;
        case MI_HelpHomePage:
        case MI_HelpProductHomePage:
            for (const char* site : kVendorSites)
                m_platform.OpenWithDefault(std::string(site) + "/" +
                                           (cmd == MI_HelpProductHomePage ? "orvel-zent.htm" : ""));
            break;
        case MI_HelpAbout:
            ShowAbout();
            break;
        case MI_FullScreen:
            FullScreenClick();
            break;
        case MI_Min:
            showMinimized();
            break;
        case MI_Exit:
            close();
            break;
        default:
            break;
    }
}

void TF_Main::PopUpMenu() {
    const TToolButton& app = Toolbar.Buttons[BI_App];
    PM_Menu->popup(P_Toolbar->mapToGlobal(QPoint(app.Left, app.Top + app.Height)));
}

void TF_Main::ShowAbout() {
    TF_AboutOrvelZent about(Paths.AppDir + "resources", this);
    about.MakeAboutBox(QString::fromStdString(Lang->LookUp(LangSection::About, "FormCaption")));
    about.exec();
}

void TF_Main::FullScreenClick() {
    m_fullScreen = !m_fullScreen;
    Settings.FullScreen = m_fullScreen;
    SetItemChecked(MI_FullScreen, m_fullScreen);
    Toolbar.MarkToolDown(BI_FullScreen, m_fullScreen);
    m_suppressResize = true;
    setMinimumSize(0, 0);
    if (m_fullScreen) {
        if (!isFullScreen()) m_normalBounds = geometry();
        // The desktop's own full-screen state (no caption, border or frame), and the
        // whole screen as bounds for desktops without a window manager to apply it.
        showFullScreen();
        const ScreenMetrics sm = m_platform.GetScreenMetrics();
        setGeometry(0, 0, sm.ScreenW, sm.ScreenH);
    } else {
        // Back at the normal place, the client as large as the work area allows.
        showNormal();
        const ScreenMetrics sm = m_platform.GetScreenMetrics();
        const int workW = sm.WorkArea.Right - sm.WorkArea.Left + 1,
                  workH = sm.WorkArea.Bottom - sm.WorkArea.Top + 1;
        setGeometry(m_normalBounds.x(), m_normalBounds.y(), workW - 2 * sm.FrameW,
                    workH - 2 * sm.FrameH - sm.CaptionH);
    }
    LayoutToolbar();
    m_suppressResize = false;
    setMinimumSize(500, 500);
    FormResize();
}

void TF_Main::AutoSaveTimer() {
    if (!Game.GameLoaded || !Settings.AutoSave_bEnabled || !Game.ModifiedSinceAutosave || Game.Busy)
        return;
    const double now = m_platform.Now();
    if (now - LastAutoSave < Settings.AutoSave_iIntervalMin / 1440.0) return;
    std::error_code ec;
    if (std::filesystem::exists(Paths.SaveScratchFile, ec)) return;
    if (!AutoSaveGame) return;
    LastAutoSave = now;
    AutoSaveGame();
}

// ----------------------------------------------------------------- events

void TF_Main::FormResize() {
    if (!StartedUp || !isVisible() || m_suppressResize) return;
    P_Toolbar->setGeometry(0, 0, width(), kToolbarHeight);
    P_Field->setGeometry(0, kToolbarHeight, width(), Max(0, height() - kToolbarHeight));
    I_Field->setGeometry(0, 0, P_Field->width(), P_Field->height());
    LayoutToolbar();
    FieldW = Min(P_Field->width(), View.Field.Width);
    FieldH = Min(P_Field->height(), View.Field.Height);
    SetFieldArea(View, FieldW, FieldH);
    for (int s = 0; s < 2; ++s) {
        SetPosSize(Wins.Wins[s].Outer, 0, 0, FieldW, FieldH);
        Relayout(Wins.Wins[s]);
    }
    if (m_progressUp)
        P_Progress->move((P_Field->width() - P_Progress->width()) / 2,
                         (P_Field->height() - P_Progress->height()) / 2);
    RequestFullRedraw();
    FlushFieldUpdate();
}

void TF_Main::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (!StartedUp) {
        P_Toolbar->setGeometry(0, 0, width(), kToolbarHeight);
        P_Field->setGeometry(0, kToolbarHeight, width(), Max(0, height() - kToolbarHeight));
        I_Field->setGeometry(0, 0, P_Field->width(), P_Field->height());
        return;
    }
    FormResize();
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
    if (event->isAutoRepeat()) return;
    const int k = event->key();
    Keys.KeyDown(MenuKeyCode(k), m_progressUp);
}

void TF_Main::keyReleaseEvent(QKeyEvent* event) {
    if (event->isAutoRepeat()) return;
    const int k = event->key();
    const uint16_t key = MenuKeyCode(k);
    if (!Keys.KeyUp(key)) return;
    if (key == kKeySpace) {
        if (Game.GameLoaded && Menu.Enabled[MI_Game] && !Settings.bSingleWin) {
            Game.Busy = true;
            ShowSide(1 - Game.CurSide);
            FlushFieldUpdate();
            Game.Busy = false;
        }
        return;
    }
    const int cmd = FindShortcut(Menu, key, MenuShiftState(event->modifiers()));
    if (cmd >= 0) RunCommand(cmd);
}

void TF_Main::wheelEvent(QWheelEvent* event) {
    event->accept();
    const int delta = event->angleDelta().y();
    if (delta == 0 || !Game.GameLoaded || m_progressUp) return;
    const QPoint p = I_Field->mapFromGlobal(event->globalPosition().toPoint());
    if (!I_Field->rect().contains(p)) return;
    // A press with the buttons the options bind to turning: down clockwise, up
    // counter-clockwise. Only the press: no release follows, so a drag in progress
    // is not dropped by the wheel.
    const bool down = delta < 0;
    const int button = down ? Settings.RotCW_Button : Settings.RotCCW_Button;
    const uint8_t shift = down ? Settings.RotCW_Shift : Settings.RotCCW_Shift;
    Game.Busy = true;
    if (PieceMouseDown) PieceMouseDown(button, shift, p.x(), p.y(), true);
    FlushFieldUpdate();
    Game.Busy = false;
}

bool TF_Main::FormCloseQuery() {
    Game.Busy = true;
    if (Game.GameLoaded && Game.Modified && QuerySaveChanges && !QuerySaveChanges()) {
        Game.Busy = false;
        return false;
    }
    Settings.FullScreen = m_fullScreen;
    try {
        SaveSettings(Settings,
                     TSettingsPaths{Paths.UserDataDir, Paths.JigsawsDir, Paths.SavedGamesDir,
                                    Paths.LanguageDir, Paths.ThumbDir, Paths.FirstStart});
    } catch (const IoError& e) {
        // The window still closes: keeping it open would not make the file writable.
        std::fprintf(stderr, "orvel-jigsaw: %s\n", e.what());
    }
    return true;
}

void TF_Main::closeEvent(QCloseEvent* event) {
    if (FormCloseQuery()) {
        T_AutoSave->stop();
        T_Redraw->stop();
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
