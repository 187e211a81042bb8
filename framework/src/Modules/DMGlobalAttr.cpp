#include "DMGlobalAttr.h"

#include "DMAttrTable.h"

namespace DMAttr {

DMATTR_DEFINE(DMGlobalAttr, XMLNODE_global)
DMATTR_DEFINE(DMGlobalAttr, XMLATTR_font)
DMATTR_DEFINE(DMGlobalAttr, XMLNODE_skin)
DMATTR_DEFINE(DMGlobalAttr, XMLNODE_style)

}  // namespace DMAttr
