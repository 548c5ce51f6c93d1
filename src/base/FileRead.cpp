#include "base/FileRead.h"

#include <filesystem>
#include <fstream>

namespace orvel {

bool ReadSmallFile(const std::string& path, uint64_t limit, std::string& bytes) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return false;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec || size > limit) return false;
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.assign(static_cast<size_t>(size), '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<size_t>(in.gcount()));
    return true;
}

std::string DescribeNonFile(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_status st = fs::status(path, ec);
    switch (st.type()) {
        case fs::file_type::regular: return "";
        case fs::file_type::directory: return "a folder";
        case fs::file_type::fifo: return "a named pipe";
        case fs::file_type::block:
        case fs::file_type::character: return "a device";
        case fs::file_type::socket: return "a socket";
        case fs::file_type::not_found:
        case fs::file_type::none: return "missing";
        default: return "not a regular file";
    }
}

}  // namespace orvel
