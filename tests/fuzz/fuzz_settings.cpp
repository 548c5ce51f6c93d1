// libFuzzer target: a settings file of any bytes loads, and what is saved
// from it loads again to the same values.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "settings/IniFile.h"
#include "settings/Settings.h"

namespace {

struct NoHooks : orvel::TSettingsHooks {};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace orvel;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    TIniBuffer ini;
    ini.SetText(bytes);

    TSettingsPaths paths;  // no folders: the language and help checks find nothing
    NoHooks hooks;
    TSettings s;
    ReadSettings(s, ini, paths, hooks);

    // Ranged values are in range whatever the file said.
    if (s.Level < 0 || s.Level > 13 || s.ShapeStyle > 6 || s.BorderStyle > 1 || s.EmbossStyle > 3 ||
        s.WoodStyle > 2 || s.iSecureMethodInd < 0 || s.iSecureMethodInd > 6 ||
        s.RecentFiles.size() > 4 || s.RotCW_Button > 1 || s.RotCW_Shift > 7) {
        __builtin_trap();
    }

    // Writing into the same lines and reading back gives the same settings.
    WriteSettings(s, ini);
    TIniBuffer again;
    again.SetText(ini.Text());
    TSettings t;
    ReadSettings(t, again, paths, hooks);
    if (t.Level != s.Level || t.WoodColor != s.WoodColor || t.sCurLang != s.sCurLang ||
        t.sDnSrc != s.sDnSrc || t.RecentFiles.size() != s.RecentFiles.size() ||
        t.iStuckKoef != s.iStuckKoef) {
        __builtin_trap();
    }
    return 0;
}
