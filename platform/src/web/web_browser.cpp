#include "web/web_browser.h"

#include <algorithm>
#include <utility>

#include "plat/driver.h"
#include "plat/input.h"
#include "plat/messages.h"
#include "plat/show_commands.h"
#include "plat/window.h"
#include "plat/window_styles.h"

namespace plat::web {
namespace {

constexpr const wchar_t* kPageWindowClass = L"VaelWebBrowserPage";

// The page's window in the window system: a child of the host that has the keyboard focus while
// the page has it.
void RegisterPageWindowClass(WNDPROC procedure) {
    static const bool registered = [procedure] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = procedure;
        windowClass.lpszClassName = kPageWindowClass;
        return RegisterClassExW(&windowClass) != 0;
    }();
    (void)registered;
}

LONG IntOf(const VARIANT* value, LONG fallback) {
    if (!value) {
        return fallback;
    }
    const VARIANT& at = DereferencedVariant(*value);
    return at.vt == VT_I4 ? at.lVal : fallback;
}

std::wstring TextOf(const VARIANT* value) {
    if (!value) {
        return {};
    }
    const VARIANT& at = DereferencedVariant(*value);
    return at.vt == VT_BSTR ? at.bstrVal : std::wstring();
}

std::vector<BYTE> BytesOf(const VARIANT* value) {
    if (!value) {
        return {};
    }
    const VARIANT& at = DereferencedVariant(*value);
    return at.vt == (VT_ARRAY | VT_UI1) ? at.bytes : std::vector<BYTE>();
}

bool IsKeyMessage(UINT message) {
    return message >= WM_KEYFIRST && message <= WM_KEYLAST;
}

// A text result of a call from page script: text as it is, numbers and flags written out.
std::wstring ResultText(const VARIANT& result) {
    const VARIANT& at = DereferencedVariant(result);
    switch (at.vt) {
        case VT_BSTR:
            return at.bstrVal;
        case VT_I4:
            return std::to_wstring(at.lVal);
        case VT_BOOL:
            return at.boolVal ? L"true" : L"false";
        default:
            return {};
    }
}

}  // namespace

HRESULT CreateWebBrowser(REFIID iid, void** object) {
    auto* browser = new WebBrowser;
    HRESULT result = browser->QueryInterface(iid, object);
    browser->Release();
    return result;
}

WebBrowser::~WebBrowser() {
    DestroyView();
    for (Sink& sink : m_sinks) {
        sink.dispatch->Release();
    }
    if (m_site) {
        m_site->Release();
    }
}

HRESULT WebBrowser::QueryInterface(REFIID iid, void** object) {
    if (!object) {
        return E_POINTER;
    }
    *object = nullptr;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IWebBrowser2) {
        *object = static_cast<IWebBrowser2*>(this);
    } else if (iid == IID_IWebDocument) {
        *object = static_cast<IWebDocument*>(this);
    } else if (iid == IID_IOleObject) {
        *object = static_cast<IOleObject*>(this);
    } else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceObject) {
        *object = static_cast<IOleInPlaceObject*>(this);
    } else if (iid == IID_IOleInPlaceActiveObject) {
        *object = static_cast<IOleInPlaceActiveObject*>(this);
    } else if (iid == IID_IPersistStreamInit) {
        *object = static_cast<IPersistStreamInit*>(this);
    } else if (iid == IID_IConnectionPointContainer) {
        *object = static_cast<IConnectionPointContainer*>(this);
    } else if (iid == IID_IConnectionPoint) {
        *object = static_cast<IConnectionPoint*>(this);
    } else {
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

ULONG WebBrowser::AddRef() {
    return ++m_refs;
}

ULONG WebBrowser::Release() {
    ULONG left = --m_refs;
    if (left == 0) {
        delete this;
    }
    return left;
}

HRESULT WebBrowser::GetTypeInfoCount(UINT* count) {
    if (!count) {
        return E_POINTER;
    }
    *count = 0;
    return S_OK;
}

// ---- navigation ----

HRESULT WebBrowser::Navigate(const wchar_t* url, VARIANT* flags, VARIANT* targetFrame,
                             VARIANT* postData, VARIANT* headers) {
    VARIANT address = TextVariant(url ? url : L"");
    return Navigate2(&address, flags, targetFrame, postData, headers);
}

// A target frame other than the view's own is not one this control can name: the page opens in
// its own frame.
HRESULT WebBrowser::Navigate2(VARIANT* url, VARIANT* flags, VARIANT*, VARIANT* postData,
                              VARIANT* headers) {
    std::wstring address = TextOf(url);
    if (address.empty()) {
        return E_INVALIDARG;
    }
    WebRequest request{address, TextOf(headers), BytesOf(postData),
                       (IntOf(flags, 0) & navNoReadFromCache) != 0};
    Start(std::move(request));
    return S_OK;
}

void WebBrowser::Start(WebRequest request) {
    if (!m_view) {
        m_pending = std::move(request);
        m_hasPending = true;
        return;
    }
    ApplyHostInfo();
    m_view->Navigate(request);
}

HRESULT WebBrowser::get_LocationURL(std::wstring* url) {
    if (!url) {
        return E_POINTER;
    }
    *url = m_view ? m_view->Url() : (m_hasPending ? m_pending.url : std::wstring());
    return S_OK;
}

HRESULT WebBrowser::Refresh() {
    VARIANT level = IntVariant(REFRESH_NORMAL);
    return Refresh2(&level);
}

HRESULT WebBrowser::Refresh2(VARIANT* level) {
    if (!m_view) {
        return OLE_E_NOT_INPLACEACTIVE;
    }
    ApplyHostInfo();
    m_view->Reload(IntOf(level, REFRESH_NORMAL) == REFRESH_COMPLETELY);
    return S_OK;
}

HRESULT WebBrowser::GoBack() {
    if (!m_view) {
        return OLE_E_NOT_INPLACEACTIVE;
    }
    m_view->GoBack();
    return S_OK;
}

HRESULT WebBrowser::GoForward() {
    if (!m_view) {
        return OLE_E_NOT_INPLACEACTIVE;
    }
    m_view->GoForward();
    return S_OK;
}

HRESULT WebBrowser::Stop() {
    if (m_view) {
        m_view->Stop();
    }
    return S_OK;
}

HRESULT WebBrowser::get_Busy(VARIANT_BOOL* busy) {
    if (!busy) {
        return E_POINTER;
    }
    *busy = m_view && m_view->Busy() ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

// The page goes; the control stays until its container releases it.
HRESULT WebBrowser::Quit() {
    Fire(DISPID_ONQUIT, {});
    DestroyView();
    m_hasPending = false;
    return S_OK;
}

HRESULT WebBrowser::put_Silent(VARIANT_BOOL silent) {
    m_silent = silent != VARIANT_FALSE;
    if (m_view) {
        m_view->SetSilent(m_silent);
    }
    return S_OK;
}

HRESULT WebBrowser::get_Silent(VARIANT_BOOL* silent) {
    if (!silent) {
        return E_POINTER;
    }
    *silent = m_silent ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

HRESULT WebBrowser::get_Document(IUnknown** document) {
    if (!document) {
        return E_POINTER;
    }
    *document = nullptr;
    if (!m_view) {
        return E_FAIL;
    }
    *document = static_cast<IWebDocument*>(this);
    AddRef();
    return S_OK;
}

// ---- the page's script ----

// The view runs JavaScript only.
HRESULT WebBrowser::ExecScript(const std::wstring& code, const std::wstring& language) {
    if (!m_view) {
        return E_FAIL;
    }
    if (!language.empty() && language != L"JavaScript" && language != L"javascript") {
        return E_INVALIDARG;
    }
    m_view->RunScript(code);
    return S_OK;
}

HRESULT WebBrowser::CallFunction(const std::wstring& name, const std::wstring* arguments,
                                 UINT count, std::wstring* result) {
    if (!m_view) {
        return E_FAIL;
    }
    std::vector<std::wstring> texts(arguments, arguments + (arguments ? count : 0));
    std::wstring answer;
    if (!m_view->CallFunction(name, texts, answer)) {
        return DISP_E_UNKNOWNNAME;
    }
    if (result) {
        *result = answer;
    }
    return S_OK;
}

HRESULT WebBrowser::Focus() {
    if (!m_view) {
        return E_FAIL;
    }
    m_view->Focus();
    plat::SetFocus(m_pageWindow);
    return S_OK;
}

// ---- embedding ----

HRESULT WebBrowser::SetClientSite(IOleClientSite* site) {
    if (site) {
        site->AddRef();
    }
    if (m_site) {
        m_site->Release();
    }
    m_site = site;
    return S_OK;
}

HRESULT WebBrowser::GetClientSite(IOleClientSite** site) {
    if (!site) {
        return E_POINTER;
    }
    *site = m_site;
    if (m_site) {
        m_site->AddRef();
    }
    return S_OK;
}

HRESULT WebBrowser::GetMiscStatus(DWORD, DWORD* status) {
    if (!status) {
        return E_POINTER;
    }
    *status = OLEMISC_SETCLIENTSITEFIRST;
    return S_OK;
}

// In-place activation asks the site where to show; the page is then made at that rectangle.
HRESULT WebBrowser::DoVerb(LONG verb, const MSG*, IOleClientSite* site, LONG, HWND parent,
                           const RECT* rect) {
    if (verb != OLEIVERB_INPLACEACTIVATE) {
        return E_NOTIMPL;
    }
    if (m_view) {
        return S_OK;
    }
    IOleClientSite* asked = site ? site : m_site;
    IOleInPlaceSite* inPlace = nullptr;
    if (!asked ||
        FAILED(asked->QueryInterface(IID_IOleInPlaceSite, reinterpret_cast<void**>(&inPlace)))) {
        return E_INVALIDARG;
    }
    RECT position = rect ? *rect : RECT{};
    RECT clip{};
    OLEINPLACEFRAMEINFO frame{sizeof(frame), FALSE, nullptr, 0};
    HWND window = parent;
    HRESULT result = inPlace->CanInPlaceActivate();
    if (result == S_OK) {
        inPlace->OnInPlaceActivate();
        inPlace->GetWindow(&window);
        inPlace->GetWindowContext(nullptr, nullptr, &position, &clip, &frame);
    }
    inPlace->Release();
    if (result != S_OK) {
        return E_FAIL;
    }
    if (!IsWindow(window)) {
        return E_INVALIDARG;
    }
    return CreateView(window, position) ? S_OK : E_FAIL;
}

HRESULT WebBrowser::Close(DWORD) {
    DestroyView();
    SetClientSite(nullptr);
    return S_OK;
}

HRESULT WebBrowser::GetWindow(HWND* window) {
    if (!window) {
        return E_POINTER;
    }
    *window = m_pageWindow;
    return m_pageWindow ? S_OK : E_FAIL;
}

HRESULT WebBrowser::InPlaceDeactivate() {
    DestroyView();
    return S_OK;
}

HRESULT WebBrowser::SetObjectRects(const RECT* position, const RECT*) {
    if (!position) {
        return E_INVALIDARG;
    }
    if (!m_view) {
        return OLE_E_NOT_INPLACEACTIVE;
    }
    m_view->Place(*position);
    SetWindowPos(m_pageWindow, nullptr, position->left, position->top,
                 position->right - position->left, position->bottom - position->top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    return S_OK;
}

// While the page has the keyboard focus its keys are its own: the view gets them natively.
HRESULT WebBrowser::TranslateAccelerator(MSG* message) {
    if (!message || !m_view || !IsKeyMessage(message->message)) {
        return S_FALSE;
    }
    return message->hwnd == m_pageWindow && plat::GetFocus() == m_pageWindow ? S_OK : S_FALSE;
}

bool WebBrowser::CreateView(HWND parent, const RECT& rect) {
    m_view = CurrentDriver().CreateWebView(parent, *this);
    if (!m_view) {
        return false;
    }
    RegisterPageWindowClass(&WebBrowser::PageWindowProcedure);
    m_pageWindow = CreateWindowExW(0, kPageWindowClass, L"", WS_CHILD, rect.left, rect.top,
                                   rect.right - rect.left, rect.bottom - rect.top, parent, nullptr,
                                   nullptr, nullptr);
    SetWindowLongPtrW(m_pageWindow, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    m_view->SetSilent(m_silent);
    m_view->Place(rect);
    m_view->Show(true);
    ShowWindow(m_pageWindow, SW_SHOWNA);
    if (m_hasPending) {
        m_hasPending = false;
        Start(std::move(m_pending));
    }
    return true;
}

void WebBrowser::DestroyView() {
    m_view.reset();
    if (m_pageWindow) {
        HWND window = m_pageWindow;
        m_pageWindow = nullptr;
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        DestroyWindow(window);
    }
}

// The page's window shows and hides the page with it, and gives it the focus it receives.
LRESULT WebBrowser::PageWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* browser = reinterpret_cast<WebBrowser*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (browser && browser->m_view) {
        if (message == WM_SHOWWINDOW) {
            browser->m_view->Show(wParam != 0);
        } else if (message == WM_SETFOCUS) {
            browser->m_view->Focus();
        }
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

IDocHostUIHandler* WebBrowser::HostHandler() {
    IDocHostUIHandler* handler = nullptr;
    if (m_site) {
        m_site->QueryInterface(IID_IDocHostUIHandler, reinterpret_cast<void**>(&handler));
    }
    return handler;
}

// The host's flags decide the scroll bars of the next page.
void WebBrowser::ApplyHostInfo() {
    IDocHostUIHandler* handler = HostHandler();
    if (!handler) {
        return;
    }
    DOCHOSTUIINFO info{sizeof(info), 0, DOCHOSTUIDBLCLK_DEFAULT, nullptr, nullptr};
    if (SUCCEEDED(handler->GetHostInfo(&info))) {
        m_scrollBars = !(info.dwFlags & DOCHOSTUIFLAG_SCROLL_NO);
        m_view->SetScrollBars(m_scrollBars);
    }
    handler->Release();
}

// ---- events ----

HRESULT WebBrowser::FindConnectionPoint(REFIID iid, IConnectionPoint** point) {
    if (!point) {
        return E_POINTER;
    }
    *point = nullptr;
    if (iid != DIID_DWebBrowserEvents2) {
        return CONNECT_E_NOCONNECTION;
    }
    *point = this;
    AddRef();
    return S_OK;
}

HRESULT WebBrowser::Advise(IUnknown* sink, DWORD* cookie) {
    if (!sink || !cookie) {
        return E_POINTER;
    }
    IDispatch* dispatch = nullptr;
    if (FAILED(sink->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch)))) {
        return CONNECT_E_CANNOTCONNECT;
    }
    *cookie = m_nextCookie++;
    m_sinks.push_back({*cookie, dispatch});
    return S_OK;
}

HRESULT WebBrowser::Unadvise(DWORD cookie) {
    auto found = std::ranges::find(m_sinks, cookie, &Sink::cookie);
    if (found == m_sinks.end()) {
        return CONNECT_E_NOCONNECTION;
    }
    IDispatch* dispatch = found->dispatch;
    m_sinks.erase(found);
    dispatch->Release();
    return S_OK;
}

// Every sink hears the event; a sink may unadvise while it runs, so the list is copied.
void WebBrowser::Fire(DISPID id, std::vector<VARIANT> arguments) {
    std::ranges::reverse(arguments);
    DISPPARAMS parameters{arguments.data(), nullptr, static_cast<UINT>(arguments.size()), 0};
    std::vector<Sink> sinks = m_sinks;
    AddRef();
    for (const Sink& sink : sinks) {
        sink.dispatch->AddRef();
        sink.dispatch->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &parameters, nullptr, nullptr,
                              nullptr);
        sink.dispatch->Release();
    }
    Release();
}

bool WebBrowser::FireCancellable(DISPID id, std::vector<VARIANT> arguments, VARIANT_BOOL& cancel) {
    cancel = VARIANT_FALSE;
    Fire(id, std::move(arguments));
    return cancel != VARIANT_FALSE;
}

bool WebBrowser::OnNavigationStarting(const std::wstring& url) {
    VARIANT address = TextVariant(url);
    VARIANT flags = IntVariant(0);
    VARIANT frame = TextVariant(L"");
    VARIANT postData;
    VARIANT headers = TextVariant(L"");
    VARIANT_BOOL cancel = VARIANT_FALSE;
    bool cancelled = FireCancellable(
        DISPID_BEFORENAVIGATE2,
        {DispatchVariant(this), VariantRefVariant(&address), VariantRefVariant(&flags),
         VariantRefVariant(&frame), VariantRefVariant(&postData), VariantRefVariant(&headers),
         BoolRefVariant(&cancel)},
        cancel);
    return !cancelled;
}

// The control has no window to open a page in: a request nobody cancels opens in this page.
void WebBrowser::OnNewWindowRequested(const std::wstring& url, const std::wstring& referrer) {
    IDispatch* newBrowser = nullptr;
    VARIANT_BOOL cancel = VARIANT_FALSE;
    if (FireCancellable(DISPID_NEWWINDOW3,
                        {DispatchRefVariant(&newBrowser), BoolRefVariant(&cancel),
                         IntVariant(NWMF_USERINITED), TextVariant(referrer), TextVariant(url)},
                        cancel)) {
        return;
    }
    if (FireCancellable(DISPID_NEWWINDOW2,
                        {DispatchRefVariant(&newBrowser), BoolRefVariant(&cancel)}, cancel)) {
        return;
    }
    if (m_view) {
        Start({url, L"", {}, false});
    }
}

void WebBrowser::OnLoadStarted() {
    Fire(DISPID_DOWNLOADBEGIN, {});
}

void WebBrowser::OnLoadCommitted(const std::wstring& url) {
    VARIANT address = TextVariant(url);
    Fire(DISPID_NAVIGATECOMPLETE2, {DispatchVariant(this), VariantRefVariant(&address)});
}

void WebBrowser::OnLoadFinished(const std::wstring& url) {
    VARIANT address = TextVariant(url);
    Fire(DISPID_DOCUMENTCOMPLETE, {DispatchVariant(this), VariantRefVariant(&address)});
    Fire(DISPID_DOWNLOADCOMPLETE, {});
}

void WebBrowser::OnLoadFailed(const std::wstring& url, int status) {
    VARIANT address = TextVariant(url);
    VARIANT frame = TextVariant(L"");
    VARIANT code = IntVariant(status);
    VARIANT_BOOL cancel = VARIANT_FALSE;
    Fire(DISPID_NAVIGATEERROR,
         {DispatchVariant(this), VariantRefVariant(&address), VariantRefVariant(&frame),
          VariantRefVariant(&code), BoolRefVariant(&cancel)});
    Fire(DISPID_DOWNLOADCOMPLETE, {});
}

void WebBrowser::OnTitleChanged(const std::wstring& title) {
    Fire(DISPID_TITLECHANGE, {TextVariant(title)});
}

void WebBrowser::OnStatusTextChanged(const std::wstring& text) {
    Fire(DISPID_STATUSTEXTCHANGE, {TextVariant(text)});
}

void WebBrowser::OnProgressChanged(int progress, int maximum) {
    Fire(DISPID_PROGRESSCHANGE, {IntVariant(progress), IntVariant(maximum)});
}

void WebBrowser::OnHistoryChanged(bool canGoBack, bool canGoForward) {
    Fire(DISPID_COMMANDSTATECHANGE, {IntVariant(CSC_NAVIGATEBACK), BoolVariant(canGoBack)});
    Fire(DISPID_COMMANDSTATECHANGE, {IntVariant(CSC_NAVIGATEFORWARD), BoolVariant(canGoForward)});
}

// The page asked to close its window; the window is the host's, so the page stays.
void WebBrowser::OnCloseRequested() {
    VARIANT_BOOL cancel = VARIANT_FALSE;
    Fire(DISPID_WINDOWCLOSING, {BoolVariant(false), BoolRefVariant(&cancel)});
}

bool WebBrowser::OnContextMenu() {
    IDocHostUIHandler* handler = HostHandler();
    if (!handler) {
        return true;
    }
    POINT point{};
    bool hostHandled = handler->ShowContextMenu(0, &point, nullptr, nullptr) == S_OK;
    handler->Release();
    return !hostHandled;
}

// window.external.<name>(…): the host's external object by name, then the call.
std::wstring WebBrowser::OnExternalCall(const std::wstring& name,
                                        const std::vector<std::wstring>& arguments) {
    IDocHostUIHandler* handler = HostHandler();
    IDispatch* external = nullptr;
    if (handler) {
        handler->GetExternal(&external);
        handler->Release();
    }
    if (!external) {
        return {};
    }
    const wchar_t* names[] = {name.c_str()};
    DISPID id = 0;
    std::wstring answer;
    if (SUCCEEDED(external->GetIDsOfNames(IID_NULL, names, 1, 0, &id))) {
        std::vector<VARIANT> values;
        for (auto argument = arguments.rbegin(); argument != arguments.rend(); ++argument) {
            values.push_back(TextVariant(*argument));
        }
        DISPPARAMS parameters{values.data(), nullptr, static_cast<UINT>(values.size()), 0};
        VARIANT result;
        EXCEPINFO exception{};
        UINT argumentError = 0;
        if (SUCCEEDED(external->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &parameters, &result,
                                       &exception, &argumentError))) {
            answer = ResultText(result);
        }
    }
    external->Release();
    return answer;
}

void WebBrowser::OnFocusIn() {
    if (m_pageWindow && plat::GetFocus() != m_pageWindow) {
        plat::SetFocus(m_pageWindow);
    }
}

}  // namespace plat::web
