// Creating objects by class id: the platform's own classes, found by their id or programmatic
// id, made by CoCreateInstance on threads that initialised OLE.
#pragma once

#include "plat/com_object.h"
#include "plat/hresult.h"
#include "plat/types.h"

namespace plat {

using CLSID = GUID;

constexpr DWORD CLSCTX_INPROC_SERVER = 0x1;
constexpr DWORD CLSCTX_INPROC_HANDLER = 0x2;
constexpr DWORD CLSCTX_LOCAL_SERVER = 0x4;
constexpr DWORD CLSCTX_REMOTE_SERVER = 0x10;

constexpr HRESULT REGDB_E_CLASSNOTREG = static_cast<HRESULT>(0x80040154);
constexpr HRESULT CLASS_E_NOAGGREGATION = static_cast<HRESULT>(0x80040110);
constexpr HRESULT CO_E_NOTINITIALIZED = static_cast<HRESULT>(0x800401F0);
constexpr HRESULT CO_E_CLASSSTRING = static_cast<HRESULT>(0x800401F3);

// Per thread, counted: S_OK the first time, S_FALSE when already initialised.
HRESULT OleInitialize(void* reserved);
void OleUninitialize();

// A new object of the class, asked for `iid`. REGDB_E_CLASSNOTREG for a class the platform does
// not have or that cannot run in `context`, CLASS_E_NOAGGREGATION with an outer object,
// CO_E_NOTINITIALIZED on a thread without OLE.
HRESULT CoCreateInstance(const CLSID& clsid, IUnknown* outer, DWORD context, REFIID iid,
                         void** object);
// "{8856F961-340A-11D0-A96B-00C04FD705A2}"; CO_E_CLASSSTRING when it is not one.
HRESULT CLSIDFromString(const wchar_t* text, CLSID* clsid);
// "Shell.Explorer.2" and the like; CO_E_CLASSSTRING for a name no class carries.
HRESULT CLSIDFromProgID(const wchar_t* progId, CLSID* clsid);
// Holds (or gives back) a reference that keeps the object running.
HRESULT OleLockRunning(IUnknown* object, BOOL lock, BOOL lastUnlockCloses);

}  // namespace plat
