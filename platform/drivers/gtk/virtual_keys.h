// Windows virtual-key codes for GDK key values.
#pragma once

#include "plat/types.h"

namespace plat::gtk {

constexpr UINT VK_PROCESSKEY = 0xE5;  // a key the input method took for its composition

// The virtual key of a key value as the key shows without modifiers ("a" and "A" are 'A',
// "1" is '1'); 0 for a key with no virtual key.
UINT VirtualKeyOf(unsigned int keyValue);

// A-Z, a-z, 0-9: the symbols that name their key whatever the layout.
bool IsLetterOrDigit(unsigned int keyValue);

// A letter of any script: Latin, Cyrillic, Greek, ...
bool IsLetter(unsigned int keyValue);

// The US letter at the key's place on the keyboard (X key code), which names the letters of
// layouts in other scripts ("ф" is 'A' on a Russian layout); 0 for a key elsewhere.
UINT LetterOfPlace(unsigned int keyCode);

// The virtual key of a punctuation key by its place on the keyboard (X key code), as a US
// keyboard names it; 0 for a key elsewhere.
UINT VirtualKeyOfPlace(unsigned int keyCode);

}  // namespace plat::gtk
