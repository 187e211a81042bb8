// System colours by their documented indices, with the values of the classic Windows scheme.
#pragma once

#include "plat/types.h"

namespace plat {

// COLOR_WINDOW (5) is declared with the window classes, whose background brush may name it.
constexpr int COLOR_WINDOWTEXT = 8;
constexpr int COLOR_HIGHLIGHT = 13;
constexpr int COLOR_HIGHLIGHTTEXT = 14;
constexpr int COLOR_INFOTEXT = 23;
constexpr int COLOR_INFOBK = 24;

// The colour of a system colour index as 0x00BBGGRR; black for an index it does not know.
COLORREF GetSysColor(int index);

}  // namespace plat
