#include "DMAttributeImpl.h"

#include <cwchar>
#include <cwctype>

#include "DMAttrTable.h"

namespace DM {
namespace {

bool IsEmpty(const wchar_t* text) {
    return !text || !*text;
}

bool StartsWithNoCase(const wchar_t* text, const wchar_t* prefix) {
    for (; *prefix; ++text, ++prefix) {
        if (std::towlower(static_cast<wint_t>(*text)) != static_cast<wint_t>(*prefix)) {
            return false;
        }
    }
    return true;
}

int HexDigit(wchar_t c) {
    if (c >= L'0' && c <= L'9') {
        return c - L'0';
    }
    if (c >= L'a' && c <= L'f') {
        return c - L'a' + 10;
    }
    if (c >= L'A' && c <= L'F') {
        return c - L'A' + 10;
    }
    return -1;
}

// Optional whitespace and sign, then decimal digits or "0x" and hexadecimal digits; what
// follows the number is ignored. Wraps around like a 32-bit conversion.
bool ReadInteger(const wchar_t* text, int& value) {
    while (std::iswspace(static_cast<wint_t>(*text))) {
        ++text;
    }
    bool negative = *text == L'-';
    if (*text == L'-' || *text == L'+') {
        ++text;
    }
    unsigned number = 0;
    if (text[0] == L'0' && (text[1] == L'x' || text[1] == L'X') && HexDigit(text[2]) >= 0) {
        for (text += 2; HexDigit(*text) >= 0; ++text) {
            number = number * 16 + static_cast<unsigned>(HexDigit(*text));
        }
    } else {
        if (*text < L'0' || *text > L'9') {
            return false;
        }
        for (; *text >= L'0' && *text <= L'9'; ++text) {
            number = number * 10 + static_cast<unsigned>(*text - L'0');
        }
    }
    value = static_cast<int>(negative ? 0u - number : number);
    return true;
}

// A colour function read with its lower-case name, as "rgb(%02x,%02x,%02x)": all `count`
// channels are needed.
bool ReadChannels(const wchar_t* text, const wchar_t* format, int count, unsigned (&channels)[4]) {
    return std::swscanf(text, format, &channels[0], &channels[1], &channels[2], &channels[3]) ==
           count;
}

BYTE Channel(unsigned value) {
    return static_cast<BYTE>(value);
}

}  // namespace

DMCode DMAttributeImpl::ParseInt(const wchar_t* text, int& value) {
    if (IsEmpty(text)) {
        return DM_ECODE_FAIL;
    }
    return ReadInteger(text, value) ? DM_ECODE_OK : DM_ECODE_FAIL;
}

DMCode DMAttributeImpl::ParseBool(const wchar_t* text, bool& value) {
    if (IsEmpty(text)) {
        return DM_ECODE_FAIL;
    }
    if (EqualNoCase(text, L"yes") || EqualNoCase(text, L"true")) {
        value = true;
        return DM_ECODE_OK;
    }
    int number = 0;
    if (ParseInt(text, number) != DM_ECODE_OK) {
        return DM_ECODE_FAIL;
    }
    value = number != 0;
    return DM_ECODE_OK;
}

// The rules apply in this order; the first that recognises the text decides.
DMCode DMAttributeImpl::ParseColor(const wchar_t* text, DMColor& value) {
    if (IsEmpty(text)) {
        return DM_ECODE_FAIL;
    }
    unsigned channels[4] = {0, 0, 0, 0xFF};
    if (EqualNoCase(text, L"white")) {
        value.SetValue(0xFFFFFFFF);
        return DM_ECODE_OK;
    }
    if (text[0] == L'#') {
        if (std::swscanf(text, L"#%02x%02x%02x%02x", &channels[0], &channels[1], &channels[2],
                         &channels[3]) != 4) {
            return DM_ECODE_FAIL;
        }
        value = DMColor(Channel(channels[0]), Channel(channels[1]), Channel(channels[2]),
                        Channel(channels[3]));
        return DM_ECODE_OK;
    }
    if (std::wcslen(text) <= 5) {
        value = DMColor();
        return DM_ECODE_OK;
    }
    if (StartsWithNoCase(text, L"rgb")) {
        bool withAlpha = text[3] == L'a' || text[3] == L'A';
        bool read = withAlpha ? ReadChannels(text, L"rgba(%02x,%02x,%02x,%02x)", 4, channels)
                              : ReadChannels(text, L"rgb(%02x,%02x,%02x)", 3, channels);
        if (!read) {
            return DM_ECODE_FAIL;
        }
        value = DMColor(Channel(channels[0]), Channel(channels[1]), Channel(channels[2]),
                        Channel(channels[3]));
        return DM_ECODE_OK;
    }
    if (StartsWithNoCase(text, L"pbgra")) {
        if (!ReadChannels(text, L"pbgra(%02x,%02x,%02x,%02x)", 4, channels)) {
            return DM_ECODE_FAIL;
        }
        // Blue, green, red, alpha, stored as given: the colour is premultiplied already.
        value = DMColor(Channel(channels[2]), Channel(channels[1]), Channel(channels[0]),
                        Channel(channels[3]));
        return DM_ECODE_OK;
    }
    value = DMColor();
    return DM_ECODE_OK;
}

DMCode DMAttributeImpl::ParseSize(const wchar_t* text, SIZE& value) {
    int width = 0;
    int height = 0;
    if (IsEmpty(text) || std::swscanf(text, L"%d,%d", &width, &height) != 2) {
        return DM_ECODE_FAIL;
    }
    value = {width, height};
    return DM_ECODE_OK;
}

DMCode DMAttributeImpl::ParsePoint(const wchar_t* text, POINT& value) {
    int x = 0;
    int y = 0;
    if (IsEmpty(text) || std::swscanf(text, L"%d,%d", &x, &y) != 2) {
        return DM_ECODE_FAIL;
    }
    value = {x, y};
    return DM_ECODE_OK;
}

DMCode DMAttributeImpl::ParseRect(const wchar_t* text, RECT& value) {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    if (IsEmpty(text) || std::swscanf(text, L"%d,%d,%d,%d", &left, &top, &right, &bottom) != 4) {
        return DM_ECODE_FAIL;
    }
    value = {left, top, right, bottom};
    return DM_ECODE_OK;
}

}  // namespace DM
