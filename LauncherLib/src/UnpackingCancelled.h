// Raised inside the archive walk when the command's owner cancels it; it leaves the walk and
// ends the command.
#pragma once

#include <stdexcept>

namespace LauncherLib {

class UnpackingCancelled : public std::runtime_error {
public:
    UnpackingCancelled() : std::runtime_error("Unpacking cancelled") {}
};

}  // namespace LauncherLib
