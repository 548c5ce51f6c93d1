#pragma once

// The file side of the jigsaw and saved-game browser: which files a folder
// lists, the rules for a saved game's name, and which jigsaws are protected.

#include <string>
#include <string_view>
#include <vector>

namespace orvel {

// Every file of dir whose extension, dot included, occurs within wanted
// (".orv", ".sv1": so ".sv" is listed with the saved games, a file without
// extension never), sorted by name without regard to letter case. Names are
// file names with extension.
std::vector<std::string> ListFolder(const std::string& dir, std::string_view wanted);

// The name without its extension.
std::string BaseName(std::string_view fileName);

// What a typed save name comes to: the text after the last "\" or ":"
// without extension; Empty or Invalid (holding "\", "/" or "?") are refused.
enum class SaveNameCheck { Ok, Empty, Invalid };
SaveNameCheck ReduceSaveName(std::string_view typed, std::string& name);

// Whether fileName is one of the jigsaws the program comes with (compared
// without regard to letter case).
bool IsDistributedJigsaw(std::string_view fileName, const std::vector<std::string>& distList);

}  // namespace orvel
