#include "library/forms/DirViewForm.h"

#include <QApplication>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <cstring>

#include "base/Text.h"
#include "graphics/ImageCodecs.h"
#include "library/PiecePreview.h"

namespace orvel {

namespace {

constexpr QRgb kSelectionBlue = qRgb(0, 128, 255);
constexpr int kChoiceFrame = 4;  // B_SelShape and its kind: this much larger on each side
constexpr int kPreviewSide = 176;

QString Q(const std::string& s) { return QString::fromStdString(s); }

QImage ToQImage(const TMyBitmap& bmp) {
    if (bmp.Width <= 0) return {};
    QImage img(bmp.Width, bmp.Height,
               bmp.BytesPerPixel == 4 ? QImage::Format_ARGB32 : QImage::Format_BGR888);
    const int rowBytes = bmp.Width * bmp.BytesPerPixel;
    for (int y = 0; y < bmp.Height; ++y) std::memcpy(img.scanLine(y), RowPtr(bmp, y), rowBytes);
    return img;
}

// The disabled look of a level-page picture: grey and faded.
QImage Greyed(const QImage& image) {
    QImage grey = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < grey.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(grey.scanLine(y));
        for (int x = 0; x < grey.width(); ++x) {
            const int g = (qGray(row[x]) + 2 * 200) / 3;
            row[x] = qRgba(g, g, g, qAlpha(row[x]));
        }
    }
    return grey;
}

// The level page's small pictures for the choices that have no piece shape.
QImage Canvas(int w, int h) {
    QImage img(w, h, QImage::Format_ARGB32);
    img.fill(qRgb(200, 165, 120));
    return img;
}

QImage BorderPicture(bool framed) {
    QImage img = Canvas(84, 64);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(QRect(8, 8, 68, 48), QColor(90, 140, 200));
    p.fillRect(QRect(8, 36, 68, 20), QColor(70, 140, 70));
    if (framed) {
        p.setPen(QPen(QColor(245, 235, 215), 6));
        p.drawRect(QRect(11, 11, 62, 42));
    }
    p.setPen(QPen(QColor(60, 40, 20), 1));
    p.drawRect(QRect(8, 8, 67, 47));
    return img;
}

QImage MixPicture(bool rows) {
    QImage img = Canvas(84, 64);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(60, 40, 20), 1));
    p.setBrush(QColor(235, 215, 170));
    const int scatter[9][3] = {{6, 8, 10},  {40, 4, -20}, {60, 20, 25}, {18, 30, 35}, {44, 38, 5},
                               {8, 46, -15}, {66, 44, 0}, {28, 14, 45}, {52, 26, -30}};
    for (int i = 0; i < 9; ++i) {
        p.save();
        const int x = rows ? 8 + (i % 3) * 24 : scatter[i][0];
        const int y = rows ? 6 + (i / 3) * 19 : scatter[i][1];
        p.translate(x + 7, y + 7);
        if (!rows) p.rotate(scatter[i][2]);
        p.drawRect(-7, -7, 14, 14);
        p.restore();
    }
    return img;
}

QImage RotationPicture() {
    QImage img = Canvas(64, 64);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(60, 40, 20), 4));
    p.drawArc(QRect(14, 14, 36, 36), 30 * 16, 280 * 16);
    QPainterPath head;
    head.moveTo(46, 8);
    head.lineTo(52, 26);
    head.lineTo(34, 22);
    head.closeSubpath();
    p.fillPath(head, QColor(60, 40, 20));
    return img;
}

QImage FitPicture() {
    QImage img = Canvas(64, 64);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(60, 40, 20), 2));
    p.drawRect(QRect(6, 10, 52, 40));
    p.setPen(QPen(QColor(60, 40, 20), 3));
    p.drawLine(16, 30, 48, 30);
    p.drawLine(16, 30, 22, 24);
    p.drawLine(16, 30, 22, 36);
    p.drawLine(48, 30, 42, 24);
    p.drawLine(48, 30, 42, 36);
    return img;
}

}  // namespace

// ----------------------------------------------------------------- the lists

TThumbList::TThumbList(const TThumbStore& store, QWidget* parent)
    : QListWidget(parent), m_store(store) {
    setViewMode(QListView::IconMode);
    setResizeMode(QListView::Adjust);
    setMovement(QListView::Static);
    setUniformItemSizes(true);
    setGridSize(QSize(kListItemW + 4, kListItemH + 4));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setItemDelegate(new TThumbDelegate(*this));
    setContextMenuPolicy(Qt::CustomContextMenu);
}

void TThumbList::Fill(const std::vector<TDirItem>& items) {
    clear();
    for (const TDirItem& item : items) {
        auto* it = new QListWidgetItem(Q(item.Caption), this);
        it->setData(Qt::UserRole, item.Thumb);
        it->setToolTip(Q(item.Caption));
    }
}

void TThumbList::Refresh(const std::vector<TDirItem>& items) {
    for (int i = 0; i < count() && i < static_cast<int>(items.size()); ++i)
        if (item(i)->data(Qt::UserRole).toInt() != items[i].Thumb)
            item(i)->setData(Qt::UserRole, items[i].Thumb);
}

QImage TThumbList::Thumb(int index) const {
    if (index < 0 || index >= m_store.Count()) index = 0;
    if (static_cast<int>(m_images.size()) < m_store.Count()) m_images.resize(m_store.Count());
    if (m_images[index].isNull()) m_images[index] = ToQImage(m_store.Picture(index));
    return m_images[index];
}

void TThumbList::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Delete && DeletePressed) {
        DeletePressed();
        return;
    }
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && EnterPressed) {
        EnterPressed();
        return;
    }
    QListWidget::keyPressEvent(event);
}

// The thumbnail centred, its caption 6 pixels below with an ellipsis, and
// two nested frames round a selected item.
void TThumbDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                           const QModelIndex& index) const {
    const QRect r = option.rect;
    const QFontMetrics fm(option.font);
    const int textH = fm.height();
    const QImage thumb = m_list.Thumb(index.data(Qt::UserRole).toInt());
    const int top = r.top() + (r.height() - kListThumbH - textH - 5) / 2;
    painter->drawImage(r.left() + (r.width() - kListThumbW) / 2, top, thumb);
    const QRect text(r.left() + 6, top + kListThumbH + 6, r.width() - 12, textH);
    const bool selected = option.state & QStyle::State_Selected;
    if (selected) {
        painter->fillRect(text, option.palette.base());
        painter->setPen(QColor(kSelectionBlue));
        painter->drawRect(r.adjusted(0, 0, -1, -1));
        painter->drawRect(r.adjusted(1, 1, -2, -2));
    }
    painter->setPen(option.palette.color(QPalette::Text));
    const QString caption = index.data(Qt::DisplayRole).toString();
    painter->drawText(text, Qt::AlignHCenter | Qt::AlignVCenter,
                      fm.elidedText(caption, Qt::ElideRight, text.width()));
}

// ----------------------------------------------------------------- choice pictures

TChoicePicture::TChoicePicture(const QImage& image, QWidget* parent) : QWidget(parent) {
    SetImage(image);
    setCursor(Qt::PointingHandCursor);
}

void TChoicePicture::SetImage(const QImage& image) {
    m_image = image;
    m_grey = Greyed(image);
    setFixedSize(image.width() + 2 * kChoiceFrame + 2, image.height() + 2 * kChoiceFrame + 2);
    update();
}

void TChoicePicture::SetChosen(bool chosen) {
    if (chosen == m_chosen) return;
    m_chosen = chosen;
    update();
}

void TChoicePicture::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(kChoiceFrame + 1, kChoiceFrame + 1, isEnabled() ? m_image : m_grey);
    if (!m_chosen) return;
    p.setPen(QPen(isEnabled() ? QColor(kSelectionBlue) : QColor(150, 150, 150), 2));
    p.drawRect(QRect(1, 1, width() - 2, height() - 2));
}

void TChoicePicture::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && Clicked) Clicked();
}

// ----------------------------------------------------------------- the dialog

TF_DirView::TF_DirView(TDirView& core, const TLanguage& lang, const std::string& resourcesDir,
                       QWidget* parent)
    : QDialog(parent), m_core(core), m_lang(lang) {
    setObjectName("F_DirView");
    (void)LoadBmpFile(m_strip, JoinPath(resourcesDir, "shapemasks.bmp"));
    m_previewBkg = ShapeBackground(kPreviewSide, kPreviewSide);
    auto* main = new QHBoxLayout(this);
    CreateButtonBar();
    main->addWidget(P_ButBar);
    PC_Tabs = new QTabWidget(this);
    main->addWidget(PC_Tabs, 1);
    CreateLists();
    CreateLevelPage();
    CreateMenus();
    T_AddItem = new QTimer(this);
    T_AddItem->setInterval(kFillTickMs);
    connect(T_AddItem, &QTimer::timeout, this, [this] { Tick(); });
    connect(PC_Tabs, &QTabWidget::currentChanged, this, [this](int page) { TabChanged(page); });
    m_core.PackProgress = [this](int done, int steps) { PackProgress(done, steps); };
    resize(1040, 720);
}

void TF_DirView::CreateButtonBar() {
    P_ButBar = new QWidget(this);
    P_ButBar->setFixedWidth(200);
    P_ButBar->installEventFilter(this);
    auto* bar = new QVBoxLayout(P_ButBar);
    bar->setContentsMargins(4, 4, 4, 4);
    I_Thumb = new QLabel(P_ButBar);
    I_Thumb->setFixedSize(kListThumbW + 2, kListThumbH + 2);
    I_Thumb->setAlignment(Qt::AlignCenter);
    I_Thumb->setFrameShape(QFrame::Panel);
    I_Thumb->setFrameShadow(QFrame::Sunken);
    L_Thumb = new QLabel(P_ButBar);
    L_Thumb->setAlignment(Qt::AlignHCenter);
    L_Thumb->setStyleSheet("font-weight: bold");
    L_Comment = new QLabel(P_ButBar);
    L_Comment->setWordWrap(true);
    L_Comment->setAlignment(Qt::AlignHCenter);
    L_Comment->setStyleSheet("color: #a00000");
    L_PieceSize = new QLabel(P_ButBar);
    L_PieceSize->setAlignment(Qt::AlignHCenter);
    P_Progress = new QProgressBar(P_ButBar);
    P_Progress->hide();
    for (QWidget* w : std::initializer_list<QWidget*>{I_Thumb, L_Thumb, L_Comment, L_PieceSize, P_Progress})
        bar->addWidget(w);
    bar->addStretch(1);
    B_Ok = new QPushButton(P_ButBar);
    B_Ok->setDefault(true);
    B_Cancel = new QPushButton(P_ButBar);
    B_Help = new QPushButton(P_ButBar);
    B_Extra = new QPushButton(P_ButBar);
    B_NewJigsaw = new QPushButton(P_ButBar);
    for (QPushButton* b : {B_Ok, B_Cancel, B_Help, B_NewJigsaw, B_Extra}) {
        b->setMinimumHeight(30);
        bar->addWidget(b);
    }
    P_Seed = new QWidget(P_ButBar);
    auto* seed = new QHBoxLayout(P_Seed);
    seed->setContentsMargins(0, 0, 0, 0);
    L_Seed = new QLabel(P_Seed);
    seed->addWidget(L_Seed);
    E_Seed = new QLineEdit(P_Seed);
    seed->addWidget(E_Seed);
    P_Seed->hide();
    bar->addWidget(P_Seed);
    connect(B_Ok, &QPushButton::clicked, this, [this] { Ok(); });
    connect(B_Cancel, &QPushButton::clicked, this, [this] { Act(m_core.Cancel()); });
    connect(B_Help, &QPushButton::clicked, this, [this] { m_core.Help(); });
    connect(B_Extra, &QPushButton::clicked, this, [this] { Act(m_core.Extra()); });
    connect(B_NewJigsaw, &QPushButton::clicked, this, [this] {
        m_core.NewJigsawFromPicture();
        ShowLists();
        ShowState();
    });
    connect(E_Seed, &QLineEdit::textEdited, this, [this](const QString& t) { m_core.Seed = t.toStdString(); });
}

void TF_DirView::CreateLists() {
    TS_Jigs = new QWidget;
    TS_Games = new QWidget;
    auto* jigs = new QVBoxLayout(TS_Jigs);
    auto* games = new QVBoxLayout(TS_Games);
    LV_Jigs = new TThumbList(m_core.Thumbs(), TS_Jigs);
    LV_Games = new TThumbList(m_core.Thumbs(), TS_Games);
    jigs->addWidget(LV_Jigs);
    games->addWidget(LV_Games);
    P_FileName = new QWidget(TS_Games);
    auto* name = new QHBoxLayout(P_FileName);
    name->setContentsMargins(0, 0, 0, 0);
    L_FileNameCap = new QLabel(P_FileName);
    name->addWidget(L_FileNameCap);
    E_FileName = new QLineEdit(P_FileName);
    name->addWidget(E_FileName, 1);
    games->addWidget(P_FileName);
    connect(E_FileName, &QLineEdit::textEdited, this,
            [this](const QString& t) { m_core.SetFileName(t.toStdString()); });
    for (auto [list, tab] : {std::pair{LV_Jigs, DirTab::Jigs}, std::pair{LV_Games, DirTab::Games}}) {
        connect(list, &QListWidget::currentRowChanged, this, [this, tab](int row) {
            if (!m_updating && row >= 0) ListClicked(tab, row);
        });
        connect(list, &QListWidget::itemDoubleClicked, this, [this] { Ok(); });
        connect(list, &QListWidget::customContextMenuRequested, this,
                [this, tab, list](const QPoint& at) { PopUp(tab, list->viewport()->mapToGlobal(at)); });
        list->EnterPressed = [this] { Ok(); };
        list->DeletePressed = [this, tab] {
            m_core.Delete(tab);
            ShowLists();
            ShowState();
        };
    }
    PC_Tabs->addTab(TS_Jigs, QString());
    PC_Tabs->addTab(TS_Games, QString());
}

QWidget* TF_DirView::Group(QWidget* parent, int x, int y, int w, int h, const QString& title) {
    auto* box = new QFrame(parent);
    box->setFrameShape(QFrame::StyledPanel);
    box->setGeometry(x, y, w, h);
    auto* caption = new QLabel(title, box);
    caption->setGeometry(8, 4, w - 16, 18);
    caption->setStyleSheet("font-weight: bold");
    return box;
}

void TF_DirView::CreateLevelPage() {
    TS_Level = new QWidget;
    TS_Level->installEventFilter(this);
    P_Level = new QWidget(TS_Level);
    P_Level->setFixedSize(kLevelPanelW, kLevelPanelH);
    // Shapes across the top.
    QWidget* shapes = Group(P_Level, 0, 0, kLevelPanelW, 150, QString());
    L_Shapes = shapes->findChild<QLabel*>();
    for (int s = 0; s < kShapeStyleCount; ++s) {
        const TMyBitmap bkg = ShapeBackground(86, 86);
        I_Shapes[s] = new TChoicePicture(ToQImage(PiecePreview(m_strip, s, kShapePictureTile, bkg)), shapes);
        I_Shapes[s]->move(8 + s * 102, 30);
        I_Shapes[s]->Clicked = [this, s] { m_core.ChooseShape(s); ShowLevelPage(); };
    }
    // Border and mix side by side.
    QWidget* borders = Group(P_Level, 0, 160, 356, 120, QString());
    L_Borders = borders->findChild<QLabel*>();
    QWidget* mix = Group(P_Level, 370, 160, 356, 120, QString());
    L_Mix = mix->findChild<QLabel*>();
    for (int i = 0; i < 2; ++i) {
        I_Borders[i] = new TChoicePicture(BorderPicture(i == 1), borders);
        I_Borders[i]->move(40 + i * 150, 28);
        I_Borders[i]->Clicked = [this, i] { m_core.ChooseBorder(i); ShowLevelPage(); };
        I_Mix[i] = new TChoicePicture(MixPicture(i == 1), mix);
        I_Mix[i]->move(40 + i * 150, 28);
        I_Mix[i]->Clicked = [this, i] { m_core.ChooseMix(i); ShowLevelPage(); };
    }
    // Rotation and fit to screen.
    QWidget* rotation = Group(P_Level, 0, 290, 356, 90, QString());
    QWidget* fit = Group(P_Level, 370, 290, 356, 90, QString());
    I_Rotation = new TChoicePicture(RotationPicture(), rotation);
    I_Rotation->move(14, 8);
    L_Rotation = new QLabel(rotation);
    L_Rotation->setGeometry(100, 30, 240, 24);
    I_Rotation->Clicked = [this] { m_core.ToggleRotation(); ShowLevelPage(); };
    I_FitToScreen = new TChoicePicture(FitPicture(), fit);
    I_FitToScreen->move(14, 8);
    L_FitToScreen = new QLabel(fit);
    L_FitToScreen->setGeometry(100, 30, 240, 24);
    I_FitToScreen->Clicked = [this] { m_core.ToggleFitToScreen(); ShowLevelPage(); };
    // The piece size with its count and preview.
    QWidget* size = Group(P_Level, 0, 390, kLevelPanelW, 160, QString());
    L_PieceNum = size->findChild<QLabel*>();
    SB_PieceSize = new QSlider(Qt::Horizontal, size);
    SB_PieceSize->setRange(0, kLevelCount - 1);
    SB_PieceSize->setTickPosition(QSlider::TicksBelow);
    SB_PieceSize->setPageStep(1);
    SB_PieceSize->setGeometry(16, 60, 480, 30);
    I_PieceSize = new QLabel(size);
    I_PieceSize->setGeometry(kLevelPanelW - kPreviewSide / 2 - 130, 4, kPreviewSide * 3 / 4, 150);
    I_PieceSize->setAlignment(Qt::AlignCenter);
    connect(SB_PieceSize, &QSlider::valueChanged, this, [this](int v) {
        if (m_updating) return;
        m_core.SetLevel(v);
        ShowLevelPage();
    });
    PC_Tabs->addTab(TS_Level, QString());
}

void TF_DirView::CreateMenus() {
    PM_Jigs = new QMenu(this);
    PM_Games = new QMenu(this);
}

void TF_DirView::PopUp(DirTab list, const QPoint& at) {
    QMenu& menu = list == DirTab::Games ? *PM_Games : *PM_Jigs;
    menu.clear();
    const char* prefix = list == DirTab::Games ? "PMI_Games" : "PMI_Jigs";
    auto text = [this, prefix](const char* what) {
        return Q(m_lang.LookUp(LangSection::LoadSaveForm, std::string(prefix) + what));
    };
    QAction* open = menu.addAction(text("Open"), this, [this] { Ok(); });
    QAction* del = menu.addAction(text("Del"), this, [this, list] {
        m_core.Delete(list);
        ShowLists();
        ShowState();
    });
    QAction* all = menu.addAction(text("DelAll"), this, [this, list] {
        m_core.DeleteAll(list);
        ShowLists();
        ShowState();
    });
    open->setEnabled(m_core.CanOpen(list));
    del->setEnabled(m_core.CanDelete(list));
    all->setEnabled(m_core.CanDeleteAll(list));
    if (list == DirTab::Jigs && m_core.Mode == DirMode::Open) {
        menu.addSeparator();
        menu.addAction(B_NewJigsaw->text(), B_NewJigsaw, &QPushButton::click);
    }
    menu.exec(at);
}

void TF_DirView::ApplyTexts() {
    auto t = [this](const char* key) { return Q(m_lang.LookUpMessage(LangSection::LoadSaveForm, key)); };
    PC_Tabs->setTabText(0, t("TS_Jigs"));
    PC_Tabs->setTabText(1, t("TS_Games"));
    PC_Tabs->setTabText(2, t("TS_Level"));
    B_Cancel->setText(Q(m_lang.LookUp(LangSection::All, "B_Cancel")));
    B_Help->setText(Q(m_lang.LookUp(LangSection::All, "B_Help")));
    B_Extra->setText(t("B_Extra"));
    B_NewJigsaw->setText(t("B_NewJigsaw"));
    L_FileNameCap->setText(t("L_FileNameCap"));
    L_Seed->setText(t("L_Seed"));
}

// ----------------------------------------------------------------- showing

DirResult TF_DirView::Run() {
    m_result = DirResult::Cancel;
    m_core.Show();
    ApplyTexts();
    setWindowTitle(Q(m_core.Caption));
    const bool open = m_core.Mode == DirMode::Open;
    // Hiding a tab moves the current one; that is no choice of the player's.
    m_updating = true;
    PC_Tabs->setTabVisible(0, open);
    PC_Tabs->setTabVisible(2, open);
    m_updating = false;
    B_Extra->setVisible(open);
    B_Extra->setEnabled(m_core.ExtraEnabled());
    P_FileName->setVisible(!open);
    E_Seed->setText(Q(m_core.Seed));
    ShowLists();
    ShowState();
    if (!open) {
        E_FileName->setText(Q(m_core.FileName));
        E_FileName->setFocus();
        E_FileName->selectAll();
    } else {
        (m_core.Tab() == DirTab::Games ? LV_Games : LV_Jigs)->setFocus();
    }
    if (m_core.TimerOn()) T_AddItem->start();
    exec();
    T_AddItem->stop();
    return m_result;
}

void TF_DirView::ShowLists() {
    m_updating = true;
    LV_Jigs->Fill(m_core.Items(DirTab::Jigs));
    LV_Games->Fill(m_core.Items(DirTab::Games));
    LV_Jigs->setCurrentRow(m_core.Selected(DirTab::Jigs));
    LV_Games->setCurrentRow(m_core.Selected(DirTab::Games));
    for (TThumbList* list : {LV_Jigs, LV_Games})
        if (list->currentItem()) list->scrollToItem(list->currentItem());
    m_updating = false;
    if (m_core.TimerOn()) T_AddItem->start();
}

// The selection's side: thumbnail, names, comment, OK, the tab shown.
void TF_DirView::ShowState() {
    m_updating = true;
    PC_Tabs->setCurrentIndex(static_cast<int>(m_core.Tab()));
    m_updating = false;
    // On the level page the keys move the piece size.
    if (m_core.Tab() == DirTab::Level && SB_PieceSize->isEnabled()) SB_PieceSize->setFocus();
    I_Thumb->setPixmap(QPixmap::fromImage(ToQImage(m_core.SelectedThumb())));
    L_Thumb->setText(Q(m_core.ThumbCaption));
    L_Comment->setText(Q(m_core.Comment));
    L_PieceSize->setText(Q(m_core.PieceText));
    L_PieceSize->setVisible(m_core.Kind() != SelectionKind::None || m_core.Mode == DirMode::Save);
    B_Ok->setText(Q(m_core.OkCaption));
    B_Ok->setEnabled(m_core.OkEnabled);
    B_NewJigsaw->setVisible(m_core.Mode == DirMode::Open && m_core.Tab() == DirTab::Jigs);
    if (m_core.Mode == DirMode::Open && E_FileName->text() != Q(m_core.FileName))
        E_FileName->setText(Q(m_core.FileName));
    ShowLevelPage();
}

void TF_DirView::ShowLevelPage() {
    const TDirChoices& c = m_core.Shown();
    const bool on = m_core.LevelControlsEnabled;
    for (int s = 0; s < kShapeStyleCount; ++s) {
        I_Shapes[s]->setEnabled(on);
        I_Shapes[s]->SetChosen(s == c.ShapeStyle);
    }
    for (int i = 0; i < 2; ++i) {
        I_Borders[i]->setEnabled(on);
        I_Borders[i]->SetChosen(i == c.BorderStyle);
        I_Mix[i]->setEnabled(on);
        I_Mix[i]->SetChosen(i == c.SpreadOut);
    }
    I_Rotation->setEnabled(on);
    I_Rotation->SetChosen(c.Rotate);
    I_FitToScreen->setEnabled(on);
    I_FitToScreen->SetChosen(c.FitToScreen);
    SB_PieceSize->setEnabled(on);
    L_Shapes->setText(Q(m_core.ShapeLabel()));
    L_Borders->setText(Q(m_core.BorderLabel()));
    L_Mix->setText(Q(m_lang.LookUp(LangSection::LoadSaveForm, "Mix")) + ": " + Q(m_core.MixLabel()));
    L_Rotation->setText(Q(m_core.RotationLabel()));
    L_FitToScreen->setText(Q(m_core.FitLabel()));
    L_PieceNum->setText(Q(m_core.PieceText));
    L_PieceSize->setText(Q(m_core.PieceText));
    m_updating = true;
    SB_PieceSize->setValue(c.Level);
    m_updating = false;
    I_PieceSize->setVisible(m_core.PreviewShown && m_core.Kind() == SelectionKind::Jigsaw);
    if (m_core.Kind() == SelectionKind::Jigsaw)
        I_PieceSize->setPixmap(QPixmap::fromImage(
            ToQImage(PiecePreview(m_strip, c.ShapeStyle, m_core.Header().TileS, m_previewBkg))));
    B_Ok->setEnabled(m_core.OkEnabled);
}

// ----------------------------------------------------------------- events

DirTab TF_DirView::ListTab() const {
    return PC_Tabs->currentIndex() == 1 ? DirTab::Games : DirTab::Jigs;
}

void TF_DirView::ListClicked(DirTab list, int row) {
    m_core.SelectItem(list, row);
    ShowState();
}

void TF_DirView::TabChanged(int page) {
    if (m_updating || page < 0) return;
    m_core.SetTab(static_cast<DirTab>(page));
    ShowState();
}

void TF_DirView::Ok() {
    Act(m_core.Ok());
}

void TF_DirView::Act(DirResult result) {
    if (result == DirResult::Stay) {
        ShowLists();
        ShowState();
        return;
    }
    m_result = result;
    T_AddItem->stop();
    if (result == DirResult::Ok)
        accept();
    else
        reject();
}

void TF_DirView::Tick() {
    T_AddItem->stop();
    m_core.FillTick();
    LV_Jigs->Refresh(m_core.Items(DirTab::Jigs));
    LV_Games->Refresh(m_core.Items(DirTab::Games));
    LV_Jigs->viewport()->update();
    LV_Games->viewport()->update();
    if (m_core.TimerOn()) T_AddItem->start();
}

void TF_DirView::PackProgress(int done, int steps) {
    const bool running = done >= 0;
    P_ButBar->setEnabled(!running);
    PC_Tabs->setEnabled(!running);
    P_Progress->setVisible(running);
    P_Progress->setRange(0, steps);
    P_Progress->setValue(running ? done : steps);
}

void TF_DirView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1) {
        if (B_Help->isEnabled()) m_core.Help();
        return;
    }
    if (event->key() == Qt::Key_Escape) {
        Act(m_core.Cancel());
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (B_Ok->isEnabled() || PC_Tabs->currentIndex() != 2) Ok();
        return;
    }
    QDialog::keyPressEvent(event);
}

// Ctrl and a left click on the button bar show or hide the seed field.
bool TF_DirView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == TS_Level && event->type() == QEvent::Resize) CentreLevelPanel();
    if (watched == P_ButBar && event->type() == QEvent::MouseButtonPress) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && (mouse->modifiers() & Qt::ControlModifier)) {
            m_core.ToggleSeedPanel();
            P_Seed->setVisible(m_core.SeedShown);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

// The level page's panel stays centred across the page.
void TF_DirView::CentreLevelPanel() {
    if (P_Level && TS_Level) P_Level->move(std::max(0, (TS_Level->width() - kLevelPanelW) / 2), 8);
}

}  // namespace orvel
