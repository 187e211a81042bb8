// A web view made only once the window it belongs to has shown its first picture. Loading
// WebKit and starting its processes takes longer than making and drawing the whole window, so
// the user sees the window first and the page follows. Until then the calls are kept and
// replayed in their order.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "drivers/gtk/gtk_headers.h"
#include "drivers/gtk/gtk_surface.h"
#include "plat/web_view.h"

namespace plat::gtk {

class DeferredWebView final : public WebView {
public:
    using Factory = std::unique_ptr<WebView> (*)(GtkFixed* layer, WebViewClient& client);

    // `top`: the window whose first picture comes before the view; `layer`: the host surface's
    // container the view goes into.
    DeferredWebView(GtkSurface& top, GtkFixed* layer, WebViewClient& client, Factory make);
    ~DeferredWebView() override;
    DeferredWebView(const DeferredWebView&) = delete;
    DeferredWebView& operator=(const DeferredWebView&) = delete;

    void Place(const RECT& rect) override;
    void Show(bool visible) override;
    void Navigate(const WebRequest& request) override;
    void Reload(bool bypassCache) override;
    void Stop() override;
    void GoBack() override;
    void GoForward() override;
    bool Busy() override;
    std::wstring Url() override;
    void RunScript(const std::wstring& code) override;
    bool CallFunction(const std::wstring& name, const std::vector<std::wstring>& arguments,
                      std::wstring& result) override;
    void SetSilent(bool silent) override;
    void SetScrollBars(bool shown) override;
    void Focus() override;

private:
    using Call = std::function<void(WebView&)>;

    void MakeWhenIdle();
    static gboolean MakeView(gpointer self);
    void Forward(Call call);

    GtkWidget* m_layer;
    WebViewClient& m_client;
    Factory m_make;
    std::unique_ptr<WebView> m_view;
    bool m_tried = false;  // the view was asked of the factory, made or not
    std::vector<Call> m_pending;
    std::wstring m_pendingUrl;  // the last page asked for before the view was made
    std::shared_ptr<std::function<void()>> m_onTopDrawn;
    guint m_idleSource = 0;
};

}  // namespace plat::gtk
