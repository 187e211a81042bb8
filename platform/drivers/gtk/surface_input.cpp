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

// The key value the key gives in the event's layout group with only num lock and, when
// `shifted`, shift held.
guint KeyValueAtLevel(const GdkEventKey& event, bool shifted) {
    GdkKeymap* keymap = gdk_keymap_get_for_display(gdk_window_get_display(event.window));
    auto state = static_cast<GdkModifierType>((event.state & GDK_MOD2_MASK) |
                                              (shifted ? GDK_SHIFT_MASK : 0));
    guint keyValue = 0;
    gdk_keymap_translate_keyboard_state(keymap, event.hardware_keycode, state, event.group,
                                        &keyValue, nullptr, nullptr, nullptr);
    return keyValue;
}

// Windows' rules for a keyboard layout: a key that gives a letter or digit, shifted or not, is
// that letter's or digit's key ("!" is '1' on a US layout, "é" is '2' on a French one); a
// letter of another script at a letter's place is the US letter there ("ф" is 'A' on a Russian
// layout); other keys with a name keep it (Enter, F1, the number pad, with num lock deciding
// digits); the rest, punctuation and dead keys, are named by where they sit.
UINT VirtualKeyOfEvent(const GdkEventKey& event) {
    guint plain = KeyValueAtLevel(event, false);
    for (guint keyValue : {plain, KeyValueAtLevel(event, true)}) {
        if (IsLetterOrDigit(keyValue)) {
            return VirtualKeyOf(keyValue);
        }
    }
    if (UINT letter = IsLetter(plain) ? LetterOfPlace(event.hardware_keycode) : 0) {
        return letter;
    }
    if (UINT placed = VirtualKeyOfPlace(event.hardware_keycode)) {
        return placed;
    }
    UINT named = VirtualKeyOf(plain);
    return named ? named : VirtualKeyOf(event.keyval);
}

// The printable character of the key value, for a key no input method took; 0 with control or
// alt held, which make no text of their own.
wchar_t PrintableCharacterOf(const GdkEventKey& event) {
    if (event.state & (GDK_CONTROL_MASK | GDK_MOD1_MASK)) {
        return 0;
    }
    gunichar character = gdk_keyval_to_unicode(event.keyval);
    return character >= 0x20 && character != 0x7F ? static_cast<wchar_t>(character) : 0;
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
    g_signal_connect(m_inputMethod, "preedit-changed", G_CALLBACK(OnPreeditChanged), this);
    g_signal_connect(m_inputMethod, "preedit-end", G_CALLBACK(OnPreeditEnd), this);
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

void SurfaceInput::EnableInputMethod(bool enabled) {
    if (enabled == m_inputMethodEnabled) {
        return;
    }
    m_inputMethodEnabled = enabled;
    if (enabled) {
        if (gtk_window_is_active(GTK_WINDOW(m_window))) {
            gtk_im_context_focus_in(m_inputMethod);
        }
        return;
    }
    gtk_im_context_reset(m_inputMethod);
    OnPreeditEnd(m_inputMethod, this);
    gtk_im_context_focus_out(m_inputMethod);
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

// A key the input method turns into one character outside a composition is a key press with
// that character, which TranslateMessage gives as WM_CHAR: the layout's character. A key the
// input method uses otherwise (a composition, a dead key, several characters) is
// VK_PROCESSKEY, followed by what the input method made of it: the composition's changes, and
// the text it commits (as characters outside a composition).
void SurfaceInput::KeyPress(GdkEventKey& event) {
    m_inKeyPress = true;
    m_committedDuringKey.clear();
    m_fromInputMethodDuringKey.clear();
    bool taken = m_inputMethodEnabled && gtk_im_context_filter_keypress(m_inputMethod, &event);
    m_inKeyPress = false;
    bool composition = !m_fromInputMethodDuringKey.empty() &&
                       m_fromInputMethodDuringKey.front().kind != Kind::Character;
    if (!taken) {
        DeliverKey(Kind::KeyDown, VirtualKeyOfEvent(event), PrintableCharacterOf(event));
    } else if (!composition && m_committedDuringKey.size() == 1) {
        DeliverKey(Kind::KeyDown, VirtualKeyOfEvent(event), m_committedDuringKey[0]);
    } else {
        DeliverKey(Kind::KeyDown, VK_PROCESSKEY);
        for (const InputEvent& fromInputMethod : m_fromInputMethodDuringKey) {
            DeliverInput(fromInputMethod);
        }
    }
}

void SurfaceInput::KeyRelease(GdkEventKey& event) {
    if (m_inputMethodEnabled) {
        gtk_im_context_filter_keypress(m_inputMethod, &event);
    }
    DeliverKey(Kind::KeyUp, VirtualKeyOfEvent(event));
}

void SurfaceInput::DeliverText(const std::wstring& text) {
    for (wchar_t character : text) {
        InputEvent event = PointerEvent(Kind::Character, {0, 0});
        event.character = character;
        DeliverFromInputMethod(event);
    }
}

void SurfaceInput::DeliverFromInputMethod(const InputEvent& event) {
    if (m_inKeyPress) {
        m_fromInputMethodDuringKey.push_back(event);
    } else {
        DeliverInput(event);
    }
}

// Text committed while composing is the composition's result; otherwise it is typed text.
void SurfaceInput::OnCommit(GtkIMContext*, const gchar* text, gpointer self) {
    auto* input = static_cast<SurfaceInput*>(self);
    if (!input->m_inputMethodEnabled) {
        return;  // what a reset gives up does not reach a window without input method
    }
    std::wstring committed = Utf8ToWide(text);
    if (input->m_inKeyPress) {
        input->m_committedDuringKey += committed;
    }
    if (!input->m_composing) {
        input->DeliverText(committed);
        return;
    }
    InputEvent event = PointerEvent(Kind::CompositionCommit, {0, 0});
    event.text = committed;
    input->DeliverFromInputMethod(event);
}

// The composition starts with its first text; an empty text shows nothing while it goes on.
void SurfaceInput::OnPreeditChanged(GtkIMContext* context, gpointer self) {
    auto* input = static_cast<SurfaceInput*>(self);
    if (!input->m_inputMethodEnabled) {
        return;
    }
    gchar* text = nullptr;
    gint cursor = 0;
    gtk_im_context_get_preedit_string(context, &text, nullptr, &cursor);
    InputEvent event = PointerEvent(Kind::Composition, {0, 0});
    event.text = Utf8ToWide(text ? text : "");
    event.cursor = cursor;
    g_free(text);
    if (!input->m_composing) {
        if (event.text.empty()) {
            return;
        }
        input->m_composing = true;
        input->DeliverFromInputMethod(PointerEvent(Kind::CompositionStart, {0, 0}));
    }
    input->DeliverFromInputMethod(event);
}

void SurfaceInput::OnPreeditEnd(GtkIMContext*, gpointer self) {
    auto* input = static_cast<SurfaceInput*>(self);
    if (input->m_composing) {
        input->m_composing = false;
        input->DeliverFromInputMethod(PointerEvent(Kind::Composition, {0, 0}));
        input->DeliverFromInputMethod(PointerEvent(Kind::CompositionEnd, {0, 0}));
    }
}

gboolean SurfaceInput::OnFocus(GtkWidget*, GdkEventFocus* event, gpointer self) {
    auto* input = static_cast<SurfaceInput*>(self);
    if (event->in) {
        if (input->m_inputMethodEnabled) {
            gtk_im_context_focus_in(input->m_inputMethod);
        }
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
