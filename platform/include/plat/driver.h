// The user-interface driver: what the window system needs from the machine's display. Every
// top-level window that is not message-only has a native surface, named by its window handle.
// The window system keeps Windows' rules itself and tells the driver only what shows; the
// driver gives it input through DeliverInput, and what the desktop's window manager did to a
// surface through DeliverSurfaceEvent.
//
// The driver is chosen once, at its first use: DM_DRIVER names it ("headless" or "gtk"),
// otherwise gtk is used when it is built in and a display can be opened, else headless. A name
// that is not built in or cannot run here falls back to headless with a line on standard error.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "plat/cursor.h"
#include "plat/pixels.h"
#include "plat/types.h"
#include "plat/web_view.h"

namespace plat {

struct SurfaceDescription {
    RECT bounds;  // screen coordinates
    DWORD style;
    DWORD exStyle;
    HWND owner;
    std::wstring title;
};

struct MonitorDescription {
    RECT monitor;
    RECT work;
};

// How a surface shows on screen.
enum class SurfaceShow { Hidden, Normal, Minimized, Maximized };

// What a cursor looks like: a system id, or a picture with its hot spot.
struct CursorShape {
    std::uintptr_t systemId;  // 0 for a picture
    PixelBuffer picture;
    POINT hotSpot;
};

class Driver {
public:
    virtual ~Driver() = default;
    virtual const char* Name() const = 0;

    virtual void CreateSurface(HWND window, const SurfaceDescription& description) = 0;
    virtual void DestroySurface(HWND window) = 0;
    virtual void ShowSurface(HWND window, SurfaceShow show, bool activate) = 0;
    virtual void MoveSurface(HWND window, POINT topLeft) = 0;
    virtual void ResizeSurface(HWND window, SIZE size) = 0;
    virtual void SetSurfaceTitle(HWND window, const std::wstring& title) = 0;
    virtual void SetSurfaceOwner(HWND window, HWND owner) = 0;
    // `pixels` is the new picture of `area` (window coordinates, the size of `pixels`); the
    // rest of the surface keeps its picture. The whole surface is shown with `constantAlpha`;
    // an empty area changes only that.
    virtual void PresentSurface(HWND window, const RECT& area, const PixelBuffer& pixels,
                                BYTE constantAlpha) = 0;

    // The pointer's shape over `window`; null shape: hidden.
    virtual void SetCursorShape(HWND window, const CursorShape* shape) = 0;
    // All pointer events go to `window` until it is called with null.
    virtual void SetPointerGrab(HWND window) = 0;
    // Where an input method shows its composition, in the window's client coordinates.
    virtual void SetInputMethodPosition(HWND window, POINT point) = 0;
    // Whether the input method serves `window`'s keys; turned off, a composition going on is
    // given up and keys go on as plain keys.
    virtual void EnableInputMethod(HWND window, bool enabled) = 0;

    // The primary monitor first.
    virtual std::vector<MonitorDescription> Monitors() = 0;

    // A web view inside `host`'s surface, hidden until shown; it reports to `client`, which
    // outlives it. Null when the driver cannot show web pages or `host` has no surface.
    virtual std::unique_ptr<WebView> CreateWebView(HWND host, WebViewClient& client) = 0;

    virtual void SetClipboardText(const std::wstring& text) = 0;
    virtual std::wstring ClipboardText() = 0;

    // The thread whose waits must run the driver's native events; 0 when the driver has none.
    virtual DWORD NativeEventThread() const = 0;
    // On that thread: handles pending native events, waiting up to `timeoutMs` (negative: no
    // limit) for one or for Wake.
    virtual void RunNativeEvents(int timeoutMs) = 0;
    // From any thread: ends the current or next wait of RunNativeEvents.
    virtual void Wake() = 0;
};

// Chooses the driver before its first use; FALSE when another one is in use already or the
// named one is not built in or cannot run here.
BOOL SelectDriver(const std::string& name);
Driver& CurrentDriver();

enum class MouseButton { Left, Right, Middle };

// Input as a driver receives it, in screen coordinates.
struct InputEvent {
    enum class Kind {
        MouseMove,
        ButtonDown,
        ButtonUp,
        ButtonDoubleClick,  // the second press of a double click
        Wheel,
        KeyDown,
        KeyUp,
        Character,  // committed text, one character at a time
        // An input method's composition: it starts, its text changes (`text`, with the caret
        // at `cursor`; empty: given up), its result is committed (`text`), it ends.
        CompositionStart,
        Composition,
        CompositionCommit,
        CompositionEnd,
    };
    Kind kind;
    POINT point;
    MouseButton button;
    int wheelDelta;
    UINT virtualKey;
    // Character: the text. KeyDown: the character the keyboard layout gives the key as it is
    // pressed, for TranslateMessage; 0 leaves it to the window system's own table.
    wchar_t character;
    std::wstring text{};
    LONG cursor = 0;
};

// From any thread: turns the input into the messages Windows would deliver and queues them
// for the thread of the window they go to (mouse: the capture window, else the window under
// the point; keys and characters: the focus window, else the active window).
void DeliverInput(const InputEvent& event);

// A drag of text from another program, as the driver learns it.
struct DragEvent {
    enum class Kind {
        Move,   // the drag is at `point`: it came in, or moved on
        Leave,  // it left a surface or the program's windows, or was given up
        Drop,   // it was dropped at `point`
    };
    Kind kind;
    POINT point;           // screen coordinates
    std::wstring text;     // Move, Drop: the text dragged
    DWORD allowedEffects;  // the DROPEFFECT_* bits the source allows
    // Leave: the surface the drag left; the drag is left only while it is over that surface's
    // windows (it may have reached another surface first). Null: wherever it is.
    HWND surface = nullptr;
};

// On the thread of the windows (the driver's native event thread, or a test's thread with the
// headless driver), as Windows' drag loop does: the drop target registered for the window
// under the point, or for its nearest ancestor with one, gets DragEnter when the drag reaches
// it, DragOver as it moves over it, DragLeave when the drag moves away or leaves, and Drop,
// with a data object of the text. Answers the effect the target chose, within the allowed
// ones; DROPEFFECT_NONE where no target takes the drag. A drop on a target that refused the
// drag is a leave.
DWORD DeliverDrag(const DragEvent& event);

// What the window manager did to a surface, as the driver learns it.
struct SurfaceEvent {
    enum class Kind {
        Activated,    // the surface took the desktop's keyboard focus
        Deactivated,  // the focus went to another program; `window` is null
        Placed,       // moved or sized to `bounds`, screen coordinates
        Minimized,
        Restored,
        CloseRequested,  // the user asked to close it (a close button, Alt+F4)
    };
    Kind kind;
    HWND window;
    RECT bounds;
};

// From any thread: the window system follows the change with the state and the messages
// Windows would send; the thread of the window handles it when it next looks at its queue.
void DeliverSurfaceEvent(const SurfaceEvent& event);

}  // namespace plat
