#include "drivers/gtk/virtual_keys.h"

#include "drivers/gtk/gtk_headers.h"

#include <algorithm>
#include <iterator>
#include <string_view>

#include "plat/keyboard.h"

namespace plat::gtk {
namespace {

struct KeyPair {
    unsigned int keyValue;  // or a key code
    UINT virtualKey;
};

// Keys whose codes are not in a contiguous run; OEM codes as a US keyboard places them.
constexpr KeyPair kNamedKeys[] = {
    {GDK_KEY_BackSpace, VK_BACK},    {GDK_KEY_Tab, VK_TAB},
    {GDK_KEY_ISO_Left_Tab, VK_TAB},  {GDK_KEY_Return, VK_RETURN},
    {GDK_KEY_KP_Enter, VK_RETURN},   {GDK_KEY_Shift_L, VK_SHIFT},
    {GDK_KEY_Shift_R, VK_SHIFT},     {GDK_KEY_Control_L, VK_CONTROL},
    {GDK_KEY_Control_R, VK_CONTROL}, {GDK_KEY_Alt_L, VK_MENU},
    {GDK_KEY_Alt_R, VK_MENU},        {GDK_KEY_Meta_L, VK_MENU},
    {GDK_KEY_Pause, 0x13},           {GDK_KEY_Caps_Lock, VK_CAPITAL},
    {GDK_KEY_Escape, VK_ESCAPE},     {GDK_KEY_space, VK_SPACE},
    {GDK_KEY_Page_Up, VK_PRIOR},     {GDK_KEY_Page_Down, VK_NEXT},
    {GDK_KEY_End, VK_END},           {GDK_KEY_Home, VK_HOME},
    {GDK_KEY_Left, VK_LEFT},         {GDK_KEY_Up, VK_UP},
    {GDK_KEY_Right, VK_RIGHT},       {GDK_KEY_Down, VK_DOWN},
    {GDK_KEY_Print, 0x2C},           {GDK_KEY_Insert, VK_INSERT},
    {GDK_KEY_Delete, VK_DELETE},     {GDK_KEY_KP_Insert, VK_INSERT},
    {GDK_KEY_KP_Delete, VK_DELETE},  {GDK_KEY_KP_Home, VK_HOME},
    {GDK_KEY_KP_End, VK_END},        {GDK_KEY_KP_Left, VK_LEFT},
    {GDK_KEY_KP_Up, VK_UP},          {GDK_KEY_KP_Right, VK_RIGHT},
    {GDK_KEY_KP_Down, VK_DOWN},      {GDK_KEY_KP_Page_Up, VK_PRIOR},
    {GDK_KEY_KP_Page_Down, VK_NEXT}, {GDK_KEY_Super_L, 0x5B},
    {GDK_KEY_Super_R, 0x5C},         {GDK_KEY_Menu, 0x5D},
    {GDK_KEY_KP_Multiply, 0x6A},     {GDK_KEY_KP_Add, 0x6B},
    {GDK_KEY_KP_Subtract, 0x6D},     {GDK_KEY_KP_Decimal, 0x6E},
    {GDK_KEY_KP_Divide, 0x6F},       {GDK_KEY_Num_Lock, 0x90},
    {GDK_KEY_Scroll_Lock, 0x91},     {GDK_KEY_semicolon, 0xBA},
    {GDK_KEY_equal, 0xBB},           {GDK_KEY_comma, 0xBC},
    {GDK_KEY_minus, 0xBD},           {GDK_KEY_period, 0xBE},
    {GDK_KEY_slash, 0xBF},           {GDK_KEY_grave, 0xC0},
    {GDK_KEY_bracketleft, 0xDB},     {GDK_KEY_backslash, 0xDC},
    {GDK_KEY_bracketright, 0xDD},    {GDK_KEY_apostrophe, 0xDE},
};

// Keys Windows names by where they sit when their symbols are no letter or digit, named as on
// a US keyboard; X key codes of the evdev key map.
constexpr KeyPair kPlacedKeys[] = {
    {49, 0xC0},  // left of 1
    {20, 0xBD},  // right of 0
    {21, 0xBB},  // left of backspace
    {34, 0xDB},  // right of P
    {35, 0xDD},  // second right of P
    {51, 0xDC},  // above Enter on a US keyboard, beside it on an ISO one
    {47, 0xBA},  // right of L
    {48, 0xDE},  // second right of L
    {59, 0xBC},  // right of M
    {60, 0xBE},  // second right of M
    {61, 0xBF},  // third right of M
    {94, 0xE2},  // right of the left shift on an ISO keyboard
};

// The letter rows as X key codes of the evdev key map number them, from their left end.
struct LetterRow {
    unsigned int firstKeyCode;
    const char* letters;
};

constexpr LetterRow kLetterRows[] = {
    {24, "QWERTYUIOP"},
    {38, "ASDFGHJKL"},
    {52, "ZXCVBNM"},
};

UINT FindKey(const KeyPair* first, const KeyPair* last, unsigned int key) {
    const KeyPair* found =
        std::find_if(first, last, [&](const KeyPair& pair) { return pair.keyValue == key; });
    return found == last ? 0 : found->virtualKey;
}

bool InRun(unsigned int keyValue, unsigned int first, unsigned int last) {
    return keyValue >= first && keyValue <= last;
}

}  // namespace

UINT VirtualKeyOf(unsigned int keyValue) {
    if (InRun(keyValue, GDK_KEY_a, GDK_KEY_z)) {
        return 'A' + (keyValue - GDK_KEY_a);
    }
    if (InRun(keyValue, GDK_KEY_A, GDK_KEY_Z) || InRun(keyValue, GDK_KEY_0, GDK_KEY_9)) {
        return keyValue;  // the codes of upper-case letters and digits are their characters
    }
    if (InRun(keyValue, GDK_KEY_KP_0, GDK_KEY_KP_9)) {
        return 0x60 + (keyValue - GDK_KEY_KP_0);
    }
    if (InRun(keyValue, GDK_KEY_F1, GDK_KEY_F24)) {
        return VK_F1 + (keyValue - GDK_KEY_F1);
    }
    return FindKey(std::begin(kNamedKeys), std::end(kNamedKeys), keyValue);
}

bool IsLetterOrDigit(unsigned int keyValue) {
    return InRun(keyValue, GDK_KEY_a, GDK_KEY_z) || InRun(keyValue, GDK_KEY_A, GDK_KEY_Z) ||
           InRun(keyValue, GDK_KEY_0, GDK_KEY_9);
}

bool IsLetter(unsigned int keyValue) {
    return g_unichar_isalpha(gdk_keyval_to_unicode(keyValue));
}

UINT LetterOfPlace(unsigned int keyCode) {
    for (const LetterRow& row : kLetterRows) {
        std::string_view letters = row.letters;
        if (keyCode >= row.firstKeyCode && keyCode < row.firstKeyCode + letters.size()) {
            return static_cast<UINT>(letters[keyCode - row.firstKeyCode]);
        }
    }
    return 0;
}

UINT VirtualKeyOfPlace(unsigned int keyCode) {
    return FindKey(std::begin(kPlacedKeys), std::end(kPlacedKeys), keyCode);
}

}  // namespace plat::gtk
