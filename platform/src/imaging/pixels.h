// What the codecs share about pixels: the premultiplication and the size a picture may have.
#pragma once

#include <cstdint>

#include "plat/types.h"

namespace plat {

constexpr std::uint64_t kBytesPerPixel = 4;

// The largest frame the codecs decode, so a forged header cannot make them allocate
// gigabytes, and the most pixel memory one picture's frames may take together.
constexpr std::uint64_t kMaxFramePixels = std::uint64_t{1} << 25;
constexpr std::uint64_t kMaxPictureBytes = std::uint64_t{1} << 28;

inline bool IsDecodableSize(std::uint64_t width, std::uint64_t height) {
    return width > 0 && height > 0 && width <= kMaxFramePixels && width * height <= kMaxFramePixels;
}

// A colour channel of straight alpha, multiplied by alpha and rounded.
inline BYTE Premultiply(BYTE channel, BYTE alpha) {
    return static_cast<BYTE>((channel * alpha + 127) / 255);
}

// Premultiplies B, G, R of every BGRA pixel by its A.
inline void PremultiplyPixels(BYTE* pixels, std::uint64_t count) {
    for (std::uint64_t i = 0; i < count; ++i, pixels += kBytesPerPixel) {
        BYTE alpha = pixels[3];
        if (alpha != 255) {
            pixels[0] = Premultiply(pixels[0], alpha);
            pixels[1] = Premultiply(pixels[1], alpha);
            pixels[2] = Premultiply(pixels[2], alpha);
        }
    }
}

}  // namespace plat
