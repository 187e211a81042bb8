#include "DMBitmapImpl.h"

#include <cstring>

#include "DMPixelOps.h"
#include "DMRectSet.h"
#include "plat/drive_map.h"

namespace DM {

DMCode DMBitmapImpl::Init(int width, int height, const void* pixels) {
    m_copy.clear();
    if (!m_dib.Create(width, height)) {
        return DM_ECODE_FAIL;
    }
    if (pixels && m_dib.Pixels()) {
        std::memcpy(m_dib.Pixels(), pixels, m_dib.ByteCount());
        m_dib.MarkDirty();
    }
    return DM_ECODE_OK;
}

DMCode DMBitmapImpl::AdjustHSL(int hue, int saturation, int lightness, const RECT* rect) {
    RECT area = ClipToPicture(m_dib, rect);
    if (saturation < 0 || lightness < 0 || IsEmptyRect(area)) {
        return DM_ECODE_FAIL;
    }
    if (hue == 0 && saturation == 100 && lightness == 100) {
        return DM_ECODE_OK;
    }
    // The pixels as they were before the first adjustment, for RestoreCopy; every adjustment
    // works on the current pixels, so that new content is adjusted too.
    if (m_copy.empty()) {
        m_dib.Flush();
        m_copy.assign(m_dib.Pixels(), m_dib.Pixels() + m_dib.ByteCount() / 4);
    }
    AdjustPixelsHSL(m_dib, hue, saturation, lightness, area);
    return DM_ECODE_OK;
}

DMCode DMBitmapImpl::RestoreCopy() {
    if (m_copy.empty()) {
        return DM_ECODE_FAIL;
    }
    m_dib.Flush();
    std::memcpy(m_dib.Pixels(), m_copy.data(), m_dib.ByteCount());
    m_dib.MarkDirty();
    std::vector<std::uint32_t>().swap(m_copy);
    return DM_ECODE_OK;
}

DMCode DMBitmapImpl::SaveBmpFile(const wchar_t* path) {
    return path && WriteBmpFile(m_dib, path) ? DM_ECODE_OK : DM_ECODE_FAIL;
}

DMCode DMBitmapImpl::AdjustAlpha(BYTE alpha, const RECT* rect) {
    RECT area = ClipToPicture(m_dib, rect);
    if (IsEmptyRect(area)) {
        return DM_ECODE_FAIL;
    }
    SetPixelsAlpha(m_dib, alpha, area);
    return DM_ECODE_OK;
}

DMCode DMBitmapImpl::AlphaBackup(const RECT& rect) {
    RECT area = ClipToPicture(m_dib, &rect);
    if (IsEmptyRect(area)) {
        return DM_ECODE_FAIL;
    }
    BackupAlpha(m_dib, area);
    return DM_ECODE_OK;
}

DMCode DMBitmapImpl::AlphaRestore() {
    RestoreAlpha(m_dib);
    return DM_ECODE_OK;
}

std::uint32_t DMBitmapImpl::GetPixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= m_dib.Width() || y >= m_dib.Height()) {
        return 0xFFFFFFFF;
    }
    m_dib.Flush();
    return m_dib.Pixels()[static_cast<std::size_t>(y) * m_dib.Width() + x];
}

bool DMBitmapImpl::SetPixel(int x, int y, std::uint32_t value) {
    if (x < 0 || y < 0 || x >= m_dib.Width() || y >= m_dib.Height()) {
        return false;
    }
    m_dib.Flush();
    m_dib.Pixels()[static_cast<std::size_t>(y) * m_dib.Width() + x] = value;
    m_dib.MarkDirty();
    return true;
}

std::uint32_t* DMBitmapImpl::GetPixelBits() {
    m_dib.Flush();
    m_dib.MarkDirty();
    m_pixelsHandedOut = true;
    return m_dib.Pixels();
}

void* DMBitmapImpl::GetBitmap() {
    m_pixelsHandedOut = true;
    return m_dib.Surface();
}

}  // namespace DM

namespace DM {

DMCode SavePngFile(IDMBitmap* bitmap, const wchar_t* path) {
    if (!bitmap || !path || !bitmap->GetBitmap()) {
        return DM_ECODE_FAIL;
    }
    auto* surface = static_cast<cairo_surface_t*>(bitmap->GetBitmap());
    std::string host = plat::HostPathFromWindowsW(path).string();
    return cairo_surface_write_to_png(surface, host.c_str()) == CAIRO_STATUS_SUCCESS
               ? DM_ECODE_OK
               : DM_ECODE_FAIL;
}

}  // namespace DM
