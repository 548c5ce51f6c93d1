// The program's entry point: folders, random seed, main window, event loop.
#include <QApplication>
#include <QCoreApplication>
#include <QLabel>
#include <QMainWindow>
#include <QPalette>
#include <QStandardPaths>
#include <QTimer>
#include <atomic>
#include <csignal>

#include "app/Folders.h"
#include "app/Version.h"
#include "game/GameModel.h"
#include "platform/qt/QtPlatform.h"

namespace {

std::string Path(QStandardPaths::StandardLocation location) {
    return QStandardPaths::writableLocation(location).toStdString();
}

// A terminate or interrupt signal ends the program through the event loop,
// so it shuts down as when the window is closed.
std::atomic<bool> g_quitRequested{false};
void RequestQuit(int) {
    g_quitRequested = true;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(orvel::kAppTitle);
    QApplication::setApplicationDisplayName(orvel::kAppTitle);

    orvel::QtPlatform platform;

    // The desktop's folders as Qt finds them (XDG on Linux).
    orvel::TPlatformFolders folders;
    folders.ProgramDir = QCoreApplication::applicationDirPath().toStdString();
    folders.DocumentsDir = Path(QStandardPaths::DocumentsLocation);
    folders.PicturesDir = Path(QStandardPaths::PicturesLocation);
    folders.DataHomeDir = Path(QStandardPaths::GenericDataLocation);
    folders.TempDir = Path(QStandardPaths::TempLocation);
    const orvel::TAppPaths paths = orvel::SetUpFolders(folders);
    orvel::RemoveLeftoverScratch(paths);
    platform.SetSoundDir(paths.AppDir);

    orvel::TGame game;
    orvel::SeedRandomAtStart(game, platform);

    QMainWindow window;
    window.setWindowTitle(orvel::kAppTitle);
    QPalette palette = window.palette();
    palette.setColor(QPalette::Window, QColor(0x98, 0x98, 0x98));
    window.setPalette(palette);
    window.setAutoFillBackground(true);
    auto* title = new QLabel(orvel::kAppTitle);
    title->setAlignment(Qt::AlignCenter);
    QFont font = title->font();
    font.setPixelSize(28);
    title->setFont(font);
    window.setCentralWidget(title);
    window.resize(1024, 700);
    window.show();

    std::signal(SIGTERM, RequestQuit);
    std::signal(SIGINT, RequestQuit);
    QTimer quitPoll;
    QObject::connect(&quitPoll, &QTimer::timeout, [] {
        if (g_quitRequested) QApplication::quit();
    });
    quitPoll.start(100);
    const int result = app.exec();
    orvel::RemoveEntryScratch(paths);
    return result;
}
