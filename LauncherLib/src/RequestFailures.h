// How the request and file download commands report what goes wrong inside them: nothing
// leaves Execute, every failure ends up in the result map.
#pragma once

#include <functional>

#include "LauncherLib/CommandBase.h"
#include "LauncherLib/ResultMap.h"

namespace LauncherLib {

// Runs `request`. A network failure, a time-out, an unparsable address or a stopped transfer
// it raises fails the command with "code" "-1" and the failure's text in "content"; anything
// else with "code" "-2" and "未知错误".
void RunReportingFailures(CCommandBase& command, ResultMap& result,
                          const std::function<void()>& request);

}  // namespace LauncherLib
