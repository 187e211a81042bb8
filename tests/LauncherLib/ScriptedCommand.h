// A test-only command whose Execute runs a function given by the test.
#pragma once

#include <functional>
#include <string>

#include "LauncherLib/CommandBase.h"
#include "LauncherLib/CommandRegistry.h"

namespace vael::test {

using CommandBody = std::function<void(LauncherLib::CCommandBase&, LauncherLib::ResultMapPtr)>;

class ScriptedCommand : public LauncherLib::CCommandBase {
public:
    ScriptedCommand(std::string id, std::string params, CommandBody body)
        : CCommandBase(std::move(id), std::move(params)), m_body(std::move(body)) {}
    void Execute(LauncherLib::ResultMapPtr result) override { m_body(*this, result); }

private:
    CommandBody m_body;
};

inline void RegisterScripted(const std::string& name, CommandBody body) {
    LauncherLib::RegisterCommand(name, [body](const std::string& id, const std::string& params) {
        return std::make_shared<ScriptedCommand>(id, params, body);
    });
}

}  // namespace vael::test
