// The install-folder field "savePath" on an X server of the test's own with the gtk driver:
// xdotool types a folder into it, and a copy from it is pasted into a second field through the
// X clipboard; a folder dragged from another window drops into a field that takes drops.
#include <gtest/gtest.h>

#include "plat/types.h"

#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>

#include "DMApp.h"
#include "DMHWnd.h"
#include "DMXml.h"
#include "DUIEdit.h"
#include "LauncherWindow.h"
#include "MessagePump.h"
#include "OnScreen.h"
#include "SkinOnScreen.h"
#include "gtk_text_drag_source.h"
#include "plat/show_commands.h"
#include "plat/text.h"

using namespace DM;
using namespace std::chrono_literals;

namespace {

constexpr LONG kWindowX = 100;
constexpr LONG kWindowY = 100;

using vael::test::PumpUntil;
using vael::test::Settle;

// Runs xdotool with `arguments` while the messages keep flowing.
void XDoTool(const std::string& arguments) {
    ASSERT_EQ(std::system(("xdotool " + arguments).c_str()), 0) << arguments;
    Settle(200ms);
}

std::string ClickAt(const RECT& rect, LONG dx) {
    return "mousemove " + std::to_string(kWindowX + rect.left + dx) + " " +
           std::to_string(kWindowY + (rect.top + rect.bottom) / 2) + " click 1";
}

// Adds an Edit made from `xml` to the host's root.
DUIEdit* AddEdit(DMHWnd& host, const std::string& xml) {
    DMXmlDocument document;
    EXPECT_TRUE(document.LoadFromBuffer(xml.data(), xml.size()));
    DMXmlNode node = document.Root();
    auto* edit = new DUIEdit;
    host.InsertChild(edit);
    edit->InitDMData(node);
    host.UpdateChildLayout();
    return edit;
}

TEST(SavePathOnScreen, TypedTextReadsBackAndCopiesThroughTheClipboard) {
    vael::test::SkinOnScreen onScreen;
    ASSERT_TRUE(onScreen.Ready());
    auto& host = onScreen.host;
    HWND window = host->DM_CreateWindow(L"main", kWindowX, kWindowY);
    ASSERT_NE(window, nullptr);
    DUIEdit* second = AddEdit(*host,
                              "<Edit name=\"second\" pos=\"306,340,@272,@14\" "
                              "clrtext=\"pbgra(ff,ff,ff,ff)\"/>");
    host->ShowWindow(plat::SW_SHOW);
    Settle(500ms);

    auto* field = static_cast<DUIRichEdit*>(host->FindChildByName(L"savePath"));
    XDoTool(ClickAt(field->m_rcWindow, 20));
    ASSERT_TRUE(PumpUntil([&] { return host->OnGetFocusWnd() == field->GetDUIWnd(); }));
    XDoTool("key ctrl+a");
    XDoTool("type --delay 20 'D:\\Games'");
    EXPECT_TRUE(PumpUntil([&] { return field->GetWindowText() == L"D:\\Games"; }))
        << "the field reads " << plat::WideToUtf8(field->GetWindowText());

    XDoTool("key ctrl+a ctrl+c");
    XDoTool(ClickAt(second->m_rcWindow, 5));
    XDoTool("key ctrl+v");
    EXPECT_TRUE(PumpUntil([&] { return second->GetWindowText() == L"D:\\Games"; }))
        << "the second field reads " << plat::WideToUtf8(second->GetWindowText());
    host->DestroyWindow();
}

TEST(SavePathOnScreen, AFolderDraggedFromAnotherWindowDropsIntoAFieldThatTakesDrops) {
    vael::test::SkinOnScreen onScreen;
    ASSERT_TRUE(onScreen.Ready());
    auto& host = onScreen.host;
    ASSERT_NE(host->DM_CreateWindow(L"main", kWindowX, kWindowY), nullptr);
    DUIEdit* field = AddEdit(*host,
                             "<Edit name=\"dropped\" pos=\"306,340,@272,@14\" "
                             "clrtext=\"pbgra(ff,ff,ff,ff)\" benabledrag=\"1\"/>");
    host->ShowWindow(plat::SW_SHOW);
    plat::test::GtkTextDragSource source({1300, 100, 1420, 160}, "D:\\游戏\\Vael");
    Settle(500ms);

    const RECT& rect = field->m_rcWindow;
    ASSERT_TRUE(plat::test::StartXdotoolDrag(
        {1360, 130}, {kWindowX + rect.left + 20, kWindowY + (rect.top + rect.bottom) / 2}));
    EXPECT_TRUE(PumpUntil([&] { return field->GetWindowText() == L"D:\\游戏\\Vael"; }, 10s))
        << "the field reads " << plat::WideToUtf8(field->GetWindowText());
    Settle(300ms);
    host->DestroyWindow();
}

}  // namespace
