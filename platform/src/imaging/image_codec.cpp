#include "plat/image_codec.h"

#include <algorithm>
#include <cstring>
#include <cwctype>
#include <fstream>
#include <iterator>

#include "codecs.h"
#include "pixels.h"
#include "plat/drive_map.h"
#include "plat/files.h"

namespace plat {
namespace {

bool EqualNoCase(std::wstring_view a, std::wstring_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](wchar_t x, wchar_t y) { return std::towlower(x) == std::towlower(y); });
}

bool StartsWith(std::span<const BYTE> bytes, std::string_view signature) {
    return bytes.size() >= signature.size() &&
           std::memcmp(bytes.data(), signature.data(), signature.size()) == 0;
}

// The codec for the format the leading bytes announce, or null.
using Codec = HRESULT (*)(std::span<const BYTE>, std::unique_ptr<BitmapDecoder>&);
Codec CodecFor(std::span<const BYTE> bytes) {
    if (StartsWith(bytes, "\x89PNG\r\n\x1A\n")) {
        return &DecodePng;
    }
    if (StartsWith(bytes, "\xFF\xD8\xFF")) {
        return &DecodeJpeg;
    }
    if (StartsWith(bytes, "GIF87a") || StartsWith(bytes, "GIF89a")) {
        return &DecodeGif;
    }
    if (StartsWith(bytes, "BM")) {
        return &DecodeBmp;
    }
    return nullptr;
}

}  // namespace

void MetadataQueryReader::SetMetadataByName(std::wstring name, MetadataValue value) {
    m_items.emplace_back(std::move(name), std::move(value));
}

HRESULT MetadataQueryReader::GetMetadataByName(std::wstring_view name, MetadataValue& value) const {
    for (const auto& [itemName, itemValue] : m_items) {
        if (EqualNoCase(itemName, name)) {
            value = itemValue;
            return S_OK;
        }
    }
    return WINCODEC_ERR_PROPERTYNOTFOUND;
}

BitmapFrame::BitmapFrame(UINT width, UINT height, std::vector<BYTE> pixels,
                         std::optional<MetadataQueryReader> metadata)
    : m_width(width),
      m_height(height),
      m_pixels(std::move(pixels)),
      m_metadata(std::move(metadata)) {}

HRESULT BitmapFrame::GetSize(UINT& width, UINT& height) const {
    width = m_width;
    height = m_height;
    return S_OK;
}

HRESULT BitmapFrame::CopyPixels(const WICRect* rect, UINT stride, UINT bufferSize,
                                BYTE* buffer) const {
    WICRect whole{0, 0, static_cast<int>(m_width), static_cast<int>(m_height)};
    const WICRect& area = rect ? *rect : whole;
    bool inside = area.X >= 0 && area.Y >= 0 && area.Width >= 0 && area.Height >= 0 &&
                  static_cast<std::uint64_t>(area.X) + area.Width <= m_width &&
                  static_cast<std::uint64_t>(area.Y) + area.Height <= m_height;
    if (!buffer || !inside) {
        return E_INVALIDARG;
    }
    if (area.Width == 0 || area.Height == 0) {
        return S_OK;
    }
    std::uint64_t rowBytes = area.Width * kBytesPerPixel;
    std::uint64_t needed = std::uint64_t{stride} * (area.Height - 1) + rowBytes;
    if (rowBytes > stride || needed > bufferSize) {
        return E_INVALIDARG;
    }
    std::uint64_t frameStride = m_width * kBytesPerPixel;
    const BYTE* source = m_pixels.data() + area.Y * frameStride + area.X * kBytesPerPixel;
    for (int row = 0; row < area.Height; ++row) {
        std::memcpy(buffer + std::uint64_t{stride} * row, source + frameStride * row, rowBytes);
    }
    return S_OK;
}

HRESULT BitmapFrame::GetMetadataQueryReader(const MetadataQueryReader*& reader) const {
    if (!m_metadata) {
        return WINCODEC_ERR_UNSUPPORTEDOPERATION;
    }
    reader = &*m_metadata;
    return S_OK;
}

BitmapDecoder::BitmapDecoder(std::vector<std::shared_ptr<const BitmapFrame>> frames,
                             std::optional<MetadataQueryReader> metadata)
    : m_frames(std::move(frames)), m_metadata(std::move(metadata)) {}

HRESULT BitmapDecoder::GetFrameCount(UINT& count) const {
    count = static_cast<UINT>(m_frames.size());
    return S_OK;
}

HRESULT BitmapDecoder::GetFrame(UINT index, std::shared_ptr<const BitmapFrame>& frame) const {
    if (index >= m_frames.size()) {
        return E_INVALIDARG;
    }
    frame = m_frames[index];
    return S_OK;
}

HRESULT BitmapDecoder::GetMetadataQueryReader(const MetadataQueryReader*& reader) const {
    if (!m_metadata) {
        return WINCODEC_ERR_UNSUPPORTEDOPERATION;
    }
    reader = &*m_metadata;
    return S_OK;
}

std::unique_ptr<BitmapDecoder> SingleFrameDecoder(UINT width, UINT height, std::vector<BYTE> pixels,
                                                  std::optional<MetadataQueryReader> metadata) {
    std::vector<std::shared_ptr<const BitmapFrame>> frames;
    frames.push_back(
        std::make_shared<BitmapFrame>(width, height, std::move(pixels), std::move(metadata)));
    return std::make_unique<BitmapDecoder>(std::move(frames), std::nullopt);
}

HRESULT CreateDecoderFromMemory(const void* bytes, std::size_t size,
                                std::unique_ptr<BitmapDecoder>& decoder) {
    if (!bytes && size != 0) {
        return E_INVALIDARG;
    }
    std::span<const BYTE> data(static_cast<const BYTE*>(bytes), size);
    Codec codec = CodecFor(data);
    if (!codec) {
        return WINCODEC_ERR_COMPONENTNOTFOUND;
    }
    try {
        return codec(data, decoder);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT CreateDecoderFromFilename(const wchar_t* windowsPath,
                                  std::unique_ptr<BitmapDecoder>& decoder) {
    if (!windowsPath) {
        return E_INVALIDARG;
    }
    return CreateDecoderFromHostFile(HostPathFromWindowsW(windowsPath), decoder);
}

HRESULT CreateDecoderFromHostFile(const std::filesystem::path& hostPath,
                                  std::unique_ptr<BitmapDecoder>& decoder) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(hostPath, error)) {
        return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
    }
    std::ifstream file(hostPath, std::ios::binary);
    if (!file) {
        return HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED);
    }
    std::vector<BYTE> bytes((std::istreambuf_iterator<char>(file)),
                            std::istreambuf_iterator<char>());
    return CreateDecoderFromMemory(bytes.data(), bytes.size(), decoder);
}

}  // namespace plat
