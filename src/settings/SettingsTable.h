#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <variant>

#include "settings/Settings.h"

namespace orvel {

class TIniBuffer;
struct TSettingEntry;

// What reading an entry may need besides its own value.
struct TSettingsReadContext {
    const TIniBuffer& Ini;
    const TSettingsPaths& Paths;
    TSettingsHooks& Hooks;
};

using TSettingReader = void (*)(const TSettingEntry& entry, TSettings& s,
                                const TSettingsReadContext& context);
using TSettingWriter = void (*)(const TSettingEntry& entry, const TSettings& s, TIniBuffer& ini);

// The member an entry fills. A uint8_t member keeps the low byte of the
// stored number; a TColor member is a colour. None (monostate) for an entry
// that reads and writes itself.
using TSettingField =
    std::variant<std::monostate, bool TSettings::*, uint8_t TSettings::*, int32_t TSettings::*,
                 TColor TSettings::*, std::string TSettings::*>;

// One stored setting: where it sits in the file, the member it fills, its
// default and the values it may take. A stored value outside Min..Max (for
// text: a length outside Min..Max) falls back to the default, and a value
// outside them in memory is written as the default, so the file never holds
// what the reader would refuse. A missing or unparsable entry keeps what the
// member held.
struct TSettingEntry {
    const char* Section;
    const char* Key;
    const char* SubKey;  // "" when the value sits on the key line
    TSettingField Field;
    int64_t Default;          // numbers and colours; booleans as 0 or 1
    const char* DefaultText;  // text
    int64_t Min;
    int64_t Max;
    // Runs right after the entry is read: the side effects of reading.
    TSettingReader AfterRead;
    // Replace the plain reading and writing of an entry without a field.
    TSettingReader CustomRead;
    TSettingWriter CustomWrite;
};

// Every stored setting in the order of reading and of writing.
std::span<const TSettingEntry> SettingsTable();

// The key of recent file index in section Files: "Last" + index.
std::string RecentFileKey(int index);

}  // namespace orvel
