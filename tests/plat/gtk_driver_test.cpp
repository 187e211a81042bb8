// The gtk driver on an X server of the test's own: pictures reaching the screen, input made by
// xdotool reaching window procedures, and the message loop waiting in GLib's main context.
#include <gtest/gtest.h>

#include "plat/types.h"

#include <gdk-pixbuf/gdk-pixbuf.h>
#include <gdk/gdk.h>
#include <gtk/gtk.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "MessagePump.h"
#include "TempDir.h"
#include "gtk_text_drag_source.h"
#include "plat/clipboard.h"
#include "plat/drag_drop.h"
#include "plat/input.h"
#include "plat/input_method.h"
#include "plat/keyboard.h"
#include "plat/layered.h"
#include "plat/monitor.h"
#include "plat/timer.h"
#include "window_test_support.h"
#include "xvfb_display.h"

namespace plat::test {
namespace {

using vael::test::PumpUntil;

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr std::uint32_t kRed = 0xFFFF0000;  // premultiplied BGRA as one value
constexpr std::uint32_t kBlue = 0xFF0000FF;

struct Colour {
    int red, green, blue;
    bool operator==(const Colour&) const = default;
};

// A picture whose left half is red and right half blue.
class TestPicture {
public:
    TestPicture(LONG width, LONG height) : m_width(width), m_pixels(width * height) {
        for (LONG y = 0; y < height; ++y) {
            for (LONG x = 0; x < width; ++x) {
                m_pixels[y * width + x] = x < width / 2 ? kRed : kBlue;
            }
        }
    }
    PixelBuffer Buffer() const {
        return {reinterpret_cast<const BYTE*>(m_pixels.data()), m_width,
                static_cast<LONG>(m_pixels.size()) / m_width, m_width * 4};
    }

private:
    LONG m_width;
    std::vector<std::uint32_t> m_pixels;
};

Colour PixelOf(GdkPixbuf* picture, int x, int y) {
    const guchar* pixel = gdk_pixbuf_get_pixels(picture) + y * gdk_pixbuf_get_rowstride(picture) +
                          x * gdk_pixbuf_get_n_channels(picture);
    return {pixel[0], pixel[1], pixel[2]};
}

GdkPixbuf* Screenshot() {
    GdkWindow* root = gdk_get_default_root_window();
    return gdk_pixbuf_get_from_window(root, 0, 0, gdk_window_get_width(root),
                                      gdk_window_get_height(root));
}

bool RunXdotool(const std::string& arguments) {
    return std::system(("xdotool " + arguments).c_str()) == 0;
}

std::string PointArguments(LONG x, LONG y) {
    return std::to_string(x) + " " + std::to_string(y);
}

class GtkDriverTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        display = new XvfbDisplay;
        setenv("DM_DRIVER", "gtk", 1);
        // No accessibility bus on a test server: its D-Bus connection lives until exit.
        setenv("NO_AT_BRIDGE", "1", 1);
        // GTK's own input method, whatever the machine has installed.
        setenv("GTK_IM_MODULE", "gtk-im-context-simple", 1);
    }

    static void TearDownTestSuite() {
        delete display;
        display = nullptr;
    }

    void SetUp() override {
        ASSERT_TRUE(display->Running()) << "Xvfb did not start";
        ASSERT_STREQ(CurrentDriver().Name(), "gtk");
        Log().clear();
    }

    void TearDown() override {
        for (HWND window : m_windows) {
            DestroyWindow(window);
        }
        Pump();
    }

    // A layered popup showing the test picture, once the screen shows it.
    HWND ShowPictureWindow(RECT rect) {
        HWND window = CreateShownWindow(rect, nullptr, WS_EX_LAYERED);
        m_windows.push_back(window);
        TestPicture picture(rect.right - rect.left, rect.bottom - rect.top);
        BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        EXPECT_TRUE(UpdateLayeredWindow(window, nullptr, nullptr, picture.Buffer(), nullptr, &blend,
                                        ULW_ALPHA, nullptr));
        EXPECT_TRUE(PumpUntil([&] { return ScreenShows(rect.left + 5, rect.bottom - 5, Red()); }))
            << "the window never showed";
        return window;
    }

    static Colour Red() { return {255, 0, 0}; }
    static Colour Blue() { return {0, 0, 255}; }

    static bool ScreenShows(int x, int y, Colour colour) {
        GdkPixbuf* screen = Screenshot();
        bool shows = screen && PixelOf(screen, x, y) == colour;
        g_clear_object(&screen);
        return shows;
    }

    static XvfbDisplay* display;
    std::vector<HWND> m_windows;
};

XvfbDisplay* GtkDriverTest::display = nullptr;

TEST_F(GtkDriverTest, PresentedPictureShowsOnTheScreenshot) {
    RECT rect{100, 100, 300, 220};
    ShowPictureWindow(rect);
    vael::test::TempDir folder;
    std::string path = (folder / "screen.png").string();
    GdkPixbuf* screen = Screenshot();
    ASSERT_TRUE(screen);
    ASSERT_TRUE(gdk_pixbuf_save(screen, path.c_str(), "png", nullptr, nullptr));
    g_object_unref(screen);

    GdkPixbuf* saved = gdk_pixbuf_new_from_file(path.c_str(), nullptr);
    ASSERT_TRUE(saved);
    EXPECT_EQ(PixelOf(saved, 150, 160), Red());
    EXPECT_EQ(PixelOf(saved, 250, 160), Blue());
    EXPECT_EQ(PixelOf(saved, 99, 160), (Colour{0, 0, 0}));  // the bare root window
    g_object_unref(saved);
}

TEST_F(GtkDriverTest, ClickReachesTheProcedureInClientCoordinates) {
    HWND window = ShowPictureWindow({300, 200, 500, 320});
    ASSERT_TRUE(RunXdotool("mousemove " + PointArguments(350, 260) + " click 1"));
    ASSERT_TRUE(PumpUntil([&] { return !Received(window, WM_LBUTTONUP).empty(); }));
    for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP}) {
        std::vector<Delivered> received = Received(window, message);
        ASSERT_EQ(received.size(), 1u) << message;
        EXPECT_EQ(GET_X_LPARAM(received[0].lParam), 50);
        EXPECT_EQ(GET_Y_LPARAM(received[0].lParam), 60);
    }
}

TEST_F(GtkDriverTest, SecondQuickPressIsADoubleClick) {
    HWND window = ShowPictureWindow({300, 200, 500, 320});
    ASSERT_TRUE(
        RunXdotool("mousemove " + PointArguments(320, 250) + " click --repeat 2 --delay 60 1"));
    std::vector<UINT> buttons{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK};
    ASSERT_TRUE(PumpUntil([&] { return MessagesOf(window, buttons).size() == 4; }));
    EXPECT_EQ(MessagesOf(window, buttons),
              (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}));
}

TEST_F(GtkDriverTest, TypedKeyGivesKeyDownAndCharacter) {
    HWND window = ShowPictureWindow({300, 200, 500, 320});
    SetActiveWindow(window);
    SetFocus(window);
    // The pointer gives the window the keyboard (no window manager): let the move land first.
    ASSERT_TRUE(RunXdotool("mousemove " + PointArguments(400, 260) + " sleep 0.3 key a"));
    ASSERT_TRUE(PumpUntil([&] { return !Received(window, WM_KEYUP).empty(); }));
    ASSERT_EQ(Received(window, WM_KEYDOWN).size(), 1u);
    EXPECT_EQ(Received(window, WM_KEYDOWN)[0].wParam, static_cast<WPARAM>('A'));
    ASSERT_EQ(Received(window, WM_CHAR).size(), 1u);
    EXPECT_EQ(Received(window, WM_CHAR)[0].wParam, static_cast<WPARAM>(L'a'));
}

// GTK's own input method composes a character from its code after Ctrl+Shift+U: the window
// sees the composition and, not showing it itself, gets the result once as a character.
TEST_F(GtkDriverTest, AnInputMethodCompositionArrivesAsImeMessages) {
    HWND window = ShowPictureWindow({300, 200, 500, 320});
    SetActiveWindow(window);
    SetFocus(window);
    ASSERT_TRUE(RunXdotool("mousemove " + PointArguments(400, 260) +
                           " sleep 0.3 key ctrl+shift+u 4 e 0 b space"));
    ASSERT_TRUE(PumpUntil([&] { return !Received(window, WM_IME_ENDCOMPOSITION).empty(); }));
    EXPECT_EQ(Received(window, WM_IME_STARTCOMPOSITION).size(), 1u);
    std::vector<Delivered> changes = Received(window, WM_IME_COMPOSITION);
    ASSERT_GE(changes.size(), 2u);
    EXPECT_TRUE(changes.front().lParam & GCS_COMPSTR);
    EXPECT_EQ(changes.back().lParam & GCS_RESULTSTR, 0);  // the emptied composition
    std::vector<Delivered> characters = Received(window, WM_CHAR);
    ASSERT_EQ(characters.size(), 1u);
    EXPECT_EQ(characters[0].wParam, static_cast<WPARAM>(L'下'));
}

// With the window's input method detached, the same keys are plain keys: no composition.
TEST_F(GtkDriverTest, ADetachedInputMethodLeavesKeysPlain) {
    HWND window = ShowPictureWindow({300, 200, 500, 320});
    SetActiveWindow(window);
    SetFocus(window);
    HIMC context = ImmAssociateContext(window, nullptr);
    ASSERT_TRUE(RunXdotool("mousemove " + PointArguments(400, 260) +
                           " sleep 0.3 key ctrl+shift+u 4 e 0 b space"));
    std::wstring typed;
    PumpUntil([&] {
        typed.clear();
        for (const Delivered& character : Received(window, WM_CHAR)) {
            typed += static_cast<wchar_t>(character.wParam);
        }
        return typed.size() >= 5 && typed.back() == L' ';
    });
    EXPECT_EQ(typed,
              L"\x15"
              L"4e0b ")
        << "Ctrl+Shift+U is the control character, as on Windows";
    EXPECT_TRUE(Received(window, WM_IME_STARTCOMPOSITION).empty());
    ImmAssociateContext(window, context);
}

// Records the drop a window's target gets, copying what it is offered.
class RecordingDropTarget : public IDropTarget {
public:
    HRESULT QueryInterface(REFIID, void** object) override {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG AddRef() override { return 2; }
    ULONG Release() override { return 1; }
    HRESULT DragEnter(IDataObject*, DWORD, POINTL, DWORD* effect) override {
        ++enters;
        *effect &= DROPEFFECT_COPY;
        return S_OK;
    }
    HRESULT DragOver(DWORD, POINTL, DWORD* effect) override {
        *effect &= DROPEFFECT_COPY;
        return S_OK;
    }
    HRESULT DragLeave() override { return S_OK; }
    HRESULT Drop(IDataObject* data, DWORD, POINTL point, DWORD* effect) override {
        FORMATETC format{CF_UNICODETEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        STGMEDIUM medium{};
        if (data->GetData(&format, &medium) == S_OK) {
            text = static_cast<const wchar_t*>(GlobalLock(medium.hGlobal));
            GlobalUnlock(medium.hGlobal);
            ReleaseStgMedium(&medium);
        }
        dropPoint = point;
        *effect &= DROPEFFECT_COPY;
        dropped = true;
        return S_OK;
    }

    int enters = 0;
    bool dropped = false;
    std::wstring text;
    POINTL dropPoint{};
};

// A real drag made by xdotool from a GTK window of another kind onto a window of ours: the
// pointer is driven while the main context runs, as GTK answers the drag on the way.
TEST_F(GtkDriverTest, TextDraggedFromAnotherWindowIsDroppedOnTheTargetUnderThePointer) {
    HWND window = ShowPictureWindow({300, 200, 500, 320});
    RecordingDropTarget target;
    ASSERT_EQ(RegisterDragDrop(window, &target), S_OK);
    GtkTextDragSource source({40, 400, 160, 460}, "C:\\Games\\瓦尔");
    ASSERT_TRUE(PumpUntil([&] {
        return !ScreenShows(100, 430, Colour{0, 0, 0});
    })) << "the source never showed";

    ASSERT_TRUE(StartXdotoolDrag({100, 430}, {360, 260}));
    EXPECT_TRUE(PumpUntil([&] { return target.dropped; }, 10s));
    EXPECT_EQ(target.text, L"C:\\Games\\瓦尔");
    EXPECT_EQ(target.dropPoint.x, 360);
    EXPECT_EQ(target.dropPoint.y, 260);
    EXPECT_GE(target.enters, 1);
    PumpUntil([] { return false; }, 500ms);  // the drag's end reaches the source
    RevokeDragDrop(window);
}

// A press on a caption moves the window with the pointer, through the pointer grab that
// stands for capture; the guard timer ends the move should the release get lost.
TEST_F(GtkDriverTest, CaptionDragMovesTheWindow) {
    React([](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_TIMER) {
            ReleaseCapture();
            return 0;
        }
        return message == WM_NCHITTEST ? std::optional<LRESULT>(HTCAPTION) : std::nullopt;
    });
    HWND window = ShowPictureWindow({300, 200, 500, 320});
    SetTimer(window, 1, 5000, nullptr);
    ASSERT_TRUE(RunXdotool("mousemove " + PointArguments(350, 260) + " mousedown 1 sleep 0.1" +
                           " mousemove " + PointArguments(450, 300) + " sleep 0.1 mouseup 1"));
    RECT moved{};
    ASSERT_TRUE(PumpUntil([&] {
        GetWindowRect(window, &moved);
        return moved.left == 400;
    }));
    EXPECT_EQ(moved.top, 240);
    EXPECT_TRUE(PumpUntil([&] { return ScreenShows(410, 310, Red()); }));
    KillTimer(window, 1);
    React(nullptr);
}

// GetMessageW waits in GLib's main context; a post from another thread must end the wait
// long before the timer that stands guard against a lost wake-up.
TEST_F(GtkDriverTest, PostFromAnotherThreadEndsTheWait) {
    HWND window = ShowPictureWindow({300, 200, 500, 320});
    constexpr UINT kPosted = WM_USER + 7;
    SetTimer(window, 1, 3000, nullptr);
    auto start = Clock::now();
    std::thread poster([&] {
        std::this_thread::sleep_for(100ms);
        PostMessageW(window, kPosted, 0, 0);
    });
    MSG message;
    do {
        ASSERT_TRUE(GetMessageW(&message, nullptr, 0, 0));
    } while (message.message != kPosted && message.message != WM_TIMER);
    poster.join();
    EXPECT_EQ(message.message, kPosted);
    EXPECT_LT(Clock::now() - start, 2s);
    KillTimer(window, 1);
}

TEST_F(GtkDriverTest, TimerFallsDueWhileWaitingInTheMainContext) {
    HWND window = ShowPictureWindow({300, 200, 500, 320});
    SetTimer(window, 1, 50, nullptr);
    MSG message;
    do {
        ASSERT_TRUE(GetMessageW(&message, nullptr, 0, 0));
        DispatchMessageW(&message);
    } while (message.message != WM_TIMER);
    KillTimer(window, 1);
}

TEST_F(GtkDriverTest, MonitorAndClipboardComeFromTheDisplay) {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    ASSERT_TRUE(GetMonitorInfoW(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &info));
    EXPECT_EQ(info.rcMonitor.right, 1920);
    EXPECT_EQ(info.rcWork.bottom, 1080);  // Xvfb has no panels

    SetClipboardText(L"C:\\Program Files (x86)\\Halvorn\\瓦尔");
    EXPECT_EQ(GetClipboardText(), L"C:\\Program Files (x86)\\Halvorn\\瓦尔");
}

}  // namespace
}  // namespace plat::test
