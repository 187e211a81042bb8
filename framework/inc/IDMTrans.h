// Translation of display texts: a widget's text goes through the default translation object
// with its host's translation id before it is drawn.
#pragma once

#include "DMBase.h"

namespace DM {

class IDMTrans : public DMBase {
public:
    // The text to show for `source`; `set` names the host's translation table (its "transid")
    // and `node` a part of it. 0 with `out` filled.
    virtual DMCode GetTrans(DMStringT& out, const DMStringT& source, const DMStringT& set,
                            const DMStringT& node) = 0;
};

}  // namespace DM
