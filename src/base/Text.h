#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orvel {

// Bytes up to and including ' ' removed at both ends.
std::string_view TrimView(std::string_view s);
// A-Z to a-z; every other byte (UTF-8 included) as it is. File and language
// names are compared and built in lower case this way.
std::string AsciiLower(std::string_view s);
// Equal when A-Z and a-z are taken as the same (language keys, file extensions).
bool EqualsAsciiNoCase(std::string_view a, std::string_view b);
// Optional sign and decimal digits only, within the 32-bit signed range.
bool ParseInt32(std::string_view s, int32_t& out);
// dir + "/" + name, with no doubled separator; an empty dir gives name.
std::string JoinPath(std::string_view dir, std::string_view name);
// path with one "/" at its end (an empty path stays empty).
std::string AddSlash(const std::string& path);

// Fills a language format: each "%d" and "%s" takes the next argument as it
// stands, "%%" gives "%". Missing arguments leave nothing, extra ones are
// dropped; any other "%" sequence is kept literally. A translated text can
// therefore never make the program read arguments it does not have.
std::string FormatText(std::string_view format, const std::vector<std::string>& args);
std::string FormatText(std::string_view format, int value);
std::string FormatText(std::string_view format, std::string_view value);

}  // namespace orvel
