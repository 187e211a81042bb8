// PNG through libpng's simplified reader, which handles every colour type and bit depth and
// reports errors without unwinding through our frames. It gives straight alpha.
#include <png.h>

#include "codecs.h"
#include "pixels.h"

namespace plat {
namespace {

// Frees what libpng holds for the image however the reading ends.
class PngImage {
public:
    PngImage() { m_image.version = PNG_IMAGE_VERSION; }
    ~PngImage() { png_image_free(&m_image); }
    PngImage(const PngImage&) = delete;
    PngImage& operator=(const PngImage&) = delete;

    png_image* operator->() { return &m_image; }
    png_image* get() { return &m_image; }

private:
    png_image m_image{};
};

}  // namespace

HRESULT DecodePng(std::span<const BYTE> bytes, std::unique_ptr<BitmapDecoder>& decoder) {
    PngImage image;
    if (!png_image_begin_read_from_memory(image.get(), bytes.data(), bytes.size())) {
        return WINCODEC_ERR_BADIMAGE;
    }
    if (!IsDecodableSize(image->width, image->height)) {
        return WINCODEC_ERR_IMAGESIZEOUTOFRANGE;
    }
    image->format = PNG_FORMAT_BGRA;
    std::vector<BYTE> pixels(PNG_IMAGE_SIZE(*image.get()));
    UINT width = image->width;
    UINT height = image->height;
    if (!png_image_finish_read(image.get(), nullptr, pixels.data(), 0, nullptr)) {
        return WINCODEC_ERR_BADIMAGE;
    }
    PremultiplyPixels(pixels.data(), std::uint64_t{width} * height);
    decoder = SingleFrameDecoder(width, height, std::move(pixels), MetadataQueryReader{});
    return S_OK;
}

}  // namespace plat
