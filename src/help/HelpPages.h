#pragma once

// The help: one folder of HTML pages per language ("<name>.help" beside the
// language files), opened at a named page. A language without a page of its
// own shows the English one.

#include <array>
#include <string>
#include <string_view>

namespace orvel {

inline constexpr const char* kHelpContentsPage = "cont-zent.htm";
inline constexpr const char* kHelpBaseLanguage = "english";

// Every page the program opens by name.
inline constexpr std::array<const char*, 9> kHelpPages = {
    "cont-zent.htm", "open.htm",    "save.htm",     "download.htm", "sound.htm",
    "play-mode.htm", "effects.htm", "language.htm", "options.htm"};

// The page the options dialog's help shows for one of its pages (TS_AutoSave,
// TS_Sound, TS_Play, TS_Visual, TS_Lang; any other page: "options.htm").
std::string OptionsHelpPage(std::string_view tabName);
// The page of the browser in open mode or in save mode.
std::string BrowserHelpPage(bool saveMode);

// The file that shows page: in helpDir (the current language's help folder)
// when it is there, else in languageDir's English help folder. Empty when
// neither has it. A page name with folder parts is refused (empty).
std::string HelpPageFile(const std::string& helpDir, const std::string& languageDir,
                         const std::string& page);

// Whether the program has help to show: the English contents page exists.
bool HelpAvailable(const std::string& languageDir);

}  // namespace orvel
