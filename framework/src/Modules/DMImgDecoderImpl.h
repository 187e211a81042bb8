// The framework's image decoder over the platform codec, with the GIF block reader as the
// source of frame times and loop count when the codec has no times for an animation.
#pragma once

#include <functional>

#include "DMArrayT.h"
#include "DMRegType.h"
#include "IDMImgDecoder.h"
#include "plat/image_codec.h"

namespace DM {

class DMGifParse;
class DMImgFrameImpl;

// The decoder's frames, one reference each.
class DMImgFrameArray : public DMArrayT<DMImgFrameImpl*> {
public:
    ~DMImgFrameArray() override { RemoveAll(); }

protected:
    void PreArrayObjRemove(DMImgFrameImpl* const& frame) override;
};

class DMImgDecoderImpl : public IDMImgDecoder {
    DMDECLARE_CLASS_NAME(DMImgDecoderImpl, IDMImgDecoder, L"DMImgDecoderImpl", L"IDMImgDecoder",
                         DMREG_ImgDecoder)
public:
    DMCode LoadFromMemory(const void* bytes, std::size_t size) override;
    DMCode LoadFromFile(const wchar_t* path) override;
    DMCode GetFrameCount(UINT& count) override;
    DMCode GetTotalLoopCount(int& count) override;
    DMCode GetFrame(UINT index, IDMImgFrame** frame) override;

private:
    DMCode LoadFrames(plat::BitmapDecoder& decoder, const wchar_t* function,
                      const std::function<bool(DMGifParse&)>& readGif);
    // Appends the codec's frames and sets the loop count; false when the picture has no frame.
    bool ReadFrames(const plat::BitmapDecoder& decoder);
    int QueryLoopCount(const plat::BitmapDecoder& decoder) const;
    UINT GetFrameDelay(const plat::BitmapFrame& frame) const;
    // Whether the frames from `first` on are an animation without a single display time.
    bool LacksFrameTimes(std::size_t first) const;
    void TakeTimesFromGif(const DMGifParse& gif, std::size_t first);

    DMImgFrameArray m_frames;
    UINT m_uFrameCount = 0;
    int m_iLoopCount = -1;
};

}  // namespace DM
