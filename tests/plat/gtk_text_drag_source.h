// A GTK window standing for another program on the test's X server, offering a text to drag
// from its whole area, and the xdotool command that drags from it.
#pragma once

#include "plat/types.h"

#include <gtk/gtk.h>

#include <string>

namespace plat::test {

class GtkTextDragSource {
public:
    // Shown undecorated at `rect` (screen coordinates); `text` is UTF-8.
    GtkTextDragSource(RECT rect, std::string text);
    ~GtkTextDragSource();
    GtkTextDragSource(const GtkTextDragSource&) = delete;
    GtkTextDragSource& operator=(const GtkTextDragSource&) = delete;

private:
    static void GiveText(GtkWidget*, GdkDragContext*, GtkSelectionData* data, guint, guint,
                         gpointer self);

    GtkWidget* m_window;
    std::string m_text;
};

// Starts xdotool in the background pressing at `from`, moving past GTK's drag threshold and on
// to `to`, and releasing there; the caller keeps the main context running meanwhile, so that
// GTK answers the drag as it goes. False when xdotool cannot be started.
bool StartXdotoolDrag(POINT from, POINT to);

}  // namespace plat::test
