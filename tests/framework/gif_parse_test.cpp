// The GIF block reader: logical screen, frame records with their graphic control, loop count,
// and what it refuses.
#include <gtest/gtest.h>

#include "Modules/DMGifParse.h"
#include "PictureWriter.h"

using namespace DM;
using vael::test::GifPicture;
using vael::test::Rgba;

namespace {

// 128 colours make it larger than the 380 bytes the reader needs in memory.
std::string TwoImageGif() {
    GifPicture picture{.width = 4, .height = 3, .loopCount = 5};
    picture.colors.assign(128, Rgba{1, 2, 3, 255});
    picture.images = {
        {.width = 4,
         .height = 3,
         .indices = std::vector<std::uint8_t>(12, 1),
         .delay = 7,
         .disposal = 2,
         .transparent = 3},
        {.left = 1, .top = 2, .width = 2, .height = 1, .indices = {0, 0}, .control = false},
    };
    return vael::test::WriteGif(picture);
}

bool Parse(DMGifParse& gif, const std::string& bytes) {
    return gif.LoadFromMemory(reinterpret_cast<const BYTE*>(bytes.data()), bytes.size());
}

TEST(GifParse, ReadsScreenFramesAndLoopCount) {
    DMGifParse gif;
    ASSERT_TRUE(Parse(gif, TwoImageGif()));
    const DMGifLogicalScreen& screen = gif.GetLogicalScreen();
    EXPECT_EQ(screen.width, 4u);
    EXPECT_EQ(screen.height, 3u);
    EXPECT_TRUE(screen.globalColorTable);
    EXPECT_EQ(screen.colorResolution, 8u);
    EXPECT_EQ(screen.globalColorTableSize, 128u);
    ASSERT_EQ(gif.GetFrames().size(), 2u);
    const DMGifFrameRecord& first = gif.GetFrames()[0];
    EXPECT_TRUE(first.control.present);
    EXPECT_EQ(first.control.disposal, 2);
    EXPECT_TRUE(first.control.transparency);
    EXPECT_EQ(first.control.transparentIndex, 3);
    EXPECT_EQ(first.control.delay, 7u);
    const DMGifFrameRecord& second = gif.GetFrames()[1];
    EXPECT_EQ(second.left, 1u);
    EXPECT_EQ(second.top, 2u);
    EXPECT_EQ(second.width, 2u);
    EXPECT_EQ(second.height, 1u);
    EXPECT_FALSE(second.control.present);
    EXPECT_TRUE(gif.HasLoopCount());
    EXPECT_EQ(gif.GetLoopCount(), 5u);
}

TEST(GifParse, RefusesWhatItCannotRead) {
    std::string gif = TwoImageGif();
    std::string gif87 = gif;
    gif87[4] = '7';
    std::string strayByte = gif;
    strayByte.insert(strayByte.size() - 1, "x");
    struct Case {
        const char* name;
        std::string bytes;
        std::size_t frames;
    } cases[] = {
        {"380 bytes", gif.substr(0, 380), 0},
        {"GIF87a", gif87, 0},
        {"a byte that starts no block", strayByte, 2},
        {"cut in the second image", gif.substr(0, gif.size() - 4), 1},
    };
    for (const Case& c : cases) {
        DMGifParse parse;
        EXPECT_FALSE(Parse(parse, c.bytes)) << c.name;
        EXPECT_EQ(parse.GetFrames().size(), c.frames) << c.name;
    }
}

// Every cut of the file reads in its own buffer of exactly its size, so a read past the end
// is caught; the frames read from a cut are the first frames of the whole file, and only the
// cut that loses just the trailer reads all of them.
TEST(GifParse, EveryCutIsSafe) {
    std::string gif = TwoImageGif();
    DMGifParse whole;
    ASSERT_TRUE(Parse(whole, gif));
    std::size_t framesBefore = 0;
    for (std::size_t size = 381; size < gif.size(); ++size) {
        std::vector<BYTE> cut(gif.begin(), gif.begin() + static_cast<std::ptrdiff_t>(size));
        DMGifParse parse;
        bool complete = parse.LoadFromMemory(cut.data(), cut.size());
        const std::vector<DMGifFrameRecord>& frames = parse.GetFrames();
        ASSERT_LE(frames.size(), whole.GetFrames().size()) << size;
        EXPECT_GE(frames.size(), framesBefore) << size;
        framesBefore = frames.size();
        for (std::size_t i = 0; i < frames.size(); ++i) {
            EXPECT_EQ(frames[i].left, whole.GetFrames()[i].left) << size;
            EXPECT_EQ(frames[i].width, whole.GetFrames()[i].width) << size;
            EXPECT_EQ(frames[i].height, whole.GetFrames()[i].height) << size;
            EXPECT_EQ(frames[i].control.delay, whole.GetFrames()[i].control.delay) << size;
        }
        if (size == gif.size() - 1) {
            EXPECT_TRUE(complete);
            EXPECT_EQ(frames.size(), 2u);
        }
    }
}

}  // namespace
