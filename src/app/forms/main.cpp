// The program's entry point: folders, random seed, main window, event loop.
#include <QApplication>
#include <QCoreApplication>
#include <QMainWindow>
#include <QPalette>
#include <QStandardPaths>

#include "app/Folders.h"
#include "app/Version.h"
#include "game/GameModel.h"
#include "platform/qt/QtPlatform.h"

namespace {

std::string Path(QStandardPaths::StandardLocation location) {
    return QStandardPaths::writableLocation(location).toStdString();
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
    window.resize(1024, 700);
    window.show();
    return app.exec();
}
