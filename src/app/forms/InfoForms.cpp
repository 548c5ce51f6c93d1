#include "app/forms/InfoForms.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPixmap>
#include <QVBoxLayout>
#include <cstring>

namespace orvel {

namespace {

QString Q(const std::string& s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

QPixmap PixmapOf(const TMyBitmap& bmp) {
    if (bmp.Width <= 0 || bmp.BytesPerPixel != 3) return {};
    QImage img(bmp.Width, bmp.Height, QImage::Format_BGR888);
    for (int y = 0; y < bmp.Height; ++y)
        std::memcpy(img.scanLine(y), RowPtr(bmp, y), static_cast<size_t>(bmp.Width) * 3);
    return QPixmap::fromImage(img);
}

QLabel* Label(QWidget* parent, const char* name, const std::string& text) {
    auto* label = new QLabel(Q(text), parent);
    label->setObjectName(name);
    return label;
}

void SetPixelFont(QWidget* w, int px, bool bold) {
    QFont f = w->font();
    f.setPixelSize(px);
    f.setBold(bold);
    w->setFont(f);
}

// The dialog's client area is its panel: the dialog takes the panel's size.
void FitToPanel(QDialog* dialog, QWidget* panel) {
    auto* outer = new QVBoxLayout(dialog);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(panel);
    outer->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace

// ----------------------------------------------------------------- information

TF_Info::TF_Info(const TInfoForm& form, QWidget* parent) : QDialog(parent) {
    setObjectName("F_Info");
    setWindowTitle(Q(form.Caption));
    P_Form = new QWidget(this);
    P_Form->setObjectName("P_Form");

    I_ShowThumb = new QLabel(P_Form);
    I_ShowThumb->setObjectName("I_ShowThumb");
    if (form.Thumb != nullptr) I_ShowThumb->setPixmap(PixmapOf(*form.Thumb));
    I_ShowThumb->setFrameShape(QFrame::StyledPanel);
    I_ShowThumb->setAlignment(Qt::AlignCenter);
    I_ShowThumb->setMinimumSize(184, 139);

    L_JigCap = Label(P_Form, "L_JigCap", form.JigCap);
    L_Jig = Label(P_Form, "L_Jig", form.Jig);
    SetPixelFont(L_Jig, 14, true);
    L_Jig1 = Label(P_Form, "L_Jig1", form.Jig1);
    L_Jig1->setVisible(form.Jig1Visible);
    L_PieceNum = Label(P_Form, "L_PieceNum", form.PieceNum);
    L_SolvedPercent = Label(P_Form, "L_SolvedPercent", form.SolvedPercent);
    l_UnsolvedNum = Label(P_Form, "l_UnsolvedNum", form.UnsolvedNum);
    L_Shapes = Label(P_Form, "L_Shapes", form.Shapes);
    L_Borders = Label(P_Form, "L_Borders", form.Borders);
    L_Borders->setEnabled(form.BordersEnabled);
    L_Rotation = Label(P_Form, "L_Rotation", form.Rotation);
    L_Rotation->setEnabled(form.RotationEnabled);

    M_Info = new QPlainTextEdit(Q(form.Description), P_Form);
    M_Info->setObjectName("M_Info");
    M_Info->setReadOnly(true);
    M_Info->setFixedHeight(72);
    M_Info->installEventFilter(this);

    B_Ok = new QPushButton(Q(form.OkText), P_Form);
    B_Ok->setObjectName("B_Ok");
    B_Ok->setDefault(true);
    connect(B_Ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* facts = new QVBoxLayout;
    facts->setSpacing(3);
    auto* name = new QHBoxLayout;
    name->addWidget(L_JigCap);
    name->addWidget(L_Jig);
    name->addWidget(L_Jig1);
    name->addStretch();
    facts->addLayout(name);
    facts->addSpacing(6);
    for (QLabel* l : {L_PieceNum, L_SolvedPercent, l_UnsolvedNum}) facts->addWidget(l);
    facts->addSpacing(6);
    for (QLabel* l : {L_Shapes, L_Borders, L_Rotation}) facts->addWidget(l);
    facts->addStretch();

    auto* grid = new QGridLayout(P_Form);
    grid->setContentsMargins(12, 12, 12, 12);
    grid->setHorizontalSpacing(14);
    grid->addWidget(I_ShowThumb, 0, 0, Qt::AlignTop);
    grid->addLayout(facts, 0, 1);
    grid->addWidget(M_Info, 1, 0, 1, 2);
    grid->addWidget(B_Ok, 2, 1, Qt::AlignRight);
    grid->setColumnMinimumWidth(1, 220);
    FitToPanel(this, P_Form);
}

void TF_Info::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    B_Ok->setFocus();
}

// Enter in the description closes the form with OK, Escape with Cancel.
bool TF_Info::eventFilter(QObject* watched, QEvent* event) {
    if (watched == M_Info && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            accept();
            return true;
        }
        if (key == Qt::Key_Escape) {
            reject();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

// ----------------------------------------------------------------- finish

TF_Finish::TF_Finish(const TFinishForm& form, QWidget* parent) : QDialog(parent) {
    setObjectName("F_Finish");
    setWindowTitle(Q(form.Caption));
    P_Form = new QWidget(this);
    P_Form->setObjectName("P_Form");

    L_Congratulations = Label(P_Form, "L_Congratulations", form.Congratulations);
    SetPixelFont(L_Congratulations, 22, true);
    QPalette pal = L_Congratulations->palette();
    pal.setColor(QPalette::WindowText, QColor(0xba, 0x52, 0x2b));
    L_Congratulations->setPalette(pal);
    L_Solved = Label(P_Form, "L_Solved", form.Solved);
    SetPixelFont(L_Solved, 14, false);
    L_AskForSave = Label(P_Form, "L_AskForSave", form.AskForSave);

    B_Save = new QPushButton(Q(form.SaveText), P_Form);
    B_Save->setObjectName("B_Save");
    B_Save->setDefault(true);
    connect(B_Save, &QPushButton::clicked, this, &QDialog::accept);
    B_Cancel = new QPushButton(Q(form.CancelText), P_Form);
    B_Cancel->setObjectName("B_Cancel");
    connect(B_Cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(B_Save);
    buttons->addWidget(B_Cancel);
    auto* column = new QVBoxLayout(P_Form);
    column->setContentsMargins(24, 18, 24, 14);
    column->addWidget(L_Congratulations, 0, Qt::AlignHCenter);
    column->addSpacing(4);
    column->addWidget(L_Solved, 0, Qt::AlignHCenter);
    column->addSpacing(14);
    column->addWidget(L_AskForSave);
    column->addSpacing(8);
    column->addLayout(buttons);
    FitToPanel(this, P_Form);
}

}  // namespace orvel
