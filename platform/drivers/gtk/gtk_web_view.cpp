#include "drivers/gtk/gtk_web_view.h"

#include <webkit2/webkit2.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace plat::gtk {
namespace {

constexpr const char* kExternalHandler = "vaelExternal";

// window.external forwards any method call by name, its arguments as text, to the host; the
// call answers a promise of the host's text result.
constexpr const char* kExternalScript = R"js(
(function() {
    var channel = window.webkit.messageHandlers.vaelExternal;
    window.external = new Proxy({}, {
        get: function(target, name) {
            if (typeof name !== 'string' || name === 'then') {
                return undefined;
            }
            return function() {
                var args = Array.prototype.map.call(arguments, String);
                return channel.postMessage({name: name, args: args});
            };
        }
    });
})();
)js";

constexpr const char* kNoScrollBarsStyle =
    "html, body { overflow: hidden !important; } ::-webkit-scrollbar { display: none; }";

// Calls the page's global function by name with the arguments given to the call.
constexpr const char* kCallFunctionBody = R"js(
var target = window[name];
if (typeof target !== 'function') {
    throw new Error('no function ' + name);
}
var result = target.apply(window, JSON.parse(args));
return result === undefined || result === null ? '' : String(result);
)js";

// The module converts with GLib and keeps no copy of the platform's converters: WebKit's texts
// are UTF-8, and wchar_t holds UCS-4.
static_assert(sizeof(wchar_t) == sizeof(gunichar));

std::wstring Wide(const char* text) {
    glong length = 0;
    gunichar* characters = text ? g_utf8_to_ucs4(text, -1, nullptr, &length, nullptr) : nullptr;
    std::wstring wide(reinterpret_cast<const wchar_t*>(characters), characters ? length : 0);
    g_free(characters);
    return wide;
}

std::wstring Wide(const std::string& text) {
    return Wide(text.c_str());
}

std::string Utf8(const std::wstring& wide) {
    gchar* text = g_ucs4_to_utf8(reinterpret_cast<const gunichar*>(wide.data()),
                                 static_cast<glong>(wide.size()), nullptr, nullptr, nullptr);
    std::string utf8 = text ? text : "";
    g_free(text);
    return utf8;
}

// The texts as a JSON array of strings.
std::string JsonArray(const std::vector<std::wstring>& texts) {
    std::string json = "[";
    for (std::size_t i = 0; i < texts.size(); ++i) {
        json += i ? ",\"" : "\"";
        for (char c : Utf8(texts[i])) {
            if (c == '"' || c == '\\') {
                json += '\\';
                json += c;
            } else if (static_cast<unsigned char>(c) < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof(escaped), "\\u%04x", c);
                json += escaped;
            } else {
                json += c;
            }
        }
        json += '"';
    }
    return json + "]";
}

class GtkWebView final : public WebView {
public:
    GtkWebView(GtkFixed* layer, WebViewClient& client);
    ~GtkWebView() override;
    GtkWebView(const GtkWebView&) = delete;
    GtkWebView& operator=(const GtkWebView&) = delete;

    void Place(const RECT& rect) override;
    void Show(bool visible) override;
    void Navigate(const WebRequest& request) override;
    void Reload(bool bypassCache) override;
    void Stop() override { webkit_web_view_stop_loading(m_view); }
    void GoBack() override { webkit_web_view_go_back(m_view); }
    void GoForward() override { webkit_web_view_go_forward(m_view); }
    bool Busy() override { return webkit_web_view_is_loading(m_view); }
    std::wstring Url() override { return Wide(webkit_web_view_get_uri(m_view)); }
    void RunScript(const std::wstring& code) override;
    bool CallFunction(const std::wstring& name, const std::vector<std::wstring>& arguments,
                      std::wstring& result) override;
    void SetSilent(bool silent) override { m_silent = silent; }
    void SetScrollBars(bool shown) override;
    void Focus() override { gtk_widget_grab_focus(GTK_WIDGET(m_view)); }

private:
    struct PendingCall {
        bool done = false;
        bool succeeded = false;
        std::string result;
    };

    void Connect();
    static gboolean OnDecidePolicy(WebKitWebView*, WebKitPolicyDecision* decision,
                                   WebKitPolicyDecisionType type, gpointer self);
    static GtkWidget* OnCreate(WebKitWebView*, WebKitNavigationAction* action, gpointer self);
    static void OnLoadChanged(WebKitWebView*, WebKitLoadEvent event, gpointer self);
    static gboolean OnLoadFailed(WebKitWebView*, WebKitLoadEvent, gchar* uri, GError*,
                                 gpointer self);
    static void OnTitle(GObject*, GParamSpec*, gpointer self);
    static void OnProgress(GObject*, GParamSpec*, gpointer self);
    static void OnMouseTarget(WebKitWebView*, WebKitHitTestResult* hit, guint, gpointer self);
    static void OnClose(WebKitWebView*, gpointer self);
    static gboolean OnScriptDialog(WebKitWebView*, WebKitScriptDialog*, gpointer self);
    static gboolean OnContextMenu(WebKitWebView*, WebKitContextMenu*, GdkEvent*,
                                  WebKitHitTestResult*, gpointer self);
    static gboolean OnFocusIn(GtkWidget*, GdkEventFocus*, gpointer self);
    static gboolean OnExternalMessage(WebKitUserContentManager*, JSCValue* message,
                                      WebKitScriptMessageReply* reply, gpointer self);
    static void OnCallFinished(GObject* view, GAsyncResult* result, gpointer call);
    static gboolean ReportNewWindow(gpointer self);
    void NewWindowRequested(const char* uri);

    GtkFixed* m_layer;
    WebViewClient& m_client;
    WebKitUserContentManager* m_content;
    WebKitWebView* m_view;
    bool m_silent = false;
    bool m_failed = false;
    std::string m_newWindowUri;
    guint m_newWindowSource = 0;
};

GtkWebView::GtkWebView(GtkFixed* layer, WebViewClient& client)
    : m_layer(layer), m_client(client), m_content(webkit_user_content_manager_new()) {
    // The host window shows pictures drawn in memory and has no GL to composite a page with:
    // pages are drawn without it too.
    WebKitSettings* settings = webkit_settings_new();
    webkit_settings_set_hardware_acceleration_policy(settings,
                                                     WEBKIT_HARDWARE_ACCELERATION_POLICY_NEVER);
    m_view = WEBKIT_WEB_VIEW(g_object_new(WEBKIT_TYPE_WEB_VIEW, "user-content-manager", m_content,
                                          "settings", settings, nullptr));
    g_object_unref(settings);
    g_object_ref_sink(m_view);
    WebKitUserScript* script =
        webkit_user_script_new(kExternalScript, WEBKIT_USER_CONTENT_INJECT_TOP_FRAME,
                               WEBKIT_USER_SCRIPT_INJECT_AT_DOCUMENT_START, nullptr, nullptr);
    webkit_user_content_manager_add_script(m_content, script);
    webkit_user_script_unref(script);
    Connect();
    webkit_user_content_manager_register_script_message_handler_with_reply(
        m_content, kExternalHandler, nullptr);
    gtk_fixed_put(m_layer, GTK_WIDGET(m_view), 0, 0);
}

GtkWebView::~GtkWebView() {
    if (m_newWindowSource) {
        g_source_remove(m_newWindowSource);
    }
    g_signal_handlers_disconnect_by_data(m_view, this);
    g_signal_handlers_disconnect_by_data(m_content, this);
    webkit_web_view_stop_loading(m_view);
    gtk_widget_destroy(GTK_WIDGET(m_view));
    g_object_unref(m_view);
    g_object_unref(m_content);
}

void GtkWebView::Connect() {
    g_signal_connect(m_view, "decide-policy", G_CALLBACK(OnDecidePolicy), this);
    g_signal_connect(m_view, "create", G_CALLBACK(OnCreate), this);
    g_signal_connect(m_view, "load-changed", G_CALLBACK(OnLoadChanged), this);
    g_signal_connect(m_view, "load-failed", G_CALLBACK(OnLoadFailed), this);
    g_signal_connect(m_view, "notify::title", G_CALLBACK(OnTitle), this);
    g_signal_connect(m_view, "notify::estimated-load-progress", G_CALLBACK(OnProgress), this);
    g_signal_connect(m_view, "mouse-target-changed", G_CALLBACK(OnMouseTarget), this);
    g_signal_connect(m_view, "close", G_CALLBACK(OnClose), this);
    g_signal_connect(m_view, "script-dialog", G_CALLBACK(OnScriptDialog), this);
    g_signal_connect(m_view, "context-menu", G_CALLBACK(OnContextMenu), this);
    g_signal_connect(m_view, "focus-in-event", G_CALLBACK(OnFocusIn), this);
    std::string signal = std::string("script-message-with-reply-received::") + kExternalHandler;
    g_signal_connect(m_content, signal.c_str(), G_CALLBACK(OnExternalMessage), this);
}

void GtkWebView::Place(const RECT& rect) {
    GtkWidget* view = GTK_WIDGET(m_view);
    gtk_fixed_move(m_layer, view, rect.left, rect.top);
    gtk_widget_set_size_request(view, std::max<LONG>(rect.right - rect.left, 1),
                                std::max<LONG>(rect.bottom - rect.top, 1));
}

void GtkWebView::Show(bool visible) {
    gtk_widget_set_visible(GTK_WIDGET(m_view), visible);
}

// WebKit has no way to give a page load a body of its own: post data is not sent.
void GtkWebView::Navigate(const WebRequest& request) {
    WebKitURIRequest* uri = webkit_uri_request_new(Utf8(request.url).c_str());
    if (SoupMessageHeaders* headers = webkit_uri_request_get_http_headers(uri)) {
        std::string lines = Utf8(request.headers);
        for (std::size_t start = 0; start < lines.size();) {
            std::size_t end = lines.find("\r\n", start);
            std::string line = lines.substr(start, end == std::string::npos ? end : end - start);
            std::size_t colon = line.find(':');
            if (colon != std::string::npos) {
                std::size_t value = line.find_first_not_of(' ', colon + 1);
                soup_message_headers_append(
                    headers, line.substr(0, colon).c_str(),
                    value == std::string::npos ? "" : line.substr(value).c_str());
            }
            start = end == std::string::npos ? lines.size() : end + 2;
        }
    }
    webkit_web_view_load_request(m_view, uri);
    g_object_unref(uri);
}

void GtkWebView::Reload(bool bypassCache) {
    if (bypassCache) {
        webkit_web_view_reload_bypass_cache(m_view);
    } else {
        webkit_web_view_reload(m_view);
    }
}

void GtkWebView::RunScript(const std::wstring& code) {
    std::string text = Utf8(code);
    webkit_web_view_evaluate_javascript(m_view, text.c_str(), -1, nullptr, nullptr, nullptr,
                                        nullptr, nullptr);
}

// The page answers asynchronously; the caller waits for it, serving GTK meanwhile, for at most
// five seconds.
bool GtkWebView::CallFunction(const std::wstring& name, const std::vector<std::wstring>& arguments,
                              std::wstring& result) {
    GVariantBuilder parameters;
    g_variant_builder_init(&parameters, G_VARIANT_TYPE("a{sv}"));
    g_variant_builder_add(&parameters, "{sv}", "name", g_variant_new_string(Utf8(name).c_str()));
    g_variant_builder_add(&parameters, "{sv}", "args",
                          g_variant_new_string(JsonArray(arguments).c_str()));
    auto call = std::make_shared<PendingCall>();
    auto* held = new std::shared_ptr<PendingCall>(call);
    webkit_web_view_call_async_javascript_function(m_view, kCallFunctionBody, -1,
                                                   g_variant_builder_end(&parameters), nullptr,
                                                   nullptr, nullptr, OnCallFinished, held);
    gint64 deadline = g_get_monotonic_time() + 5 * G_TIME_SPAN_SECOND;
    while (!call->done && g_get_monotonic_time() < deadline) {
        if (!g_main_context_iteration(nullptr, FALSE)) {
            g_usleep(1000);
        }
    }
    if (!call->succeeded) {
        return false;
    }
    result = Wide(call->result);
    return true;
}

void GtkWebView::OnCallFinished(GObject* view, GAsyncResult* result, gpointer data) {
    auto* held = static_cast<std::shared_ptr<PendingCall>*>(data);
    PendingCall& call = **held;
    GError* error = nullptr;
    JSCValue* value = webkit_web_view_call_async_javascript_function_finish(WEBKIT_WEB_VIEW(view),
                                                                            result, &error);
    if (value) {
        char* text = jsc_value_to_string(value);
        call.result = text ? text : "";
        call.succeeded = true;
        g_free(text);
        g_object_unref(value);
    }
    if (error) {
        g_error_free(error);
    }
    call.done = true;
    delete held;
}

void GtkWebView::SetScrollBars(bool shown) {
    webkit_user_content_manager_remove_all_style_sheets(m_content);
    if (!shown) {
        WebKitUserStyleSheet* sheet =
            webkit_user_style_sheet_new(kNoScrollBarsStyle, WEBKIT_USER_CONTENT_INJECT_TOP_FRAME,
                                        WEBKIT_USER_STYLE_LEVEL_USER, nullptr, nullptr);
        webkit_user_content_manager_add_style_sheet(m_content, sheet);
        webkit_user_style_sheet_unref(sheet);
    }
}

// Navigations of the page's own frames ask the host first; new windows are never opened here.
gboolean GtkWebView::OnDecidePolicy(WebKitWebView*, WebKitPolicyDecision* decision,
                                    WebKitPolicyDecisionType type, gpointer self) {
    auto* view = static_cast<GtkWebView*>(self);
    if (type == WEBKIT_POLICY_DECISION_TYPE_RESPONSE) {
        return FALSE;
    }
    WebKitNavigationAction* action = webkit_navigation_policy_decision_get_navigation_action(
        WEBKIT_NAVIGATION_POLICY_DECISION(decision));
    const char* uri = webkit_uri_request_get_uri(webkit_navigation_action_get_request(action));
    if (type == WEBKIT_POLICY_DECISION_TYPE_NEW_WINDOW_ACTION) {
        webkit_policy_decision_ignore(decision);
        view->NewWindowRequested(uri);
        return TRUE;
    }
    if (!view->m_client.OnNavigationStarting(Wide(uri))) {
        webkit_policy_decision_ignore(decision);
        return TRUE;
    }
    return FALSE;
}

GtkWidget* GtkWebView::OnCreate(WebKitWebView*, WebKitNavigationAction* action, gpointer self) {
    static_cast<GtkWebView*>(self)->NewWindowRequested(
        webkit_uri_request_get_uri(webkit_navigation_action_get_request(action)));
    return nullptr;
}

// Reported once the policy call has returned, since the host may navigate this view in turn.
void GtkWebView::NewWindowRequested(const char* uri) {
    m_newWindowUri = uri ? uri : "";
    if (!m_newWindowSource) {
        m_newWindowSource = g_idle_add(ReportNewWindow, this);
    }
}

gboolean GtkWebView::ReportNewWindow(gpointer self) {
    auto* view = static_cast<GtkWebView*>(self);
    view->m_newWindowSource = 0;
    view->m_client.OnNewWindowRequested(Wide(view->m_newWindowUri.c_str()), view->Url());
    return G_SOURCE_REMOVE;
}

// An HTTP error status is a failed navigation, though WebKit shows the server's page.
void GtkWebView::OnLoadChanged(WebKitWebView* web, WebKitLoadEvent event, gpointer self) {
    auto* view = static_cast<GtkWebView*>(self);
    std::wstring url = view->Url();
    switch (event) {
        case WEBKIT_LOAD_STARTED:
            view->m_failed = false;
            view->m_client.OnLoadStarted();
            break;
        case WEBKIT_LOAD_COMMITTED: {
            view->m_client.OnLoadCommitted(url);
            view->m_client.OnHistoryChanged(webkit_web_view_can_go_back(web),
                                            webkit_web_view_can_go_forward(web));
            WebKitWebResource* resource = webkit_web_view_get_main_resource(web);
            WebKitURIResponse* response =
                resource ? webkit_web_resource_get_response(resource) : nullptr;
            guint status = response ? webkit_uri_response_get_status_code(response) : 0;
            if (status >= 400) {
                view->m_client.OnLoadFailed(url, static_cast<int>(status));
            }
            break;
        }
        case WEBKIT_LOAD_FINISHED:
            if (!view->m_failed) {
                view->m_client.OnLoadFinished(url);
            }
            break;
        default:
            break;
    }
}

gboolean GtkWebView::OnLoadFailed(WebKitWebView*, WebKitLoadEvent, gchar* uri, GError*,
                                  gpointer self) {
    auto* view = static_cast<GtkWebView*>(self);
    view->m_failed = true;
    view->m_client.OnLoadFailed(Wide(uri), -1);
    return FALSE;
}

void GtkWebView::OnTitle(GObject*, GParamSpec*, gpointer self) {
    auto* view = static_cast<GtkWebView*>(self);
    view->m_client.OnTitleChanged(Wide(webkit_web_view_get_title(view->m_view)));
}

void GtkWebView::OnProgress(GObject*, GParamSpec*, gpointer self) {
    auto* view = static_cast<GtkWebView*>(self);
    double progress = webkit_web_view_get_estimated_load_progress(view->m_view);
    view->m_client.OnProgressChanged(static_cast<int>(progress * 100), 100);
}

void GtkWebView::OnMouseTarget(WebKitWebView*, WebKitHitTestResult* hit, guint, gpointer self) {
    const char* link = webkit_hit_test_result_context_is_link(hit)
                           ? webkit_hit_test_result_get_link_uri(hit)
                           : nullptr;
    static_cast<GtkWebView*>(self)->m_client.OnStatusTextChanged(Wide(link));
}

void GtkWebView::OnClose(WebKitWebView*, gpointer self) {
    static_cast<GtkWebView*>(self)->m_client.OnCloseRequested();
}

// In silent mode a dialog is answered as dismissed without showing.
gboolean GtkWebView::OnScriptDialog(WebKitWebView*, WebKitScriptDialog*, gpointer self) {
    return static_cast<GtkWebView*>(self)->m_silent;
}

gboolean GtkWebView::OnContextMenu(WebKitWebView*, WebKitContextMenu*, GdkEvent*,
                                   WebKitHitTestResult*, gpointer self) {
    return !static_cast<GtkWebView*>(self)->m_client.OnContextMenu();
}

gboolean GtkWebView::OnFocusIn(GtkWidget*, GdkEventFocus*, gpointer self) {
    static_cast<GtkWebView*>(self)->m_client.OnFocusIn();
    return FALSE;
}

// {name, args} from the page's window.external; the host's answer goes back as text.
gboolean GtkWebView::OnExternalMessage(WebKitUserContentManager*, JSCValue* message,
                                       WebKitScriptMessageReply* reply, gpointer self) {
    auto* view = static_cast<GtkWebView*>(self);
    std::wstring name;
    std::vector<std::wstring> arguments;
    if (jsc_value_is_object(message)) {
        JSCValue* nameValue = jsc_value_object_get_property(message, "name");
        char* text = jsc_value_to_string(nameValue);
        name = Wide(text);
        g_free(text);
        g_object_unref(nameValue);
        JSCValue* args = jsc_value_object_get_property(message, "args");
        JSCValue* length = jsc_value_object_get_property(args, "length");
        int count = jsc_value_is_number(length) ? jsc_value_to_int32(length) : 0;
        for (int i = 0; i < count; ++i) {
            JSCValue* argument = jsc_value_object_get_property_at_index(args, i);
            char* argumentText = jsc_value_to_string(argument);
            arguments.push_back(Wide(argumentText));
            g_free(argumentText);
            g_object_unref(argument);
        }
        g_object_unref(length);
        g_object_unref(args);
    }
    std::wstring answer = view->m_client.OnExternalCall(name, arguments);
    JSCValue* result = jsc_value_new_string(jsc_value_get_context(message), Utf8(answer).c_str());
    webkit_script_message_reply_return_value(reply, result);
    g_object_unref(result);
    return TRUE;
}

}  // namespace

extern "C" WebView* vael_make_webkit_view(GtkFixed* layer, WebViewClient& client) {
    return new GtkWebView(layer, client);
}

}  // namespace plat::gtk
