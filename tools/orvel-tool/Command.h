#pragma once

#include <functional>
#include <string>
#include <vector>

namespace orvel::tool {

// A subcommand of orvel-tool. Each command file registers itself with a
// static CommandRegistration, so adding a command touches no other file.
struct Command {
    std::string Name;
    std::string Usage;    // one line: arguments and options
    std::string Summary;  // one line: what it does
    std::function<int(const std::vector<std::string>& args)> Run;
};

std::vector<Command>& Commands();

// A whole decimal argument within lo..hi; false for anything else.
bool ParseInt(const std::string& s, long long lo, long long hi, long long& out);

struct CommandRegistration {
    explicit CommandRegistration(Command command);
};

}  // namespace orvel::tool
