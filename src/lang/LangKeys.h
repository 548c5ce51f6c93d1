#pragma once

#include <span>
#include <string_view>

#include "lang/Lang.h"

namespace orvel {

// One text the program looks up: its section, its key, and the placeholders
// its text must carry, in order ("" for a plain text, "%d", "%s%s", ...).
// A Message is shown through LookUpMessage, so "$D" breaks its line.
struct TLangKey {
    LangSection Section;
    const char* Key;
    const char* Placeholders;
    bool Message;
};

// Every key any form or routine of the program looks up, in one place: the
// forms take their keys from here (by section and name) and the language
// files are checked against it.
std::span<const TLangKey> LangKeys();

// The entry for (section, key), compared as lookups compare; null when the
// program never looks that key up.
const TLangKey* FindLangKey(LangSection section, std::string_view key);

// The "%d"/"%s" placeholders of a text in order, e.g. "%d%s"; "%%" is none.
std::string PlaceholdersOf(std::string_view text);

}  // namespace orvel
