// Accelerators: a 32-bit value with the modifier bits in the high 16 bits (1 Shift, 2 Ctrl,
// 4 Alt) and a virtual-key code in the low 16 bits.
#pragma once

#include "DMDef.h"

namespace DM {

constexpr DWORD DMACCEL_SHIFT = 1;
constexpr DWORD DMACCEL_CTRL = 2;
constexpr DWORD DMACCEL_ALT = 4;

class DUIAccel {
public:
    // "ctrl+shift+f5" and the like; an empty text gives 0.
    static DWORD ParseAccel(const DMStringT& text);
    // The display text, "Ctrl+Shift+F5"; "无" for a value without modifiers and key.
    static DMStringT FormatAccel(DWORD accel);
};

}  // namespace DM
