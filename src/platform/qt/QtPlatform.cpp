#include "platform/qt/QtPlatform.h"

#include <QApplication>
#include <QDate>
#include <QDateTime>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QLocale>
#include <QMessageBox>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QThread>
#include <QUrl>
#include <chrono>
#include <map>

#if ORVEL_HAVE_QT_MULTIMEDIA
#include <QSoundEffect>
#endif

#include "graphics/Bitmap.h"

namespace orvel {

namespace {

QString Q(const std::string& s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// Point sizes are turned into pixels at 96 pixels per inch, whatever the
// screen says: text drawn into buffers must match the skins' fixed pixels.
QFont MakeFont(const TextStyle& style) {
    QFont font(Q(style.Family));
    font.setPixelSize(std::max(1, (style.PointSize * 96 + 36) / 72));
    font.setBold(style.Bold);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

// A file dialog's filter: "Name (*.a *.b)".
QString FileFilter(const std::string& filterText, const std::vector<std::string>& patterns) {
    QStringList globs;
    for (const std::string& p : patterns) globs << Q(p);
    return Q(filterText) + " (" + globs.join(' ') + ")";
}

}  // namespace

// One player per sound file, so that one sound never silences another (the
// solved sound follows the join sound at once).
struct QtPlatform::Sound {
#if ORVEL_HAVE_QT_MULTIMEDIA
    std::map<QString, std::unique_ptr<QSoundEffect>> Effects;
#endif
};

QtPlatform::QtPlatform() : m_sound(std::make_unique<Sound>()) {
    m_clock.start();
}

QtPlatform::~QtPlatform() {
    if (m_overrideCursor) QApplication::restoreOverrideCursor();
}

MsgResult QtPlatform::ShowMessage(const std::string& text, const std::string& caption,
                                  MsgKind kind) {
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(Q(caption));
    box.setText(Q(text));
    switch (kind) {
        case MsgKind::Warning:
            box.setIcon(QMessageBox::Warning);
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case MsgKind::Info:
            box.setIcon(QMessageBox::Information);
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case MsgKind::OkCancel:
            box.setIcon(QMessageBox::Question);
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            break;
        case MsgKind::YesNo:
            box.setIcon(QMessageBox::Question);
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            break;
        case MsgKind::YesNoCancel:
            box.setIcon(QMessageBox::Question);
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            break;
    }
    switch (box.exec()) {
        case QMessageBox::Yes:
            return MsgResult::Yes;
        case QMessageBox::No:
            return MsgResult::No;
        case QMessageBox::Cancel:
            return MsgResult::Cancel;
        case QMessageBox::Ok:
            return MsgResult::Ok;
        default:
            // Closed with the window's close button or Escape.
            return kind == MsgKind::YesNo                                ? MsgResult::No
                   : (kind == MsgKind::Warning || kind == MsgKind::Info) ? MsgResult::Ok
                                                                         : MsgResult::Cancel;
    }
}

void QtPlatform::PlaySoundFile(const std::string& path) {
#if ORVEL_HAVE_QT_MULTIMEDIA
    QString file = Q(path);
    if (QFileInfo(file).isRelative() && !m_soundDir.empty()) file = Q(m_soundDir) + "/" + file;
    if (!QFileInfo(file).isFile()) return;
    // A sound already playing is not interrupted, and the caller never waits.
    const QString absolute = QFileInfo(file).absoluteFilePath();
    std::unique_ptr<QSoundEffect>& effect = m_sound->Effects[absolute];
    if (!effect) {
        effect = std::make_unique<QSoundEffect>();
        effect->setSource(QUrl::fromLocalFile(absolute));
    }
    if (effect->isPlaying()) return;
    effect->play();
#else
    (void)path;
#endif
}

bool QtPlatform::OpenWithDefault(const std::string& urlOrPath) {
    const QString s = Q(urlOrPath);
    const QUrl url = s.startsWith('/') ? QUrl::fromLocalFile(s) : QUrl::fromUserInput(s);
    return url.isValid() && QDesktopServices::openUrl(url);
}

void QtPlatform::OpenHelp(const std::string& page) {
    if (m_helpHandler) {
        m_helpHandler(page);
        return;
    }
    if (m_helpDir.empty()) return;
    const QString file = Q(m_helpDir) + "/" + Q(page);
    if (QFileInfo(file).isFile()) QDesktopServices::openUrl(QUrl::fromLocalFile(file));
}

double QtPlatform::Now() {
    const QDateTime now = QDateTime::currentDateTime();
    const qint64 days = QDate(1899, 12, 30).daysTo(now.date());
    return static_cast<double>(days) + now.time().msecsSinceStartOfDay() / 86400000.0;
}

uint64_t QtPlatform::TickMs() {
    return static_cast<uint64_t>(m_clock.elapsed());
}

uint64_t QtPlatform::HighResCounter() {
    return static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
}

void QtPlatform::SleepMs(int ms) {
    if (ms > 0) QThread::msleep(static_cast<unsigned long>(ms));
}

void QtPlatform::ProcessEvents() {
    QCoreApplication::processEvents();
}

ScreenMetrics QtPlatform::GetScreenMetrics() {
    ScreenMetrics m;
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect all = screen->geometry();
        const QRect work = screen->availableGeometry();
        m.ScreenW = all.width();
        m.ScreenH = all.height();
        m.WorkArea = {work.left(), work.top(), work.right(), work.bottom()};
        m.BitsPerPixel = screen->depth();
    }
    // The window manager draws the real frame; the style's figures are the
    // closest Qt knows before a window is shown.
    if (QStyle* style = QApplication::style()) {
        const int frame = style->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth);
        const int caption = style->pixelMetric(QStyle::PM_TitleBarHeight);
        if (frame > 0) m.FrameW = m.FrameH = frame;
        if (caption > 0) m.CaptionH = caption;
    }
    return m;
}

void QtPlatform::SetCursor(CursorShape shape) {
    QCursor cursor;
    switch (shape) {
        case CursorShape::Arrow:
            cursor = QCursor(Qt::ArrowCursor);
            break;
        case CursorShape::SizeWE:
            cursor = QCursor(Qt::SizeHorCursor);
            break;
        case CursorShape::SizeNS:
            cursor = QCursor(Qt::SizeVerCursor);
            break;
        case CursorShape::SizeNWSE:
            cursor = QCursor(Qt::SizeFDiagCursor);
            break;
        case CursorShape::SizeNESW:
            cursor = QCursor(Qt::SizeBDiagCursor);
            break;
        case CursorShape::Hand:
            cursor = QCursor(Qt::PointingHandCursor);
            break;
        case CursorShape::DragOpen:
            cursor = m_dragOpen;
            break;
        case CursorShape::DragClosed:
            cursor = m_dragClosed;
            break;
        case CursorShape::Wait:
            cursor = QCursor(Qt::WaitCursor);
            break;
    }
    if (m_cursorWidget) {
        m_cursorWidget->setCursor(cursor);
        return;
    }
    if (m_overrideCursor)
        QApplication::changeOverrideCursor(cursor);
    else
        QApplication::setOverrideCursor(cursor);
    m_overrideCursor = true;
}

void QtPlatform::RenderText(TMyBitmap& dst, const TRect& box, const std::string& text,
                            const TextStyle& style) {
    if (dst.Width <= 0 || dst.Height <= 0 || dst.Bits == nullptr || text.empty()) return;
    if (dst.BytesPerPixel != 3 && dst.BytesPerPixel != 4) return;
    // The part of the box inside the buffer; text keeps its place in the box.
    const int left = std::max(box.Left, 0), top = std::max(box.Top, 0);
    const int right = std::min(box.Right, dst.Width - 1),
              bottom = std::min(box.Bottom, dst.Height - 1);
    if (right < left || bottom < top) return;
    const int w = right - left + 1, h = bottom - top + 1;

    // Drawn top-down into a coverage image, then blended into the bottom-up
    // rows of the buffer.
    QImage cover(w, h, QImage::Format_ARGB32_Premultiplied);
    cover.fill(Qt::transparent);
    {
        QPainter painter(&cover);
        painter.setRenderHint(QPainter::TextAntialiasing, true);
        const QFont font = MakeFont(style);
        painter.setFont(font);
        painter.setPen(QColor(255, 255, 255));
        painter.translate(box.Left - left, box.Top - top);
        const QRect area(0, 0, box.Right - box.Left + 1, box.Bottom - box.Top + 1);
        QString s = Q(text);
        if (style.EndEllipsis) s = QFontMetrics(font).elidedText(s, Qt::ElideRight, area.width());
        painter.drawText(area, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, s);
    }

    const int r = ColorR(style.Color), g = ColorG(style.Color), b = ColorB(style.Color);
    for (int y = 0; y < h; ++y) {
        const QRgb* src = reinterpret_cast<const QRgb*>(cover.constScanLine(y));
        uint8_t* px = RowPtr(dst, top + y) + left * dst.BytesPerPixel;
        for (int x = 0; x < w; ++x, px += dst.BytesPerPixel) {
            const int a = qAlpha(src[x]);
            if (a == 0) continue;
            px[0] = static_cast<uint8_t>((px[0] * (255 - a) + b * a + 127) / 255);
            px[1] = static_cast<uint8_t>((px[1] * (255 - a) + g * a + 127) / 255);
            px[2] = static_cast<uint8_t>((px[2] * (255 - a) + r * a + 127) / 255);
        }
    }
}

TextExtent QtPlatform::MeasureText(const std::string& text, const TextStyle& style) {
    const QFontMetrics metrics(MakeFont(style));
    return {metrics.horizontalAdvance(Q(text)), metrics.height()};
}

std::string QtPlatform::ChooseOpenFile(const std::string& title, const std::string& start,
                                       const std::string& filterText,
                                       const std::vector<std::string>& patterns) {
    const QString filter = FileFilter(filterText, patterns);
    const QString chosen =
        QFileDialog::getOpenFileName(QApplication::activeWindow(), Q(title), Q(start), filter);
    return chosen.toStdString();
}

std::string QtPlatform::ChooseSaveFile(const std::string& title,
                                       const std::string& startFolderOrFile,
                                       const std::string& filterText,
                                       const std::vector<std::string>& patterns) {
    const QString filter = FileFilter(filterText, patterns);
    const QString chosen = QFileDialog::getSaveFileName(QApplication::activeWindow(), Q(title),
                                                        Q(startFolderOrFile), filter);
    return chosen.toStdString();
}

std::string QtPlatform::ShortDate(double when) {
    const QDate date = QDate(1899, 12, 30).addDays(static_cast<qint64>(when));
    return QLocale().toString(date, QLocale::ShortFormat).toStdString();
}

}  // namespace orvel
