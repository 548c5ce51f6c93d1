// The program's entry point: splash, main window, settings, message loop.
#include <sys/socket.h>
#include <unistd.h>
#include <QApplication>
#include <QCoreApplication>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <csignal>

#include "app/Folders.h"
#include "app/forms/AboutOrvelZent.h"
#include "app/forms/MainWindow.h"
#include "platform/qt/QtPlatform.h"

namespace {

std::string Path(QStandardPaths::StandardLocation location) {
    return QStandardPaths::writableLocation(location).toStdString();
}

// SIGTERM and SIGINT reach the event loop through a socket pair, so a logout
// closes the main window the ordinary way and the settings are kept.
int g_signalFds[2] = {-1, -1};

void OnSignal(int) {
    const char c = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_signalFds[0], &c, 1);
}

}  // namespace

int main(int argc, char** argv) {
    // 1. The application and its title.
    QApplication app(argc, argv);
    QApplication::setApplicationName(orvel::kAppTitle);
    QApplication::setApplicationDisplayName(orvel::kAppTitle);
    orvel::QtPlatform platform;
    // A signal from here on waits in the socket until the message loop reads it.
    const bool signalsCaught = ::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalFds) == 0;
    if (signalsCaught) {
        struct sigaction sa {};
        sa.sa_handler = OnSignal;
        sigemptyset(&sa.sa_mask);
        sa.sa_flags = SA_RESTART;
        sigaction(SIGTERM, &sa, nullptr);
        sigaction(SIGINT, &sa, nullptr);
    }

    // 2. The start time.
    const double t0 = platform.Now();

    // 3. The splash, painted at once.
    const std::string programDir = QCoreApplication::applicationDirPath().toStdString();
    auto* splash = new orvel::TF_AboutOrvelZent(programDir + "/resources");
    splash->show();
    splash->repaint();
    QCoreApplication::processEvents();

    // 4. The main window; its creation works out the folders, seeds the
    // random generator, loads the skins and creates the play windows and toolbar.
    orvel::TPlatformFolders folders;
    folders.ProgramDir = programDir;
    folders.DocumentsDir = Path(QStandardPaths::DocumentsLocation);
    folders.PicturesDir = Path(QStandardPaths::PicturesLocation);
    folders.DataHomeDir = Path(QStandardPaths::GenericDataLocation);
    folders.TempDir = Path(QStandardPaths::TempLocation);
    orvel::TF_Main main(platform, folders);
    platform.SetSoundDir(main.Paths.AppDir);
    platform.SetCursorWidget(main.I_Field);
    platform.SetDragCursors(main.DragCursor2, main.DragCursor1);

    // 6. The save scratch file of an interrupted save goes.
    orvel::RemoveLeftoverScratch(main.Paths);

    // 7, 8. Toolbar laid out, field mouse on, window shown; settings and language.
    main.StartUp();

    // 9. The splash stays about two seconds from the start, without running messages.
    while (platform.Now() - t0 < 2.315E-5) platform.SleepMs(10);

    // 10. The splash goes.
    splash->hide();
    delete splash;
    main.raise();
    main.activateWindow();

    if (signalsCaught) {
        auto* notifier = new QSocketNotifier(g_signalFds[1], QSocketNotifier::Read, &main);
        QObject::connect(notifier, &QSocketNotifier::activated, &main, [&main] {
            char c = 0;
            [[maybe_unused]] const ssize_t n = ::read(g_signalFds[1], &c, 1);
            main.close();
        });
    }

    // 13. The message loop until the main window closes.
    QApplication::setQuitOnLastWindowClosed(true);
    return app.exec();
}
