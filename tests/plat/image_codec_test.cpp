// The picture codec: every format to premultiplied BGRA, GIF frames composed with their
// disposal, the metadata the decoder asks for, and damaged pictures refused without harm.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "PictureWriter.h"
#include "TempDir.h"
#include "plat/drive_map.h"
#include "plat/image_codec.h"

using plat::UINT;
using vael::test::GifImage;
using vael::test::GifPicture;
using vael::test::Rgba;

namespace {

// Pixels as 0xAARRGGBB numbers, the way BGRA bytes read on a little-endian machine.
constexpr std::uint32_t kRed = 0xFFFF0000;
constexpr std::uint32_t kGreen = 0xFF00FF00;
constexpr std::uint32_t kBlue = 0xFF0000FF;
constexpr std::uint32_t kNone = 0;

std::unique_ptr<plat::BitmapDecoder> Decode(const std::string& bytes) {
    std::unique_ptr<plat::BitmapDecoder> decoder;
    plat::HRESULT result = plat::CreateDecoderFromMemory(bytes.data(), bytes.size(), decoder);
    EXPECT_EQ(result, plat::S_OK);
    return decoder;
}

std::shared_ptr<const plat::BitmapFrame> Frame(const plat::BitmapDecoder& decoder, UINT index) {
    std::shared_ptr<const plat::BitmapFrame> frame;
    EXPECT_EQ(decoder.GetFrame(index, frame), plat::S_OK);
    return frame;
}

std::vector<std::uint32_t> Pixels(const plat::BitmapFrame& frame) {
    UINT width = 0, height = 0;
    frame.GetSize(width, height);
    std::vector<std::uint32_t> pixels(width * height);
    EXPECT_EQ(frame.CopyPixels(nullptr, width * 4, width * height * 4,
                               reinterpret_cast<plat::BYTE*>(pixels.data())),
              plat::S_OK);
    return pixels;
}

TEST(ImageCodec, PngGivesOneFrameOfPremultipliedBgra) {
    auto decoder = Decode(
        vael::test::WritePng(3, 1, {{1, 100, 201, 128}, {10, 20, 30, 255}, {255, 255, 255, 0}}));
    UINT count = 0;
    decoder->GetFrameCount(count);
    ASSERT_EQ(count, 1u);
    auto frame = Frame(*decoder, 0);
    UINT width = 0, height = 0;
    frame->GetSize(width, height);
    EXPECT_EQ(width, 3u);
    EXPECT_EQ(height, 1u);
    // (c * a + 127) / 255 for each colour of the half-transparent pixel: rounded, not cut.
    EXPECT_EQ(Pixels(*frame), (std::vector<std::uint32_t>{0x80013265, 0xFF0A141E, kNone}));
}

TEST(ImageCodec, JpegAndBmpDecodeToBgra) {
    std::string padded24 = std::string("\x00\x00\xFF\x00\xFF\x00", 6) + std::string(2, '\0');
    struct Case {
        const char* name;
        std::string bytes;
        UINT width, height;
        std::vector<std::uint32_t> pixels;
    } cases[] = {
        {"24-bit bottom-up, rows padded",
         vael::test::WriteBmp(2, 2, 24,
                              padded24 + std::string("\xFF\x00\x00\xFF\xFF\xFF\x00\x00", 8)),
         2,
         2,
         {kBlue, 0xFFFFFFFF, kRed, kGreen}},
        {"32-bit top-down with alpha",
         vael::test::WriteBmp(2, -1, 32, std::string("\x00\x00\xC8\x80\xFF\x00\x00\xFF", 8)),
         2,
         1,
         {0x80640000, kBlue}},
        {"32-bit with the fourth byte unused",
         vael::test::WriteBmp(1, 1, 32, std::string("\x00\xFF\x00\x00", 4)),
         1,
         1,
         {kGreen}},
        {"8-bit palette, an index past it black",
         vael::test::WriteBmp(3, 1, 8, std::string("\x01\x00\x05\x00", 4),
                              std::string("\x00\x00\xFF\x00\xFF\x00\x00\x00", 8)),
         3,
         1,
         {kBlue, kRed, 0xFF000000}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto decoder = Decode(c.bytes);
        ASSERT_TRUE(decoder);
        auto frame = Frame(*decoder, 0);
        UINT width = 0, height = 0;
        frame->GetSize(width, height);
        EXPECT_EQ(width, c.width);
        EXPECT_EQ(height, c.height);
        EXPECT_EQ(Pixels(*frame), c.pixels);
    }

    std::vector<Rgba> orange(8 * 8, Rgba{250, 128, 10, 255});
    auto jpeg = Decode(vael::test::WriteJpeg(8, 8, orange));
    ASSERT_TRUE(jpeg);
    for (std::uint32_t pixel : Pixels(*Frame(*jpeg, 0))) {
        EXPECT_EQ(pixel >> 24, 0xFFu);
        EXPECT_NEAR(int(pixel >> 16 & 0xFF), 250, 3);
        EXPECT_NEAR(int(pixel >> 8 & 0xFF), 128, 3);
        EXPECT_NEAR(int(pixel & 0xFF), 10, 3);
    }
}

// Colours 0 red, 1 green, 2 blue, 3 white, on a 4 x 1 screen.
GifPicture FourColourGif(std::vector<GifImage> images) {
    return {.width = 4,
            .height = 1,
            .colors = {{255, 0, 0, 255}, {0, 255, 0, 255}, {0, 0, 255, 255}, {255, 255, 255, 255}},
            .images = std::move(images)};
}

TEST(ImageCodec, GifFramesAreComposedWithTheirDisposal) {
    auto decoder = Decode(vael::test::WriteGif(FourColourGif({
        {.width = 4, .height = 1, .indices = {0, 0, 0, 0}, .disposal = 1},
        // Index 3 is transparent: the red below shows. Cleared to transparent afterwards.
        {.left = 1, .width = 2, .height = 1, .indices = {1, 3}, .disposal = 2, .transparent = 3},
        // Restores the screen as it was before this image.
        {.left = 2, .width = 2, .height = 1, .indices = {2, 2}, .disposal = 3},
        // Without graphic control, reaching beyond the screen.
        {.left = 3, .width = 2, .height = 1, .indices = {1, 1}, .control = false},
    })));
    ASSERT_TRUE(decoder);
    std::vector<std::vector<std::uint32_t>> expected = {
        {kRed, kRed, kRed, kRed},
        {kRed, kGreen, kRed, kRed},
        {kRed, kNone, kBlue, kBlue},
        {kRed, kNone, kNone, kGreen},
    };
    UINT count = 0;
    decoder->GetFrameCount(count);
    ASSERT_EQ(count, expected.size());
    for (UINT i = 0; i < count; ++i) {
        EXPECT_EQ(Pixels(*Frame(*decoder, i)), expected[i]) << "frame " << i;
    }
}

TEST(ImageCodec, InterlacedGifRowsLandInPlace) {
    GifPicture picture{.width = 1, .height = 8};
    std::vector<std::uint8_t> rows;
    for (int i = 0; i < 8; ++i) {
        picture.colors.push_back({static_cast<std::uint8_t>(i * 30), 0, 0, 255});
        rows.push_back(static_cast<std::uint8_t>(i));
    }
    picture.images = {{.width = 1, .height = 8, .indices = rows, .interlace = true}};
    auto decoder = Decode(vael::test::WriteGif(picture));
    ASSERT_TRUE(decoder);
    std::vector<std::uint32_t> pixels = Pixels(*Frame(*decoder, 0));
    for (std::uint32_t y = 0; y < 8; ++y) {
        EXPECT_EQ(pixels[y], 0xFF000000 | (y * 30) << 16) << "row " << y;
    }
}

std::vector<plat::BYTE> Bytes(const plat::MetadataQueryReader& reader, const wchar_t* name) {
    plat::MetadataValue value;
    EXPECT_EQ(reader.GetMetadataByName(name, value), plat::S_OK) << name;
    auto* bytes = std::get_if<std::vector<plat::BYTE>>(&value);
    return bytes ? *bytes : std::vector<plat::BYTE>{};
}

TEST(ImageCodec, GifMetadataAnswersPresentBlocksOnly) {
    GifPicture looping = FourColourGif({
        {.width = 4, .height = 1, .indices = {0, 0, 0, 0}, .delay = 25},
        {.width = 4, .height = 1, .indices = {1, 1, 1, 1}, .control = false},
    });
    looping.loopCount = 0x0102;
    auto decoder = Decode(vael::test::WriteGif(looping));
    ASSERT_TRUE(decoder);
    const plat::MetadataQueryReader* reader = nullptr;
    ASSERT_EQ(decoder->GetMetadataQueryReader(reader), plat::S_OK);
    std::string name = "NETSCAPE2.0";
    EXPECT_EQ(Bytes(*reader, L"/appext/application"),
              std::vector<plat::BYTE>(name.begin(), name.end()));
    EXPECT_EQ(Bytes(*reader, L"/APPEXT/Data"), (std::vector<plat::BYTE>{3, 1, 0x02, 0x01}));

    plat::MetadataValue delay;
    ASSERT_EQ(Frame(*decoder, 0)->GetMetadataQueryReader(reader), plat::S_OK);
    ASSERT_EQ(reader->GetMetadataByName(L"/grctlext/Delay", delay), plat::S_OK);
    EXPECT_EQ(std::get<plat::WORD>(delay), 25);
    ASSERT_EQ(Frame(*decoder, 1)->GetMetadataQueryReader(reader), plat::S_OK);
    EXPECT_EQ(reader->GetMetadataByName(L"/grctlext/Delay", delay),
              plat::WINCODEC_ERR_PROPERTYNOTFOUND);

    auto still = Decode(
        vael::test::WriteGif(FourColourGif({{.width = 4, .height = 1, .indices = {0, 0, 0, 0}}})));
    ASSERT_EQ(still->GetMetadataQueryReader(reader), plat::S_OK);
    plat::MetadataValue application;
    EXPECT_EQ(reader->GetMetadataByName(L"/appext/application", application),
              plat::WINCODEC_ERR_PROPERTYNOTFOUND);

    auto png = Decode(vael::test::WritePng(1, 1, {{0, 0, 0, 255}}));
    EXPECT_EQ(png->GetMetadataQueryReader(reader), plat::WINCODEC_ERR_UNSUPPORTEDOPERATION);
    auto bmp = Decode(vael::test::WriteBmp(1, 1, 32, std::string(4, '\0')));
    EXPECT_EQ(Frame(*bmp, 0)->GetMetadataQueryReader(reader),
              plat::WINCODEC_ERR_UNSUPPORTEDOPERATION);
}

TEST(ImageCodec, CopiesARectangleAndRefusesWhatDoesNotFit) {
    std::vector<Rgba> pixels;
    for (int i = 0; i < 12; ++i) {
        pixels.push_back({static_cast<std::uint8_t>(i), 0, 0, 255});
    }
    auto frame = Frame(*Decode(vael::test::WritePng(4, 3, pixels)), 0);
    std::uint32_t buffer[2 * 3] = {};
    plat::WICRect rect{1, 1, 2, 2};
    // A stride of 3 pixels for rows of 2: the third column stays untouched.
    ASSERT_EQ(frame->CopyPixels(&rect, 12, 20, reinterpret_cast<plat::BYTE*>(buffer)), plat::S_OK);
    EXPECT_EQ(buffer[0], 0xFF050000u);
    EXPECT_EQ(buffer[1], 0xFF060000u);
    EXPECT_EQ(buffer[2], 0u);
    EXPECT_EQ(buffer[3], 0xFF090000u);
    EXPECT_EQ(buffer[4], 0xFF0A0000u);

    auto* out = reinterpret_cast<plat::BYTE*>(buffer);
    plat::WICRect outside{3, 0, 2, 1};
    plat::WICRect negative{-1, 0, 1, 1};
    EXPECT_EQ(frame->CopyPixels(&outside, 16, sizeof buffer, out), plat::E_INVALIDARG);
    EXPECT_EQ(frame->CopyPixels(&negative, 16, sizeof buffer, out), plat::E_INVALIDARG);
    EXPECT_EQ(frame->CopyPixels(&rect, 4, sizeof buffer, out), plat::E_INVALIDARG);
    EXPECT_EQ(frame->CopyPixels(&rect, 12, 19, out), plat::E_INVALIDARG);
    EXPECT_EQ(frame->CopyPixels(nullptr, 16, 48, nullptr), plat::E_INVALIDARG);
}

TEST(ImageCodec, DamagedPicturesAreRefused) {
    std::string png = vael::test::WritePng(4, 4, std::vector<Rgba>(16, Rgba{1, 2, 3, 4}));
    std::string gif =
        vael::test::WriteGif(FourColourGif({{.width = 4, .height = 1, .indices = {0, 1, 2, 3}}}));
    std::string hugeScreen = gif;
    hugeScreen[6] = hugeScreen[7] = hugeScreen[8] = hugeScreen[9] = '\xFF';
    std::string hugeBmp = vael::test::WriteBmp(1, 1, 24, std::string(4, '\0'));
    hugeBmp.replace(18, 8, "\xFF\xFF\x00\x00\xFF\xFF\x00\x00", 8);
    struct Case {
        const char* name;
        std::string bytes;
        plat::HRESULT result;
    } cases[] = {
        {"empty", "", plat::WINCODEC_ERR_COMPONENTNOTFOUND},
        {"no picture", "plain text, not a picture", plat::WINCODEC_ERR_COMPONENTNOTFOUND},
        {"PNG cut in its pixel data", png.substr(0, png.size() - 20), plat::WINCODEC_ERR_BADIMAGE},
        {"PNG with a damaged header", png.substr(0, 16) + std::string(40, 'x'),
         plat::WINCODEC_ERR_BADIMAGE},
        {"JPEG start only", std::string("\xFF\xD8\xFF\xE0\x00\x10JFIF", 10),
         plat::WINCODEC_ERR_BADIMAGE},
        {"GIF signature only", "GIF89a", plat::WINCODEC_ERR_BADIMAGE},
        {"GIF without images", gif.substr(0, 13 + 12) + ";", plat::WINCODEC_ERR_BADIMAGE},
        {"GIF cut in its only image", gif.substr(0, gif.size() - 4), plat::WINCODEC_ERR_BADIMAGE},
        {"GIF screen of 65535 x 65535", hugeScreen, plat::WINCODEC_ERR_IMAGESIZEOUTOFRANGE},
        {"BMP rows past the end", vael::test::WriteBmp(4, 4, 24, std::string(10, '\0')),
         plat::WINCODEC_ERR_BADIMAGE},
        {"BMP 0 wide", vael::test::WriteBmp(0, 1, 24, std::string(4, '\0')),
         plat::WINCODEC_ERR_BADIMAGE},
        {"BMP of 4 bits", vael::test::WriteBmp(1, 1, 4, std::string(4, '\0')),
         plat::WINCODEC_ERR_BADIMAGE},
        {"BMP of 65535 x 65535", hugeBmp, plat::WINCODEC_ERR_IMAGESIZEOUTOFRANGE},
    };
    for (const Case& c : cases) {
        std::unique_ptr<plat::BitmapDecoder> decoder;
        EXPECT_EQ(plat::CreateDecoderFromMemory(c.bytes.data(), c.bytes.size(), decoder), c.result)
            << c.name;
        EXPECT_FALSE(decoder) << c.name;
    }
}

// Every prefix of a picture decodes or is refused, and never reads past the bytes it has.
TEST(ImageCodec, EveryCutOfAPictureIsSafe) {
    std::vector<Rgba> pixels(5 * 3, Rgba{9, 80, 200, 100});
    GifPicture animation = FourColourGif({
        {.width = 4, .height = 1, .indices = {0, 1, 2, 3}, .delay = 5},
        {.left = 1, .width = 2, .height = 1, .indices = {2, 2}, .disposal = 3},
    });
    animation.loopCount = 0;
    std::string pictures[] = {
        vael::test::WritePng(5, 3, pixels),
        vael::test::WriteJpeg(5, 3, pixels),
        vael::test::WriteGif(animation),
        vael::test::WriteBmp(1, 2, 8, std::string("\x00\x00\x00\x00\x01\x00\x00\x00", 8),
                             std::string("\x00\x00\xFF\x00\xFF\x00\x00\x00", 8)),
    };
    for (const std::string& picture : pictures) {
        for (std::size_t size = 0; size < picture.size(); ++size) {
            // A copy of exactly `size` bytes, so that reading beyond it is caught.
            std::vector<char> cut(picture.begin(), picture.begin() + size);
            std::unique_ptr<plat::BitmapDecoder> decoder;
            plat::CreateDecoderFromMemory(cut.data(), cut.size(), decoder);
        }
    }
}

TEST(ImageCodec, GifCutAfterAFrameKeepsTheFramesBeforeIt) {
    std::string gif = vael::test::WriteGif(FourColourGif({
        {.width = 4, .height = 1, .indices = {0, 0, 0, 0}},
        {.width = 4, .height = 1, .indices = {1, 1, 1, 1}},
    }));
    auto decoder = Decode(gif.substr(0, gif.size() - 6));
    ASSERT_TRUE(decoder);
    UINT count = 0;
    decoder->GetFrameCount(count);
    EXPECT_EQ(count, 1u);
    std::shared_ptr<const plat::BitmapFrame> frame;
    EXPECT_EQ(decoder->GetFrame(1, frame), plat::E_INVALIDARG);
}

TEST(ImageCodec, DecodesFilesByWindowsAndHostPath) {
    std::filesystem::path folder = plat::PrefixFolder() / "drive_c" / "skin";
    std::filesystem::create_directories(folder);
    vael::test::WriteFile(folder / "bg.png",
                          vael::test::WritePng(2, 1, {{0, 0, 0, 255}, {1, 1, 1, 1}}));

    std::unique_ptr<plat::BitmapDecoder> decoder;
    EXPECT_EQ(plat::CreateDecoderFromFilename(L"C:\\skin\\bg.png", decoder), plat::S_OK);
    ASSERT_TRUE(decoder);
    UINT width = 0, height = 0;
    Frame(*decoder, 0)->GetSize(width, height);
    EXPECT_EQ(width, 2u);

    decoder.reset();
    EXPECT_EQ(plat::CreateDecoderFromHostFile(folder / "bg.png", decoder), plat::S_OK);
    EXPECT_TRUE(decoder);
    decoder.reset();
    EXPECT_EQ(plat::CreateDecoderFromFilename(L"C:\\skin\\missing.png", decoder),
              plat::HRESULT_FROM_WIN32(2));
    EXPECT_EQ(plat::CreateDecoderFromFilename(L"C:\\skin", decoder), plat::HRESULT_FROM_WIN32(2));
    EXPECT_FALSE(decoder);
}

}  // namespace
