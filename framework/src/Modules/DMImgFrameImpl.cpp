#include "DMImgFrameImpl.h"

#include <climits>
#include <cstdint>

namespace DM {
namespace {

// The rectangle as the codec gives it (corner and size); false for a size that is negative or
// does not fit.
bool ToCodecRect(const RECT& rect, plat::WICRect& area) {
    std::int64_t width = std::int64_t{rect.right} - rect.left;
    std::int64_t height = std::int64_t{rect.bottom} - rect.top;
    if (width < 0 || height < 0 || width > INT_MAX || height > INT_MAX) {
        return false;
    }
    area = {rect.left, rect.top, static_cast<int>(width), static_cast<int>(height)};
    return true;
}

}  // namespace

DMImgFrameImpl::DMImgFrameImpl(std::shared_ptr<const plat::BitmapFrame> source, UINT delay)
    : m_pSource(std::move(source)), m_uDelay(delay) {}

DMCode DMImgFrameImpl::GetSize(UINT& width, UINT& height) {
    return plat::SUCCEEDED(m_pSource->GetSize(width, height)) ? DM_ECODE_OK : DM_ECODE_FAIL;
}

DMCode DMImgFrameImpl::SetDelay(UINT delay) {
    m_uDelay = delay;
    return DM_ECODE_OK;
}

DMCode DMImgFrameImpl::GetDelay(UINT& delay) {
    delay = m_uDelay;
    return DM_ECODE_OK;
}

DMCode DMImgFrameImpl::CopyPixels(void* buffer, UINT size, UINT stride, const RECT* rect) {
    plat::WICRect area{};
    if (rect && !ToCodecRect(*rect, area)) {
        return DM_ECODE_FAIL;
    }
    plat::HRESULT result =
        m_pSource->CopyPixels(rect ? &area : nullptr, stride, size, static_cast<BYTE*>(buffer));
    return plat::SUCCEEDED(result) ? DM_ECODE_OK : DM_ECODE_FAIL;
}

}  // namespace DM
