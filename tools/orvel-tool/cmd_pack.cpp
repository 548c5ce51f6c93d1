// orvel-tool pack: makes a jigsaw file of every picture given, as the game
// and its download site use them.
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "Command.h"
#include "base/Text.h"
#include "library/PackJigsaw.h"

namespace fs = std::filesystem;

namespace orvel::tool {
namespace {

const char* kUsage = "IMAGE... [--out DIR] [--description TEXT]";

struct PackOptions {
    std::vector<std::string> Images;
    std::string OutDir = ".";
    std::string Description;
    bool HaveDescription = false;
};

bool PackOne(const std::string& image, const PackOptions& options, std::set<std::string>& written) {
    const std::string stem = fs::path(image).stem().string();
    const std::string name = JigsawNameOf(image);
    const std::string outPath = JoinPath(options.OutDir, name + ".orv");
    auto fail = [&](const std::string& why) {
        std::fprintf(stderr, "pack: %s: %s\n", image.c_str(), why.c_str());
        return false;
    };
    if (name.empty()) return fail("the file name gives no jigsaw name");
    if (!written.insert(name).second) return fail("another picture already gave " + outPath);
    const std::string description = options.HaveDescription ? options.Description : stem;
    if (Result r = PackJigsaw(image, outPath, name, description); !r)
        return fail(PlainText(r.Error()));
    std::printf("%s\n", outPath.c_str());
    return true;
}

// Returns the exit status for bad arguments, or -1 when they are fine.
int ParseArgs(const std::vector<std::string>& args, PackOptions& options) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--out" || a == "--description") {
            if (i + 1 >= args.size()) {
                std::fprintf(stderr, "pack: %s needs a value\n", a.c_str());
                return 2;
            }
            (a == "--out" ? options.OutDir : options.Description) = args[++i];
            options.HaveDescription |= a == "--description";
        } else if (a.size() > 1 && a[0] == '-') {
            std::fprintf(stderr, "pack: unknown option %s\nUsage: orvel-tool pack %s\n", a.c_str(),
                         kUsage);
            return 2;
        } else {
            options.Images.push_back(a);
        }
    }
    if (options.Images.empty()) {
        std::fprintf(stderr, "Usage: orvel-tool pack %s\n", kUsage);
        return 2;
    }
    return -1;
}

int RunPack(const std::vector<std::string>& args) {
    PackOptions options;
    if (const int status = ParseArgs(args, options); status >= 0) return status;
    std::error_code ec;
    fs::create_directories(options.OutDir, ec);
    if (!fs::is_directory(options.OutDir, ec)) {
        std::fprintf(stderr, "pack: cannot make the folder %s\n", options.OutDir.c_str());
        return 1;
    }
    std::set<std::string> written;
    bool ok = true;
    for (const std::string& image : options.Images) ok = PackOne(image, options, written) && ok;
    return ok ? 0 : 1;
}

CommandRegistration packCommand(
    {"pack", kUsage,
     "makes a jigsaw file <name>.orv of every picture (JPEG, PNG or BMP), "
     "with a thumbnail and a description",
     RunPack});

}  // namespace
}  // namespace orvel::tool
