#include "app/LangChoice.h"

#include <filesystem>
#include <system_error>

namespace orvel {

bool ApplyLanguageChoice(TLanguage& lang, TSettings& settings, const std::string& name) {
    std::error_code ec;
    // A name with folder parts has no file in the language folder.
    const bool plain = IsPlainLanguageName(name);
    const std::string chosen = lang.LangFilePath(name);
    const bool ok = lang.LoadAndApply(plain && std::filesystem::is_regular_file(chosen, ec)
                                          ? chosen
                                          : lang.LangFilePath("english"));
    const std::string help = lang.HelpFilePath(name);
    settings.HelpFile =
        plain && std::filesystem::is_directory(help, ec) ? help : lang.HelpFilePath("english");
    settings.sCurLang = name;
    return ok;
}

}  // namespace orvel
