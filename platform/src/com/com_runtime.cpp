#include <cwchar>
#include <cwctype>

#include "com/class_table.h"
#include "plat/com_classes.h"

namespace plat {
namespace {

thread_local int t_oleInitCount = 0;

// Hex digits at `text`, `count` of them, into `value`; false on anything else.
template <class T>
bool ReadHex(const wchar_t*& text, int count, T& value) {
    value = 0;
    for (int i = 0; i < count; ++i, ++text) {
        if (!std::iswxdigit(*text)) {
            return false;
        }
        wchar_t c = static_cast<wchar_t>(std::towlower(*text));
        value = static_cast<T>(value * 16 + (c <= L'9' ? c - L'0' : c - L'a' + 10));
    }
    return true;
}

bool Expect(const wchar_t*& text, wchar_t c) {
    return *text++ == c;
}

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}".
bool ParseGuid(const wchar_t* text, GUID& guid) {
    if (!Expect(text, L'{') || !ReadHex(text, 8, guid.Data1) || !Expect(text, L'-') ||
        !ReadHex(text, 4, guid.Data2) || !Expect(text, L'-') || !ReadHex(text, 4, guid.Data3) ||
        !Expect(text, L'-')) {
        return false;
    }
    for (int i = 0; i < 8; ++i) {
        if ((i == 2 && !Expect(text, L'-')) || !ReadHex(text, 2, guid.Data4[i])) {
            return false;
        }
    }
    return Expect(text, L'}') && *text == 0;
}

}  // namespace

HRESULT OleInitialize(void*) {
    return t_oleInitCount++ == 0 ? S_OK : S_FALSE;
}

void OleUninitialize() {
    if (t_oleInitCount > 0) {
        --t_oleInitCount;
    }
}

HRESULT CoCreateInstance(const CLSID& clsid, IUnknown* outer, DWORD context, REFIID iid,
                         void** object) {
    if (!object) {
        return E_POINTER;
    }
    *object = nullptr;
    if (t_oleInitCount == 0) {
        return CO_E_NOTINITIALIZED;
    }
    const com::ClassEntry* entry = com::FindClass(clsid);
    if (!entry || !(entry->contexts & context)) {
        return REGDB_E_CLASSNOTREG;
    }
    if (outer) {
        return CLASS_E_NOAGGREGATION;
    }
    return entry->create(iid, object);
}

HRESULT CLSIDFromString(const wchar_t* text, CLSID* clsid) {
    if (!text || !clsid) {
        return E_INVALIDARG;
    }
    GUID parsed{};
    if (!ParseGuid(text, parsed)) {
        return CO_E_CLASSSTRING;
    }
    *clsid = parsed;
    return S_OK;
}

HRESULT CLSIDFromProgID(const wchar_t* progId, CLSID* clsid) {
    if (!progId || !clsid) {
        return E_INVALIDARG;
    }
    const com::ClassEntry* entry = com::FindClassByProgId(progId);
    if (!entry) {
        return CO_E_CLASSSTRING;
    }
    *clsid = entry->clsid;
    return S_OK;
}

HRESULT OleLockRunning(IUnknown* object, BOOL lock, BOOL) {
    if (!object) {
        return E_INVALIDARG;
    }
    if (lock) {
        object->AddRef();
    } else {
        object->Release();
    }
    return S_OK;
}

}  // namespace plat
