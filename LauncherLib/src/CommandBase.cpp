#include "LauncherLib/CommandBase.h"

namespace LauncherLib {

CCommandBase::CCommandBase(std::string id, std::string params)
    : id(std::move(id)), params(std::move(params)) {}

void CCommandBase::Log(const std::string& text) const {
    if (logSink) {
        logSink(text);
    }
}

}  // namespace LauncherLib
