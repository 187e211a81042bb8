// The gtk driver's web view: a WebKitWebView inside a host surface, at a rectangle of its
// client area.
#pragma once

#include <memory>

#include "drivers/gtk/gtk_headers.h"
#include "plat/web_view.h"

namespace plat::gtk {

// `layer` is the host surface's container for native children.
std::unique_ptr<WebView> MakeGtkWebView(GtkFixed* layer, WebViewClient& client);

}  // namespace plat::gtk
