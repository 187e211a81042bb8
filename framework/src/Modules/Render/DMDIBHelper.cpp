#include "DMDIBHelper.h"

#include <atomic>
#include <cstring>

namespace DM {

bool DMDIBHelper::Create(int width, int height) {
    Destroy();
    if (width < 0 || height < 0) {
        return false;
    }
    m_surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    if (cairo_surface_status(m_surface) != CAIRO_STATUS_SUCCESS ||
        cairo_image_surface_get_stride(m_surface) != width * 4) {
        Destroy();
        return false;
    }
    m_pixels = reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(m_surface));
    m_width = width;
    m_height = height;
    if (m_pixels) {
        std::memset(m_pixels, 0, ByteCount());
    }
    RenewContentId();
    return true;
}

void DMDIBHelper::Destroy() {
    if (m_surface) {
        cairo_surface_destroy(m_surface);
    }
    m_surface = nullptr;
    m_pixels = nullptr;
    m_width = 0;
    m_height = 0;
    RenewContentId();
}

void DMDIBHelper::MarkDirty() {
    if (m_surface) {
        cairo_surface_mark_dirty(m_surface);
    }
    RenewContentId();
}

void DMDIBHelper::Flush() const {
    if (m_surface) {
        cairo_surface_flush(m_surface);
    }
}

void DMDIBHelper::RenewContentId() {
    static std::atomic<std::uint64_t> last{0};
    m_contentId = ++last;
}

}  // namespace DM
