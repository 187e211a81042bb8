// One 32-bit colour: the bytes blue, green, red, alpha in memory, so the value reads
// 0xAARRGGBB. A new colour is opaque black.
#pragma once

#include <cstdint>

#include "DMDef.h"

namespace DM {

class DMColor {
public:
    DMColor() = default;
    DMColor(BYTE red, BYTE green, BYTE blue, BYTE alpha = 0xFF)
        : b(blue), g(green), r(red), a(alpha) {}

    static DMColor FromValue(std::uint32_t value) {
        DMColor color;
        color.SetValue(value);
        return color;
    }
    void SetValue(std::uint32_t value) {
        b = static_cast<BYTE>(value);
        g = static_cast<BYTE>(value >> 8);
        r = static_cast<BYTE>(value >> 16);
        a = static_cast<BYTE>(value >> 24);
    }
    std::uint32_t ToValue() const {
        return static_cast<std::uint32_t>(b) | static_cast<std::uint32_t>(g) << 8 |
               static_cast<std::uint32_t>(r) << 16 | static_cast<std::uint32_t>(a) << 24;
    }
    // Multiplies all four channels by alpha / 255.
    void PreMultiply() {
        if (a == 0xFF) {
            return;
        }
        b = static_cast<BYTE>(b * a / 0xFF);
        g = static_cast<BYTE>(g * a / 0xFF);
        r = static_cast<BYTE>(r * a / 0xFF);
        a = static_cast<BYTE>(a * a / 0xFF);
    }
    COLORREF ToCOLORREF() const { return plat::RGB(r, g, b); }

    bool operator==(const DMColor& other) const { return ToValue() == other.ToValue(); }

    BYTE b = 0;
    BYTE g = 0;
    BYTE r = 0;
    BYTE a = 0xFF;
};

}  // namespace DM
