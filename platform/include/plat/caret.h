// The text caret's timing.
#pragma once

#include "plat/types.h"

namespace plat {

// Milliseconds between the caret's blinks: the Windows default, 530.
UINT GetCaretBlinkTime();

}  // namespace plat
