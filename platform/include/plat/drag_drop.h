// Drag and drop between windows: a window registers a drop target, and the platform calls it
// while a drag passes over the window. Only the registration exists yet: no driver delivers
// drags.
#pragma once

#include "plat/com_object.h"
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

// The data being dragged; nothing reads it yet, so it offers only its identity and count.
class IDataObject : public IUnknown {
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
