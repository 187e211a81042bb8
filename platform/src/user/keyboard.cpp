#include "plat/keyboard.h"

namespace plat {
namespace {

struct KeyCharacter {
    UINT key;
    wchar_t character;
};

constexpr KeyCharacter kPunctuation[] = {
    {0x20, L' '},  {0x6A, L'*'},  {0x6B, L'+'},  {0x6D, L'-'}, {0x6E, L'.'},  {0x6F, L'/'},
    {0xBA, L';'},  {0xBB, L'='},  {0xBC, L','},  {0xBD, L'-'}, {0xBE, L'.'},  {0xBF, L'/'},
    {0xC0, L'`'},  {0xDB, L'['},  {0xDC, L'\\'}, {0xDD, L']'}, {0xDE, L'\''}, {0x08, L'\b'},
    {0x09, L'\t'}, {0x0D, L'\r'}, {0x1B, 0x1B},
};

}  // namespace

UINT MapVirtualKeyW(UINT code, UINT mapType) {
    if (mapType != MAPVK_VK_TO_CHAR) {
        return 0;
    }
    if ((code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z')) {
        return code;
    }
    if (code >= 0x60 && code <= 0x69) {  // the number pad's digits
        return L'0' + (code - 0x60);
    }
    for (const KeyCharacter& entry : kPunctuation) {
        if (entry.key == code) {
            return entry.character;
        }
    }
    return 0;
}

}  // namespace plat
