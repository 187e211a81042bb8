// The gtk driver's translations that need no display: key values to virtual keys, presses to
// double clicks, and the choice of driver when no display is there.
#include <gtest/gtest.h>

#include "drivers/gtk/double_clicks.h"
#include "drivers/gtk/gtk_headers.h"
#include "drivers/gtk/virtual_keys.h"

#include <cstdlib>

#include "plat/keyboard.h"

namespace plat::gtk {
namespace {

TEST(VirtualKeys, KeyValuesMapToTheirKeys) {
    struct Case {
        guint keyValue;
        UINT virtualKey;
    } cases[] = {
        {GDK_KEY_a, 'A'},
        {GDK_KEY_Z, 'Z'},
        {GDK_KEY_7, '7'},
        {GDK_KEY_KP_3, 0x63},
        {GDK_KEY_F1, VK_F1},
        {GDK_KEY_F10, VK_F10},
        {GDK_KEY_Return, VK_RETURN},
        {GDK_KEY_KP_Enter, VK_RETURN},
        {GDK_KEY_Escape, VK_ESCAPE},
        {GDK_KEY_BackSpace, VK_BACK},
        {GDK_KEY_Left, VK_LEFT},
        {GDK_KEY_Delete, VK_DELETE},
        {GDK_KEY_Shift_R, VK_SHIFT},
        {GDK_KEY_Control_L, VK_CONTROL},
        {GDK_KEY_Alt_L, VK_MENU},
        {GDK_KEY_space, VK_SPACE},
        {GDK_KEY_comma, 0xBC},
        {GDK_KEY_slash, 0xBF},
        {GDK_KEY_exclam, 0},
        {GDK_KEY_dead_acute, 0},
    };
    for (const Case& test : cases) {
        EXPECT_EQ(VirtualKeyOf(test.keyValue), test.virtualKey) << gdk_keyval_name(test.keyValue);
    }
}

// Letters of other scripts are named by the US letter at their place; what is no letter, or
// sits off the letter rows, is not.
TEST(VirtualKeys, LettersOfOtherScriptsTakeTheUSLetterOfTheirPlace) {
    struct Case {
        guint keyValue;
        unsigned int keyCode;  // evdev
        UINT letter;
    } cases[] = {
        {GDK_KEY_Cyrillic_ef, 38, 'A'}, {GDK_KEY_Cyrillic_shorti, 24, 'Q'},
        {GDK_KEY_Cyrillic_ze, 33, 'P'}, {GDK_KEY_Cyrillic_de, 46, 'L'},
        {GDK_KEY_Cyrillic_ya, 52, 'Z'}, {GDK_KEY_Cyrillic_softsign, 58, 'M'},
        {GDK_KEY_Greek_alpha, 38, 'A'}, {GDK_KEY_Cyrillic_zhe, 47, 0},
        {GDK_KEY_Cyrillic_ha, 34, 0},   {GDK_KEY_Cyrillic_be, 59, 0},
        {GDK_KEY_comma, 58, 0},
    };
    for (const Case& test : cases) {
        UINT letter = IsLetter(test.keyValue) ? LetterOfPlace(test.keyCode) : 0;
        EXPECT_EQ(letter, test.letter) << gdk_keyval_name(test.keyValue);
    }
}

TEST(DoubleClicks, SecondPressCountsOnlyWithinTimeAndDistance) {
    struct Press {
        MouseButton button;
        POINT point;
        unsigned int timeMs;
        bool second;
    };
    struct Case {
        const char* name;
        std::vector<Press> presses;
    } cases[] = {
        {"quick and near",
         {{MouseButton::Left, {10, 10}, 1000, false}, {MouseButton::Left, {13, 8}, 1300, true}}},
        {"too late",
         {{MouseButton::Left, {10, 10}, 1000, false}, {MouseButton::Left, {10, 10}, 1401, false}}},
        {"too far",
         {{MouseButton::Left, {10, 10}, 1000, false}, {MouseButton::Left, {16, 10}, 1100, false}}},
        {"other button",
         {{MouseButton::Left, {10, 10}, 1000, false}, {MouseButton::Right, {10, 10}, 1100, false}}},
        {"triple click starts over",
         {{MouseButton::Left, {10, 10}, 1000, false},
          {MouseButton::Left, {10, 10}, 1100, true},
          {MouseButton::Left, {10, 10}, 1200, false},
          {MouseButton::Left, {10, 10}, 1300, true}}},
        {"time wraps",
         {{MouseButton::Left, {10, 10}, 0xFFFFFF00u, false},
          {MouseButton::Left, {10, 10}, 0x50, true}}},
    };
    for (const Case& test : cases) {
        DoubleClicks clicks(400, 5);
        for (const Press& press : test.presses) {
            EXPECT_EQ(clicks.IsSecondPress(press.button, press.point, press.timeMs), press.second)
                << test.name << " at " << press.timeMs;
        }
    }
}

// Each case chooses in a child process of its own, since the choice is made once.
TEST(DriverChoiceWithoutDisplay, FallsBackToHeadless) {
    for (const char* requested : {"", "gtk", "unknown"}) {
        EXPECT_EXIT(
            {
                unsetenv("DISPLAY");
                unsetenv("WAYLAND_DISPLAY");
                setenv("DM_DRIVER", requested, 1);
                std::exit(std::string(CurrentDriver().Name()) == "headless" ? 0 : 1);
            },
            ::testing::ExitedWithCode(0), "")
            << requested;
    }
}

}  // namespace
}  // namespace plat::gtk
