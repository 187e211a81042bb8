// Text dragged from other programs onto one native window, handed to the window system's drop
// targets. GTK gives the dragged data only on request, so the first motion asks for the text
// and the drag reaches the window system once it has arrived.
#pragma once

#include "drivers/gtk/gtk_headers.h"

#include <optional>
#include <string>

#include "plat/driver.h"

namespace plat::gtk {

class SurfaceDrops {
public:
    SurfaceDrops(HWND handle, GtkWidget* window);
    ~SurfaceDrops();
    SurfaceDrops(const SurfaceDrops&) = delete;
    SurfaceDrops& operator=(const SurfaceDrops&) = delete;

private:
    static gboolean OnMotion(GtkWidget*, GdkDragContext* context, gint x, gint y, guint time,
                             gpointer self);
    static void OnLeave(GtkWidget*, GdkDragContext* context, guint time, gpointer self);
    static gboolean OnDrop(GtkWidget*, GdkDragContext* context, gint x, gint y, guint time,
                           gpointer self);
    static void OnReceived(GtkWidget*, GdkDragContext* context, gint x, gint y,
                           GtkSelectionData* data, guint info, guint time, gpointer self);
    static gboolean LeaveLater(gpointer self);

    void Follow(GdkDragContext* context, gint x, gint y);
    bool AskForText(GdkDragContext* context, guint time);
    void Move(GdkDragContext* context, guint time);
    void Drop(GdkDragContext* context, guint time);
    void CancelLeave();
    void Forget();

    HWND m_handle;
    GtkWidget* m_window;
    GdkDragContext* m_drag = nullptr;  // the drag over the window, not referenced
    POINT m_point{0, 0};               // screen coordinates
    std::optional<std::wstring> m_text;
    bool m_asked = false;
    bool m_dropWaitsForText = false;
    guint m_leave = 0;  // the idle source of a leave that a drop may still cancel
};

}  // namespace plat::gtk
