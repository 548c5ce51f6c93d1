#pragma once

#include <functional>
#include <string>
#include <vector>

namespace orvel {

// The desktop's folders the game's own folders are built from. The program
// fills it from QStandardPaths; tools read the XDG settings (ReadXdgFolders);
// tests pass temporary folders.
struct TPlatformFolders {
    std::string ProgramDir;    // the program data folder (jigsaws/, thumb/, language/ ...)
    std::string DocumentsDir;  // the user's documents
    std::string PicturesDir;   // the user's pictures; empty: the program data folder
    std::string DataHomeDir;   // base of per-user application data ($XDG_DATA_HOME)
    std::string TempDir;       // $TMPDIR or /tmp
};

// Every folder (with a trailing "/") and fixed file name the game uses,
// worked out once at start by SetUpFolders, plus the two lists read then.
struct TAppPaths {
    std::string AppDir;
    std::string DocsDir;
    std::string PicturesDir;
    std::string TempDir;
    std::string UserDataDir;     // DataHomeDir + application title + "/"
    std::string MakerDir;        // DocsDir + "Pellory Games/"
    std::string GameDocsDir;     // MakerDir + application title + "/"
    std::string JigsawsDir;      // GameDocsDir + "Jigsaws/"
    std::string SavedGamesDir;   // GameDocsDir + "Saved Games/"
    std::string DistJigsawsDir;  // AppDir + "jigsaws/": the jigsaws installed with the program
    std::string ThumbDir;        // AppDir + "thumb/": catalogue and previews
    std::string LanguageDir;     // AppDir + "language/"
    std::string BkgPicsDir;      // AppDir + "bkg-pics/"

    std::string SettingsFile;            // UserDataDir + "orvel.ini"
    std::string ShapeDataFile;           // AppDir + "pic_orvel.dat"
    std::string AutosaveFile;            // SavedGamesDir + "autosaved.sv1"
    std::string SaveScratchFile;         // SavedGamesDir + "orvel.svt"
    std::string EntryScratchFile;        // UserDataDir + "~ajtemp.bmp"
    std::string MetafileScratchFile;     // UserDataDir + "~temp.emf"
    std::string CatalogueScratchList;    // UserDataDir + "_jigsaws.txt"
    std::string CatalogueScratchHeader;  // UserDataDir + "_header.txt"
    std::string CatalogueScratchThumb;   // UserDataDir + "_thumb.jpg"
    std::string ReportFile;              // DocsDir + "orvel-report.txt"
    std::string DistListFile;            // DistJigsawsDir + "distjiglist.txt"
    std::string CatalogueListFile;       // ThumbDir + "jiglist.txt"

    // The settings file did not exist when the program started.
    bool FirstStart = false;

    // Lines of the distributed list (jigsaw file names) and of the catalogue
    // list (jigsaw names without extension), as read at start.
    std::vector<std::string> DistList;
    std::vector<std::string> CatalogueList;
};

constexpr const char* kJigsawExt = ".orv";
constexpr const char* kSavedGameExt = ".sv1";
// The scratch file a save by the player copies the autosave file through.
constexpr const char* kAutosaveScratchName = "autosaved.svt";


// Copies source to target when target does not exist and source is a file;
// deletes source afterwards when asked and the copy succeeded (a failed
// deletion is ignored). The copy goes through a scratch name beside the
// target, so an interrupted copy never leaves a partial target behind.
// Returns whether it copied.
bool CopyIfMissing(const std::string& source, const std::string& target, bool deleteSource);

// Lines of a text file ("\n" or "\r\n"); a missing or unreadable file is an
// empty list. Files larger than maxBytes read as empty.
std::vector<std::string> ReadListFile(const std::string& path, size_t maxBytes = 4u << 20);

// Whether a list line may name a file inside a folder: not empty, not "." or
// "..", no "/" or "\", no control characters. Other lines are not copied.
bool IsPlainFileName(const std::string& name);

// Works out every folder and file name, creates the folders the game writes
// to, tests for the first start and brings the installed jigsaws (every
// start) and the catalogue jigsaws and installed saved games (first start
// only) into the user's folders. Failures to create or copy are ignored:
// the game still starts, and what is missing shows up where it is used.
TAppPaths SetUpFolders(const TPlatformFolders& platform);

// Deletes the save scratch files an interrupted save left behind (at start).
void RemoveLeftoverScratch(const TAppPaths& paths);
// Deletes the entry scratch file (at exit).
void RemoveEntryScratch(const TAppPaths& paths);

// The desktop's folders from the XDG settings: $XDG_DATA_HOME (default
// $HOME/.local/share), the documents and pictures entries of
// $XDG_CONFIG_HOME/user-dirs.dirs (documents default $HOME/Documents,
// pictures default empty), $TMPDIR or /tmp. getEnv defaults to std::getenv.
using EnvLookup = std::function<const char*(const char*)>;
TPlatformFolders ReadXdgFolders(const std::string& programDir, const EnvLookup& getEnv = {});

}  // namespace orvel
