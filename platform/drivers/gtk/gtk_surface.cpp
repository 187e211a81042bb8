#include "drivers/gtk/gtk_surface.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include "drivers/gtk/gtk_application_icon.h"
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

// The runs of pixels of `area` whose alpha is not 0.
cairo_region_t* ShownPixels(cairo_surface_t* picture, const RECT& area) {
    const unsigned char* data = cairo_image_surface_get_data(picture);
    int stride = cairo_image_surface_get_stride(picture);
    std::vector<cairo_rectangle_int_t> runs;
    for (LONG y = area.top; y < area.bottom; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(data + y * stride);
        LONG x = area.left;
        while (x < area.right) {
            while (x < area.right && (row[x] >> 24) == 0) {
                ++x;
            }
            LONG start = x;
            while (x < area.right && (row[x] >> 24) != 0) {
                ++x;
            }
            if (x > start) {
                runs.push_back({start, y, x - start, 1});
            }
        }
    }
    return cairo_region_create_rectangles(runs.data(), static_cast<int>(runs.size()));
}

constexpr std::size_t kRequestsKept = 16;

bool SameRect(const RECT& one, const RECT& other) {
    return one.left == other.left && one.top == other.top && one.right == other.right &&
           one.bottom == other.bottom;
}

gboolean ReportDeactivationUnlessFocused(gpointer) {
    GList* windows = gtk_window_list_toplevels();
    bool focused = false;
    for (GList* item = windows; item && !focused; item = item->next) {
        focused = gtk_window_is_active(GTK_WINDOW(item->data));
    }
    g_list_free(windows);
    if (!focused) {
        DeliverSurfaceEvent({SurfaceEvent::Kind::Deactivated, nullptr, {}});
    }
    return G_SOURCE_REMOVE;
}

}  // namespace

GtkSurface::GtkSurface(HWND handle, const SurfaceDescription& description, GtkWindow* owner)
    : m_handle(handle),
      m_window(gtk_window_new(GTK_WINDOW_TOPLEVEL)),
      m_bounds(description.bounds),
      m_toolWindow(description.exStyle & WS_EX_TOOLWINDOW),
      m_picture(BlankPicture(WidthOf(description.bounds), HeightOf(description.bounds))),
      m_shownArea(cairo_region_create()) {
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
    m_drops = std::make_unique<SurfaceDrops>(m_handle, m_window);
    g_signal_connect(m_window, "draw", G_CALLBACK(OnDraw), this);
    g_signal_connect(m_window, "realize", G_CALLBACK(OnRealize), this);
    g_signal_connect(m_window, "focus-in-event", G_CALLBACK(OnFocus), this);
    g_signal_connect(m_window, "focus-out-event", G_CALLBACK(OnFocus), this);
    g_signal_connect(m_window, "configure-event", G_CALLBACK(OnConfigure), this);
    g_signal_connect(m_window, "window-state-event", G_CALLBACK(OnWindowState), this);
    g_signal_connect(m_window, "delete-event", G_CALLBACK(OnDelete), this);
    ApplyInputShape();
}

GtkSurface::~GtkSurface() {
    g_signal_handlers_disconnect_by_data(m_window, this);
    if (m_layer) {
        g_signal_handlers_disconnect_by_data(m_layer, this);
    }
    m_drops.reset();
    m_input.reset();
    gtk_widget_destroy(m_window);
    cairo_surface_destroy(m_picture);
    cairo_region_destroy(m_shownArea);
    if (m_cursor) {
        g_object_unref(m_cursor);
    }
}

void GtkSurface::ApplyStyle(const SurfaceDescription& description) {
    GtkWindow* window = Window();
    if (m_toolWindow) {
        gtk_window_set_type_hint(window, GDK_WINDOW_TYPE_HINT_UTILITY);
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
            if (!IsIconified()) {
                gtk_window_iconify(window);
            }
            return;
        case SurfaceShow::Maximized:
            gtk_window_maximize(window);
            break;
        case SurfaceShow::Normal:
            gtk_window_unmaximize(window);
            if (IsIconified()) {
                gtk_window_deiconify(window);
            }
            break;
    }
    if (activate) {
        gtk_window_present(window);
    } else {
        gtk_widget_show(m_window);
    }
}

// A change the window manager made is followed without asking for it again: such a request
// would reach the window manager late and undo what the user did since.
bool GtkSurface::IsIconified() const {
    GdkWindow* native = gtk_widget_get_window(m_window);
    return native && (gdk_window_get_state(native) & GDK_WINDOW_STATE_ICONIFIED);
}

void GtkSurface::Move(POINT topLeft) {
    AskToBePlaced({topLeft.x, topLeft.y, topLeft.x + m_bounds.right - m_bounds.left,
                   topLeft.y + m_bounds.bottom - m_bounds.top});
    gtk_window_move(Window(), topLeft.x, topLeft.y);
}

void GtkSurface::Resize(SIZE size) {
    AskToBePlaced({m_bounds.left, m_bounds.top, m_bounds.left + size.cx, m_bounds.top + size.cy});
    cairo_surface_t* resized = Resized(m_picture, size.cx, size.cy);
    cairo_surface_destroy(m_picture);
    m_picture = resized;
    cairo_rectangle_int_t bounds{0, 0, static_cast<int>(size.cx), static_cast<int>(size.cy)};
    cairo_region_intersect_rectangle(m_shownArea, &bounds);
    ApplyInputShape();
    gtk_window_resize(Window(), std::max<LONG>(size.cx, 1), std::max<LONG>(size.cy, 1));
}

void GtkSurface::SetTitle(const std::wstring& title) {
    gtk_window_set_title(Window(), WideToUtf8(title).c_str());
}

// An owned window (a tool tip, a popup) has no task-bar entry of its own and leaves the
// desktop's focus with its owner, whose keys the window system hands on to it. A tool window
// has no entry either.
void GtkSurface::SetOwner(GtkWindow* owner) {
    GtkWindow* window = Window();
    gtk_window_set_transient_for(window, owner);
    bool owned = owner != nullptr;
    gtk_window_set_skip_taskbar_hint(window, !Listed());
    gtk_window_set_skip_pager_hint(window, !Listed());
    ApplyIcon();
    if (owned) {
        gtk_window_set_accept_focus(window, FALSE);
        gtk_window_set_focus_on_map(window, FALSE);
    }
}

bool GtkSurface::Listed() const {
    return !gtk_window_get_transient_for(Window()) && !m_toolWindow;
}

// A window with a task-bar entry shows the executable's icon there. GTK gives a window without
// an icon of its own the icon of the window it is transient for; a window without an entry
// keeps none.
void GtkSurface::ApplyIcon() {
    gtk_window_set_icon_list(Window(), Listed() ? ApplicationIcons() : nullptr);
    GdkWindow* native = gtk_widget_get_window(m_window);
    if (native && !Listed()) {
        gdk_window_set_icon_list(native, nullptr);
    }
}

void GtkSurface::Present(const RECT& area, const PixelBuffer& pixels, BYTE constantAlpha) {
    if (constantAlpha != m_constantAlpha) {
        m_constantAlpha = constantAlpha;
        gtk_widget_queue_draw(m_window);
        ApplyInputShape();
    }
    if (pixels.Empty()) {
        return;
    }
    CopyArea(m_picture, area, pixels);
    m_hasPicture = true;
    TrackShownArea(area);
    gtk_widget_queue_draw_area(m_window, area.left, area.top, area.right - area.left,
                               area.bottom - area.top);
}

// What shows nothing on the screen lets the pointer through to what lies beneath, as a
// layered window does: the pixels whose alpha is 0, and the whole window at constant alpha 0.
void GtkSurface::TrackShownArea(const RECT& area) {
    RECT clipped{std::max<LONG>(area.left, 0), std::max<LONG>(area.top, 0),
                 std::min<LONG>(area.right, cairo_image_surface_get_width(m_picture)),
                 std::min<LONG>(area.bottom, cairo_image_surface_get_height(m_picture))};
    if (clipped.right <= clipped.left || clipped.bottom <= clipped.top) {
        return;
    }
    cairo_rectangle_int_t changed{clipped.left, clipped.top, clipped.right - clipped.left,
                                  clipped.bottom - clipped.top};
    cairo_region_subtract_rectangle(m_shownArea, &changed);
    cairo_region_t* shown = ShownPixels(m_picture, clipped);
    cairo_region_union(m_shownArea, shown);
    cairo_region_destroy(shown);
    ApplyInputShape();
}

// Native children (web views) take the pointer wherever they are, whatever the picture below.
void GtkSurface::ApplyInputShape() {
    cairo_region_t* shape =
        m_constantAlpha == 0 ? cairo_region_create() : cairo_region_copy(m_shownArea);
    if (m_layer && m_constantAlpha != 0) {
        GList* children = gtk_container_get_children(GTK_CONTAINER(m_layer));
        for (GList* child = children; child; child = child->next) {
            GtkAllocation allocation;
            gtk_widget_get_allocation(GTK_WIDGET(child->data), &allocation);
            cairo_region_union_rectangle(shape, &allocation);
        }
        g_list_free(children);
    }
    gtk_widget_input_shape_combine_region(m_window, shape);
    cairo_region_destroy(shape);
}

void GtkSurface::OnLayerAllocated(GtkWidget*, GdkRectangle*, gpointer self) {
    static_cast<GtkSurface*>(self)->ApplyInputShape();
}

gboolean GtkSurface::OnDraw(GtkWidget*, cairo_t* context, gpointer self) {
    auto* surface = static_cast<GtkSurface*>(self);
    cairo_set_operator(context, CAIRO_OPERATOR_CLEAR);
    cairo_paint(context);
    cairo_set_operator(context, CAIRO_OPERATOR_OVER);
    cairo_set_source_surface(context, surface->m_picture, 0, 0);
    // The picture has the window's size in application pixels: on a screen scaled by a whole
    // factor each of its pixels shows as a block of device pixels, without blur between them.
    cairo_pattern_set_filter(cairo_get_source(context), CAIRO_FILTER_NEAREST);
    cairo_paint_with_alpha(context, surface->m_constantAlpha / 255.0);
    if (surface->m_layer) {
        gtk_container_propagate_draw(GTK_CONTAINER(surface->m_window), surface->m_layer, context);
    }
    if (surface->m_hasPicture) {
        surface->FirstPictureDrawn();
    }
    return TRUE;
}

void GtkSurface::AfterFirstPicture(std::weak_ptr<std::function<void()>> action) {
    if (!m_drawn) {
        m_afterFirstPicture.push_back(std::move(action));
    } else if (auto run = action.lock()) {
        (*run)();
    }
}

void GtkSurface::FirstPictureDrawn() {
    if (m_drawn) {
        return;
    }
    m_drawn = true;
    for (auto& action : std::exchange(m_afterFirstPicture, {})) {
        if (auto run = action.lock()) {
            (*run)();
        }
    }
}

GtkFixed* GtkSurface::Layer() {
    if (!m_layer) {
        m_layer = gtk_fixed_new();
        gtk_widget_set_has_window(m_layer, FALSE);
        gtk_container_add(GTK_CONTAINER(m_window), m_layer);
        g_signal_connect_after(m_layer, "size-allocate", G_CALLBACK(OnLayerAllocated), this);
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
    static_cast<GtkSurface*>(self)->ApplyIcon();
}

// What the window manager does reaches the window system. The desktop's focus going from one of
// the program's windows to another shows as a focus-out and then a focus-in, so a focus-out
// is a deactivation only when, once the events at hand are handled, no window of the program
// has the focus.
gboolean GtkSurface::OnFocus(GtkWidget*, GdkEventFocus* event, gpointer self) {
    auto* surface = static_cast<GtkSurface*>(self);
    if (event->in) {
        DeliverSurfaceEvent({SurfaceEvent::Kind::Activated, surface->m_handle, {}});
    } else {
        g_idle_add(ReportDeactivationUnlessFocused, nullptr);
    }
    return FALSE;
}

gboolean GtkSurface::OnConfigure(GtkWidget*, GdkEventConfigure* event, gpointer self) {
    static_cast<GtkSurface*>(self)->Configured(*event);
    return FALSE;
}

void GtkSurface::AskToBePlaced(const RECT& bounds) {
    m_bounds = bounds;
    m_requested.push_back(bounds);
    if (m_requested.size() > kRequestsKept) {
        m_requested.pop_front();
    }
}

// The window manager confirms the places the window system asked for, perhaps late, after
// others, and with a move and a size of different requests together; a place it chose itself
// is reported. A size the window system has as 0 shows as 1.
void GtkSurface::Configured(const GdkEventConfigure& event) {
    LONG width = event.width == WidthOf(m_bounds) ? m_bounds.right - m_bounds.left : event.width;
    LONG height =
        event.height == HeightOf(m_bounds) ? m_bounds.bottom - m_bounds.top : event.height;
    RECT bounds{event.x, event.y, event.x + width, event.y + height};
    bool askedPosition = bounds.left == m_bounds.left && bounds.top == m_bounds.top;
    bool askedSize =
        width == m_bounds.right - m_bounds.left && height == m_bounds.bottom - m_bounds.top;
    for (const RECT& requested : m_requested) {
        askedPosition =
            askedPosition || (requested.left == bounds.left && requested.top == bounds.top);
        askedSize = askedSize || (requested.right - requested.left == width &&
                                  requested.bottom - requested.top == height);
    }
    if (SameRect(bounds, m_bounds)) {
        m_requested.clear();
    }
    if (askedPosition && askedSize) {
        return;
    }
    m_bounds = bounds;
    m_requested.clear();
    DeliverSurfaceEvent({SurfaceEvent::Kind::Placed, m_handle, bounds});
}

gboolean GtkSurface::OnWindowState(GtkWidget* window, GdkEventWindowState* event, gpointer self) {
    auto* surface = static_cast<GtkSurface*>(self);
    if (!(event->changed_mask & GDK_WINDOW_STATE_ICONIFIED) || !gtk_widget_get_visible(window)) {
        return FALSE;
    }
    bool minimized = event->new_window_state & GDK_WINDOW_STATE_ICONIFIED;
    DeliverSurfaceEvent({minimized ? SurfaceEvent::Kind::Minimized : SurfaceEvent::Kind::Restored,
                         surface->m_handle,
                         {}});
    return FALSE;
}

// The window system decides when a window closes; the window manager's close only asks.
gboolean GtkSurface::OnDelete(GtkWidget*, GdkEvent*, gpointer self) {
    DeliverSurfaceEvent(
        {SurfaceEvent::Kind::CloseRequested, static_cast<GtkSurface*>(self)->m_handle, {}});
    return TRUE;
}

}  // namespace plat::gtk
