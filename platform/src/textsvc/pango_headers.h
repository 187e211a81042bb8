// Pango's and cairo's headers for the text services. GLib defines TRUE and FALSE as macros
// when they are not yet defined, so the platform's own constants of those names come first.
#pragma once

#include "plat/types.h"

#include <cairo.h>
#include <pango/pangocairo.h>
