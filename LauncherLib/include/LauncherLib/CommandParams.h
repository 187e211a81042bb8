// Command parameter texts: a one-level JSON object whose values are all strings.
#pragma once

#include <map>
#include <optional>
#include <string>

namespace LauncherLib {

// Compact JSON, members in the map's (byte-wise) key order; quote, backslash and control
// characters escaped; the slash and bytes from 0x80 up written as they are.
std::string MapToJson(const std::map<std::string, std::string>& map);

// The string members of a JSON object text; members of other types are left out. Empty when
// the text is not a JSON object.
std::optional<std::map<std::string, std::string>> ParseJsonParams(const std::string& text);

}  // namespace LauncherLib
