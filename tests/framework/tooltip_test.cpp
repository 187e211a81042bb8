// The tool-tip object on the headless driver's virtual clock: a full-screen host window takes
// the pointer, the tip object filters the thread's messages as the host's loop would have it.
#include <gtest/gtest.h>

#include <cwchar>
#include <functional>

#include "DMApp.h"
#include "DMCWnd.h"
#include "DMMsgLoop.h"
#include "DMRegType.h"
#include "DMSmartPtrT.h"
#include "IDMRender.h"
#include "IDMToolTip.h"
#include "MessagePump.h"
#include "plat/headless.h"
#include "plat/input.h"
#include "plat/window.h"

using namespace DM;

namespace {

constexpr RECT kTarget{100, 100, 300, 200};
constexpr std::uint32_t kInfoBackground = 0xFFFFFFE1;
constexpr std::uint32_t kFrame = 0xFF000000;

class Tooltip : public ::testing::Test {
protected:
    void SetUp() override {
        plat::headless::Use();
        plat::headless::StartVirtualClock();
        ASSERT_EQ(app.CreateRegObj(&m_tipObject, L"DMTooltipImpl", DMREG_ToolTip), DM_ECODE_OK);
        tip.Attach(m_tipObject);
        loop.AddMessageFilter(tip.get());
        host.CreateWindowEx(
            plat::MAKEINTATOM(app.GetClassAtom()), L"host", plat::WS_POPUP | plat::WS_VISIBLE, 0, 0,
            0, plat::headless::kScreenWidth, plat::headless::kScreenHeight, nullptr, nullptr);
    }
    void TearDown() override {
        loop.RemoveMessageFilter(tip.get());
        host.DestroyWindow();
        plat::headless::StopVirtualClock();
    }

    void Pump() {
        vael::test::PumpMessages(
            [this](plat::MSG& message) { return loop.PreTranslateMessage(&message); });
    }
    void MoveTo(LONG x, LONG y) {
        plat::headless::MoveMouse(x, y);
        Pump();
    }
    void Wait(DWORD milliseconds) {
        plat::headless::AdvanceClock(milliseconds);
        Pump();
    }
    void Target(const wchar_t* text, const RECT& screenRect = kTarget) {
        DMToolTipInfo info;
        info.strTip = text;
        info.rcScreenTarget = screenRect;
        ASSERT_EQ(tip->Update(info), DM_ECODE_OK);
    }
    // The tip of `text` over the target, shown after the pointer rested at (x, y).
    void ShowTip(const wchar_t* text, LONG x = 150, LONG y = 150) {
        Target(text);
        MoveTo(x, y);
        Wait(500);
    }

    // The tip object is its own tip window.
    HWND TipWindow() const {
        DMCWnd* window = dynamic_cast<DMCWnd*>(m_tipObject);
        return window ? window->m_hWnd : nullptr;
    }
    bool TipShown() const {
        std::optional<plat::headless::SurfaceState> surface = plat::headless::Surface(TipWindow());
        return surface && surface->visible;
    }
    RECT TipBounds() const { return plat::headless::Surface(TipWindow())->bounds; }

    // What the tip's own font measures for a text, wrapped at the screen's width.
    SIZE TextSize(const wchar_t* text) {
        IDMRender* render = nullptr;
        app.GetDefRegObj(&render, DMREG_Render);
        auto renderer = DMSmartPtrT<IDMRender>::Adopt(render);
        IDMCanvas* canvas = nullptr;
        renderer->CreateCanvas(1, 1, &canvas);
        auto owned = DMSmartPtrT<IDMCanvas>::Adopt(canvas);
        plat::LOGFONTW logFont{};
        logFont.lfHeight = -12;
        std::wcscpy(logFont.lfFaceName, L"宋体");
        IDMFont* font = nullptr;
        renderer->CreateFont(&logFont, &font);
        owned->SelectObject(DMSmartPtrT<IDMFont>::Adopt(font).get());
        RECT box{0, 0, 1000, 0};
        owned->DrawText(text, -1, box, DT_WORDBREAK | DT_CALCRECT);
        return {box.right, box.bottom};
    }

    DMApp app;
    DMMsgLoop loop;
    DMSmartPtrT<IDMToolTip> tip;
    DMCWnd host;

private:
    IDMToolTip* m_tipObject = nullptr;
};

TEST_F(Tooltip, RegisteredUnderItsNamesAsTheDefaultOfItsType) {
    DMBase* named = nullptr;
    ASSERT_EQ(app.CreateRegObj(&named, L"dmtooltipimpl", DMREG_ToolTip), DM_ECODE_OK);
    auto object = DMSmartPtrT<DMBase>::Adopt(named);
    EXPECT_STREQ(object->GetClassName(), L"DMTooltipImpl");
    EXPECT_TRUE(object->IsClass(L"IDMToolTip"));
    EXPECT_EQ(object->GetClassType(), DMREG_ToolTip);

    DMBase* byDefault = nullptr;
    ASSERT_EQ(app.CreateRegObj(&byDefault, nullptr, DMREG_ToolTip), DM_ECODE_OK);
    EXPECT_STREQ(DMSmartPtrT<DMBase>::Adopt(byDefault)->GetClassName(), L"DMTooltipImpl");
    DMBase* kept = nullptr;
    EXPECT_EQ(app.GetDefRegObj(&kept, DMREG_ToolTip), DM_ECODE_FAIL) << "no live default object";
}

TEST_F(Tooltip, ShowsBelowThePointerAfterTheDelaySizedToItsText) {
    Target(L"下载游戏客户端");
    MoveTo(150, 150);
    Wait(499);
    EXPECT_FALSE(TipShown());
    Wait(1);
    ASSERT_TRUE(TipShown());
    SIZE text = TextSize(L"下载游戏客户端");
    RECT bounds = TipBounds();
    EXPECT_EQ(bounds.left, 150);
    EXPECT_EQ(bounds.top, 174);
    EXPECT_EQ(bounds.right - bounds.left, text.cx + 10);
    EXPECT_EQ(bounds.bottom - bounds.top, text.cy + 10);
    EXPECT_NE(plat::GetActiveWindow(), TipWindow()) << "shown without activation";

    Wait(4999);
    EXPECT_TRUE(TipShown());
    Wait(1);
    EXPECT_FALSE(TipShown()) << "the span ended";
}

TEST_F(Tooltip, TheDelayRunsWhileThePointerRestsInsideTheTarget) {
    Target(L"tip");
    MoveTo(150, 150);
    Wait(300);
    MoveTo(160, 170);
    Wait(300);
    EXPECT_FALSE(TipShown()) << "the move started the delay again";
    Wait(200);
    ASSERT_TRUE(TipShown());
    EXPECT_EQ(TipBounds().left, 160);
    EXPECT_EQ(TipBounds().top, 194);

    tip->Hide();
    MoveTo(150, 150);
    Wait(300);
    MoveTo(400, 400);
    Wait(500);
    EXPECT_FALSE(TipShown()) << "leaving the target stopped the delay";

    Target(L"");
    MoveTo(150, 150);
    Wait(1000);
    EXPECT_FALSE(TipShown()) << "an empty text shows nothing";
}

TEST_F(Tooltip, PointerLeavingAndButtonsHideTheTip) {
    struct Case {
        const char* name;
        std::function<void()> act;
        bool shownAfter;
    };
    const Case cases[] = {
        {"move inside", [this] { MoveTo(200, 180); }, true},
        {"move outside", [this] { MoveTo(300, 150); }, false},
        {"left press", [] { plat::headless::PressButton(); }, false},
        {"right press", [] { plat::headless::PressButton(plat::MouseButton::Right); }, false},
        {"non-client press",
         [this] { plat::PostMessageW(host.m_hWnd, plat::WM_NCLBUTTONDOWN, 2, 0); }, false},
        {"pointer left the host",
         [this] { plat::PostMessageW(host.m_hWnd, plat::WM_MOUSELEAVE, 0, 0); }, false},
        {"another target",
         [this] {
             Target(L"tip", {0, 0, 50, 50});
         },
         false},
    };
    for (const Case& c : cases) {
        ShowTip(L"tip");
        ASSERT_TRUE(TipShown()) << c.name;
        c.act();
        Pump();
        EXPECT_EQ(TipShown(), c.shownAfter) << c.name;
        plat::headless::ReleaseButton();
        plat::headless::ReleaseButton(plat::MouseButton::Right);
        tip->Hide();
        Pump();
    }
}

TEST_F(Tooltip, StaysInsideTheWorkAreaNearTheScreensCorner) {
    RECT corner{1700, 950, 1920, 1040};
    Target(L"右下角的提示文字", corner);
    MoveTo(1910, 1030);
    Wait(500);
    ASSERT_TRUE(TipShown());
    RECT bounds = TipBounds();
    SIZE text = TextSize(L"右下角的提示文字");
    EXPECT_EQ(bounds.right, plat::headless::kScreenWidth);
    EXPECT_EQ(bounds.bottom, plat::headless::kScreenHeight - plat::headless::kTaskBarHeight);
    EXPECT_EQ(bounds.right - bounds.left, text.cx + 10);
}

TEST_F(Tooltip, EscapedLineBreaksStartASecondLine) {
    ShowTip(L"第一行");
    RECT oneLine = TipBounds();
    tip->Hide();
    ShowTip(L"第一行\\r\\n第二行");
    RECT twoLines = TipBounds();
    EXPECT_EQ(twoLines.right - twoLines.left, oneLine.right - oneLine.left)
        << "the escape is not shown as text";
    EXPECT_GT(twoLines.bottom - twoLines.top, oneLine.bottom - oneLine.top);
    EXPECT_EQ(twoLines.bottom - twoLines.top, TextSize(L"第一行\r\n第二行").cy + 10);
}

TEST_F(Tooltip, PaintsTheTextOnTheInfoBackgroundInAFrame) {
    ShowTip(L"下载");
    std::optional<plat::headless::Picture> picture = plat::headless::PresentedPicture(TipWindow());
    ASSERT_TRUE(picture);
    RECT bounds = TipBounds();
    ASSERT_EQ(picture->width, bounds.right - bounds.left);
    for (POINT edge : {POINT{0, 0}, POINT{picture->width - 1, picture->height / 2},
                       POINT{picture->width / 2, picture->height - 1}}) {
        EXPECT_EQ(picture->At(edge.x, edge.y), kFrame) << edge.x << "," << edge.y;
    }
    EXPECT_EQ(picture->At(1, 1), kInfoBackground);
    EXPECT_EQ(picture->At(3, picture->height - 3), kInfoBackground);
    int inked = 0;
    for (LONG y = 5; y < picture->height - 5; ++y) {
        for (LONG x = 5; x < picture->width - 5; ++x) {
            inked += picture->At(x, y) != kInfoBackground;
        }
    }
    EXPECT_GT(inked, 10) << "the text is drawn inside the inset";
}

TEST_F(Tooltip, DestroyingTheTipWindowEndsItAndAnUpdateMakesANewOne) {
    ShowTip(L"tip");
    HWND first = TipWindow();
    EXPECT_EQ(tip->DestroyTipWnd(), DM_ECODE_OK);
    EXPECT_FALSE(plat::IsWindow(first));
    EXPECT_EQ(tip->Hide(), DM_ECODE_FAIL) << "nothing left to hide";

    ShowTip(L"tip", 170, 170);
    EXPECT_TRUE(TipShown());
}

}  // namespace
