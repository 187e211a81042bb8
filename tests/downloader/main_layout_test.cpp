// The launcher's "main" layout from the executable's skin archive: built into a widget tree,
// laid out at 675 × 437 and rendered through the draw object.
#include <gtest/gtest.h>

#include "DMApp.h"
#include "DMSmartPtrT.h"
#include "DMXml.h"
#include "DUIProcessCtrl.h"
#include "DUIWindow.h"
#include "IDMDraw.h"
#include "LauncherWindow.h"
#include "StandInContainer.h"
#include "TempDir.h"
#include "plat/drive_map.h"
#include "plat/headless.h"
#include "plat/messages.h"
#include "plat/resources.h"

using namespace DM;

namespace {

class MainLayout : public ::testing::Test {
protected:
    void SetUp() override {
        plat::headless::Use();
        ASSERT_TRUE(LoadLauncherSkin(app));
        ASSERT_EQ(app.LoadXmlRes(layout, L"layout", L"main"), DM_ECODE_OK);
        root.Attach(new DUIWindow);
        root->SetContainer(&container);
        DMXmlNode widgets = layout.Root(L"dm").FirstChild(L"root");
        root->CreateChildren(widgets);
        root->SetWndRect({0, 0, 675, 437});
    }
    void TearDown() override { root->SendMessage(plat::WM_DESTROY); }

    RECT RectOf(const wchar_t* name) {
        DUIWindow* widget = root->FindChildByName(name);
        EXPECT_NE(widget, nullptr) << name;
        return widget ? widget->m_rcWindow : RECT{};
    }

    DMApp app;
    DMXmlDocument layout;
    vael::test::StandInContainer container;
    DMSmartPtrT<DUIWindow> root;
};

TEST_F(MainLayout, EveryWidgetSitsWhereItsPositionSays) {
    struct {
        const wchar_t* name;
        RECT rect;
    } expected[] = {
        {L"bg", {0, 0, 674, 436}},          {L"close", {641, 82, 665, 106}},
        {L"min", {615, 82, 639, 106}},      {L"download", {382, 347, 498, 384}},
        {L"process", {248, 406, 640, 420}}, {L"splash", {250, 120, 640, 343}},
    };
    for (const auto& widget : expected) {
        RECT rect = RectOf(widget.name);
        EXPECT_EQ(rect.left, widget.rect.left) << widget.name;
        EXPECT_EQ(rect.top, widget.rect.top) << widget.name;
        EXPECT_EQ(rect.right, widget.rect.right) << widget.name;
        EXPECT_EQ(rect.bottom, widget.rect.bottom) << widget.name;
    }
    auto* bar = static_cast<DUIProcessCtrl*>(root->FindChildByName(L"process"));
    ASSERT_TRUE(bar->IsClass(L"ProcessCtrl"));
    bar->SetPos(50);
    EXPECT_EQ(bar->SelectionRect().right - bar->SelectionRect().left, 196);
    bar->SetPos(150);
    EXPECT_EQ(bar->GetPos(), 100);
    EXPECT_EQ(bar->SetAttribute(L"range", L"5,5", false), DMATTR_FAIL);
    EXPECT_EQ(bar->m_nMax, 100);
}

TEST_F(MainLayout, RendersTheSkinWithATransparentCorner) {
    IDMDraw* draw = nullptr;
    ASSERT_EQ(app.CreateRegObj(&draw, nullptr, DMREG_Draw), DM_ECODE_OK);
    auto drawer = DMSmartPtrT<IDMDraw>::Adopt(draw);
    drawer->ResizeCanvas(675, 437);
    drawer->InvalidateRect(nullptr, RGN_COPY);
    EXPECT_EQ(drawer->Render(root.get()), DM_ECODE_OK);
    IDMCanvas* canvas = nullptr;
    drawer->GetCanvas(&canvas);
    auto painted = DMSmartPtrT<IDMCanvas>::Adopt(canvas);
    IDMMetaFile* picture = nullptr;
    painted->GetObject(&picture, DMF_BITMAP);
    auto* bitmap = static_cast<IDMBitmap*>(picture);

    vael::test::TempDir folder;
    std::wstring path = plat::WindowsPathFromHostW(folder / "main.png");
    EXPECT_EQ(SavePngFile(bitmap, path.c_str()), DM_ECODE_OK);
    EXPECT_TRUE(std::filesystem::exists(folder / "main.png"));

    EXPECT_EQ(bitmap->GetPixel(0, 0) >> 24, 0u) << "the corner stays transparent";
    EXPECT_EQ(bitmap->GetPixel(100, 300) >> 24, 0xFFu) << "the background";

    // The same two skins drawn by hand: the background, and the close button's normal state.
    IDMRender* render = nullptr;
    app.GetDefRegObj(&render, DMREG_Render);
    auto renderer = DMSmartPtrT<IDMRender>::Adopt(render);
    IDMCanvas* created = nullptr;
    renderer->CreateCanvas(675, 437, &created);
    auto expected = DMSmartPtrT<IDMCanvas>::Adopt(created);
    app.GetSkin(L"bg")->Draw(expected.get(), {0, 0, 674, 436}, 0, 0xFF);
    app.GetSkin(L"guanbi")->Draw(expected.get(), {641, 82, 665, 106}, 0, 0xFF);
    IDMMetaFile* expectedPicture = nullptr;
    expected->GetObject(&expectedPicture, DMF_BITMAP);
    for (POINT point : {POINT{653, 94}, POINT{645, 94}, POINT{653, 85}}) {
        EXPECT_EQ(bitmap->GetPixel(point.x, point.y),
                  static_cast<IDMBitmap*>(expectedPicture)->GetPixel(point.x, point.y))
            << "the close button in its normal state at " << point.x << "," << point.y;
    }
}

}  // namespace
