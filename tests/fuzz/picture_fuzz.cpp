// The picture codecs (PNG, JPEG, GIF with its frames, BMP) and the GIF block reader.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "Modules/DMGifParse.h"
#include "plat/hresult.h"
#include "plat/image_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::unique_ptr<plat::BitmapDecoder> decoder;
    if (plat::CreateDecoderFromMemory(data, size, decoder) == plat::S_OK && decoder) {
        plat::UINT count = 0;
        decoder->GetFrameCount(count);
        for (plat::UINT i = 0; i < count && i < 16; ++i) {
            std::shared_ptr<const plat::BitmapFrame> frame;
            if (decoder->GetFrame(i, frame) != plat::S_OK) {
                continue;
            }
            plat::UINT width = 0;
            plat::UINT height = 0;
            frame->GetSize(width, height);
            std::vector<plat::BYTE> pixels(static_cast<std::size_t>(width) * height * 4);
            frame->CopyPixels(nullptr, width * 4, static_cast<plat::UINT>(pixels.size()),
                              pixels.data());
        }
    }
    DM::DMGifParse gif;
    gif.LoadFromMemory(data, size);
    return 0;
}
