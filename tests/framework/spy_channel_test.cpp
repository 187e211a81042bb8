// The inspection channel: the tool's two sections made here as the tool makes them, the
// messages sent as the host forwards them, and what the tool reads back.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "Core/DMSpyChannel.h"
#include "DMApp.h"
#include "DMCWnd.h"
#include "DMSmartPtrT.h"
#include "DMXml.h"
#include "DUIWindow.h"
#include "StandInContainer.h"
#include "TempDir.h"
#include "plat/drive_map.h"
#include "plat/headless.h"
#include "plat/messages.h"
#include "plat/shared_memory.h"
#include "plat/window_styles.h"

using namespace DM;
using ::testing::ElementsAre;

namespace {

// A widget whose class name is whatever the test needs.
class NamedClass : public DUIWindow {
public:
    explicit NamedClass(std::wstring className) : m_className(std::move(className)) {}
    const wchar_t* GetClassName() const override { return m_className.c_str(); }

private:
    std::wstring m_className;
};

// A host at (100, 50) on the screen holding "top" (id 3) with "inner" (a button, id 7, taking
// no mouse messages) inside it, and the hidden "hidden".
class SpyChannel : public ::testing::Test {
protected:
    void SetUp() override {
        plat::headless::Use();
        plat::ATOM atom = app.GetClassAtom();
        container.host = hostWindow.CreateWindowEx(plat::MAKEINTATOM(atom), L"host", plat::WS_POPUP,
                                                   0, 100, 50, 675, 437, nullptr, nullptr);
        toolWindow = tool.CreateWindowEx(plat::MAKEINTATOM(atom), L"tool", plat::WS_POPUP, 0, 0, 0,
                                         10, 10, nullptr, nullptr);
        root.Attach(new DUIWindow);
        root->SetContainer(&container);
        const std::string xml =
            "<dm><window name=\"top\" id=\"3\" pos=\"10,20,@200,@100\">"
            "<button name=\"inner\" id=\"7\" bmsgnohandle=\"1\" pos=\"5,5,@50,@20\"/></window>"
            "<window name=\"hidden\" bvisible=\"0\" pos=\"300,0,@10,@10\"/></dm>";
        document.LoadFromBuffer(xml.data(), xml.size());
        DMXmlNode node = document.Root();
        root->CreateChildren(node);
        root->SetWndRect({0, 0, 675, 437});
        root->UpdateChildLayout();
        OpenSections(DMSPY_RECORD_SIZE);
    }
    void TearDown() override {
        CloseSections();
        root->SendMessage(plat::WM_DESTROY);
        tool.DestroyWindow();
        hostWindow.DestroyWindow();
    }

    // The tool's sections, the size section announcing `announced` bytes.
    void OpenSections(DWORD announced) {
        recordSection =
            plat::CreateFileMappingW(plat::INVALID_HANDLE_VALUE, nullptr, plat::PAGE_READWRITE, 0,
                                     DMSPY_RECORD_SIZE, DMSPY_SHAREMEMORY);
        sizeSection =
            plat::CreateFileMappingW(plat::INVALID_HANDLE_VALUE, nullptr, plat::PAGE_READWRITE, 0,
                                     sizeof(DWORD), DMSPY_SHAREMEMORYSIZE);
        recordView = plat::MapViewOfFile(recordSection, plat::FILE_MAP_ALL_ACCESS, 0, 0, 0);
        sizeView = plat::MapViewOfFile(sizeSection, plat::FILE_MAP_ALL_ACCESS, 0, 0, 0);
        ASSERT_TRUE(recordView && sizeView);
        std::memset(recordView, 0, DMSPY_RECORD_SIZE);
        std::memcpy(sizeView, &announced, sizeof announced);
    }
    void CloseSections() {
        for (void* view : {recordView, sizeView}) {
            plat::UnmapViewOfFile(view);
        }
        for (plat::HANDLE section : {recordSection, sizeSection}) {
            plat::CloseHandle(section);
        }
        recordView = sizeView = nullptr;
        recordSection = sizeSection = nullptr;
    }

    LRESULT Send(UINT message, WPARAM wParam = 0) {
        return app.GetSpyChannel().OnSpyMessage(message, wParam, 0, root.get());
    }
    LRESULT Init() { return Send(DMSPY_INIT, reinterpret_cast<WPARAM>(toolWindow)); }
    DMSpyWidgetInfo& Shared() { return static_cast<DMSpyRecord*>(recordView)->info; }
    DUIWND Handle(const wchar_t* name) { return root->FindChildByName(name)->GetDUIWnd(); }

    // Writes the tree to `file` in the test's folder and reads it back.
    void WriteTree(const char* file, DMXmlDocument& tree) {
        std::wstring path = plat::WindowsPathFromHostW(folder / file);
        std::wcsncpy(static_cast<wchar_t*>(recordView), path.c_str(), DMSPY_TEXT_LENGTH - 1);
        ASSERT_EQ(Send(DMSPY_ENUM), static_cast<LRESULT>(DMSPY_ENUM));
        std::string text = vael::test::ReadFile(folder / file);
        ASSERT_TRUE(tree.LoadFromBuffer(text.data(), text.size()));
    }

    DMApp app;
    DMCWnd hostWindow;
    DMCWnd tool;
    HWND toolWindow = nullptr;
    vael::test::StandInContainer container;
    DMSmartPtrT<DUIWindow> root;
    DMXmlDocument document;
    vael::test::TempDir folder;
    plat::HANDLE recordSection = nullptr;
    plat::HANDLE sizeSection = nullptr;
    void* recordView = nullptr;
    void* sizeView = nullptr;
};

TEST_F(SpyChannel, TheToolIntroducesItselfWithALiveWindow) {
    Shared().hDUIWnd = Handle(L"inner");
    EXPECT_EQ(Send(DMSPY_INFO), 0) << "no record before the tool introduced itself";

    EXPECT_EQ(Init(), static_cast<LRESULT>(DMSPY_INIT));
    EXPECT_EQ(app.GetSpyChannel().GetToolWnd(), toolWindow);

    tool.DestroyWindow();
    EXPECT_EQ(Init(), 0);
    EXPECT_EQ(app.GetSpyChannel().GetToolWnd(), nullptr);
}

TEST_F(SpyChannel, TheTreeFileNestsEveryWidgetWithItsAttributes) {
    Init();
    DMXmlDocument tree;
    WriteTree("tree.xml", tree);

    DMXmlNode top = tree.Root(L"N");
    std::vector<std::wstring> attributes;
    for (DMXmlAttribute a = top.FirstAttribute(); a.IsValid(); a = a.NextAttribute()) {
        attributes.push_back(a.GetName() + L"=" + a.GetValue());
    }
    EXPECT_THAT(attributes,
                ElementsAre(L"duiwnd=" + std::to_wstring(root->GetDUIWnd()), L"level=0",
                            L"bpanel=0", L"classname=window", L"bsee=1", L"id=0", L"name="));
    DMXmlNode first = top.FirstChild(L"N");
    DMXmlNode inner = first.FirstChild(L"N");
    DMXmlNode hidden = first.NextSibling(L"N");
    EXPECT_EQ(first.Attribute(L"name"), L"top");
    EXPECT_EQ(first.Attribute(L"level"), L"1");
    EXPECT_EQ(first.Attribute(L"id"), L"3");
    EXPECT_EQ(inner.Attribute(L"name"), L"inner");
    EXPECT_EQ(inner.Attribute(L"level"), L"2");
    EXPECT_EQ(inner.Attribute(L"classname"), L"Button");
    EXPECT_EQ(inner.Attribute(L"duiwnd"), std::to_wstring(Handle(L"inner")));
    EXPECT_FALSE(inner.FirstChild().IsValid());
    EXPECT_EQ(hidden.Attribute(L"name"), L"hidden");
    EXPECT_EQ(hidden.Attribute(L"bsee"), L"0");
    EXPECT_FALSE(hidden.NextSibling().IsValid());

    Init();
    DMXmlDocument again;
    WriteTree("again.xml", again);
    EXPECT_EQ(again.ToText(), tree.ToText()) << "each introduction starts a new walk";
}

TEST_F(SpyChannel, DescribesTheCarriedWidgetInScreenAndClientCoordinates) {
    Init();
    Shared().hDUIWnd = Handle(L"inner");

    ASSERT_EQ(Send(DMSPY_INFO), static_cast<LRESULT>(DMSPY_INFO));

    const DMSpyWidgetInfo& info = Shared();
    EXPECT_EQ(info.bVisible, plat::TRUE);
    EXPECT_EQ(info.hDUIWnd, Handle(L"inner"));
    EXPECT_EQ(info.iId, 7);
    EXPECT_EQ(info.rcWindow.left, 115);
    EXPECT_EQ(info.rcWindow.top, 75);
    EXPECT_EQ(info.rcWindow.right, 165);
    EXPECT_EQ(info.rcWindow.bottom, 95);
    EXPECT_EQ(info.rcClient.left, 15);
    EXPECT_EQ(info.rcClient.bottom, 45);
    EXPECT_STREQ(info.szName, L"inner");
    EXPECT_STREQ(info.szClassName, L"Button");

    Shared().hDUIWnd = Handle(L"hidden");
    Send(DMSPY_INFO);
    EXPECT_EQ(Shared().bVisible, plat::FALSE);
}

TEST_F(SpyChannel, TextsThatDoNotFitAreReplaced) {
    struct {
        std::size_t length;
        bool fits;
    } cases[] = {{259, true}, {260, false}};
    Init();
    for (const auto& c : cases) {
        std::wstring text(c.length, L'x');
        auto* widget = new NamedClass(text);
        root->InsertChild(widget);
        widget->SetAttribute(L"name", text, true);
        Shared().hDUIWnd = widget->GetDUIWnd();

        ASSERT_EQ(Send(DMSPY_INFO), static_cast<LRESULT>(DMSPY_INFO));
        EXPECT_EQ(Shared().szName, c.fits ? text : L"[名字过长,无法显示!]") << c.length;
        EXPECT_EQ(Shared().szClassName, c.fits ? text : L"[类名过长,无法显示!]") << c.length;
    }
}

TEST_F(SpyChannel, TheRecordGoesBackOnlyWhenTheToolMadeRoomForIt) {
    struct {
        DWORD announced;
        bool written;
    } cases[] = {{DMSPY_RECORD_SIZE - 1, false}, {DMSPY_RECORD_SIZE, true}};
    for (const auto& c : cases) {
        CloseSections();
        OpenSections(c.announced);
        Init();
        Shared().hDUIWnd = Handle(L"top");

        EXPECT_EQ(Send(DMSPY_INFO), static_cast<LRESULT>(DMSPY_INFO));
        EXPECT_EQ(std::wstring(Shared().szName), c.written ? L"top" : L"") << c.announced;
    }
}

TEST_F(SpyChannel, HitTestsTheCarriedScreenPointAmongAllWidgets) {
    struct {
        POINT screen;
        const wchar_t* found;
    } cases[] = {
        {{100 + 20, 50 + 30}, L"inner"},
        {{100 + 400, 50 + 300}, L""},
        {{50, 20}, nullptr},
    };
    Init();
    for (const auto& c : cases) {
        std::memset(recordView, 0, DMSPY_RECORD_SIZE);
        Shared().ptHitTest = c.screen;

        LRESULT answer = Send(DMSPY_POINT);

        EXPECT_EQ(answer, c.found ? static_cast<LRESULT>(DMSPY_POINT) : 0) << c.screen.x;
        if (c.found) {
            EXPECT_STREQ(Shared().szName, c.found);
        }
    }
}

TEST_F(SpyChannel, AnswersZeroWithoutTheSectionOrTheWidget) {
    Init();
    Shared().hDUIWnd = 9999;
    EXPECT_EQ(Send(DMSPY_INFO), 0);

    CloseSections();
    EXPECT_EQ(Send(DMSPY_INFO), 0);
    EXPECT_EQ(Send(DMSPY_POINT), 0);
    EXPECT_EQ(Send(DMSPY_ENUM), static_cast<LRESULT>(DMSPY_ENUM));
}

}  // namespace
