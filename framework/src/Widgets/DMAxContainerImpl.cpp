#include "Common/ActiveX/DMAxContainer.h"

#include "Common/ActiveX/DUIActiveX.h"
#include "IDMLog.h"
#include "plat/show_commands.h"
#include "plat/window.h"

namespace DM {
namespace {

template <class T>
void ReleaseInterface(T*& pointer) {
    if (pointer) {
        pointer->Release();
        pointer = nullptr;
    }
}

}  // namespace

DMAxContainerImpl::DMAxContainerImpl(DUIActiveX* owner) : m_pOwner(owner) {}

DMAxContainerImpl::~DMAxContainerImpl() {
    ReleaseControl();
}

plat::HRESULT DMAxContainerImpl::QueryInterface(plat::REFIID iid, void** object) {
    if (!object) {
        return plat::E_POINTER;
    }
    *object = nullptr;
    if (iid == plat::IID_IUnknown || iid == plat::IID_IOleClientSite) {
        *object = static_cast<plat::IOleClientSite*>(this);
    } else if (iid == plat::IID_IOleWindow || iid == plat::IID_IOleInPlaceSite ||
               iid == plat::IID_IOleInPlaceSiteEx || iid == plat::IID_IOleInPlaceSiteWindowless) {
        *object = static_cast<plat::IOleInPlaceSiteWindowless*>(this);
    } else if (iid == plat::IID_IAdviseSink) {
        *object = static_cast<plat::IAdviseSink*>(this);
    } else if (iid == plat::IID_IDispatch) {
        *object = static_cast<plat::IDispatch*>(this);
    } else {
        return plat::E_NOINTERFACE;
    }
    return plat::S_OK;
}

bool DMAxContainerImpl::CreateControl(const plat::CLSID& clsid, DWORD context) {
    ReleaseControl();
    void* control = nullptr;
    if (plat::FAILED(
            plat::CoCreateInstance(clsid, nullptr, context, plat::IID_IUnknown, &control))) {
        return false;
    }
    m_pControl = static_cast<plat::IUnknown*>(control);
    return true;
}

// The client site goes first when the control asks for it, else after its initialisation; the
// owner's hook runs before the control is activated in place.
DMCode DMAxContainerImpl::ActivateControl() {
    auto* object = QueryControl<plat::IOleObject>(plat::IID_IOleObject);
    if (!object) {
        return DM_ECODE_FAIL;
    }
    DWORD status = 0;
    object->GetMiscStatus(plat::DVASPECT_CONTENT, &status);
    bool siteGiven = (status & plat::OLEMISC_SETCLIENTSITEFIRST) != 0;
    if (siteGiven) {
        object->SetClientSite(this);
    }
    if (auto* persist = QueryControl<plat::IPersistStreamInit>(plat::IID_IPersistStreamInit)) {
        persist->InitNew();
        persist->Release();
    }
    if (!siteGiven) {
        object->SetClientSite(this);
    }
    m_pOwner->OnAxActivate(m_pControl);
    ConnectView();
    HWND host = HostWindow();
    if (!host) {
        LOG_ERR(L"[mid]the host window does not exist yet\n");
        object->Release();
        return DM_ECODE_FAIL;
    }
    RECT rect = ControlRect();
    plat::HRESULT result =
        object->DoVerb(plat::OLEIVERB_INPLACEACTIVATE, nullptr, this, 0, host, &rect);
    object->Release();
    if (plat::FAILED(result)) {
        return DM_ECODE_FAIL;
    }
    m_bActive = true;
    if (!m_pInPlaceObject) {
        m_pInPlaceObject = QueryControl<plat::IOleInPlaceObject>(plat::IID_IOleInPlaceObject);
    }
    return DM_ECODE_OK;
}

// The richest view interface the control has.
void DMAxContainerImpl::ConnectView() {
    for (const plat::IID& iid :
         {plat::IID_IViewObjectEx, plat::IID_IViewObject2, plat::IID_IViewObject}) {
        m_pViewObject = QueryControl<plat::IViewObject>(iid);
        if (m_pViewObject) {
            m_pViewObject->SetAdvise(plat::DVASPECT_CONTENT, 0, this);
            return;
        }
    }
}

void DMAxContainerImpl::SetObjectRects(const RECT& rect) {
    if (m_pInPlaceObject) {
        m_pInPlaceObject->SetObjectRects(&rect, &rect);
    }
}

void DMAxContainerImpl::ShowControl(bool show) {
    HWND window = nullptr;
    if (m_bWindowless || !m_pInPlaceObject || plat::FAILED(m_pInPlaceObject->GetWindow(&window))) {
        return;
    }
    plat::ShowWindow(window, show ? plat::SW_SHOWNA : plat::SW_HIDE);
}

void DMAxContainerImpl::DrawControl(void* context, const RECT& rect) {
    if (m_pViewObject && context) {
        m_pViewObject->Draw(plat::DVASPECT_CONTENT, static_cast<plat::HDC>(context), &rect);
    }
}

bool DMAxContainerImpl::OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                        LRESULT& result) {
    if (!m_bActive || !m_bWindowless || !m_pInPlaceObject) {
        return false;
    }
    auto* windowless = static_cast<plat::IOleInPlaceObjectWindowless*>(m_pInPlaceObject);
    return windowless->OnWindowMessage(message, wParam, lParam, &result) == plat::S_OK;
}

void DMAxContainerImpl::ReleaseControl() {
    if (!m_pControl) {
        return;
    }
    if (m_pViewObject) {
        m_pViewObject->SetAdvise(plat::DVASPECT_CONTENT, 0, nullptr);
        ReleaseInterface(m_pViewObject);
    }
    if (m_pInPlaceObject) {
        m_pInPlaceObject->InPlaceDeactivate();
        ReleaseInterface(m_pInPlaceObject);
    }
    if (auto* object = QueryControl<plat::IOleObject>(plat::IID_IOleObject)) {
        object->Close(plat::OLECLOSE_NOSAVE);
        object->SetClientSite(nullptr);
        object->Release();
    }
    if (m_bLockedRunning) {
        plat::OleLockRunning(m_pControl, plat::FALSE, plat::FALSE);
        m_bLockedRunning = false;
    }
    ReleaseInterface(m_pControl);
    m_bActive = false;
    m_bWindowless = false;
}

HWND DMAxContainerImpl::HostWindow() const {
    IDMContainer* container = m_pOwner->GetContainer();
    HWND host = container ? container->OnGetHWnd() : nullptr;
    return plat::IsWindow(host) ? host : nullptr;
}

// Before its first layout the widget has no rectangle yet: the control gets an empty one.
RECT DMAxContainerImpl::ControlRect() const {
    return m_pOwner->IsLaidOut() ? m_pOwner->m_rcWindow : RECT{0, 0, 0, 0};
}

plat::HRESULT DMAxContainerImpl::GetWindow(HWND* window) {
    if (!window) {
        return plat::E_POINTER;
    }
    *window = HostWindow();
    return *window ? plat::S_OK : plat::E_FAIL;
}

plat::HRESULT DMAxContainerImpl::GetWindowContext(plat::IUnknown** frame, plat::IUnknown** document,
                                                  RECT* position, RECT* clip,
                                                  plat::OLEINPLACEFRAMEINFO* frameInfo) {
    if (frame) {
        *frame = nullptr;
    }
    if (document) {
        *document = nullptr;
    }
    RECT rect = ControlRect();
    if (position) {
        *position = rect;
    }
    if (clip) {
        *clip = rect;
    }
    if (frameInfo) {
        frameInfo->fMDIApp = plat::FALSE;
        frameInfo->hwndFrame = HostWindow();
        frameInfo->cAccelEntries = 0;
    }
    return plat::S_OK;
}

plat::HRESULT DMAxContainerImpl::OnInPlaceDeactivate() {
    m_bActive = false;
    return plat::S_OK;
}

// The control stays running while it is active; a windowless one is reached through its
// windowless interface.
plat::HRESULT DMAxContainerImpl::OnInPlaceActivateEx(plat::BOOL* noRedraw, DWORD flags) {
    if (noRedraw) {
        *noRedraw = plat::FALSE;
    }
    if (!m_bLockedRunning && m_pControl) {
        plat::OleLockRunning(m_pControl, plat::TRUE, plat::FALSE);
        m_bLockedRunning = true;
    }
    ReleaseInterface(m_pInPlaceObject);
    m_bWindowless = (flags & plat::ACTIVATE_WINDOWLESS) != 0;
    m_pInPlaceObject =
        m_bWindowless
            ? QueryControl<plat::IOleInPlaceObjectWindowless>(plat::IID_IOleInPlaceObjectWindowless)
            : QueryControl<plat::IOleInPlaceObject>(plat::IID_IOleInPlaceObject);
    return m_pInPlaceObject ? plat::S_OK : plat::E_FAIL;
}

plat::HRESULT DMAxContainerImpl::SetCapture(plat::BOOL capture) {
    bool wanted = capture != plat::FALSE;
    if (wanted == m_bCaptured) {
        return plat::S_OK;
    }
    m_bCaptured = wanted;
    IDMContainer* container = m_pOwner->GetContainer();
    if (container) {
        if (wanted) {
            container->OnSetCapture(m_pOwner->GetDUIWnd());
        } else {
            container->OnReleaseCapture();
        }
    }
    return plat::S_OK;
}

plat::HRESULT DMAxContainerImpl::SetFocus(plat::BOOL focus) {
    bool wanted = focus != plat::FALSE;
    if (wanted != m_bFocused) {
        m_bFocused = wanted;
        m_pOwner->Invalidate();
    }
    return plat::S_OK;
}

// The owner's canvas; its drawing context is what the control draws with.
plat::HRESULT DMAxContainerImpl::GetDC(const RECT* rect, DWORD flags, plat::HDC* context) {
    if (!context) {
        return plat::E_POINTER;
    }
    *context = nullptr;
    if (m_pDCCanvas) {
        return plat::E_FAIL;
    }
    m_pDCCanvas = m_pOwner->GetCanvas(rect, flags);
    if (!m_pDCCanvas) {
        return plat::E_FAIL;
    }
    *context = static_cast<plat::HDC>(m_pDCCanvas->GetDC());
    return plat::S_OK;
}

plat::HRESULT DMAxContainerImpl::ReleaseDC(plat::HDC context) {
    if (!m_pDCCanvas) {
        return plat::E_FAIL;
    }
    m_pDCCanvas->ReleaseDC(context);
    m_pOwner->ReleaseCanvas(m_pDCCanvas);
    m_pDCCanvas = nullptr;
    return plat::S_OK;
}

plat::HRESULT DMAxContainerImpl::InvalidateRect(const RECT* rect, plat::BOOL) {
    m_pOwner->InvalidateRect(rect ? *rect : m_pOwner->m_rcWindow);
    return plat::S_OK;
}

plat::HRESULT DMAxContainerImpl::OnDefWindowMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                                    LRESULT* result) {
    if (!result) {
        return plat::E_POINTER;
    }
    *result = plat::DefWindowProcW(HostWindow(), message, wParam, lParam);
    return plat::S_OK;
}

void DMAxContainerImpl::OnViewChange(DWORD, LONG) {
    m_pOwner->Invalidate();
}

plat::HRESULT DMAxContainerImpl::GetTypeInfoCount(UINT* count) {
    if (!count) {
        return plat::E_POINTER;
    }
    *count = 0;
    return plat::S_OK;
}

}  // namespace DM
