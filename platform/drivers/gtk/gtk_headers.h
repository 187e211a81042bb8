// GTK's headers for the driver. GLib defines TRUE and FALSE as macros when they are not yet
// defined, so the platform's own constants of those names are declared first.
#pragma once

#include "plat/types.h"

#include <gtk/gtk.h>
