#include "gif_canvas.h"

#include <algorithm>
#include <cstring>

#include "pixels.h"

namespace plat {

GifCanvas::GifCanvas(UINT width, UINT height)
    : m_width(width), m_height(height), m_pixels(std::uint64_t{width} * height * kBytesPerPixel) {}

void GifCanvas::BeginImage(const GifImageArea& area, int disposal) {
    m_area = area;
    m_disposal = disposal;
    if (disposal == DISPOSE_PREVIOUS) {
        m_before = m_pixels;
    }
}

void GifCanvas::DrawRow(int y, std::span<const GifPixelType> indices, const ColorMapObject* colors,
                        int transparentIndex) {
    std::int64_t screenY = std::int64_t{m_area.top} + y;
    if (screenY < 0 || screenY >= m_height) {
        return;
    }
    int colorCount = colors ? colors->ColorCount : 0;
    BYTE* row = m_pixels.data() + screenY * m_width * kBytesPerPixel;
    std::int64_t visible =
        std::min<std::int64_t>(indices.size(), std::int64_t{m_width} - m_area.left);
    for (std::int64_t x = 0; x < visible; ++x) {
        int index = indices[x];
        if (index == transparentIndex || index >= colorCount) {
            continue;
        }
        const GifColorType& color = colors->Colors[index];
        BYTE* pixel = row + (m_area.left + x) * kBytesPerPixel;
        pixel[0] = color.Blue;
        pixel[1] = color.Green;
        pixel[2] = color.Red;
        pixel[3] = 255;
    }
}

void GifCanvas::EndImage() {
    if (m_disposal == DISPOSE_BACKGROUND) {
        ClearArea(m_area);
    } else if (m_disposal == DISPOSE_PREVIOUS) {
        m_pixels.swap(m_before);
        m_before.clear();
    }
}

// Browsers clear to transparent rather than to the background colour, so the page (here: what
// lies under the widget) shows through.
void GifCanvas::ClearArea(const GifImageArea& area) {
    std::int64_t left = std::clamp<std::int64_t>(area.left, 0, m_width);
    std::int64_t right = std::clamp<std::int64_t>(std::int64_t{area.left} + area.width, 0, m_width);
    std::int64_t top = std::clamp<std::int64_t>(area.top, 0, m_height);
    std::int64_t bottom =
        std::clamp<std::int64_t>(std::int64_t{area.top} + area.height, 0, m_height);
    for (std::int64_t y = top; y < bottom; ++y) {
        BYTE* row = m_pixels.data() + (y * m_width + left) * kBytesPerPixel;
        std::memset(row, 0, (right - left) * kBytesPerPixel);
    }
}

}  // namespace plat
