// The rich edit and the plain edit in a host window on the headless driver, over the platform's
// text engine: creation, the keys and characters the edit keeps from the engine, the limits,
// select-all on focus, the caret and the surface of an empty plain edit.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DMApp.h"
#include "DMHWnd.h"
#include "DMRectHelpers.h"
#include "DUIEdit.h"
#include "DUIRichEdit.h"
#include "LayoutFolder.h"
#include "MessagePump.h"
#include "TempDir.h"
#include "Widgets/DUICaret.h"
#include "plat/drag_drop.h"
#include "plat/headless.h"
#include "plat/input_method.h"
#include "plat/keyboard.h"
#include "plat/messages.h"
#include "plat/show_commands.h"

using namespace DM;

namespace {

constexpr LONG kWindowX = 200;
constexpr LONG kWindowY = 100;

constexpr const char* kLayout = R"xml(<dm initsize="400,300" clrbg="pbgra(20,20,20,ff)">
  <root>
    <RichEdit name="rich" pos="10,10,@150,@40" text="rich"/>
    <Edit name="plain" pos="10,60,@150,@40" text="plain"/>
    <Edit name="digits" pos="10,110,@150,@24" bnumber="1"/>
    <Edit name="limited" pos="10,140,@150,@24" maxbuf="5"/>
    <Edit name="returns" pos="200,10,@150,@100" bmultilines="1" bwantreturn="1"/>
    <Edit name="noreturns" pos="200,120,@150,@100" bmultilines="1"/>
    <Edit name="single" pos="10,170,@150,@24" bwantreturn="1"/>
    <Edit name="autosel" pos="10,200,@150,@24" bautosel="1" text="select me"/>
    <Edit name="hint" pos="10,230,@150,@24" surfacetext="Folder" clrcaret="pbgra(ff,00,00,ff)"/>
    <Edit name="drop" pos="10,260,@150,@24" benabledrag="1" text="ab"/>
    <Edit name="fixeddrop" pos="200,230,@150,@24" benabledrag="1" breadonly="1" text="fixed"/>
    <Edit name="secret" pos="200,260,@150,@24" bpassword="1"/>
  </root>
</dm>)xml";

// Two hosts without a background: one translucent, one opaque.
constexpr const char* kGlass = R"xml(<dm initsize="200,60" btranslucent="1">
  <root><Edit name="field" pos="10,10,@180,@40" text="glass" clrtext="pbgra(ff,ff,ff,ff)"/></root>
</dm>)xml";
constexpr const char* kMatte = R"xml(<dm initsize="200,60">
  <root><Edit name="field" pos="10,10,@180,@40" text="matte" clrtext="pbgra(ff,ff,ff,ff)"/></root>
</dm>)xml";

class RichEdit : public ::testing::Test {
protected:
    void SetUp() override {
        plat::headless::Use();
        std::wstring root = vael::test::WriteLayoutFolder(
            folder.path(), std::initializer_list<std::pair<const char*, const char*>>{
                               {"edits", kLayout}, {"glass", kGlass}, {"matte", kMatte}});
        ASSERT_EQ(app.LoadResPack(reinterpret_cast<WPARAM>(root.c_str()), 0, nullptr), DM_ECODE_OK);
        host.Attach(new DMHWnd);
        host->DM_CreateWindow(L"edits", kWindowX, kWindowY);
        host->ShowWindow(plat::SW_SHOW);
        Pump();
    }
    void TearDown() override { host->DestroyWindow(); }

    void Pump() { vael::test::PumpMessages(); }
    DUIRichEdit* Edit(const wchar_t* name) {
        return static_cast<DUIRichEdit*>(host->FindChildByName(name));
    }
    void ClickInto(DUIRichEdit* edit, LONG dx = 5) {
        RECT rect = edit->m_rcWindow;
        plat::headless::Click(kWindowX + rect.left + dx, kWindowY + (rect.top + rect.bottom) / 2);
        Pump();
    }
    void Type(const std::wstring& text) {
        plat::headless::TypeText(text);
        Pump();
    }
    void Tap(UINT key) {
        plat::headless::TapKey(key);
        Pump();
    }
    std::pair<DWORD, DWORD> Selection(DUIRichEdit* edit) {
        DWORD start = 0;
        DWORD end = 0;
        edit->SendMessage(plat::EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                          reinterpret_cast<LPARAM>(&end));
        return {start, end};
    }

    vael::test::TempDir folder;
    DMApp app;
    DMSmartPtrT<DMHWnd> host;
};

TEST_F(RichEdit, EditsAreMadeWithTheirEngineAndText) {
    EXPECT_TRUE(Edit(L"rich")->IsClass(L"ScrollBase"));
    EXPECT_TRUE(Edit(L"plain")->IsClass(L"RichEdit"));
    EXPECT_STREQ(Edit(L"plain")->GetClassName(), L"Edit");
    ASSERT_NE(Edit(L"rich")->GetTextServices(), nullptr);
    EXPECT_EQ(Edit(L"rich")->GetWindowText(), L"rich");
    EXPECT_EQ(Edit(L"plain")->GetWindowText(), L"plain");
    EXPECT_TRUE(Edit(L"rich")->IsFocusable()) << "edits take the focus by default";
}

TEST_F(RichEdit, OnlyAPlainSingleLineIsCentredVertically) {
    DUIRichEdit* plain = Edit(L"plain");
    DUIRichEdit* rich = Edit(L"rich");
    ASSERT_GT(plain->m_nLineHeight, 0);
    LONG margin = (40 - plain->m_nLineHeight) / 2;
    EXPECT_EQ(plain->m_rcInset.top, 2540 * margin / 96);
    EXPECT_EQ(plain->m_rcInset.top, plain->m_rcInset.bottom);
    EXPECT_EQ(rich->m_rcInset.top, 0) << "rich text starts at the top margin";
}

TEST_F(RichEdit, EnterReachesTheEngineOnlyWhenWanted) {
    DUIRichEdit* noReturns = Edit(L"noreturns");
    ClickInto(noReturns);
    Type(L"a");
    bool handled = true;
    noReturns->SendMessage(plat::WM_KEYDOWN, plat::VK_RETURN, 0, &handled);
    EXPECT_FALSE(handled) << "Enter without \"bwantreturn\" is left to the widget base";
    Type(L"\r");
    EXPECT_EQ(noReturns->GetWindowText(), L"a") << "and inserts no line";

    DUIRichEdit* returns = Edit(L"returns");
    ClickInto(returns);
    Type(L"a");
    Tap(plat::VK_RETURN);
    Type(L"b");
    EXPECT_EQ(returns->GetWindowText(), L"a\r\nb");

    DUIRichEdit* single = Edit(L"single");
    struct Counter {
        DMCode On(DMEventArgs*) {
            ++count;
            return DM_ECODE_OK;
        }
        int count = 0;
    } wantReturn;
    single->GetEventMgr().SubscribeEvent(DMEventREWantReturnArgs::EventID,
                                         Subscriber(&Counter::On, &wantReturn));
    ClickInto(single);
    Tap(plat::VK_RETURN);
    EXPECT_EQ(wantReturn.count, 1) << "a single line that wants Enter reports it";
}

TEST_F(RichEdit, ADigitsOnlyEditTakesDigitsAndNumberSigns) {
    DUIRichEdit* digits = Edit(L"digits");
    ClickInto(digits);
    Type(L"a1-b,2.c");
    EXPECT_EQ(digits->GetWindowText(), L"1-,2.");
    plat::headless::CommitComposition(L"中文");
    Pump();
    EXPECT_EQ(digits->GetWindowText(), L"1-,2.") << "compositions are dropped";
}

TEST_F(RichEdit, APasswordEditTakesNoCompositionWhileAnOrdinaryOneDoes) {
    DUIRichEdit* secret = Edit(L"secret");
    ClickInto(secret);
    EXPECT_EQ(plat::ImmGetContext(host->m_hWnd), nullptr);
    EXPECT_FALSE(plat::headless::Surface(host->m_hWnd)->inputMethodEnabled);
    plat::headless::Compose(L"mi", 2);
    plat::headless::CommitComposition(L"密码");
    Type(L"pw");
    EXPECT_EQ(secret->GetWindowText(), L"pw") << "keys still type, compositions do not";

    DUIRichEdit* plain = Edit(L"plain");
    ClickInto(plain, 2);
    EXPECT_NE(plat::ImmGetContext(host->m_hWnd), nullptr);
    EXPECT_TRUE(plat::headless::Surface(host->m_hWnd)->inputMethodEnabled);
    plat::headless::Compose(L"zhong", 5);
    plat::headless::CommitComposition(L"中");
    Pump();
    EXPECT_EQ(plain->GetWindowText(), L"中plain");
}

// Drops land at the point in fields that take them, as one step Ctrl+Z takes back.
TEST_F(RichEdit, TextDroppedOnAnEditGoesInAndReadOnlyEditsRefuseIt) {
    DUIRichEdit* drop = Edit(L"drop");
    RECT rect = drop->m_rcWindow;
    LONG y = kWindowY + (rect.top + rect.bottom) / 2;
    POINT end{};
    drop->SendMessage(plat::EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&end), 2);
    auto pixelAtEnd = [&] {
        host->OnUpdateWindow();
        Pump();
        return plat::headless::PresentedPicture(host->m_hWnd)->At(end.x + 1, end.y + 2);
    };
    EXPECT_NE(pixelAtEnd(), 0xFF000000u);
    EXPECT_EQ(plat::headless::DragTextTo(L"cd", kWindowX + rect.right - 5, y),
              plat::DROPEFFECT_MOVE);
    EXPECT_EQ(pixelAtEnd(), 0xFF000000u) << "the unfocused field shows the drop caret";
    EXPECT_EQ(plat::headless::DropText(L"cd", kWindowX + rect.right - 5, y), plat::DROPEFFECT_MOVE);
    Pump();
    EXPECT_NE(pixelAtEnd(), 0xFF000000u) << "the drop caret went with the drop";
    EXPECT_EQ(drop->GetWindowText(), L"abcd");
    EXPECT_TRUE(drop->IsFocused()) << "the drop takes the focus";
    plat::headless::PressKey(plat::VK_CONTROL);
    Tap('Z');
    plat::headless::ReleaseKey(plat::VK_CONTROL);
    EXPECT_EQ(drop->GetWindowText(), L"ab");

    DUIRichEdit* fixed = Edit(L"fixeddrop");
    rect = fixed->m_rcWindow;
    y = kWindowY + (rect.top + rect.bottom) / 2;
    EXPECT_EQ(plat::headless::DropText(L"cd", kWindowX + rect.left + 5, y), plat::DROPEFFECT_NONE);
    EXPECT_EQ(fixed->GetWindowText(), L"fixed");
    rect = Edit(L"plain")->m_rcWindow;
    EXPECT_EQ(plat::headless::DropText(L"cd", kWindowX + rect.left + 5, kWindowY + rect.top + 5),
              plat::DROPEFFECT_NONE)
        << "an edit without \"benabledrag\" takes no drops";
}

TEST_F(RichEdit, LimitsOfTheText) {
    DUIRichEdit* limited = Edit(L"limited");
    ClickInto(limited);
    Type(L"1234567");
    EXPECT_EQ(limited->GetWindowText(), L"12345") << "typing stops at \"maxbuf\"";
    EXPECT_TRUE(limited->SetWindowText(L"0123456789"));
    EXPECT_EQ(limited->GetWindowText(), L"0123456789") << "a longer text raises the limit";
    EXPECT_EQ(limited->m_cchTextMost, 10);
    EXPECT_TRUE(limited->SetLimitText(0));
    EXPECT_EQ(limited->m_cchTextMost, 32767);
    DUIRichEdit* plain = Edit(L"plain");
    plat::CHARFORMAT2W wrongSize{};
    wrongSize.cbSize = 92;
    EXPECT_EQ(plain->SendMessage(plat::EM_SETCHARFORMAT, 0, reinterpret_cast<LPARAM>(&wrongSize)),
              0);
}

TEST_F(RichEdit, TheFocusingClickOfAnAutoSelectEditSelectsEverything) {
    DUIRichEdit* autosel = Edit(L"autosel");
    ClickInto(autosel, 40);
    EXPECT_EQ(Selection(autosel), (std::pair<DWORD, DWORD>{0, 9}));
    Type(L"x");
    EXPECT_EQ(autosel->GetWindowText(), L"x");
    DUIRichEdit* plain = Edit(L"plain");
    ClickInto(plain, 2);
    EXPECT_EQ(Selection(plain), (std::pair<DWORD, DWORD>{0, 0}))
        << "a plain click places the caret";
}

TEST_F(RichEdit, TheSurfaceShowsWhileEmptyAndUnfocusedAndTheCaretWhileFocused) {
    auto* hint = static_cast<DUIEdit*>(Edit(L"hint"));
    auto surfacePixels = [&] {
        host->OnUpdateWindow();
        Pump();
        auto picture = plat::headless::PresentedPicture(host->m_hWnd);
        int count = 0;
        RECT rect = hint->m_rcWindow;
        for (LONG y = rect.top; y < rect.bottom; ++y) {
            for (LONG x = rect.left; x < rect.right; ++x) {
                count += picture->At(x, y) == 0xFFCCCCCCu;
            }
        }
        return count;
    };
    EXPECT_TRUE(hint->IsSurfaceShown());
    EXPECT_GT(surfacePixels(), 5) << "the surface text in its light grey";
    ClickInto(hint);
    EXPECT_FALSE(hint->IsSurfaceShown());
    EXPECT_EQ(surfacePixels(), 0) << "focus hides the surface";
    DUICaret* caret = hint->GetCaret();
    ASSERT_NE(caret, nullptr);
    EXPECT_TRUE(caret->IsVisible(true));
    auto picture = plat::headless::PresentedPicture(host->m_hWnd);
    RECT at = caret->m_rcWindow;
    EXPECT_GT(at.bottom - at.top, 5);
    EXPECT_EQ(picture->At(at.left, (at.top + at.bottom) / 2), 0xFF0000FFu) << "a blue caret";
    host->OnSetFocusWnd(0);
    Pump();
    EXPECT_FALSE(caret->IsVisible(true)) << "no caret without the focus";
}

TEST_F(RichEdit, OnlyAnOpaqueHostMakesTheTextAreaOpaque) {
    auto alphaBesideTheText = [&](const wchar_t* layout) {
        auto other = DMSmartPtrT<DMHWnd>::Adopt(new DMHWnd);
        other->DM_CreateWindow(layout, 600, 400);
        other->ShowWindow(plat::SW_SHOW);
        Pump();
        auto picture = plat::headless::PresentedPicture(other->m_hWnd);
        std::uint32_t far = picture->At(180, 30);
        int brightText = 0;
        for (LONG x = 10; x < 100; ++x) {
            for (LONG y = 10; y < 50; ++y) {
                brightText += (picture->At(x, y) & 0xFF) > 0x80;
            }
        }
        other->DestroyWindow();
        return std::pair{far >> 24, brightText};
    };
    auto [glass, glassText] = alphaBesideTheText(L"glass");
    auto [matte, matteText] = alphaBesideTheText(L"matte");
    EXPECT_EQ(glass, 0u) << "a translucent host keeps the transparent pixels";
    EXPECT_GT(glassText, 0) << "and the text's own";
    EXPECT_EQ(matte, 0xFFu) << "an opaque host's text area is opaque";
    EXPECT_GT(matteText, 0);
}

}  // namespace
