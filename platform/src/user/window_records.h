// The window system's record of every window and class. One lock guards all window-system
// state (windows, classes, queues, timers, input state); window procedures and the driver are
// always called with it released, since they call back into the window system.
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "plat/driver.h"
#include "plat/window.h"

namespace plat::user {

using Guard = std::unique_lock<std::mutex>;
std::mutex& WindowSystemLock();

struct WindowClass {
    std::wstring name;
    ATOM atom;
    UINT style;
    WNDPROC procedure;
    HINSTANCE instance;
    HCURSOR cursor;
    HBRUSH background;
    int windowCount = 0;
};

// The alpha of each pixel of a layered window's per-pixel picture, at the window's size.
struct AlphaMask {
    LONG width = 0;
    LONG height = 0;
    std::vector<BYTE> alpha;  // row by row

    // A point outside the mask counts as opaque.
    BYTE At(LONG x, LONG y) const {
        bool inside = x >= 0 && y >= 0 && x < width && y < height;
        return inside ? alpha[static_cast<std::size_t>(y) * width + x] : 255;
    }
};

struct WindowRecord {
    HWND handle;
    std::shared_ptr<WindowClass> windowClass;
    WNDPROC procedure;
    DWORD style;
    DWORD exStyle;
    LONG_PTR userData = 0;
    LONG_PTR id = 0;
    HINSTANCE instance = nullptr;
    HWND parent = nullptr;  // child windows only
    HWND owner = nullptr;   // top-level windows only
    bool messageOnly = false;
    RECT rect;            // in the parent's client coordinates; screen coordinates at top level
    RECT restoredRect{};  // where a maximised window goes back to
    std::wstring text;
    DWORD threadId;
    std::vector<HWND> children;  // front first

    bool invalid = false;
    RECT updateRect{};  // client coordinates, meaningful while invalid
    bool eraseRequested = false;

    bool hiddenWithOwner = false;
    bool perPixelPicture = false;  // showing a picture given by UpdateLayeredWindow
    BYTE constantAlpha = 255;
    AlphaMask pictureAlpha;  // while perPixelPicture: where the pointer passes through
    bool hasSurface = false;
    bool destroying = false;

    bool IsChild() const { return (style & WS_CHILD) != 0 && parent != nullptr; }
    LONG Width() const { return rect.right - rect.left; }
    LONG Height() const { return rect.bottom - rect.top; }
};

// All of these need the window-system lock.
WindowRecord* FindWindowRecord(HWND window);
WindowRecord& AddWindowRecord(std::unique_ptr<WindowRecord> record);
void RemoveWindowRecord(HWND window);
HWND NewWindowHandle();
// Top-level windows (not message-only) from front to back.
std::vector<HWND>& TopLevelOrder();
// Every window, oldest first.
std::vector<WindowRecord*> AllWindows();
HWND TopLevelOf(HWND window);
// The window and all its ancestors have WS_VISIBLE.
bool IsShowing(const WindowRecord& record);
// The screen position of the window's client origin.
POINT ScreenOrigin(const WindowRecord& record);
// How the window's surface shows, by its state bits.
SurfaceShow SurfaceShowOf(const WindowRecord& record);
// Moves a window to the front of its siblings, topmost windows staying above the others.
void BringToFront(WindowRecord& record);
void PlaceInZOrder(WindowRecord& record, HWND insertAfter);

}  // namespace plat::user
