#include "plat/system_colors.h"

#include "plat/window.h"

namespace plat {

COLORREF GetSysColor(int index) {
    switch (index) {
        case COLOR_WINDOW:
            return RGB(0xFF, 0xFF, 0xFF);
        case COLOR_HIGHLIGHT:
            return RGB(0x00, 0x78, 0xD7);
        case COLOR_HIGHLIGHTTEXT:
            return RGB(0xFF, 0xFF, 0xFF);
        case COLOR_INFOBK:
            return RGB(0xFF, 0xFF, 0xE1);
        default:
            return RGB(0, 0, 0);
    }
}

}  // namespace plat
