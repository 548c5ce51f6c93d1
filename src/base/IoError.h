#pragma once

#include <stdexcept>
#include <string>

namespace orvel {

// An input/output failure: thrown where a file cannot be read or written and
// caught at the command or event boundary, where the user sees one message.
class IoError : public std::runtime_error {
public:
    explicit IoError(const std::string& what) : std::runtime_error(what) {}
};

}  // namespace orvel
