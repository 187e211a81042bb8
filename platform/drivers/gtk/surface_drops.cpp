#include "drivers/gtk/surface_drops.h"

#include "plat/drag_drop.h"
#include "plat/text.h"

namespace plat::gtk {
namespace {

// X has no keys for the target to read during a drag from another program: the source says
// what the user's modifiers chose (GTK: copy, Shift moves) as its suggested action, and that is
// the one allowed effect; without one, what the source allows.
DWORD AllowedEffects(GdkDragContext* context) {
    GdkDragAction suggested = gdk_drag_context_get_suggested_action(context);
    GdkDragAction actions = suggested == GDK_ACTION_COPY || suggested == GDK_ACTION_MOVE
                                ? suggested
                                : gdk_drag_context_get_actions(context);
    DWORD effects = DROPEFFECT_NONE;
    effects |= actions & GDK_ACTION_COPY ? DROPEFFECT_COPY : 0;
    effects |= actions & GDK_ACTION_MOVE ? DROPEFFECT_MOVE : 0;
    return effects;
}

GdkDragAction ActionOf(DWORD effect) {
    if (effect & DROPEFFECT_MOVE) {
        return GDK_ACTION_MOVE;
    }
    return effect & DROPEFFECT_COPY ? GDK_ACTION_COPY : static_cast<GdkDragAction>(0);
}

}  // namespace

SurfaceDrops::SurfaceDrops(HWND handle, GtkWidget* window) : m_handle(handle), m_window(window) {
    gtk_drag_dest_set(window, static_cast<GtkDestDefaults>(0), nullptr, 0,
                      static_cast<GdkDragAction>(GDK_ACTION_COPY | GDK_ACTION_MOVE));
    gtk_drag_dest_add_text_targets(window);
    g_signal_connect(window, "drag-motion", G_CALLBACK(OnMotion), this);
    g_signal_connect(window, "drag-leave", G_CALLBACK(OnLeave), this);
    g_signal_connect(window, "drag-drop", G_CALLBACK(OnDrop), this);
    g_signal_connect(window, "drag-data-received", G_CALLBACK(OnReceived), this);
}

SurfaceDrops::~SurfaceDrops() {
    g_signal_handlers_disconnect_by_data(m_window, this);
    CancelLeave();
}

gboolean SurfaceDrops::OnMotion(GtkWidget*, GdkDragContext* context, gint x, gint y, guint time,
                                gpointer self) {
    auto* drops = static_cast<SurfaceDrops*>(self);
    drops->Follow(context, x, y);
    if (!drops->m_text) {
        bool asked = drops->AskForText(context, time);
        gdk_drag_status(context, static_cast<GdkDragAction>(0), time);
        return asked;
    }
    drops->Move(context, time);
    return TRUE;
}

// GTK tells a leave also just before a drop; the leave waits, and a drop cancels it.
void SurfaceDrops::OnLeave(GtkWidget*, GdkDragContext*, guint, gpointer self) {
    auto* drops = static_cast<SurfaceDrops*>(self);
    drops->CancelLeave();
    drops->m_leave = g_idle_add(LeaveLater, drops);
}

gboolean SurfaceDrops::LeaveLater(gpointer self) {
    auto* drops = static_cast<SurfaceDrops*>(self);
    drops->m_leave = 0;
    DeliverDrag({DragEvent::Kind::Leave, {0, 0}, {}, DROPEFFECT_NONE, drops->m_handle});
    drops->Forget();
    return G_SOURCE_REMOVE;
}

gboolean SurfaceDrops::OnDrop(GtkWidget*, GdkDragContext* context, gint x, gint y, guint time,
                              gpointer self) {
    auto* drops = static_cast<SurfaceDrops*>(self);
    drops->CancelLeave();
    drops->Follow(context, x, y);
    if (drops->m_text) {
        drops->Drop(context, time);
        return TRUE;
    }
    drops->m_dropWaitsForText = true;
    if (!drops->m_asked && !drops->AskForText(context, time)) {
        gtk_drag_finish(context, FALSE, FALSE, time);
        drops->Forget();
    }
    return TRUE;
}

void SurfaceDrops::OnReceived(GtkWidget*, GdkDragContext* context, gint, gint,
                              GtkSelectionData* data, guint, guint time, gpointer self) {
    auto* drops = static_cast<SurfaceDrops*>(self);
    if (context != drops->m_drag) {
        return;
    }
    guchar* text = gtk_selection_data_get_text(data);
    drops->m_text = Utf8ToWide(text ? reinterpret_cast<const char*>(text) : "");
    g_free(text);
    if (drops->m_dropWaitsForText) {
        drops->Drop(context, time);
    } else {
        drops->Move(context, time);
    }
}

// A new drag starts over: its text is asked for again.
void SurfaceDrops::Follow(GdkDragContext* context, gint x, gint y) {
    if (context != m_drag) {
        Forget();
        m_drag = context;
    }
    gint originX = 0;
    gint originY = 0;
    gdk_window_get_origin(gtk_widget_get_window(m_window), &originX, &originY);
    m_point = {originX + x, originY + y};
}

bool SurfaceDrops::AskForText(GdkDragContext* context, guint time) {
    if (m_asked) {
        return true;
    }
    GdkAtom target = gtk_drag_dest_find_target(m_window, context, nullptr);
    if (target == GDK_NONE) {
        return false;
    }
    m_asked = true;
    gtk_drag_get_data(m_window, context, target, time);
    return true;
}

void SurfaceDrops::Move(GdkDragContext* context, guint time) {
    DWORD effect = DeliverDrag({DragEvent::Kind::Move, m_point, *m_text, AllowedEffects(context)});
    gdk_drag_status(context, ActionOf(effect), time);
}

void SurfaceDrops::Drop(GdkDragContext* context, guint time) {
    DWORD effect = DeliverDrag({DragEvent::Kind::Drop, m_point, *m_text, AllowedEffects(context)});
    gtk_drag_finish(context, effect != DROPEFFECT_NONE, ActionOf(effect) == GDK_ACTION_MOVE, time);
    Forget();
}

void SurfaceDrops::CancelLeave() {
    if (m_leave) {
        g_source_remove(m_leave);
        m_leave = 0;
    }
}

void SurfaceDrops::Forget() {
    m_drag = nullptr;
    m_text.reset();
    m_asked = false;
    m_dropWaitsForText = false;
}

}  // namespace plat::gtk
