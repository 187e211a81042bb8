#include "drivers/gtk/gtk_driver.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <future>

#include "drivers/gtk/deferred_web_view.h"
#include "drivers/gtk/gtk_cursors.h"
#include "drivers/gtk/gtk_folder_picker.h"
#include "drivers/gtk/gtk_message_box.h"
#include "drivers/gtk/gtk_web_view.h"
#include "plat/folder_picker.h"
#include "plat/message_box.h"
#include "plat/message_queue.h"
#include "plat/text.h"

namespace plat::gtk {
namespace {

RECT RectOf(const GdkRectangle& area) {
    return {area.x, area.y, area.x + area.width, area.y + area.height};
}

MonitorDescription DescribeMonitor(GdkMonitor* monitor) {
    GdkRectangle geometry;
    GdkRectangle work;
    gdk_monitor_get_geometry(monitor, &geometry);
    gdk_monitor_get_workarea(monitor, &work);
    return {RectOf(geometry), RectOf(work)};
}

bool Named(const char* variable) {
    const char* value = std::getenv(variable);
    return value && *value;
}

// The window model places windows in global screen coordinates, which Wayland does not give.
[[noreturn]] void RefuseWaylandAlone() {
    std::fputs(
        "The gtk driver needs an X display, and this Wayland session offers none "
        "(WAYLAND_DISPLAY is set, DISPLAY is not). Turn on XWayland, start an X session, "
        "or set DM_DRIVER=headless.\n",
        stderr);
    std::exit(1);
}

// Work asked for on another thread, done on GTK's thread.
template <typename Result>
struct GtkThreadCall {
    std::function<Result()> work;
    std::promise<Result> answer;
};

template <typename Result>
gboolean RunGtkThreadCall(gpointer data) {
    auto* call = static_cast<GtkThreadCall<Result>*>(data);
    call->answer.set_value(call->work());
    return G_SOURCE_REMOVE;
}

struct TimeoutState {
    bool passed = false;
};

gboolean NoteTimeout(gpointer data) {
    static_cast<TimeoutState*>(data)->passed = true;
    return G_SOURCE_REMOVE;
}

}  // namespace

GtkDriver::GtkDriver() : m_thread(GetCurrentThreadId()) {
    SetMessageBoxPresenter(
        [this](HWND owner, const std::wstring& text, const std::wstring& caption, UINT type) {
            return OnGtkThread<int>(
                [=, this] { return RunMessageBox(WindowOf(owner), text, caption, type); });
        });
    SetFolderPickerPresenter([this](HWND owner, const std::wstring& title) {
        return OnGtkThread<std::optional<std::filesystem::path>>(
            [=, this] { return RunFolderPicker(WindowOf(owner), title); });
    });
}

template <typename Result>
Result GtkDriver::OnGtkThread(std::function<Result()> work) {
    if (GetCurrentThreadId() == m_thread) {
        return work();
    }
    GtkThreadCall<Result> call{std::move(work), {}};
    std::future<Result> answer = call.answer.get_future();
    g_main_context_invoke(nullptr, RunGtkThreadCall<Result>, &call);
    return answer.get();
}

GtkSurface* GtkDriver::Find(HWND window) {
    auto found = m_surfaces.find(window);
    return found == m_surfaces.end() ? nullptr : found->second.get();
}

GtkSurface& GtkDriver::TopOwner(GtkSurface& surface) {
    GtkWindow* owner = gtk_window_get_transient_for(surface.Window());
    for (auto& entry : m_surfaces) {
        if (owner && entry.second->Window() == owner) {
            return TopOwner(*entry.second);
        }
    }
    return surface;
}

GtkWindow* GtkDriver::WindowOf(HWND window) {
    GtkSurface* surface = Find(window);
    return surface ? surface->Window() : nullptr;
}

void GtkDriver::CreateSurface(HWND window, const SurfaceDescription& description) {
    m_surfaces[window] =
        std::make_unique<GtkSurface>(window, description, WindowOf(description.owner));
}

void GtkDriver::DestroySurface(HWND window) {
    if (m_grab == window) {
        SetPointerGrab(nullptr);
    }
    m_surfaces.erase(window);
}

void GtkDriver::ShowSurface(HWND window, SurfaceShow show, bool activate) {
    if (GtkSurface* surface = Find(window)) {
        surface->Show(show, activate);
        if (show != SurfaceShow::Hidden) {
            RaiseOwnedWindows(surface->Window());
        }
    }
}

// Owned windows stay above their owner, as on Windows; without a window manager nothing else
// keeps them there.
void GtkDriver::RaiseOwnedWindows(GtkWindow* owner) {
    for (auto& [handle, surface] : m_surfaces) {
        GtkWindow* owned = surface->Window();
        GdkWindow* native = gtk_widget_get_window(GTK_WIDGET(owned));
        if (gtk_window_get_transient_for(owned) == owner && native &&
            gtk_widget_get_visible(GTK_WIDGET(owned))) {
            gdk_window_raise(native);
        }
    }
}

void GtkDriver::MoveSurface(HWND window, POINT topLeft) {
    if (GtkSurface* surface = Find(window)) {
        surface->Move(topLeft);
    }
}

void GtkDriver::ResizeSurface(HWND window, SIZE size) {
    if (GtkSurface* surface = Find(window)) {
        surface->Resize(size);
    }
}

void GtkDriver::SetSurfaceTitle(HWND window, const std::wstring& title) {
    if (GtkSurface* surface = Find(window)) {
        surface->SetTitle(title);
    }
}

void GtkDriver::SetSurfaceOwner(HWND window, HWND owner) {
    if (GtkSurface* surface = Find(window)) {
        surface->SetOwner(WindowOf(owner));
    }
}

void GtkDriver::PresentSurface(HWND window, const RECT& area, const PixelBuffer& pixels,
                               BYTE constantAlpha) {
    if (GtkSurface* surface = Find(window)) {
        surface->Present(area, pixels, constantAlpha);
    }
}

void GtkDriver::SetCursorShape(HWND window, const CursorShape* shape) {
    if (GtkSurface* surface = Find(window)) {
        surface->SetCursor(MakeCursor(gdk_display_get_default(), shape));
    }
}

// Windows' capture: every pointer event goes to the grabbing window, wherever the pointer is.
void GtkDriver::SetPointerGrab(HWND window) {
    GdkSeat* seat = gdk_display_get_default_seat(gdk_display_get_default());
    GtkWindow* grabbing = WindowOf(window);
    GdkWindow* native = grabbing ? gtk_widget_get_window(GTK_WIDGET(grabbing)) : nullptr;
    m_grab = native ? window : nullptr;
    if (!native) {
        gdk_seat_ungrab(seat);
        return;
    }
    gdk_seat_grab(seat, native, GDK_SEAT_CAPABILITY_ALL_POINTING, FALSE, nullptr, nullptr, nullptr,
                  nullptr);
}

void GtkDriver::SetInputMethodPosition(HWND window, POINT point) {
    if (GtkSurface* surface = Find(window)) {
        surface->SetInputMethodPosition(point);
    }
}

void GtkDriver::EnableInputMethod(HWND window, bool enabled) {
    if (GtkSurface* surface = Find(window)) {
        surface->EnableInputMethod(enabled);
    }
}

std::vector<MonitorDescription> GtkDriver::Monitors() {
    GdkDisplay* display = gdk_display_get_default();
    GdkMonitor* primary = gdk_display_get_primary_monitor(display);
    std::vector<MonitorDescription> monitors;
    if (primary) {
        monitors.push_back(DescribeMonitor(primary));
    }
    for (int index = 0; index < gdk_display_get_n_monitors(display); ++index) {
        GdkMonitor* monitor = gdk_display_get_monitor(display, index);
        if (monitor != primary) {
            monitors.push_back(DescribeMonitor(monitor));
        }
    }
    return monitors;
}

// The view waits for the first picture of the window at the top of the host's owners: the
// main window comes on screen before the page in its popup starts loading.
std::unique_ptr<WebView> GtkDriver::CreateWebView(HWND host, WebViewClient& client) {
#ifdef VAEL_HAVE_WEBKIT
    GtkSurface* surface = Find(host);
    if (!surface) {
        return nullptr;
    }
    return std::make_unique<DeferredWebView>(TopOwner(*surface), surface->Layer(), client,
                                             MakeWebKitView);
#else
    (void)host;
    (void)client;
    return nullptr;
#endif
}

void GtkDriver::SetClipboardText(const std::wstring& text) {
    gtk_clipboard_set_text(gtk_clipboard_get(GDK_SELECTION_CLIPBOARD), WideToUtf8(text).c_str(),
                           -1);
}

std::wstring GtkDriver::ClipboardText() {
    gchar* text = gtk_clipboard_wait_for_text(gtk_clipboard_get(GDK_SELECTION_CLIPBOARD));
    std::wstring wide = text ? Utf8ToWide(text) : std::wstring();
    g_free(text);
    return wide;
}

// One blocking round of the main context returns after it has dispatched something or been
// woken; the rest that is ready is handled without waiting. A wake-up that came before the
// round is kept by the context, so none is lost between the caller's check and the wait.
void GtkDriver::RunNativeEvents(int timeoutMs) {
    if (timeoutMs != 0 && !m_wakeRequested.exchange(false)) {
        TimeoutState timeout;
        guint timer = timeoutMs >= 0 ? g_timeout_add(timeoutMs, NoteTimeout, &timeout) : 0;
        g_main_context_iteration(nullptr, TRUE);
        if (timer && !timeout.passed) {
            g_source_remove(timer);
        }
    }
    while (g_main_context_iteration(nullptr, FALSE)) {
    }
    m_wakeRequested = false;
}

void GtkDriver::Wake() {
    m_wakeRequested = true;
    g_main_context_wakeup(nullptr);
}

// A Wayland session that also offers X (XWayland) is used through X. The windows' class is the
// executable's name, which is the name of the program's desktop entry: the desktop matches the
// windows to the entry by it.
std::unique_ptr<Driver> MakeGtkDriver() {
    if (!Named("DISPLAY")) {
        if (Named("WAYLAND_DISPLAY")) {
            RefuseWaylandAlone();
        }
        return nullptr;
    }
    if (!g_get_prgname()) {
        g_set_prgname(program_invocation_short_name);
    }
    gdk_set_allowed_backends("x11");
    // The driver shows pictures drawn in memory and never draws with OpenGL: without this GDK
    // loads the system's GL stack at start, which costs more time and memory than the window.
    g_setenv("GDK_GL", "disable", FALSE);
    if (!gtk_init_check(nullptr, nullptr)) {
        return nullptr;
    }
    return std::make_unique<GtkDriver>();
}

}  // namespace plat::gtk
