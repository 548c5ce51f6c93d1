// orvel-tool download: the game's download, without a window. Fetches the
// named, the new or all jigsaws of the catalogue and says what it fetched,
// unpacked or refused.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "Command.h"
#include "app/Folders.h"
#include "base/Text.h"
#include "download/Downloader.h"
#include "lang/Lang.h"
#include "platform/FakePlatform.h"
#include "settings/Settings.h"

namespace fs = std::filesystem;

namespace orvel::tool {
namespace {

const char* kUsage =
    "NAME... | --new | --all [--host HOST] [--secure] [--user U --password P] "
    "[--jigsaws DIR] [--thumb DIR] [--ca-file FILE]";

// Messages go to the terminal. A question about another host is answered
// No (--host chooses the host); replacing a named jigsaw is answered OK.
class TTerminalPlatform : public FakePlatform {
public:
    MsgResult ShowMessage(const std::string& text, const std::string& caption, MsgKind kind) override {
        FakePlatform::ShowMessage(text, caption, kind);
        std::fprintf(stderr, "%s\n", text.c_str());
        if (kind == MsgKind::YesNo || kind == MsgKind::YesNoCancel) return MsgResult::No;
        return MsgResult::Ok;
    }
};

class TPrintingView : public TDownloadView {
public:
    void Note(const std::string& line) override { std::printf("%s\n", line.c_str()); }
};

struct DownloadOptions {
    std::vector<std::string> Names;
    int Mode = -1;
    std::string Host = kDownloadHosts[1];
    bool Secure = false;
    TDownloadDeployment Deployment = BuiltDownloadDeployment();
    std::string JigsawsDir;
    std::string ThumbDir;
};

std::string ProgramDir() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return (ec ? fs::current_path() : exe.parent_path()).string() + "/";
}

int Usage() {
    std::fprintf(stderr, "Usage: orvel-tool download %s\n", kUsage);
    return 2;
}

int ParseArgs(const std::vector<std::string>& args, DownloadOptions& o) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--new" || a == "--all") {
            o.Mode = a == "--new" ? DownMode_New : DownMode_All;
        } else if (a == "--secure") {
            o.Secure = true;
        } else if (hasValue && a == "--host") {
            o.Host = args[++i];
        } else if (hasValue && a == "--user") {
            o.Deployment.User = args[++i];
        } else if (hasValue && a == "--password") {
            o.Deployment.Password = args[++i];
        } else if (hasValue && a == "--ca-file") {
            o.Deployment.CaFile = args[++i];
        } else if (hasValue && a == "--jigsaws") {
            o.JigsawsDir = args[++i];
        } else if (hasValue && a == "--thumb") {
            o.ThumbDir = args[++i];
        } else if (!a.empty() && a[0] == '-') {
            std::fprintf(stderr, "download: unknown option or missing value: %s\n", a.c_str());
            return Usage();
        } else {
            o.Names.push_back(AsciiLower(a));
        }
    }
    if ((o.Mode < 0) == o.Names.empty()) return Usage();
    return -1;
}

// Each named jigsaw the way the window's "Selected Jigsaw" fetches it.
bool DownloadNamed(TDownloader& down, const std::vector<std::string>& names) {
    bool ok = true;
    down.SetMode(DownMode_Selected);
    for (const std::string& name : names) {
        int index = -1;
        for (size_t i = 0; i < down.Items().size(); ++i)
            if (down.Items()[i].Name == name) index = static_cast<int>(i);
        if (index < 0) {
            std::fprintf(stderr, "download: %s is not in the catalogue\n", name.c_str());
            ok = false;
            continue;
        }
        down.SelectItem(index);
        down.DownloadClick();
        ok = down.Items()[index].State == 1 && ok;
    }
    return ok;
}

int RunDownload(const std::vector<std::string>& args) {
    DownloadOptions o;
    if (const int status = ParseArgs(args, o); status >= 0) return status;
    const TAppPaths paths = SetUpFolders(ReadXdgFolders(ProgramDir()));
    TTerminalPlatform platform;
    TLanguage lang(&platform, paths.LanguageDir);
    lang.LoadAndApply(lang.LangFilePath("english"));
    TSettings settings;
    settings.sDnSrc = o.Host;
    settings.bUseSecure = o.Secure;
    settings.ThumbPath = o.ThumbDir.empty() ? paths.ThumbDir : JoinPath(o.ThumbDir, "");
    const std::string jigsaws = o.JigsawsDir.empty() ? paths.JigsawsDir : JoinPath(o.JigsawsDir, "");
    std::error_code ec;
    fs::create_directories(jigsaws, ec);
    TDownloader down(platform, lang, settings, {jigsaws, paths.TempDir, paths.UserDataDir}, o.Deployment);
    TPrintingView view;
    down.SetView(&view);
    down.Show();
    bool ok = true;
    if (o.Mode >= 0) {
        down.SetMode(o.Mode);
        down.DownloadClick();
        ok = platform.Messages.empty();
    } else {
        ok = DownloadNamed(down, o.Names);
    }
    down.Close();
    return ok ? 0 : 1;
}

CommandRegistration downloadCommand(
    {"download", kUsage,
     "downloads jigsaws of the catalogue into the jigsaw folder, as the download window does",
     RunDownload});

}  // namespace
}  // namespace orvel::tool
