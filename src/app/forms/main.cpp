// The program's entry point: splash, main window, settings, message loop.
#include <sys/socket.h>
#include <unistd.h>
#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <csignal>
#include <functional>
#include <memory>

#include "app/DataFolder.h"
#include "app/Folders.h"
#include "app/forms/AboutOrvelZent.h"
#include "app/forms/MainWindow.h"
#include "platform/qt/QtPlatform.h"

namespace {

std::string Path(QStandardPaths::StandardLocation location) {
    return QStandardPaths::writableLocation(location).toStdString();
}

int g_signalFds[2] = {-1, -1};

void OnSignal(int) {
    const char c = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_signalFds[0], &c, 1);
}

// SIGTERM and SIGINT reach the event loop through a socket pair, so a logout
// closes the main window the ordinary way and the settings are kept. They are
// caught before anything can block: a message box during start-up runs its
// own loop, and a signal then closes the box instead of waiting behind it.
class TQuitSignal {
public:
    TQuitSignal() {
        if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalFds) != 0) return;
        struct sigaction sa {};
        sa.sa_handler = OnSignal;
        sigemptyset(&sa.sa_mask);
        sa.sa_flags = SA_RESTART;
        sigaction(SIGTERM, &sa, nullptr);
        sigaction(SIGINT, &sa, nullptr);
        m_notifier = std::make_unique<QSocketNotifier>(g_signalFds[1], QSocketNotifier::Read);
        QObject::connect(m_notifier.get(), &QSocketNotifier::activated, [this] { Arrived(); });
    }

    // How the program closes once its main window is up; until then a signal
    // is only noted (Requested) and the dialogs open are closed.
    void SetCloser(std::function<void()> close) { m_close = std::move(close); }
    bool Requested() const { return m_requested; }

private:
    void Arrived() {
        char c = 0;
        [[maybe_unused]] const ssize_t n = ::read(g_signalFds[1], &c, 1);
        m_requested = true;
        CloseDialogs();
        if (m_close) m_close();
    }

    static void CloseDialogs() {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<QDialog*>(w);
            if (dialog != nullptr && dialog->isVisible() && dialog->isModal()) dialog->reject();
        }
    }

    std::unique_ptr<QSocketNotifier> m_notifier;
    std::function<void()> m_close;
    bool m_requested = false;
};

orvel::TPlatformFolders DesktopFolders(const std::string& programDir) {
    orvel::TPlatformFolders folders;
    folders.ProgramDir = programDir;
    folders.DocumentsDir = Path(QStandardPaths::DocumentsLocation);
    folders.PicturesDir = Path(QStandardPaths::PicturesLocation);
    folders.DataHomeDir = Path(QStandardPaths::GenericDataLocation);
    folders.TempDir = Path(QStandardPaths::TempLocation);
    return folders;
}

std::unique_ptr<orvel::TF_AboutOrvelZent> ShowSplash(const std::string& programDir) {
    auto splash = std::make_unique<orvel::TF_AboutOrvelZent>(programDir + "/resources");
    splash->show();
    splash->repaint();
    QCoreApplication::processEvents();
    return splash;
}

// The splash stays about two seconds from the start, without running messages.
void WaitForSplash(orvel::QtPlatform& platform, double t0) {
    while (platform.Now() - t0 < 2.315E-5) platform.SleepMs(10);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(orvel::kAppTitle);
    QApplication::setApplicationDisplayName(orvel::kAppTitle);
    TQuitSignal quit;
    orvel::QtPlatform platform;
    const double t0 = platform.Now();
    const std::string programDir =
        orvel::ProgramDataDir(QCoreApplication::applicationDirPath().toStdString());
    auto splash = ShowSplash(programDir);

    // Its creation works out the folders, seeds the random generator, loads
    // the skins and creates the play windows and toolbar.
    orvel::TF_Main main(platform, DesktopFolders(programDir));
    main.App.ExePath = QCoreApplication::applicationFilePath().toStdString();
    platform.SetHelpHandler([&main](const std::string& page) { main.ShowHelpPage(page); });
    platform.SetSoundDir(main.App.Paths.AppDir);
    platform.SetCursorWidget(main.I_Field);
    platform.SetDragCursors(main.DragCursor2, main.DragCursor1);
    orvel::RemoveLeftoverScratch(main.App.Paths);
    main.StartUp();
    if (quit.Requested()) {
        // Asked to end while start-up still ran: end the ordinary way now.
        main.close();
        return 0;
    }
    WaitForSplash(platform, t0);
    splash.reset();
    main.raise();
    main.activateWindow();
    main.ShowQuickHelpAtStart();
    quit.SetCloser([&main] { main.close(); });
    QApplication::setQuitOnLastWindowClosed(true);
    return app.exec();
}
