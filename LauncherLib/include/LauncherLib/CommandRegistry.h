// The process-wide command registry: factories by command name, and the counter that gives
// every created command a unique id "<name>-<n>".
#pragma once

#include <functional>
#include <string>

#include "LauncherLib/CommandBase.h"

namespace LauncherLib {

using CommandFactory = std::function<CommandPtr(const std::string& id, const std::string& params)>;

// Stores `factory` under `name`, replacing an earlier one.
void RegisterCommand(const std::string& name, CommandFactory factory);

// A new command with a fresh id, or an empty pointer (and no id used up) for an unknown name.
CommandPtr CreateCommand(const std::string& name, const std::string& params);

// The factory of the usual form for a command class constructed from (id, params).
template <typename Command>
CommandFactory FactoryOf() {
    return [](const std::string& id, const std::string& params) -> CommandPtr {
        return std::make_shared<Command>(id, params);
    };
}

}  // namespace LauncherLib
