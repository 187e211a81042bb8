// Typing on keyboard layouts other than US English through the gtk driver, each layout on an X
// server of its own: the characters are the layout's, dead keys compose, and the virtual keys
// follow Windows' rules (letters and digits by their symbol, letters of other scripts and
// punctuation by their place).
#include <gtest/gtest.h>

#include "plat/types.h"

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "MessagePump.h"
#include "plat/input.h"
#include "plat/layered.h"
#include "window_test_support.h"
#include "xvfb_display.h"

namespace plat::test {
namespace {

using vael::test::PumpUntil;

using namespace std::chrono_literals;

// The input method shows a dead key as a composition, which the key completing it ends: both
// keys are the input method's, as an IME's keys are on Windows.
constexpr UINT kProcessKey = 0xE5;

struct Typing {
    std::string keys;  // xdotool's arguments
    std::wstring characters;
    UINT lastKeyDown;  // the virtual key of the last key-down
};

std::wstring CharactersOf(HWND window) {
    std::wstring characters;
    for (const Delivered& delivered : Received(window, WM_CHAR)) {
        characters += static_cast<wchar_t>(delivered.wParam);
    }
    return characters;
}

// An opaque window with the keyboard: without a window manager the keyboard follows the
// pointer, so the pointer rests on it.
HWND ShowTypingWindow(std::vector<std::uint32_t>& pixels) {
    HWND window = CreateShownWindow({100, 100, 300, 200}, nullptr, WS_EX_LAYERED);
    pixels.assign(200 * 100, 0xFF808080);
    PixelBuffer picture{reinterpret_cast<const BYTE*>(pixels.data()), 200, 100, 800};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    EXPECT_TRUE(UpdateLayeredWindow(window, nullptr, nullptr, picture, nullptr, &blend, ULW_ALPHA,
                                    nullptr));
    SetFocus(window);
    auto shown = std::chrono::steady_clock::now() + 300ms;
    PumpUntil([&] { return std::chrono::steady_clock::now() >= shown; });
    EXPECT_EQ(std::system("xdotool mousemove 200 150 sleep 0.3"), 0);
    return window;
}

void TypeOnLayout(const std::string& layout, const std::vector<Typing>& typings) {
    XvfbDisplay display;
    ASSERT_TRUE(display.Running()) << "Xvfb did not start";
    ASSERT_EQ(std::system(("setxkbmap " + layout).c_str()), 0);
    setenv("DM_DRIVER", "gtk", 1);
    setenv("NO_AT_BRIDGE", "1", 1);
    setenv("GTK_IM_MODULE", "gtk-im-context-simple", 1);
    ASSERT_STREQ(CurrentDriver().Name(), "gtk");
    std::vector<std::uint32_t> pixels;
    HWND window = ShowTypingWindow(pixels);
    for (const Typing& typing : typings) {
        Log().clear();
        ASSERT_EQ(std::system(("xdotool " + typing.keys).c_str()), 0);
        EXPECT_TRUE(PumpUntil([&] { return CharactersOf(window) == typing.characters; }))
            << layout << " " << typing.keys << ": " << CharactersOf(window).size() << " characters";
        std::vector<Delivered> downs = Received(window, WM_KEYDOWN);
        ASSERT_FALSE(downs.empty()) << layout << " " << typing.keys;
        EXPECT_EQ(downs.back().wParam, typing.lastKeyDown) << layout << " " << typing.keys;
    }
    DestroyWindow(window);
}

TEST(KeyboardLayouts, German) {
    TypeOnLayout("de", {
                           {"type ö", L"ö", 0xBA},
                           {"type '\"'", L"\"", '2'},
                           {"type z", L"z", 'Z'},
                           {"key dead_acute e", L"é", kProcessKey},
                           {"key dead_circumflex a", L"â", kProcessKey},
                       });
}

TEST(KeyboardLayouts, French) {
    TypeOnLayout("fr", {
                           {"type é", L"é", '2'},
                           {"type '\"'", L"\"", '3'},
                           {"type a", L"a", 'A'},
                           {"type m", L"m", 'M'},
                           {"key dead_circumflex e", L"ê", kProcessKey},
                           {"type ,", L",", 0xBC},
                       });
}

TEST(KeyboardLayouts, Russian) {
    TypeOnLayout("ru", {
                           {"type ф", L"ф", 'A'},
                           {"type Я", L"Я", 'Z'},
                           {"type ь", L"ь", 'M'},
                           {"type х", L"х", 0xDB},
                           {"type ж", L"ж", 0xBA},
                       });
}

}  // namespace
}  // namespace plat::test
