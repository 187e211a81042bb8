// The framework's log object: writes each line to the platform's debugger output.
#pragma once

#include "DMRegType.h"
#include "IDMLog.h"

namespace DM {

class DMLogImpl : public IDMLog {
    DMDECLARE_CLASS_NAME(DMLogImpl, IDMLog, L"DMLogImpl", L"IDMLog", DMREG_Log)
public:
    // Level 1 is dropped (1); other levels write
    // "[SECCLI:Lumeno][level name][function][line:N]message" (0).
    DMCode LogW(int level, const wchar_t* function, const wchar_t* file, int line,
                const wchar_t* message) override;
};

}  // namespace DM
