// "IE": the web widget. It hosts the platform's web browser control, hands the browser's events
// to an IDMWebEvent handler, answers the browser's host questions, lets page script reach the
// handler through window.external, and refreshes the page on its refresh key.
#pragma once

#include "Common/ActiveX/DUIActiveX.h"
#include "Common/ActiveX/IDUIWeb.h"
#include "DMMsgLoop.h"
#include "plat/web_browser.h"

namespace DMAttr {

class DUIIEAttr {
public:
    static const wchar_t* STRING_url;
    static const wchar_t* bool_bshowscroll;
    static const wchar_t* bool_bshowcontext;
    static const wchar_t* bool_bdisablescriptwarn;
    static const wchar_t* ACCEL_refreshkey;
};

}  // namespace DMAttr

namespace DM {

class DUIIE;

// The browser's DWebBrowserEvents2 sink: each event becomes a call of the handler.
class DMIEEvtDispatch : public plat::IDispatch {
public:
    explicit DMIEEvtDispatch(DUIIE& owner) : m_owner(owner) {}

    plat::HRESULT QueryInterface(plat::REFIID iid, void** object) override;
    plat::ULONG AddRef() override { return 1; }
    plat::ULONG Release() override { return 1; }
    plat::HRESULT GetTypeInfoCount(UINT* count) override;
    plat::HRESULT GetTypeInfo(UINT, plat::LCID, void**) override { return plat::E_NOTIMPL; }
    plat::HRESULT GetIDsOfNames(plat::REFIID, const wchar_t**, UINT, plat::LCID,
                                plat::DISPID*) override {
        return plat::E_NOTIMPL;
    }
    // Only IID_NULL calls while a handler is set; E_INVALIDARG otherwise.
    plat::HRESULT Invoke(plat::DISPID member, plat::REFIID iid, plat::LCID locale, plat::WORD flags,
                         plat::DISPPARAMS* parameters, plat::VARIANT* result,
                         plat::EXCEPINFO* exception, UINT* argumentError) override;

    void SetEvtHandler(IDMWebEvent* handler) { m_pHandler = handler; }
    IDMWebEvent* GetEvtHandler() const { return m_pHandler; }
    void SetOwnerHandle(DUIWND handle) { m_hOwner = handle; }

private:
    plat::HRESULT Dispatch(plat::DISPID member, plat::DISPPARAMS& parameters);

    DUIIE& m_owner;
    IDMWebEvent* m_pHandler = nullptr;
    DUIWND m_hOwner = 0;
};

// window.external: forwarded to the handler.
class DMIEExternal : public plat::IDispatch {
public:
    explicit DMIEExternal(DUIIE& owner) : m_owner(owner) {}

    plat::HRESULT QueryInterface(plat::REFIID iid, void** object) override;
    plat::ULONG AddRef() override { return 1; }
    plat::ULONG Release() override { return 1; }
    plat::HRESULT GetTypeInfoCount(UINT*) override { return plat::E_NOTIMPL; }
    plat::HRESULT GetTypeInfo(UINT, plat::LCID, void**) override { return plat::E_NOTIMPL; }
    plat::HRESULT GetIDsOfNames(plat::REFIID iid, const wchar_t** names, UINT count,
                                plat::LCID locale, plat::DISPID* ids) override;
    plat::HRESULT Invoke(plat::DISPID member, plat::REFIID iid, plat::LCID locale, plat::WORD flags,
                         plat::DISPPARAMS* parameters, plat::VARIANT* result,
                         plat::EXCEPINFO* exception, UINT* argumentError) override;

private:
    DUIIE& m_owner;
};

// The host's answers to the browser.
class DMIEDocHostUIHandler : public plat::IDocHostUIHandler {
public:
    explicit DMIEDocHostUIHandler(DUIIE& owner) : m_owner(owner) {}

    plat::HRESULT QueryInterface(plat::REFIID iid, void** object) override;
    plat::ULONG AddRef() override { return 1; }
    plat::ULONG Release() override { return 1; }
    plat::HRESULT ShowContextMenu(DWORD, POINT*, plat::IUnknown*, plat::IDispatch*) override;
    plat::HRESULT GetHostInfo(plat::DOCHOSTUIINFO* info) override;
    plat::HRESULT ShowUI(DWORD, plat::IUnknown*, plat::IUnknown*, plat::IUnknown*,
                         plat::IUnknown*) override {
        return plat::S_OK;
    }
    plat::HRESULT HideUI() override { return plat::S_OK; }
    plat::HRESULT UpdateUI() override { return plat::S_OK; }
    plat::HRESULT EnableModeless(plat::BOOL) override { return plat::S_OK; }
    plat::HRESULT OnDocWindowActivate(plat::BOOL) override { return plat::S_OK; }
    plat::HRESULT OnFrameWindowActivate(plat::BOOL) override { return plat::S_OK; }
    plat::HRESULT ResizeBorder(const RECT*, plat::IUnknown*, plat::BOOL) override {
        return plat::S_OK;
    }
    plat::HRESULT TranslateAccelerator(plat::MSG*, const plat::GUID*, DWORD) override {
        return plat::S_FALSE;
    }
    plat::HRESULT GetOptionKeyPath(wchar_t**, DWORD) override { return plat::S_FALSE; }
    plat::HRESULT GetDropTarget(plat::IUnknown*, plat::IUnknown**) override {
        return plat::S_FALSE;
    }
    plat::HRESULT GetExternal(plat::IDispatch** external) override;
    plat::HRESULT TranslateUrl(DWORD, const wchar_t*, wchar_t** out) override;
    plat::HRESULT FilterDataObject(plat::IUnknown*, plat::IUnknown** out) override;

    bool m_bShowScroll = false;
    bool m_bShowContext = true;

private:
    DUIIE& m_owner;
};

// The client site the browser gets: the host handler comes from here.
class DMIEOleClientSite : public plat::IOleClientSite {
public:
    explicit DMIEOleClientSite(DUIIE& owner) : m_owner(owner) {}

    plat::HRESULT QueryInterface(plat::REFIID iid, void** object) override;
    plat::ULONG AddRef() override { return 1; }
    plat::ULONG Release() override { return 1; }
    plat::HRESULT SaveObject() override { return plat::E_NOTIMPL; }
    plat::HRESULT ShowObject() override { return plat::E_NOTIMPL; }
    plat::HRESULT OnShowWindow(plat::BOOL) override { return plat::E_NOTIMPL; }
    plat::HRESULT RequestNewObjectLayout() override { return plat::E_NOTIMPL; }

private:
    DUIIE& m_owner;
};

class DUIIE : public DUIActiveX, public IDMMessageFilter, public IDUIWeb {
    DMDECLARE_CLASS_NAME(DUIIE, DUIActiveX, L"IE", L"ActiveX", DMREG_Window)
public:
    DUIIE();

    DMCode SetAttribute(const DMStringT& name, const DMStringT& value, bool loading) override;
    bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void OnAxActivate(plat::IUnknown* control) override;
    bool PreTranslateMessage(plat::MSG* message) override;

    // IDUIWeb
    HRESULT SetEvtHandler(IDMWebEvent* handler) override;
    HRESULT OpenUrl(const wchar_t* url, int flags = -1, const wchar_t* targetFrame = nullptr,
                    const wchar_t* headers = nullptr, const char* postData = nullptr,
                    int postLength = 0) override;
    HRESULT GetUrl(wchar_t* buffer, int size) override;
    HRESULT SetPageFocus() override;
    HWND GetWebHwnd() override;
    HRESULT SetWebRect(const RECT* rect) override;
    bool IsBusy() override;
    HRESULT StopIfBusy() override;
    HRESULT Quit() override;
    HRESULT Refresh() override;
    HRESULT RefreshLevel(int level) override;
    HRESULT GoBack() override;
    HRESULT GoForward() override;
    HRESULT ExecScript(const wchar_t* code) override;
    HRESULT CallScript(const wchar_t* function, const std::vector<DMStringT>& arguments,
                       wchar_t* result, int size) override;
    HRESULT SetSilent(bool silent) override;
    HRESULT SetShowScroll(bool show) override;
    HRESULT SetShowContext(bool show) override;
    bool SetWebAttribute(const DMStringT& name, const DMStringT& value, bool loading) override;
    bool CanGoBack() override { return m_bCanGoBack; }
    bool CanGoForward() override { return m_bCanGoForward; }

    // The last command states the browser reported.
    void OnCommandState(long command, bool enabled);
    IDMWebEvent* GetEvtHandler() const { return m_EventDispatch.GetEvtHandler(); }
    DUIWND GetOwnerHandle() const { return m_hOwner; }
    // The external object once the control has been activated, else null.
    plat::IDispatch* GetExternal() { return m_bActivated ? &m_External : nullptr; }

    DMStringT m_strUrl;
    DWORD m_dwRefreshKey;
    bool m_bDisableScriptWarn = false;

protected:
    void OnShowControl(bool visible) override;

private:
    static DMCode OnUrl(DUIIE& widget, const DMStringT& value, bool loading);
    static DMCode OnShowScroll(DUIIE& widget, const DMStringT& value, bool loading);
    static DMCode OnShowContext(DUIIE& widget, const DMStringT& value, bool loading);
    static DMCode OnDisableScriptWarn(DUIIE& widget, const DMStringT& value, bool loading);
    static DMCode OnRefreshKey(DUIIE& widget, const DMStringT& value, bool loading);
    // The browser, with a reference for the caller; null when there is none.
    plat::IWebBrowser2* Browser() const;
    plat::IWebDocument* Document() const;
    bool IsRefreshKeyDown() const;
    bool IsFocusInHost() const;
    HRESULT RefreshWith(plat::VARIANT* level);
    void Connect(plat::IUnknown* control);
    void Disconnect();

    DMIEEvtDispatch m_EventDispatch;
    DMIEOleClientSite m_ClientSite;
    DMIEDocHostUIHandler m_HostHandler;
    DMIEExternal m_External;
    DWORD m_dwAdviseCookie = 0;
    DUIWND m_hOwner = 0;
    bool m_bActivated = false;
    bool m_bCanGoBack = false;
    bool m_bCanGoForward = false;
    bool m_bFilterAdded = false;

    friend class DMIEOleClientSite;
    friend class DMIEDocHostUIHandler;
};

}  // namespace DM
