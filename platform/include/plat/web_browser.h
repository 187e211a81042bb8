// The platform's web browser control (class CLSID_WebBrowser): a control that shows web pages
// in place in a host window, reports its events through the DWebBrowserEvents2 connection
// point, runs page script and asks its client site's host handler for its answers.
#pragma once

#include <string>

#include "plat/com_classes.h"
#include "plat/dispatch.h"
#include "plat/messages.h"
#include "plat/types.h"

namespace plat {

constexpr CLSID CLSID_WebBrowser{
    0x8856F961, 0x340A, 0x11D0, {0xA9, 0x6B, 0x00, 0xC0, 0x4F, 0xD7, 0x05, 0xA2}};
constexpr IID IID_IWebBrowser2{
    0xD30C1661, 0xCDAF, 0x11D0, {0x8A, 0x3E, 0x00, 0xC0, 0x4F, 0xC9, 0xE2, 0x6E}};
constexpr IID DIID_DWebBrowserEvents2{
    0x34A715A0, 0x6587, 0x11D0, {0x92, 0x4A, 0x00, 0x20, 0xAF, 0xC7, 0xAC, 0x4D}};
constexpr IID IID_IDocHostUIHandler{
    0xBD3F23C0, 0xD43E, 0x11CF, {0x89, 0x3B, 0x00, 0xAA, 0x00, 0xBD, 0xCE, 0x1A}};
constexpr IID IID_IWebDocument{
    0x6A1D3C20, 0x5B7E, 0x4C2A, {0x9E, 0x41, 0x2F, 0x63, 0x0D, 0x8B, 0x17, 0xC4}};

// Navigation flags.
constexpr LONG navOpenInNewWindow = 0x1;
constexpr LONG navNoHistory = 0x2;
constexpr LONG navNoReadFromCache = 0x4;
constexpr LONG navNoWriteToCache = 0x8;

// Refresh levels.
constexpr LONG REFRESH_NORMAL = 0;
constexpr LONG REFRESH_IFEXPIRED = 1;
constexpr LONG REFRESH_COMPLETELY = 3;

// Commands of the command-state event.
constexpr LONG CSC_NAVIGATEFORWARD = 1;
constexpr LONG CSC_NAVIGATEBACK = 2;

// The DWebBrowserEvents2 dispatch ids.
constexpr DISPID DISPID_STATUSTEXTCHANGE = 102;
constexpr DISPID DISPID_DOWNLOADCOMPLETE = 104;
constexpr DISPID DISPID_COMMANDSTATECHANGE = 105;
constexpr DISPID DISPID_DOWNLOADBEGIN = 106;
constexpr DISPID DISPID_PROGRESSCHANGE = 108;
constexpr DISPID DISPID_PROPERTYCHANGE = 112;
constexpr DISPID DISPID_TITLECHANGE = 113;
constexpr DISPID DISPID_PRINTTEMPLATEINSTANTIATION = 225;
constexpr DISPID DISPID_PRINTTEMPLATETEARDOWN = 226;
constexpr DISPID DISPID_BEFORENAVIGATE2 = 250;
constexpr DISPID DISPID_NEWWINDOW2 = 251;
constexpr DISPID DISPID_NAVIGATECOMPLETE2 = 252;
constexpr DISPID DISPID_ONQUIT = 253;
constexpr DISPID DISPID_ONVISIBLE = 254;
constexpr DISPID DISPID_ONTOOLBAR = 255;
constexpr DISPID DISPID_ONMENUBAR = 256;
constexpr DISPID DISPID_ONSTATUSBAR = 257;
constexpr DISPID DISPID_ONFULLSCREEN = 258;
constexpr DISPID DISPID_DOCUMENTCOMPLETE = 259;
constexpr DISPID DISPID_ONTHEATERMODE = 260;
constexpr DISPID DISPID_WINDOWSETRESIZABLE = 262;
constexpr DISPID DISPID_WINDOWCLOSING = 263;
constexpr DISPID DISPID_WINDOWSETLEFT = 264;
constexpr DISPID DISPID_WINDOWSETTOP = 265;
constexpr DISPID DISPID_WINDOWSETWIDTH = 266;
constexpr DISPID DISPID_WINDOWSETHEIGHT = 267;
constexpr DISPID DISPID_CLIENTTOHOSTWINDOW = 268;
constexpr DISPID DISPID_SETSECURELOCKICON = 269;
constexpr DISPID DISPID_FILEDOWNLOAD = 270;
constexpr DISPID DISPID_NAVIGATEERROR = 271;
constexpr DISPID DISPID_PRIVACYIMPACTEDSTATECHANGE = 272;
constexpr DISPID DISPID_NEWWINDOW3 = 273;
constexpr DISPID DISPID_SETPHISHINGFILTERSTATUS = 282;
constexpr DISPID DISPID_WINDOWSTATECHANGED = 283;

// NewWindow3 flags.
constexpr LONG NWMF_USERINITED = 0x2;

class IWebBrowser2 : public IDispatch {
public:
    // `flags` (navNoReadFromCache …), `targetFrame`, `postData` (a byte array) and `headers`
    // (lines of "Name: value\r\n") may each be null or empty.
    virtual HRESULT Navigate(const wchar_t* url, VARIANT* flags, VARIANT* targetFrame,
                             VARIANT* postData, VARIANT* headers) = 0;
    virtual HRESULT Navigate2(VARIANT* url, VARIANT* flags, VARIANT* targetFrame, VARIANT* postData,
                              VARIANT* headers) = 0;
    virtual HRESULT get_LocationURL(std::wstring* url) = 0;
    virtual HRESULT Refresh() = 0;
    virtual HRESULT Refresh2(VARIANT* level) = 0;
    virtual HRESULT GoBack() = 0;
    virtual HRESULT GoForward() = 0;
    virtual HRESULT Stop() = 0;
    virtual HRESULT get_Busy(VARIANT_BOOL* busy) = 0;
    virtual HRESULT Quit() = 0;
    // Silent: the page's script dialogs (errors, alerts) are not shown.
    virtual HRESULT put_Silent(VARIANT_BOOL silent) = 0;
    virtual HRESULT get_Silent(VARIANT_BOOL* silent) = 0;
    // The page's document, which offers IID_IWebDocument; E_FAIL before the first navigation.
    virtual HRESULT get_Document(IUnknown** document) = 0;

protected:
    ~IWebBrowser2() = default;
};

// The page's script and focus.
class IWebDocument : public IUnknown {
public:
    virtual HRESULT ExecScript(const std::wstring& code, const std::wstring& language) = 0;
    // Calls the page's global function `name` with text arguments; a text result comes back
    // in `result`. DISP_E_UNKNOWNNAME when there is no such function.
    virtual HRESULT CallFunction(const std::wstring& name, const std::wstring* arguments,
                                 UINT count, std::wstring* result) = 0;
    virtual HRESULT Focus() = 0;

protected:
    ~IWebDocument() = default;
};

constexpr DWORD DOCHOSTUIFLAG_NO3DBORDER = 0x4;
constexpr DWORD DOCHOSTUIFLAG_SCROLL_NO = 0x8;
constexpr DWORD DOCHOSTUIFLAG_FLAT_SCROLLBAR = 0x80;
constexpr DWORD DOCHOSTUIFLAG_DIV_BLOCKDEFAULT = 0x100;
constexpr DWORD DOCHOSTUIFLAG_CODEPAGELINKEDFONTS = 0x800;
constexpr DWORD DOCHOSTUIFLAG_THEME = 0x40000;
constexpr DWORD DOCHOSTUIFLAG_ENABLE_REDIRECT_NOTIFICATION = 0x4000000;
constexpr DWORD DOCHOSTUIDBLCLK_DEFAULT = 0;

struct DOCHOSTUIINFO {
    ULONG cbSize;
    DWORD dwFlags;
    DWORD dwDoubleClick;
    const wchar_t* pchHostCss;
    const wchar_t* pchHostNS;
};

// The host's say in how the control looks and behaves; the control finds it on its client
// site.
class IDocHostUIHandler : public IUnknown {
public:
    // S_OK: the host handled it (no menu); anything else: the control shows its own menu.
    virtual HRESULT ShowContextMenu(DWORD id, POINT* point, IUnknown* commandTarget,
                                    IDispatch* object) = 0;
    virtual HRESULT GetHostInfo(DOCHOSTUIINFO* info) = 0;
    virtual HRESULT ShowUI(DWORD id, IUnknown* activeObject, IUnknown* commandTarget,
                           IUnknown* frame, IUnknown* document) = 0;
    virtual HRESULT HideUI() = 0;
    virtual HRESULT UpdateUI() = 0;
    virtual HRESULT EnableModeless(BOOL enable) = 0;
    virtual HRESULT OnDocWindowActivate(BOOL activate) = 0;
    virtual HRESULT OnFrameWindowActivate(BOOL activate) = 0;
    virtual HRESULT ResizeBorder(const RECT* border, IUnknown* window, BOOL frameWindow) = 0;
    virtual HRESULT TranslateAccelerator(MSG* message, const GUID* group, DWORD command) = 0;
    virtual HRESULT GetOptionKeyPath(wchar_t** key, DWORD reserved) = 0;
    virtual HRESULT GetDropTarget(IUnknown* dropTarget, IUnknown** replacement) = 0;
    // The object page script reaches as window.external.
    virtual HRESULT GetExternal(IDispatch** external) = 0;
    virtual HRESULT TranslateUrl(DWORD translate, const wchar_t* in, wchar_t** out) = 0;
    virtual HRESULT FilterDataObject(IUnknown* in, IUnknown** out) = 0;

protected:
    ~IDocHostUIHandler() = default;
};

}  // namespace plat
