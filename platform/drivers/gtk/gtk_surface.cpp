#include "drivers/gtk/gtk_surface.h"

#include <algorithm>
#include <cstring>

#include "plat/text.h"
#include "plat/window_styles.h"

namespace plat::gtk {
namespace {

LONG WidthOf(const RECT& rect) {
    return std::max<LONG>(rect.right - rect.left, 1);
}

LONG HeightOf(const RECT& rect) {
    return std::max<LONG>(rect.bottom - rect.top, 1);
}

// A transparent picture of the size; premultiplied BGRA is cairo's ARGB32 in memory.
cairo_surface_t* BlankPicture(LONG width, LONG height) {
    return cairo_image_surface_create(CAIRO_FORMAT_ARGB32, std::max<LONG>(width, 1),
                                      std::max<LONG>(height, 1));
}

// A new size keeps the picture of the part both sizes share.
cairo_surface_t* Resized(cairo_surface_t* old, LONG width, LONG height) {
    cairo_surface_t* resized = BlankPicture(width, height);
    cairo_t* context = cairo_create(resized);
    cairo_set_operator(context, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(context, old, 0, 0);
    cairo_paint(context);
    cairo_destroy(context);
    return resized;
}

void CopyArea(cairo_surface_t* picture, const RECT& area, const PixelBuffer& pixels) {
    LONG left = std::max<LONG>(area.left, 0);
    LONG top = std::max<LONG>(area.top, 0);
    LONG right = std::min<LONG>(area.right, cairo_image_surface_get_width(picture));
    LONG bottom = std::min<LONG>(area.bottom, cairo_image_surface_get_height(picture));
    cairo_surface_flush(picture);
    unsigned char* data = cairo_image_surface_get_data(picture);
    int stride = cairo_image_surface_get_stride(picture);
    for (LONG y = top; y < bottom; ++y) {
        const BYTE* source = pixels.Row(y - area.top) + (left - area.left) * 4;
        std::memcpy(data + y * stride + left * 4, source, (right - left) * 4);
    }
    cairo_surface_mark_dirty_rectangle(picture, left, top, right - left, bottom - top);
}

}  // namespace

GtkSurface::GtkSurface(const SurfaceDescription& description, GtkWindow* owner)
    : m_window(gtk_window_new(GTK_WINDOW_TOPLEVEL)),
      m_picture(BlankPicture(WidthOf(description.bounds), HeightOf(description.bounds))) {
    GtkWindow* window = Window();
    gtk_window_set_decorated(window, FALSE);
    gtk_widget_set_app_paintable(m_window, TRUE);
    // Per-pixel alpha needs an RGBA visual; a compositor shows it, without one X drops it.
    if (GdkVisual* visual = gdk_screen_get_rgba_visual(gtk_widget_get_screen(m_window))) {
        gtk_widget_set_visual(m_window, visual);
    }
    ApplyStyle(description);
    SetTitle(description.title);
    SetOwner(owner);
    gtk_window_move(window, description.bounds.left, description.bounds.top);
    gtk_window_set_default_size(window, WidthOf(description.bounds), HeightOf(description.bounds));
    m_input = std::make_unique<SurfaceInput>(m_window);
    g_signal_connect(m_window, "draw", G_CALLBACK(OnDraw), this);
    g_signal_connect(m_window, "realize", G_CALLBACK(OnRealize), this);
    // The window system decides when a window closes; the window manager's close only asks.
    g_signal_connect(m_window, "delete-event", G_CALLBACK(gtk_true), nullptr);
}

GtkSurface::~GtkSurface() {
    g_signal_handlers_disconnect_by_data(m_window, this);
    m_input.reset();
    gtk_widget_destroy(m_window);
    cairo_surface_destroy(m_picture);
    if (m_cursor) {
        g_object_unref(m_cursor);
    }
}

void GtkSurface::ApplyStyle(const SurfaceDescription& description) {
    GtkWindow* window = Window();
    if (description.exStyle & WS_EX_TOOLWINDOW) {
        gtk_window_set_type_hint(window, GDK_WINDOW_TYPE_HINT_UTILITY);
        gtk_window_set_skip_taskbar_hint(window, TRUE);
    }
    if (description.exStyle & WS_EX_TOPMOST) {
        gtk_window_set_keep_above(window, TRUE);
    }
    if (description.exStyle & WS_EX_NOACTIVATE) {
        gtk_window_set_accept_focus(window, FALSE);
        gtk_window_set_focus_on_map(window, FALSE);
    }
}

void GtkSurface::Show(SurfaceShow show, bool activate) {
    GtkWindow* window = Window();
    switch (show) {
        case SurfaceShow::Hidden:
            gtk_widget_hide(m_window);
            return;
        case SurfaceShow::Minimized:
            gtk_widget_show(m_window);
            gtk_window_iconify(window);
            return;
        case SurfaceShow::Maximized:
            gtk_window_maximize(window);
            break;
        case SurfaceShow::Normal:
            gtk_window_unmaximize(window);
            gtk_window_deiconify(window);
            break;
    }
    if (activate) {
        gtk_window_present(window);
    } else {
        gtk_widget_show(m_window);
    }
}

void GtkSurface::Move(POINT topLeft) {
    gtk_window_move(Window(), topLeft.x, topLeft.y);
}

void GtkSurface::Resize(SIZE size) {
    cairo_surface_t* resized = Resized(m_picture, size.cx, size.cy);
    cairo_surface_destroy(m_picture);
    m_picture = resized;
    gtk_window_resize(Window(), std::max<LONG>(size.cx, 1), std::max<LONG>(size.cy, 1));
}

void GtkSurface::SetTitle(const std::wstring& title) {
    gtk_window_set_title(Window(), WideToUtf8(title).c_str());
}

void GtkSurface::SetOwner(GtkWindow* owner) {
    gtk_window_set_transient_for(Window(), owner);
}

void GtkSurface::Present(const RECT& area, const PixelBuffer& pixels, BYTE constantAlpha) {
    if (constantAlpha != m_constantAlpha) {
        m_constantAlpha = constantAlpha;
        gtk_widget_queue_draw(m_window);
    }
    if (pixels.Empty()) {
        return;
    }
    CopyArea(m_picture, area, pixels);
    gtk_widget_queue_draw_area(m_window, area.left, area.top, area.right - area.left,
                               area.bottom - area.top);
}

gboolean GtkSurface::OnDraw(GtkWidget*, cairo_t* context, gpointer self) {
    auto* surface = static_cast<GtkSurface*>(self);
    cairo_set_operator(context, CAIRO_OPERATOR_CLEAR);
    cairo_paint(context);
    cairo_set_operator(context, CAIRO_OPERATOR_OVER);
    cairo_set_source_surface(context, surface->m_picture, 0, 0);
    cairo_paint_with_alpha(context, surface->m_constantAlpha / 255.0);
    if (surface->m_layer) {
        gtk_container_propagate_draw(GTK_CONTAINER(surface->m_window), surface->m_layer, context);
    }
    return TRUE;
}

GtkFixed* GtkSurface::Layer() {
    if (!m_layer) {
        m_layer = gtk_fixed_new();
        gtk_widget_set_has_window(m_layer, FALSE);
        gtk_container_add(GTK_CONTAINER(m_window), m_layer);
        gtk_widget_show(m_layer);
    }
    return GTK_FIXED(m_layer);
}

void GtkSurface::SetCursor(GdkCursor* cursor) {
    if (m_cursor) {
        g_object_unref(m_cursor);
    }
    m_cursor = cursor;
    ApplyCursor();
}

void GtkSurface::ApplyCursor() {
    if (GdkWindow* native = gtk_widget_get_window(m_window)) {
        gdk_window_set_cursor(native, m_cursor);
    }
}

void GtkSurface::OnRealize(GtkWidget*, gpointer self) {
    static_cast<GtkSurface*>(self)->ApplyCursor();
}

}  // namespace plat::gtk
