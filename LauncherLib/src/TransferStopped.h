// Raised inside a transfer that the engine itself gives up: its owner cancelled it, or the
// server has sent too little for too long.
#pragma once

#include <stdexcept>

namespace LauncherLib {

class TransferStopped : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace LauncherLib
