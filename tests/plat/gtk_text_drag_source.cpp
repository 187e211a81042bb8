#include "gtk_text_drag_source.h"

#include <cstdlib>
#include <utility>

namespace plat::test {
namespace {

std::string Place(POINT point) {
    return std::to_string(point.x) + " " + std::to_string(point.y);
}

}  // namespace

GtkTextDragSource::GtkTextDragSource(RECT rect, std::string text) : m_text(std::move(text)) {
    m_window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_decorated(GTK_WINDOW(m_window), FALSE);
    gtk_window_set_default_size(GTK_WINDOW(m_window), rect.right - rect.left,
                                rect.bottom - rect.top);
    gtk_window_move(GTK_WINDOW(m_window), rect.left, rect.top);
    GtkWidget* area = gtk_event_box_new();
    gtk_container_add(GTK_CONTAINER(m_window), area);
    gtk_drag_source_set(area, GDK_BUTTON1_MASK, nullptr, 0,
                        static_cast<GdkDragAction>(GDK_ACTION_COPY | GDK_ACTION_MOVE));
    gtk_drag_source_add_text_targets(area);
    g_signal_connect(area, "drag-data-get", G_CALLBACK(GiveText), this);
    gtk_widget_show_all(m_window);
}

GtkTextDragSource::~GtkTextDragSource() {
    gtk_widget_destroy(m_window);
}

void GtkTextDragSource::GiveText(GtkWidget*, GdkDragContext*, GtkSelectionData* data, guint, guint,
                                 gpointer self) {
    gtk_selection_data_set_text(data, static_cast<GtkTextDragSource*>(self)->m_text.c_str(), -1);
}

bool StartXdotoolDrag(POINT from, POINT to) {
    POINT started{from.x + 20, from.y};
    POINT near{to.x - 10, to.y - 10};
    std::string command = "xdotool mousemove " + Place(from) + " sleep 0.2 mousedown 1" +
                          " sleep 0.2 mousemove " + Place(started) + " sleep 0.2 mousemove " +
                          Place(near) + " sleep 0.3 mousemove " + Place(to) +
                          " sleep 0.3 mouseup 1 &";
    return std::system(command.c_str()) == 0;
}

}  // namespace plat::test
