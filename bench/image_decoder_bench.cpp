// Decodes pictures through the framework's image decoder, one call per iteration, as the
// render layer does for every skin picture: the launcher's 675 x 437 background (a PNG with
// alpha) and an eight-frame GIF animation. Reports pictures per second.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>

#include "DMApp.h"
#include "DMRegType.h"
#include "DMSmartPtrT.h"
#include "IDMImgDecoder.h"
#include "PictureWriter.h"

using namespace DM;

namespace {

// A gradient whose edge fades out, like the window background's soft translucent border.
std::string BackgroundPng() {
    constexpr int kWidth = 675, kHeight = 437, kEdge = 12;
    std::vector<vael::test::Rgba> pixels;
    pixels.reserve(kWidth * kHeight);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            int edge = std::min({x, y, kWidth - 1 - x, kHeight - 1 - y});
            auto alpha = static_cast<std::uint8_t>(edge >= kEdge ? 255 : edge * 255 / kEdge);
            pixels.push_back({static_cast<std::uint8_t>(x * 255 / kWidth),
                              static_cast<std::uint8_t>(y * 255 / kHeight), 160, alpha});
        }
    }
    return vael::test::WritePng(kWidth, kHeight, pixels);
}

// Eight 200 x 120 frames: a moving bar over a full first frame, with every disposal.
std::string AnimationGif() {
    constexpr int kWidth = 200, kHeight = 120;
    vael::test::GifPicture picture;
    picture.width = kWidth;
    picture.height = kHeight;
    picture.loopCount = 0;
    for (int i = 0; i < 256; ++i) {
        picture.colors.push_back({static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i),
                                  static_cast<std::uint8_t>(i / 2), 255});
    }
    std::vector<std::uint8_t> full(kWidth * kHeight);
    for (std::size_t i = 0; i < full.size(); ++i) {
        full[i] = static_cast<std::uint8_t>(i % 251);
    }
    picture.images.push_back({.width = kWidth, .height = kHeight, .indices = full, .delay = 8});
    for (int frame = 1; frame < 8; ++frame) {
        picture.images.push_back({.left = frame * 20,
                                  .top = 10,
                                  .width = 40,
                                  .height = 100,
                                  .indices = std::vector<std::uint8_t>(40 * 100, frame * 30),
                                  .delay = 8,
                                  .disposal = frame % 4,
                                  .transparent = 0});
    }
    return vael::test::WriteGif(picture);
}

void DecodeEachCall(benchmark::State& state, const std::string& bytes) {
    DMApp app;
    for (auto _ : state) {
        IDMImgDecoder* created = nullptr;
        app.CreateRegObj(&created, nullptr, DMREG_ImgDecoder);
        DMSmartPtrT<IDMImgDecoder> decoder;
        decoder.Attach(created);
        if (decoder->LoadFromMemory(bytes.data(), bytes.size()) != DM_ECODE_OK) {
            state.SkipWithError("the picture did not decode");
            return;
        }
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}

void BM_DecodeBackgroundPng(benchmark::State& state) {
    DecodeEachCall(state, BackgroundPng());
}
BENCHMARK(BM_DecodeBackgroundPng)->Unit(benchmark::kMillisecond);

void BM_DecodeAnimatedGif(benchmark::State& state) {
    DecodeEachCall(state, AnimationGif());
}
BENCHMARK(BM_DecodeAnimatedGif)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
