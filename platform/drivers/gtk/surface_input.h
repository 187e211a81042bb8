// The input of one native window: GDK's pointer and key events and the input method's text,
// turned into the driver's input events for the window system.
#pragma once

#include "drivers/gtk/gtk_headers.h"

#include <string>
#include <vector>

#include "drivers/gtk/double_clicks.h"
#include "plat/driver.h"

namespace plat::gtk {

class SurfaceInput {
public:
    explicit SurfaceInput(GtkWidget* window);
    ~SurfaceInput();
    SurfaceInput(const SurfaceInput&) = delete;
    SurfaceInput& operator=(const SurfaceInput&) = delete;

    // Where the input method shows its composition, in the window's coordinates.
    void SetInputMethodPosition(POINT point);
    // Turned off, the input method gives up what it composes and sees no keys until it is
    // turned on again.
    void EnableInputMethod(bool enabled);

private:
    static gboolean OnMotion(GtkWidget*, GdkEventMotion* event, gpointer self);
    static gboolean OnButton(GtkWidget*, GdkEventButton* event, gpointer self);
    static gboolean OnScroll(GtkWidget*, GdkEventScroll* event, gpointer self);
    static gboolean OnLeave(GtkWidget*, GdkEventCrossing* event, gpointer self);
    static gboolean OnKey(GtkWidget* window, GdkEventKey* event, gpointer self);
    static gboolean OnFocus(GtkWidget*, GdkEventFocus* event, gpointer self);
    static void OnRealize(GtkWidget* window, gpointer self);
    static void OnCommit(GtkIMContext*, const gchar* text, gpointer self);
    static void OnPreeditChanged(GtkIMContext* context, gpointer self);
    static void OnPreeditEnd(GtkIMContext*, gpointer self);

    void Button(const GdkEventButton& event);
    void KeyPress(GdkEventKey& event);
    void KeyRelease(GdkEventKey& event);
    void DeliverText(const std::wstring& text);
    // Input-method events go out at once, or after the key press they happen in.
    void DeliverFromInputMethod(const InputEvent& event);

    GtkWidget* m_window;
    GtkIMContext* m_inputMethod;
    DoubleClicks m_doubleClicks;
    bool m_inKeyPress = false;
    std::wstring m_committedDuringKey;
    std::vector<InputEvent> m_fromInputMethodDuringKey;
    bool m_composing = false;
    bool m_inputMethodEnabled = true;
};

}  // namespace plat::gtk
