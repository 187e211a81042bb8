#include "drivers/headless/png_file.h"

#include <png.h>

#include <vector>

namespace plat::headless {
namespace {

BYTE Unpremultiply(BYTE channel, BYTE alpha) {
    return static_cast<BYTE>(std::min(255, (channel * 255 + alpha / 2) / alpha));
}

// One pixel as straight RGBA bytes.
void AppendStraight(std::vector<BYTE>& out, std::uint32_t pixel, BYTE constantAlpha) {
    BYTE blue = pixel & 0xFF;
    BYTE green = (pixel >> 8) & 0xFF;
    BYTE red = (pixel >> 16) & 0xFF;
    BYTE alpha = (pixel >> 24) & 0xFF;
    if (alpha == 0) {
        out.insert(out.end(), {0, 0, 0, 0});
        return;
    }
    BYTE shownAlpha = static_cast<BYTE>((alpha * constantAlpha + 127) / 255);
    out.insert(out.end(), {Unpremultiply(red, alpha), Unpremultiply(green, alpha),
                           Unpremultiply(blue, alpha), shownAlpha});
}

}  // namespace

bool WritePng(const std::filesystem::path& path, const Picture& picture, BYTE constantAlpha) {
    if (picture.width <= 0 || picture.height <= 0) {
        return false;
    }
    std::vector<BYTE> rgba;
    rgba.reserve(picture.pixels.size() * 4);
    for (std::uint32_t pixel : picture.pixels) {
        AppendStraight(rgba, pixel, constantAlpha);
    }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(picture.width);
    image.height = static_cast<png_uint_32>(picture.height);
    image.format = PNG_FORMAT_RGBA;
    int written =
        png_image_write_to_file(&image, path.c_str(), 0, rgba.data(), picture.width * 4, nullptr);
    png_image_free(&image);
    return written != 0;
}

}  // namespace plat::headless
