#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <png.h>

#include "TempDir.h"
#include "plat/caret.h"
#include "plat/cursor.h"
#include "plat/headless.h"
#include "plat/input_method.h"
#include "plat/layered.h"
#include "plat/message_box.h"
#include "plat/paint.h"
#include "window_test_support.h"

namespace plat::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using Presentation = WindowSystemTest;

constexpr std::uint32_t kHalfRed = 0x80800000;  // premultiplied: red 255 at alpha 128
constexpr std::uint32_t kBlue = 0xFF0000FF;
constexpr std::uint32_t kGreen = 0xFF00FF00;

struct Bitmap {
    LONG width;
    LONG height;
    std::vector<std::uint32_t> pixels;
    PixelBuffer View() const {
        return {reinterpret_cast<const BYTE*>(pixels.data()), width, height, width * 4};
    }
};

Bitmap Filled(LONG width, LONG height, std::uint32_t pixel) {
    return {width, height, std::vector<std::uint32_t>(width * height, pixel)};
}

std::vector<BYTE> ReadPngRgba(const std::filesystem::path& path, png_uint_32& width) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    EXPECT_TRUE(png_image_begin_read_from_file(&image, path.c_str()));
    image.format = PNG_FORMAT_RGBA;
    std::vector<BYTE> rgba(PNG_IMAGE_SIZE(image));
    EXPECT_TRUE(png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr));
    width = image.width;
    return rgba;
}

HWND LayeredWindow(RECT rect) {
    return CreateRecordingWindow(WS_POPUP | WS_VISIBLE, rect, nullptr, WS_EX_LAYERED);
}

TEST_F(Presentation, ALayeredWindowShowsItsPictureAndSavesItAsPng) {
    HWND window = LayeredWindow({10, 10, 14, 13});
    Bitmap picture = Filled(4, 3, kHalfRed);
    picture.pixels[0] = kBlue;
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ASSERT_TRUE(UpdateLayeredWindow(window, nullptr, nullptr, picture.View(), nullptr, &blend,
                                    ULW_ALPHA, nullptr));

    // Only the dirty part changes on a later update.
    Bitmap green = Filled(4, 3, kGreen);
    RECT dirty{3, 2, 4, 3};
    ASSERT_TRUE(UpdateLayeredWindow(window, nullptr, nullptr, green.View(), nullptr, &blend,
                                    ULW_ALPHA, &dirty));
    std::optional<headless::Picture> shown = headless::PresentedPicture(window);
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->At(0, 0), kBlue);
    EXPECT_EQ(shown->At(2, 2), kHalfRed);
    EXPECT_EQ(shown->At(3, 2), kGreen);

    vael::test::TempDir folder;
    std::filesystem::path file = folder.path() / "window.png";
    ASSERT_TRUE(headless::SavePresentedPicture(window, file));
    png_uint_32 width = 0;
    std::vector<BYTE> rgba = ReadPngRgba(file, width);
    ASSERT_EQ(width, 4u);
    EXPECT_THAT(std::vector<BYTE>(rgba.begin(), rgba.begin() + 8),
                ElementsAre(0, 0, 255, 255, 255, 0, 0, 128));  // blue, then half-visible red
}

TEST_F(Presentation, APerPixelPictureGetsNoPaintAndNeedsALayeredWindow) {
    HWND layered = LayeredWindow({0, 0, 2, 2});
    HWND plain = CreateShownWindow({0, 0, 2, 2});
    Bitmap picture = Filled(2, 2, kBlue);
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 128, AC_SRC_ALPHA};
    EXPECT_FALSE(UpdateLayeredWindow(plain, nullptr, nullptr, picture.View(), nullptr, &blend,
                                     ULW_ALPHA, nullptr));
    Bitmap tooSmall = Filled(1, 2, kBlue);
    EXPECT_FALSE(UpdateLayeredWindow(layered, nullptr, nullptr, tooSmall.View(), nullptr, &blend,
                                     ULW_ALPHA, nullptr));
    POINT position{50, 60};
    ASSERT_TRUE(UpdateLayeredWindow(layered, &position, nullptr, picture.View(), nullptr, &blend,
                                    ULW_ALPHA, nullptr));
    EXPECT_EQ(headless::Surface(layered)->constantAlpha, 128);
    EXPECT_EQ(headless::Surface(layered)->bounds.left, 50);

    Pump();
    Log().clear();
    InvalidateRect(layered, nullptr, TRUE);
    Pump();
    EXPECT_THAT(MessagesOf(layered, {WM_PAINT}), IsEmpty());

    // A constant alpha alone brings painting back.
    ASSERT_TRUE(SetLayeredWindowAttributes(layered, 0, 200, LWA_ALPHA));
    Pump();
    EXPECT_THAT(MessagesOf(layered, {WM_PAINT}), ElementsAre(WM_PAINT));
    EXPECT_EQ(headless::Surface(layered)->constantAlpha, 200);
}

TEST_F(Presentation, PixelsCopiedWhilePaintingAppearOnTheSurface) {
    HWND window = CreateShownWindow({0, 0, 8, 8});
    HWND child = CreateRecordingWindow(WS_CHILD | WS_VISIBLE, {4, 4, 8, 8}, window);
    Bitmap blue = Filled(8, 8, kBlue);
    Bitmap green = Filled(2, 2, kGreen);
    React([&](HWND target, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message != WM_PAINT) {
            return std::nullopt;
        }
        PAINTSTRUCT paint;
        HDC context = BeginPaint(target, &paint);
        const Bitmap& picture = target == child ? green : blue;
        CopyPixelsToWindow(context, {1, 1}, picture.View(), {0, 0, picture.width, picture.height});
        EndPaint(target, &paint);
        return 0;
    });
    Pump();

    std::optional<headless::Picture> shown = headless::PresentedPicture(window);
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->At(0, 0), 0u);
    EXPECT_EQ(shown->At(1, 1), kBlue);
    EXPECT_EQ(shown->At(5, 5), kGreen);  // the child's client point 1, 1
}

TEST_F(Presentation, CursorsAreSharedSystemShapesOrPicturesShownOverTheWindow) {
    HCURSOR arrow = LoadCursorW(nullptr, MAKEINTRESOURCEW(IDC_ARROW));
    ASSERT_NE(arrow, nullptr);
    EXPECT_EQ(LoadCursorW(nullptr, MAKEINTRESOURCEW(IDC_ARROW)), arrow);
    for (std::uintptr_t id : {IDC_IBEAM, IDC_SIZEWE, IDC_HAND, IDC_HELP}) {
        EXPECT_EQ(SystemCursorId(LoadCursorW(nullptr, MAKEINTRESOURCEW(id))), id);
    }
    EXPECT_EQ(LoadCursorW(nullptr, MAKEINTRESOURCEW(32517)), nullptr);

    // The class cursor is set as the pointer moves over the client area.
    HWND window = CreateShownWindow({0, 0, 50, 50});
    headless::MoveMouse(10, 10);
    Pump();
    EXPECT_EQ(GetCursor(), arrow);
    EXPECT_EQ(headless::Surface(window)->cursorId, IDC_ARROW);

    Bitmap picture = Filled(2, 2, kBlue);
    HCURSOR made = CreateCursorFromPicture(picture.View(), {1, 1});
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(SetCursor(made), arrow);
    EXPECT_EQ(headless::Surface(window)->cursorId, 0u);
    EXPECT_TRUE(DestroyCursor(made));
    EXPECT_EQ(GetCursor(), nullptr);
    EXPECT_TRUE(DestroyCursor(arrow));  // shared: it stays
    EXPECT_EQ(SystemCursorId(arrow), IDC_ARROW);
    EXPECT_EQ(GetCaretBlinkTime(), 530u);
}

TEST_F(Presentation, TheInputMethodShowsWhereTheWindowAsks) {
    HWND window = CreateShownWindow({100, 100, 200, 200});
    HWND edit = CreateRecordingWindow(WS_CHILD | WS_VISIBLE, {10, 20, 90, 40}, window);
    HIMC context = ImmGetContext(edit);
    COMPOSITIONFORM form{CFS_POINT, {5, 6}, {}};
    ASSERT_TRUE(ImmSetCompositionWindow(context, &form));
    ImmReleaseContext(edit, context);
    POINT shown = headless::Surface(window)->inputMethodPosition;
    EXPECT_EQ(shown.x, 15);
    EXPECT_EQ(shown.y, 26);
}

TEST_F(Presentation, MessageBoxesAreRecordedAndAnsweredOk) {
    HWND owner = CreateShownWindow({0, 0, 50, 50});
    EXPECT_EQ(MessageBoxW(owner, L"下载失败", L"", MB_OK), IDOK);
    std::vector<headless::ShownMessageBox> boxes = headless::MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].owner, owner);
    EXPECT_EQ(boxes[0].text, L"下载失败");
    headless::ClearMessageBoxes();
    EXPECT_TRUE(headless::MessageBoxes().empty());
}

}  // namespace
}  // namespace plat::test
