// Writes test pictures with the real libraries (libpng, libjpeg, giflib), so that tests and
// benchmarks build exactly the pictures they need, including GIF blocks that few writers make.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vael::test {

// A pixel with straight (not premultiplied) alpha.
struct Rgba {
    std::uint8_t r, g, b, a;
};

// A PNG of `pixels`, row by row from the top.
std::string WritePng(int width, int height, const std::vector<Rgba>& pixels);
// A baseline JPEG of the colours of `pixels` (alpha is ignored) at the given quality.
std::string WriteJpeg(int width, int height, const std::vector<Rgba>& pixels, int quality = 100);

// A BMP with a 40-byte header around `rows`, given as stored: bottom-up (top-down for a
// negative height), each padded to 4 bytes; `palette` holds 4 bytes per entry.
std::string WriteBmp(int width, int height, int bitCount, const std::string& rows,
                     const std::string& palette = "");

struct GifImage {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> indices;  // into the global colour table, row by row
    bool interlace = false;
    // The graphic control extension before the image.
    bool control = true;
    int delay = 0;  // hundredths of a second
    int disposal = 0;
    int transparent = -1;
    int controlSize = 4;  // 5 writes one more zero byte, a block size the format does not allow
};

struct GifPicture {
    int width = 0;
    int height = 0;
    std::vector<Rgba> colors;      // the global colour table, padded to a power of two
    std::optional<int> loopCount;  // a NETSCAPE2.0 application extension before the first image
    std::vector<GifImage> images;
};

std::string WriteGif(const GifPicture& picture);

}  // namespace vael::test
