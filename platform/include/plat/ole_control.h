// Embedding a control in a window: the control's object, in-place and view interfaces, and
// the site interfaces through which it asks its container for a window, rectangles, capture,
// focus and painting.
#pragma once

#include "plat/com_object.h"
#include "plat/hresult.h"
#include "plat/messages.h"
#include "plat/paint.h"
#include "plat/types.h"

namespace plat {

constexpr IID IID_IOleObject{0x00000112, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr IID IID_IOleClientSite{0x00000118, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr IID IID_IOleWindow{0x00000114, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr IID IID_IOleInPlaceSite{0x00000119, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr IID IID_IOleInPlaceSiteEx{
    0x9C2CAD80, 0x3424, 0x11CF, {0xB6, 0x70, 0x00, 0xAA, 0x00, 0x4C, 0xD6, 0xD8}};
constexpr IID IID_IOleInPlaceSiteWindowless{
    0x922EADA0, 0x3424, 0x11CF, {0xB6, 0x70, 0x00, 0xAA, 0x00, 0x4C, 0xD6, 0xD8}};
constexpr IID IID_IOleInPlaceObject{0x00000113, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr IID IID_IOleInPlaceObjectWindowless{
    0x1C2056CC, 0x5EF4, 0x101B, {0x8B, 0xC8, 0x00, 0xAA, 0x00, 0x3E, 0x3B, 0x29}};
constexpr IID IID_IOleInPlaceActiveObject{
    0x00000117, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr IID IID_IViewObject{0x0000010D, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr IID IID_IViewObject2{0x00000127, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr IID IID_IViewObjectEx{
    0x3AF24292, 0x0C96, 0x11CE, {0xA0, 0xCF, 0x00, 0xAA, 0x00, 0x60, 0x0A, 0xB8}};
constexpr IID IID_IAdviseSink{0x0000010F, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr IID IID_IPersistStreamInit{
    0x7FD52380, 0x4E07, 0x101B, {0xAE, 0x2D, 0x08, 0x00, 0x2B, 0x2E, 0xC7, 0x13}};

constexpr LONG OLEIVERB_INPLACEACTIVATE = -5;
constexpr DWORD OLEMISC_SETCLIENTSITEFIRST = 0x20000;
constexpr DWORD ACTIVATE_WINDOWLESS = 1;
constexpr DWORD OLECLOSE_NOSAVE = 1;
constexpr HRESULT OLE_E_NOT_INPLACEACTIVE = static_cast<HRESULT>(0x80040010);

class IOleWindow : public IUnknown {
public:
    virtual HRESULT GetWindow(HWND* window) = 0;
    virtual HRESULT ContextSensitiveHelp(BOOL enterMode) = 0;

protected:
    ~IOleWindow() = default;
};

class IOleClientSite : public IUnknown {
public:
    virtual HRESULT SaveObject() = 0;
    virtual HRESULT ShowObject() = 0;
    virtual HRESULT OnShowWindow(BOOL show) = 0;
    virtual HRESULT RequestNewObjectLayout() = 0;

protected:
    ~IOleClientSite() = default;
};

class IOleObject : public IUnknown {
public:
    virtual HRESULT SetClientSite(IOleClientSite* site) = 0;
    virtual HRESULT GetClientSite(IOleClientSite** site) = 0;
    virtual HRESULT GetMiscStatus(DWORD aspect, DWORD* status) = 0;
    // In-place activation: the control shows inside `parent` at `rect`.
    virtual HRESULT DoVerb(LONG verb, const MSG* message, IOleClientSite* site, LONG index,
                           HWND parent, const RECT* rect) = 0;
    virtual HRESULT Close(DWORD saveOption) = 0;

protected:
    ~IOleObject() = default;
};

// What the container's frame tells an activating control; no accelerators here.
struct OLEINPLACEFRAMEINFO {
    UINT cb;
    BOOL fMDIApp;
    HWND hwndFrame;
    UINT cAccelEntries;
};

class IOleInPlaceSite : public IOleWindow {
public:
    virtual HRESULT CanInPlaceActivate() = 0;
    virtual HRESULT OnInPlaceActivate() = 0;
    virtual HRESULT OnUIActivate() = 0;
    // `frame` and `document` are the container's frame and document windows' objects, when
    // it has them; `position` and `clip` the control's rectangles in the window's client area.
    virtual HRESULT GetWindowContext(IUnknown** frame, IUnknown** document, RECT* position,
                                     RECT* clip, OLEINPLACEFRAMEINFO* frameInfo) = 0;
    virtual HRESULT Scroll(SIZE extent) = 0;
    virtual HRESULT OnUIDeactivate(BOOL undoable) = 0;
    virtual HRESULT OnInPlaceDeactivate() = 0;
    virtual HRESULT DiscardUndoState() = 0;
    virtual HRESULT DeactivateAndUndo() = 0;
    virtual HRESULT OnPosRectChange(const RECT* position) = 0;

protected:
    ~IOleInPlaceSite() = default;
};

class IOleInPlaceSiteEx : public IOleInPlaceSite {
public:
    virtual HRESULT OnInPlaceActivateEx(BOOL* noRedraw, DWORD flags) = 0;
    virtual HRESULT OnInPlaceDeactivateEx(BOOL noRedraw) = 0;
    virtual HRESULT RequestUIActivate() = 0;

protected:
    ~IOleInPlaceSiteEx() = default;
};

class IOleInPlaceSiteWindowless : public IOleInPlaceSiteEx {
public:
    virtual HRESULT CanWindowlessActivate() = 0;
    virtual HRESULT GetCapture() = 0;
    virtual HRESULT SetCapture(BOOL capture) = 0;
    virtual HRESULT GetFocus() = 0;
    virtual HRESULT SetFocus(BOOL focus) = 0;
    virtual HRESULT GetDC(const RECT* rect, DWORD flags, HDC* context) = 0;
    virtual HRESULT ReleaseDC(HDC context) = 0;
    virtual HRESULT InvalidateRect(const RECT* rect, BOOL erase) = 0;
    virtual HRESULT AdjustRect(RECT* rect) = 0;
    virtual HRESULT OnDefWindowMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                       LRESULT* result) = 0;

protected:
    ~IOleInPlaceSiteWindowless() = default;
};

class IOleInPlaceObject : public IOleWindow {
public:
    virtual HRESULT InPlaceDeactivate() = 0;
    virtual HRESULT SetObjectRects(const RECT* position, const RECT* clip) = 0;

protected:
    ~IOleInPlaceObject() = default;
};

class IOleInPlaceObjectWindowless : public IOleInPlaceObject {
public:
    virtual HRESULT OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                    LRESULT* result) = 0;

protected:
    ~IOleInPlaceObjectWindowless() = default;
};

class IOleInPlaceActiveObject : public IOleWindow {
public:
    // S_OK when the control took the key message as its own.
    virtual HRESULT TranslateAccelerator(MSG* message) = 0;

protected:
    ~IOleInPlaceActiveObject() = default;
};

class IAdviseSink : public IUnknown {
public:
    virtual void OnViewChange(DWORD aspect, LONG index) = 0;
    virtual void OnClose() = 0;

protected:
    ~IAdviseSink() = default;
};

// The control's picture; IViewObject2 and IViewObjectEx extend it, and a container that asks
// for them uses only these operations.
class IViewObject : public IUnknown {
public:
    virtual HRESULT Draw(DWORD aspect, HDC context, const RECT* bounds) = 0;
    virtual HRESULT SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) = 0;

protected:
    ~IViewObject() = default;
};

class IPersistStreamInit : public IUnknown {
public:
    virtual HRESULT InitNew() = 0;

protected:
    ~IPersistStreamInit() = default;
};

}  // namespace plat
