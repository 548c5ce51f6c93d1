#include <cstdio>

#include "Command.h"
#include "base/Version.h"

namespace orvel::tool {
namespace {

CommandRegistration versionCommand({"version", "", "prints the program version and date",
                                    [](const std::vector<std::string>&) {
                                        std::printf("%s %s (%s)\n", kAppTitle, kVersionText, kVersionDate);
                                        return 0;
                                    }});

}  // namespace
}  // namespace orvel::tool
