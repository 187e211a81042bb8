// The host messages the container routes to its widgets, by kind.
#pragma once

#include "DMDef.h"
#include "plat/messages.h"

namespace DM {

constexpr UINT kImeStartComposition = 269;
constexpr UINT kImeComposition = 271;
constexpr UINT kImeChar = 646;
constexpr UINT kLastMouseButton = 525;

// Key, character and input-method messages after WM_KEYDOWN, which go to the focused widget.
inline bool IsKeyOrTextMessage(UINT message) {
    return (message > plat::WM_KEYDOWN && message <= plat::WM_KEYDOWN + 9) ||
           (message >= kImeStartComposition && message <= kImeComposition) || message == kImeChar;
}

// Buttons, wheel and hover: the widget holding the capture or the one under the pointer.
inline bool IsMouseButtonOrWheel(UINT message) {
    return (message > plat::WM_MOUSEMOVE && message <= kLastMouseButton) ||
           message == plat::WM_MOUSEHOVER;
}

}  // namespace DM
