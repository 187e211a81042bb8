// The gtk driver's web view: a WebKitWebView inside a host surface, at a rectangle of its
// client area. WebKit lives in a module of its own, loaded when the first view is made, so a
// program starts and shows its windows without loading WebKit's hundred libraries.
#pragma once

#include <memory>

#include "drivers/gtk/gtk_headers.h"
#include "plat/web_view.h"

namespace plat::gtk {

// The module's one entry point; `layer` is the host surface's container for native children.
extern "C" __attribute__((visibility("default"))) WebView* vael_make_webkit_view(
    GtkFixed* layer, WebViewClient& client);

// A view from the module, loaded at the first call; null when the module cannot be loaded.
std::unique_ptr<WebView> MakeWebKitView(GtkFixed* layer, WebViewClient& client);

}  // namespace plat::gtk
