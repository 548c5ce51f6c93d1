#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <random>

#include "base/Text.h"
#include "app/Folders.h"

namespace fs = std::filesystem;

namespace orvel {
namespace {

void WriteFile(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A program folder, a home with documents and data folders, all in a fresh
// temporary folder.
class FoldersTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::random_device rd;
        root = fs::temp_directory_path() / ("orvel-folders-" + std::to_string(rd()));
        fs::create_directories(root);
        program = root / "program";
        fs::create_directories(program / "jigsaws");
        fs::create_directories(program / "thumb");
        folders.ProgramDir = program.string();  // no trailing slash: AddSlash adds it
        folders.DocumentsDir = (root / "home/Documents").string() + "/";
        folders.DataHomeDir = (root / "home/.local/share").string();
        folders.TempDir = (root / "tmp").string();
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(root, ec);
    }

    fs::path Jigsaws() const {
        return root / "home/Documents/Pellory Games/Orvel Jigsaw Zentia Tour/Jigsaws";
    }
    fs::path SavedGames() const {
        return root / "home/Documents/Pellory Games/Orvel Jigsaw Zentia Tour/Saved Games";
    }
    fs::path Settings() const {
        return root / "home/.local/share/Orvel Jigsaw Zentia Tour/orvel.ini";
    }

    fs::path root, program;
    TPlatformFolders folders;
};

TEST(AddSlashTest, AppendsOnlyWhereMissing) {
    EXPECT_EQ(AddSlash(""), "");
    EXPECT_EQ(AddSlash("/a"), "/a/");
    EXPECT_EQ(AddSlash("/a/"), "/a/");
    EXPECT_EQ(AddSlash("/"), "/");
}

TEST_F(FoldersTest, NamesAndCreatedFolders) {
    const TAppPaths p = SetUpFolders(folders);
    const std::string app = program.string() + "/";
    EXPECT_EQ(p.AppDir, app);
    EXPECT_EQ(p.PicturesDir, app);  // no pictures folder: the program folder
    EXPECT_EQ(p.TempDir, (root / "tmp").string() + "/");
    EXPECT_EQ(p.UserDataDir, (root / "home/.local/share/Orvel Jigsaw Zentia Tour").string() + "/");
    EXPECT_EQ(p.JigsawsDir, Jigsaws().string() + "/");
    EXPECT_EQ(p.SavedGamesDir, SavedGames().string() + "/");
    EXPECT_EQ(p.DistJigsawsDir, app + "jigsaws/");
    EXPECT_EQ(p.ThumbDir, app + "thumb/");
    EXPECT_EQ(p.LanguageDir, app + "language/");
    EXPECT_EQ(p.BkgPicsDir, app + "bkg-pics/");
    EXPECT_EQ(p.SettingsFile, Settings().string());
    EXPECT_EQ(p.ShapeDataFile, app + "pic_orvel.dat");
    EXPECT_EQ(p.AutosaveFile, p.SavedGamesDir + "autosaved.sv1");
    EXPECT_EQ(p.SaveScratchFile, p.SavedGamesDir + "orvel.svt");
    EXPECT_EQ(p.EntryScratchFile, p.UserDataDir + "~ajtemp.bmp");
    EXPECT_EQ(p.CatalogueScratchList, p.UserDataDir + "_jigsaws.txt");
    EXPECT_EQ(p.ReportFile, p.DocsDir + "orvel-report.txt");
    EXPECT_EQ(p.DistListFile, app + "jigsaws/distjiglist.txt");
    EXPECT_EQ(p.CatalogueListFile, app + "thumb/jiglist.txt");
    // The documents folder did not exist: created with the game's folders.
    EXPECT_TRUE(fs::is_directory(p.UserDataDir));
    EXPECT_TRUE(fs::is_directory(p.JigsawsDir));
    EXPECT_TRUE(fs::is_directory(p.SavedGamesDir));
    // Folders of the installation are not created.
    EXPECT_FALSE(fs::exists(program / "language"));

    folders.PicturesDir = (root / "pics").string();
    EXPECT_EQ(SetUpFolders(folders).PicturesDir, (root / "pics").string() + "/");
}

TEST_F(FoldersTest, FirstAndSecondStart) {
    WriteFile(program / "jigsaws/distjiglist.txt", "alpha.orv\r\nbeta.orv\n");
    WriteFile(program / "jigsaws/alpha.orv", "A");
    WriteFile(program / "jigsaws/beta.orv", "B");
    WriteFile(program / "jigsaws/gamma.orv", "G");
    WriteFile(program / "jigsaws/start.SV1", "S");
    WriteFile(program / "jigsaws/notes.txt", "N");
    WriteFile(program / "thumb/jiglist.txt", "gamma\nmissing\n");
    WriteFile(program / "autosaved.sv1", "AUTO");
    WriteFile(program / "orvel.ini", "[Main]\n");

    TAppPaths p = SetUpFolders(folders);
    EXPECT_TRUE(p.FirstStart);
    EXPECT_EQ(p.DistList, (std::vector<std::string>{"alpha.orv", "beta.orv"}));
    EXPECT_EQ(p.CatalogueList, (std::vector<std::string>{"gamma", "missing"}));
    EXPECT_EQ(ReadFile(Jigsaws() / "alpha.orv"), "A");
    EXPECT_EQ(ReadFile(Jigsaws() / "beta.orv"), "B");
    EXPECT_EQ(ReadFile(Jigsaws() / "gamma.orv"), "G");
    EXPECT_FALSE(fs::exists(Jigsaws() / "missing.orv"));
    EXPECT_EQ(ReadFile(SavedGames() / "start.SV1"), "S");
    EXPECT_FALSE(fs::exists(SavedGames() / "notes.txt"));
    EXPECT_EQ(ReadFile(SavedGames() / "autosaved.sv1"), "AUTO");
    EXPECT_EQ(ReadFile(Settings()), "[Main]\n");
    EXPECT_TRUE(fs::exists(program / "orvel.ini"));  // the source is kept
    // Nothing but the copies: no scratch names left behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(Jigsaws()), fs::directory_iterator()), 3);

    // The user deletes jigsaws and the autosave; the installation grows.
    fs::remove(Jigsaws() / "alpha.orv");
    fs::remove(Jigsaws() / "gamma.orv");
    fs::remove(SavedGames() / "start.SV1");
    fs::remove(SavedGames() / "autosaved.sv1");
    WriteFile(Jigsaws() / "beta.orv", "user's own");
    WriteFile(program / "jigsaws/distjiglist.txt", "alpha.orv\nbeta.orv\ndelta.orv\n");
    WriteFile(program / "jigsaws/delta.orv", "D");

    p = SetUpFolders(folders);
    EXPECT_FALSE(p.FirstStart);
    EXPECT_EQ(ReadFile(Jigsaws() / "alpha.orv"), "A");          // came back
    EXPECT_EQ(ReadFile(Jigsaws() / "delta.orv"), "D");          // new in the installation
    EXPECT_EQ(ReadFile(Jigsaws() / "beta.orv"), "user's own");  // never overwritten
    EXPECT_FALSE(fs::exists(Jigsaws() / "gamma.orv"));          // catalogue: first start only
    EXPECT_FALSE(fs::exists(SavedGames() / "start.SV1"));       // saved games: first start only
    EXPECT_FALSE(fs::exists(SavedGames() / "autosaved.sv1"));   // autosave: first start only
}

TEST_F(FoldersTest, MissingListsReadAsEmpty) {
    const TAppPaths p = SetUpFolders(folders);
    EXPECT_TRUE(p.DistList.empty());
    EXPECT_TRUE(p.CatalogueList.empty());
    EXPECT_TRUE(ReadListFile((root / "nothing.txt").string()).empty());
    EXPECT_TRUE(ReadListFile(root.string()).empty());  // a folder is no list
}

TEST_F(FoldersTest, OddNamesAreCopiedAsTheyStand) {
    const std::vector<std::string> names = {"Sea & Sky (2).orv", "café ümlaut.orv",
                                            "'quoted' \"x\".orv", " leading space.orv",
                                            "-dash.orv"};
    std::string list;
    for (const auto& n : names) {
        list += n + "\n";
        WriteFile(program / "jigsaws" / n, n);
    }
    WriteFile(program / "jigsaws/distjiglist.txt", list + "\n");
    const TAppPaths p = SetUpFolders(folders);
    EXPECT_EQ(p.DistList.size(), names.size() + 1);  // the empty line is kept, not copied
    for (const auto& n : names) EXPECT_EQ(ReadFile(Jigsaws() / n), n) << n;
}

TEST_F(FoldersTest, ListLinesCannotReachOutside) {
    // Files a hostile list might point at, outside the jigsaw folders.
    WriteFile(program / "secret.orv", "S");
    WriteFile(program / "jigsaws/sub/inner.orv", "I");
    WriteFile(program / "jigsaws/distjiglist.txt",
              "../secret.orv\nsub/inner.orv\n..\n.\n/etc/passwd\n..\\secret.orv\nok.orv\n");
    WriteFile(program / "jigsaws/ok.orv", "OK");
    WriteFile(program / "thumb/jiglist.txt", "../secret\n../../Saved Games/x\n");
    const TAppPaths p = SetUpFolders(folders);
    EXPECT_EQ(ReadFile(Jigsaws() / "ok.orv"), "OK");
    std::vector<std::string> made;
    for (const auto& e : fs::recursive_directory_iterator(root / "home"))
        if (e.is_regular_file()) made.push_back(e.path().filename().string());
    EXPECT_EQ(made, (std::vector<std::string>{"ok.orv"}));
    EXPECT_FALSE(IsPlainFileName(""));
    EXPECT_FALSE(IsPlainFileName("a\tb"));
    EXPECT_TRUE(IsPlainFileName("..a"));
}

TEST_F(FoldersTest, CopyIfMissing) {
    const std::string src = (root / "src.bin").string(), dst = (root / "dst.bin").string();
    EXPECT_FALSE(CopyIfMissing(src, dst, false));  // no source: skipped
    EXPECT_FALSE(fs::exists(dst));

    WriteFile(src, "data");
    EXPECT_TRUE(CopyIfMissing(src, dst, true));
    EXPECT_EQ(ReadFile(dst), "data");
    EXPECT_FALSE(fs::exists(src));  // deleted as asked

    WriteFile(src, "new");
    EXPECT_FALSE(CopyIfMissing(src, dst, true));  // target exists: untouched, source kept
    EXPECT_EQ(ReadFile(dst), "data");
    EXPECT_TRUE(fs::exists(src));

    // A dangling link at the target counts as present; a folder is no source.
    fs::create_symlink(root / "nowhere", root / "link.bin");
    EXPECT_FALSE(CopyIfMissing(src, (root / "link.bin").string(), false));
    EXPECT_FALSE(CopyIfMissing(root.string(), (root / "dir-copy").string(), false));
    // Into a folder that does not exist: nothing, and no scratch file.
    EXPECT_FALSE(CopyIfMissing(src, (root / "no/such/dir/x").string(), false));
}

TEST_F(FoldersTest, ScratchFilesAreRemoved) {
    const TAppPaths p = SetUpFolders(folders);
    WriteFile(p.SaveScratchFile, "half a save");
    WriteFile(p.EntryScratchFile, "entry");
    WriteFile(p.SavedGamesDir + kAutosaveScratchName, "half an autosave copy");
    RemoveLeftoverScratch(p);
    EXPECT_FALSE(fs::exists(p.SaveScratchFile));
    EXPECT_FALSE(fs::exists(p.SavedGamesDir + kAutosaveScratchName));
    EXPECT_TRUE(fs::exists(p.EntryScratchFile));
    RemoveEntryScratch(p);
    EXPECT_FALSE(fs::exists(p.EntryScratchFile));
    RemoveEntryScratch(p);  // already gone: nothing happens
}

TEST_F(FoldersTest, EmptyDesktopFoldersCreateNothingRelative) {
    const fs::path cwd = fs::current_path();
    fs::current_path(root);
    TPlatformFolders empty;
    empty.ProgramDir = program.string();
    const TAppPaths p = SetUpFolders(empty);
    EXPECT_EQ(p.DocsDir, "");
    EXPECT_FALSE(fs::exists(root / "Pellory Games"));
    EXPECT_FALSE(fs::exists(root / "Orvel Jigsaw Zentia Tour"));
    fs::current_path(cwd);
}

TEST_F(FoldersTest, XdgFolders) {
    std::map<std::string, std::string> env = {{"HOME", "/home/ann"}};
    const auto lookup = [&](const char* name) -> const char* {
        auto it = env.find(name);
        return it == env.end() ? nullptr : it->second.c_str();
    };
    TPlatformFolders f = ReadXdgFolders("/opt/orvel", lookup);
    EXPECT_EQ(f.ProgramDir, "/opt/orvel");
    EXPECT_EQ(f.DataHomeDir, "/home/ann/.local/share");
    EXPECT_EQ(f.DocumentsDir, "/home/ann/Documents");
    EXPECT_EQ(f.PicturesDir, "");
    EXPECT_EQ(f.TempDir, "/tmp");

    WriteFile(root / "config/user-dirs.dirs",
              "# written by xdg-user-dirs-update\n"
              "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n"
              "XDG_PICTURES_DIR=\"/data/Bilder\"\n"
              "XDG_MUSIC_DIR=\"relative/ignored\"\n");
    env["XDG_CONFIG_HOME"] = (root / "config").string();
    env["XDG_DATA_HOME"] = "/srv/data";
    env["TMPDIR"] = "/var/tmp";
    f = ReadXdgFolders("/opt/orvel", lookup);
    EXPECT_EQ(f.DocumentsDir, "/home/ann/Dokumente");
    EXPECT_EQ(f.PicturesDir, "/data/Bilder");
    EXPECT_EQ(f.DataHomeDir, "/srv/data");
    EXPECT_EQ(f.TempDir, "/var/tmp");

    env["XDG_DATA_HOME"] = "relative";  // ignored, as XDG asks
    EXPECT_EQ(ReadXdgFolders("/opt/orvel", lookup).DataHomeDir, "/home/ann/.local/share");
}

}  // namespace
}  // namespace orvel
