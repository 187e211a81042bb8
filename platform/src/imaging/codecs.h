// The codecs behind the picture decoder, one per format. Each reads the whole picture and
// answers a decoder holding its frames, already premultiplied BGRA.
#pragma once

#include <memory>
#include <span>

#include "plat/image_codec.h"

namespace plat {

HRESULT DecodePng(std::span<const BYTE> bytes, std::unique_ptr<BitmapDecoder>& decoder);
HRESULT DecodeJpeg(std::span<const BYTE> bytes, std::unique_ptr<BitmapDecoder>& decoder);
HRESULT DecodeGif(std::span<const BYTE> bytes, std::unique_ptr<BitmapDecoder>& decoder);
HRESULT DecodeBmp(std::span<const BYTE> bytes, std::unique_ptr<BitmapDecoder>& decoder);

// A decoder of one frame with the given pixels and frame metadata.
std::unique_ptr<BitmapDecoder> SingleFrameDecoder(UINT width, UINT height, std::vector<BYTE> pixels,
                                                  std::optional<MetadataQueryReader> metadata);

}  // namespace plat
