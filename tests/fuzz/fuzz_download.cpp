// libFuzzer target: a downloaded pack of any bytes unpacks only inside its
// folder, and the server's description file, the catalogue list and error
// pages of any bytes parse without harm.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "download/DownloadCatalogue.h"
#include "download/PackExtract.h"

namespace fs = std::filesystem;

namespace {

// One scratch folder per process: <tmp>/orvel-fuzz-dl-<pid>/{pack,out/}.
const fs::path& Scratch() {
    static const fs::path dir = fs::temp_directory_path() / ("orvel-fuzz-dl-" + std::to_string(getpid()));
    return dir;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace orvel;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const TServerInfo info = ParseServerInfo(bytes);
    if (!info.Ext.empty() && info.Ext.find('.') == std::string::npos) std::abort();
    for (const std::string& name : ParseCatalogueList(bytes))
        if (name.empty()) std::abort();
    (void)ErrorPageTitle(bytes);
    (void)IsErrorPage(bytes);

    std::error_code ec;
    fs::remove_all(Scratch(), ec);
    fs::create_directories(Scratch() / "out", ec);
    const std::string pack = (Scratch() / "pack").string();
    if (std::FILE* f = std::fopen(pack.c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    TExtractLimits limits;
    limits.MaxEntryBytes = limits.MaxPackBytes = 1 << 20;
    const TExtractReport report = ExtractPack(pack, (Scratch() / "out").string() + "/", limits);
    // Nothing lands beside the folder; a failed pack leaves it empty.
    for (const fs::directory_entry& e : fs::directory_iterator(Scratch()))
        if (e.path().filename() != "out" && e.path().filename() != "pack") std::abort();
    if (!report.Ok() && !fs::is_empty(Scratch() / "out")) std::abort();
    return 0;
}
