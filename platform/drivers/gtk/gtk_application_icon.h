// The executable's icon, which the desktop shows for the program's windows with a task-bar entry.
#pragma once

#include "drivers/gtk/gtk_headers.h"

namespace plat::gtk {

// The icon's pictures at the sizes task bars and window switchers use, made once from the
// module resource (ICON, 1); null when the executable has no icon or its picture cannot be read.
// The list and its pictures belong to the driver.
GList* ApplicationIcons();

}  // namespace plat::gtk
