// The folder picker as a modal GTK folder chooser.
#pragma once

#include "drivers/gtk/gtk_headers.h"

#include <filesystem>
#include <optional>
#include <string>

namespace plat::gtk {

// The folder the user chose over `parent` (may be null), or nothing when the chooser was
// cancelled or closed.
std::optional<std::filesystem::path> RunFolderPicker(GtkWindow* parent, const std::wstring& title);

}  // namespace plat::gtk
