#pragma once

#include "app/MainMenu.h"

namespace orvel {

// The commands of the options dialog and the background pickers.
inline constexpr MenuCmd kOptionCommands[] = {MI_Options, MI_GameBkgAll, MI_GameBkgCur};

}  // namespace orvel
