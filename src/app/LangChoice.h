#pragma once

#include <string>

#include "lang/Lang.h"
#include "settings/Settings.h"

namespace orvel {

// Switches to the language the player chose (the options dialog's OK):
// applies <name>.lng, or english.lng when that file is missing; the help
// becomes the language's own when it has one, else English; sCurLang takes
// the chosen name. Returns what applying the file returned.
bool ApplyLanguageChoice(TLanguage& lang, TSettings& settings, const std::string& name);

}  // namespace orvel
