// The windowless text services, driven as a rich edit drives them: a host that records what
// the engine asks of it, and a headless window whose keyboard, mouse and input-method messages
// go to the engine.
#include <cairo.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <set>

#include "plat/clipboard.h"
#include "plat/drag_drop.h"
#include "plat/headless.h"
#include "plat/input.h"
#include "plat/keyboard.h"
#include "plat/module.h"
#include "plat/system_colors.h"
#include "plat/text_services.h"
#include "window_test_support.h"

namespace plat::test {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::Not;

constexpr RECT kWindow{100, 100, 500, 300};
constexpr LONG kTwipsOf12Pixels = 180;

void SetFace(CHARFORMAT2W& format, const char16_t* face) {
    std::memset(format.szFaceName, 0, sizeof(format.szFaceName));
    std::char_traits<char16_t>::copy(format.szFaceName, face,
                                     std::char_traits<char16_t>::length(face));
}

// Answers the engine from its fields and records the calls that show something.
class RecordingHost final : public ITextHost {
public:
    explicit RecordingHost(HWND window) : window(window) {
        charFormat.cbSize = sizeof(CHARFORMAT2W);
        charFormat.dwMask = CFM_SIZE | CFM_FACE | CFM_COLOR | CFM_BOLD | CFM_ITALIC;
        charFormat.yHeight = kTwipsOf12Pixels;
        charFormat.crTextColor = RGB(0x20, 0x40, 0x60);
        SetFace(charFormat, u"DejaVu Sans");
        paraFormat.cbSize = sizeof(PARAFORMAT2);
        paraFormat.dwMask = PFM_ALIGNMENT;
        paraFormat.wAlignment = PFA_LEFT;
    }

    struct Notification {
        DWORD code;
        CHARRANGE selection;
    };
    struct Bar {
        bool shown = false;
        LONG max = 0;
        int position = 0;
    };

    HWND window;
    RECT client{10, 10, 210, 34};
    DWORD bits = TXTBIT_HIDESELECTION;
    DWORD scrollBars = ES_AUTOHSCROLL | ES_AUTOVSCROLL;
    DWORD maxLength = 32767;
    wchar_t passwordChar = L'*';
    TXTBACKSTYLE backStyle = TXTBACK_TRANSPARENT;
    CHARFORMAT2W charFormat{};
    PARAFORMAT2 paraFormat{};

    std::vector<Notification> notifications;
    std::vector<DWORD> Codes() const {
        std::vector<DWORD> codes;
        for (const Notification& notification : notifications) {
            codes.push_back(notification.code);
        }
        return codes;
    }
    POINT caret{-1, -1};
    SIZE caretSize{0, 0};
    bool caretShown = false;
    bool captured = false;
    std::set<UINT> timers;
    int invalidations = 0;
    Bar bars[2];

    HRESULT QueryInterface(REFIID iid, void** object) override {
        *object = iid == IID_IUnknown || iid == IID_ITextHost ? this : nullptr;
        return *object ? S_OK : E_NOINTERFACE;
    }
    ULONG AddRef() override { return 1; }
    ULONG Release() override { return 1; }

    HDC TxGetDC() override { return GetDC(window); }
    int TxReleaseDC(HDC hdc) override { return ReleaseDC(window, hdc); }
    BOOL TxShowScrollBar(int bar, BOOL show) override {
        bars[bar].shown = show;
        return TRUE;
    }
    BOOL TxEnableScrollBar(int, int) override { return TRUE; }
    BOOL TxSetScrollRange(int bar, LONG, int max, BOOL) override {
        bars[bar].max = max;
        return TRUE;
    }
    BOOL TxSetScrollPos(int bar, int position, BOOL) override {
        bars[bar].position = position;
        return TRUE;
    }
    void TxInvalidateRect(const RECT*, BOOL) override { ++invalidations; }
    void TxViewChange(BOOL) override {}
    BOOL TxCreateCaret(HBITMAP, int width, int height) override {
        caretSize = {width, height};
        caretShown = false;
        return TRUE;
    }
    BOOL TxShowCaret(BOOL show) override {
        caretShown = show;
        return TRUE;
    }
    BOOL TxSetCaretPos(int x, int y) override {
        caret = {x, y};
        return TRUE;
    }
    BOOL TxSetTimer(UINT id, UINT) override {
        timers.insert(id);
        return TRUE;
    }
    void TxKillTimer(UINT id) override { timers.erase(id); }
    void TxScrollWindowEx(int, int, const RECT*, const RECT*, HRGN, RECT*, UINT) override {}
    void TxSetCapture(BOOL capture) override { captured = capture; }
    void TxSetFocus() override {}
    void TxSetCursor(HCURSOR, BOOL) override {}
    BOOL TxScreenToClient(POINT* point) override { return ScreenToClient(window, point); }
    BOOL TxClientToScreen(POINT*) override { return TRUE; }
    HRESULT TxActivate(LONG*) override { return S_OK; }
    HRESULT TxDeactivate(LONG) override { return S_OK; }
    HRESULT TxGetClientRect(RECT* rect) override {
        *rect = client;
        return S_OK;
    }
    HRESULT TxGetViewInset(RECT* rect) override {
        *rect = {0, 0, 0, 0};
        return S_OK;
    }
    HRESULT TxGetCharFormat(const CHARFORMATW** format) override {
        *format = &charFormat;
        return S_OK;
    }
    HRESULT TxGetParaFormat(const PARAFORMAT** format) override {
        *format = &paraFormat;
        return S_OK;
    }
    COLORREF TxGetSysColor(int index) override { return GetSysColor(index); }
    HRESULT TxGetBackStyle(TXTBACKSTYLE* style) override {
        *style = backStyle;
        return S_OK;
    }
    HRESULT TxGetMaxLength(DWORD* length) override {
        *length = maxLength;
        return S_OK;
    }
    HRESULT TxGetScrollBars(DWORD* bars) override {
        *bars = scrollBars;
        return S_OK;
    }
    HRESULT TxGetPasswordChar(wchar_t* character) override {
        *character = passwordChar;
        return S_OK;
    }
    HRESULT TxGetAcceleratorPos(LONG* position) override {
        *position = -1;
        return S_OK;
    }
    HRESULT TxGetExtent(SIZE*) override { return E_FAIL; }
    HRESULT OnTxCharFormatChange(const CHARFORMATW*) override { return S_OK; }
    HRESULT OnTxParaFormatChange(const PARAFORMAT*) override { return S_OK; }
    HRESULT TxGetPropertyBits(DWORD mask, DWORD* result) override {
        *result = bits & mask;
        return S_OK;
    }
    HRESULT TxNotify(DWORD code, void* data) override {
        CHARRANGE selection{-1, -1};
        if (code == EN_SELCHANGE) {
            selection = static_cast<SELCHANGE*>(data)->chrg;
        }
        notifications.push_back({code, selection});
        return S_OK;
    }
    HIMC TxImmGetContext() override { return ImmGetContext(window); }
    void TxImmReleaseContext(HIMC context) override { ImmReleaseContext(window, context); }
    HRESULT TxGetSelectionBarWidth(LONG* width) override {
        *width = 0;
        return S_OK;
    }
};

struct Surface {
    cairo_surface_t* surface;
    explicit Surface(int width = kWindow.right - kWindow.left,
                     int height = kWindow.bottom - kWindow.top)
        : surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height)) {}
    ~Surface() { cairo_surface_destroy(surface); }
    std::uint32_t At(int x, int y) const {
        cairo_surface_flush(surface);
        const unsigned char* row =
            cairo_image_surface_get_data(surface) +
            static_cast<std::ptrdiff_t>(y) * cairo_image_surface_get_stride(surface);
        return reinterpret_cast<const std::uint32_t*>(row)[x];
    }
    // The pixels of the rectangle, row by row.
    std::vector<std::uint32_t> Pixels(const RECT& rect) const {
        std::vector<std::uint32_t> pixels;
        for (LONG y = rect.top; y < rect.bottom; ++y) {
            for (LONG x = rect.left; x < rect.right; ++x) {
                pixels.push_back(At(x, y));
            }
        }
        return pixels;
    }
};

BYTE Alpha(std::uint32_t pixel) {
    return static_cast<BYTE>(pixel >> 24);
}

std::vector<UINT> Modifiers(bool control, bool shift) {
    std::vector<UINT> keys;
    if (control) {
        keys.push_back(VK_CONTROL);
    }
    if (shift) {
        keys.push_back(VK_SHIFT);
    }
    return keys;
}

class TextServicesTest : public WindowSystemTest {
protected:
    void SetUp() override {
        WindowSystemTest::SetUp();
        window = CreateRecordingWindow(WS_POPUP | WS_VISIBLE, kWindow);
        SetActiveWindow(window);
        SetFocus(window);
        host = std::make_unique<RecordingHost>(window);
        Create();
        React([this](HWND, UINT message, WPARAM wParam, LPARAM lParam) -> std::optional<LRESULT> {
            bool forwarded =
                (message >= WM_KEYDOWN && message <= WM_CHAR) ||
                (message >= WM_IME_STARTCOMPOSITION && message <= WM_IME_COMPOSITION) ||
                (message >= WM_MOUSEMOVE && message <= WM_LBUTTONDBLCLK);
            LRESULT result = 0;
            if (forwarded && services &&
                services->TxSendMessage(message, wParam, lParam, &result) == S_OK) {
                return result;
            }
            return std::nullopt;
        });
    }

    void TearDown() override {
        React(nullptr);
        if (services) {
            services->Release();
        }
        WindowSystemTest::TearDown();
    }

    // Found the way the rich edit finds it: the built-in library's export.
    void Create() {
        HMODULE library = LoadLibraryW(L"riched20.dll");
        ASSERT_NE(library, nullptr);
        auto create =
            reinterpret_cast<PCreateTextServices>(GetProcAddress(library, "CreateTextServices"));
        ASSERT_NE(create, nullptr);
        IUnknown* unknown = nullptr;
        ASSERT_EQ(create(nullptr, host.get(), &unknown), S_OK);
        void* object = nullptr;
        ASSERT_EQ(unknown->QueryInterface(IID_ITextServices, &object), S_OK);
        unknown->Release();
        services = static_cast<ITextServices*>(object);
        services->OnTxInPlaceActivate(nullptr);
        Send(WM_SETFOCUS);
    }

    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        LRESULT result = 0;
        services->TxSendMessage(message, wParam, lParam, &result);
        return result;
    }
    void PropertiesChanged() { services->OnTxPropertyBitsChange(0xFFFFFFFF, host->bits); }

    void SetText(const std::wstring& text) {
        Send(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    std::wstring Text() {
        std::wstring text;
        services->TxGetText(&text);
        return text;
    }
    void Select(LONG start, LONG end) { Send(EM_SETSEL, static_cast<WPARAM>(start), end); }
    CHARRANGE Selection() {
        CHARRANGE range{};
        Send(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
        return range;
    }

    void Type(const std::wstring& text) {
        headless::TypeText(text);
        Pump();
    }
    void Key(UINT key, bool control = false, bool shift = false) {
        for (UINT modifier : Modifiers(control, shift)) {
            headless::PressKey(modifier);
        }
        headless::TapKey(key);
        for (UINT modifier : Modifiers(control, shift)) {
            headless::ReleaseKey(modifier);
        }
        Pump();
    }
    // A point of the host's client area on the screen.
    POINT OnScreen(LONG x, LONG y) const {
        return {kWindow.left + host->client.left + x, kWindow.top + host->client.top + y};
    }
    // The x of the caret before character `position`, in the host's coordinates.
    LONG CaretX(LONG position) {
        POINT point{};
        Send(EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&point), position);
        return point.x;
    }

    void Draw(Surface& surface, POINT origin = {0, 0}) {
        TextCanvas canvas{surface.surface, origin};
        ASSERT_EQ(
            services->TxDraw(DVASPECT_CONTENT, 0, nullptr, nullptr, CanvasContext(&canvas), nullptr,
                             &host->client, nullptr, nullptr, nullptr, 0, TXTVIEW_ACTIVE),
            S_OK);
    }

    HWND window = nullptr;
    std::unique_ptr<RecordingHost> host;
    ITextServices* services = nullptr;
};

TEST_F(TextServicesTest, TheBuiltInLibraryAnswersOnlyItsOwnNameAndExport) {
    EXPECT_NE(LoadLibraryW(L"C:\\Windows\\System32\\RichEd20.DLL"), nullptr);
    EXPECT_EQ(LoadLibraryW(L"user32.dll"), nullptr);
    EXPECT_EQ(GetProcAddress(LoadLibraryW(L"riched20.dll"), "CreateTextServicesEx"), nullptr);
    void* object = nullptr;
    EXPECT_EQ(services->QueryInterface(IID_ITextHost, &object), E_NOINTERFACE);
    IUnknown* unknown = nullptr;
    EXPECT_TRUE(FAILED(CreateTextServices(services, host.get(), &unknown)));
    EXPECT_EQ(unknown, nullptr);
}

TEST_F(TextServicesTest, KeysMoveTheCaretAndShiftExtendsTheSelection) {
    SetText(L"alpha beta  gamma");  // 17 characters; words start at 0, 6 and 12
    struct Case {
        CHARRANGE before;  // anchor, caret
        UINT key;
        bool control;
        bool shift;
        CHARRANGE after;
    };
    const Case cases[] = {
        {{3, 3}, VK_LEFT, false, false, {2, 2}},    {{3, 3}, VK_RIGHT, false, false, {4, 4}},
        {{0, 0}, VK_RIGHT, true, false, {6, 6}},    {{6, 6}, VK_RIGHT, true, false, {12, 12}},
        {{17, 17}, VK_LEFT, true, false, {12, 12}}, {{8, 8}, VK_LEFT, true, false, {6, 6}},
        {{8, 8}, VK_HOME, false, false, {0, 0}},    {{8, 8}, VK_END, false, false, {17, 17}},
        {{5, 5}, VK_LEFT, false, true, {4, 5}},     {{0, 0}, VK_RIGHT, true, true, {0, 6}},
        {{2, 8}, VK_LEFT, false, false, {2, 2}},    {{2, 8}, VK_RIGHT, false, false, {8, 8}},
        {{4, 4}, 'A', true, false, {0, 17}},        {{4, 4}, VK_UP, false, false, {0, 0}},
        {{4, 4}, VK_DOWN, false, true, {4, 17}},
    };
    for (const Case& test : cases) {
        Select(test.before.cpMin, test.before.cpMax);
        Key(test.key, test.control, test.shift);
        CHARRANGE after = Selection();
        EXPECT_EQ(after.cpMin, test.after.cpMin) << "key " << test.key;
        EXPECT_EQ(after.cpMax, test.after.cpMax) << "key " << test.key;
    }
    EXPECT_EQ(Text(), L"alpha beta  gamma");
}

TEST_F(TextServicesTest, TypingReplacesTheSelectionAndDeletionGoesByCharacterOrWord) {
    struct Case {
        CHARRANGE selection;
        UINT key;
        bool control;
        std::wstring text;
        LONG caret;
    };
    const Case cases[] = {
        {{5, 5}, VK_BACK, false, L"alph beta", 4}, {{5, 5}, VK_DELETE, false, L"alphabeta", 5},
        {{8, 8}, VK_BACK, true, L"alpha ta", 6},   {{0, 0}, VK_DELETE, true, L"beta", 0},
        {{1, 7}, VK_BACK, false, L"aeta", 1},      {{0, 0}, VK_BACK, false, L"alpha beta", 0},
    };
    for (const Case& test : cases) {
        SetText(L"alpha beta");
        Select(test.selection.cpMin, test.selection.cpMax);
        Key(test.key, test.control);
        EXPECT_EQ(Text(), test.text) << "key " << test.key;
        EXPECT_EQ(Selection().cpMin, test.caret) << "key " << test.key;
    }
    SetText(L"alpha beta");
    Select(0, 5);
    Type(L"Ω下");
    EXPECT_EQ(Text(), L"Ω下 beta");
    Key('B', true);  // a control character inserts nothing
    EXPECT_EQ(Text(), L"Ω下 beta");
}

TEST_F(TextServicesTest, TheClipboardKeysCopyCutAndPasteThroughThePlatformClipboard) {
    SetText(L"alpha beta");
    Select(6, 10);
    Key('C', true);
    EXPECT_EQ(GetClipboardText(), L"beta");
    Select(0, 0);
    Key('V', true);
    EXPECT_EQ(Text(), L"betaalpha beta");
    Select(4, 9);
    Key(VK_DELETE, false, true);  // Shift+Delete cuts
    EXPECT_EQ(Text(), L"beta beta");
    EXPECT_EQ(GetClipboardText(), L"alpha");
    Key(VK_INSERT, false, true);  // Shift+Insert pastes
    EXPECT_EQ(Text(), L"betaalpha beta");
    Select(0, 4);
    Key(VK_INSERT, true);  // Ctrl+Insert copies
    Key('X', true);
    EXPECT_EQ(GetClipboardText(), L"beta");
    EXPECT_EQ(Text(), L"alpha beta");

    SetClipboardText(L"one\r\ntwo");  // a single line takes the first line only
    Select(0, 10);
    Send(WM_PASTE);
    EXPECT_EQ(Text(), L"one");

    host->bits |= TXTBIT_USEPASSWORD;  // a password is never copied out
    PropertiesChanged();
    Select(0, 3);
    Key('C', true);
    Key('X', true);
    EXPECT_EQ(GetClipboardText(), L"one\r\ntwo");
    EXPECT_EQ(Text(), L"one");
}

TEST_F(TextServicesTest, UndoRevertsTypedRunsAsOneStepAndRedoAppliesThemAgain) {
    SetText(L"C:\\Old");
    Key('A', true);
    Type(L"D:\\Games");
    EXPECT_EQ(Text(), L"D:\\Games");
    Key('Z', true);
    EXPECT_EQ(Text(), L"C:\\Old");
    EXPECT_EQ(Selection().cpMax, 6);
    Key('Y', true);
    EXPECT_EQ(Text(), L"D:\\Games");

    SetText(L"");
    Type(L"abc");
    Key(VK_LEFT);  // moving the caret ends the run
    Type(L"xy");
    Key(VK_BACK);
    Key(VK_BACK);  // a run of deletions is one step too
    EXPECT_EQ(Text(), L"abc");
    EXPECT_EQ(Send(EM_CANUNDO), TRUE);
    Send(EM_UNDO);
    EXPECT_EQ(Text(), L"abxyc");
    Send(EM_UNDO);
    EXPECT_EQ(Text(), L"abc");
    Send(EM_UNDO);
    EXPECT_EQ(Text(), L"");
    EXPECT_EQ(Send(EM_CANUNDO), FALSE);
    Key('Z', true, true);  // Ctrl+Shift+Z redoes
    EXPECT_EQ(Text(), L"abc");
    EXPECT_EQ(Send(EM_CANREDO), TRUE);
}

TEST_F(TextServicesTest, TheMaximumLengthCutsInsertionsAndSaysSo) {
    host->maxLength = 5;
    PropertiesChanged();
    Type(L"abcdefg");
    EXPECT_EQ(Text(), L"abcde");
    EXPECT_THAT(host->Codes(), Contains(EN_MAXTEXT));
    SetClipboardText(L"XYZ");
    Select(1, 2);
    Send(WM_PASTE);
    EXPECT_EQ(Text(), L"aXcde");
    SetText(L"longer than the limit");  // set text is never cut: nothing is lost
    EXPECT_EQ(Text(), L"longer than the limit");
    Send(EM_EXLIMITTEXT, 0, 0);
    EXPECT_EQ(Send(EM_GETLIMITTEXT), 32767);
}

TEST_F(TextServicesTest, AReadOnlyTextTakesNoEditsButCanBeCopied) {
    SetText(L"fixed");
    Send(EM_SETREADONLY, TRUE);
    Select(0, 5);
    Type(L"x");
    Key(VK_BACK);
    Key('X', true);
    Send(WM_PASTE);
    EXPECT_EQ(Text(), L"fixed");
    Key('C', true);
    EXPECT_EQ(GetClipboardText(), L"fixed");
}

// The engine's drop target registered for the window, as a rich edit's host window hands drags
// on to it.
class TextDropTest : public TextServicesTest {
protected:
    void SetUp() override {
        TextServicesTest::SetUp();
        IDropTarget* target = nullptr;
        ASSERT_EQ(services->TxGetDropTarget(&target), S_OK);
        ASSERT_EQ(RegisterDragDrop(window, target), S_OK);
        target->Release();
    }
    void TearDown() override {
        RevokeDragDrop(window);
        TextServicesTest::TearDown();
    }
    // The screen point of the caret place before character `position`.
    POINT Before(LONG position) { return OnScreen(CaretX(position) - host->client.left + 1, 12); }
    // A pixel of the drawn text at the caret place before `position`, near the top of the line
    // where these letters leave the canvas bare.
    std::uint32_t AtCaretPlace(LONG position) {
        Surface surface;
        Draw(surface);
        return surface.At(CaretX(position) + 1, host->client.top + 2);
    }
    static constexpr std::uint32_t kTextColour = 0xFF204060;  // the host's, as cairo stores it
};

TEST_F(TextDropTest, ADropCaretFollowsTheDragAndTheDropInsertsThereAsOneUndoableStep) {
    SetText(L"hello world");
    Select(0, 2);
    POINT six = Before(6);
    EXPECT_EQ(AtCaretPlace(6), 0u);
    EXPECT_EQ(headless::DragTextTo(L"big ", six.x, six.y), DROPEFFECT_MOVE);
    EXPECT_EQ(AtCaretPlace(6), kTextColour) << "the drop caret shows where the text would go";
    POINT zero = Before(0);
    headless::PressKey(VK_CONTROL);
    EXPECT_EQ(headless::DragTextTo(L"big ", zero.x, zero.y), DROPEFFECT_COPY);
    headless::ReleaseKey(VK_CONTROL);
    EXPECT_EQ(AtCaretPlace(0), kTextColour);
    EXPECT_EQ(AtCaretPlace(6), 0u);
    EXPECT_EQ(Text(), L"hello world");

    EXPECT_EQ(headless::DropText(L"big ", six.x, six.y), DROPEFFECT_MOVE);
    EXPECT_EQ(Text(), L"hello big world");
    EXPECT_EQ(Selection().cpMin, 6);
    EXPECT_EQ(Selection().cpMax, 10);

    Key('Z', true);
    EXPECT_EQ(Text(), L"hello world");
    EXPECT_EQ(Selection().cpMin, 0);
    EXPECT_EQ(Selection().cpMax, 2);
}

TEST_F(TextDropTest, ALeavingDragTakesItsCaretAwayAndDropsNothing) {
    SetText(L"hello");
    Select(5, 5);
    POINT one = Before(1);
    ASSERT_TRUE(host->caretShown);
    headless::DragTextTo(L"x", one.x, one.y);
    EXPECT_EQ(AtCaretPlace(1), kTextColour);
    EXPECT_FALSE(host->caretShown) << "the drag's caret stands in for the field's";
    headless::LeaveDrag();
    EXPECT_EQ(AtCaretPlace(1), 0u);
    EXPECT_TRUE(host->caretShown);
    EXPECT_EQ(host->caret.x, CaretX(5));
    EXPECT_EQ(Text(), L"hello");
}

TEST_F(TextDropTest, AReadOnlyOrFullTextRefusesAndAPartFitIsOnlyCopied) {
    SetText(L"fixed");
    POINT end = Before(5);
    Send(EM_SETREADONLY, TRUE);
    EXPECT_EQ(headless::DragTextTo(L"more", end.x, end.y), DROPEFFECT_NONE);
    EXPECT_EQ(headless::DropText(L"more", end.x, end.y), DROPEFFECT_NONE);
    EXPECT_EQ(Text(), L"fixed");

    Send(EM_SETREADONLY, FALSE);
    host->maxLength = 5;
    PropertiesChanged();
    EXPECT_EQ(headless::DropText(L"more", end.x, end.y), DROPEFFECT_NONE);
    EXPECT_EQ(Text(), L"fixed");

    host->maxLength = 7;
    PropertiesChanged();
    EXPECT_EQ(headless::DropText(L"more", end.x, end.y, DROPEFFECT_MOVE), DROPEFFECT_NONE);
    EXPECT_EQ(headless::DropText(L"more", end.x, end.y), DROPEFFECT_COPY);
    EXPECT_EQ(Text(), L"fixedmo");
    EXPECT_THAT(host->Codes(), Contains(EN_MAXTEXT));
}

TEST_F(TextServicesTest, NotificationsFollowTheEventMask) {
    Type(L"a");
    EXPECT_THAT(host->Codes(), Not(Contains(EN_CHANGE)));
    Send(EM_SETEVENTMASK, 0, ENM_CHANGE | ENM_SELCHANGE);
    EXPECT_EQ(Send(EM_GETEVENTMASK), ENM_CHANGE | ENM_SELCHANGE);
    host->notifications.clear();
    Type(L"b");
    Key(VK_HOME, false, true);
    ASSERT_THAT(host->Codes(), ElementsAre(EN_CHANGE, EN_SELCHANGE, EN_SELCHANGE));
    EXPECT_EQ(host->notifications[1].selection.cpMin, 2);
    EXPECT_EQ(host->notifications[2].selection.cpMin, 0);
    EXPECT_EQ(host->notifications[2].selection.cpMax, 2);
    Send(EM_SETEVENTMASK, 0, ENM_UPDATE);
    host->notifications.clear();
    Type(L"c");
    EXPECT_THAT(host->Codes(), ElementsAre(EN_UPDATE));
}

TEST_F(TextServicesTest, ASingleLineScrollsSidewaysToKeepTheCaretVisible) {
    EXPECT_EQ(host->caretShown, true);
    EXPECT_GT(host->caretSize.cy, 10);
    Type(std::wstring(60, L'W'));
    LONG pos = 0;
    services->TxGetHScroll(nullptr, nullptr, &pos, nullptr, nullptr);
    EXPECT_GT(pos, 0);
    EXPECT_GE(host->caret.x, host->client.left);
    EXPECT_LT(host->caret.x, host->client.right);
    EXPECT_EQ(CaretX(60), host->caret.x);
    Key(VK_HOME);
    EXPECT_EQ(host->caret.x, host->client.left);
    Key(VK_END);
    EXPECT_GE(host->caret.x, host->client.left);
    EXPECT_LT(host->caret.x, host->client.right);
}

TEST_F(TextServicesTest, TheMouseSetsTheCaretSelectsByDraggingAndByWords) {
    SetText(L"alpha beta gamma");
    POINT at = OnScreen(CaretX(7) - host->client.left + 1, 12);
    headless::Click(at.x, at.y);
    Pump();
    EXPECT_EQ(Selection().cpMin, 7);
    EXPECT_FALSE(host->captured);

    POINT from = OnScreen(CaretX(1) - host->client.left, 12);
    POINT to = OnScreen(CaretX(4) - host->client.left, 12);
    headless::MoveMouse(from.x, from.y);
    headless::PressButton();
    Pump();
    EXPECT_TRUE(host->captured);
    headless::MoveMouse(to.x, to.y);
    headless::ReleaseButton();
    Pump();
    EXPECT_EQ(Selection().cpMin, 1);
    EXPECT_EQ(Selection().cpMax, 4);

    headless::DoubleClick(at.x, at.y);
    Pump();
    EXPECT_EQ(Selection().cpMin, 6);
    EXPECT_EQ(Selection().cpMax, 11);  // the word and its space
}

TEST_F(TextServicesTest, ADragHeldPastTheEdgeGoesOnSelectingWithTheTimer) {
    SetText(std::wstring(80, L'W'));
    LONG y = host->client.top + 5;
    Send(WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam({host->client.left, y}));
    Send(WM_MOUSEMOVE, MK_LBUTTON, PointToLParam({host->client.right + 20, y}));
    ASSERT_EQ(host->timers.size(), 1u);
    LONG reached = Selection().cpMax;
    EXPECT_GT(reached, 0);
    for (int tick = 0; tick < 5; ++tick) {
        Send(WM_TIMER, *host->timers.begin());
    }
    EXPECT_GT(Selection().cpMax, reached);
    EXPECT_EQ(Selection().cpMin, 0);
    Send(WM_LBUTTONUP, 0, PointToLParam({host->client.right + 20, y}));
    EXPECT_TRUE(host->timers.empty());
    EXPECT_FALSE(host->captured);
}

TEST_F(TextServicesTest, ACompositionShowsInPlaceAndItsResultIsInsertedOnce) {
    SetText(L"ab");
    Select(1, 1);
    Send(EM_SETEVENTMASK, 0, ENM_CHANGE);
    Surface before;
    Draw(before);
    LONG caretBefore = host->caret.x;
    headless::Compose(L"xiazai", 6);
    Pump();
    EXPECT_EQ(Text(), L"ab");
    Surface composing;
    Draw(composing);
    EXPECT_NE(before.Pixels(host->client), composing.Pixels(host->client));
    EXPECT_GT(host->caret.x, caretBefore + 20);
    host->notifications.clear();
    headless::CommitComposition(L"下载");
    Pump();
    EXPECT_EQ(Text(), L"a下载b");
    EXPECT_THAT(host->Codes(), ElementsAre(EN_CHANGE));
    EXPECT_TRUE(Received(window, WM_CHAR).empty());
    Key('Z', true);
    EXPECT_EQ(Text(), L"ab");
}

TEST_F(TextServicesTest, AWindowThatShowsNoCompositionGetsTheResultAsCharacters) {
    React(nullptr);
    headless::CommitComposition(L"下载");
    Pump();
    std::vector<Delivered> characters = Received(window, WM_CHAR);
    ASSERT_EQ(characters.size(), 2u);
    EXPECT_EQ(characters[0].wParam, static_cast<WPARAM>(L'下'));
    EXPECT_EQ(characters[1].wParam, static_cast<WPARAM>(L'载'));
}

TEST_F(TextServicesTest, TextOnATransparentCanvasCarriesItsAlphaAndTheSelectionIsHighlighted) {
    SetText(L"Wide text");
    Surface surface;
    POINT origin{5, 3};
    Draw(surface, origin);
    RECT drawn{host->client.left + origin.x, host->client.top + origin.y,
               host->client.right + origin.x, host->client.bottom + origin.y};
    int textPixels = 0;
    for (std::uint32_t pixel : surface.Pixels(drawn)) {
        BYTE alpha = Alpha(pixel);
        textPixels += alpha > 0;
        for (int shift : {0, 8, 16}) {
            EXPECT_LE(static_cast<BYTE>(pixel >> shift), alpha);  // premultiplied
        }
    }
    EXPECT_GT(textPixels, 20);
    EXPECT_EQ(Alpha(surface.At(drawn.right - 2, drawn.top + 5)), 0);  // past the text
    EXPECT_EQ(Alpha(surface.At(drawn.left - 1, drawn.top + 5)), 0);   // outside the client
    EXPECT_EQ(Alpha(surface.At(0, 0)), 0);

    Select(0, 4);
    Surface selected;
    Draw(selected, origin);
    std::uint32_t highlight = selected.At(drawn.left + 1, drawn.top + 1);
    COLORREF color = GetSysColor(COLOR_HIGHLIGHT);
    EXPECT_EQ(highlight,
              0xFF000000u | (color & 0xFF) << 16 | (color & 0xFF00) | (color >> 16 & 0xFF));
    Send(WM_KILLFOCUS);  // hidden without the focus
    Surface unfocused;
    Draw(unfocused, origin);
    EXPECT_EQ(unfocused.Pixels(drawn), surface.Pixels(drawn));
    EXPECT_FALSE(host->caretShown);
}

TEST_F(TextServicesTest, APasswordShowsOnlyThePasswordCharacter) {
    host->bits |= TXTBIT_USEPASSWORD;
    PropertiesChanged();
    SetText(L"iiii");
    Surface narrow;
    Draw(narrow);
    SetText(L"WWWW");
    Surface wide;
    Draw(wide);
    EXPECT_EQ(narrow.Pixels(host->client), wide.Pixels(host->client));
    wchar_t buffer[8];
    EXPECT_EQ(Send(WM_GETTEXT, 8, reinterpret_cast<LPARAM>(buffer)), 4);
    EXPECT_STREQ(buffer, L"WWWW");
    host->bits &= ~TXTBIT_USEPASSWORD;
    PropertiesChanged();
    Surface plain;
    Draw(plain);
    EXPECT_NE(plain.Pixels(host->client), wide.Pixels(host->client));
}

TEST_F(TextServicesTest, ChineseTextDrawsInTheFormatsFontThroughItsWindowsName) {
    host->client = {0, 0, 300, 40};
    SetText(L"下载游戏");
    auto drawnIn = [this](const char16_t* face) {
        SetFace(host->charFormat, face);
        services->OnTxPropertyBitsChange(TXTBIT_CHARFORMATCHANGE, 0);
        Surface surface;
        Draw(surface);
        return surface.Pixels(host->client);
    };
    std::vector<std::uint32_t> song = drawnIn(u"宋体");
    EXPECT_EQ(song, drawnIn(u"AR PL UMing CN"));
    EXPECT_NE(song, drawnIn(u"WenQuanYi Zen Hei"));
    LONG width = 300;
    LONG height = 0;
    services->TxGetNaturalSize(DVASPECT_CONTENT, nullptr, nullptr, nullptr, TXTNS_FITTOCONTENT,
                               nullptr, &width, &height);
    EXPECT_GE(width, 4 * 12);  // four full-width characters of 12 pixels
    EXPECT_GE(height, 12);
    int inked = 0;
    for (std::uint32_t pixel : song) {
        inked += Alpha(pixel) > 128;
    }
    EXPECT_GT(inked, 40);
}

// The colours of the pixels drawn in the rectangle, without their alpha.
std::set<std::uint32_t> ColoursIn(const Surface& surface, const RECT& rect) {
    std::set<std::uint32_t> colours;
    for (std::uint32_t pixel : surface.Pixels(rect)) {
        if (Alpha(pixel) == 0xFF) {
            colours.insert(pixel & 0xFFFFFF);
        }
    }
    return colours;
}

TEST_F(TextServicesTest, ACharacterFormatForPartOfTheTextMakesARunThatFollowsEdits) {
    SetText(L"WWWW WWWW");
    LONG plainEnd = CaretX(4);
    CHARFORMAT2W red{};
    red.cbSize = sizeof(red);
    red.dwMask = CFM_COLOR | CFM_BOLD;
    red.dwEffects = CFE_BOLD;
    red.crTextColor = RGB(0xFF, 0, 0);
    Select(0, 4);
    EXPECT_EQ(Send(EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&red)), TRUE);
    EXPECT_GT(CaretX(4), plainEnd);  // bold is wider
    Select(4, 4);
    Type(L"W");  // typed after the run, it joins the run
    Select(0, 0);
    Send(WM_KILLFOCUS);
    Surface surface;
    Draw(surface);
    RECT run{CaretX(0), host->client.top, CaretX(5), host->client.bottom};
    RECT rest{CaretX(6), host->client.top, CaretX(10), host->client.bottom};
    EXPECT_THAT(ColoursIn(surface, run), Contains(0xFF0000u));
    EXPECT_THAT(ColoursIn(surface, rest), Not(Contains(0xFF0000u)));
    EXPECT_THAT(ColoursIn(surface, rest), Contains(0x204060u));

    Send(WM_SETFOCUS);
    Select(0, 10);  // selected, the run shows in the highlight text colour
    Surface selected;
    Draw(selected);
    EXPECT_THAT(ColoursIn(selected, run), Not(Contains(0xFF0000u)));
    Select(2, 2);
    EXPECT_EQ(Send(EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&red)), FALSE);
    red.cbSize = 60;
    EXPECT_EQ(Send(EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&red)), FALSE);
}

TEST_F(TextServicesTest, MultipleLinesWrapScrollWithTheHostsBarsAndMoveByLines) {
    host->bits |= TXTBIT_MULTILINE | TXTBIT_WORDWRAP;
    host->scrollBars |= WS_VSCROLL;
    host->client = {0, 0, 120, 40};
    PropertiesChanged();
    Type(L"one two three four five six seven eight nine ten");
    LONG wrapped = static_cast<LONG>(Send(EM_GETLINECOUNT));
    EXPECT_GT(wrapped, 2);
    Send(WM_CHAR, L'\r');
    Type(L"last");
    EXPECT_EQ(Send(EM_GETLINECOUNT), wrapped + 1);
    wchar_t buffer[80];
    Send(WM_GETTEXT, 80, reinterpret_cast<LPARAM>(buffer));
    EXPECT_STREQ(buffer, L"one two three four five six seven eight nine ten\r\nlast");

    EXPECT_TRUE(host->bars[SB_VERT].shown);
    EXPECT_GT(host->bars[SB_VERT].max, 40);
    EXPECT_GT(host->bars[SB_VERT].position, 0);  // scrolled to the caret at the end
    EXPECT_LT(host->caret.y, 40);

    Key(VK_HOME, true);
    EXPECT_EQ(host->bars[SB_VERT].position, 0);
    Key(VK_DOWN);
    EXPECT_EQ(Send(EM_EXLINEFROMCHAR, 0, Selection().cpMin), 1);
    Key(VK_NEXT);
    EXPECT_GT(Send(EM_EXLINEFROMCHAR, 0, Selection().cpMin), 2);
    Key(VK_END, true);
    EXPECT_EQ(Selection().cpMin, static_cast<LONG>(Text().size()));

    Send(WM_VSCROLL, SB_TOP);
    EXPECT_EQ(host->bars[SB_VERT].position, 0);
    Send(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)));
    LONG min = 0;
    LONG max = 0;
    LONG pos = 0;
    LONG page = 0;
    services->TxGetVScroll(&min, &max, &pos, &page, nullptr);
    EXPECT_GT(pos, 0);
    EXPECT_EQ(host->bars[SB_VERT].position, pos);
    EXPECT_EQ(page, 40);
    Send(WM_VSCROLL, SB_BOTTOM);
    services->TxGetVScroll(nullptr, nullptr, &pos, nullptr, nullptr);
    EXPECT_EQ(pos, max + 1 - page);

    SetText(L"short");
    EXPECT_FALSE(host->bars[SB_VERT].shown);
}

TEST_F(TextServicesTest, ALineBreakGoesOnlyIntoAMultiLineText) {
    Type(L"a");
    Send(WM_CHAR, L'\r');
    EXPECT_EQ(Text(), L"a");
    host->bits |= TXTBIT_MULTILINE;
    PropertiesChanged();
    Send(WM_CHAR, L'\r');
    Type(L"b");
    EXPECT_EQ(Text(), L"a\rb");
    EXPECT_EQ(Send(WM_GETTEXTLENGTH), 4);
}

}  // namespace
}  // namespace plat::test
