// The sink a command manager reports to: state 0 right before a command runs, 1 right after.
#pragma once

#include "LauncherLib/CommandBase.h"
#include "LauncherLib/ResultMap.h"

namespace LauncherLib {

class ICommandNotify {
public:
    virtual ~ICommandNotify() = default;
    virtual void OnNotify(CommandPtr command, int state, ResultMapPtr result) = 0;
};

}  // namespace LauncherLib
