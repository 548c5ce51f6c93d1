#include "app/forms/AboutOrvelZent.h"

#include <QFont>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPixmap>

#include "base/Version.h"

namespace orvel {

namespace {

QLabel* MakeLabel(QWidget* parent, const QString& text, const QColor& colour, int px, bool bold,
                  int x, int y) {
    auto* label = new QLabel(text, parent);
    QFont font("DejaVu Sans");
    font.setPixelSize(px);
    font.setBold(bold);
    label->setFont(font);
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, colour);
    label->setPalette(pal);
    label->adjustSize();
    label->move(x, y);
    return label;
}

}  // namespace

TF_AboutOrvelZent::TF_AboutOrvelZent(const std::string& resourcesDir, QWidget* parent)
    : QDialog(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName("F_AboutOrvelZent");
    QPixmap picture(QString::fromStdString(resourcesDir + "/splash.png"));
    if (picture.isNull()) {
        picture = QPixmap(560, 340);
        picture.fill(QColor(0x2a, 0x25, 0x22));
    }
    I_Background = new QLabel(this);
    I_Background->setObjectName("I_Background");
    I_Background->setPixmap(picture);
    I_Background->setGeometry(0, 0, picture.width(), picture.height());
    // The client takes the picture's size, the frame shape the client's.
    setFixedSize(picture.size());
    B_Frame = new QWidget(this);
    B_Frame->setObjectName("B_Frame");
    B_Frame->setGeometry(0, 0, picture.width(), picture.height());
    B_Frame->setAttribute(Qt::WA_TransparentForMouseEvents);
    B_Frame->setStyleSheet(
        "#B_Frame { border: 1px solid rgb(186, 82, 43); background: transparent; }");

    L_Product = MakeLabel(this, "Orvel Jigsaw", QColor(255, 82, 43), 38, true, 28, 34);
    L_Product->setObjectName("L_Product");
    L_Subtitle = MakeLabel(this, "Zentia Tour", QColor(186, 82, 43), 24, true, 32, 84);
    L_Subtitle->setObjectName("L_Subtitle");
    L_VersionShadow = MakeLabel(this, kVersionText, QColor(0, 0, 0), 13, true, 35, 127);
    L_Version = MakeLabel(this, kVersionText, QColor(0xf6, 0xea, 0xd7), 13, true, 34, 126);
    L_Version->setObjectName("L_Version");
    L_DateShadow = MakeLabel(this, kVersionDate, QColor(0, 0, 0), 12, false, 35, 147);
    L_Date = MakeLabel(this, kVersionDate, QColor(0xf6, 0xea, 0xd7), 12, false, 34, 146);
    L_Date->setObjectName("L_Date");
    for (QLabel* l :
         {I_Background, L_Product, L_Subtitle, L_Version, L_VersionShadow, L_Date, L_DateShadow})
        l->installEventFilter(this);
    B_Frame->raise();
}

void TF_AboutOrvelZent::MakeAboutBox(const QString& caption) {
    B_Frame->hide();
    m_dialogBorder = true;
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setWindowTitle(caption);
    setModal(true);
}

void TF_AboutOrvelZent::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        accept();
    } else if (event->key() == Qt::Key_Escape) {
        reject();
    } else {
        QDialog::keyPressEvent(event);
    }
}

bool TF_AboutOrvelZent::eventFilter(QObject* watched, QEvent* event) {
    // A click on the picture or a label closes the about box, never the splash.
    if (event->type() == QEvent::MouseButtonRelease && m_dialogBorder) {
        accept();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace orvel
