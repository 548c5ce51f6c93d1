#include "app/Folders.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "base/Text.h"
#include "base/Version.h"

namespace fs = std::filesystem;

namespace orvel {

namespace {

// Folders are created only at absolute paths: an empty desktop folder would
// otherwise put the game's folders into whatever the working folder is.
// Missing parents are created too: a fresh account may have no documents
// folder yet, and the game's jigsaw folder lives inside it.
void CreateFolder(const std::string& dir) {
    if (dir.empty() || dir[0] != '/') return;
    std::error_code ec;
    fs::create_directories(dir, ec);
}

bool IsFile(const std::string& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

std::string Env(const EnvLookup& getEnv, const char* name) {
    const char* v = getEnv ? getEnv(name) : std::getenv(name);
    return v ? std::string(v) : std::string();
}

// One value of user-dirs.dirs: "$HOME/..." or an absolute path, in quotes.
std::string UserDirEntry(const std::string& configHome, const std::string& home,
                         const std::string& key) {
    for (const std::string& raw :
         ReadListFile(AddSlash(configHome) + "user-dirs.dirs", 64 * 1024)) {
        size_t start = raw.find_first_not_of(" \t");
        if (start == std::string::npos || raw.compare(start, key.size() + 1, key + "=") != 0)
            continue;
        std::string value = raw.substr(start + key.size() + 1);
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        if (value.rfind("$HOME", 0) == 0) {
            if (home.empty()) return {};
            value = home + value.substr(5);
        }
        if (value.empty() || value[0] != '/') return {};
        return value;
    }
    return {};
}

}  // namespace

bool CopyIfMissing(const std::string& source, const std::string& target, bool deleteSource) {
    std::error_code ec;
    if (fs::exists(fs::symlink_status(target, ec)) || !IsFile(source)) return false;
    const std::string scratch = target + ".copying-" + std::to_string(::getpid());
    if (!fs::copy_file(source, scratch, fs::copy_options::overwrite_existing, ec)) {
        fs::remove(scratch, ec);
        return false;
    }
    fs::rename(scratch, target, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(scratch, ignored);
        return false;
    }
    if (deleteSource) fs::remove(source, ec);
    return true;
}

std::vector<std::string> ReadListFile(const std::string& path, size_t maxBytes) {
    std::vector<std::string> lines;
    std::error_code ec;
    if (!IsFile(path)) return lines;
    const auto size = fs::file_size(path, ec);
    if (ec || size > maxBytes) return lines;
    std::ifstream in(path, std::ios::binary);
    if (!in) return lines;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

bool IsPlainFileName(const std::string& name) {
    if (name.empty() || name == "." || name == "..") return false;
    for (unsigned char c : name)
        if (c < 0x20 || c == 0x7F || c == '/' || c == '\\') return false;
    return true;
}

namespace {

void SetDesktopFolders(TAppPaths& p, const TPlatformFolders& platform) {
    p.AppDir = AddSlash(platform.ProgramDir);
    p.DocsDir = AddSlash(platform.DocumentsDir);
    p.PicturesDir = platform.PicturesDir.empty() ? p.AppDir : AddSlash(platform.PicturesDir);
    p.TempDir = AddSlash(platform.TempDir);
}

// The game's own folders for settings and documents, created when missing;
// the first start is told by the settings file's absence, before the
// installation's default settings file is copied there.
void SetUserFolders(TAppPaths& p, const TPlatformFolders& platform) {
    const std::string title = kAppTitle;
    p.UserDataDir = AddSlash(platform.DataHomeDir) + title + "/";
    CreateFolder(p.UserDataDir);
    p.MakerDir = p.DocsDir + "Pellory Games/";
    CreateFolder(p.MakerDir);
    p.GameDocsDir = p.MakerDir + title + "/";
    CreateFolder(p.GameDocsDir);
    p.SettingsFile = p.UserDataDir + "orvel.ini";
    p.FirstStart = !IsFile(p.SettingsFile);
    CopyIfMissing(p.AppDir + "orvel.ini", p.SettingsFile, false);
    p.JigsawsDir = p.GameDocsDir + "Jigsaws/";
    CreateFolder(p.JigsawsDir);
    p.SavedGamesDir = p.GameDocsDir + "Saved Games/";
    CreateFolder(p.SavedGamesDir);
}

void SetFileNames(TAppPaths& p) {
    p.ShapeDataFile = p.AppDir + "pic_orvel.dat";
    p.ThumbDir = p.AppDir + "thumb/";
    p.DistJigsawsDir = p.AppDir + "jigsaws/";
    p.AutosaveFile = p.SavedGamesDir + "autosaved" + kSavedGameExt;
    p.SaveScratchFile = p.SavedGamesDir + "orvel.svt";
    p.EntryScratchFile = p.UserDataDir + "~ajtemp.bmp";
    p.MetafileScratchFile = p.UserDataDir + "~temp.emf";
    p.CatalogueScratchList = p.UserDataDir + "_jigsaws.txt";
    p.CatalogueScratchHeader = p.UserDataDir + "_header.txt";
    p.CatalogueScratchThumb = p.UserDataDir + "_thumb.jpg";
    p.LanguageDir = p.AppDir + "language/";
    p.BkgPicsDir = p.AppDir + "bkg-pics/";
    p.ReportFile = p.DocsDir + "orvel-report.txt";
    p.DistListFile = p.DistJigsawsDir + "distjiglist.txt";
    p.CatalogueListFile = p.ThumbDir + "jiglist.txt";
}

// Every start: jigsaws added to the installation reach the user, and one the
// user deleted comes back. A line naming anything but a plain file ("../x",
// "a/b") is not copied: it would reach outside the folders.
void SyncInstalledJigsaws(TAppPaths& p) {
    p.DistList = ReadListFile(p.DistListFile);
    for (const std::string& name : p.DistList)
        if (IsPlainFileName(name))
            CopyIfMissing(p.DistJigsawsDir + name, p.JigsawsDir + name, false);
    p.CatalogueList = ReadListFile(p.CatalogueListFile);
}

// First start only: the installation's autosave starts the first game, and
// the jigsaws the catalogue knows of and the installed saved games are copied.
void CopyFirstStartFiles(const TAppPaths& p) {
    CopyIfMissing(p.AppDir + "autosaved" + kSavedGameExt, p.AutosaveFile, false);
    for (const std::string& name : p.CatalogueList) {
        const std::string file = name + kJigsawExt;
        if (IsPlainFileName(name))
            CopyIfMissing(p.DistJigsawsDir + file, p.JigsawsDir + file, false);
    }
    std::error_code ec;
    for (fs::directory_iterator it(p.DistJigsawsDir, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (AsciiLower(it->path().extension().string()) != kSavedGameExt) continue;
        CopyIfMissing(p.DistJigsawsDir + name, p.SavedGamesDir + name, false);
    }
}

}  // namespace

TAppPaths SetUpFolders(const TPlatformFolders& platform) {
    TAppPaths p;
    SetDesktopFolders(p, platform);
    SetUserFolders(p, platform);
    SetFileNames(p);
    SyncInstalledJigsaws(p);
    if (p.FirstStart) CopyFirstStartFiles(p);
    return p;
}

void RemoveLeftoverScratch(const TAppPaths& paths) {
    std::error_code ec;
    if (!paths.SaveScratchFile.empty()) fs::remove(paths.SaveScratchFile, ec);
    if (!paths.SavedGamesDir.empty()) fs::remove(paths.SavedGamesDir + kAutosaveScratchName, ec);
}

void RemoveEntryScratch(const TAppPaths& paths) {
    std::error_code ec;
    if (!paths.EntryScratchFile.empty()) fs::remove(paths.EntryScratchFile, ec);
}

TPlatformFolders ReadXdgFolders(const std::string& programDir, const EnvLookup& getEnv) {
    TPlatformFolders f;
    f.ProgramDir = programDir;
    const std::string home = Env(getEnv, "HOME");

    // Relative values of the XDG variables are to be ignored.
    std::string dataHome = Env(getEnv, "XDG_DATA_HOME");
    if (dataHome.empty() || dataHome[0] != '/')
        dataHome = home.empty() ? "" : home + "/.local/share";
    f.DataHomeDir = dataHome;

    std::string configHome = Env(getEnv, "XDG_CONFIG_HOME");
    if (configHome.empty() || configHome[0] != '/')
        configHome = home.empty() ? "" : home + "/.config";
    if (!configHome.empty()) {
        f.DocumentsDir = UserDirEntry(configHome, home, "XDG_DOCUMENTS_DIR");
        f.PicturesDir = UserDirEntry(configHome, home, "XDG_PICTURES_DIR");
    }
    if (f.DocumentsDir.empty() && !home.empty()) f.DocumentsDir = home + "/Documents";

    std::string temp = Env(getEnv, "TMPDIR");
    f.TempDir = temp.empty() ? "/tmp" : temp;
    return f;
}

}  // namespace orvel
