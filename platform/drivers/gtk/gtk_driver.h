// The gtk driver: the window system's surfaces as GTK 3 windows on the desktop, and GDK's
// input turned into the window system's input. GTK is used from one thread, the one that made
// the driver: every call but Wake comes from it, and that thread's message waits run GLib's
// main context, so GTK's events and the thread's messages are both served.
#pragma once

#include <atomic>
#include <functional>
#include <map>
#include <memory>

#include "drivers/gtk/gtk_surface.h"
#include "plat/driver.h"

namespace plat::gtk {

class GtkDriver final : public Driver {
public:
    GtkDriver();

    const char* Name() const override { return "gtk"; }
    void CreateSurface(HWND window, const SurfaceDescription& description) override;
    void DestroySurface(HWND window) override;
    void ShowSurface(HWND window, SurfaceShow show, bool activate) override;
    void MoveSurface(HWND window, POINT topLeft) override;
    void ResizeSurface(HWND window, SIZE size) override;
    void SetSurfaceTitle(HWND window, const std::wstring& title) override;
    void SetSurfaceOwner(HWND window, HWND owner) override;
    void PresentSurface(HWND window, const RECT& area, const PixelBuffer& pixels,
                        BYTE constantAlpha) override;
    void SetCursorShape(HWND window, const CursorShape* shape) override;
    void SetPointerGrab(HWND window) override;
    void SetInputMethodPosition(HWND window, POINT point) override;
    void EnableInputMethod(HWND window, bool enabled) override;
    std::vector<MonitorDescription> Monitors() override;
    std::unique_ptr<WebView> CreateWebView(HWND host, WebViewClient& client) override;
    void SetClipboardText(const std::wstring& text) override;
    std::wstring ClipboardText() override;
    DWORD NativeEventThread() const override { return m_thread; }
    void RunNativeEvents(int timeoutMs) override;
    void Wake() override;

private:
    GtkSurface* Find(HWND window);
    GtkWindow* WindowOf(HWND window);
    // The window at the top of the surface's owners, the surface itself when it has none.
    GtkSurface& TopOwner(GtkSurface& surface);
    void RaiseOwnedWindows(GtkWindow* owner);
    // Runs `work` on GTK's thread and answers its result; other threads wait for it.
    template <typename Result>
    Result OnGtkThread(std::function<Result()> work);

    DWORD m_thread;
    std::map<HWND, std::unique_ptr<GtkSurface>> m_surfaces;
    HWND m_grab = nullptr;
    std::atomic<bool> m_wakeRequested{false};
};

// The gtk driver on the X display DISPLAY names, also in a Wayland session, when GTK can open
// it, else null. A Wayland session without X ends the program with a message saying so.
std::unique_ptr<Driver> MakeGtkDriver();

}  // namespace plat::gtk
