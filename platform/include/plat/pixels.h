// A view of a picture in the system's pixel format: 32 bits per pixel, bytes blue, green, red,
// alpha, colours premultiplied by alpha.
#pragma once

#include "plat/types.h"

namespace plat {

struct PixelBuffer {
    const BYTE* bits;  // the top-left pixel
    LONG width;
    LONG height;
    LONG stride;  // bytes from one row to the next

    const BYTE* Row(LONG y) const { return bits + static_cast<std::intptr_t>(y) * stride; }
    bool Empty() const { return bits == nullptr || width <= 0 || height <= 0; }
    // The part of this picture that starts at (x, y) and has the given size.
    PixelBuffer Part(LONG x, LONG y, LONG partWidth, LONG partHeight) const {
        return {Row(y) + static_cast<std::intptr_t>(x) * 4, partWidth, partHeight, stride};
    }
};

}  // namespace plat
