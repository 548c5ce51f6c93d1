#pragma once

#include <string>

namespace orvel {

// Where the program data folder of an installation lies, relative to the
// folder of the executable: <prefix>/bin -> <prefix>/share/orvel-jigsaw.
inline constexpr const char* kInstalledDataDir = "../share/orvel-jigsaw";

// The program data folder for an executable in exeDir: exeDir itself in a
// build tree (it holds language/), else the installation's share folder when
// that exists, else exeDir.
std::string ProgramDataDir(const std::string& exeDir);

}  // namespace orvel
