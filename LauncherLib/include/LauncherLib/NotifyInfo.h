// A notification record for the UI: a name and a GBK text. An empty name means no record.
#pragma once

#include <string>

namespace LauncherLib {

struct NotifyInfo {
    std::string name;
    std::string content;
};

}  // namespace LauncherLib
