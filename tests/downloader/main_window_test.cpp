// The launcher's "main" layout opened as a host window on the headless driver: a translucent
// popup of its initial size, a click reaching the host's handler, and the widget tree the
// inspection tool reads.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "Core/DMSpyRecord.h"
#include "DMApp.h"
#include "DMHWnd.h"
#include "DMXml.h"
#include "LauncherWindow.h"
#include "MessagePump.h"
#include "TempDir.h"
#include "plat/drag_drop.h"
#include "plat/drive_map.h"
#include "plat/headless.h"
#include "plat/messages.h"
#include "plat/shared_memory.h"
#include "plat/show_commands.h"
#include "plat/window_styles.h"

using namespace DM;

namespace {

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override {
        plat::headless::Use();
        ASSERT_TRUE(LoadLauncherSkin(app));
        window = host->DM_CreateWindow(L"main", 200, 100);
        ASSERT_NE(window, nullptr);
        host->ShowWindow(plat::SW_SHOWNOACTIVATE);
        vael::test::PumpMessages();
    }
    void TearDown() override { host->DestroyWindow(); }

    DMApp app;
    DMSmartPtrT<vael::test::ClickRecordingHost> host =
        DMSmartPtrT<vael::test::ClickRecordingHost>::Adopt(new vael::test::ClickRecordingHost);
    HWND window = nullptr;
};

TEST_F(MainWindow, IsATranslucentPopupWhoseTransparentPixelsStayTransparent) {
    RECT rect{};
    plat::GetWindowRect(window, &rect);
    EXPECT_EQ(rect.right - rect.left, 675);
    EXPECT_EQ(rect.bottom - rect.top, 437);
    EXPECT_TRUE(host->DMCWndBase::GetStyle() & plat::WS_POPUP);
    EXPECT_TRUE(host->OnIsTranslucent());
    EXPECT_EQ(plat::RegisteredDropTarget(window), &host->GetDropTarget());
    auto picture = plat::headless::PresentedPicture(window);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->At(0, 0) >> 24, 0u) << "the corner";
    EXPECT_EQ(picture->At(100, 300) >> 24, 0xFFu) << "the background";
    vael::test::TempDir folder;
    EXPECT_TRUE(plat::headless::SavePresentedPicture(window, folder / "main.png"));
}

TEST_F(MainWindow, ClickOnDownloadReachesTheHandlerOnce) {
    RECT download = host->FindChildByName(L"download")->m_rcWindow;
    POINT centre{200 + (download.left + download.right) / 2,
                 100 + (download.top + download.bottom) / 2};
    plat::headless::Click(centre.x, centre.y);
    vael::test::PumpMessages();
    EXPECT_EQ(host->clicks, std::vector<DMStringT>{L"download"});
}

// The tool's two sections, a path in the record, then the tree file written by the host.
TEST_F(MainWindow, InspectionWritesEveryWidgetOnce) {
    plat::HANDLE record =
        plat::CreateFileMappingW(plat::INVALID_HANDLE_VALUE, nullptr, plat::PAGE_READWRITE, 0,
                                 DMSPY_RECORD_SIZE, DMSPY_SHAREMEMORY);
    plat::HANDLE size =
        plat::CreateFileMappingW(plat::INVALID_HANDLE_VALUE, nullptr, plat::PAGE_READWRITE, 0,
                                 sizeof(DWORD), DMSPY_SHAREMEMORYSIZE);
    void* recordView = plat::MapViewOfFile(record, plat::FILE_MAP_ALL_ACCESS, 0, 0, 0);
    void* sizeView = plat::MapViewOfFile(size, plat::FILE_MAP_ALL_ACCESS, 0, 0, 0);
    ASSERT_TRUE(recordView && sizeView);
    DWORD announced = DMSPY_RECORD_SIZE;
    std::memcpy(sizeView, &announced, sizeof announced);

    EXPECT_EQ(plat::SendMessageW(window, DMSPY_INIT, reinterpret_cast<WPARAM>(window), 0),
              static_cast<LRESULT>(DMSPY_INIT));
    vael::test::TempDir folder;
    std::wstring path = plat::WindowsPathFromHostW(folder / "tree.xml");
    std::wcsncpy(static_cast<wchar_t*>(recordView), path.c_str(), DMSPY_TEXT_LENGTH - 1);
    EXPECT_EQ(plat::SendMessageW(window, DMSPY_ENUM, 0, 0), static_cast<LRESULT>(DMSPY_ENUM));

    std::string text = vael::test::ReadFile(folder / "tree.xml");
    DMXmlDocument tree;
    ASSERT_TRUE(tree.LoadFromBuffer(text.data(), text.size()));
    std::multiset<DMStringT> names;
    std::vector<DMXmlNode> pending{tree.Root(L"N")};
    while (!pending.empty()) {
        DMXmlNode node = pending.back();
        pending.pop_back();
        names.insert(node.Attribute(L"name"));
        for (DMXmlNode child = node.FirstChild(L"N"); child.IsValid();
             child = child.NextSibling(L"N")) {
            pending.push_back(child);
        }
    }
    for (const wchar_t* name : {L"bg", L"close", L"min", L"download", L"process", L"splash"}) {
        EXPECT_EQ(names.count(name), 1u) << name;
    }

    for (void* view : {recordView, sizeView}) {
        plat::UnmapViewOfFile(view);
    }
    for (plat::HANDLE section : {record, size}) {
        plat::CloseHandle(section);
    }
}

}  // namespace
