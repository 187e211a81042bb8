#include "Common/ActiveX/DUIActiveX.h"

#include "DMAttrTable.h"
#include "DUIFocusMgr.h"
#include "plat/messages.h"

namespace DMAttr {

DMATTR_DEFINE(DUIActiveXAttr, STRING_clsid)
DMATTR_DEFINE(DUIActiveXAttr, INT_clsctx)
DMATTR_DEFINE(DUIActiveXAttr, bool_bdelayinit)
DMATTR_DEFINE(DUIActiveXAttr, bool_bsupportmulthread)

}  // namespace DMAttr

namespace DM {
namespace {

using DMAttr::DUIActiveXAttr;

constexpr std::size_t kClsidLimit = 199;
constexpr UINT kLastKeyMessage = 0x0109;
constexpr UINT kLastMouseMessage = 0x020D;

bool IsInputMessage(UINT message) {
    return (message >= plat::WM_KEYFIRST && message <= kLastKeyMessage) ||
           (message >= plat::WM_MOUSEFIRST && message <= kLastMouseMessage);
}

}  // namespace

DUIActiveX::DUIActiveX() : m_pAxContainer(std::make_unique<DMAxContainerImpl>(this)) {}

DUIActiveX::~DUIActiveX() {
    m_pAxContainer->ReleaseControl();
}

// A class id in braces, else a programmatic id.
DMCode DUIActiveX::OnClsid(DUIActiveX& widget, const DMStringT& value, bool) {
    DMStringT text = value.substr(0, kClsidLimit);
    plat::CLSID clsid{};
    plat::HRESULT result = !text.empty() && text[0] == L'{'
                               ? plat::CLSIDFromString(text.c_str(), &clsid)
                               : plat::CLSIDFromProgID(text.c_str(), &clsid);
    if (plat::SUCCEEDED(result)) {
        widget.m_clsid = clsid;
    }
    return DMATTR_OK;
}

DMCode DUIActiveX::OnClsCtx(DUIActiveX& widget, const DMStringT& value, bool) {
    int context = 0;
    if (ParseInt(value, context) == DM_ECODE_OK) {
        widget.m_dwClsCtx = static_cast<DWORD>(context);
    }
    return DMATTR_OK;
}

DMCode DUIActiveX::SetAttribute(const DMStringT& name, const DMStringT& value, bool loading) {
    using A = DUIActiveX;
    static const DMAttributeEntry<DUIActiveX> kTable[] = {
        {&DUIActiveXAttr::STRING_clsid, &A::OnClsid},
        {&DUIActiveXAttr::INT_clsctx, &A::OnClsCtx},
        {&DUIActiveXAttr::bool_bdelayinit, &BoolAttribute<&A::m_bDelayInit, DMATTR_OK>},
        {&DUIActiveXAttr::bool_bsupportmulthread,
         &BoolAttribute<&A::m_bSupportMultThread, DMATTR_OK>},
    };
    DMCode code = DMATTR_FAIL;
    if (DispatchAttribute(*this, kTable, name, value, loading, code)) {
        return OnAttributeFinished(name, value, loading, code);
    }
    return DUIWindow::SetAttribute(name, value, loading);
}

bool DUIActiveX::IsVisibleInTree() const {
    for (const DUIWindow* at = this; at; at = at->GetWindow(GDW_PARENT)) {
        if (!at->IsVisible(true)) {
            return false;
        }
    }
    return true;
}

bool DUIActiveX::ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case plat::WM_SHOWWINDOW:
            result = OnAxShowWindow(message, wParam, lParam);
            return true;
        case plat::WM_SIZE:
            DUIWindow::ProcessWindowMessage(message, wParam, lParam, result);
            if (m_bInit) {
                m_pAxContainer->SetObjectRects(m_rcWindow);
            }
            return true;
        case plat::WM_PAINT:
            if (m_bInit && m_pAxContainer->IsWindowless()) {
                auto* canvas = reinterpret_cast<IDMCanvas*>(wParam);
                void* context = canvas ? canvas->GetDC() : nullptr;
                m_pAxContainer->DrawControl(context, m_rcWindow);
                if (context) {
                    canvas->ReleaseDC(context);
                }
                result = 0;
                return true;
            }
            break;
        case plat::WM_DESTROY:
            m_pAxContainer->ReleaseControl();
            m_bInit = false;
            break;
        default:
            break;
    }
    if (IsInputMessage(message) && m_pAxContainer->IsActive() && m_pAxContainer->IsWindowless()) {
        if (message == plat::WM_LBUTTONDOWN && GetContainer() && GetContainer()->OnGetFocusMgr()) {
            GetContainer()->OnGetFocusMgr()->SetFocusedWnd(GetDUIWnd());
        }
        if (m_pAxContainer->OnWindowMessage(message, wParam, lParam, result)) {
            return true;
        }
    }
    return DUIWindow::ProcessWindowMessage(message, wParam, lParam, result);
}

// The control is made once the widget can be seen (or at once without the delay); a failure is
// tried again at the next change of visibility.
LRESULT DUIActiveX::OnAxShowWindow(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    DUIWindow::ProcessWindowMessage(message, wParam, lParam, result);
    if ((!m_bDelayInit || IsVisibleInTree()) && !m_bInit) {
        m_bInit = InitActiveX();
    }
    if (m_bInit) {
        OnShowControl(IsVisibleInTree());
    }
    return result;
}

void DUIActiveX::OnShowControl(bool visible) {
    m_pAxContainer->ShowControl(visible);
}

bool DUIActiveX::InitActiveX() {
    if (!m_pAxContainer->CreateControl(m_clsid, m_dwClsCtx)) {
        return false;
    }
    if (m_pAxContainer->ActivateControl() != DM_ECODE_OK) {
        m_pAxContainer->ReleaseControl();
        return false;
    }
    m_pAxContainer->ShowControl(IsVisibleInTree());
    if (IsLaidOut()) {
        m_pAxContainer->SetObjectRects(m_rcWindow);
    }
    return true;
}

void DUIActiveX::OnAxActivate(plat::IUnknown*) {}

}  // namespace DM
