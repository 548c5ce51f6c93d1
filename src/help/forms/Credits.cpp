#include "help/forms/Credits.h"

#include <QFile>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace orvel {

namespace {

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

}  // namespace

TF_Credits::TF_Credits(const std::string& creditsFile, const TLanguage& lang, QWidget* parent)
    : QDialog(parent) {
    setObjectName("F_Credits");
    setWindowTitle(Q(lang.LookUp(LangSection::Credits, "FormCaption")));
    L_Thanks = new QLabel(Q(lang.LookUp(LangSection::Credits, "L_Thanks")), this);
    L_Thanks->setObjectName("L_Thanks");
    L_Thanks->setWordWrap(true);
    M_Names = new QPlainTextEdit(this);
    M_Names->setObjectName("M_Names");
    M_Names->setReadOnly(true);
    M_Names->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    M_Names->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFile file(Q(creditsFile));
    if (file.open(QIODevice::ReadOnly)) M_Names->setPlainText(QString::fromUtf8(file.readAll()));
    B_Ok = new QPushButton(Q(lang.LookUp(LangSection::All, "B_Ok")), this);
    B_Ok->setObjectName("B_Ok");
    B_Ok->setDefault(true);
    connect(B_Ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(B_Ok);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(L_Thanks);
    layout->addWidget(M_Names, 1);
    layout->addLayout(buttons);
    const int textW = M_Names->fontMetrics().horizontalAdvance(QString(80, 'x'));
    resize(textW + 60, 520);
}

void TF_Credits::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    B_Ok->setFocus();
}

}  // namespace orvel
