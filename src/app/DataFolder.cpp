#include "app/DataFolder.h"

#include <filesystem>
#include <system_error>

namespace orvel {

std::string ProgramDataDir(const std::string& exeDir) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (fs::is_directory(fs::path(exeDir) / "language", ec)) return exeDir;
    const fs::path installed = (fs::path(exeDir) / kInstalledDataDir).lexically_normal();
    if (fs::is_directory(installed / "language", ec)) return installed.string();
    return exeDir;
}

}  // namespace orvel
