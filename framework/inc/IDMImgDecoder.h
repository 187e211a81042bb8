// The image decoder: turns picture bytes or files into frames of 32-bit premultiplied BGRA
// pixels (blue, green, red, alpha; colour channels multiplied by alpha), with a display time
// per frame and a loop count for animations. Registered under type 6; the render layer creates
// one decoder per picture it loads.
#pragma once

#include <cstddef>

#include "DMBase.h"

namespace DM {

// One decoded frame. Its pixels stay with the codec until CopyPixels is asked for them.
class IDMImgFrame : public DMRefNum {
public:
    // Non-zero on failure.
    virtual DMCode GetSize(UINT& width, UINT& height) = 0;
    // The display time in milliseconds.
    virtual DMCode SetDelay(UINT delay) = 0;
    virtual DMCode GetDelay(UINT& delay) = 0;
    // Copies `rect` (the whole frame when null) into `buffer` of `size` bytes, `stride` bytes
    // from one row to the next; non-zero when the rectangle leaves the frame or the buffer is
    // too small for it.
    virtual DMCode CopyPixels(void* buffer, UINT size, UINT stride, const RECT* rect) = 0;
};

class IDMImgDecoder : public DMBase {
public:
    // 0 decoded, 1 failed. Loading again appends the new frames.
    virtual DMCode LoadFromMemory(const void* bytes, std::size_t size) = 0;
    // `path` is relative to the executable's folder unless absolute.
    virtual DMCode LoadFromFile(const wchar_t* path) = 0;
    virtual DMCode GetFrameCount(UINT& count) = 0;
    // How often an animation plays: -1 when unknown or endless.
    virtual DMCode GetTotalLoopCount(int& count) = 0;
    // 0 and the frame with one reference for the caller; 1 for an index outside the frames or
    // a null output.
    virtual DMCode GetFrame(UINT index, IDMImgFrame** frame) = 0;
};

}  // namespace DM
