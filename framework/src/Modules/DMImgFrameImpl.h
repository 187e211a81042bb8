// A frame of the image decoder over the platform codec's converted pixels.
#pragma once

#include <memory>

#include "IDMImgDecoder.h"
#include "plat/image_codec.h"

namespace DM {

class DMImgFrameImpl : public IDMImgFrame {
public:
    DMImgFrameImpl(std::shared_ptr<const plat::BitmapFrame> source, UINT delay);

    DMCode GetSize(UINT& width, UINT& height) override;
    DMCode SetDelay(UINT delay) override;
    DMCode GetDelay(UINT& delay) override;
    DMCode CopyPixels(void* buffer, UINT size, UINT stride, const RECT* rect) override;

private:
    std::shared_ptr<const plat::BitmapFrame> m_pSource;
    UINT m_uDelay;
};

}  // namespace DM
