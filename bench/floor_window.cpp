// The floor of a launcher's start: a minimal GTK program that shows one 675 × 437 popup with an
// RGBA visual, centred, painted in one colour, until it is killed.
#include <gtk/gtk.h>

namespace {

gboolean Paint(GtkWidget*, cairo_t* cairo, gpointer) {
    cairo_set_source_rgba(cairo, 0.1, 0.12, 0.2, 1.0);
    cairo_set_operator(cairo, CAIRO_OPERATOR_SOURCE);
    cairo_paint(cairo);
    return TRUE;
}

}  // namespace

int main(int argc, char** argv) {
    gtk_init(&argc, &argv);
    GtkWidget* window = gtk_window_new(GTK_WINDOW_POPUP);
    GdkVisual* visual = gdk_screen_get_rgba_visual(gtk_widget_get_screen(window));
    if (visual) {
        gtk_widget_set_visual(window, visual);
    }
    gtk_widget_set_app_paintable(window, TRUE);
    gtk_window_set_default_size(GTK_WINDOW(window), 675, 437);
    gtk_window_set_position(GTK_WINDOW(window), GTK_WIN_POS_CENTER);
    g_signal_connect(window, "draw", G_CALLBACK(Paint), nullptr);
    gtk_widget_show(window);
    gtk_main();
    return 0;
}
