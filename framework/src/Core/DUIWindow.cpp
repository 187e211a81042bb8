#include "DUIWindow.h"

#include "DMApp.h"
#include "DMRectHelpers.h"
#include "DMStringHelpers.h"
#include "DMXml.h"
#include "DUITimer.h"
#include "DUIWndPool.h"
#include "plat/message_queue.h"
#include "plat/messages.h"
#include "plat/timer.h"

namespace DM {
namespace {

constexpr WPARAM kCaptionDrag = 0xF012;

}  // namespace

DUIWindow::DUIWindow()
    : m_hDUIWnd(DMApp::GetObjPtr()->GetWndPool().NewHandle(this)),
      m_pXmlInfo(DMSmartPtrT<DUIWindow_XmlInfo>::Adopt(new DUIWindow_XmlInfo(this))) {
    IDMLayout* layout = nullptr;
    if (DMApp::GetObjPtr()->CreateRegObj(&layout, nullptr, DMREG_Layout) == DM_ECODE_OK) {
        m_pLayout.Attach(layout);
        m_pLayout->SetOwner(this);
    }
}

DUIWindow::~DUIWindow() {
    if (DMApp* app = DMApp::GetObjPtr()) {
        app->GetWndPool().RemoveHandle(m_hDUIWnd);
    }
}

bool DUIWindow::IsParentFlowLayout() const {
    return m_pParent && m_pParent->GetClassType() == DMREG_LayoutWindow;
}

// Layout object first ("pos", "possize"), then the attribute record and the style.
DMCode DUIWindow::SetAttribute(const DMStringT& name, const DMStringT& value, bool loading) {
    OnAttributeStart(name, value, loading);
    DMCode code = DMATTR_FAIL;
    bool askLayout = m_pLayout && !IsParentFlowLayout() && !m_bPlacedByCode;
    if (askLayout) {
        code = m_pLayout->SetAttribute(name, value, loading);
        if (!loading && m_pParent) {
            m_pParent->UpdateChildLayout();
        }
    }
    if (code == DMATTR_FAIL) {
        code = m_pXmlInfo->SetAttribute(name, value, loading);
    }
    if (code == DMATTR_FAIL) {
        code = DefAttributeProc(name, value, loading);
    }
    return OnAttributeFinished(name, value, loading, code);
}

DMCode DUIWindow::OnAttributeFinished(const DMStringT&, const DMStringT&, bool loading,
                                      DMCode code) {
    switch (code) {
        case DMATTR_PAINT:
            if (!loading) {
                InvalidateRect(m_rcWindow);
            }
            return DMATTR_OK;
        case DMATTR_PARENTPAINT:
            if (!loading && m_pParent) {
                m_pParent->InvalidateRect(m_pParent->m_rcWindow);
            }
            return DMATTR_OK;
        case DMATTR_PARENTLAYOUT:
            if (!loading && m_pParent) {
                m_pParent->UpdateChildLayout();
                m_pParent->Invalidate();
            }
            return DMATTR_OK;
        default:
            return code;
    }
}

DMCode DUIWindow::InitDMData(DMXmlNode& node) {
    if (!node.IsValid()) {
        return DM_ECODE_FAIL;
    }
    DMBase::InitDMData(node);
    if (SendMessage(plat::WM_CREATE) != 0) {
        if (m_pParent) {
            m_pParent->DestroyChild(this);
        }
        return DM_ECODE_FAIL;
    }
    if (m_pParent && m_pParent->IsVisible(true) == false) {
        m_dwState |= DUIWNDSTATE_Invisible;
    }
    if (m_pParent && m_pParent->IsDisabled(true)) {
        m_dwState |= DUIWNDSTATE_Disable;
    }
    SendMessage(plat::WM_SHOWWINDOW, m_pXmlInfo->m_bVisible ? 1 : 0, 1);
    CreateChildren(node);
    return DM_ECODE_OK;
}

// "sub" includes the children of another document; any other element names a widget class.
DMCode DUIWindow::CreateChildren(DMXmlNode& node) {
    for (DMXmlNode child = node.FirstChild(); child.IsValid(); child = child.NextSibling()) {
        DMStringT tag = child.GetName();
        if (EqualNoCase(tag, L"sub")) {
            DMStringT source = child.Attribute(L"src");
            std::size_t colon = source.rfind(L':');
            DMStringT type = colon == DMStringT::npos ? L"layout" : source.substr(0, colon);
            DMStringT name = colon == DMStringT::npos ? source : source.substr(colon + 1);
            DMXmlDocument document;
            if (DMApp::GetObjPtr()->LoadSubLayout(document, type.c_str(), name.c_str()) ==
                DM_ECODE_OK) {
                DMXmlNode root = document.Root(L"sub");
                if (root.IsValid()) {
                    CreateChildren(root);
                }
            }
            continue;
        }
        DUIWindow* widget = nullptr;
        if (DMApp::GetObjPtr()->CreateRegObj(&widget, tag.c_str(), DMREG_LayoutWindow) !=
                DM_ECODE_OK &&
            DMApp::GetObjPtr()->CreateRegObj(&widget, tag.c_str(), DMREG_Window) != DM_ECODE_OK) {
            continue;
        }
        InsertChild(widget);
        widget->InitDMData(child);
    }
    return DM_ECODE_OK;
}

DMCode DUIWindow::InsertChild(DUIWindow* child, DUIWindow* after) {
    if (!child) {
        return DM_ECODE_FAIL;
    }
    if (after == DUIWND_FIRST) {
        child->m_pNextSibling = m_pFirstChild;
        if (m_pFirstChild) {
            m_pFirstChild->m_pPrevSibling = child;
        } else {
            m_pLastChild = child;
        }
        m_pFirstChild = child;
    } else if (!after || after == m_pLastChild) {
        child->m_pPrevSibling = m_pLastChild;
        if (m_pLastChild) {
            m_pLastChild->m_pNextSibling = child;
        } else {
            m_pFirstChild = child;
        }
        m_pLastChild = child;
    } else {
        if (after->m_pParent != this || !after->m_pNextSibling) {
            return DM_ECODE_FAIL;
        }
        child->m_pPrevSibling = after;
        child->m_pNextSibling = after->m_pNextSibling;
        after->m_pNextSibling->m_pPrevSibling = child;
        after->m_pNextSibling = child;
    }
    child->m_pParent = this;
    ++m_nChildrenCount;
    child->SetContainer(m_pContainer);
    return DM_ECODE_OK;
}

DMCode DUIWindow::RemoveChild(DUIWindow* child) {
    if (!child || child->m_pParent != this) {
        return DM_ECODE_FAIL;
    }
    (child->m_pPrevSibling ? child->m_pPrevSibling->m_pNextSibling : m_pFirstChild) =
        child->m_pNextSibling;
    (child->m_pNextSibling ? child->m_pNextSibling->m_pPrevSibling : m_pLastChild) =
        child->m_pPrevSibling;
    child->m_pParent = child->m_pPrevSibling = child->m_pNextSibling = nullptr;
    --m_nChildrenCount;
    return DM_ECODE_OK;
}

DMCode DUIWindow::DestroyChild(DUIWindow* child) {
    if (!child || child->m_pParent != this) {
        return DM_ECODE_FAIL;
    }
    child->Invalidate();
    child->SendMessage(plat::WM_DESTROY);
    RemoveChild(child);
    child->Release();
    return DM_ECODE_OK;
}

void DUIWindow::SetContainer(IDMContainer* container) {
    m_pContainer = container;
    for (DUIWindow* child = m_pFirstChild; child; child = child->m_pNextSibling) {
        child->SetContainer(container);
    }
}

DUIWindow* DUIWindow::GetWindow(int relation) const {
    switch (relation) {
        case GDW_FIRSTCHILD:
            return m_pFirstChild;
        case GDW_LASTCHILD:
            return m_pLastChild;
        case GDW_PREVSIBLING:
            return m_pPrevSibling;
        case GDW_NEXTSIBLING:
            return m_pNextSibling;
        case GDW_PARENT:
            return m_pParent;
        case GDW_OWNER:
            return m_pOwner;
        default:
            return nullptr;
    }
}

DUIWindow* DUIWindow::GetTopWindow() {
    DUIWindow* top = this;
    while (top->m_pParent) {
        top = top->m_pParent;
    }
    return top;
}

// Depth first, the widget itself not included.
DUIWindow* DUIWindow::FindChildByName(const DMStringT& name) {
    for (DUIWindow* child = m_pFirstChild; child; child = child->m_pNextSibling) {
        if (!child->GetName().empty() && EqualNoCase(child->GetName(), name.c_str())) {
            return child;
        }
        if (DUIWindow* found = child->FindChildByName(name)) {
            return found;
        }
    }
    return nullptr;
}

LRESULT DUIWindow::SendMessage(UINT message, WPARAM wParam, LPARAM lParam, bool* handled) {
    AddRef();
    bool savedHandled = m_bMsgHandled;
    LRESULT result = 0;
    bool processed = ProcessWindowMessage(message, wParam, lParam, result);
    if (!processed) {
        result = DefDUIProc(message, wParam, lParam);
    }
    if (handled) {
        *handled = processed;
    }
    m_bMsgHandled = savedHandled;
    Release();
    return result;
}

LRESULT DUIWindow::DefDUIProc(UINT, WPARAM, LPARAM) {
    return 0;
}

#define DUI_HANDLE(msg, handler)          \
    if (message == (msg)) {               \
        SetMsgHandled(true);              \
        result = handler(wParam, lParam); \
        if (IsMsgHandled()) {             \
            return true;                  \
        }                                 \
    }

bool DUIWindow::ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    DUI_HANDLE(plat::WM_CREATE, OnCreate)
    DUI_HANDLE(plat::WM_DESTROY, OnDestroy)
    DUI_HANDLE(plat::WM_SETFOCUS, OnSetFocus)
    DUI_HANDLE(plat::WM_KILLFOCUS, OnKillFocus)
    DUI_HANDLE(plat::WM_ENABLE, OnEnable)
    DUI_HANDLE(plat::WM_PAINT, OnPaint)
    DUI_HANDLE(plat::WM_ERASEBKGND, OnEraseBkgnd)
    DUI_HANDLE(plat::WM_SHOWWINDOW, OnShowWindow)
    DUI_HANDLE(plat::WM_WINDOWPOSCHANGED, OnWindowPosChanged)
    DUI_HANDLE(plat::WM_NCCALCSIZE, OnNcCalcSize)
    DUI_HANDLE(plat::WM_NCPAINT, OnNcPaint)
    DUI_HANDLE(plat::WM_SIZE, OnSize)
    DUI_HANDLE(plat::WM_LBUTTONDOWN, OnLButtonDown)
    DUI_HANDLE(plat::WM_LBUTTONUP, OnLButtonUp)
    DUI_HANDLE(plat::WM_MOUSEWHEEL, OnMouseWheel)
    DUI_HANDLE(plat::WM_MOUSEHOVER, OnMouseHover)
    DUI_HANDLE(plat::WM_MOUSELEAVE, OnMouseLeave)
    return message == plat::WM_MOUSEMOVE;
}

#undef DUI_HANDLE

// The children are detached first, then told and released one by one.
LRESULT DUIWindow::OnDestroy(WPARAM, LPARAM) {
    DUIWindow* child = m_pFirstChild;
    m_pFirstChild = m_pLastChild = nullptr;
    m_nChildrenCount = 0;
    while (child) {
        DUIWindow* next = child->m_pNextSibling;
        child->m_pParent = child->m_pPrevSibling = child->m_pNextSibling = nullptr;
        child->SendMessage(plat::WM_DESTROY);
        child->Release();
        child = next;
    }
    return 0;
}

LRESULT DUIWindow::OnSetFocus(WPARAM, LPARAM) {
    DMEventSetFocusArgs event(this);
    FireEvent(event);
    InvalidateRect(m_rcWindow);
    return 0;
}

LRESULT DUIWindow::OnKillFocus(WPARAM, LPARAM) {
    DMEventKillFocusArgs event(this);
    FireEvent(event);
    InvalidateRect(m_rcWindow);
    return 0;
}

DMCode DUIWindow::SetFocus() {
    return m_pContainer ? m_pContainer->OnSetFocusWnd(m_hDUIWnd) : DM_ECODE_FAIL;
}

DMCode DUIWindow::KillFocus() {
    if (!IsFocused()) {
        return DM_ECODE_FAIL;
    }
    return m_pContainer->OnSetFocusWnd(0);
}

bool DUIWindow::IsFocused() const {
    return m_pContainer && m_pContainer->OnGetFocusWnd() == m_hDUIWnd;
}

DWORD DUIWindow::ModifyState(DWORD add, DWORD remove, bool update) {
    DWORD old = m_dwState;
    DWORD changed = add | (old & ~remove);
    OnStateChanged(old, changed);
    m_dwState = changed;
    if (update && IsStateChangeRedraw()) {
        InvalidateRect(m_rcWindow);
    }
    return old;
}

void DUIWindow::OnStateChanged(DWORD, DWORD) {}

bool DUIWindow::IsVisible(bool byState) const {
    return byState ? !(m_dwState & DUIWNDSTATE_Invisible) : m_pXmlInfo->m_bVisible;
}

bool DUIWindow::IsDisabled(bool byState) const {
    return byState ? (m_dwState & DUIWNDSTATE_Disable) != 0 : m_pXmlInfo->m_bDisable;
}

void DUIWindow::SetVisible(bool visible, bool update) {
    if (update) {
        InvalidateRect(m_rcWindow);
    }
    SendMessage(plat::WM_SHOWWINDOW, visible ? 1 : 0, 0);
    if (update) {
        InvalidateRect(m_rcWindow);
    }
}

void DUIWindow::EnableWindow(bool enable, bool update) {
    SendMessage(plat::WM_ENABLE, enable ? 1 : 0, 0);
    if (update) {
        InvalidateRect(m_rcWindow);
    }
}

LRESULT DUIWindow::OnShowWindow(WPARAM show, LPARAM fromParent) {
    if (!fromParent) {
        m_pXmlInfo->m_bVisible = show == 1;
    }
    bool visible = show && m_pXmlInfo->m_bVisible && !(m_pParent && !m_pParent->IsVisible(true));
    DWORD old = m_dwState;
    DWORD changed = visible ? (old & ~DUIWNDSTATE_Invisible) : (old | DUIWNDSTATE_Invisible);
    OnStateChanged(old, changed);
    m_dwState = changed;
    for (DUIWindow* child = m_pFirstChild; child; child = child->m_pNextSibling) {
        child->SendMessage(plat::WM_SHOWWINDOW, visible ? 1 : 0, 1);
    }
    if (!visible && m_pContainer) {
        if (m_pContainer->OnGetFocusWnd() == m_hDUIWnd) {
            m_pContainer->OnSetFocusWnd(0);
        }
        if (m_pContainer->OnGetCapture() == m_hDUIWnd) {
            m_pContainer->OnReleaseCapture();
        }
    }
    if (!m_pXmlInfo->m_bPlaceHolder && IsLaidOut() && m_pParent) {
        m_pParent->UpdateChildLayout();
    }
    return 0;
}

LRESULT DUIWindow::OnEnable(WPARAM enable, LPARAM fromParent) {
    if (!fromParent) {
        m_pXmlInfo->m_bDisable = enable != 1;
    }
    bool disabled = !enable || m_pXmlInfo->m_bDisable;
    DWORD old = m_dwState;
    DWORD changed = disabled ? ((old | DUIWNDSTATE_Disable) & ~DUIWNDSTATE_Hover)
                             : (old & ~DUIWNDSTATE_Disable);
    OnStateChanged(old, changed);
    m_dwState = changed;
    for (DUIWindow* child = m_pFirstChild; child; child = child->m_pNextSibling) {
        child->SendMessage(plat::WM_ENABLE, disabled ? 0 : 1, 1);
    }
    if (disabled && m_pContainer && m_pContainer->OnGetFocusWnd() == m_hDUIWnd) {
        m_pContainer->OnSetFocusWnd(0);
    }
    return 0;
}

DMCode DUIWindow::SetCheck(bool checked) {
    if (((m_dwState & DUIWNDSTATE_Check) != 0) == checked) {
        return DM_ECODE_FAIL;
    }
    DMEventCheckChangingCmdArgs changing(this);
    FireEvent(changing);
    if (changing.m_bCancel) {
        return DM_ECODE_FAIL;
    }
    ModifyState(checked ? DUIWNDSTATE_Check : 0, checked ? 0 : DUIWNDSTATE_Check, true);
    DMEventCheckChangedCmdArgs changed(this);
    FireEvent(changed);
    return DM_ECODE_OK;
}

DMCode DUIWindow::FireEvent(DMEventArgs& event) {
    if (!event.IsValid()) {
        return DM_ECODE_FAIL;
    }
    // A slot may destroy this widget; the reference keeps it until the routing is done.
    DMSmartPtrT<DUIWindow> alive(this);
    int handled = event.m_iHandleCount;
    m_EventMgr.FireEvent(event);
    if (event.m_iHandleCount > handled) {
        return DM_ECODE_OK;
    }
    if (m_pOwner) {
        return m_pOwner->FireEvent(event);
    }
    return m_pContainer ? m_pContainer->OnFireEvent(event) : DM_ECODE_FAIL;
}

DMCode DUIWindow::BroadcastEvent(DMEventArgs& event) {
    if (!event.IsValid()) {
        return DM_ECODE_FAIL;
    }
    FireEvent(event);
    // The children as they were, held, since a slot may change the tree.
    std::vector<DMSmartPtrT<DUIWindow>> children;
    for (DUIWindow* child = m_pFirstChild; child; child = child->m_pNextSibling) {
        children.emplace_back(child);
    }
    for (const DMSmartPtrT<DUIWindow>& child : children) {
        child->BroadcastEvent(event);
    }
    return event.m_iHandleCount > 0 ? DM_ECODE_OK : DM_ECODE_FAIL;
}

DUIWND DUIWindow::HitTestPoint(POINT point, bool includeNoMsgHandle) {
    if (!PointInRect(m_rcWindow, point)) {
        return 0;
    }
    RECT client{};
    if (GetClientRect(client) != DM_ECODE_OK || !PointInRect(client, point)) {
        return m_hDUIWnd;
    }
    for (DUIWindow* child = m_pLastChild; child; child = child->m_pPrevSibling) {
        if (!child->IsVisible(true) || (!includeNoMsgHandle && child->m_pXmlInfo->m_bNoMsgHandle)) {
            continue;
        }
        if (DUIWND hit = child->HitTestPoint(point, includeNoMsgHandle)) {
            return hit;
        }
    }
    return m_hDUIWnd;
}

LRESULT DUIWindow::OnLButtonDown(WPARAM, LPARAM) {
    if (IsDisabled(true)) {
        return 0;
    }
    if (m_pXmlInfo->m_bDrag) {
        if (m_pContainer) {
            plat::SendMessageW(m_pContainer->OnGetHWnd(), plat::WM_SYSCOMMAND, kCaptionDrag, 0);
        }
        return 0;
    }
    if (m_pContainer) {
        m_pContainer->OnSetCapture(m_hDUIWnd);
    }
    ModifyState(DUIWNDSTATE_PushDown, 0, true);
    return 0;
}

// A release inside the widget is a click, for widgets the application can tell apart.
LRESULT DUIWindow::OnLButtonUp(WPARAM, LPARAM point) {
    if (m_pContainer && m_pContainer->OnGetCapture() == m_hDUIWnd) {
        m_pContainer->OnReleaseCapture();
    }
    if (IsDisabled(true)) {
        return 0;
    }
    ModifyState(0, DUIWNDSTATE_PushDown, true);
    if (PointInRect(m_rcWindow, PointFromLParam(point)) && (GetID() != 0 || !GetName().empty())) {
        DMEventCmdArgs click(this);
        FireEvent(click);
    }
    return 0;
}

LRESULT DUIWindow::OnMouseWheel(WPARAM wParam, LPARAM lParam) {
    return m_pParent ? m_pParent->SendMessage(plat::WM_MOUSEWHEEL, wParam, lParam) : 0;
}

LRESULT DUIWindow::OnMouseHover(WPARAM, LPARAM) {
    DWORD add = DUIWNDSTATE_Hover;
    if (m_pContainer && m_pContainer->OnGetCapture() == m_hDUIWnd) {
        add |= DUIWNDSTATE_PushDown;
    }
    ModifyState(add, 0, true);
    return 0;
}

LRESULT DUIWindow::OnMouseLeave(WPARAM, LPARAM) {
    DWORD remove = DUIWNDSTATE_Hover;
    if (m_pContainer && m_pContainer->OnGetCapture() == m_hDUIWnd) {
        remove |= DUIWNDSTATE_PushDown;
    }
    ModifyState(0, remove, true);
    return 0;
}

DMCode DUIWindow::InvalidateRect(const RECT& rect) {
    if (rect.right <= rect.left || rect.bottom <= rect.top || !IsVisible(true)) {
        return DM_ECODE_FAIL;
    }
    m_bDirty = true;
    if (m_pContainer) {
        m_pContainer->OnInvalidateRect(rect, m_hDUIWnd);
    }
    return DM_ECODE_OK;
}

DMCode DUIWindow::Invalidate() {
    RECT client{};
    GetClientRect(client);
    return InvalidateRect(client);
}

plat::UINT_PTR DUIWindow::HostTimerId(DUIWND widget, UINT id) {
    return static_cast<plat::UINT_PTR>(((id | 0x80u) << 24) | (widget & 0xFFFFFFu));
}

DMCode DUIWindow::SetTimer(UINT id, UINT elapse) {
    HWND host = m_pContainer ? m_pContainer->OnGetHWnd() : nullptr;
    if (id > 127 || !host || !plat::SetTimer(host, HostTimerId(m_hDUIWnd, id), elapse, nullptr)) {
        return DM_ECODE_FAIL;
    }
    return DM_ECODE_OK;
}

DMCode DUIWindow::KillTimer(UINT id) {
    HWND host = m_pContainer ? m_pContainer->OnGetHWnd() : nullptr;
    return host && plat::KillTimer(host, HostTimerId(m_hDUIWnd, id)) ? DM_ECODE_OK : DM_ECODE_FAIL;
}

DMCode DUIWindow::SetTimerEx(UINT id, UINT elapse) {
    return DMApp::GetObjPtr()->GetTimerTable().SetTimerEx(m_hDUIWnd, id, elapse) ? DM_ECODE_OK
                                                                                 : DM_ECODE_FAIL;
}

DMCode DUIWindow::KillTimerEx(UINT id) {
    return DMApp::GetObjPtr()->GetTimerTable().KillTimerEx(m_hDUIWnd, id);
}

DMCode DUIWindow::SetText(const DMStringT& text) {
    m_pXmlInfo->m_strText = text;
    if (IsVisible(true)) {
        Invalidate();
    }
    return DM_ECODE_OK;
}

}  // namespace DM
