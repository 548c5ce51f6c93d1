#include "download/forms/DownloadForm.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPainterPath>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "lang/Lang.h"
#include "platform/Platform.h"

namespace orvel {
namespace {

constexpr int kCellW = 196;  // the list's item spacing around a 180 x 135 preview
constexpr int kCellH = 151;
constexpr int kTickSize = 24;
constexpr int kHelpContext = 160;
const QColor kSelectionColour(0, 128, 255);

QString Q(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

// A 24-bit buffer (rows bottom-up) as an image.
QImage ImageOf(const TMyBitmap& bmp) {
    QImage img(bmp.Width, bmp.Height, QImage::Format_BGR888);
    for (int y = 0; y < bmp.Height; ++y)
        std::memcpy(img.scanLine(y), bmp.Bits + static_cast<ptrdiff_t>(bmp.Height - 1 - y) * bmp.Stride,
                    static_cast<size_t>(bmp.Width) * 3);
    return img;
}

// The downloaded mark: a white tick on a green disc.
QPixmap MakeTick() {
    QPixmap tick(kTickSize, kTickSize);
    tick.fill(Qt::transparent);
    QPainter p(&tick);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::white, 1.5));
    p.setBrush(QColor(40, 160, 60));
    p.drawEllipse(QRectF(1, 1, kTickSize - 2, kTickSize - 2));
    QPainterPath path;
    path.moveTo(6.5, 12.5);
    path.lineTo(10.5, 16.5);
    path.lineTo(17.5, 8);
    p.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    return tick;
}

}  // namespace

TF_Download::TF_Download(TDownloader& downloader, const TLanguage& lang, Platform& platform,
                         QWidget* parent)
    : QDialog(parent), m_down(downloader), m_lang(lang), m_platform(platform), m_tick(MakeTick()) {
    setObjectName("F_Download");
    setProperty("HelpContext", kHelpContext);
    CreateControls();
    ApplyTexts();
}

TF_Download::~TF_Download() { m_down.SetView(nullptr); }

void TF_Download::CreateControls() {
    LV_Downs = new QListWidget(this);
    LV_Downs->setObjectName("LV_Downs");
    LV_Downs->setViewMode(QListView::IconMode);
    LV_Downs->setIconSize(QSize(kPreviewW, kPreviewH));
    LV_Downs->setGridSize(QSize(kCellW, kCellH + 24));
    LV_Downs->setResizeMode(QListView::Adjust);
    LV_Downs->setMovement(QListView::Static);
    LV_Downs->setUniformItemSizes(true);
    LV_Downs->setWordWrap(true);
    LV_Downs->setStyleSheet(
        QString("QListWidget::item:selected { border: 2px solid %1; background: #e2efff; color: black; }")
            .arg(kSelectionColour.name()));
    connect(LV_Downs, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!m_updating) m_down.SelectItem(row);
    });

    GB_DownThumb = new QGroupBox(this);
    GB_DownThumb->setObjectName("GB_DownThumb");
    I_DownThumb = new QLabel(GB_DownThumb);
    I_DownThumb->setObjectName("I_DownThumb");
    I_DownThumb->setFixedSize(kPreviewW, kPreviewH);
    I_DownThumb->setAlignment(Qt::AlignCenter);
    auto* thumbLayout = new QVBoxLayout(GB_DownThumb);
    thumbLayout->addWidget(I_DownThumb);
    thumbLayout->addStretch();

    L_DownMode = new QLabel(this);
    CB_DownMode = new QComboBox(this);
    CB_DownMode->setObjectName("CB_DownMode");
    L_DownMode->setBuddy(CB_DownMode);
    connect(CB_DownMode, &QComboBox::activated, this, [this](int mode) { m_down.SetMode(mode); });
    B_Download = new QPushButton(this);
    B_Download->setObjectName("B_Download");
    connect(B_Download, &QPushButton::clicked, this, [this] { DownloadClick(); });
    B_Stop = new QPushButton(this);
    B_Stop->setObjectName("B_Stop");
    connect(B_Stop, &QPushButton::clicked, this, [this] { m_down.StopClick(); });
    B_Ok = new QPushButton(this);
    B_Ok->setObjectName("B_Ok");
    connect(B_Ok, &QPushButton::clicked, this, [this] { ExitClick(); });
    B_Help = new QPushButton(this);
    B_Help->setObjectName("B_Help");
    connect(B_Help, &QPushButton::clicked, this, [this] { m_platform.OpenHelp("download.htm"); });
    PB_DownProgress = new QProgressBar(this);
    PB_DownProgress->setObjectName("PB_DownProgress");
    PB_DownProgress->setTextVisible(false);

    auto* side = new QVBoxLayout;
    side->addWidget(GB_DownThumb);
    side->addStretch();
    auto* top = new QHBoxLayout;
    top->addWidget(LV_Downs, 1);
    top->addLayout(side);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(L_DownMode);
    buttons->addWidget(CB_DownMode);
    buttons->addSpacing(12);
    buttons->addWidget(B_Download);
    buttons->addWidget(B_Stop);
    buttons->addStretch();
    buttons->addWidget(B_Help);
    buttons->addWidget(B_Ok);
    auto* all = new QVBoxLayout(this);
    all->addLayout(top, 1);
    all->addWidget(PB_DownProgress);
    all->addLayout(buttons);
}

void TF_Download::ApplyTexts() {
    const auto text = [this](const char* key) { return Q(m_lang.LookUp(LangSection::Download, key)); };
    setWindowTitle(text("FormCaption"));
    L_DownMode->setText(text("L_DownMode"));
    const int mode = CB_DownMode->currentIndex();
    CB_DownMode->clear();
    for (const char* key : {"DownMode0", "DownMode1", "DownMode2"}) CB_DownMode->addItem(text(key));
    CB_DownMode->setCurrentIndex(mode);
    B_Download->setText(text("B_Download"));
    B_Stop->setText(text("B_Stop"));
    B_Ok->setText(Q(m_lang.LookUp(LangSection::All, "B_Close")));
    B_Help->setText(Q(m_lang.LookUp(LangSection::All, "B_Help")));
}

// The first showing: at most four fifths of the work area, centred in it.
void TF_Download::FirstPlacement() {
    if (m_placed) return;
    m_placed = true;
    const QScreen* screen = parentWidget() ? parentWidget()->screen() : QApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1280, 800);
    const QSize size(std::min(area.width() * 4 / 5, 5 * kCellW + kPreviewW + 80),
                     std::min(area.height() * 4 / 5, 3 * kCellH + 200));
    resize(size);
    move(area.center() - QPoint(size.width() / 2, size.height() / 2));
}

void TF_Download::Run() {
    FirstPlacement();
    ApplyTexts();
    m_down.SetView(this);
    m_down.Show();
    LV_Downs->setFocus();
    exec();
    m_down.SetView(nullptr);
}

// ---------------------------------------------------------------- the view

void TF_Download::CaptionChanged(const std::string& caption) { setWindowTitle(Q(caption)); }

void TF_Download::ProgressChanged(int64_t position, int64_t maximum) {
    if (maximum >= 0) m_progressMax = maximum;
    // A bar counts in int; large packs are shown in kilobytes.
    const int shift = m_progressMax > (int64_t{1} << 30) ? 10 : 0;
    PB_DownProgress->setMaximum(static_cast<int>(std::max<int64_t>(m_progressMax >> shift, 1)));
    PB_DownProgress->setValue(static_cast<int>(std::min(position, m_progressMax) >> shift));
}

QPixmap TF_Download::ItemPicture(int index) const {
    QPixmap cell(kPreviewW, kPreviewH);
    cell.fill(Qt::transparent);
    QPainter p(&cell);
    const TDownItem& item = m_down.Items()[index];
    const QRect place((kPreviewW - item.W) / 2, (kPreviewH - item.H) / 2, item.W, item.H);
    if (const TMyBitmap* preview = m_down.Preview(index)) {
        p.drawImage(place.topLeft(), ImageOf(*preview));
    } else {
        p.setPen(QColor(160, 160, 160));
        p.drawRect(place.adjusted(0, 0, -1, -1));
    }
    if (item.State == 1) p.drawPixmap(place.topLeft(), m_tick);
    return cell;
}

void TF_Download::ListChanged() {
    m_updating = true;
    const int count = static_cast<int>(m_down.Items().size());
    if (LV_Downs->count() != count) {
        LV_Downs->clear();
        for (const TDownItem& item : m_down.Items()) LV_Downs->addItem(Q(item.Name));
    }
    for (int i = 0; i < count; ++i) LV_Downs->item(i)->setIcon(QIcon(ItemPicture(i)));
    m_updating = false;
}

void TF_Download::StateChanged() {
    m_updating = true;
    const bool busy = m_down.Busy();
    B_Download->setEnabled(!busy && m_down.DownloadEnabled());
    CB_DownMode->setEnabled(!busy);
    LV_Downs->setEnabled(!busy);
    B_Stop->setEnabled(busy);
    PB_DownProgress->setVisible(busy);
    CB_DownMode->setCurrentIndex(m_down.Mode());
    if (m_down.Selected() >= 0 && m_down.Selected() < LV_Downs->count()) {
        LV_Downs->setCurrentRow(m_down.Selected());
        LV_Downs->scrollToItem(LV_Downs->item(m_down.Selected()));
    }
    ShowPreview();
    m_updating = false;
}

void TF_Download::ShowPreview() {
    const int index = m_down.Selected();
    const TMyBitmap* preview = m_down.Preview(index);
    GB_DownThumb->setVisible(preview != nullptr);
    if (!preview) return;
    GB_DownThumb->setTitle(Q(m_down.Items()[index].Name));
    I_DownThumb->setPixmap(QPixmap::fromImage(ImageOf(*preview)));
}

// ---------------------------------------------------------------- buttons

void TF_Download::DownloadClick() {
    m_down.DownloadClick();
    // Exit pressed while the download ran: the window closes now it has ended.
    if (m_down.Closing()) QDialog::reject();
}

void TF_Download::ExitClick() {
    m_down.Close();
    if (!m_down.Busy()) QDialog::reject();
}

void TF_Download::reject() { ExitClick(); }

void TF_Download::closeEvent(QCloseEvent* event) {
    m_down.Close();
    if (m_down.Busy()) event->ignore();
    else QDialog::closeEvent(event);
}

void TF_Download::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1) {
        m_platform.OpenHelp("download.htm");
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace orvel
