#pragma once

#include <cstdint>
#include <string>

namespace orvel {

// Reads a whole regular file of at most limit bytes; false when it is missing,
// not a regular file, unreadable or larger.
bool ReadSmallFile(const std::string& path, uint64_t limit, std::string& bytes);

// What stands at a path that should have been a regular file, for messages:
// "a folder", "a named pipe", "a device", "a socket", "" for a regular file,
// "missing" when nothing is there.
std::string DescribeNonFile(const std::string& path);

}  // namespace orvel
