#include "help/forms/HelpViewer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QRegularExpression>
#include <QSplitter>
#include <QVBoxLayout>

#include "help/HelpPages.h"

namespace orvel {

namespace {

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

// The <title> of a page; the file name when it has none.
QString PageTitle(const QString& file) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) return QFileInfo(file).fileName();
    static const QRegularExpression title(
        "<title>(.*)</title>",
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch m = title.match(QString::fromUtf8(f.read(64 * 1024)));
    return m.hasMatch() ? m.captured(1).simplified() : QFileInfo(file).fileName();
}

}  // namespace

TF_HelpViewer::TF_HelpViewer(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName("F_HelpViewer");
    resize(860, 640);
    B_Back = new QToolButton(this);
    B_Forward = new QToolButton(this);
    B_Contents = new QToolButton(this);
    B_Back->setArrowType(Qt::LeftArrow);
    B_Forward->setArrowType(Qt::RightArrow);
    for (QToolButton* b : {B_Back, B_Forward}) b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    Browser = new QTextBrowser(this);
    Browser->setOpenExternalLinks(true);
    Topics = new QListWidget(this);
    Topics->setMaximumWidth(240);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(B_Back);
    buttons->addWidget(B_Forward);
    buttons->addWidget(B_Contents);
    buttons->addStretch();
    auto* split = new QSplitter(this);
    split->addWidget(Topics);
    split->addWidget(Browser);
    split->setStretchFactor(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(split);

    connect(B_Back, &QToolButton::clicked, Browser, &QTextBrowser::backward);
    connect(B_Forward, &QToolButton::clicked, Browser, &QTextBrowser::forward);
    connect(B_Contents, &QToolButton::clicked, Browser, &QTextBrowser::home);
    connect(Browser, &QTextBrowser::backwardAvailable, B_Back, &QToolButton::setEnabled);
    connect(Browser, &QTextBrowser::forwardAvailable, B_Forward, &QToolButton::setEnabled);
    connect(Browser, &QTextBrowser::sourceChanged, this, &TF_HelpViewer::SelectTopicOf);
    connect(Topics, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        Browser->setSource(QUrl::fromLocalFile(item->data(Qt::UserRole).toString()));
    });
    connect(Topics, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        Browser->setSource(QUrl::fromLocalFile(item->data(Qt::UserRole).toString()));
    });
    B_Back->setEnabled(false);
    B_Forward->setEnabled(false);
}

void TF_HelpViewer::ApplyTexts(const TLanguage& lang) {
    setWindowTitle(Q(lang.LookUp(LangSection::QuickHelp, "HelpCaption")));
    B_Back->setText(Q(lang.LookUp(LangSection::QuickHelp, "B_Back")));
    B_Forward->setText(Q(lang.LookUp(LangSection::QuickHelp, "B_Forward")));
    B_Contents->setText(Q(lang.LookUp(LangSection::QuickHelp, "B_Contents")));
    m_missingFormat = Q(lang.LookUp(LangSection::QuickHelp, "L_NoHelp")).replace("%s", "%1");
}

void TF_HelpViewer::FillTopics(const QString& folder) {
    if (folder == m_folder) return;
    m_folder = folder;
    Topics->clear();
    for (const char* page : kHelpPages) {
        const QString file = QDir(folder).filePath(page);
        if (!QFileInfo(file).isFile()) continue;
        auto* item = new QListWidgetItem(PageTitle(file), Topics);
        item->setData(Qt::UserRole, QFileInfo(file).absoluteFilePath());
    }
}

void TF_HelpViewer::SelectTopicOf(const QUrl& url) {
    const QString file = QFileInfo(url.toLocalFile()).absoluteFilePath();
    for (int i = 0; i < Topics->count(); ++i) {
        if (Topics->item(i)->data(Qt::UserRole).toString() == file) {
            Topics->setCurrentRow(i);
            return;
        }
    }
    Topics->clearSelection();
}

void TF_HelpViewer::ShowPage(const std::string& file, const std::string& page) {
    if (file.empty()) {
        Browser->setHtml("<p>" + m_missingFormat.arg(Q(page).toHtmlEscaped()) + "</p>");
    } else {
        const QString path = QFileInfo(Q(file)).absoluteFilePath();
        const QString folder = QFileInfo(path).absolutePath();
        FillTopics(folder);
        // Contents goes to this language's contents page: the first source
        // a browser is given after its history is cleared is its home.
        const QString home = QFileInfo(QDir(folder).filePath(kHelpContentsPage)).absoluteFilePath();
        const bool otherFolder =
            Browser->source().isEmpty() ||
            QFileInfo(Browser->source().toLocalFile()).absolutePath() != folder;
        if (otherFolder) {
            Browser->clearHistory();
            if (QFileInfo(home).isFile() && home != path)
                Browser->setSource(QUrl::fromLocalFile(home));
        }
        Browser->setSource(QUrl::fromLocalFile(path));
    }
    show();
    raise();
    activateWindow();
}

void TF_HelpViewer::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    if (event->matches(QKeySequence::Back)) {
        Browser->backward();
        return;
    }
    if (event->matches(QKeySequence::Forward)) {
        Browser->forward();
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace orvel
