// The widget base under a stand-in container: building from XML, the position grammar and
// its passes, visibility, hit-testing and the click.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "Core/DUITimer.h"
#include "DMApp.h"
#include "DMCWnd.h"
#include "DMSmartPtrT.h"
#include "DMXml.h"
#include "DUIAccel.h"
#include "DUIButton.h"
#include "DUIFocusMgr.h"
#include "DUIWindow.h"
#include "IDMDraw.h"
#include "Modules/Render/DMRenderImpl.h"
#include "StandInContainer.h"
#include "plat/headless.h"
#include "plat/message_queue.h"
#include "plat/messages.h"
#include "plat/window_styles.h"

using namespace DM;

namespace {

// Records what the widgets ask of their host; the host window itself only records the system
// commands it gets.
class HostWnd : public DMCWnd {
public:
    DM_BEGIN_MSG_MAP(HostWnd)
    DM_MESSAGE_HANDLER(plat::WM_SYSCOMMAND, OnSysCommand)
    DM_END_MSG_MAP()
    LRESULT OnSysCommand(UINT, WPARAM wParam, LPARAM) {
        commands.push_back(wParam);
        return 0;
    }
    std::vector<WPARAM> commands;
};

class Widgets : public ::testing::Test {
protected:
    void SetUp() override {
        plat::headless::Use();
        container.host =
            hostWindow.CreateWindowEx(plat::MAKEINTATOM(app.GetClassAtom()), L"host",
                                      plat::WS_POPUP, 0, 0, 0, 675, 437, nullptr, nullptr);
        root.Attach(new DUIWindow);
        root->SetContainer(&container);
    }
    void TearDown() override {
        root->SendMessage(plat::WM_DESTROY);
        hostWindow.DestroyWindow();
    }

    // Builds the children of `xml`'s root element under the root widget and lays them out in
    // 675 × 437.
    DMCode Build(const std::string& xml) {
        EXPECT_TRUE(document.LoadFromBuffer(xml.data(), xml.size()));
        DMXmlNode node = document.Root();
        root->CreateChildren(node);
        root->SetWndRect({0, 0, 675, 437});
        return root->UpdateChildLayout();
    }
    RECT RectOf(const wchar_t* name) { return root->FindChildByName(name)->m_rcWindow; }
    LPARAM Point(int x, int y) { return static_cast<LPARAM>(x | y << 16); }

    DMApp app;
    HostWnd hostWindow;
    vael::test::StandInContainer container;
    DMSmartPtrT<DUIWindow> root;
    DMXmlDocument document;
};

TEST_F(Widgets, PositionGrammar) {
    struct {
        const char* pos;
        RECT expected;
    } cases[] = {
        {"0,0,-0,-0", {0, 0, 675, 437}},         {"0,0,-1,-1", {0, 0, 674, 436}},
        {"641,82,@24,@24", {641, 82, 665, 106}}, {"|-50,0,|50,@20", {287, 0, 387, 20}},
        {"%50,10,-0,@10", {337, 10, 675, 20}},   {"%150,0,-0,@10", {675, 0, 675, 10}},
        {"0,0,800,500", {0, 0, 675, 437}},       {"-100,-50,-0,-0", {575, 387, 675, 437}},
    };
    std::string xml = "<dm>";
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        xml += "<window name=\"w" + std::to_string(i) + "\" pos=\"" + cases[i].pos + "\"/>";
    }
    EXPECT_EQ(Build(xml + "</dm>"), DM_ECODE_OK);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        RECT rect = RectOf((L"w" + std::to_wstring(i)).c_str());
        EXPECT_EQ(rect.left, cases[i].expected.left) << cases[i].pos;
        EXPECT_EQ(rect.top, cases[i].expected.top) << cases[i].pos;
        EXPECT_EQ(rect.right, cases[i].expected.right) << cases[i].pos;
        EXPECT_EQ(rect.bottom, cases[i].expected.bottom) << cases[i].pos;
    }
}

// Offsets far beyond any screen are taken as ten million pixels.
TEST_F(Widgets, HugeOffsetsStayInTheCoordinateRange) {
    EXPECT_EQ(Build("<dm><window name=\"far\" pos=\"1e30,%1e30,-1e30,nan\"/></dm>"), DM_ECODE_OK);
    RECT rect = RectOf(L"far");
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.right, 675) << "ten million to the left of the right edge, swapped, clipped";
    EXPECT_EQ(rect.top, 0);
    EXPECT_EQ(rect.bottom, 437) << "the whole height from the bottom edge, swapped";
}

TEST_F(Widgets, InvalidPositionsAreRefused) {
    DUIWindow* widget = new DUIWindow;
    root->InsertChild(widget);
    EXPECT_EQ(widget->SetAttribute(L"pos", L"@5,0,10,10", true), DMATTR_FAIL);
    EXPECT_EQ(widget->SetAttribute(L"pos", L"1,2,3", true), DMATTR_FAIL);
    EXPECT_EQ(widget->SetAttribute(L"pos", L"1,2,@3,@4", true), DMATTR_OK);
}

// Set by code, an invalid position keeps the widget where its last valid one put it.
TEST_F(Widgets, AnInvalidPositionKeepsThePreviousOne) {
    Build("<dm><window name=\"w\" pos=\"10,20,@30,@40\"/></dm>");
    DUIWindow* widget = root->FindChildByName(L"w");
    EXPECT_NE(widget->SetAttribute(L"pos", L"@5,0,10,10", false), DM_ECODE_OK);
    EXPECT_NE(widget->SetAttribute(L"pos", L"1,2,3", false), DM_ECODE_OK);
    root->UpdateChildLayout();
    RECT rect = RectOf(L"w");
    EXPECT_EQ(rect.left, 10);
    EXPECT_EQ(rect.top, 20);
    EXPECT_EQ(rect.right, 40);
    EXPECT_EQ(rect.bottom, 60);
}

// A widget without siblings and without a parent takes the given area for its siblings' edges.
TEST_F(Widgets, SiblingReferencesWithoutSiblingOrParent) {
    auto alone = DMSmartPtrT<DUIWindow>::Adopt(new DUIWindow);
    alone->SetAttribute(L"pos", L"[5,]5,@10,@10", true);
    RECT area{0, 0, 100, 50};
    EXPECT_EQ(alone->SendMessage(plat::WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&area)),
              DM_ECODE_OK);
    EXPECT_TRUE(alone->IsLaidOut());
    EXPECT_EQ(alone->m_rcWindow.right - alone->m_rcWindow.left, 10);
}

TEST_F(Widgets, LaterSiblingsResolveInALaterPassAndCirclesNever) {
    EXPECT_EQ(Build("<dm><window name=\"before\" pos=\"]-30,0,@10,@10\"/>"
                    "<window name=\"after\" pos=\"100,0,@20,@20\"/></dm>"),
              DM_ECODE_OK);
    EXPECT_EQ(RectOf(L"before").left, 70);
    EXPECT_EQ(RectOf(L"before").right, 80);

    EXPECT_EQ(Build("<dm><window name=\"a\" pos=\"]0,0,@10,@10\"/>"
                    "<window name=\"b\" pos=\"[0,0,@10,@10\"/></dm>"),
              DM_ECODE_FAIL);
    EXPECT_FALSE(root->FindChildByName(L"a")->IsLaidOut());
}

TEST_F(Widgets, AHiddenParentKeepsItsChildrenHidden) {
    Build(
        "<dm><window name=\"parent\" pos=\"0,0,100,100\" bvisible=\"0\">"
        "<window name=\"child\" pos=\"0,0,10,10\"/></window></dm>");
    DUIWindow* parent = root->FindChildByName(L"parent");
    DUIWindow* child = root->FindChildByName(L"child");
    EXPECT_FALSE(child->IsVisible(true));
    EXPECT_TRUE(child->IsVisible(false));
    parent->SetVisible(true);
    EXPECT_TRUE(child->IsVisible(true));
    child->SetVisible(false);
    parent->SetVisible(false);
    parent->SetVisible(true);
    EXPECT_FALSE(child->IsVisible(true)) << "its own flag keeps it hidden";
}

TEST_F(Widgets, ClicksAndHitTests) {
    Build(
        "<dm><window name=\"back\" pos=\"0,0,-0,-0\"/>"
        "<window name=\"button\" pos=\"10,10,@50,@20\"/>"
        "<window name=\"glass\" pos=\"0,0,100,100\" bmsgnohandle=\"1\"/>"
        "<window pos=\"200,200,@20,@20\"/>"
        "<window name=\"drag\" pos=\"300,300,@20,@20\" bdrag=\"1\"/></dm>");
    DUIWindow* button = root->FindChildByName(L"button");
    EXPECT_EQ(root->HitTestPoint({20, 20}), button->GetDUIWnd()) << "through the glass";
    EXPECT_EQ(root->HitTestPoint({20, 20}, true), root->FindChildByName(L"glass")->GetDUIWnd());

    button->SendMessage(plat::WM_LBUTTONDOWN, 0, Point(20, 20));
    EXPECT_EQ(container.OnGetCapture(), button->GetDUIWnd());
    EXPECT_TRUE(button->GetState() & DUIWNDSTATE_PushDown);
    button->SendMessage(plat::WM_LBUTTONUP, 0, Point(20, 20));
    EXPECT_EQ(container.OnGetCapture(), 0u);
    EXPECT_EQ(container.events, (std::vector<DMStringT>{L"DMEVT_CMD:button"}));

    button->SendMessage(plat::WM_LBUTTONDOWN, 0, Point(20, 20));
    button->SendMessage(plat::WM_LBUTTONUP, 0, Point(400, 400));
    EXPECT_EQ(container.events.size(), 1u) << "released outside";

    DUIWindow* anonymous = root->GetWindow(GDW_LASTCHILD)->GetWindow(GDW_PREVSIBLING);
    anonymous->SendMessage(plat::WM_LBUTTONDOWN, 0, Point(205, 205));
    anonymous->SendMessage(plat::WM_LBUTTONUP, 0, Point(205, 205));
    EXPECT_EQ(container.events.size(), 1u) << "neither id nor name";

    DUIWindow* drag = root->FindChildByName(L"drag");
    drag->SendMessage(plat::WM_LBUTTONDOWN, 0, Point(305, 305));
    EXPECT_EQ(hostWindow.commands, (std::vector<WPARAM>{0xF012}));
    EXPECT_EQ(container.OnGetCapture(), 0u);
}

TEST_F(Widgets, RowLayoutSharesWhatRemainsAndClosesGaps) {
    Build(
        "<dm><HLayout name=\"row\" pos=\"0,0,@105,@20\">"
        "<window name=\"fixed\" width=\"100\" bplaceholder=\"0\"/>"
        "<window name=\"a\"/><window name=\"b\"/></HLayout></dm>");
    EXPECT_EQ(RectOf(L"fixed").right - RectOf(L"fixed").left, 100);
    EXPECT_EQ(RectOf(L"a").right - RectOf(L"a").left, 2);
    EXPECT_EQ(RectOf(L"b").left, 102);
    EXPECT_EQ(RectOf(L"b").right, 105) << "the last elastic child takes the remainder";
    EXPECT_EQ(RectOf(L"a").bottom - RectOf(L"a").top, 20);

    root->FindChildByName(L"fixed")->SetVisible(false);
    EXPECT_EQ(RectOf(L"a").left, 0) << "a hidden child that keeps no place leaves no gap";
    EXPECT_EQ(RectOf(L"a").right, 52);
    EXPECT_EQ(RectOf(L"b").right, 105);
}

TEST_F(Widgets, ADisabledWidgetFiresNothing) {
    Build("<dm><Button name=\"download\" pos=\"0,0,@50,@20\" bdisable=\"1\"/></dm>");
    DUIWindow* button = root->FindChildByName(L"download");
    EXPECT_TRUE(button->IsDisabled(true));
    int state = -1;
    button->GetStateIndex(state);
    EXPECT_EQ(state, 3);
    button->SendMessage(plat::WM_LBUTTONDOWN, 0, Point(5, 5));
    button->SendMessage(plat::WM_LBUTTONUP, 0, Point(5, 5));
    EXPECT_TRUE(container.events.empty());
    button->EnableWindow(true);
    button->SendMessage(plat::WM_LBUTTONDOWN, 0, Point(5, 5));
    button->SendMessage(plat::WM_LBUTTONUP, 0, Point(5, 5));
    button->SendMessage(plat::WM_LBUTTONDBLCLK, 0, Point(5, 5));
    button->SendMessage(plat::WM_LBUTTONUP, 0, Point(5, 5));
    EXPECT_EQ(container.events.size(), 2u) << "a double click clicks twice";
}

TEST_F(Widgets, UnknownElementsAreSkippedAndEventsReachSubscribersFirst) {
    Build("<dm><nosuchwidget name=\"x\"/><window name=\"after\" pos=\"0,0,10,10\"/></dm>");
    EXPECT_EQ(root->GetChildCount(), 1);
    DUIWindow* after = root->FindChildByName(L"AFTER");
    ASSERT_NE(after, nullptr);
    struct Listener {
        DMCode OnCmd(DMEventArgs*) { return DM_ECODE_OK; }
    } listener;
    after->GetEventMgr().SubscribeEvent(DMEventCmdArgs::EventID,
                                        Subscriber(&Listener::OnCmd, &listener));
    DMEventCmdArgs click(after);
    EXPECT_EQ(after->FireEvent(click), DM_ECODE_OK);
    EXPECT_TRUE(container.events.empty()) << "a subscriber took it";
}

// Every widget of the tree is offered a broadcast event, whatever its subscribers answer.
TEST_F(Widgets, BroadcastReachesEveryWidgetOfTheTree) {
    Build(
        "<dm><window name=\"a\" pos=\"0,0,100,100\"><window name=\"a1\" pos=\"0,0,10,10\"/>"
        "</window><window name=\"b\" pos=\"0,0,10,10\"/></dm>");
    struct Listener {
        DMCode Handle(DMEventArgs*) {
            ++calls;
            return DM_ECODE_OK;
        }
        DMCode Pass(DMEventArgs*) {
            ++calls;
            return DM_ECODE_FAIL;
        }
        int calls = 0;
    } handler, passer;
    root->FindChildByName(L"a1")->GetEventMgr().SubscribeEvent(
        DMEventCmdArgs::EventID, Subscriber(&Listener::Handle, &handler));
    root->FindChildByName(L"b")->GetEventMgr().SubscribeEvent(DMEventCmdArgs::EventID,
                                                              Subscriber(&Listener::Pass, &passer));
    DMEventCmdArgs event(root.get());
    EXPECT_EQ(root->BroadcastEvent(event), DM_ECODE_OK);
    EXPECT_EQ(handler.calls, 1);
    EXPECT_EQ(passer.calls, 1);
    EXPECT_EQ(event.m_iHandleCount, 1);

    DMEventCmdArgs unhandled(root.get());
    EXPECT_EQ(root->FindChildByName(L"b")->BroadcastEvent(unhandled), DM_ECODE_FAIL);
    DMEventCmdArgs noSender(nullptr);
    EXPECT_EQ(root->BroadcastEvent(noSender), DM_ECODE_FAIL);
    EXPECT_EQ(passer.calls, 2);
}

// Serves "sub" inclusions instead of the resource pack, and records what it was asked.
struct SubLayouts {
    static DMCode Load(const wchar_t* type, const wchar_t* name, DMXmlDocument& document) {
        asked.push_back(DMStringT(type) + L":" + name);
        std::string xml = DMStringT(name) == L"part"
                              ? "<sub><window name=\"included\" pos=\"0,0,@10,@10\"/></sub>"
                              : "<notsub><window name=\"refused\"/></notsub>";
        return document.LoadFromBuffer(xml.data(), xml.size()) ? DM_ECODE_OK : DM_ECODE_FAIL;
    }
    static inline std::vector<DMStringT> asked;
};

TEST_F(Widgets, InclusionsComeFromTheCustomLayoutLoader) {
    app.SetCustomLayoutLoader(&SubLayouts::Load);
    Build("<dm><sub src=\"part\"/><SUB src=\"custom:other\"/><sub src=\"a:b:missing\"/></dm>");
    app.SetCustomLayoutLoader(nullptr);
    EXPECT_NE(root->FindChildByName(L"included"), nullptr);
    EXPECT_EQ(root->FindChildByName(L"refused"), nullptr) << "the root must be named sub";
    EXPECT_EQ(SubLayouts::asked,
              (std::vector<DMStringT>{L"layout:part", L"custom:other", L"a:b:missing"}));
}

// Counts the paints it gets.
class PaintCounter : public DUIWindow {
    DMDECLARE_CLASS_NAME(PaintCounter, DUIWindow, L"counter", L"window", DMREG_Window)
public:
    bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam,
                              LRESULT& result) override {
        if (message == plat::WM_PAINT) {
            ++paints;
        }
        return DUIWindow::ProcessWindowMessage(message, wParam, lParam, result);
    }
    int paints = 0;
};

TEST_F(Widgets, TheDrawObjectPaintsOnlyTheInvalidArea) {
    app.Register(DMRegHelperT<PaintCounter>());
    Build(
        "<dm><counter name=\"left\" pos=\"0,0,@100,@100\"/>"
        "<counter name=\"right\" pos=\"200,0,@100,@100\"/>"
        "<window name=\"hidden\" pos=\"0,200,@100,@100\" bvisible=\"0\">"
        "<counter name=\"inside\" pos=\"0,0,-0,-0\"/></window></dm>");
    IDMDraw* created = nullptr;
    ASSERT_EQ(app.CreateRegObj(&created, nullptr, DMREG_Draw), DM_ECODE_OK);
    auto draw = DMSmartPtrT<IDMDraw>::Adopt(created);
    draw->ResizeCanvas(675, 437);

    RECT outer{0, 0, 150, 150};
    RECT inner{10, 10, 20, 20};
    draw->InvalidateRect(&outer, RGN_OR);
    draw->InvalidateRect(&inner, RGN_OR);
    std::vector<RECT> rects;
    EXPECT_EQ(draw->GetInvalidateRects(rects), 1) << "one rectangle holds the other";
    EXPECT_EQ(draw->Render(root.get()), DM_ECODE_OK);
    auto* left = static_cast<PaintCounter*>(root->FindChildByName(L"left"));
    auto* right = static_cast<PaintCounter*>(root->FindChildByName(L"right"));
    auto* inside = static_cast<PaintCounter*>(root->FindChildByName(L"inside"));
    EXPECT_EQ(left->paints, 1);
    EXPECT_EQ(right->paints, 0) << "outside the invalid area";
    EXPECT_FALSE(draw->IsNeedRender());

    RECT first{0, 0, 10, 10};
    RECT second{250, 50, 260, 60};
    draw->InvalidateRect(&first, RGN_OR);
    draw->InvalidateRect(&second, RGN_OR);
    EXPECT_EQ(draw->GetInvalidateRects(rects), 2) << "disjoint rectangles make a region";
    draw->Render(root.get());
    EXPECT_EQ(left->paints, 2);
    EXPECT_EQ(right->paints, 1);

    draw->InvalidateRect(nullptr, RGN_COPY);
    draw->Render(root.get());
    EXPECT_EQ(inside->paints, 0) << "a hidden parent's children are not painted";
}

// A widget that hangs over the right and bottom edges of the canvas repaints only the part
// inside the canvas.
TEST_F(Widgets, AWidgetOverTheCanvasEdgeRepaintsInsideTheCanvas) {
    app.Register(DMRegHelperT<PaintCounter>());
    Build(
        "<dm><counter name=\"over\" clrbg=\"pbgra(00,00,ff,ff)\" "
        "pos=\"150,50,@100,@100\"/></dm>");
    IDMDraw* created = nullptr;
    ASSERT_EQ(app.CreateRegObj(&created, nullptr, DMREG_Draw), DM_ECODE_OK);
    auto draw = DMSmartPtrT<IDMDraw>::Adopt(created);
    draw->ResizeCanvas(200, 100);

    RECT over = RectOf(L"over");
    ASSERT_EQ(draw->InvalidateRect(&over, RGN_OR), DM_ECODE_OK);
    std::vector<RECT> rects;
    ASSERT_EQ(draw->GetInvalidateRects(rects), 1);
    EXPECT_EQ(rects[0].right, 200);
    EXPECT_EQ(rects[0].bottom, 100);
    EXPECT_EQ(draw->Render(root.get()), DM_ECODE_OK);
    EXPECT_EQ(static_cast<PaintCounter*>(root->FindChildByName(L"over"))->paints, 1);

    RECT beyond{300, 300, 400, 400};
    EXPECT_EQ(draw->InvalidateRect(&beyond, RGN_OR), DM_ECODE_FAIL) << "wholly outside";
}

// A cached widget paints into its cache once; later renders copy the cache until the widget
// itself is invalidated.
TEST_F(Widgets, ACachedWidgetPaintsOnceAndThenCopies) {
    app.Register(DMRegHelperT<PaintCounter>());
    Build(
        "<dm><counter name=\"cached\" bcache=\"1\" clrbg=\"pbgra(00,00,ff,ff)\" "
        "pos=\"0,0,@100,@100\"/></dm>");
    IDMDraw* created = nullptr;
    ASSERT_EQ(app.CreateRegObj(&created, nullptr, DMREG_Draw), DM_ECODE_OK);
    auto draw = DMSmartPtrT<IDMDraw>::Adopt(created);
    draw->ResizeCanvas(675, 437);
    auto* cached = static_cast<PaintCounter*>(root->FindChildByName(L"cached"));
    ASSERT_NE(cached->GetCacheCanvas(), nullptr);

    for (int render = 0; render < 3; ++render) {
        draw->InvalidateRect(nullptr, RGN_COPY);
        draw->Render(root.get());
    }
    EXPECT_EQ(cached->paints, 1);
    IDMCanvas* canvas = nullptr;
    draw->GetCanvas(&canvas);
    auto painted = DMSmartPtrT<IDMCanvas>::Adopt(canvas);
    IDMMetaFile* picture = nullptr;
    painted->GetObject(&picture, DMF_BITMAP);
    EXPECT_EQ(static_cast<IDMBitmap*>(picture)->GetPixel(50, 50), 0xFFFF0000u) << "copied";

    cached->Invalidate();
    draw->InvalidateRect(nullptr, RGN_COPY);
    draw->Render(root.get());
    EXPECT_EQ(cached->paints, 2);
}

// Without a host's canvas a zero-size stand-in is handed out; only one is out at a time.
TEST_F(Widgets, OneCanvasAtATime) {
    Build("<dm><window name=\"w\" pos=\"10,10,@50,@50\"/></dm>");
    DUIWindow* widget = root->FindChildByName(L"w");
    IDMCanvas* canvas = widget->GetCanvas(nullptr, 0);
    ASSERT_NE(canvas, nullptr);
    EXPECT_EQ(widget->GetCanvas(nullptr, 0), nullptr) << "a second one before the release";
    widget->ReleaseCanvas(canvas);
    IDMCanvas* again = widget->GetCanvas(nullptr, 0);
    EXPECT_NE(again, nullptr);
    widget->ReleaseCanvas(again);
}

TEST_F(Widgets, AButtonsAcceleratorClicksItUnlessDisabled) {
    Build("<dm><button name=\"save\" accel=\"ctrl+s\" pos=\"0,0,@50,@20\"/></dm>");
    DUIFocusMgr& focus = *container.OnGetFocusMgr();
    EXPECT_TRUE(focus.OnKeyDown('S', true, false, false));
    EXPECT_EQ(container.events, std::vector<DMStringT>{L"DMEVT_CMD:save"});
    DUIWindow* save = root->FindChildByName(L"save");
    save->EnableWindow(false);
    EXPECT_FALSE(focus.OnKeyDown('S', true, false, false));
    root->DestroyChild(save);
    EXPECT_FALSE(focus.OnKeyDown('S', true, false, false)) << "unregistered with the button";
    EXPECT_EQ(container.events.size(), 1u);
}

// The fade runs on the container's ticks, grows by 251 / "animatesteps" per step of at
// least 10 ms up to full alpha, and leaves the animations at the tick after that.
TEST_F(Widgets, HoverFadesAButtonInOverTheAnimationTicks) {
    plat::headless::StartVirtualClock();
    Build(
        "<dm><button name=\"fade\" banimate=\"1\" animatesteps=\"5\" "
        "pos=\"0,0,@50,@20\"/><button name=\"plain\" pos=\"0,30,@50,@20\"/></dm>");
    auto* fade = static_cast<DUIButton*>(root->FindChildByName(L"fade"));
    auto* plain = static_cast<DUIButton*>(root->FindChildByName(L"plain"));
    plain->ModifyState(DUIWNDSTATE_Hover, 0);
    EXPECT_FALSE(plain->IsAnimating()) << "without banimate";
    fade->ModifyState(DUIWNDSTATE_Hover, 0);
    ASSERT_TRUE(fade->IsAnimating());
    int ticks = 0;
    while (fade->IsAnimating() && ticks < 20) {
        plat::headless::AdvanceClock(10);
        container.OnTimeline();
        ++ticks;
    }
    EXPECT_EQ(ticks, 6) << "4 + 5 × 50 is 254; the sixth step stops at 255";
    int before = container.invalidations;
    container.OnTimeline();
    container.OnTimeline();
    EXPECT_EQ(container.invalidations, before + 1) << "removed after one last repaint";

    fade->ModifyState(0, DUIWNDSTATE_Hover);
    fade->ModifyState(DUIWNDSTATE_Hover, 0);
    ASSERT_TRUE(fade->IsAnimating());
    fade->ModifyState(DUIWNDSTATE_PushDown, 0);
    EXPECT_FALSE(fade->IsAnimating()) << "another state change ends the fade";
    plat::headless::StopVirtualClock();
}

TEST_F(Widgets, TipDescriptions) {
    Build(
        "<dm><window name=\"tipped\" tiptext=\"hello\" tipdelay=\"300\" "
        "pos=\"10,10,@50,@20\"/><window name=\"plain\" pos=\"10,40,@50,@20\"/>"
        "<processctrl name=\"bar\" bshowtip=\"1\" value=\"42\" pos=\"10,70,@50,@20\"/>"
        "</dm>");
    DMToolTipInfo info;
    EXPECT_EQ(root->FindChildByName(L"plain")->OnUpdateToolTip({}, info), DM_ECODE_FAIL);
    ASSERT_EQ(root->FindChildByName(L"tipped")->OnUpdateToolTip({}, info), DM_ECODE_OK);
    EXPECT_EQ(info.strTip, L"hello");
    EXPECT_EQ(info.iDelayTime, 300);
    EXPECT_EQ(info.rcTarget.left, 10);
    ASSERT_EQ(root->FindChildByName(L"bar")->OnUpdateToolTip({}, info), DM_ECODE_OK);
    EXPECT_EQ(info.strTip, L"42");
    EXPECT_EQ(info.iDelayTime, 50);
}

// Counts the window-less timer messages it gets.
class TimerCounter : public DUIWindow {
public:
    bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam,
                              LRESULT& result) override {
        if (message == 2338) {
            ids.push_back(wParam);
        }
        return DUIWindow::ProcessWindowMessage(message, wParam, lParam, result);
    }
    std::vector<WPARAM> ids;
};

// The window-less timer of a widget that is gone is killed at its next tick.
TEST_F(Widgets, TimersOfAGoneWidgetStop) {
    plat::headless::StartVirtualClock();
    auto* widget = new TimerCounter;
    root->InsertChild(widget);
    ASSERT_EQ(widget->SetTimerEx(7, 50), DM_ECODE_OK);
    root->DestroyChild(widget);
    plat::headless::AdvanceClock(60);
    plat::MSG message{};
    while (plat::PeekMessageW(&message, nullptr, 0, 0, plat::PM_REMOVE)) {
        plat::DispatchMessageW(&message);
    }
    int left = 0;
    app.GetTimerTable().m_timers.ForEach([&](plat::UINT_PTR, const DUITimer::Entry&) { ++left; });
    EXPECT_EQ(left, 0);
    plat::headless::StopVirtualClock();
}

// Without memory for a fragment's own canvas, the fragment is painted in place.
class StingyRender : public DMRenderImpl {
    DMDECLARE_CLASS_NAME(StingyRender, DMRenderImpl, L"StingyRender", L"IDMRender", DMREG_Render)
public:
    DMCode CreateCanvas(int width, int height, IDMCanvas** canvas) override {
        if (width > 0 && width < 100) {
            return DM_ECODE_FAIL;
        }
        return DMRenderImpl::CreateCanvas(width, height, canvas);
    }
};

TEST_F(Widgets, FragmentsArePaintedWithoutCanvasesOfTheirOwn) {
    app.Register(DMRegHelperT<PaintCounter>());
    app.Register(DMRegHelperT<StingyRender>());
    ASSERT_EQ(app.SetDefRegObj(L"StingyRender", DMREG_Render), DM_ECODE_OK);
    Build(
        "<dm><counter name=\"left\" clrbg=\"pbgra(00,00,ff,ff)\" pos=\"0,0,@100,@100\"/>"
        "<counter name=\"right\" pos=\"200,0,@100,@100\"/></dm>");
    IDMDraw* created = nullptr;
    ASSERT_EQ(app.CreateRegObj(&created, nullptr, DMREG_Draw), DM_ECODE_OK);
    auto draw = DMSmartPtrT<IDMDraw>::Adopt(created);
    draw->ResizeCanvas(675, 437);
    RECT first{0, 0, 10, 10};
    RECT second{250, 50, 260, 60};
    draw->InvalidateRect(&first, RGN_OR);
    draw->InvalidateRect(&second, RGN_OR);
    std::vector<RECT> rects;
    ASSERT_EQ(draw->GetInvalidateRects(rects), 2);
    EXPECT_EQ(draw->Render(root.get()), DM_ECODE_OK);
    EXPECT_EQ(static_cast<PaintCounter*>(root->FindChildByName(L"left"))->paints, 1);
    EXPECT_EQ(static_cast<PaintCounter*>(root->FindChildByName(L"right"))->paints, 1);
    IDMCanvas* canvas = nullptr;
    draw->GetCanvas(&canvas);
    auto held = DMSmartPtrT<IDMCanvas>::Adopt(canvas);
    EXPECT_EQ(held->GetPixelBits(nullptr)[5 * 675 + 5], 0xFFFF0000u);
    EXPECT_EQ(held->GetPixelBits(nullptr)[5 * 675 + 50], 0u) << "outside the fragments";
}

TEST_F(Widgets, TimersOfWidgets) {
    EXPECT_EQ(DUIWindow::HostTimerId(5, 3), (static_cast<plat::UINT_PTR>(0x83) << 24) | 5);
    plat::headless::StartVirtualClock();
    auto* widget = new TimerCounter;
    root->InsertChild(widget);
    EXPECT_EQ(widget->SetTimerEx(7, 50), DM_ECODE_OK);
    EXPECT_EQ(widget->SetTimer(3, 50), DM_ECODE_OK) << "on the host window";
    plat::headless::AdvanceClock(60);
    plat::MSG message{};
    while (plat::PeekMessageW(&message, nullptr, 0, 0, plat::PM_REMOVE)) {
        plat::DispatchMessageW(&message);
    }
    EXPECT_EQ(widget->ids, (std::vector<WPARAM>{7}));
    EXPECT_EQ(widget->KillTimerEx(7), DM_ECODE_OK);
    EXPECT_EQ(widget->KillTimerEx(7), DM_ECODE_FAIL);
    EXPECT_EQ(widget->KillTimer(3), DM_ECODE_OK);
    EXPECT_EQ(widget->SetTimer(128, 50), DM_ECODE_FAIL) << "ids stop at 127";
    plat::headless::StopVirtualClock();
}

// The value text of a progress bar is drawn with the style's colour and font.
TEST_F(Widgets, ProgressValueTextUsesTheStyle) {
    Build(
        "<dm><processctrl name=\"bar\" value=\"42\" textformat=\"%d%%\" "
        "clrtext=\"pbgra(00,ff,00,ff)\" align=\"left\" pos=\"0,0,@100,@30\"/></dm>");
    DUIWindow* bar = root->FindChildByName(L"bar");
    EXPECT_EQ(bar->OnGetDlgCode(), 1u);
    IDMRender* render = nullptr;
    app.GetDefRegObj(&render, DMREG_Render);
    auto renderer = DMSmartPtrT<IDMRender>::Adopt(render);
    IDMCanvas* created = nullptr;
    renderer->CreateCanvas(100, 30, &created);
    auto canvas = DMSmartPtrT<IDMCanvas>::Adopt(created);
    bar->SendMessage(plat::WM_PAINT, reinterpret_cast<WPARAM>(canvas.get()));
    int green = 0;
    const std::uint32_t* pixels = canvas->GetPixelBits(nullptr);
    for (int i = 0; i < 100 * 30; ++i) {
        std::uint32_t pixel = pixels[i];
        green += (pixel >> 8 & 0xFF) > 0x80 && (pixel >> 16 & 0xFF) < 0x40 && (pixel & 0xFF) < 0x40;
    }
    EXPECT_GT(green, 5) << "drawn in the style's text colour";
    EXPECT_EQ(canvas->GetTextColor().ToValue(), DMColor().ToValue())
        << "the canvas's colour is put back";
}

TEST_F(Widgets, MultiLineTextBreaksAtBackslashN) {
    Build("<dm><window name=\"label\" pos=\"0,0,@200,@100\"/></dm>");
    DUIWindow* label = root->FindChildByName(L"label");
    IDMRender* render = nullptr;
    app.GetDefRegObj(&render, DMREG_Render);
    auto renderer = DMSmartPtrT<IDMRender>::Adopt(render);
    IDMCanvas* created = nullptr;
    renderer->CreateCanvas(200, 100, &created);
    auto canvas = DMSmartPtrT<IDMCanvas>::Adopt(created);
    SIZE letter{};
    canvas->MeasureText(L"A", 1, letter);
    RECT one{0, 0, 200, 100};
    label->DrawMultiLineText(canvas.get(), L"ab\\ncd", -1, one, DT_CALCRECT, 5);
    EXPECT_EQ(one.bottom, letter.cy + 5 + letter.cy) << "two lines";
    RECT feed{0, 0, 200, 100};
    label->DrawMultiLineText(canvas.get(), L"ab\ncd", -1, feed, DT_CALCRECT, 5);
    EXPECT_EQ(feed.bottom, letter.cy) << "a line feed character does not break";
    RECT narrow{0, 0, letter.cx * 2 + 1, 100};
    label->DrawMultiLineText(canvas.get(), L"AAAA", -1, narrow, DT_CALCRECT, 0);
    EXPECT_EQ(narrow.bottom, 2 * letter.cy) << "a character that does not fit starts a line";
}

TEST_F(Widgets, TabMovesTheFocusAndAcceleratorsReachTheirHandler) {
    Build(
        "<dm><window name=\"a\" pos=\"0,0,10,10\" bfocusable=\"1\"/>"
        "<window name=\"b\" pos=\"0,20,50,50\" bfocusable=\"1\">"
        "<window name=\"b1\" pos=\"0,0,10,10\" bfocusable=\"1\"/></window>"
        "<window name=\"off\" pos=\"0,60,10,70\" bfocusable=\"1\" bdisable=\"1\"/>"
        "<window name=\"gone\" pos=\"0,80,10,90\" bfocusable=\"1\" bvisible=\"0\"/>"
        "<window name=\"plain\" pos=\"0,100,10,110\"/></dm>");
    DUIFocusMgr focus(root.get());
    auto handleOf = [&](const wchar_t* name) { return root->FindChildByName(name)->GetDUIWnd(); };
    std::vector<DUIWND> visited;
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(focus.OnKeyDown(9, false, false, false));
        visited.push_back(focus.GetFocusedWnd());
    }
    EXPECT_EQ(visited, (std::vector<DUIWND>{handleOf(L"a"), handleOf(L"b"), handleOf(L"b1"),
                                            handleOf(L"a")}))
        << "disabled, hidden and unfocusable widgets are passed over, and the search wraps";
    focus.OnKeyDown(9, false, true, false);
    EXPECT_EQ(focus.GetFocusedWnd(), handleOf(L"b1")) << "Shift+Tab goes back";

    focus.StoreFocusedView();
    EXPECT_EQ(focus.GetFocusedWnd(), 0u);
    focus.RestoreFocusedView();
    EXPECT_EQ(focus.GetFocusedWnd(), handleOf(L"b1"));

    struct Saver : IDMAccelHandler {
        bool OnAccelPressed(DWORD accel) override {
            pressed.push_back(accel);
            return true;
        }
        std::vector<DWORD> pressed;
    } saver;
    focus.RegisterAccel(DUIAccel::ParseAccel(L"ctrl+s"), &saver);
    EXPECT_TRUE(focus.OnKeyDown('S', true, false, false));
    EXPECT_FALSE(focus.OnKeyDown('S', false, false, false));
    focus.UnregisterAllAccel(&saver);
    EXPECT_FALSE(focus.OnKeyDown('S', true, false, false));
    EXPECT_EQ(saver.pressed, (std::vector<DWORD>{0x20053}));
}

TEST_F(Widgets, FocusChangesFireEventsAndRepaintTheWidgets) {
    Build(
        "<dm><window name=\"a\" pos=\"0,0,10,10\" bfocusable=\"1\"/>"
        "<window name=\"b\" pos=\"0,20,10,30\" bfocusable=\"1\"/></dm>");
    vael::test::StandInContainer focusing(root.get());
    root->SetContainer(&focusing);
    struct Recorder {
        DMCode On(DMEventArgs* event) {
            seen.push_back(DMStringT(event->m_szNameFrom) + L":" + event->GetEventName());
            return DM_ECODE_OK;
        }
        std::vector<DMStringT> seen;
    } recorder;
    DUIWindow* a = root->FindChildByName(L"a");
    DUIWindow* b = root->FindChildByName(L"b");
    for (DUIWindow* widget : {a, b}) {
        for (int id : {int(DMEventSetFocusArgs::EventID), int(DMEventKillFocusArgs::EventID)}) {
            widget->GetEventMgr().SubscribeEvent(id, Subscriber(&Recorder::On, &recorder));
        }
    }
    a->SetFocus();
    int repaints = focusing.invalidations;
    b->SetFocus();
    EXPECT_EQ(focusing.invalidations - repaints, 2) << "the widget losing and the one gaining";
    EXPECT_NE(a->KillFocus(), DM_ECODE_OK) << "a widget without the focus leaves it alone";
    EXPECT_EQ(focusing.OnGetFocusWnd(), b->GetDUIWnd());
    b->KillFocus();
    EXPECT_EQ(focusing.OnGetFocusWnd(), 0u);
    EXPECT_EQ(recorder.seen, (std::vector<DMStringT>{L"a:DMEVT_SETFOCUS", L"a:DMEVT_KILLFOCUS",
                                                     L"b:DMEVT_SETFOCUS", L"b:DMEVT_KILLFOCUS"}));
    root->SetContainer(&container);
}

TEST_F(Widgets, TextIsMeasuredInTheFontItsAncestorsGiveIt) {
    Build(
        "<dm><window name=\"big\" pos=\"0,0,600,100\" font=\"face:宋体,size:40\">"
        "<window name=\"label\" pos=\"0,0,10,10\" text=\"text\"/></window>"
        "<window name=\"small\" pos=\"0,200,10,210\" text=\"text\"/></dm>");
    SIZE big{};
    SIZE small{};
    root->FindChildByName(L"label")->GetDesiredSize(big);
    root->FindChildByName(L"small")->GetDesiredSize(small);
    EXPECT_GE(big.cy, 40);
    EXPECT_GT(big.cx, 2 * small.cx);
}

TEST_F(Widgets, AFocusedWidgetWithShowDrawFocusDrawsAFrame) {
    Build(
        "<dm><window name=\"f\" pos=\"0,0,40,20\" bfocusable=\"1\" "
        "bshowdrawfocus=\"1\"/></dm>");
    vael::test::StandInContainer focusing(root.get());
    root->SetContainer(&focusing);
    DUIWindow* widget = root->FindChildByName(L"f");
    auto paint = [&] {
        DMSmartPtrT<IDMCanvas> canvas = NewCanvas(40, 20);
        widget->SendMessage(plat::WM_PAINT, reinterpret_cast<WPARAM>(canvas.get()));
        int grey = 0;
        for (int x = 0; x < 40; ++x) {
            std::uint32_t pixel = canvas->GetPixelBits(nullptr)[2 * 40 + x];
            grey += pixel != 0 && (pixel & 0xFF) == ((pixel >> 8) & 0xFF);
        }
        return grey;
    };
    EXPECT_EQ(paint(), 0) << "no frame without the focus";
    widget->SetFocus();
    EXPECT_GT(paint(), 10) << "a grey line along the top, 2 pixels in";
    root->SetContainer(&container);
}

}  // namespace
