#include "PictureWriter.h"

#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include <gif_lib.h>
#include <jpeglib.h>
#include <png.h>

namespace vael::test {

std::string WritePng(int width, int height, const std::vector<Rgba>& pixels) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGBA;
    png_alloc_size_t size = 0;
    if (!png_image_write_get_memory_size(image, size, 0, pixels.data(), 0, nullptr)) {
        throw std::runtime_error("cannot measure the PNG");
    }
    std::string bytes(size, '\0');
    if (!png_image_write_to_memory(&image, bytes.data(), &size, 0, pixels.data(), 0, nullptr)) {
        throw std::runtime_error("cannot write the PNG");
    }
    bytes.resize(size);
    return bytes;
}

std::string WriteJpeg(int width, int height, const std::vector<Rgba>& pixels, int quality) {
    jpeg_compress_struct info{};
    jpeg_error_mgr error{};
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 4;
    info.in_color_space = JCS_EXT_RGBX;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        auto* row = const_cast<JSAMPLE*>(
            reinterpret_cast<const JSAMPLE*>(&pixels[info.next_scanline * width]));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::string bytes(reinterpret_cast<char*>(buffer), size);
    std::free(buffer);
    return bytes;
}

namespace {

std::string Little32(std::uint32_t value) {
    return {char(value), char(value >> 8), char(value >> 16), char(value >> 24)};
}

std::string Little16(std::uint16_t value) {
    return {char(value), char(value >> 8)};
}

}  // namespace

std::string WriteBmp(int width, int height, int bitCount, const std::string& rows,
                     const std::string& palette) {
    auto offset = static_cast<std::uint32_t>(14 + 40 + palette.size());
    auto rowBytes = static_cast<std::uint32_t>(rows.size());
    std::string fileHeader = "BM" + Little32(offset + rowBytes) + Little32(0) + Little32(offset);
    std::string infoHeader = Little32(40) + Little32(width) + Little32(height) + Little16(1) +
                             Little16(bitCount) + Little32(0) + Little32(rowBytes) +
                             Little32(2835) + Little32(2835) +
                             Little32(static_cast<std::uint32_t>(palette.size() / 4)) + Little32(0);
    return fileHeader + infoHeader + palette + rows;
}

namespace {

int AppendToString(GifFileType* gif, const GifByteType* bytes, int length) {
    static_cast<std::string*>(gif->UserData)->append(reinterpret_cast<const char*>(bytes), length);
    return length;
}

// giflib writes from its own structures; here they point into the buffers of this holder's
// vectors (which moving an inner vector keeps in place) until the picture is written.
struct GifBlocks {
    std::vector<GifColorType> colors;
    ColorMapObject colorMap{};
    std::vector<std::vector<GifByteType>> extensionBytes;
    std::vector<std::vector<ExtensionBlock>> extensions;
    std::vector<std::vector<GifByteType>> rasters;
    std::vector<SavedImage> images;

    void AddExtension(std::vector<ExtensionBlock>& blocks, int function,
                      std::vector<GifByteType> bytes) {
        extensionBytes.push_back(std::move(bytes));
        blocks.push_back({static_cast<int>(extensionBytes.back().size()),
                          extensionBytes.back().data(), function});
    }
};

void SetColorMap(const GifPicture& picture, GifBlocks& blocks) {
    int count = 2;
    while (count < static_cast<int>(picture.colors.size())) {
        count *= 2;
    }
    blocks.colors.resize(count);
    for (std::size_t i = 0; i < picture.colors.size(); ++i) {
        blocks.colors[i] = {picture.colors[i].r, picture.colors[i].g, picture.colors[i].b};
    }
    blocks.colorMap.ColorCount = count;
    blocks.colorMap.BitsPerPixel = GifBitSize(count);
    blocks.colorMap.Colors = blocks.colors.data();
}

std::vector<ExtensionBlock> ImageExtensions(const GifPicture& picture, const GifImage& image,
                                            bool first, GifBlocks& blocks) {
    std::vector<ExtensionBlock> extensions;
    if (first && picture.loopCount) {
        std::string name = "NETSCAPE2.0";
        blocks.AddExtension(extensions, APPLICATION_EXT_FUNC_CODE,
                            std::vector<GifByteType>(name.begin(), name.end()));
        int loop = *picture.loopCount;
        blocks.AddExtension(
            extensions, CONTINUE_EXT_FUNC_CODE,
            {1, static_cast<GifByteType>(loop & 0xFF), static_cast<GifByteType>(loop >> 8)});
    }
    if (image.control) {
        std::vector<GifByteType> control = {
            static_cast<GifByteType>(image.disposal << 2 | (image.transparent >= 0 ? 1 : 0)),
            static_cast<GifByteType>(image.delay & 0xFF),
            static_cast<GifByteType>(image.delay >> 8),
            static_cast<GifByteType>(image.transparent >= 0 ? image.transparent : 0)};
        control.resize(image.controlSize, 0);
        blocks.AddExtension(extensions, GRAPHICS_EXT_FUNC_CODE, std::move(control));
    }
    return extensions;
}

}  // namespace

std::string WriteGif(const GifPicture& picture) {
    GifBlocks blocks;
    SetColorMap(picture, blocks);
    for (std::size_t i = 0; i < picture.images.size(); ++i) {
        const GifImage& image = picture.images[i];
        blocks.extensions.push_back(ImageExtensions(picture, image, i == 0, blocks));
        blocks.rasters.emplace_back(image.indices.begin(), image.indices.end());
        SavedImage saved{};
        saved.ImageDesc = {image.left,   image.top,       image.width,
                           image.height, image.interlace, nullptr};
        saved.RasterBits = blocks.rasters.back().data();
        saved.ExtensionBlockCount = static_cast<int>(blocks.extensions.back().size());
        saved.ExtensionBlocks = blocks.extensions.back().data();
        blocks.images.push_back(saved);
    }
    std::string bytes;
    int error = 0;
    GifFileType* gif = EGifOpen(&bytes, &AppendToString, &error);
    gif->SWidth = picture.width;
    gif->SHeight = picture.height;
    gif->SColorResolution = 8;
    gif->SColorMap = &blocks.colorMap;
    gif->ImageCount = static_cast<int>(blocks.images.size());
    gif->SavedImages = blocks.images.data();
    // EGifSpew closes the file; the structures it wrote from stay ours.
    if (EGifSpew(gif) != GIF_OK) {
        throw std::runtime_error("cannot write the GIF");
    }
    return bytes;
}

}  // namespace vael::test
