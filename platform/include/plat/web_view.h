// The driver's web view: a native page view placed over a rectangle of a host window's
// surface. The platform's web browser control drives it and hears from it through its client;
// every call and report happens on the driver's thread.
#pragma once

#include <string>
#include <vector>

#include "plat/types.h"

namespace plat {

struct WebRequest {
    std::wstring url;
    std::wstring headers;  // "Name: value\r\n" lines
    std::vector<BYTE> postData;
    bool bypassCache = false;
};

class WebViewClient {
public:
    virtual ~WebViewClient() = default;
    // A navigation of the view's own frame is about to start; false cancels it.
    virtual bool OnNavigationStarting(const std::wstring& url) = 0;
    // The page asked for a new window; the view opens none itself.
    virtual void OnNewWindowRequested(const std::wstring& url, const std::wstring& referrer) = 0;
    virtual void OnLoadStarted() = 0;
    virtual void OnLoadCommitted(const std::wstring& url) = 0;
    virtual void OnLoadFinished(const std::wstring& url) = 0;
    // `status`: the HTTP status, or a negative number for a failure without one.
    virtual void OnLoadFailed(const std::wstring& url, int status) = 0;
    virtual void OnTitleChanged(const std::wstring& title) = 0;
    virtual void OnStatusTextChanged(const std::wstring& text) = 0;
    virtual void OnProgressChanged(int progress, int maximum) = 0;
    virtual void OnHistoryChanged(bool canGoBack, bool canGoForward) = 0;
    virtual void OnCloseRequested() = 0;
    // True to let the view show its context menu.
    virtual bool OnContextMenu() = 0;
    // A call of window.external.<name>(arguments…) from the page; the text is its result.
    virtual std::wstring OnExternalCall(const std::wstring& name,
                                        const std::vector<std::wstring>& arguments) = 0;
    // The view took the keyboard focus.
    virtual void OnFocusIn() = 0;
};

class WebView {
public:
    virtual ~WebView() = default;
    // In the host window's client coordinates.
    virtual void Place(const RECT& rect) = 0;
    virtual void Show(bool visible) = 0;
    virtual void Navigate(const WebRequest& request) = 0;
    virtual void Reload(bool bypassCache) = 0;
    virtual void Stop() = 0;
    virtual void GoBack() = 0;
    virtual void GoForward() = 0;
    virtual bool Busy() = 0;
    virtual std::wstring Url() = 0;
    virtual void RunScript(const std::wstring& code) = 0;
    // Calls the page's global function; false when it does not exist or throws.
    virtual bool CallFunction(const std::wstring& name, const std::vector<std::wstring>& arguments,
                              std::wstring& result) = 0;
    // Silent: script dialogs are not shown.
    virtual void SetSilent(bool silent) = 0;
    virtual void SetScrollBars(bool shown) = 0;
    virtual void Focus() = 0;
};

}  // namespace plat
