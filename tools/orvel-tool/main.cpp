// orvel-tool: command-line access to the game's core for tests, benchmarks
// and resource building.
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstdio>
#include <string>
#include <vector>

#include "Command.h"

namespace orvel::tool {

std::vector<Command>& Commands() {
    static std::vector<Command> commands;
    return commands;
}

CommandRegistration::CommandRegistration(Command command) { Commands().push_back(std::move(command)); }

bool ParseInt(const std::string& s, long long lo, long long hi, long long& out) {
    char* end = nullptr;
    errno = 0;
    const long long v = std::strtoll(s.c_str(), &end, 10);
    if (s.empty() || *end != '\0' || errno != 0 || v < lo || v > hi) return false;
    out = v;
    return true;
}

namespace {

void PrintHelp() {
    std::vector<Command> sorted = Commands();
    std::sort(sorted.begin(), sorted.end(), [](const Command& a, const Command& b) { return a.Name < b.Name; });
    std::printf("Usage: orvel-tool COMMAND [ARGS...]\n\nCommands:\n");
    for (const Command& c : sorted) std::printf("  %s %s\n      %s\n", c.Name.c_str(), c.Usage.c_str(), c.Summary.c_str());
    std::printf("\n  orvel-tool --help   shows this text\n");
}

}  // namespace

}  // namespace orvel::tool

int main(int argc, char** argv) {
    using namespace orvel::tool;
    if (argc < 2 || std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h") {
        PrintHelp();
        return argc < 2 ? 2 : 0;
    }
    const std::string name = argv[1];
    for (const Command& c : Commands()) {
        if (c.Name == name) return c.Run(std::vector<std::string>(argv + 2, argv + argc));
    }
    std::fprintf(stderr, "orvel-tool: unknown command '%s' (see orvel-tool --help)\n", name.c_str());
    return 2;
}
