#pragma once

#include <QCursor>
#include <QElapsedTimer>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>

#include "platform/Platform.h"

namespace orvel {

// The desktop services of the program, on Qt. Needs a QApplication.
class QtPlatform : public Platform {
public:
    QtPlatform();
    ~QtPlatform() override;

    MsgResult ShowMessage(const std::string& text, const std::string& caption,
                          MsgKind kind) override;
    void PlaySoundFile(const std::string& path) override;
    bool OpenWithDefault(const std::string& urlOrPath) override;
    void OpenHelp(const std::string& page) override;

    double Now() override;
    uint64_t TickMs() override;
    uint64_t HighResCounter() override;
    void SleepMs(int ms) override;
    void ProcessEvents() override;

    ScreenMetrics GetScreenMetrics() override;
    void SetCursor(CursorShape shape) override;

    void RenderText(TMyBitmap& dst, const TRect& box, const std::string& text,
                    const TextStyle& style) override;
    TextExtent MeasureText(const std::string& text, const TextStyle& style) override;
    std::string ChooseOpenFile(const std::string& title, const std::string& start,
                               const std::string& filterText,
                               const std::vector<std::string>& patterns) override;
    std::string ChooseSaveFile(const std::string& title, const std::string& startFolderOrFile,
                               const std::string& filterText,
                               const std::vector<std::string>& patterns) override;
    std::string ShortDate(double when) override;

    // Where relative sound names are looked up (the program data folder).
    void SetSoundDir(const std::string& dir) { m_soundDir = dir; }
    // The folder of the help pages of the current language. Until the help
    // window exists a page opens with the desktop's viewer.
    void SetHelpDir(const std::string& dir) { m_helpDir = dir; }
    void SetHelpHandler(std::function<void(const std::string& page)> handler) {
        m_helpHandler = std::move(handler);
    }
    // The widget SetCursor applies to; without one the cursor is set for the
    // whole application.
    void SetCursorWidget(QWidget* widget) { m_cursorWidget = widget; }
    // The game's own drag cursors, once the skins are loaded.
    void SetDragCursors(const QCursor& open, const QCursor& closed) {
        m_dragOpen = open;
        m_dragClosed = closed;
    }

private:
    struct Sound;
    std::unique_ptr<Sound> m_sound;
    QElapsedTimer m_clock;
    std::string m_soundDir;
    std::string m_helpDir;
    std::function<void(const std::string&)> m_helpHandler;
    QPointer<QWidget> m_cursorWidget;
    bool m_overrideCursor = false;
    QCursor m_dragOpen{Qt::OpenHandCursor};
    QCursor m_dragClosed{Qt::ClosedHandCursor};
};

}  // namespace orvel
