// The drag image: one per process, showing its bitmap where the pointer drags it.
#include <gtest/gtest.h>

#include <vector>

#include "DMApp.h"
#include "DMDragWnd.h"
#include "DMRegType.h"
#include "DMSmartPtrT.h"
#include "IDMRender.h"
#include "plat/headless.h"
#include "plat/input.h"
#include "plat/window.h"

using namespace DM;

namespace {

class DragImage : public ::testing::Test {
protected:
    void SetUp() override {
        plat::headless::Use();
        IDMRender* render = nullptr;
        ASSERT_EQ(app.GetDefRegObj(&render, DMREG_Render), DM_ECODE_OK);
        m_render.Attach(render);
    }
    void TearDown() override { DMDragWnd::DragEnd(); }

    // Premultiplied pixels of different alpha, each one distinct.
    DMSmartPtrT<IDMBitmap> Bitmap(int width, int height) {
        IDMBitmap* bitmap = nullptr;
        m_render->CreateBitmap(&bitmap);
        std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
        for (std::size_t i = 0; i < pixels.size(); ++i) {
            std::uint32_t alpha = 0x40u * (i % 4) + 0x3F;
            pixels[i] = alpha << 24 | static_cast<std::uint32_t>(i % alpha);
        }
        bitmap->Init(width, height, pixels.data());
        return DMSmartPtrT<IDMBitmap>::Adopt(bitmap);
    }

    DMApp app;
    DMSmartPtrT<IDMRender> m_render;
};

TEST_F(DragImage, FollowsThePointerWithItsHotSpotAndShowsTheBitmap) {
    DMSmartPtrT<IDMBitmap> bitmap = Bitmap(6, 4);
    HWND active = plat::GetActiveWindow();
    ASSERT_TRUE(DMDragWnd::DragBegin(bitmap.get(), 2, 1, plat::RGB(255, 0, 255), 200));
    HWND window = DMDragWnd::DragWindow();
    ASSERT_TRUE(window);
    EXPECT_EQ(plat::GetWindowLongPtrW(window, plat::GWL_EXSTYLE), 0xA8 | plat::WS_EX_LAYERED);
    EXPECT_FALSE(plat::IsWindowVisible(window)) << "shown only when it moves";

    DMDragWnd::DragMove(300, 200);

    auto surface = plat::headless::Surface(window);
    ASSERT_TRUE(surface);
    EXPECT_TRUE(surface->visible);
    EXPECT_EQ(surface->bounds.left, 298);
    EXPECT_EQ(surface->bounds.top, 199);
    EXPECT_EQ(surface->bounds.right, 304);
    EXPECT_EQ(surface->bounds.bottom, 203);
    EXPECT_EQ(surface->constantAlpha, 200);
    EXPECT_EQ(plat::GetActiveWindow(), active);
    auto picture = plat::headless::PresentedPicture(window);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->width, 6);
    EXPECT_EQ(picture->height, 4);
    const std::uint32_t* bits = bitmap->GetPixelBits();
    EXPECT_EQ(picture->pixels, std::vector<std::uint32_t>(bits, bits + 24));

    DMDragWnd::DragEnd();
    EXPECT_FALSE(plat::IsWindow(window));
    EXPECT_EQ(DMDragWnd::DragWindow(), nullptr);
}

TEST_F(DragImage, OnlyOneAtATime) {
    DMSmartPtrT<IDMBitmap> bitmap = Bitmap(3, 3);
    ASSERT_TRUE(DMDragWnd::DragBegin(bitmap.get(), 0, 0, 0, 255));
    HWND first = DMDragWnd::DragWindow();

    EXPECT_FALSE(DMDragWnd::DragBegin(bitmap.get(), 0, 0, 0, 255));
    EXPECT_EQ(DMDragWnd::DragWindow(), first);

    DMDragWnd::DragEnd();
    EXPECT_TRUE(DMDragWnd::DragBegin(bitmap.get(), 0, 0, 0, 255)) << "free again after the end";
}

TEST_F(DragImage, NeedsAPicture) {
    IDMBitmap* empty = nullptr;
    m_render->CreateBitmap(&empty);
    DMSmartPtrT<IDMBitmap> emptyBitmap = DMSmartPtrT<IDMBitmap>::Adopt(empty);

    EXPECT_FALSE(DMDragWnd::DragBegin(nullptr, 0, 0, 0, 255));
    EXPECT_FALSE(DMDragWnd::DragBegin(emptyBitmap.get(), 0, 0, 0, 255));
    EXPECT_EQ(DMDragWnd::DragWindow(), nullptr);
}

}  // namespace
