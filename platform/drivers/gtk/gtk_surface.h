// One native window: an undecorated GTK top-level window with an RGBA visual, showing the
// picture the window system presents. The window system draws the whole window, non-client
// parts included, so the window manager adds no frame of its own.
#pragma once

#include "drivers/gtk/gtk_headers.h"

#include <deque>
#include <functional>
#include <memory>
#include <vector>

#include "drivers/gtk/surface_drops.h"
#include "drivers/gtk/surface_input.h"
#include "plat/driver.h"

namespace plat::gtk {

class GtkSurface {
public:
    GtkSurface(HWND handle, const SurfaceDescription& description, GtkWindow* owner);
    ~GtkSurface();
    GtkSurface(const GtkSurface&) = delete;
    GtkSurface& operator=(const GtkSurface&) = delete;

    GtkWindow* Window() const { return GTK_WINDOW(m_window); }
    // The container of native children (web views) over the picture, made at first use.
    GtkFixed* Layer();

    void Show(SurfaceShow show, bool activate);
    void Move(POINT topLeft);
    void Resize(SIZE size);
    void SetTitle(const std::wstring& title);
    void SetOwner(GtkWindow* owner);
    void Present(const RECT& area, const PixelBuffer& pixels, BYTE constantAlpha);
    // Takes over the reference to `cursor`.
    void SetCursor(GdkCursor* cursor);
    void SetInputMethodPosition(POINT point) { m_input->SetInputMethodPosition(point); }
    // Runs `action` when the window draws its first picture, or at once when it has drawn one.
    // An action its owner has let go by then is skipped.
    void AfterFirstPicture(std::weak_ptr<std::function<void()>> action);
    void EnableInputMethod(bool enabled) { m_input->EnableInputMethod(enabled); }

private:
    static gboolean OnDraw(GtkWidget*, cairo_t* context, gpointer self);
    static void OnRealize(GtkWidget* window, gpointer self);
    static gboolean OnFocus(GtkWidget*, GdkEventFocus* event, gpointer self);
    static gboolean OnConfigure(GtkWidget*, GdkEventConfigure* event, gpointer self);
    static gboolean OnWindowState(GtkWidget*, GdkEventWindowState* event, gpointer self);
    static gboolean OnDelete(GtkWidget*, GdkEvent*, gpointer self);
    static void OnLayerAllocated(GtkWidget*, GdkRectangle*, gpointer self);
    void Configured(const GdkEventConfigure& event);
    bool IsIconified() const;
    void AskToBePlaced(const RECT& bounds);
    void ApplyStyle(const SurfaceDescription& description);
    void ApplyCursor();
    bool Listed() const;
    void ApplyIcon();
    void TrackShownArea(const RECT& area);
    void ApplyInputShape();
    void FirstPictureDrawn();

    HWND m_handle;
    GtkWidget* m_window;
    GtkWidget* m_layer = nullptr;
    RECT m_bounds;                 // where the window system has the window
    bool m_toolWindow;             // no task-bar entry, owned or not
    std::deque<RECT> m_requested;  // places asked of the window manager, not yet reported
    cairo_surface_t* m_picture;
    cairo_region_t* m_shownArea;  // the pixels of the picture whose alpha is not 0
    BYTE m_constantAlpha = 255;
    GdkCursor* m_cursor = nullptr;
    std::unique_ptr<SurfaceInput> m_input;
    bool m_hasPicture = false;  // the window system has presented a picture
    bool m_drawn = false;       // one has been drawn on the screen
    std::vector<std::weak_ptr<std::function<void()>>> m_afterFirstPicture;
    std::unique_ptr<SurfaceDrops> m_drops;
};

}  // namespace plat::gtk
