// The site of an ActiveX control inside a widget: it creates the control, activates it in place
// in the host window at the widget's rectangle, and answers the control's questions about its
// window, rectangles, capture, focus and painting.
#pragma once

#include "DMDef.h"
#include "IDMRender.h"
#include "plat/com_classes.h"
#include "plat/dispatch.h"
#include "plat/ole_control.h"

namespace DM {

class DUIActiveX;

class DMAxContainerImpl : public plat::IOleClientSite,
                          public plat::IOleInPlaceSiteWindowless,
                          public plat::IAdviseSink,
                          public plat::IDispatch {
public:
    explicit DMAxContainerImpl(DUIActiveX* owner);
    virtual ~DMAxContainerImpl();
    DMAxContainerImpl(const DMAxContainerImpl&) = delete;
    DMAxContainerImpl& operator=(const DMAxContainerImpl&) = delete;

    // The control, asked for IUnknown; false when it cannot be created.
    bool CreateControl(const plat::CLSID& clsid, DWORD context);
    // 0 when the control is active in place; 1 when the host window does not exist yet or the
    // control refused.
    DMCode ActivateControl();
    void SetObjectRects(const RECT& rect);
    // Shows or hides a windowed control's own window.
    void ShowControl(bool show);
    // A windowless control's picture, or a control's view, into the canvas's context at `rect`.
    void DrawControl(void* context, const RECT& rect);
    // Input for an active windowless control; false when it did not take the message.
    bool OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void ReleaseControl();

    plat::IUnknown* Control() const { return m_pControl; }
    bool IsActive() const { return m_bActive; }
    bool IsWindowless() const { return m_bWindowless; }
    // The control's interface, with a reference for the caller; null when it has none.
    template <class T>
    T* QueryControl(const plat::IID& iid) const {
        void* found = nullptr;
        if (m_pControl) {
            m_pControl->QueryInterface(iid, &found);
        }
        return static_cast<T*>(found);
    }

    // IUnknown: the container lives as long as its widget; counts change nothing.
    plat::HRESULT QueryInterface(plat::REFIID iid, void** object) override;
    plat::ULONG AddRef() override { return 1; }
    plat::ULONG Release() override { return 1; }

    // IOleClientSite
    plat::HRESULT SaveObject() override { return plat::E_NOTIMPL; }
    plat::HRESULT ShowObject() override { return plat::S_OK; }
    plat::HRESULT OnShowWindow(plat::BOOL) override { return plat::S_OK; }
    plat::HRESULT RequestNewObjectLayout() override { return plat::E_NOTIMPL; }

    // IOleWindow, IOleInPlaceSite, IOleInPlaceSiteEx, IOleInPlaceSiteWindowless
    plat::HRESULT GetWindow(HWND* window) override;
    plat::HRESULT ContextSensitiveHelp(plat::BOOL) override { return plat::E_NOTIMPL; }
    plat::HRESULT CanInPlaceActivate() override { return plat::S_OK; }
    plat::HRESULT OnInPlaceActivate() override { return plat::S_OK; }
    plat::HRESULT OnUIActivate() override { return plat::S_OK; }
    plat::HRESULT GetWindowContext(plat::IUnknown** frame, plat::IUnknown** document,
                                   RECT* position, RECT* clip,
                                   plat::OLEINPLACEFRAMEINFO* frameInfo) override;
    plat::HRESULT Scroll(SIZE) override { return plat::E_NOTIMPL; }
    plat::HRESULT OnUIDeactivate(plat::BOOL) override { return plat::S_OK; }
    plat::HRESULT OnInPlaceDeactivate() override;
    plat::HRESULT DiscardUndoState() override { return plat::E_NOTIMPL; }
    plat::HRESULT DeactivateAndUndo() override { return plat::E_NOTIMPL; }
    plat::HRESULT OnPosRectChange(const RECT*) override { return plat::S_OK; }
    plat::HRESULT OnInPlaceActivateEx(plat::BOOL* noRedraw, DWORD flags) override;
    plat::HRESULT OnInPlaceDeactivateEx(plat::BOOL) override { return OnInPlaceDeactivate(); }
    plat::HRESULT RequestUIActivate() override { return plat::S_OK; }
    plat::HRESULT CanWindowlessActivate() override { return plat::S_OK; }
    plat::HRESULT GetCapture() override { return m_bCaptured ? plat::S_OK : plat::S_FALSE; }
    plat::HRESULT SetCapture(plat::BOOL capture) override;
    plat::HRESULT GetFocus() override { return m_bFocused ? plat::S_OK : plat::S_FALSE; }
    plat::HRESULT SetFocus(plat::BOOL focus) override;
    plat::HRESULT GetDC(const RECT* rect, DWORD flags, plat::HDC* context) override;
    plat::HRESULT ReleaseDC(plat::HDC context) override;
    plat::HRESULT InvalidateRect(const RECT* rect, plat::BOOL erase) override;
    plat::HRESULT AdjustRect(RECT*) override { return plat::E_NOTIMPL; }
    plat::HRESULT OnDefWindowMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                     LRESULT* result) override;

    // IAdviseSink: a changed view repaints the widget.
    void OnViewChange(DWORD aspect, LONG index) override;
    void OnClose() override {}

    // IDispatch: no ambient properties are offered.
    plat::HRESULT GetTypeInfoCount(UINT* count) override;
    plat::HRESULT GetTypeInfo(UINT, plat::LCID, void**) override { return plat::E_NOTIMPL; }
    plat::HRESULT GetIDsOfNames(plat::REFIID, const wchar_t**, UINT, plat::LCID,
                                plat::DISPID*) override {
        return plat::DISP_E_UNKNOWNNAME;
    }
    plat::HRESULT Invoke(plat::DISPID, plat::REFIID, plat::LCID, plat::WORD, plat::DISPPARAMS*,
                         plat::VARIANT*, plat::EXCEPINFO*, UINT*) override {
        return plat::DISP_E_MEMBERNOTFOUND;
    }

private:
    HWND HostWindow() const;
    RECT ControlRect() const;
    void ConnectView();

    DUIActiveX* m_pOwner;
    plat::IUnknown* m_pControl = nullptr;
    plat::IOleInPlaceObject* m_pInPlaceObject = nullptr;
    plat::IViewObject* m_pViewObject = nullptr;
    bool m_bActive = false;
    bool m_bWindowless = false;
    bool m_bLockedRunning = false;
    bool m_bCaptured = false;
    bool m_bFocused = false;
    IDMCanvas* m_pDCCanvas = nullptr;  // the canvas whose context a windowless control holds
};

}  // namespace DM
