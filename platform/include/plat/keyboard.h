// Virtual-key codes and their characters, for the United States keyboard layout.
#pragma once

#include "plat/types.h"

namespace plat {

constexpr UINT MAPVK_VK_TO_CHAR = 2;

// For MAPVK_VK_TO_CHAR: the unshifted character of the key (letters in upper case), 0 for a
// key without one. Other map types answer 0.
UINT MapVirtualKeyW(UINT code, UINT mapType);

}  // namespace plat
