// BMP: a file header, a BITMAPINFOHEADER (or a later, longer version of it) and uncompressed
// rows, bottom-up unless the height is negative, each padded to 4 bytes. Read here: 8 bits
// through a palette, 24 bits, and 32 bits (BI_RGB, or BI_BITFIELDS with the usual masks).
#include <cstring>

#include "codecs.h"
#include "pixels.h"

namespace plat {
namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;
constexpr std::uint32_t BI_RGB = 0;
constexpr std::uint32_t BI_BITFIELDS = 3;

std::uint32_t ReadU32(std::span<const BYTE> bytes, std::size_t at) {
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
           static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

std::uint16_t ReadU16(std::span<const BYTE> bytes, std::size_t at) {
    return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

struct BmpLayout {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    bool topDown = false;
    int bitCount = 0;
    std::span<const BYTE> palette;  // 4 bytes per entry: blue, green, red, unused
    std::span<const BYTE> rows;
    std::size_t stride = 0;
};

// BI_BITFIELDS is read only with the masks BI_RGB implies for 32 bits; the masks follow the
// 40-byte header, which is also where the longer headers keep them.
bool HasUsualMasks(std::span<const BYTE> bytes) {
    std::size_t masks = kFileHeaderSize + kInfoHeaderSize;
    return bytes.size() >= masks + 12 && ReadU32(bytes, masks) == 0x00FF0000 &&
           ReadU32(bytes, masks + 4) == 0x0000FF00 && ReadU32(bytes, masks + 8) == 0x000000FF;
}

bool IsReadableFormat(std::span<const BYTE> bytes, int bitCount, std::uint32_t compression) {
    switch (bitCount) {
        case 8:
        case 24:
            return compression == BI_RGB;
        case 32:
            return compression == BI_RGB || (compression == BI_BITFIELDS && HasUsualMasks(bytes));
        default:
            return false;
    }
}

// The palette of an 8-bit picture: biClrUsed entries (256 when 0) after the header.
bool ReadPalette(std::span<const BYTE> bytes, std::uint32_t headerSize, BmpLayout& layout) {
    std::uint64_t entries = ReadU32(bytes, kFileHeaderSize + 32);
    if (entries == 0 || entries > 256) {
        entries = 256;
    }
    std::uint64_t start = kFileHeaderSize + std::uint64_t{headerSize};
    if (start + entries * 4 > bytes.size()) {
        return false;
    }
    layout.palette = bytes.subspan(start, entries * 4);
    return true;
}

HRESULT ReadLayout(std::span<const BYTE> bytes, BmpLayout& layout) {
    if (bytes.size() < kFileHeaderSize + kInfoHeaderSize) {
        return WINCODEC_ERR_BADIMAGE;
    }
    std::uint32_t headerSize = ReadU32(bytes, kFileHeaderSize);
    std::int64_t width = static_cast<std::int32_t>(ReadU32(bytes, kFileHeaderSize + 4));
    std::int64_t height = static_cast<std::int32_t>(ReadU32(bytes, kFileHeaderSize + 8));
    layout.bitCount = ReadU16(bytes, kFileHeaderSize + 14);
    std::uint32_t compression = ReadU32(bytes, kFileHeaderSize + 16);
    if (headerSize < kInfoHeaderSize || ReadU16(bytes, kFileHeaderSize + 12) != 1 ||
        !IsReadableFormat(bytes, layout.bitCount, compression)) {
        return WINCODEC_ERR_BADIMAGE;
    }
    layout.topDown = height < 0;
    height = height < 0 ? -height : height;
    if (!IsDecodableSize(width > 0 ? width : 0, height)) {
        return width > 0 && height > 0 ? WINCODEC_ERR_IMAGESIZEOUTOFRANGE : WINCODEC_ERR_BADIMAGE;
    }
    layout.width = static_cast<std::uint32_t>(width);
    layout.height = static_cast<std::uint32_t>(height);
    if (layout.bitCount == 8 && !ReadPalette(bytes, headerSize, layout)) {
        return WINCODEC_ERR_BADIMAGE;
    }
    layout.stride = (std::uint64_t{layout.width} * layout.bitCount + 31) / 32 * 4;
    std::uint64_t offset = ReadU32(bytes, 10);
    if (offset > bytes.size() || layout.stride * layout.height > bytes.size() - offset) {
        return WINCODEC_ERR_BADIMAGE;
    }
    layout.rows = bytes.subspan(offset, layout.stride * layout.height);
    return S_OK;
}

// One row into BGRA; 32-bit rows keep their fourth byte as alpha for now.
void ConvertRow(const BmpLayout& layout, const BYTE* source, BYTE* target) {
    std::size_t paletteEntries = layout.palette.size() / 4;
    for (std::uint32_t x = 0; x < layout.width; ++x, target += kBytesPerPixel) {
        if (layout.bitCount == 8) {
            // An index past the palette shows black.
            std::size_t index = source[x];
            const BYTE* color = index < paletteEntries ? &layout.palette[index * 4] : nullptr;
            target[0] = color ? color[0] : 0;
            target[1] = color ? color[1] : 0;
            target[2] = color ? color[2] : 0;
            target[3] = 255;
        } else if (layout.bitCount == 24) {
            std::memcpy(target, source + x * 3, 3);
            target[3] = 255;
        } else {
            std::memcpy(target, source + x * 4, 4);
        }
    }
}

// Most writers leave the fourth byte of 32-bit pixels 0: such a picture is opaque. Otherwise
// the byte is straight alpha.
void ApplyAlpha(std::vector<BYTE>& pixels) {
    std::uint64_t count = pixels.size() / kBytesPerPixel;
    bool hasAlpha = false;
    for (std::uint64_t i = 0; i < count && !hasAlpha; ++i) {
        hasAlpha = pixels[i * kBytesPerPixel + 3] != 0;
    }
    if (!hasAlpha) {
        for (std::uint64_t i = 0; i < count; ++i) {
            pixels[i * kBytesPerPixel + 3] = 255;
        }
        return;
    }
    PremultiplyPixels(pixels.data(), count);
}

}  // namespace

HRESULT DecodeBmp(std::span<const BYTE> bytes, std::unique_ptr<BitmapDecoder>& decoder) {
    BmpLayout layout;
    HRESULT result = ReadLayout(bytes, layout);
    if (FAILED(result)) {
        return result;
    }
    std::uint64_t targetStride = std::uint64_t{layout.width} * kBytesPerPixel;
    std::vector<BYTE> pixels(targetStride * layout.height);
    for (std::uint32_t y = 0; y < layout.height; ++y) {
        std::uint32_t sourceRow = layout.topDown ? y : layout.height - 1 - y;
        ConvertRow(layout, layout.rows.data() + sourceRow * layout.stride,
                   pixels.data() + y * targetStride);
    }
    if (layout.bitCount == 32) {
        ApplyAlpha(pixels);
    }
    decoder = SingleFrameDecoder(layout.width, layout.height, std::move(pixels), std::nullopt);
    return S_OK;
}

}  // namespace plat
