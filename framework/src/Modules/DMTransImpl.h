// The default translation object: no translation tables are loaded, so every text is shown as
// it is written.
#pragma once

#include "DMRegType.h"
#include "IDMTrans.h"

namespace DM {

class DMTransImpl : public IDMTrans {
    DMDECLARE_CLASS_NAME(DMTransImpl, IDMTrans, L"DMTransImpl", L"IDMTrans", DMREG_Trans)
public:
    DMCode GetTrans(DMStringT& out, const DMStringT& source, const DMStringT& set,
                    const DMStringT& node) override;
};

}  // namespace DM
