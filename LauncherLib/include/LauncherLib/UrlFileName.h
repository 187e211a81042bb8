#pragma once

#include <string>

namespace LauncherLib {

// The last piece of `url` between runs of slashes, ignoring an empty piece after the last run:
// "srv/d/a.zip?x=1" gives "a.zip?x=1", "srv/d/" gives "d". Backslashes do not separate.
std::string FileNameFromUrl(const std::string& url);

}  // namespace LauncherLib
