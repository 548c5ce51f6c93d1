#include "help/forms/QuickHelp.h"

#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

#include "help/QuickHelpLayout.h"

namespace orvel {

namespace {

constexpr int kPanelW = 420;
constexpr int kMargin = 10;
constexpr int kPictureSize = 32;
constexpr int kTextLeft = kMargin + kPictureSize + 10;

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

}  // namespace

QImage MousePicture(bool rightButton) {
    QImage img(28, 40, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF body(4, 4, 20, 32);
    p.setPen(QPen(QColor(60, 60, 60), 1.2));
    p.setBrush(QColor(240, 236, 228));
    p.drawRoundedRect(body, 9, 9);
    QPainterPath button;
    const QRectF half = rightButton ? QRectF(14, 4, 10, 14) : QRectF(4, 4, 10, 14);
    button.addRect(half);
    QPainterPath shape;
    shape.addRoundedRect(body, 9, 9);
    p.fillPath(button.intersected(shape), QColor(232, 106, 60));
    p.drawLine(QPointF(14, 4), QPointF(14, 18));
    p.drawLine(QPointF(4, 18), QPointF(24, 18));
    p.setBrush(QColor(90, 90, 90));
    p.drawRoundedRect(QRectF(12, 7, 4, 8), 2, 2);
    // The wheel's turn that acts like this button.
    p.setPen(QPen(QColor(176, 67, 38), 1.6));
    const qreal x = 14, y0 = rightButton ? 26 : 33, y1 = rightButton ? 33 : 26;
    p.drawLine(QPointF(x, y0), QPointF(x, y1));
    p.drawLine(QPointF(x, y1), QPointF(x - 3, y1 + (rightButton ? -3 : 3)));
    p.drawLine(QPointF(x, y1), QPointF(x + 3, y1 + (rightButton ? -3 : 3)));
    return img;
}

TF_Help::TF_Help(QWidget* keyTarget, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint), m_keyTarget(keyTarget) {
    setObjectName("F_Help");
    const char* pictureNames[PicCount] = {"I_Contents", "I_Open",  "I_Download",
                                          "I_Menu",     "I_Side1", "I_Side2"};
    for (int i = 0; i < PicCount; ++i) {
        Pictures[i] = new QLabel(this);
        Pictures[i]->setObjectName(pictureNames[i]);
        Pictures[i]->setAlignment(Qt::AlignCenter);
    }
    L_Contents = NewLabel("L_Contents", true);
    L_Open = NewLabel("L_Open", true);
    L_Download = NewLabel("L_Download", true);
    L_Menu = NewLabel("L_Menu", true);
    L_Click = NewLabel("L_Click", true);
    Shape1 = new QFrame(this);
    Shape1->setObjectName("Shape1");
    Shape1->setFrameShape(QFrame::StyledPanel);
    Shape1->lower();
    L_Ctrl = NewLabel("L_Ctrl", false);
    L_Ctrl1 = NewLabel("L_Ctrl1", false);
    L_RotateCCW = NewLabel("L_RotateCCW", true);
    L_RotateCW = NewLabel("L_RotateCW", true);
    I_Wheel = NewLabel("I_Wheel", false);
    I_Wheel1 = NewLabel("I_Wheel1", false);
    I_Wheel->setPixmap(QPixmap::fromImage(MousePicture(false)));
    I_Wheel1->setPixmap(QPixmap::fromImage(MousePicture(true)));
    L_MoveOW = NewLabel("L_MoveOW", true);
    L_Switch = NewLabel("L_Switch", true);
    L_Spacebar = NewLabel("L_Spacebar", false);
    QFont bold = L_Spacebar->font();
    bold.setBold(true);
    L_Spacebar->setFont(bold);
    CB_Show = new QCheckBox(this);
    CB_Show->setObjectName("CB_Show");
    B_Close = new QPushButton(this);
    B_Close->setObjectName("B_Close");
    connect(B_Close, &QPushButton::clicked, this, &QWidget::hide);
    LayOut();
}

QLabel* TF_Help::NewLabel(const char* name, bool wrap) {
    auto* label = new QLabel(this);
    label->setObjectName(name);
    label->setWordWrap(wrap);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return label;
}

void TF_Help::SetPictures(const std::array<QImage, PicCount>& pictures) {
    for (int i = 0; i < PicCount; ++i) {
        const QImage& img = pictures[i];
        Pictures[i]->setPixmap(img.isNull() ? QPixmap()
                                            : QPixmap::fromImage(img.scaled(
                                                  kPictureSize, kPictureSize, Qt::KeepAspectRatio,
                                                  Qt::SmoothTransformation)));
    }
}

void TF_Help::ApplyTexts(const TLanguage& lang) {
    auto text = [&](const char* key) { return Q(lang.LookUp(LangSection::QuickHelp, key)); };
    setWindowTitle(text("FormCaption"));
    L_Click->setText(text("L_Click"));
    L_Contents->setText(text("L_Contents") + "  (F1)");
    L_Open->setText(text("L_Open") + "  (O)");
    L_Download->setText(text("L_Download") + "  (D)");
    L_Menu->setText(text("L_Menu") + "  (M)");
    L_RotateCW->setText(text("L_RotateCW"));
    L_RotateCCW->setText(text("L_RotateCCW"));
    L_Ctrl->setText(text("L_Ctrl"));
    L_Ctrl1->setText(L_Ctrl->text());
    L_MoveOW->setText(text("L_MoveOW"));
    L_Switch->setText(text("L_Switch"));
    L_Spacebar->setText(text("L_Spacebar"));
    CB_Show->setText(text("CB_Show"));
    B_Close->setText(Q(lang.LookUp(LangSection::All, "B_Close")));
    LayOut();
}

// A picture at the left and its text beside it; returns the row's bottom.
int TF_Help::PlaceRow(QLabel* picture, QLabel* text, int top) {
    const int textW = kPanelW - kTextLeft - kMargin;
    const int h = std::max(kPictureSize, text->heightForWidth(textW));
    picture->setGeometry(kMargin, top + (h - kPictureSize) / 2, kPictureSize, kPictureSize);
    text->setGeometry(kTextLeft, top, textW, h);
    return top + h;
}

void TF_Help::LayOut() {
    int y = kMargin;
    y = PlaceRow(Pictures[PicContents], L_Contents, y) + 4;
    y = PlaceRow(Pictures[PicOpen], L_Open, y) + 4;
    y = PlaceRow(Pictures[PicDownload], L_Download, y) + 4;
    y = PlaceRow(Pictures[PicMenu], L_Menu, y) + 10;
    const int clickW = kPanelW - 2 * kMargin;
    L_Click->setGeometry(kMargin, y, clickW, L_Click->heightForWidth(clickW));
    y += L_Click->height() + 8;

    // The frame with the two rotations and the move to the other side.
    const int frameTop = y;
    const QSize wheel = I_Wheel->pixmap().size();
    const int ctrlW = std::max(L_Ctrl->sizeHint().width(), L_Ctrl1->sizeHint().width());
    L_Ctrl->setGeometry(kMargin + 10, y + 8, ctrlW, wheel.height());
    L_Ctrl1->setGeometry(kMargin + 10, y + 12 + wheel.height(), ctrlW, wheel.height());
    TQuickHelpInput in;
    in.PanelWidth = kPanelW;
    in.CtrlRight = kMargin + 10 + ctrlW;
    in.WheelWidth = wheel.width();
    in.FrameRight = kPanelW - kMargin;
    const int mouseRow2 = y + 12 + wheel.height();
    y = mouseRow2 + wheel.height() + 6;
    const int moveW = kPanelW - 2 * kMargin - 20;
    L_MoveOW->setGeometry(kMargin + 10, y, moveW, L_MoveOW->heightForWidth(moveW));
    y += L_MoveOW->height() + 8;
    Shape1->setGeometry(kMargin, frameTop, kPanelW - 2 * kMargin, y - frameTop);
    y += 8;

    // Switching sides: the text, the two side buttons and the key.
    const int switchW = kPanelW - 2 * kMargin;
    L_Switch->setGeometry(kMargin, y, switchW, L_Switch->heightForWidth(switchW));
    y += L_Switch->height() + 4;
    Pictures[PicSide1]->setGeometry(kMargin, y, kPictureSize, kPictureSize);
    Pictures[PicSide2]->setGeometry(kMargin + kPictureSize + 4, y, kPictureSize, kPictureSize);
    L_Spacebar->setGeometry(kMargin + 2 * kPictureSize + 16, y, switchW - 2 * kPictureSize - 16,
                            kPictureSize);
    y += kPictureSize + 12;

    const QSize closeSize(std::max(90, B_Close->sizeHint().width()), B_Close->sizeHint().height());
    in.ShowLeft = kMargin;
    in.ShowTop = y;
    in.ShowHeight = std::max(CB_Show->sizeHint().height(), closeSize.height());
    in.ShowTextWidth = QFontMetrics(CB_Show->font()).horizontalAdvance(CB_Show->text());
    in.CloseLeft = kPanelW - kMargin - closeSize.width();
    in.CloseTop = y;
    in.CloseHeight = closeSize.height();
    const TQuickHelpPlaces places = LayOutQuickHelp(in);

    I_Wheel->setGeometry(places.WheelLeft, frameTop + 8, wheel.width(), wheel.height());
    I_Wheel1->setGeometry(places.WheelLeft, mouseRow2, wheel.width(), wheel.height());
    L_RotateCCW->setGeometry(places.RotateLeft, frameTop + 8, places.RotateWidth, wheel.height());
    L_RotateCW->setGeometry(places.RotateLeft, mouseRow2, places.RotateWidth, wheel.height());
    CB_Show->setGeometry(places.ShowLeft, in.ShowTop, places.ShowWidth, in.ShowHeight);
    B_Close->setGeometry(in.CloseLeft, places.CloseTop, closeSize.width(), closeSize.height());
    setFixedSize(kPanelW, places.FormHeight);
}

void TF_Help::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        hide();
        return;
    }
    if (m_keyTarget) QApplication::sendEvent(m_keyTarget, event);
}

void TF_Help::keyReleaseEvent(QKeyEvent* event) {
    if (m_keyTarget) QApplication::sendEvent(m_keyTarget, event);
}

}  // namespace orvel
