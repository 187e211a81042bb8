// The base of the commands that download a file: they share the limit below which a transfer
// counts as stalled, so a server that stops sending cannot hold a download forever.
#pragma once

#include "LauncherLib/CommandBase.h"
#include "LauncherLib/LowSpeedLimit.h"

namespace LauncherLib {

class CDownloadCommand : public CCommandBase {
public:
    using CCommandBase::CCommandBase;

    // A transfer slower than `bytesPerSecond` for `seconds` fails. 1 byte/s for 60 s unless
    // changed.
    void SetLowSpeedLimit(long bytesPerSecond, long seconds) {
        lowSpeed = {bytesPerSecond, seconds};
    }

protected:
    const LowSpeedLimit& GetLowSpeedLimit() const { return lowSpeed; }

private:
    LowSpeedLimit lowSpeed;
};

}  // namespace LauncherLib
