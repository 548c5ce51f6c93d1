#pragma once

#include <QListWidget>
#include <QTextBrowser>
#include <QToolButton>
#include <QWidget>
#include <string>

#include "lang/Lang.h"

namespace orvel {

// The help window: the pages of one language's help folder with a list of
// topics, back, forward and contents. One window is kept and reused.
class TF_HelpViewer : public QWidget {
    Q_OBJECT
public:
    explicit TF_HelpViewer(QWidget* parent = nullptr);

    // Shows file (a page found by HelpPageFile); an empty file shows the
    // missing page's name instead.
    void ShowPage(const std::string& file, const std::string& page);
    // Captions in the player's language.
    void ApplyTexts(const TLanguage& lang);

    QTextBrowser* Browser = nullptr;
    QListWidget* Topics = nullptr;
    QToolButton* B_Back = nullptr;
    QToolButton* B_Forward = nullptr;
    QToolButton* B_Contents = nullptr;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void FillTopics(const QString& folder);
    void SelectTopicOf(const QUrl& url);

    QString m_folder;
    QString m_missingFormat = "This help page is missing: %1";
};

}  // namespace orvel
