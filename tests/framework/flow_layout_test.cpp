// The grid, column and split layouts and the link, built from XML under a stand-in container.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "DMApp.h"
#include "DMSmartPtrT.h"
#include "DMXml.h"
#include "DUILink.h"
#include "DUISplitLayout.h"
#include "DUIWindow.h"
#include "IDMRender.h"
#include "StandInContainer.h"
#include "TempDir.h"
#include "WaitUntil.h"
#include "plat/cursor.h"
#include "plat/headless.h"
#include "plat/messages.h"

using namespace DM;

namespace {

class FlowLayouts : public ::testing::Test {
protected:
    void SetUp() override {
        plat::headless::Use();
        root.Attach(new DUIWindow);
        root->SetContainer(&container);
    }
    void TearDown() override { root->SendMessage(plat::WM_DESTROY); }

    // Builds the children of `xml`'s root element under a 675 × 437 root widget.
    DMCode Build(const std::string& xml) {
        EXPECT_TRUE(document.LoadFromBuffer(xml.data(), xml.size()));
        DMXmlNode node = document.Root();
        root->CreateChildren(node);
        root->SetWndRect({0, 0, 675, 437});
        return root->UpdateChildLayout();
    }
    DUIWindow* Find(const std::wstring& name) { return root->FindChildByName(name); }
    RECT RectOf(const std::wstring& name) { return Find(name)->m_rcWindow; }
    static LPARAM Point(int x, int y) { return static_cast<LPARAM>(x | y << 16); }

    DMApp app;
    vael::test::StandInContainer container;
    DMSmartPtrT<DUIWindow> root;
    DMXmlDocument document;
};

void ExpectRect(const RECT& actual, const RECT& expected, const std::string& what) {
    EXPECT_EQ(actual.left, expected.left) << what;
    EXPECT_EQ(actual.top, expected.top) << what;
    EXPECT_EQ(actual.right, expected.right) << what;
    EXPECT_EQ(actual.bottom, expected.bottom) << what;
}

// 100 × 50 with 30 × 20 cells 5 apart: three cells a row, two rows fit.
TEST_F(FlowLayouts, TabCellsBreakRowsAndEmptyBelowTheBottom) {
    std::string xml =
        "<dm><TabLayout pos=\"10,10,@100,@50\" itemsize=\"30,20\" childpaddlen=\"5\">";
    for (int i = 0; i < 8; ++i) {
        xml += "<window name=\"c" + std::to_string(i) + "\"" +
               (i == 1 ? " rcpadd=\"1,2,3,4\"" : "") + "/>";
    }
    Build(xml + "</TabLayout></dm>");
    RECT expected[] = {{10, 10, 40, 30}, {46, 12, 72, 26}, {80, 10, 110, 30},
                       {10, 30, 40, 50}, {45, 30, 75, 50}, {80, 30, 110, 50}};
    for (int i = 0; i < 6; ++i) {
        ExpectRect(RectOf(L"c" + std::to_wstring(i)), expected[i], "cell " + std::to_string(i));
    }
    for (const wchar_t* below : {L"c6", L"c7"}) {
        RECT rect = RectOf(below);
        EXPECT_TRUE(rect.right == rect.left && rect.bottom == rect.top) << "below the bottom";
    }
}

TEST_F(FlowLayouts, WrapColumnsFromItemSizeOrColumnCount) {
    Build(
        "<dm><WrapLayout name=\"byitem\" pos=\"0,0,@300,@200\" itemsize=\"100,30\" "
        "childpaddlen=\"10\"><window name=\"a0\"/><window name=\"a1\" height=\"40\"/>"
        "<window name=\"a2\"/><window name=\"a3\"/></WrapLayout>"
        "<WrapLayout name=\"bycount\" pos=\"0,200,@300,@200\" colcount=\"2\" childpaddlen=\"10\">"
        "<window name=\"b0\"/><window name=\"b1\" rcpadd=\"4,0,0,0\"/></WrapLayout></dm>");
    int line = std::abs(app.GetFont(L"")->GetLogFont()->lfHeight) + 10;
    EXPECT_TRUE(Find(L"byitem")->IsClass(L"TabLayout"));
    ExpectRect(RectOf(L"a0"), {5, (40 - line) / 2, 95, (40 - line) / 2 + line},
               "centred in a row as high as its highest child");
    ExpectRect(RectOf(L"a1"), {105, 0, 195, 40}, "the highest child");
    ExpectRect(RectOf(L"a3"), {5, 50 + (30 - line) / 2, 95, 50 + (30 - line) / 2 + line},
               "the next row starts the spacing lower and is at least the item height");
    ExpectRect(RectOf(L"b0"), {5, 200, 145, 200 + line}, "two columns of 150");
    EXPECT_EQ(RectOf(L"b1").left, 159);
    EXPECT_EQ(RectOf(L"b1").right, 295);
}

// "colcount" set by code is only stored; "childpaddlen" lays out the parent again.
TEST_F(FlowLayouts, ColumnCountSetByCodeDoesNotLayOutTheParent) {
    Build(
        "<dm><WrapLayout name=\"wrap\" pos=\"0,0,@300,@200\" colcount=\"2\"/>"
        "<window name=\"moved\" pos=\"400,0,@10,@10\"/></dm>");
    Find(L"moved")->m_rcWindow = {1, 1, 2, 2};
    EXPECT_EQ(Find(L"wrap")->SetAttribute(L"colcount", L"3", false), DMATTR_OK);
    EXPECT_EQ(RectOf(L"moved").left, 1);
    EXPECT_EQ(Find(L"wrap")->SetAttribute(L"childpaddlen", L"4", false), DMATTR_OK);
    EXPECT_EQ(RectOf(L"moved").left, 400);
}

constexpr const char* kSplit =
    "<dm><splitlayout name=\"split\" pos=\"0,0,@200,@100\" sliderwidth=\"4\" %s>"
    "<window name=\"one\"/><window name=\"two\"/></splitlayout></dm>";

std::string SplitXml(const std::string& attributes) {
    std::string xml = kSplit;
    return xml.replace(xml.find("%s"), 2, attributes);
}

TEST_F(FlowLayouts, SplitFirstLayoutFromPercentOrPixels) {
    struct {
        const char* attributes;
        RECT one;
        RECT two;
    } cases[] = {
        {"firstchildpercent=\"%25\"", {0, 0, 50, 100}, {54, 0, 200, 100}},
        {"firstchildpercent=\"%-25\"", {0, 0, 50, 100}, {54, 0, 200, 100}},
        {"firstchildwidth=\"30\"", {0, 0, 30, 100}, {34, 0, 200, 100}},
        {"firstchildwidth=\"300\"", {0, 0, 196, 100}, {200, 0, 200, 0}},
        {"firstchildwidth=\"30\" bvert=\"1\"", {0, 0, 200, 30}, {0, 34, 200, 100}},
        {"", {0, 0, 20, 100}, {24, 0, 200, 100}},
    };
    for (const auto& each : cases) {
        root->SendMessage(plat::WM_DESTROY);
        root.Attach(new DUIWindow);
        root->SetContainer(&container);
        Build(SplitXml(each.attributes));
        ExpectRect(RectOf(L"one"), each.one, each.attributes);
        RECT two = RectOf(L"two");
        if (each.two.bottom == 0) {
            EXPECT_EQ(two.right - two.left, 0) << each.attributes;
        } else {
            ExpectRect(two, each.two, each.attributes);
        }
    }
}

TEST_F(FlowLayouts, SplitKeepsThePaneTheLayoutIsToldTo) {
    Build(
        "<dm><splitlayout name=\"keepsecond\" pos=\"0,0,@200,@100\" sliderwidth=\"4\" "
        "firstchildwidth=\"50\"><window name=\"a\"/><window name=\"b\"/></splitlayout>"
        "<splitlayout name=\"keepfirst\" pos=\"0,100,@200,@100\" sliderwidth=\"4\" "
        "firstchildwidth=\"50\" bfirstchange=\"0\"><window name=\"c\"/><window name=\"d\"/>"
        "</splitlayout></dm>");
    Find(L"keepsecond")->SetAttribute(L"pos", L"0,0,@300,@100", false);
    Find(L"keepfirst")->SetAttribute(L"pos", L"0,100,@300,@100", false);
    EXPECT_EQ(RectOf(L"a").right, 150) << "the first pane takes the growth";
    EXPECT_EQ(RectOf(L"b").right - RectOf(L"b").left, 146);
    EXPECT_EQ(RectOf(L"c").right, 50);
    EXPECT_EQ(RectOf(L"d").left, 54);

    auto* split = static_cast<DUISplitLayout*>(Find(L"keepsecond"));
    EXPECT_EQ(split->SetAttribute(L"firstchildpercent", L"%50", false), DMATTR_OK);
    EXPECT_EQ(RectOf(L"a").right, 150);
    EXPECT_EQ(split->SetAttribute(L"firstchildwidth", L"10", false), DMATTR_OK);
    EXPECT_EQ(RectOf(L"a").right, 150) << "the percentage still rules";
    EXPECT_EQ(split->SetAttribute(L"firstchildpercent", L"-1", false), DMATTR_OK);
    EXPECT_EQ(RectOf(L"a").right, 10) << "measured again in pixels";
}

TEST_F(FlowLayouts, SplitRefusesInvalidFirstPaneSizes) {
    Build(SplitXml(""));
    DUIWindow* split = Find(L"split");
    for (const wchar_t* width : {L"-5", L"abc", L""}) {
        EXPECT_EQ(split->SetAttribute(L"firstchildwidth", width, false), DMATTR_FAIL) << width;
    }
    for (const wchar_t* percent : {L"50", L"%", L"%x", L"-2", L""}) {
        EXPECT_EQ(split->SetAttribute(L"firstchildpercent", percent, false), DMATTR_FAIL)
            << percent;
    }
    EXPECT_EQ(split->SetAttribute(L"sliderwidth", L"-1", false), DMATTR_FAIL);
    EXPECT_EQ(RectOf(L"one").right, 20) << "nothing changed";
}

TEST_F(FlowLayouts, SplitWithThreeChildrenDoesNothing) {
    EXPECT_EQ(Build("<dm><splitlayout name=\"split\" pos=\"0,0,@200,@100\"><window name=\"a\"/>"
                    "<window/><window/></splitlayout></dm>"),
              DM_ECODE_OK);
    EXPECT_FALSE(Find(L"a")->IsLaidOut());
    EXPECT_EQ(Find(L"split")->UpdateChildLayout(), DM_ECODE_FAIL);
}

// The second pane keeps 146; dragging right shrinks it down to "minimumwidth" 120.
TEST_F(FlowLayouts, SplitDragFollowsThePointerWithinItsLimits) {
    Build(SplitXml("firstchildwidth=\"50\" minimumwidth=\"120\""));
    DUIWindow* split = Find(L"split");
    split->SendMessage(plat::WM_LBUTTONDOWN, 0, Point(52, 50));
    EXPECT_EQ(container.OnGetCapture(), split->GetDUIWnd());
    split->SendMessage(plat::WM_MOUSEMOVE, 0, Point(62, 50));
    EXPECT_EQ(RectOf(L"one").right, 60);
    split->SendMessage(plat::WM_MOUSEMOVE, 0, Point(100, 50));
    EXPECT_EQ(RectOf(L"one").right, 76) << "held at the minimum";
    split->SendMessage(plat::WM_MOUSEMOVE, 0, Point(90, 50));
    EXPECT_EQ(RectOf(L"one").right, 76) << "the refused movement is made good first";
    split->SendMessage(plat::WM_MOUSEMOVE, 0, Point(70, 50));
    EXPECT_EQ(RectOf(L"one").right, 68) << "the slider is back under the pointer";
    split->SendMessage(plat::WM_MOUSEMOVE, 0, Point(-900, 50));
    EXPECT_EQ(RectOf(L"one").right, 0) << "the second pane fills all but the slider";
    EXPECT_EQ(RectOf(L"two").left, 4);
    split->SendMessage(plat::WM_LBUTTONUP, 0, Point(-900, 50));
    EXPECT_EQ(container.OnGetCapture(), 0u);
    split->SendMessage(plat::WM_MOUSEMOVE, 0, Point(100, 50));
    EXPECT_EQ(RectOf(L"one").right, 0) << "released";
}

TEST_F(FlowLayouts, SplitShowsTheResizeCursorOfItsAxis) {
    Build(SplitXml("bvert=\"1\""));
    auto* split = static_cast<DUISplitLayout*>(Find(L"split"));
    split->OnSetCursor({10, 22});
    EXPECT_EQ(plat::GetCursor(),
              plat::LoadCursorW(nullptr, plat::MAKEINTRESOURCEW(plat::IDC_SIZENS)));
    split->SetAttribute(L"bvert", L"0", false);
    split->OnSetCursor({22, 10});
    EXPECT_EQ(plat::GetCursor(),
              plat::LoadCursorW(nullptr, plat::MAKEINTRESOURCEW(plat::IDC_SIZEWE)));
    split->SetAttribute(L"cursor", L"hand", false);
    split->OnSetCursor({22, 10});
    EXPECT_EQ(plat::GetCursor(),
              plat::LoadCursorW(nullptr, plat::MAKEINTRESOURCEW(plat::IDC_HAND)));
}

TEST_F(FlowLayouts, SplitPaintsItsSliderInItsColour) {
    Build(SplitXml("firstchildwidth=\"50\" clrslider=\"pbgra(ff,00,00,ff)\""));
    IDMRender* render = nullptr;
    ASSERT_EQ(app.GetDefRegObj(&render, DMREG_Render), DM_ECODE_OK);
    auto renderer = DMSmartPtrT<IDMRender>::Adopt(render);
    IDMCanvas* created = nullptr;
    renderer->CreateCanvas(200, 100, &created);
    auto canvas = DMSmartPtrT<IDMCanvas>::Adopt(created);
    Find(L"split")->SendMessage(plat::WM_PAINT, reinterpret_cast<WPARAM>(canvas.get()));
    const std::uint32_t* pixels = canvas->GetPixelBits(nullptr);
    EXPECT_EQ(pixels[50 * 200 + 51], 0xFF0000FFu) << "the slider";
    EXPECT_EQ(pixels[50 * 200 + 49], 0u) << "the first pane";
    EXPECT_EQ(pixels[50 * 200 + 54], 0u) << "the second pane";
}

class Links : public FlowLayouts {
protected:
    // A 300 × 40 link whose centred text has been painted, so that its hot rectangle is known.
    DUILink* PaintedLink(const std::string& href) {
        Build("<dm><Link name=\"link\" pos=\"0,0,@300,@40\" text=\"Vael\" href=\"" + href +
              "\"/></dm>");
        IDMRender* render = nullptr;
        EXPECT_EQ(app.GetDefRegObj(&render, DMREG_Render), DM_ECODE_OK);
        auto renderer = DMSmartPtrT<IDMRender>::Adopt(render);
        IDMCanvas* created = nullptr;
        renderer->CreateCanvas(300, 40, &created);
        auto canvas = DMSmartPtrT<IDMCanvas>::Adopt(created);
        auto* link = static_cast<DUILink*>(Find(L"link"));
        link->SendMessage(plat::WM_PAINT, reinterpret_cast<WPARAM>(canvas.get()));
        return link;
    }
};

TEST_F(Links, ReactOnlyOverTheirText) {
    DUILink* link = PaintedLink("");
    const RECT& hot = link->m_rcHot;
    ASSERT_GT(hot.right, hot.left);
    EXPECT_LT(hot.right - hot.left, 300);
    EXPECT_NEAR(hot.left + hot.right, 300, 1) << "centred";
    LPARAM beside = Point(2, 20);
    LPARAM over = Point((hot.left + hot.right) / 2, (hot.top + hot.bottom) / 2);

    link->SendMessage(plat::WM_MOUSEMOVE, 0, beside);
    EXPECT_FALSE(link->GetState() & DUIWNDSTATE_Hover);
    link->SendMessage(plat::WM_MOUSEMOVE, 0, over);
    EXPECT_TRUE(link->GetState() & DUIWNDSTATE_Hover);
    link->SendMessage(plat::WM_MOUSEMOVE, 0, beside);
    EXPECT_FALSE(link->GetState() & DUIWNDSTATE_Hover);

    link->SendMessage(plat::WM_LBUTTONDOWN, 0, beside);
    EXPECT_EQ(container.OnGetCapture(), 0u) << "a press beside the text does nothing";
    link->SendMessage(plat::WM_LBUTTONDOWN, 0, over);
    EXPECT_EQ(container.OnGetCapture(), link->GetDUIWnd());
    link->SendMessage(plat::WM_LBUTTONUP, 0, beside);
    EXPECT_EQ(container.OnGetCapture(), 0u);
    EXPECT_FALSE(link->GetState() & DUIWNDSTATE_PushDown);
    EXPECT_TRUE(container.events.empty()) << "a release beside the text is no click";

    link->SendMessage(plat::WM_LBUTTONDOWN, 0, over);
    link->SendMessage(plat::WM_LBUTTONUP, 0, over);
    EXPECT_EQ(container.events, (std::vector<DMStringT>{L"DMEVT_CMD:link"}));
    EXPECT_EQ(link->OnSetCursor({2, 20}), DM_ECODE_FAIL) << "no cursor beside the text";
}

// The address opens through xdg-open, or through the system browser when there is no opener.
TEST_F(Links, OpenTheirAddressOnAClick) {
    std::string path = std::getenv("PATH");
    for (const char* opener : {"xdg-open", "x-www-browser"}) {
        vael::test::TempDir bin;
        vael::test::WriteFile(bin / opener,
                              "#!/bin/sh\necho \"$1\" > \"" + (bin / "opened").string() + "\"\n");
        std::filesystem::permissions(bin / opener, std::filesystem::perms::owner_all);
        setenv("PATH", bin.path().c_str(), 1);

        DUILink* link = PaintedLink("https://news.example.com/vael");
        LPARAM over = Point((link->m_rcHot.left + link->m_rcHot.right) / 2, 20);
        link->SendMessage(plat::WM_LBUTTONDOWN, 0, over);
        link->SendMessage(plat::WM_LBUTTONUP, 0, over);

        setenv("PATH", path.c_str(), 1);
        EXPECT_TRUE(vael::test::WaitForFinishedLine(bin / "opened")) << opener;
        EXPECT_EQ(vael::test::ReadFile(bin / "opened"), "https://news.example.com/vael\n");
        root->DestroyChild(link);
    }
}

}  // namespace
