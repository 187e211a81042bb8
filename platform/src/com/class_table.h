// The platform's own classes, for CoCreateInstance and the id look-ups.
#pragma once

#include "plat/com_classes.h"

namespace plat::com {

using ClassFactory = HRESULT (*)(REFIID iid, void** object);

struct ClassEntry {
    CLSID clsid;
    const wchar_t* const* progIds;  // null-terminated
    DWORD contexts;                 // where the class can run
    ClassFactory create;
};

const ClassEntry* FindClass(const CLSID& clsid);
const ClassEntry* FindClassByProgId(const wchar_t* progId);

}  // namespace plat::com
