#include "DMTransImpl.h"

namespace DM {

DMCode DMTransImpl::GetTrans(DMStringT& out, const DMStringT& source, const DMStringT&,
                             const DMStringT&) {
    out = source;
    return DM_ECODE_OK;
}

}  // namespace DM
