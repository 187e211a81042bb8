// Drag and drop between windows: a window registers a drop target, and the platform calls it
// while a drag passes over the window, handing it the dragged data as a data object. Drags
// come from other programs through the driver (DeliverDrag in plat/driver.h).
#pragma once

#include "plat/com_object.h"
#include "plat/global_memory.h"
#include "plat/hresult.h"
#include "plat/types.h"

namespace plat {

constexpr IID IID_IDataObject{0x0000010E, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr IID IID_IDropTarget{0x00000122, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

// What a drop would do with the data, as the target answers it.
constexpr DWORD DROPEFFECT_NONE = 0;
constexpr DWORD DROPEFFECT_COPY = 1;
constexpr DWORD DROPEFFECT_MOVE = 2;
constexpr DWORD DROPEFFECT_LINK = 4;
constexpr DWORD DROPEFFECT_SCROLL = 0x80000000;

constexpr HRESULT DRAGDROP_E_NOTREGISTERED = static_cast<HRESULT>(0x80040100);
constexpr HRESULT DRAGDROP_E_ALREADYREGISTERED = static_cast<HRESULT>(0x80040101);
constexpr HRESULT DRAGDROP_E_INVALIDHWND = static_cast<HRESULT>(0x80040102);

// A point in screen coordinates.
struct POINTL {
    LONG x;
    LONG y;
};

using CLIPFORMAT = WORD;
// Text of UTF-16 units ending with a null unit (wchar_t here), in global memory.
constexpr CLIPFORMAT CF_UNICODETEXT = 13;

constexpr DWORD TYMED_NULL = 0;
constexpr DWORD TYMED_HGLOBAL = 1;

constexpr HRESULT DV_E_FORMATETC = static_cast<HRESULT>(0x80040064);
constexpr HRESULT DV_E_LINDEX = static_cast<HRESULT>(0x80040068);
constexpr HRESULT DV_E_TYMED = static_cast<HRESULT>(0x80040069);
constexpr HRESULT DV_E_DVASPECT = static_cast<HRESULT>(0x8004006B);

struct DVTARGETDEVICE;

// What is asked of a data object: a format, for the content aspect (`lindex` -1), in one of
// the storage kinds of `tymed`.
struct FORMATETC {
    CLIPFORMAT cfFormat;
    DVTARGETDEVICE* ptd;
    DWORD dwAspect;
    LONG lindex;
    DWORD tymed;
};

// Data handed out by a data object. The receiver owns it and gives it back with
// ReleaseStgMedium.
struct STGMEDIUM {
    DWORD tymed;
    HGLOBAL hGlobal;
    IUnknown* pUnkForRelease;
};

// Frees the medium's storage (or releases `pUnkForRelease`, which owns it) and empties it.
void ReleaseStgMedium(STGMEDIUM* medium);

// The data being dragged. Of the documented interface, the three data-access calls are
// offered: what a drop target needs to read a drag's data.
class IDataObject : public IUnknown {
public:
    // A new copy of the data in `format`, in `medium`.
    virtual HRESULT GetData(FORMATETC* format, STGMEDIUM* medium) = 0;
    // The data written into the storage `medium` gives; E_NOTIMPL when that is not offered.
    virtual HRESULT GetDataHere(FORMATETC* format, STGMEDIUM* medium) = 0;
    // S_OK when GetData would give `format`, else the DV_E_* code saying why not.
    virtual HRESULT QueryGetData(FORMATETC* format) = 0;

protected:
    ~IDataObject() = default;
};

// `keys` holds the MK_* bits of the mouse buttons and modifier keys; `effect` comes in with the
// effects the drag source allows and goes out with the one the target would perform.
class IDropTarget : public IUnknown {
public:
    virtual HRESULT DragEnter(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) = 0;
    virtual HRESULT DragOver(DWORD keys, POINTL point, DWORD* effect) = 0;
    virtual HRESULT DragLeave() = 0;
    virtual HRESULT Drop(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) = 0;

protected:
    ~IDropTarget() = default;
};

// The window's drop target, referenced until it is revoked. E_INVALIDARG for no target,
// DRAGDROP_E_INVALIDHWND for a window that does not exist, DRAGDROP_E_ALREADYREGISTERED when
// the window has one.
HRESULT RegisterDragDrop(HWND window, IDropTarget* target);
// Releases the window's drop target. DRAGDROP_E_INVALIDHWND for a window that does not exist,
// DRAGDROP_E_NOTREGISTERED when it has none.
HRESULT RevokeDragDrop(HWND window);
// The drop target registered for the window, without a reference; null when none.
IDropTarget* RegisteredDropTarget(HWND window);

}  // namespace plat
