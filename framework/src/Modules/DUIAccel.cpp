#include "DUIAccel.h"

#include <cwctype>
#include <string_view>

#include "DMStringHelpers.h"
#include "plat/keyboard.h"

namespace DM {
namespace {

struct NamedKey {
    const wchar_t* name;
    DWORD key;
};

constexpr NamedKey kParsedNames[] = {
    {L"esc", 27},      {L"enter", 13},  {L"up", 38},     {L"down", 40},
    {L"left", 37},     {L"right", 39},  {L"home", 36},   {L"pageup", 33},
    {L"pagedown", 34}, {L"insert", 45}, {L"delete", 46},
};

constexpr NamedKey kShownNames[] = {
    {L"TAB", 9},       {L"Enter", 13},  {L"ESC", 27},    {L"PageUp", 33},
    {L"PageDown", 34}, {L"End", 35},    {L"Home", 36},   {L"Left", 37},
    {L"Up", 38},       {L"Right", 39},  {L"Down", 40},   {L"Insert", 45},
    {L"Delete", 46},   {L"Num *", 106}, {L"Num +", 107}, {L"Num Del", 110},
};

// The single characters that name keys, in both directions.
constexpr NamedKey kPunctuation[] = {
    {L",", 188}, {L"-", 189},  {L".", 190}, {L"/", 191}, {L";", 186}, {L"=", 187},
    {L"[", 219}, {L"\\", 220}, {L"]", 221}, {L"`", 192}, {L"'", 222},
};

const wchar_t* const kModifierTexts[] = {
    L"",     L"Shift+",     L"Ctrl+",     L"Ctrl+Shift+",
    L"Alt+", L"Shift+Alt+", L"Ctrl+Alt+", L"Ctrl+Shift+Alt+",
};

bool ReadNumber(const DMStringT& text, DWORD& number) {
    if (text.empty() || !std::iswdigit(static_cast<wint_t>(text[0]))) {
        return false;
    }
    number = static_cast<DWORD>(std::wcstoul(text.c_str(), nullptr, 10));
    return true;
}

// The key one part names, or 0.
DWORD KeyOfPart(const DMStringT& part) {
    for (const NamedKey& named : kParsedNames) {
        if (part == named.name) {
            return named.key;
        }
    }
    DWORD number = 0;
    if (part.size() > 1) {
        if (part[0] == L'f' && ReadNumber(part.substr(1), number)) {
            return number + 111;
        }
        if (part.rfind(L"num ", 0) == 0) {
            DMStringT rest = part.substr(4);
            if (rest == L"del") {
                return 110;
            }
            if (rest == L"*") {
                return 106;
            }
            if (ReadNumber(rest, number)) {
                return 96 + number;
            }
        }
        return 0;
    }
    wchar_t c = part.empty() ? L'\0' : part[0];
    if (c >= L'a' && c <= L'z') {
        return 65 + static_cast<DWORD>(c - L'a');
    }
    if (c >= L'0' && c <= L'9') {
        return 48 + static_cast<DWORD>(c - L'0');
    }
    for (const NamedKey& named : kPunctuation) {
        if (part == named.name) {
            return named.key;
        }
    }
    return 0;
}

DMStringT KeyText(DWORD key) {
    for (const NamedKey& named : kShownNames) {
        if (named.key == key) {
            return named.name;
        }
    }
    if ((key >= L'0' && key <= L'9') || (key >= L'A' && key <= L'Z')) {
        return DMStringT(1, static_cast<wchar_t>(key));
    }
    if (key >= 96 && key <= 105) {
        return L"Num " + std::to_wstring(key - 96);
    }
    if (key >= 112 && key <= 123) {
        return L"F" + std::to_wstring(key - 111);
    }
    wchar_t character = static_cast<wchar_t>(plat::MapVirtualKeyW(key, plat::MAPVK_VK_TO_CHAR));
    for (const NamedKey& named : kPunctuation) {
        if (named.name[0] == character) {
            return DMStringT(1, character);
        }
    }
    return {};
}

}  // namespace

DWORD DUIAccel::ParseAccel(const DMStringT& text) {
    DMStringT lower = LowerCase(text);
    DWORD modifiers = 0;
    DWORD key = 0;
    std::wstring_view rest = lower;
    while (!rest.empty()) {
        std::size_t plus = rest.find(L'+');
        DMStringT part = TrimSpaces(DMStringT(rest.substr(0, plus)));
        rest = plus == std::wstring_view::npos ? std::wstring_view() : rest.substr(plus + 1);
        if (part == L"ctrl") {
            modifiers |= DMACCEL_CTRL;
        } else if (part == L"alt") {
            modifiers |= DMACCEL_ALT;
        } else if (part == L"shift") {
            modifiers |= DMACCEL_SHIFT;
        } else if (DWORD named = KeyOfPart(part)) {
            key = named;
        }
    }
    return modifiers << 16 | key;
}

DMStringT DUIAccel::FormatAccel(DWORD accel) {
    DWORD modifiers = (accel >> 16) & 7;
    DWORD key = accel & 0xFFFF;
    if (modifiers == 0 && key == 0) {
        return L"无";
    }
    return kModifierTexts[modifiers] + KeyText(key);
}

}  // namespace DM
