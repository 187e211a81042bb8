// "ActiveX": a widget that hosts an ActiveX control, created once the widget is visible and
// activated in place in the host window at the widget's rectangle.
#pragma once

#include <memory>

#include "Common/ActiveX/DMAxContainer.h"
#include "DUIWindow.h"

namespace DMAttr {

class DUIActiveXAttr {
public:
    static const wchar_t* STRING_clsid;
    static const wchar_t* INT_clsctx;
    static const wchar_t* bool_bdelayinit;
    static const wchar_t* bool_bsupportmulthread;
};

}  // namespace DMAttr

namespace DM {

class DUIActiveX : public DUIWindow {
    DMDECLARE_CLASS_NAME(DUIActiveX, DUIWindow, L"ActiveX", L"window", DMREG_Window)
public:
    DUIActiveX();
    ~DUIActiveX() override;

    DMCode SetAttribute(const DMStringT& name, const DMStringT& value, bool loading) override;
    bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    // Called during activation, after the client site is set and before the control is
    // activated in place.
    virtual void OnAxActivate(plat::IUnknown* control);
    bool IsCreated() const { return m_bInit; }
    DMAxContainerImpl& GetAxContainer() { return *m_pAxContainer; }
    // The widget and all its ancestors are visible.
    bool IsVisibleInTree() const;

    plat::CLSID m_clsid{};
    DWORD m_dwClsCtx = plat::CLSCTX_INPROC_SERVER | plat::CLSCTX_INPROC_HANDLER |
                       plat::CLSCTX_LOCAL_SERVER | plat::CLSCTX_REMOTE_SERVER;
    bool m_bDelayInit = true;
    bool m_bInit = false;
    // Kept for layouts that ask for it; controls are used on their own thread only here.
    bool m_bSupportMultThread = false;

protected:
    // Hides or shows the control's window as the widget's visibility changes.
    virtual void OnShowControl(bool visible);
    bool InitActiveX();

private:
    static DMCode OnClsid(DUIActiveX& widget, const DMStringT& value, bool loading);
    static DMCode OnClsCtx(DUIActiveX& widget, const DMStringT& value, bool loading);
    LRESULT OnAxShowWindow(UINT message, WPARAM wParam, LPARAM lParam);

    std::unique_ptr<DMAxContainerImpl> m_pAxContainer;
};

}  // namespace DM
