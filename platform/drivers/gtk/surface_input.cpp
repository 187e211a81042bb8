#include "drivers/gtk/surface_input.h"

#include <cmath>

#include "drivers/gtk/virtual_keys.h"
#include "plat/messages.h"
#include "plat/text.h"

namespace plat::gtk {
namespace {

using Kind = InputEvent::Kind;

constexpr unsigned int kDefaultDoubleClickMs = 400;
constexpr int kDefaultDoubleClickDistance = 5;
constexpr int kWheelNotch = 120;

POINT ScreenPoint(double xRoot, double yRoot) {
    return {static_cast<LONG>(std::floor(xRoot)), static_cast<LONG>(std::floor(yRoot))};
}

InputEvent PointerEvent(Kind kind, POINT point) {
    return {kind, point, MouseButton::Left, 0, 0, 0};
}

void DeliverKey(Kind kind, UINT virtualKey, wchar_t character = 0) {
    DeliverInput({kind, {0, 0}, MouseButton::Left, 0, virtualKey, character});
}

bool ButtonOf(guint number, MouseButton& button) {
    switch (number) {
        case GDK_BUTTON_PRIMARY:
            button = MouseButton::Left;
            return true;
        case GDK_BUTTON_MIDDLE:
            button = MouseButton::Middle;
            return true;
        case GDK_BUTTON_SECONDARY:
            button = MouseButton::Right;
            return true;
        default:
            return false;
    }
}

DoubleClicks DoubleClicksOfSettings(GtkWidget* window) {
    gint timeMs = kDefaultDoubleClickMs;
    gint distance = kDefaultDoubleClickDistance;
    g_object_get(gtk_widget_get_settings(window), "gtk-double-click-time", &timeMs,
                 "gtk-double-click-distance", &distance, nullptr);
    return DoubleClicks(static_cast<unsigned int>(timeMs), distance);
}

// The key as it is without shift, so that "!" is the key '1'; num lock still counts, since it
// decides whether a number-pad key is a digit.
UINT VirtualKeyOfEvent(const GdkEventKey& event) {
    GdkKeymap* keymap = gdk_keymap_get_for_display(gdk_window_get_display(event.window));
    guint plain = event.keyval;
    gdk_keymap_translate_keyboard_state(keymap, event.hardware_keycode,
                                        static_cast<GdkModifierType>(event.state & GDK_MOD2_MASK),
                                        event.group, &plain, nullptr, nullptr, nullptr);
    UINT virtualKey = VirtualKeyOf(plain);
    return virtualKey ? virtualKey : VirtualKeyOf(event.keyval);
}

std::wstring OwnCharacterOf(const GdkEventKey& event) {
    gunichar character = gdk_keyval_to_unicode(event.keyval);
    return character ? std::wstring(1, static_cast<wchar_t>(character)) : std::wstring();
}

}  // namespace

SurfaceInput::SurfaceInput(GtkWidget* window)
    : m_window(window),
      m_inputMethod(gtk_im_multicontext_new()),
      m_doubleClicks(DoubleClicksOfSettings(window)) {
    gtk_widget_add_events(window, GDK_POINTER_MOTION_MASK | GDK_BUTTON_PRESS_MASK |
                                      GDK_BUTTON_RELEASE_MASK | GDK_SCROLL_MASK |
                                      GDK_LEAVE_NOTIFY_MASK | GDK_KEY_PRESS_MASK |
                                      GDK_KEY_RELEASE_MASK | GDK_FOCUS_CHANGE_MASK);
    g_signal_connect(window, "motion-notify-event", G_CALLBACK(OnMotion), this);
    g_signal_connect(window, "button-press-event", G_CALLBACK(OnButton), this);
    g_signal_connect(window, "button-release-event", G_CALLBACK(OnButton), this);
    g_signal_connect(window, "scroll-event", G_CALLBACK(OnScroll), this);
    g_signal_connect(window, "leave-notify-event", G_CALLBACK(OnLeave), this);
    g_signal_connect(window, "key-press-event", G_CALLBACK(OnKey), this);
    g_signal_connect(window, "key-release-event", G_CALLBACK(OnKey), this);
    g_signal_connect(window, "focus-in-event", G_CALLBACK(OnFocus), this);
    g_signal_connect(window, "focus-out-event", G_CALLBACK(OnFocus), this);
    g_signal_connect(window, "realize", G_CALLBACK(OnRealize), this);
    g_signal_connect(m_inputMethod, "commit", G_CALLBACK(OnCommit), this);
}

SurfaceInput::~SurfaceInput() {
    g_signal_handlers_disconnect_by_data(m_window, this);
    g_signal_handlers_disconnect_by_data(m_inputMethod, this);
    gtk_im_context_set_client_window(m_inputMethod, nullptr);
    g_object_unref(m_inputMethod);
}

void SurfaceInput::SetInputMethodPosition(POINT point) {
    GdkRectangle where{point.x, point.y, 0, 0};
    gtk_im_context_set_cursor_location(m_inputMethod, &where);
}

gboolean SurfaceInput::OnMotion(GtkWidget*, GdkEventMotion* event, gpointer) {
    DeliverInput(PointerEvent(Kind::MouseMove, ScreenPoint(event->x_root, event->y_root)));
    return TRUE;
}

gboolean SurfaceInput::OnButton(GtkWidget*, GdkEventButton* event, gpointer self) {
    static_cast<SurfaceInput*>(self)->Button(*event);
    return TRUE;
}

// GDK reports a double click as two presses and then a 2BUTTON_PRESS; Windows as a press and
// then a double-click press. The driver decides by itself and ignores GDK's extra events.
void SurfaceInput::Button(const GdkEventButton& event) {
    MouseButton button;
    if (event.type == GDK_2BUTTON_PRESS || event.type == GDK_3BUTTON_PRESS ||
        !ButtonOf(event.button, button)) {
        return;
    }
    InputEvent input = PointerEvent(Kind::ButtonUp, ScreenPoint(event.x_root, event.y_root));
    input.button = button;
    if (event.type == GDK_BUTTON_PRESS) {
        input.kind = m_doubleClicks.IsSecondPress(button, input.point, event.time)
                         ? Kind::ButtonDoubleClick
                         : Kind::ButtonDown;
    }
    DeliverInput(input);
}

gboolean SurfaceInput::OnScroll(GtkWidget*, GdkEventScroll* event, gpointer) {
    if (event->direction != GDK_SCROLL_UP && event->direction != GDK_SCROLL_DOWN) {
        return FALSE;
    }
    InputEvent input = PointerEvent(Kind::Wheel, ScreenPoint(event->x_root, event->y_root));
    input.wheelDelta = event->direction == GDK_SCROLL_UP ? kWheelNotch : -kWheelNotch;
    DeliverInput(input);
    return TRUE;
}

// The pointer leaving for a place outside the program's windows is a move there, so that the
// window system sees it gone.
gboolean SurfaceInput::OnLeave(GtkWidget*, GdkEventCrossing* event, gpointer) {
    if (event->mode == GDK_CROSSING_NORMAL) {
        DeliverInput(PointerEvent(Kind::MouseMove, ScreenPoint(event->x_root, event->y_root)));
    }
    return FALSE;
}

// A native child with the focus (a web view) gets the key as well, after the window system.
gboolean SurfaceInput::OnKey(GtkWidget* window, GdkEventKey* event, gpointer self) {
    auto* input = static_cast<SurfaceInput*>(self);
    if (event->type == GDK_KEY_PRESS) {
        input->KeyPress(*event);
    } else {
        input->KeyRelease(*event);
    }
    return gtk_window_get_focus(GTK_WINDOW(window)) == nullptr;
}

// A key whose own character is all the input method makes of it is a plain key press, and
// TranslateMessage makes its character as on Windows. A key the input method uses otherwise
// (a composition, a dead key) is VK_PROCESSKEY, and the text it commits arrives as characters.
void SurfaceInput::KeyPress(GdkEventKey& event) {
    m_inKeyPress = true;
    m_committedDuringKey.clear();
    bool taken = gtk_im_context_filter_keypress(m_inputMethod, &event);
    m_inKeyPress = false;
    if (!taken || m_committedDuringKey == OwnCharacterOf(event)) {
        DeliverKey(Kind::KeyDown, VirtualKeyOfEvent(event));
        return;
    }
    DeliverKey(Kind::KeyDown, VK_PROCESSKEY);
    DeliverText(m_committedDuringKey);
}

void SurfaceInput::KeyRelease(GdkEventKey& event) {
    gtk_im_context_filter_keypress(m_inputMethod, &event);
    DeliverKey(Kind::KeyUp, VirtualKeyOfEvent(event));
}

void SurfaceInput::DeliverText(const std::wstring& text) {
    for (wchar_t character : text) {
        DeliverKey(Kind::Character, 0, character);
    }
}

void SurfaceInput::OnCommit(GtkIMContext*, const gchar* text, gpointer self) {
    auto* input = static_cast<SurfaceInput*>(self);
    std::wstring committed = Utf8ToWide(text);
    if (input->m_inKeyPress) {
        input->m_committedDuringKey += committed;
    } else {
        input->DeliverText(committed);
    }
}

gboolean SurfaceInput::OnFocus(GtkWidget*, GdkEventFocus* event, gpointer self) {
    auto* input = static_cast<SurfaceInput*>(self);
    if (event->in) {
        gtk_im_context_focus_in(input->m_inputMethod);
    } else {
        gtk_im_context_focus_out(input->m_inputMethod);
    }
    return FALSE;
}

void SurfaceInput::OnRealize(GtkWidget* window, gpointer self) {
    auto* input = static_cast<SurfaceInput*>(self);
    gtk_im_context_set_client_window(input->m_inputMethod, gtk_widget_get_window(window));
}

}  // namespace plat::gtk
