// COM-style objects: interfaces named by 128-bit ids, found through QueryInterface, and kept
// alive by reference counts that the object itself manages.
#pragma once

#include "plat/hresult.h"
#include "plat/types.h"

namespace plat {

struct GUID {
    DWORD Data1;
    WORD Data2;
    WORD Data3;
    BYTE Data4[8];

    friend constexpr bool operator==(const GUID&, const GUID&) = default;
};
using IID = GUID;
using REFIID = const IID&;

// The aspect of an object that drawing asks for: its content.
constexpr DWORD DVASPECT_CONTENT = 1;

constexpr IID IID_IUnknown{0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

// Objects are released, never deleted through an interface pointer.
class IUnknown {
public:
    // S_OK with `object` set (and a reference added) when the object has the interface `iid`;
    // else E_NOINTERFACE with `object` null.
    virtual HRESULT QueryInterface(REFIID iid, void** object) = 0;
    // The new count, for diagnostics only.
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;

protected:
    ~IUnknown() = default;
};

}  // namespace plat
