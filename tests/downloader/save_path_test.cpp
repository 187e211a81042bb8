// The install-folder field "savePath" of the launcher's main window on the headless driver:
// typing over the selected text, undo, a Chinese name from an input method, and the picture of
// the field with its text and caret.
#include <gtest/gtest.h>

#include <string>

#include "DMApp.h"
#include "DMHWnd.h"
#include "DUIRichEdit.h"
#include "LauncherWindow.h"
#include "MessagePump.h"
#include "TempDir.h"
#include "Widgets/DUICaret.h"
#include "plat/headless.h"
#include "plat/keyboard.h"
#include "plat/show_commands.h"

using namespace DM;

namespace {

constexpr LONG kWindowX = 200;
constexpr LONG kWindowY = 100;
constexpr const wchar_t* kDefaultFolder = L"C:\\Program Files (x86)\\Halvorn\\Vael";

class SavePath : public ::testing::Test {
protected:
    void SetUp() override {
        plat::headless::Use();
        ASSERT_TRUE(LoadLauncherSkin(app));
        window = host->DM_CreateWindow(L"main", kWindowX, kWindowY);
        ASSERT_NE(window, nullptr);
        host->ShowWindow(plat::SW_SHOW);
        Pump();
        field = dynamic_cast<DUIRichEdit*>(host->FindChildByName(L"savePath"));
        ASSERT_NE(field, nullptr);
    }
    void TearDown() override { host->DestroyWindow(); }

    void Pump() { vael::test::PumpMessages(); }
    void ClickIntoField() {
        RECT rect = field->m_rcWindow;
        plat::headless::Click(kWindowX + rect.left + 20, kWindowY + (rect.top + rect.bottom) / 2);
        Pump();
    }
    void Chord(UINT modifier, UINT key) {
        plat::headless::PressKey(modifier);
        plat::headless::TapKey(key);
        plat::headless::ReleaseKey(modifier);
        Pump();
    }

    DMApp app;
    DMSmartPtrT<vael::test::ClickRecordingHost> host =
        DMSmartPtrT<vael::test::ClickRecordingHost>::Adopt(new vael::test::ClickRecordingHost);
    HWND window = nullptr;
    DUIRichEdit* field = nullptr;
};

TEST_F(SavePath, TypingOverTheSelectionReplacesTheFolderAndUndoBringsItBack) {
    EXPECT_EQ(field->GetWindowText(), kDefaultFolder);
    ClickIntoField();
    EXPECT_EQ(host->OnGetFocusWnd(), field->GetDUIWnd());
    Chord(plat::VK_CONTROL, 'A');
    plat::headless::TypeText(L"D:\\Games");
    Pump();
    EXPECT_EQ(field->GetWindowText(), L"D:\\Games");
    Chord(plat::VK_CONTROL, 'Z');
    EXPECT_EQ(field->GetWindowText(), kDefaultFolder);
}

TEST_F(SavePath, AChineseFolderNameFromTheInputMethodIsInsertedOnce) {
    ClickIntoField();
    Chord(plat::VK_CONTROL, 'A');
    plat::headless::TypeText(L"D:\\");
    plat::headless::Compose(L"youxi", 5);
    Pump();
    plat::headless::Compose(L"游戏", 2);
    Pump();
    plat::headless::CommitComposition(L"游戏目录");
    Pump();
    EXPECT_EQ(field->GetWindowText(), L"D:\\游戏目录");
}

TEST_F(SavePath, ThePictureShowsTheTextAndTheCaret) {
    plat::headless::StartVirtualClock();
    ClickIntoField();
    plat::headless::AdvanceClock(20);
    Pump();
    auto picture = plat::headless::PresentedPicture(window);
    ASSERT_TRUE(picture);
    vael::test::TempDir folder;
    EXPECT_TRUE(plat::headless::SavePresentedPicture(window, folder / "save-path.png"));
    RECT rect = field->m_rcWindow;
    int white = 0;
    for (LONG y = rect.top; y < rect.bottom; ++y) {
        for (LONG x = rect.left; x < rect.right; ++x) {
            white += picture->At(x, y) == 0xFFFFFFFFu;
        }
    }
    EXPECT_GT(white, 10) << "the folder's text in white";
    DUICaret* caret = static_cast<DUICaret*>(field->GetWindow(GDW_LASTCHILD));
    ASSERT_NE(caret, nullptr);
    RECT at = caret->m_rcWindow;
    ASSERT_TRUE(caret->IsVisible(true));
    EXPECT_GT(at.left, rect.left) << "after the first characters";
    EXPECT_EQ(picture->At(at.left, (at.top + at.bottom) / 2), 0xFFC0C0C0u) << "the grey caret";
    plat::headless::StopVirtualClock();
}

}  // namespace
