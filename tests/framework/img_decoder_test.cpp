// The image decoder through the class registry: frames, display times and loop counts from the
// platform codec, and from the GIF block reader when an animation has no times.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>

#include "DMApp.h"
#include "DMRegType.h"
#include "DMSmartPtrT.h"
#include "IDMImgDecoder.h"
#include "PictureWriter.h"
#include "TempDir.h"
#include "plat/drive_map.h"

using namespace DM;
using vael::test::GifImage;
using vael::test::GifPicture;
using vael::test::Rgba;

namespace {

constexpr char kNoTimesLine[] = "[mid]多帧的延迟时间获取失败\n";

class ImgDecoder : public ::testing::Test {
protected:
    void SetUp() override { setenv("DM_LOG_FILE", (m_logFolder / "debugger.txt").c_str(), 1); }
    void TearDown() override { unsetenv("DM_LOG_FILE"); }

    std::string Log() const {
        std::filesystem::path file = m_logFolder / "debugger.txt";
        return std::filesystem::exists(file) ? vael::test::ReadFile(file) : "";
    }
    DMSmartPtrT<IDMImgDecoder> NewDecoder() {
        IDMImgDecoder* decoder = nullptr;
        EXPECT_EQ(m_app.CreateRegObj(&decoder, nullptr, DMREG_ImgDecoder), DM_ECODE_OK);
        DMSmartPtrT<IDMImgDecoder> held;
        held.Attach(decoder);
        return held;
    }
    DMSmartPtrT<IDMImgDecoder> Decoded(const std::string& bytes) {
        DMSmartPtrT<IDMImgDecoder> decoder = NewDecoder();
        EXPECT_EQ(decoder->LoadFromMemory(bytes.data(), bytes.size()), DM_ECODE_OK);
        return decoder;
    }

    vael::test::TempDir m_logFolder;
    DMApp m_app;
};

UINT FrameCount(IDMImgDecoder& decoder) {
    UINT count = 99;
    decoder.GetFrameCount(count);
    return count;
}

int LoopCount(IDMImgDecoder& decoder) {
    int count = 99;
    decoder.GetTotalLoopCount(count);
    return count;
}

std::vector<UINT> Delays(IDMImgDecoder& decoder) {
    std::vector<UINT> delays;
    for (UINT i = 0; i < FrameCount(decoder); ++i) {
        IDMImgFrame* frame = nullptr;
        EXPECT_EQ(decoder.GetFrame(i, &frame), DM_ECODE_OK);
        UINT delay = 99;
        frame->GetDelay(delay);
        frame->Release();
        delays.push_back(delay);
    }
    return delays;
}

// Two frames with delays 7 and 9; `colors` entries make the picture larger than the 380 bytes
// below which the GIF reader does not read memory; `controlSize` 5 makes graphic control
// blocks the codec does not accept, while the GIF reader reads their fields.
std::string Animation(std::optional<int> loopCount, int controlSize = 4, int colors = 128) {
    GifPicture picture{.width = 2, .height = 1, .loopCount = loopCount};
    picture.colors.assign(colors, Rgba{10, 20, 30, 255});
    picture.images = {
        {.width = 2, .height = 1, .indices = {0, 1}, .delay = 7, .controlSize = controlSize},
        {.width = 2, .height = 1, .indices = {1, 0}, .delay = 9, .controlSize = controlSize},
    };
    return vael::test::WriteGif(picture);
}

TEST_F(ImgDecoder, IsTheDefaultClassOfItsType) {
    DMSmartPtrT<IDMImgDecoder> decoder = NewDecoder();
    EXPECT_STREQ(decoder->GetClassName(), L"DMImgDecoderImpl");
    EXPECT_TRUE(decoder->IsClass(L"idmimgdecoder"));
    EXPECT_EQ(decoder->GetClassType(), DMREG_ImgDecoder);
}

TEST_F(ImgDecoder, PngGivesOneStillFrameOfPremultipliedPixels) {
    auto decoder = Decoded(vael::test::WritePng(2, 1, {{10, 20, 30, 255}, {1, 100, 201, 128}}));
    EXPECT_EQ(FrameCount(*decoder), 1u);
    EXPECT_EQ(LoopCount(*decoder), -1);
    EXPECT_EQ(Delays(*decoder), std::vector<UINT>{0});

    IDMImgFrame* frame = nullptr;
    ASSERT_EQ(decoder->GetFrame(0, &frame), DM_ECODE_OK);
    DMSmartPtrT<IDMImgFrame> held;
    held.Attach(frame);
    UINT width = 0, height = 0;
    EXPECT_EQ(frame->GetSize(width, height), DM_ECODE_OK);
    EXPECT_EQ(width, 2u);
    EXPECT_EQ(height, 1u);
    BYTE pixels[8] = {};
    ASSERT_EQ(frame->CopyPixels(pixels, sizeof pixels, 8, nullptr), DM_ECODE_OK);
    // B, G, R, A of the second pixel: (c * 128 + 127) / 255.
    EXPECT_EQ(std::vector<BYTE>(pixels, pixels + 8),
              (std::vector<BYTE>{30, 20, 10, 255, 101, 50, 1, 128}));
    BYTE one[4] = {};
    RECT second{1, 0, 2, 1};
    ASSERT_EQ(frame->CopyPixels(one, sizeof one, 4, &second), DM_ECODE_OK);
    EXPECT_EQ(one[0], 101);
    RECT inverted{2, 0, 1, 1};
    EXPECT_EQ(frame->CopyPixels(one, sizeof one, 4, &inverted), DM_ECODE_FAIL);
    EXPECT_EQ(frame->CopyPixels(pixels, 7, 8, nullptr), DM_ECODE_FAIL);

    EXPECT_EQ(decoder->GetFrame(1, &frame), DM_ECODE_FAIL);
    EXPECT_EQ(decoder->GetFrame(0, nullptr), DM_ECODE_FAIL);
}

TEST_F(ImgDecoder, JpegAndBmpGiveOneFrame) {
    std::vector<Rgba> gray(6 * 5, Rgba{128, 128, 128, 255});
    struct Case {
        const char* name;
        std::string bytes;
        UINT width, height;
    } cases[] = {
        {"JPEG", vael::test::WriteJpeg(6, 5, gray), 6, 5},
        {"BMP", vael::test::WriteBmp(1, -2, 24, std::string(8, '\x40')), 1, 2},
    };
    for (const Case& c : cases) {
        auto decoder = Decoded(c.bytes);
        ASSERT_EQ(FrameCount(*decoder), 1u) << c.name;
        IDMImgFrame* frame = nullptr;
        ASSERT_EQ(decoder->GetFrame(0, &frame), DM_ECODE_OK);
        UINT width = 0, height = 0;
        frame->GetSize(width, height);
        frame->Release();
        EXPECT_EQ(width, c.width) << c.name;
        EXPECT_EQ(height, c.height) << c.name;
    }
}

TEST_F(ImgDecoder, AnimationTakesTimesAndLoopCountFromTheCodec) {
    struct Case {
        std::optional<int> loopBlock;
        int loopCount;
    } cases[] = {
        {0, -1},  // endless
        {2, 3},   // repeated twice: played three times
        {std::nullopt, 1},
    };
    for (const Case& c : cases) {
        auto decoder = Decoded(Animation(c.loopBlock));
        EXPECT_EQ(LoopCount(*decoder), c.loopCount) << c.loopBlock.value_or(-1);
        EXPECT_EQ(Delays(*decoder), (std::vector<UINT>{70, 90}));
    }
    EXPECT_EQ(Log(), "");
}

TEST_F(ImgDecoder, AnimationWithoutTimesTakesThemFromTheGifReader) {
    struct Case {
        const char* name;
        std::string bytes;
        std::vector<UINT> delays;
        int loopCount;
    } cases[] = {
        // The reader's loop count as stored, not one play more.
        {"loop 2", Animation(2, 5), {70, 90}, 2},
        {"loop 0", Animation(0, 5), {70, 90}, -1},
        {"no loop block", Animation(std::nullopt, 5), {70, 90}, 1},
        // Too small for the reader: the codec's values stay.
        {"380 bytes or less", Animation(2, 5, 4), {0, 0}, 3},
    };
    for (const Case& c : cases) {
        auto decoder = Decoded(c.bytes);
        EXPECT_EQ(Delays(*decoder), c.delays) << c.name;
        EXPECT_EQ(LoopCount(*decoder), c.loopCount) << c.name;
    }
    std::string line = "[SECCLI:Lumeno][DMLOG_ERR][DM::DMImgDecoderImpl::LoadFromMemory][line:";
    std::string log = Log();
    EXPECT_EQ(log.rfind(line, 0), 0u) << log;
    EXPECT_NE(log.find(std::string("]") + kNoTimesLine), std::string::npos) << log;
}

TEST_F(ImgDecoder, LoadsFilesRelativeToTheExecutableFolder) {
    std::filesystem::path executableFolder =
        std::filesystem::read_symlink("/proc/self/exe").parent_path();
    vael::test::TempDir folder;
    std::string name = folder.path().filename().string() + ".gif";
    std::filesystem::path beside = executableFolder / name;
    // Small, so only the file variant of the GIF reader reads it.
    vael::test::WriteFile(beside, Animation(2, 5, 4));
    auto decoder = NewDecoder();
    EXPECT_EQ(decoder->LoadFromFile(std::wstring(name.begin(), name.end()).c_str()), DM_ECODE_OK);
    std::filesystem::remove(beside);
    EXPECT_EQ(Delays(*decoder), (std::vector<UINT>{70, 90}));
    EXPECT_EQ(LoopCount(*decoder), 2);
    EXPECT_NE(Log().find("[DM::DMImgDecoderImpl::LoadFromFile][line:"), std::string::npos);

    std::filesystem::create_directories(plat::PrefixFolder() / "drive_c/skin");
    vael::test::WriteFile(plat::PrefixFolder() / "drive_c/skin/bg.png",
                          vael::test::WritePng(1, 1, {{1, 2, 3, 4}}));
    auto absolute = NewDecoder();
    EXPECT_EQ(absolute->LoadFromFile(L"C:\\skin\\bg.png"), DM_ECODE_OK);
    EXPECT_EQ(FrameCount(*absolute), 1u);
    EXPECT_EQ(absolute->LoadFromFile(L"C:\\skin\\missing.png"), DM_ECODE_FAIL);
    EXPECT_EQ(absolute->LoadFromFile(L"C:\\skin"), DM_ECODE_FAIL);
    EXPECT_EQ(absolute->LoadFromFile(nullptr), DM_ECODE_FAIL);
}

TEST_F(ImgDecoder, CorruptDataFailsAndKeepsWhatWasLoaded) {
    auto decoder = NewDecoder();
    std::string png = vael::test::WritePng(2, 2, std::vector<Rgba>(4, Rgba{1, 2, 3, 4}));
    std::string text = "not a picture";
    EXPECT_EQ(decoder->LoadFromMemory(text.data(), text.size()), DM_ECODE_FAIL);
    EXPECT_EQ(decoder->LoadFromMemory(png.data(), png.size() / 2), DM_ECODE_FAIL);
    EXPECT_EQ(decoder->LoadFromMemory(nullptr, 10), DM_ECODE_FAIL);
    EXPECT_EQ(FrameCount(*decoder), 0u);

    // A second picture appends its frames.
    EXPECT_EQ(decoder->LoadFromMemory(png.data(), png.size()), DM_ECODE_OK);
    std::string animation = Animation(2);
    EXPECT_EQ(decoder->LoadFromMemory(animation.data(), animation.size()), DM_ECODE_OK);
    EXPECT_EQ(FrameCount(*decoder), 3u);
    EXPECT_EQ(Delays(*decoder), (std::vector<UINT>{0, 70, 90}));
    EXPECT_EQ(LoopCount(*decoder), 3);
}

}  // namespace
