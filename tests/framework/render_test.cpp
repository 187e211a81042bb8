// The canvas on premultiplied pixels: text, fills, clears, pictures, colour adjustment, clips.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>

#include "DMApp.h"
#include "DMRegType.h"
#include "DMSmartPtrT.h"
#include "IDMRender.h"
#include "TempDir.h"
#include "plat/drive_map.h"

using namespace DM;

namespace {

class Render : public ::testing::Test {
protected:
    void SetUp() override {
        IDMRender* render = nullptr;
        ASSERT_EQ(app.GetDefRegObj(&render, DMREG_Render), DM_ECODE_OK);
        m_render.Attach(render);
    }

    DMSmartPtrT<IDMCanvas> Canvas(int width, int height) {
        IDMCanvas* canvas = nullptr;
        EXPECT_EQ(m_render->CreateCanvas(width, height, &canvas), DM_ECODE_OK);
        return DMSmartPtrT<IDMCanvas>::Adopt(canvas);
    }
    DMSmartPtrT<IDMBitmap> Bitmap(IDMCanvas& canvas) {
        IDMMetaFile* bitmap = nullptr;
        canvas.GetObject(&bitmap, DMF_BITMAP);
        return DMSmartPtrT<IDMBitmap>(static_cast<IDMBitmap*>(bitmap));
    }
    // A picture whose pixels are their own index, opaque.
    DMSmartPtrT<IDMBitmap> Numbered(int width, int height) {
        IDMBitmap* bitmap = nullptr;
        m_render->CreateBitmap(&bitmap);
        std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
        for (std::size_t i = 0; i < pixels.size(); ++i) {
            pixels[i] = 0xFF000000u | static_cast<std::uint32_t>(i);
        }
        bitmap->Init(width, height, pixels.data());
        return DMSmartPtrT<IDMBitmap>::Adopt(bitmap);
    }
    // A picture of the given pixels.
    DMSmartPtrT<IDMBitmap> Picture(int width, int height, const std::uint32_t* pixels) {
        IDMBitmap* bitmap = nullptr;
        m_render->CreateBitmap(&bitmap);
        bitmap->Init(width, height, pixels);
        return DMSmartPtrT<IDMBitmap>::Adopt(bitmap);
    }
    // A picture of premultiplied noise with every kind of alpha, where rounding shows.
    DMSmartPtrT<IDMBitmap> Speckled(int width, int height) {
        std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
        std::uint32_t seed = 12345;
        auto next = [&seed] {
            seed = seed * 1103515245u + 12345u;
            return (seed >> 16) & 0xFF;
        };
        for (std::uint32_t& pixel : pixels) {
            std::uint32_t alpha = next() < 0x80 ? 0xFF : next();
            pixel = alpha << 24 | (next() * alpha / 255) << 16 | (next() * alpha / 255) << 8 |
                    next() * alpha / 255;
        }
        return Picture(width, height, pixels.data());
    }
    static std::vector<std::uint32_t> Pixels(IDMCanvas& canvas) {
        int bytes = 0;
        const std::uint32_t* pixels = canvas.GetPixelBits(&bytes);
        return {pixels, pixels + bytes / 4};
    }
    static std::vector<std::uint32_t> Pixels(IDMBitmap& bitmap) {
        std::vector<std::uint32_t> pixels;
        for (int y = 0; y < bitmap.GetHeight(); ++y) {
            for (int x = 0; x < bitmap.GetWidth(); ++x) {
                pixels.push_back(bitmap.GetPixel(x, y));
            }
        }
        return pixels;
    }

    DMApp app;
    DMSmartPtrT<IDMRender> m_render;
};

TEST_F(Render, TextOnTransparentPixelsIsOpaqueWhereDrawn) {
    DMSmartPtrT<IDMCanvas> canvas = Canvas(120, 40);
    canvas->SetTextColor(DMColor(0xFF, 0xFF, 0xFF), nullptr);
    RECT box{0, 0, 120, 40};
    ASSERT_EQ(canvas->DrawText(L"下载 Vael", -1, box, DT_SINGLELINE | DT_VCENTER, 0xFF),
              DM_ECODE_OK);
    DMSmartPtrT<IDMBitmap> bitmap = Bitmap(*canvas);
    int opaque = 0;
    int touched = 0;
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 120; ++x) {
            std::uint32_t pixel = bitmap->GetPixel(x, y);
            BYTE alpha = static_cast<BYTE>(pixel >> 24);
            opaque += alpha == 0xFF;
            touched += alpha != 0;
            ASSERT_LE(pixel & 0xFF, alpha) << "premultiplied at " << x << "," << y;
        }
    }
    EXPECT_GT(opaque, 20);
    EXPECT_LT(touched, 120 * 40 / 2) << "the pixels away from the glyphs stay transparent";
    EXPECT_EQ(bitmap->GetPixel(119, 0), 0u);

    DMSmartPtrT<IDMCanvas> half = Canvas(120, 40);
    half->SetTextColor(DMColor(0xFF, 0xFF, 0xFF, 0x80), nullptr);
    half->DrawText(L"下载 Vael", -1, box, DT_SINGLELINE | DT_VCENTER, 0xFF);
    BYTE strongest = 0;
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 120; ++x) {
            strongest = std::max(strongest, static_cast<BYTE>(Bitmap(*half)->GetPixel(x, y) >> 24));
        }
    }
    EXPECT_EQ(strongest, 0x80);
}

TEST_F(Render, TextOutsideTheClipDrawsNothing) {
    DMSmartPtrT<IDMCanvas> canvas = Canvas(100, 100);
    canvas->PushClip({0, 0, 50, 50}, RGN_AND);
    RECT box{60, 60, 100, 100};
    EXPECT_EQ(canvas->DrawText(L"x", -1, box, DT_SINGLELINE, 0xFF), DM_ECODE_FAIL);
    RECT empty{0, 0, 50, 50};
    EXPECT_EQ(canvas->DrawText(L"", -1, empty, 0, 0xFF), DM_ECODE_FAIL);
    int bytes = 0;
    const std::uint32_t* pixels = canvas->GetPixelBits(&bytes);
    EXPECT_EQ(std::count(pixels, pixels + bytes / 4, 0u), bytes / 4);
}

TEST_F(Render, MeasuringAndPlacingText) {
    DMSmartPtrT<IDMCanvas> canvas = Canvas(200, 60);
    SIZE size{};
    EXPECT_EQ(canvas->MeasureText(L"浏览...", -1, size), DM_ECODE_OK);
    EXPECT_GT(size.cx, 20);
    EXPECT_GT(size.cy, 10);
    RECT calc{10, 10, 200, 60};
    EXPECT_EQ(canvas->DrawText(L"浏览...", -1, calc, DT_CALCRECT | DT_SINGLELINE, 0xFF),
              DM_ECODE_OK);
    EXPECT_EQ(calc.right - calc.left, size.cx);
    EXPECT_EQ(calc.bottom - calc.top, size.cy);
}

TEST_F(Render, SolidFillsBlendWithTheirAlpha) {
    struct {
        BYTE alpha;
        std::uint32_t expected;  // over opaque blue
    } cases[] = {{0xFF, 0xFFFF0000}, {0x80, 0xFF80007F}, {0x00, 0xFF0000FF}};
    for (const auto& c : cases) {
        DMSmartPtrT<IDMCanvas> canvas = Canvas(10, 10);
        canvas->ClearRect({0, 0, 10, 10}, DMColor::FromValue(0xFF0000FF));
        EXPECT_EQ(canvas->FillSolidRect({2, 2, 8, 8}, DMColor(0xFF, 0, 0, c.alpha)), DM_ECODE_OK);
        std::uint32_t pixel = Bitmap(*canvas)->GetPixel(5, 5);
        EXPECT_NEAR(static_cast<int>((pixel >> 16) & 0xFF),
                    static_cast<int>((c.expected >> 16) & 0xFF), 1);
        EXPECT_NEAR(static_cast<int>(pixel & 0xFF), static_cast<int>(c.expected & 0xFF), 1);
        EXPECT_EQ(pixel >> 24, 0xFFu);
        EXPECT_EQ(Bitmap(*canvas)->GetPixel(0, 0), 0xFF0000FFu) << "outside the rectangle";
    }
}

TEST_F(Render, ClearRectWritesTheValueExactly) {
    DMSmartPtrT<IDMCanvas> canvas = Canvas(10, 10);
    canvas->ClearRect({0, 0, 10, 10}, DMColor::FromValue(0xFF336699));
    canvas->ClearRect({3, 3, 6, 6}, DMColor::FromValue(0));
    DMSmartPtrT<IDMBitmap> bitmap = Bitmap(*canvas);
    EXPECT_EQ(bitmap->GetPixel(4, 4), 0u);
    EXPECT_EQ(bitmap->GetPixel(2, 2), 0xFF336699u);
    EXPECT_EQ(bitmap->GetPixel(-1, 0), 0xFFFFFFFFu);
    EXPECT_EQ(bitmap->GetPixel(10, 3), 0xFFFFFFFFu);
}

TEST_F(Render, ClearRectStaysInsideTheCanvas) {
    DMSmartPtrT<IDMCanvas> canvas = Canvas(10, 10);
    canvas->PushClip({-20, -20, 40, 40}, RGN_COPY);
    EXPECT_EQ(canvas->ClearRect({-5, 5, 30, 30}, DMColor::FromValue(0xFF336699)), DM_ECODE_OK);
    canvas->PopClip();
    DMSmartPtrT<IDMBitmap> bitmap = Bitmap(*canvas);
    EXPECT_EQ(bitmap->GetPixel(0, 9), 0xFF336699u);
    EXPECT_EQ(bitmap->GetPixel(9, 9), 0xFF336699u);
    EXPECT_EQ(bitmap->GetPixel(9, 4), 0u);
}

TEST_F(Render, NineGridShrinksMarginsThatDoNotFit) {
    DMSmartPtrT<IDMBitmap> picture = Numbered(30, 30);
    DMSmartPtrT<IDMCanvas> canvas = Canvas(40, 40);
    EXPECT_EQ(canvas->DrawBitmapNine(picture.get(), {0, 0, 30, 30}, {10, 10, 10, 10},
                                     {0, 0, 10, 10}, 0, 0xFF),
              DM_ECODE_OK);
    DMSmartPtrT<IDMBitmap> bitmap = Bitmap(*canvas);
    EXPECT_EQ(bitmap->GetPixel(10, 10), 0u) << "nothing outside the destination";
    EXPECT_NE(bitmap->GetPixel(1, 1), 0u);
    EXPECT_NE(bitmap->GetPixel(8, 8), 0u);
    EXPECT_EQ(canvas->DrawBitmapNine(picture.get(), {0, 0, 30, 30}, {20, 0, 20, 0}, {0, 0, 40, 40},
                                     0, 0xFF),
              DM_ECODE_FAIL)
        << "margins wider than the source";

    DMSmartPtrT<IDMCanvas> wide = Canvas(60, 30);
    wide->DrawBitmapNine(picture.get(), {0, 0, 30, 30}, {10, 10, 10, 10}, {0, 0, 60, 30}, 0, 0xFF);
    EXPECT_EQ(Bitmap(*wide)->GetPixel(0, 0), picture->GetPixel(0, 0)) << "corners one to one";
    EXPECT_EQ(Bitmap(*wide)->GetPixel(59, 29), picture->GetPixel(29, 29));
}

TEST_F(Render, BitmapsCopyStretchAndTile) {
    DMSmartPtrT<IDMBitmap> picture = Numbered(4, 4);
    DMSmartPtrT<IDMCanvas> canvas = Canvas(8, 8);
    canvas->DrawBitmap(picture.get(), {0, 0, 4, 4}, {0, 0, 4, 4}, 0xFF, 0);
    EXPECT_EQ(Bitmap(*canvas)->GetPixel(3, 2), picture->GetPixel(3, 2));
    canvas->DrawBitmap(picture.get(), {0, 0, 2, 2}, {0, 0, 8, 8}, 0xFF, 1);
    EXPECT_EQ(Bitmap(*canvas)->GetPixel(6, 7), picture->GetPixel(0, 1)) << "tiled";
    EXPECT_EQ(canvas->DrawBitmap(picture.get(), {0, 0, 4, 4}, {0, 0, 8, 8}, 0xFF, 2),
              DM_ECODE_FAIL);

    DMSmartPtrT<IDMCanvas> target = Canvas(8, 8);
    target->SetViewportOrg(2, 2, nullptr);
    target->BitBlt(canvas.get(), 0, 0, {0, 0, 4, 4}, SRCCOPY);
    EXPECT_EQ(Bitmap(*target)->GetPixel(2, 2), Bitmap(*canvas)->GetPixel(0, 0));
    EXPECT_EQ(Bitmap(*target)->GetPixel(1, 1), 0u);
}

// A window background is stretched over the window and repainted piece by piece under whatever
// changes above it; every piece has to match the window's first, whole painting.
TEST_F(Render, StretchedPictureRepaintedInPiecesMatchesPaintingItWhole) {
    DMSmartPtrT<IDMBitmap> picture = Speckled(75, 47);
    const DMColor base = DMColor::FromValue(0x80203040);
    struct {
        RECT destination;
        BYTE alpha;
    } cases[] = {{{0, 0, 74, 46}, 0xFF}, {{0, 0, 74, 46}, 0x80}, {{3, 5, 93, 60}, 0xFF}};
    for (const auto& c : cases) {
        DMSmartPtrT<IDMCanvas> whole = Canvas(96, 64);
        whole->ClearRect({0, 0, 96, 64}, base);
        whole->DrawBitmap(picture.get(), {0, 0, 75, 47}, c.destination, c.alpha, 0);

        DMSmartPtrT<IDMCanvas> pieces = Canvas(96, 64);
        pieces->ClearRect({0, 0, 96, 64}, base);
        for (LONG top = 0; top < 64; top += 21) {
            for (LONG left = 0; left < 96; left += 17) {
                RECT piece{left, top, left + 17, top + 21};
                pieces->PushClip(piece, RGN_AND);
                pieces->ClearRect(piece, base);
                pieces->DrawBitmap(picture.get(), {0, 0, 75, 47}, c.destination, c.alpha, 0);
                pieces->PopClip();
            }
        }
        EXPECT_EQ(Pixels(*pieces), Pixels(*whole))
            << "to " << c.destination.right << "x" << c.destination.bottom << ", alpha "
            << int(c.alpha);
    }
}

// Stretched pictures are kept scaled between draws; every way of changing a picture's pixels
// shows in the next draw.
TEST_F(Render, StretchedPictureShowsEveryChangeOfItsPixels) {
    struct {
        const char* change;
        std::function<void(IDMBitmap&, IDMRender&)> apply;
    } cases[] = {
        {"SetPixel", [](IDMBitmap& p, IDMRender&) { p.SetPixel(10, 10, 0xFF00FF00); }},
        {"AdjustHSL", [](IDMBitmap& p, IDMRender&) { p.AdjustHSL(90, 100, 100, nullptr); }},
        {"AdjustAlpha", [](IDMBitmap& p, IDMRender&) { p.AdjustAlpha(0xFF, nullptr); }},
        {"Init",
         [](IDMBitmap& p, IDMRender&) {
             std::vector<std::uint32_t> grey(40 * 30, 0xFF808080);
             p.Init(40, 30, grey.data());
         }},
        {"pixels written after handing them out",
         [](IDMBitmap& p, IDMRender&) { p.GetPixelBits()[10 * 40 + 10] = 0xFF0000FF; }},
        {"drawn on by a canvas",
         [](IDMBitmap& p, IDMRender& render) {
             IDMCanvas* raw = nullptr;
             render.CreateCanvas(1, 1, &raw);
             auto canvas = DMSmartPtrT<IDMCanvas>::Adopt(raw);
             canvas->SelectObject(&p);
             canvas->FillSolidRect({0, 0, 20, 20}, DMColor(0xFF, 0, 0));
         }},
    };
    for (const auto& c : cases) {
        DMSmartPtrT<IDMBitmap> picture = Speckled(40, 30);
        DMSmartPtrT<IDMCanvas> canvas = Canvas(70, 50);
        canvas->DrawBitmap(picture.get(), {0, 0, 40, 30}, {2, 3, 67, 48}, 0xFF, 0);
        std::vector<std::uint32_t> before = Pixels(*canvas);
        c.apply(*picture, *m_render);
        canvas->ClearRect({0, 0, 70, 50}, DMColor::FromValue(0));
        canvas->DrawBitmap(picture.get(), {0, 0, 40, 30}, {2, 3, 67, 48}, 0xFF, 0);

        std::vector<std::uint32_t> now = Pixels(*picture);
        DMSmartPtrT<IDMBitmap> copy = Picture(40, 30, now.data());
        DMSmartPtrT<IDMCanvas> expected = Canvas(70, 50);
        expected->DrawBitmap(copy.get(), {0, 0, 40, 30}, {2, 3, 67, 48}, 0xFF, 0);
        EXPECT_NE(Pixels(*expected), before) << c.change << " changed the picture";
        EXPECT_EQ(Pixels(*canvas), Pixels(*expected)) << c.change;
    }
}

TEST_F(Render, AdjustHSL) {
    DMSmartPtrT<IDMCanvas> canvas = Canvas(4, 4);
    canvas->ClearRect({0, 0, 4, 4}, DMColor(0xC0, 0x40, 0x20));
    canvas->AdjustHSL(0, 100, 100, nullptr);
    EXPECT_EQ(Bitmap(*canvas)->GetPixel(1, 1), DMColor(0xC0, 0x40, 0x20).ToValue());
    canvas->AdjustHSL(0, 0, 100, nullptr);
    std::uint32_t grey = Bitmap(*canvas)->GetPixel(1, 1);
    EXPECT_EQ((grey >> 16) & 0xFF, grey & 0xFF);
    EXPECT_EQ((grey >> 8) & 0xFF, grey & 0xFF);
    EXPECT_EQ(grey >> 24, 0xFFu);
    canvas->RestoreCopy();
    EXPECT_EQ(Bitmap(*canvas)->GetPixel(1, 1), DMColor(0xC0, 0x40, 0x20).ToValue());
}

TEST_F(Render, AdjustHSLAdjustsNewContent) {
    DMSmartPtrT<IDMCanvas> canvas = Canvas(4, 4);
    canvas->ClearRect({0, 0, 4, 4}, DMColor(0xFF, 0, 0));
    canvas->AdjustHSL(120, 100, 100, nullptr);
    EXPECT_EQ(Bitmap(*canvas)->GetPixel(1, 1), DMColor(0, 0xFF, 0).ToValue());
    canvas->ClearRect({0, 0, 4, 4}, DMColor(0, 0, 0xFF));
    canvas->AdjustHSL(120, 100, 100, nullptr);
    EXPECT_EQ(Bitmap(*canvas)->GetPixel(1, 1), DMColor(0xFF, 0, 0).ToValue())
        << "the blue that replaced the first picture, shifted";
}

TEST_F(Render, ClipStackAndRegions) {
    DMSmartPtrT<IDMCanvas> canvas = Canvas(100, 100);
    RECT box{};
    canvas->GetClipBox(box);
    EXPECT_EQ(box.right, 100);
    canvas->PushClip({10, 10, 50, 50}, RGN_AND);
    canvas->ExcludeClipRect({10, 10, 30, 50});
    canvas->GetClipBox(box);
    EXPECT_EQ(box.left, 30);
    canvas->FillSolidRect({0, 0, 100, 100}, DMColor(0, 0xFF, 0));
    EXPECT_EQ(Bitmap(*canvas)->GetPixel(20, 20), 0u);
    EXPECT_NE(Bitmap(*canvas)->GetPixel(40, 40), 0u);
    canvas->PopClip();
    canvas->GetClipBox(box);
    EXPECT_EQ(box.left, 0);

    IDMRegion* region = nullptr;
    m_render->CreateRegion(&region);
    auto owned = DMSmartPtrT<IDMRegion>::Adopt(region);
    region->CombineRect({0, 0, 10, 10}, RGN_COPY);
    region->CombineRect({5, 5, 15, 15}, RGN_OR);
    region->CombineRect({0, 0, 15, 15}, RGN_XOR);
    EXPECT_FALSE(region->PtInRegion({2, 2}));
    EXPECT_TRUE(region->PtInRegion({12, 2}));
    EXPECT_FALSE(region->PtInRegion({7, 7}));
    region->CombineRect({0, 0, 15, 15}, RGN_AND);
    region->Offset({1, 1});
    region->GetRgnBox(box);
    EXPECT_EQ(box.left, 1);
    EXPECT_EQ(box.right, 16);
    int count = 0;
    region->GetRectCount(count);
    EXPECT_GE(count, 2);
    region->CombineRect({0, 0, 100, 100}, RGN_DIFF);
    EXPECT_TRUE(region->IsEmpty());
}

TEST_F(Render, AlphaAdjustBackupAndFiles) {
    DMSmartPtrT<IDMCanvas> canvas = Canvas(8, 8);
    canvas->ClearRect({0, 0, 8, 8}, DMColor::FromValue(0x80402010));
    RECT area{0, 0, 4, 4};
    canvas->AlphaBackup(area);
    canvas->AdjustAlpha(0xFF, &area);
    EXPECT_EQ(Bitmap(*canvas)->GetPixel(1, 1), 0xFF402010u);
    canvas->AlphaRestore();
    EXPECT_EQ(Bitmap(*canvas)->GetPixel(1, 1), 0x80402010u);

    vael::test::TempDir folder;
    std::wstring path = plat::WindowsPathFromHostW(folder / "canvas.bmp");
    EXPECT_EQ(canvas->SaveBmpFile(path.c_str()), DM_ECODE_OK);
    std::string bmp = vael::test::ReadFile(folder / "canvas.bmp");
    ASSERT_EQ(bmp.size(), 54u + 8 * 8 * 4);
    EXPECT_EQ(bmp.substr(0, 2), "BM");
    std::uint32_t firstPixel = 0;
    std::memcpy(&firstPixel, bmp.data() + 54, 4);
    EXPECT_EQ(firstPixel, 0x80402010u);
}

TEST_F(Render, GradientRunsFromColourToColour) {
    DMSmartPtrT<IDMCanvas> canvas = Canvas(11, 3);
    canvas->GradientFill(DMColor(0, 0, 0), DMColor(200, 100, 0), {0, 0, 11, 3}, false, 0xFF);
    EXPECT_EQ(Bitmap(*canvas)->GetPixel(0, 1), 0xFF000000u);
    EXPECT_EQ(Bitmap(*canvas)->GetPixel(10, 1), DMColor(200, 100, 0).ToValue());
    EXPECT_EQ((Bitmap(*canvas)->GetPixel(5, 1) >> 16) & 0xFF, 100u);
}

// Only the visible part of a gradient is computed; a rectangle far wider than any picture
// still runs from its first colour to its second across its whole width.
TEST_F(Render, GradientWiderThanAnyPicture) {
    DMSmartPtrT<IDMCanvas> canvas = Canvas(11, 3);
    EXPECT_EQ(canvas->GradientFill(DMColor(0, 0, 0), DMColor(200, 100, 0), {-19995, 0, 20006, 3},
                                   false, 0xFF),
              DM_ECODE_OK);
    EXPECT_EQ((Bitmap(*canvas)->GetPixel(5, 1) >> 16) & 0xFF, 100u);
    EXPECT_EQ(canvas->GradientFill(DMColor(0, 0, 0), DMColor(200, 100, 0), {0, -40000, 11, 40000},
                                   true, 0x80),
              DM_ECODE_OK);
    EXPECT_EQ(
        canvas->GradientFill(DMColor(0, 0, 0), DMColor(200, 100, 0), {20, 0, 40, 3}, false, 0xFF),
        DM_ECODE_FAIL);
}

TEST_F(Render, ArcsPiesAndLinesOutsideTheClipDrawNothing) {
    DMSmartPtrT<IDMCanvas> canvas = Canvas(20, 20);
    const POINT inside[] = {{2, 2}, {15, 15}};
    const POINT outside[] = {{30, 30}, {40, 45}};
    EXPECT_EQ(canvas->Polyline(inside, 2), DM_ECODE_OK);
    EXPECT_EQ(canvas->Polyline(outside, 2), DM_ECODE_FAIL);
    EXPECT_EQ(canvas->DrawArc({0, 0, 20, 20}, 0, 90), DM_ECODE_OK);
    EXPECT_EQ(canvas->DrawArc({30, 30, 50, 50}, 0, 90), DM_ECODE_FAIL);
    EXPECT_EQ(canvas->FillPie({0, 0, 20, 20}, 0, 90), DM_ECODE_OK);
    EXPECT_NE(Bitmap(*canvas)->GetPixel(14, 6), 0u) << "the pie's upper right quarter";
    canvas->PushClip({0, 0, 5, 5}, RGN_AND);
    EXPECT_EQ(canvas->FillPie({10, 10, 20, 20}, 0, 90), DM_ECODE_FAIL);
    canvas->PopClip();
}

}  // namespace
