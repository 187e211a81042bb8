// The web browser control: a page view of the driver, activated in place in a host window
// through its client site, with the browser's navigation, script and event interfaces.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "plat/ole_control.h"
#include "plat/web_browser.h"
#include "plat/web_view.h"

namespace plat::web {

HRESULT CreateWebBrowser(REFIID iid, void** object);

class WebBrowser final : public IWebBrowser2,
                         public IWebDocument,
                         public IOleObject,
                         public IOleInPlaceObject,
                         public IOleInPlaceActiveObject,
                         public IPersistStreamInit,
                         public IConnectionPointContainer,
                         public IConnectionPoint,
                         public WebViewClient {
public:
    WebBrowser() = default;
    WebBrowser(const WebBrowser&) = delete;
    WebBrowser& operator=(const WebBrowser&) = delete;

    // IUnknown
    HRESULT QueryInterface(REFIID iid, void** object) override;
    ULONG AddRef() override;
    ULONG Release() override;

    // IDispatch: the browser is driven through its own interface only.
    HRESULT GetTypeInfoCount(UINT* count) override;
    HRESULT GetTypeInfo(UINT, LCID, void**) override { return E_NOTIMPL; }
    HRESULT GetIDsOfNames(REFIID, const wchar_t**, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }

    // IWebBrowser2
    HRESULT Navigate(const wchar_t* url, VARIANT* flags, VARIANT* targetFrame, VARIANT* postData,
                     VARIANT* headers) override;
    HRESULT Navigate2(VARIANT* url, VARIANT* flags, VARIANT* targetFrame, VARIANT* postData,
                      VARIANT* headers) override;
    HRESULT get_LocationURL(std::wstring* url) override;
    HRESULT Refresh() override;
    HRESULT Refresh2(VARIANT* level) override;
    HRESULT GoBack() override;
    HRESULT GoForward() override;
    HRESULT Stop() override;
    HRESULT get_Busy(VARIANT_BOOL* busy) override;
    HRESULT Quit() override;
    HRESULT put_Silent(VARIANT_BOOL silent) override;
    HRESULT get_Silent(VARIANT_BOOL* silent) override;
    HRESULT get_Document(IUnknown** document) override;

    // IWebDocument
    HRESULT ExecScript(const std::wstring& code, const std::wstring& language) override;
    HRESULT CallFunction(const std::wstring& name, const std::wstring* arguments, UINT count,
                         std::wstring* result) override;
    HRESULT Focus() override;

    // IOleObject
    HRESULT SetClientSite(IOleClientSite* site) override;
    HRESULT GetClientSite(IOleClientSite** site) override;
    HRESULT GetMiscStatus(DWORD aspect, DWORD* status) override;
    HRESULT DoVerb(LONG verb, const MSG* message, IOleClientSite* site, LONG index, HWND parent,
                   const RECT* rect) override;
    HRESULT Close(DWORD saveOption) override;

    // IOleWindow, IOleInPlaceObject, IOleInPlaceActiveObject
    HRESULT GetWindow(HWND* window) override;
    HRESULT ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    HRESULT InPlaceDeactivate() override;
    HRESULT SetObjectRects(const RECT* position, const RECT* clip) override;
    HRESULT TranslateAccelerator(MSG* message) override;

    // IPersistStreamInit
    HRESULT InitNew() override { return S_OK; }

    // IConnectionPointContainer, IConnectionPoint (DWebBrowserEvents2)
    HRESULT FindConnectionPoint(REFIID iid, IConnectionPoint** point) override;
    HRESULT Advise(IUnknown* sink, DWORD* cookie) override;
    HRESULT Unadvise(DWORD cookie) override;

    // WebViewClient
    bool OnNavigationStarting(const std::wstring& url) override;
    void OnNewWindowRequested(const std::wstring& url, const std::wstring& referrer) override;
    void OnLoadStarted() override;
    void OnLoadCommitted(const std::wstring& url) override;
    void OnLoadFinished(const std::wstring& url) override;
    void OnLoadFailed(const std::wstring& url, int status) override;
    void OnTitleChanged(const std::wstring& title) override;
    void OnStatusTextChanged(const std::wstring& text) override;
    void OnProgressChanged(int progress, int maximum) override;
    void OnHistoryChanged(bool canGoBack, bool canGoForward) override;
    void OnCloseRequested() override;
    bool OnContextMenu() override;
    std::wstring OnExternalCall(const std::wstring& name,
                                const std::vector<std::wstring>& arguments) override;
    void OnFocusIn() override;

private:
    struct Sink {
        DWORD cookie;
        IDispatch* dispatch;  // referenced
    };

    ~WebBrowser();
    IDocHostUIHandler* HostHandler();  // referenced, or null
    void ApplyHostInfo();
    void Start(WebRequest request);
    // False when the driver has no web view to give.
    bool CreateView(HWND parent, const RECT& rect);
    void DestroyView();
    // The arguments in their natural order; true when the last cancel flag was set.
    void Fire(DISPID id, std::vector<VARIANT> arguments);
    bool FireCancellable(DISPID id, std::vector<VARIANT> arguments, VARIANT_BOOL& cancel);
    static LRESULT PageWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    ULONG m_refs = 1;
    IOleClientSite* m_site = nullptr;  // referenced
    std::unique_ptr<WebView> m_view;
    HWND m_pageWindow = nullptr;  // the page's child window in the host
    WebRequest m_pending;         // asked for before the view exists
    bool m_hasPending = false;
    bool m_silent = false;
    bool m_scrollBars = true;
    std::vector<Sink> m_sinks;
    DWORD m_nextCookie = 1;
};

}  // namespace plat::web
