// The pixel store of a bitmap: a cairo image surface in CAIRO_FORMAT_ARGB32, which is
// premultiplied B, G, R, A in memory, rows top to bottom with width × 4 bytes each.
#pragma once

#include <cairo.h>

#include <cstddef>
#include <cstdint>

namespace DM {

class DMDIBHelper {
public:
    DMDIBHelper() = default;
    ~DMDIBHelper() { Destroy(); }
    DMDIBHelper(const DMDIBHelper&) = delete;
    DMDIBHelper& operator=(const DMDIBHelper&) = delete;

    // A new picture cleared to 0; the old one goes.
    bool Create(int width, int height);
    void Destroy();

    cairo_surface_t* Surface() const { return m_surface; }
    std::uint32_t* Pixels() const { return m_pixels; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    int RowBytes() const { return m_width * 4; }
    std::size_t ByteCount() const { return static_cast<std::size_t>(RowBytes()) * m_height; }

    // Tells cairo that the pixels were changed directly / asks it to finish pending drawing.
    void MarkDirty();
    void Flush() const;

    // A number no other picture content in the process has had: renewed whenever the picture
    // is made, destroyed or marked dirty, so what is derived from the pixels can be kept under
    // it. Drawing into the surface through cairo does not renew it.
    std::uint64_t ContentId() const { return m_contentId; }

private:
    void RenewContentId();

    cairo_surface_t* m_surface = nullptr;
    std::uint64_t m_contentId = 0;
    std::uint32_t* m_pixels = nullptr;
    int m_width = 0;
    int m_height = 0;
};

}  // namespace DM
