// Message boxes as modal GTK dialogs, answering as MessageBoxW does.
#pragma once

#include "drivers/gtk/gtk_headers.h"

#include <string>

#include "plat/types.h"

namespace plat::gtk {

// Shows the box over `parent` (may be null) until a button closes it; answers IDOK, IDCANCEL,
// IDYES or IDNO. Closing the dialog without a button answers what its escape button would.
int RunMessageBox(GtkWindow* parent, const std::wstring& text, const std::wstring& caption,
                  UINT type);

}  // namespace plat::gtk
