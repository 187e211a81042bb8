#include "drivers/gtk/deferred_web_view.h"

namespace plat::gtk {

DeferredWebView::DeferredWebView(GtkSurface& top, GtkFixed* layer, WebViewClient& client,
                                 Factory make)
    : m_layer(GTK_WIDGET(g_object_ref(layer))),
      m_client(client),
      m_make(make),
      m_onTopDrawn(std::make_shared<std::function<void()>>([this] { MakeWhenIdle(); })) {
    top.AfterFirstPicture(m_onTopDrawn);
}

DeferredWebView::~DeferredWebView() {
    if (m_idleSource) {
        g_source_remove(m_idleSource);
    }
    g_object_unref(m_layer);
}

// The picture reaches the screen when its drawing is done: an idle of low priority comes after.
void DeferredWebView::MakeWhenIdle() {
    m_idleSource = g_idle_add_full(G_PRIORITY_LOW, MakeView, this, nullptr);
}

// Without a view every page asked for is reported as failed, so the host does not wait for it.
// A layer already taken from its window (the host went first) gets no view.
gboolean DeferredWebView::MakeView(gpointer self) {
    auto* deferred = static_cast<DeferredWebView*>(self);
    deferred->m_idleSource = 0;
    deferred->m_tried = true;
    if (gtk_widget_get_parent(deferred->m_layer)) {
        deferred->m_view = deferred->m_make(GTK_FIXED(deferred->m_layer), deferred->m_client);
    }
    std::vector<Call> pending = std::move(deferred->m_pending);
    if (deferred->m_view) {
        for (Call& call : pending) {
            call(*deferred->m_view);
        }
    } else if (!deferred->m_pendingUrl.empty()) {
        deferred->m_client.OnLoadFailed(deferred->m_pendingUrl, -1);
    }
    deferred->m_pendingUrl.clear();
    return G_SOURCE_REMOVE;
}

void DeferredWebView::Forward(Call call) {
    if (m_view) {
        call(*m_view);
    } else if (!m_tried) {
        m_pending.push_back(std::move(call));
    }
}

void DeferredWebView::Place(const RECT& rect) {
    Forward([rect](WebView& view) { view.Place(rect); });
}

void DeferredWebView::Show(bool visible) {
    Forward([visible](WebView& view) { view.Show(visible); });
}

void DeferredWebView::Navigate(const WebRequest& request) {
    if (m_tried && !m_view) {
        m_client.OnLoadFailed(request.url, -1);
        return;
    }
    if (!m_view) {
        m_pendingUrl = request.url;
    }
    Forward([request](WebView& view) { view.Navigate(request); });
}

void DeferredWebView::Reload(bool bypassCache) {
    Forward([bypassCache](WebView& view) { view.Reload(bypassCache); });
}

void DeferredWebView::Stop() {
    Forward([](WebView& view) { view.Stop(); });
}

void DeferredWebView::GoBack() {
    Forward([](WebView& view) { view.GoBack(); });
}

void DeferredWebView::GoForward() {
    Forward([](WebView& view) { view.GoForward(); });
}

bool DeferredWebView::Busy() {
    return m_view ? m_view->Busy() : !m_pendingUrl.empty();
}

std::wstring DeferredWebView::Url() {
    return m_view ? m_view->Url() : m_pendingUrl;
}

void DeferredWebView::RunScript(const std::wstring& code) {
    Forward([code](WebView& view) { view.RunScript(code); });
}

// Before the view is made there is no page whose function could be called.
bool DeferredWebView::CallFunction(const std::wstring& name,
                                   const std::vector<std::wstring>& arguments,
                                   std::wstring& result) {
    return m_view && m_view->CallFunction(name, arguments, result);
}

void DeferredWebView::SetSilent(bool silent) {
    Forward([silent](WebView& view) { view.SetSilent(silent); });
}

void DeferredWebView::SetScrollBars(bool shown) {
    Forward([shown](WebView& view) { view.SetScrollBars(shown); });
}

void DeferredWebView::Focus() {
    Forward([](WebView& view) { view.Focus(); });
}

}  // namespace plat::gtk
