// The scroll-bar base in a host window on the headless driver: which bars a content size
// shows, the parts of a bar, the arrows' auto-repeat, the thumb drag and the wheel.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "DMApp.h"
#include "DMHWnd.h"
#include "DMRectHelpers.h"
#include "DUIScrollBase.h"
#include "MessagePump.h"
#include "PictureWriter.h"
#include "TempDir.h"
#include "plat/drive_map.h"
#include "plat/headless.h"
#include "plat/messages.h"
#include "plat/show_commands.h"

using namespace DM;

namespace {

constexpr LONG kWindowX = 300;
constexpr LONG kWindowY = 200;

// A 100 × 100 list at 10,10 and a 100 × 40 one below it, in a window away from the screen's
// corner.
constexpr const char* kLayout = R"xml(<dm initsize="200,200">
  <root>
    <ScrollBase name="list" pos="10,10,@100,@100" sbwidth="16"/>
    <ScrollBase name="short" pos="10,120,@100,@40" sbwidth="16"/>
  </root>
</dm>)xml";

// A scroll-bar picture: nine 16-pixel cells wide, one row per state.
std::string ScrollBarPicture() {
    std::vector<vael::test::Rgba> pixels(144 * 64, vael::test::Rgba{0x80, 0x80, 0x80, 0xFF});
    return vael::test::WritePng(144, 64, pixels);
}

class ScrollBase : public ::testing::Test {
protected:
    void SetUp() override {
        plat::headless::Use();
        vael::test::WriteFile(folder.path() / "layout/scroll.xml", kLayout);
        vael::test::WriteFile(folder.path() / "layout/dmindex.xml",
                              "<resource><layout><file name=\"scroll\" "
                              "path=\"layout\\scroll.xml\"/></layout></resource>");
        vael::test::WriteFile(folder.path() / "themes/dmindex.xml", "<resource/>");
        std::wstring root = plat::WindowsPathFromHostW(folder.path());
        ASSERT_EQ(app.LoadResPack(reinterpret_cast<WPARAM>(root.c_str()), 0, nullptr), DM_ECODE_OK);
        IDMSkin* made = nullptr;
        ASSERT_EQ(app.CreateRegObj(reinterpret_cast<DMBase**>(&made), L"scrollbar", DMREG_Skin),
                  DM_ECODE_OK);
        skin.Attach(made);
        std::string png = ScrollBarPicture();
        skin->SetBitmap(reinterpret_cast<const BYTE*>(png.data()), png.size(), L"png");
        host.Attach(new DMHWnd);
        host->DM_CreateWindow(L"scroll", kWindowX, kWindowY);
        host->ShowWindow(plat::SW_SHOW);
        Pump();
    }
    void TearDown() override {
        host->DestroyWindow();
        plat::headless::StopVirtualClock();
    }

    void Pump() { vael::test::PumpMessages(); }
    // A scroll base with the skin and a content size.
    DUIScrollBase* List(const wchar_t* name, SIZE range) {
        auto* list = static_cast<DUIScrollBase*>(host->FindChildByName(name));
        list->m_pSbSkin = skin;
        list->SetRangeSize(range);
        return list;
    }
    // Moves the pointer to a point of the host's client area.
    void MoveTo(POINT point) {
        plat::headless::MoveMouse(kWindowX + point.x, kWindowY + point.y);
        Pump();
    }
    static POINT Centre(const RECT& rect) {
        return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    }
    void Wait(DWORD milliseconds) {
        plat::headless::AdvanceClock(milliseconds);
        Pump();
    }

    vael::test::TempDir folder;
    DMApp app;
    DMSmartPtrT<IDMSkin> skin;
    DMSmartPtrT<DMHWnd> host;
};

// Records the scroll events of a widget as (code, vertical).
struct ScrollRecorder {
    DMCode On(DMEventArgs* event) {
        auto* scroll = static_cast<DMEventOnScrollArgs*>(event);
        seen.emplace_back(scroll->m_iSbCode, scroll->m_bVert);
        return DM_ECODE_OK;
    }
    int Count(int code) const {
        int count = 0;
        for (const auto& [seenCode, vertical] : seen) {
            count += seenCode == code && vertical;
        }
        return count;
    }
    std::vector<std::pair<int, bool>> seen;
};

TEST_F(ScrollBase, TheContentSizeDecidesWhichBarsShow) {
    struct Case {
        SIZE range;
        int bars;
        RECT client;
    };
    const Case cases[] = {
        {{80, 80}, 0, {10, 10, 110, 110}},
        {{80, 150}, DMSB_VERT, {10, 10, 94, 110}},
        {{90, 150}, DMSB_BOTH, {10, 10, 94, 94}},
        {{150, 80}, DMSB_HORZ, {10, 10, 110, 94}},
    };
    DUIScrollBase* list = List(L"list", {300, 300});
    list->SetScrollPos(true, 50, false);
    EXPECT_EQ(list->m_ptCurPos.y, 50);
    for (const Case& c : cases) {
        list->SetRangeSize(c.range);
        RECT client{};
        list->GetClientRect(client);
        EXPECT_EQ(list->m_wBarVisible, c.bars) << c.range.cx << "x" << c.range.cy;
        EXPECT_TRUE(EqualRects(client, c.client)) << c.range.cx << "x" << c.range.cy;
    }
    list->SetRangeSize({80, 80});
    EXPECT_EQ(list->GetScrollPos(true), 0) << "content that fits scrolls back to the start";
    EXPECT_EQ(list->m_ptCurPos.y, 0);
}

TEST_F(ScrollBase, AShortRailOrAFullPageHasNoThumb) {
    DUIScrollBase* shortList = List(L"short", {80, 400});
    EXPECT_TRUE(IsEmptyRect(shortList->GetSbPartRect(true, SB_THUMB_PART, true)))
        << "a rail of 8 pixels is below the minimum thumb";
    RECT before = shortList->GetSbPartRect(true, SB_PAGEUP_PART, true);
    RECT after = shortList->GetSbPartRect(true, SB_PAGEDOWN_PART, true);
    EXPECT_EQ(before.top, 120 + 16);
    EXPECT_EQ(before.bottom, after.top) << "the page parts split the rail in halves";
    EXPECT_EQ(after.bottom - after.top, 4);

    DUIScrollBase* list = List(L"list", {80, 1000});
    EXPECT_EQ(list->GetSbPartRect(true, SB_THUMB_PART, true).bottom -
                  list->GetSbPartRect(true, SB_THUMB_PART, true).top,
              18)
        << "a thumb smaller than the minimum grows to it";
    list->SetScrollRange(true, 0, 99, true);
    EXPECT_TRUE(IsEmptyRect(list->GetSbPartRect(true, SB_THUMB_PART, true)))
        << "a page of 100 covers the range 0..99";
}

TEST_F(ScrollBase, AHeldArrowRepeatsAfterHalfASecondEvery50Milliseconds) {
    plat::headless::StartVirtualClock();
    DUIScrollBase* list = List(L"list", {80, 1000});
    ScrollRecorder recorder;
    list->GetEventMgr().SubscribeEvent(DMEventOnScrollArgs::EventID,
                                       Subscriber(&ScrollRecorder::On, &recorder));
    RECT down = list->GetSbPartRect(true, SB_LINEDOWN_PART, true);
    MoveTo(Centre(down));
    plat::headless::PressButton();
    Pump();
    EXPECT_EQ(recorder.Count(SB_LINEDOWN_PART), 1) << "the press scrolls once";
    EXPECT_EQ(list->GetScrollPos(true), 10);
    Wait(499);
    EXPECT_EQ(recorder.Count(SB_LINEDOWN_PART), 1);
    Wait(1);
    EXPECT_EQ(recorder.Count(SB_LINEDOWN_PART), 2);
    Wait(50);
    EXPECT_EQ(recorder.Count(SB_LINEDOWN_PART), 3);
    MoveTo({150, 150});
    Wait(50);
    EXPECT_EQ(recorder.Count(SB_LINEDOWN_PART), 4) << "off the arrow, still held";
    plat::headless::ReleaseButton();
    Pump();
    Wait(500);
    EXPECT_EQ(recorder.Count(SB_LINEDOWN_PART), 4) << "the release stops the repetition";
    EXPECT_EQ(host->OnGetCapture(), 0u) << "released away from the bar";
    EXPECT_EQ(list->GetScrollPos(true), 40);
}

TEST_F(ScrollBase, DraggingTheThumbTracksAndSetsThePosition) {
    DUIScrollBase* list = List(L"list", {80, 1000});
    ScrollRecorder recorder;
    list->GetEventMgr().SubscribeEvent(DMEventOnScrollArgs::EventID,
                                       Subscriber(&ScrollRecorder::On, &recorder));
    POINT thumb = Centre(list->GetSbPartRect(true, SB_THUMB_PART, true));
    MoveTo(thumb);
    plat::headless::PressButton();
    Pump();
    EXPECT_TRUE(list->m_bDragging);
    MoveTo({thumb.x + 30, thumb.y + 10});
    // A rail of 68 with a thumb of 18 moves 900 positions over 50 pixels: 18 per pixel.
    EXPECT_EQ(std::as_const(*list).Info(true).nTrackPos, 180);
    EXPECT_EQ(recorder.Count(SB_CODE_TRACK), 1);
    plat::headless::ReleaseButton();
    Pump();
    EXPECT_FALSE(list->m_bDragging);
    EXPECT_EQ(list->GetScrollPos(true), 180);
    EXPECT_EQ(std::as_const(*list).Info(true).nTrackPos, -1);
    EXPECT_EQ(recorder.Count(SB_CODE_SETPOS), 1);
}

TEST_F(ScrollBase, TheWheelStepsWholeNotchesOverTheWidgetUnderThePointer) {
    DUIScrollBase* list = List(L"list", {80, 1000});
    list->SetScrollPos(true, 50, false);
    MoveTo({50, 50});
    plat::headless::TurnWheel(240);
    Pump();
    EXPECT_EQ(list->GetScrollPos(true), 30) << "two line steps up";
    plat::headless::TurnWheel(60);
    Pump();
    EXPECT_EQ(list->GetScrollPos(true), 30) << "half a notch is no step";
    plat::headless::TurnWheel(-120);
    Pump();
    EXPECT_EQ(list->GetScrollPos(true), 40);
    list->SetAttribute(L"bnowheelscroll", L"1", false);
    plat::headless::TurnWheel(-120);
    Pump();
    EXPECT_EQ(list->GetScrollPos(true), 40);
}

TEST_F(ScrollBase, TheBarsArePaintedThroughTheSkin) {
    DUIScrollBase* list = List(L"list", {80, 1000});
    host->OnUpdateWindow();
    Pump();
    auto picture = plat::headless::PresentedPicture(host->m_hWnd);
    ASSERT_TRUE(picture);
    RECT bar = list->GetSbRect(true);
    EXPECT_EQ(picture->At(bar.left + 8, bar.top + 50), 0xFF808080u);
    EXPECT_NE(picture->At(bar.left - 8, bar.top + 50), 0xFF808080u) << "the client area";
}

}  // namespace
