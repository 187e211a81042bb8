// "httpgetcmd": sends one GET through POCO to the address given as the parameter text and puts
// the status into "code" and, for 200, the whole body into "content".
#pragma once

#include "LauncherLib/CommandBase.h"

namespace LauncherLib {

class CHttpGetCommand : public CCommandBase {
public:
    using CCommandBase::CCommandBase;

    void Execute(ResultMapPtr result) override;

private:
    void Get(ResultMap& result);
};

}  // namespace LauncherLib
