// The picture codec, standing in for the Windows Imaging Component: decodes PNG, JPEG, GIF and
// BMP into frames of 32-bit premultiplied BGRA pixels (blue, green, red, alpha bytes; colour
// channels multiplied by alpha), and answers metadata queries by the component's item names.
// A GIF gives one frame per image, each composed onto the logical screen with the disposal of
// the frames before it, as a browser shows the animation.
#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "plat/hresult.h"
#include "plat/types.h"

namespace plat {

constexpr HRESULT WINCODEC_ERR_PROPERTYNOTFOUND = static_cast<HRESULT>(0x88982F40);
constexpr HRESULT WINCODEC_ERR_COMPONENTNOTFOUND = static_cast<HRESULT>(0x88982F50);
constexpr HRESULT WINCODEC_ERR_IMAGESIZEOUTOFRANGE = static_cast<HRESULT>(0x88982F51);
constexpr HRESULT WINCODEC_ERR_BADIMAGE = static_cast<HRESULT>(0x88982F60);
constexpr HRESULT WINCODEC_ERR_UNSUPPORTEDOPERATION = static_cast<HRESULT>(0x88982F81);

// A block of pixels: its top-left corner and its size.
struct WICRect {
    int X;
    int Y;
    int Width;
    int Height;
};

// A metadata item: an unsigned 16-bit number (VT_UI2) or a byte vector (VT_UI1 | VT_VECTOR).
using MetadataValue = std::variant<WORD, std::vector<BYTE>>;

// The metadata blocks of a picture or of one of its frames, by item name. A GIF answers
// "/appext/application" (the 11-byte identifier of its application extension) and
// "/appext/data" (the extension's data sub-blocks, each as its size byte and its bytes) for the
// picture, and "/grctlext/Delay" (hundredths of a second) for a frame.
class MetadataQueryReader {
public:
    void SetMetadataByName(std::wstring name, MetadataValue value);
    // S_OK and the item's value; WINCODEC_ERR_PROPERTYNOTFOUND when the picture has no such
    // block. Names match without regard to case.
    HRESULT GetMetadataByName(std::wstring_view name, MetadataValue& value) const;

private:
    std::vector<std::pair<std::wstring, MetadataValue>> m_items;
};

// One decoded frame: rows top-down, 4 bytes per pixel.
class BitmapFrame {
public:
    BitmapFrame(UINT width, UINT height, std::vector<BYTE> pixels,
                std::optional<MetadataQueryReader> metadata);

    HRESULT GetSize(UINT& width, UINT& height) const;
    // Copies `rect` (the whole frame when null) into `buffer`, `stride` bytes from one row to
    // the next: E_INVALIDARG when the rectangle leaves the frame, a row is longer than the
    // stride or the rows do not fit in `bufferSize` bytes.
    HRESULT CopyPixels(const WICRect* rect, UINT stride, UINT bufferSize, BYTE* buffer) const;
    // WINCODEC_ERR_UNSUPPORTEDOPERATION for a format without metadata blocks (BMP).
    HRESULT GetMetadataQueryReader(const MetadataQueryReader*& reader) const;

private:
    UINT m_width;
    UINT m_height;
    std::vector<BYTE> m_pixels;
    std::optional<MetadataQueryReader> m_metadata;
};

class BitmapDecoder {
public:
    BitmapDecoder(std::vector<std::shared_ptr<const BitmapFrame>> frames,
                  std::optional<MetadataQueryReader> metadata);

    HRESULT GetFrameCount(UINT& count) const;
    // E_INVALIDARG for an index outside the frames.
    HRESULT GetFrame(UINT index, std::shared_ptr<const BitmapFrame>& frame) const;
    // The picture's own metadata, which only a GIF has: WINCODEC_ERR_UNSUPPORTEDOPERATION for
    // the other formats.
    HRESULT GetMetadataQueryReader(const MetadataQueryReader*& reader) const;

private:
    std::vector<std::shared_ptr<const BitmapFrame>> m_frames;
    std::optional<MetadataQueryReader> m_metadata;
};

// Decodes a picture from memory; the bytes are not needed afterwards. The format is told by the
// leading bytes: WINCODEC_ERR_COMPONENTNOTFOUND when no codec knows them,
// WINCODEC_ERR_BADIMAGE for corrupt data, WINCODEC_ERR_IMAGESIZEOUTOFRANGE for a picture too
// large to decode. A GIF whose data breaks off after some complete frames keeps those frames.
HRESULT CreateDecoderFromMemory(const void* bytes, std::size_t size,
                                std::unique_ptr<BitmapDecoder>& decoder);
// The same for a file named by a Windows path (through the drive map) or by a host path; a file
// that cannot be read answers the Win32 error as a result code.
HRESULT CreateDecoderFromFilename(const wchar_t* windowsPath,
                                  std::unique_ptr<BitmapDecoder>& decoder);
HRESULT CreateDecoderFromHostFile(const std::filesystem::path& hostPath,
                                  std::unique_ptr<BitmapDecoder>& decoder);

}  // namespace plat
