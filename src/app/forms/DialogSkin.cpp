#include "app/forms/DialogSkin.h"

#include <QMouseEvent>
#include <QPainter>
#include <cstring>

namespace orvel {

QString DialogStyleSheet() {
    return "QDialog { background: #2a2522; }"
           "QWidget { color: #f6ead7; }"
           "QLabel, QCheckBox, QRadioButton { background: transparent; }"
           "QTabWidget::pane { border: 1px solid #b04326; background: #332d29; top: -1px; }"
           "QTabWidget > QWidget > QWidget { background: #332d29; }"
           "QTabBar::tab { background: #3d3530; color: #d9cbb6; padding: 6px 12px;"
           "  border: 1px solid #4a423c; border-bottom: none; margin-right: 2px; }"
           "QTabBar::tab:selected { background: #e86a3c; color: #fffaf0; border-color: #e86a3c; }"
           "QTabBar::tab:hover:!selected { background: #4a423c; }"
           "QGroupBox { border: 1px solid #5a4f47; margin-top: 10px; padding: 10px 8px 6px 8px; }"
           "QGroupBox::title { subcontrol-origin: margin; left: 8px; padding: 0 4px; color: "
           "#ffb08a; }"
           "QPushButton { background: #4a423c; border: 1px solid #6b5e55; padding: 5px 16px;"
           "  min-width: 70px; }"
           "QPushButton:hover { background: #e86a3c; border-color: #ff8a5c; }"
           "QPushButton:checked { background: #b04326; }"
           "QPushButton:disabled { color: #746b64; background: #3a332e; }"
           "QComboBox, QLineEdit, QListWidget { background: #3d3530; border: 1px solid #6b5e55;"
           "  padding: 3px; selection-background-color: #e86a3c; }"
           "QComboBox QAbstractItemView { background: #3d3530; selection-background-color: "
           "#e86a3c; }"
           "QComboBox:disabled, QLabel:disabled, QCheckBox:disabled { color: #746b64; }"
           "QScrollBar:horizontal { background: #3d3530; height: 16px; border: 1px solid #6b5e55; }"
           "QScrollBar::handle:horizontal { background: #e86a3c; min-width: 24px; }"
           "QScrollBar::add-line:horizontal, QScrollBar::sub-line:horizontal { width: 0; }"
           "QCheckBox::indicator, QRadioButton::indicator { width: 13px; height: 13px;"
           "  border: 1px solid #f6ead7; background: #3d3530; }"
           "QRadioButton::indicator { border-radius: 7px; }"
           "QCheckBox::indicator:checked, QRadioButton::indicator:checked { background: #ff522b; }"
           "QToolTip { background: #2a2522; color: #f6ead7; border: 1px solid #e86a3c; }";
}

QImage BitmapToQImage(const TMyBitmap& bmp) {
    if (bmp.Width == 0) return {};
    QImage img(bmp.Width, bmp.Height,
               bmp.BytesPerPixel == 4 ? QImage::Format_ARGB32 : QImage::Format_BGR888);
    const size_t rowBytes = static_cast<size_t>(bmp.Width) * bmp.BytesPerPixel;
    for (int y = 0; y < bmp.Height; ++y) std::memcpy(img.scanLine(y), RowPtr(bmp, y), rowBytes);
    return img;
}

TPictureBox::TPictureBox(const char* name, QWidget* parent) : QWidget(parent) {
    setObjectName(name);
    setMouseTracking(true);
}

void TPictureBox::SetPicture(const QImage& picture) {
    m_picture = picture;
    setFixedSize(picture.size());
    update();
}

void TPictureBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (!m_picture.isNull()) p.drawImage(0, 0, m_picture);
}

void TPictureBox::mousePressEvent(QMouseEvent* event) {
    const QPoint pt = event->position().toPoint();
    if (event->button() == Qt::LeftButton && Pressed) Pressed(pt.x(), pt.y());
}

void TPictureBox::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pt = event->position().toPoint();
    if (Moved) Moved(pt.x(), pt.y());
}

void TPictureBox::mouseDoubleClickEvent(QMouseEvent* event) {
    const QPoint pt = event->position().toPoint();
    if (event->button() == Qt::LeftButton && DoubleClicked) DoubleClicked(pt.x(), pt.y());
}

}  // namespace orvel
