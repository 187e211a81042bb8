// The logical screen of a GIF animation, on which every image is drawn over what the frames
// before it left: pixels of the transparent index (and of indices the colour table lacks) let
// the screen show through, and after its frame an image is disposed of as its graphic control
// asks: left in place, cleared to transparent, or the screen restored to what it was before.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include <gif_lib.h>

#include "plat/types.h"

namespace plat {

// Where an image lies on the screen; it may reach beyond the screen, which clips it.
struct GifImageArea {
    int left;
    int top;
    int width;
    int height;
};

class GifCanvas {
public:
    // A transparent screen.
    GifCanvas(UINT width, UINT height);

    UINT Width() const { return m_width; }
    UINT Height() const { return m_height; }
    const std::vector<BYTE>& Pixels() const { return m_pixels; }

    // Begins an image: remembers the screen when the image's disposal restores it afterwards.
    void BeginImage(const GifImageArea& area, int disposal);
    // Draws row `y` of the current image from its colour indices.
    void DrawRow(int y, std::span<const GifPixelType> indices, const ColorMapObject* colors,
                 int transparentIndex);
    // Disposes of the current image once its frame has been taken.
    void EndImage();

private:
    void ClearArea(const GifImageArea& area);

    UINT m_width;
    UINT m_height;
    std::vector<BYTE> m_pixels;
    GifImageArea m_area{};
    int m_disposal = DISPOSAL_UNSPECIFIED;
    std::vector<BYTE> m_before;
};

}  // namespace plat
