// Case and space handling of the framework's names and texts: registration, attribute and
// pool names compare without regard to case, and pools keep their keys in lower case.
#pragma once

#include "DMDef.h"

namespace DM {

bool EqualNoCase(const wchar_t* a, const wchar_t* b);
inline bool EqualNoCase(const DMStringT& a, const wchar_t* b) {
    return EqualNoCase(a.c_str(), b);
}

DMStringT LowerCase(DMStringT text);
// Without leading and trailing spaces.
DMStringT TrimSpaces(const DMStringT& text);

// Copies an id with its terminator: 1 when it is empty, 6 when the buffer is too small.
DMCode CopyIdText(const DMStringT& id, wchar_t* buffer, int size);

}  // namespace DM
