#include "help/HelpPages.h"

#include <filesystem>
#include <system_error>

#include "base/Text.h"

namespace orvel {

namespace {

bool IsFile(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

// A page is a file inside the help folder, never a way out of it.
bool IsPlainPageName(const std::string& page) {
    return !page.empty() && page.find('/') == std::string::npos &&
           page.find('\\') == std::string::npos && page != "." && page != "..";
}

}  // namespace

std::string OptionsHelpPage(std::string_view tabName) {
    if (tabName == "TS_AutoSave") return "save.htm";
    if (tabName == "TS_Sound") return "sound.htm";
    if (tabName == "TS_Play") return "play-mode.htm";
    if (tabName == "TS_Visual") return "effects.htm";
    if (tabName == "TS_Lang") return "language.htm";
    return "options.htm";
}

std::string BrowserHelpPage(bool saveMode) {
    return saveMode ? "save.htm" : "open.htm";
}

std::string HelpPageFile(const std::string& helpDir, const std::string& languageDir,
                         const std::string& page) {
    if (!IsPlainPageName(page)) return {};
    if (!helpDir.empty()) {
        const std::string own = JoinPath(helpDir, page);
        if (IsFile(own)) return own;
    }
    const std::string english =
        JoinPath(JoinPath(languageDir, std::string(kHelpBaseLanguage) + ".help"), page);
    return IsFile(english) ? english : std::string();
}

bool HelpAvailable(const std::string& languageDir) {
    return !HelpPageFile({}, languageDir, kHelpContentsPage).empty();
}

}  // namespace orvel
