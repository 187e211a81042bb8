#include "Common/ActiveX/DUIIE.h"

#include <algorithm>
#include <cwctype>

#include "DMApp.h"
#include "DMAttrTable.h"
#include "DUIAccel.h"
#include "plat/input.h"
#include "plat/keyboard.h"
#include "plat/messages.h"
#include "plat/window.h"
#include "plat/window_styles.h"

namespace DMAttr {

DMATTR_DEFINE(DUIIEAttr, STRING_url)
DMATTR_DEFINE(DUIIEAttr, bool_bshowscroll)
DMATTR_DEFINE(DUIIEAttr, bool_bshowcontext)
DMATTR_DEFINE(DUIIEAttr, bool_bdisablescriptwarn)
DMATTR_DEFINE(DUIIEAttr, ACCEL_refreshkey)

}  // namespace DMAttr

namespace DM {
namespace {

using DMAttr::DUIIEAttr;

constexpr plat::HRESULT kBufferTooSmall = plat::HRESULT_FROM_WIN32(122);

bool IsKeyDown(UINT virtualKey) {
    return plat::GetKeyState(static_cast<int>(virtualKey)) < 0;
}

// Copies `text` with its terminator when it fits into `size` characters.
bool CopyIfFits(const std::wstring& text, wchar_t* buffer, int size) {
    if (!buffer || size <= 0 || text.size() >= static_cast<std::size_t>(size)) {
        return false;
    }
    std::copy(text.begin(), text.end(), buffer);
    buffer[text.size()] = 0;
    return true;
}

bool IsBlankAddress(const DMStringT& url) {
    return url.empty() || EqualNoCase(url, L"about:blank");
}

}  // namespace

DUIIE::DUIIE()
    : m_dwRefreshKey(DUIAccel::ParseAccel(L"f5")),
      m_EventDispatch(*this),
      m_ClientSite(*this),
      m_HostHandler(*this),
      m_External(*this) {
    m_clsid = plat::CLSID_WebBrowser;
}

// ---- attributes ----

DMCode DUIIE::OnUrl(DUIIE& widget, const DMStringT& value, bool loading) {
    widget.m_strUrl = value;
    if (!loading) {
        widget.OpenUrl(value.c_str());
    }
    return DMATTR_OK;
}

DMCode DUIIE::OnShowScroll(DUIIE& widget, const DMStringT& value, bool loading) {
    bool show = widget.m_HostHandler.m_bShowScroll;
    ParseBool(value, show);
    widget.SetShowScroll(show);
    if (!loading) {
        widget.Refresh();
    }
    return DMATTR_OK;
}

DMCode DUIIE::OnShowContext(DUIIE& widget, const DMStringT& value, bool loading) {
    bool show = widget.m_HostHandler.m_bShowContext;
    ParseBool(value, show);
    widget.SetShowContext(show);
    if (!loading) {
        widget.Refresh();
    }
    return DMATTR_OK;
}

DMCode DUIIE::OnDisableScriptWarn(DUIIE& widget, const DMStringT& value, bool) {
    ParseBool(value, widget.m_bDisableScriptWarn);
    widget.SetSilent(widget.m_bDisableScriptWarn);
    return DMATTR_OK;
}

DMCode DUIIE::OnRefreshKey(DUIIE& widget, const DMStringT& value, bool) {
    widget.m_dwRefreshKey = DUIAccel::ParseAccel(value);
    return DMATTR_OK;
}

DMCode DUIIE::SetAttribute(const DMStringT& name, const DMStringT& value, bool loading) {
    static const DMAttributeEntry<DUIIE> kTable[] = {
        {&DUIIEAttr::STRING_url, &DUIIE::OnUrl},
        {&DUIIEAttr::bool_bshowscroll, &DUIIE::OnShowScroll},
        {&DUIIEAttr::bool_bshowcontext, &DUIIE::OnShowContext},
        {&DUIIEAttr::bool_bdisablescriptwarn, &DUIIE::OnDisableScriptWarn},
        {&DUIIEAttr::ACCEL_refreshkey, &DUIIE::OnRefreshKey},
    };
    DMCode code = DMATTR_FAIL;
    if (DispatchAttribute(*this, kTable, name, value, loading, code)) {
        return OnAttributeFinished(name, value, loading, code);
    }
    return DUIActiveX::SetAttribute(name, value, loading);
}

// ---- messages ----

bool DUIIE::ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case plat::WM_CREATE: {
            IDMContainer* container = GetContainer();
            if (container && container->OnIsTranslucent()) {
                result = 1;
                return true;
            }
            m_bFilterAdded = DMApp::GetObjPtr()->AddMessageFilter(this) == DM_ECODE_OK;
            result = 0;
            return true;
        }
        case plat::WM_PAINT:
            DUIWindow::ProcessWindowMessage(message, wParam, lParam, result);
            if (m_bInit) {
                GetAxContainer().ShowControl(IsVisibleInTree());
            }
            return true;
        case plat::WM_DESTROY:
            if (m_bFilterAdded) {
                DMApp::GetObjPtr()->RemoveMessageFilter(this);
                m_bFilterAdded = false;
            }
            SetEvtHandler(nullptr);
            Disconnect();
            break;
        default:
            break;
    }
    return DUIActiveX::ProcessWindowMessage(message, wParam, lParam, result);
}

// The page shows again at the next paint.
void DUIIE::OnShowControl(bool) {
    GetAxContainer().ShowControl(false);
}

void DUIIE::OnAxActivate(plat::IUnknown* control) {
    Connect(control);
    m_hOwner = GetDUIWnd();
    m_EventDispatch.SetOwnerHandle(m_hOwner);
    if (auto* object = GetAxContainer().QueryControl<plat::IOleObject>(plat::IID_IOleObject)) {
        object->SetClientSite(&m_ClientSite);
        object->Release();
    }
    m_bActivated = true;
    SetSilent(m_bDisableScriptWarn);
    plat::IWebBrowser2* browser = Browser();
    if (browser && !m_strUrl.empty()) {
        browser->Navigate(m_strUrl.c_str(), nullptr, nullptr, nullptr, nullptr);
    }
    if (browser) {
        browser->Release();
    }
}

void DUIIE::Connect(plat::IUnknown* control) {
    plat::IConnectionPointContainer* points = nullptr;
    if (plat::FAILED(control->QueryInterface(plat::IID_IConnectionPointContainer,
                                             reinterpret_cast<void**>(&points)))) {
        return;
    }
    plat::IConnectionPoint* point = nullptr;
    if (plat::SUCCEEDED(points->FindConnectionPoint(plat::DIID_DWebBrowserEvents2, &point))) {
        point->Advise(&m_EventDispatch, &m_dwAdviseCookie);
        point->Release();
    }
    points->Release();
}

void DUIIE::Disconnect() {
    auto* points = GetAxContainer().QueryControl<plat::IConnectionPointContainer>(
        plat::IID_IConnectionPointContainer);
    if (!points) {
        return;
    }
    plat::IConnectionPoint* point = nullptr;
    if (m_dwAdviseCookie &&
        plat::SUCCEEDED(points->FindConnectionPoint(plat::DIID_DWebBrowserEvents2, &point))) {
        point->Unadvise(m_dwAdviseCookie);
        point->Release();
    }
    m_dwAdviseCookie = 0;
    points->Release();
}

// No modifier: none of Shift, Ctrl and Alt is down; one modifier: that key is down. A key with
// more than one modifier never matches.
bool DUIIE::IsRefreshKeyDown() const {
    DWORD modifiers = m_dwRefreshKey >> 16;
    switch (modifiers) {
        case 0:
            return !IsKeyDown(plat::VK_SHIFT) && !IsKeyDown(plat::VK_CONTROL) &&
                   !IsKeyDown(plat::VK_MENU);
        case DMACCEL_SHIFT:
            return IsKeyDown(plat::VK_SHIFT);
        case DMACCEL_CTRL:
            return IsKeyDown(plat::VK_CONTROL);
        case DMACCEL_ALT:
            return IsKeyDown(plat::VK_MENU);
        default:
            return false;
    }
}

// The focus is in a child window of the host, not in the host itself.
bool DUIIE::IsFocusInHost() const {
    HWND host = GetContainer() ? GetContainer()->OnGetHWnd() : nullptr;
    HWND focus = plat::GetFocus();
    if (!host || !focus || focus == host) {
        return false;
    }
    for (HWND at = focus; at && (plat::GetWindowLongPtrW(at, plat::GWL_STYLE) & plat::WS_CHILD);) {
        at = plat::GetParent(at);
        if (at == host) {
            return true;
        }
    }
    return false;
}

bool DUIIE::PreTranslateMessage(plat::MSG* message) {
    if (!message || (message->message != plat::WM_KEYDOWN && message->message != plat::WM_KEYUP)) {
        return false;
    }
    IDMContainer* container = GetContainer();
    HWND host = container ? container->OnGetHWnd() : nullptr;
    if (!GetAxContainer().Control() || !IsVisibleInTree() || !plat::IsWindowVisible(host)) {
        return false;
    }
    if (message->message == plat::WM_KEYDOWN && message->wParam == (m_dwRefreshKey & 0xFFFF) &&
        IsRefreshKeyDown()) {
        Refresh();
    }
    if (!IsFocusInHost()) {
        return false;
    }
    auto* active = GetAxContainer().QueryControl<plat::IOleInPlaceActiveObject>(
        plat::IID_IOleInPlaceActiveObject);
    if (!active) {
        return false;
    }
    bool handled = active->TranslateAccelerator(message) == plat::S_OK;
    active->Release();
    return handled;
}

// ---- IDUIWeb ----

plat::IWebBrowser2* DUIIE::Browser() const {
    auto& container = const_cast<DUIIE*>(this)->GetAxContainer();
    return container.QueryControl<plat::IWebBrowser2>(plat::IID_IWebBrowser2);
}

plat::IWebDocument* DUIIE::Document() const {
    plat::IWebBrowser2* browser = Browser();
    if (!browser) {
        return nullptr;
    }
    plat::IUnknown* document = nullptr;
    void* found = nullptr;
    if (plat::SUCCEEDED(browser->get_Document(&document)) && document) {
        document->QueryInterface(plat::IID_IWebDocument, &found);
        document->Release();
    }
    browser->Release();
    return static_cast<plat::IWebDocument*>(found);
}

HRESULT DUIIE::SetEvtHandler(IDMWebEvent* handler) {
    m_EventDispatch.SetEvtHandler(handler);
    return plat::S_OK;
}

HRESULT DUIIE::OpenUrl(const wchar_t* url, int flags, const wchar_t* targetFrame,
                       const wchar_t* headers, const char* postData, int postLength) {
    if (!url || !*url) {
        return plat::E_FAIL;
    }
    m_strUrl = url;
    plat::IWebBrowser2* browser = Browser();
    if (!browser) {
        return plat::E_FAIL;
    }
    plat::VARIANT address = plat::TextVariant(url);
    plat::VARIANT navigation = plat::IntVariant(flags == -1 ? plat::navNoReadFromCache : flags);
    plat::VARIANT frame = plat::TextVariant(targetFrame ? targetFrame : L"");
    plat::VARIANT extraHeaders = plat::TextVariant(headers ? headers : L"");
    plat::VARIANT body;
    if (postData && postLength > 0) {
        body.vt = plat::VT_ARRAY | plat::VT_UI1;
        body.bytes.assign(postData, postData + postLength);
    }
    HRESULT result = browser->Navigate2(&address, &navigation, targetFrame ? &frame : nullptr,
                                        body.vt == plat::VT_EMPTY ? nullptr : &body,
                                        headers ? &extraHeaders : nullptr);
    browser->Release();
    return result;
}

// A buffer too small is a failure, not a success with nothing copied.
HRESULT DUIIE::GetUrl(wchar_t* buffer, int size) {
    plat::IWebBrowser2* browser = Browser();
    if (!browser) {
        return plat::E_FAIL;
    }
    std::wstring url;
    HRESULT result = browser->get_LocationURL(&url);
    browser->Release();
    if (plat::FAILED(result)) {
        return result;
    }
    return CopyIfFits(url, buffer, size) ? plat::S_OK : kBufferTooSmall;
}

HRESULT DUIIE::SetPageFocus() {
    plat::IWebDocument* document = Document();
    if (!document) {
        return plat::E_FAIL;
    }
    HRESULT result = document->Focus();
    document->Release();
    return result;
}

HWND DUIIE::GetWebHwnd() {
    auto* window = GetAxContainer().QueryControl<plat::IOleWindow>(plat::IID_IOleWindow);
    HWND handle = nullptr;
    if (window) {
        window->GetWindow(&handle);
        window->Release();
    }
    return handle;
}

HRESULT DUIIE::SetWebRect(const RECT* rect) {
    plat::IWebBrowser2* browser = Browser();
    if (!rect || !browser) {
        if (browser) {
            browser->Release();
        }
        return plat::E_FAIL;
    }
    browser->Release();
    SetWndRect(*rect);
    GetAxContainer().SetObjectRects(*rect);
    return plat::S_OK;
}

bool DUIIE::IsBusy() {
    plat::IWebBrowser2* browser = Browser();
    if (!browser) {
        return false;
    }
    plat::VARIANT_BOOL busy = plat::VARIANT_FALSE;
    browser->get_Busy(&busy);
    browser->Release();
    return busy != plat::VARIANT_FALSE;
}

HRESULT DUIIE::StopIfBusy() {
    plat::IWebBrowser2* browser = Browser();
    if (!browser) {
        return plat::E_FAIL;
    }
    plat::VARIANT_BOOL busy = plat::VARIANT_FALSE;
    browser->get_Busy(&busy);
    if (busy != plat::VARIANT_FALSE) {
        browser->Stop();
    }
    browser->Release();
    return plat::S_OK;
}

HRESULT DUIIE::Quit() {
    plat::IWebBrowser2* browser = Browser();
    if (!browser) {
        return plat::E_FAIL;
    }
    browser->Quit();
    browser->Release();
    return plat::S_OK;
}

HRESULT DUIIE::Refresh() {
    return RefreshWith(nullptr);
}

HRESULT DUIIE::RefreshLevel(int level) {
    plat::VARIANT value = plat::IntVariant(level);
    return RefreshWith(&value);
}

// Nothing to reload on a blank page.
HRESULT DUIIE::RefreshWith(plat::VARIANT* level) {
    if (IsBlankAddress(m_strUrl)) {
        return plat::E_FAIL;
    }
    plat::IWebBrowser2* browser = Browser();
    if (!browser) {
        return plat::E_FAIL;
    }
    HRESULT result = level ? browser->Refresh2(level) : browser->Refresh();
    browser->Release();
    return result;
}

HRESULT DUIIE::GoBack() {
    plat::IWebBrowser2* browser = Browser();
    if (!browser) {
        return plat::E_FAIL;
    }
    browser->GoBack();
    browser->Release();
    return plat::S_OK;
}

HRESULT DUIIE::GoForward() {
    plat::IWebBrowser2* browser = Browser();
    if (!browser) {
        return plat::E_FAIL;
    }
    browser->GoForward();
    browser->Release();
    return plat::S_OK;
}

HRESULT DUIIE::ExecScript(const wchar_t* code) {
    plat::IWebDocument* document = Document();
    if (!document || !code) {
        if (document) {
            document->Release();
        }
        return plat::E_FAIL;
    }
    HRESULT result = document->ExecScript(code, L"JavaScript");
    document->Release();
    return result;
}

HRESULT DUIIE::CallScript(const wchar_t* function, const std::vector<DMStringT>& arguments,
                          wchar_t* result, int size) {
    plat::IWebDocument* document = Document();
    if (!document || !function) {
        if (document) {
            document->Release();
        }
        return plat::E_FAIL;
    }
    std::wstring answer;
    HRESULT called = document->CallFunction(function, arguments.data(),
                                            static_cast<UINT>(arguments.size()), &answer);
    document->Release();
    if (plat::FAILED(called) || !result) {
        return called;
    }
    return CopyIfFits(answer, result, size) ? plat::S_OK : kBufferTooSmall;
}

HRESULT DUIIE::SetSilent(bool silent) {
    m_bDisableScriptWarn = silent;
    plat::IWebBrowser2* browser = Browser();
    if (!browser) {
        return plat::E_FAIL;
    }
    HRESULT result = browser->put_Silent(silent ? plat::VARIANT_TRUE : plat::VARIANT_FALSE);
    browser->Release();
    return result;
}

HRESULT DUIIE::SetShowScroll(bool show) {
    m_HostHandler.m_bShowScroll = show;
    return plat::S_OK;
}

HRESULT DUIIE::SetShowContext(bool show) {
    m_HostHandler.m_bShowContext = show;
    return plat::S_OK;
}

bool DUIIE::SetWebAttribute(const DMStringT& name, const DMStringT& value, bool loading) {
    return SetAttribute(name, value, loading) == DMATTR_FAIL;
}

void DUIIE::OnCommandState(long command, bool enabled) {
    if (command == plat::CSC_NAVIGATEBACK) {
        m_bCanGoBack = enabled;
    } else if (command == plat::CSC_NAVIGATEFORWARD) {
        m_bCanGoForward = enabled;
    }
}

}  // namespace DM
