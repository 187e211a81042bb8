// The headless driver's controls for tests: a virtual screen of 1920 × 1080 with a 40-pixel
// task bar at the bottom, input injected as the user would give it, a virtual clock, the last
// presented picture of every window and the message boxes shown.
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "plat/drag_drop.h"
#include "plat/driver.h"
#include "plat/types.h"
#include "plat/web_view.h"

namespace plat::headless {

constexpr LONG kScreenWidth = 1920;
constexpr LONG kScreenHeight = 1080;
constexpr LONG kTaskBarHeight = 40;

// Selects the headless driver (when no driver is in use yet); FALSE when another one is.
BOOL Use();

// Mouse input in screen coordinates. A press or release happens where the pointer is.
void MoveMouse(LONG x, LONG y);
void PressButton(MouseButton button = MouseButton::Left);
void ReleaseButton(MouseButton button = MouseButton::Left);
// Move, press and release.
void Click(LONG x, LONG y, MouseButton button = MouseButton::Left);
// Move, then press, release, the double-click press and release.
void DoubleClick(LONG x, LONG y, MouseButton button = MouseButton::Left);
// One notch is WHEEL_DELTA; positive turns away from the user.
void TurnWheel(int delta);

// Keyboard input by virtual key; TypeText delivers committed text as characters.
void PressKey(UINT virtualKey);
void ReleaseKey(UINT virtualKey);
void TapKey(UINT virtualKey);
void TypeText(const std::wstring& text);
// An input method's composition in the focus window: Compose starts it (when it is not going
// on) and shows `text` with the caret at `cursor`; CommitComposition commits `text` and ends
// it; CancelComposition gives it up.
void Compose(const std::wstring& text, LONG cursor);
void CommitComposition(const std::wstring& text);
void CancelComposition();

// A drag of text from another program whose source allows the effects `allowed`: DragTextTo
// brings it to a screen point (entering or moving over the window there), DropText drops it at
// a point, LeaveDrag takes it away (with a surface: away from that surface, which leaves the
// drag only while it is over that surface's windows). The windows' drop targets are called at
// once, on the calling thread, which must be the windows' thread; each answers the effect
// chosen.
DWORD DragTextTo(const std::wstring& text, LONG x, LONG y,
                 DWORD allowed = DROPEFFECT_COPY | DROPEFFECT_MOVE);
DWORD DropText(const std::wstring& text, LONG x, LONG y,
               DWORD allowed = DROPEFFECT_COPY | DROPEFFECT_MOVE);
void LeaveDrag(HWND surface = nullptr);

// The virtual clock: while it is on, GetTickCount shows its time and only AdvanceClock moves
// it, so timers fall due exactly when a test says so.
void StartVirtualClock(DWORD startTicks = 1000);
void AdvanceClock(DWORD milliseconds);
void StopVirtualClock();

// A window's surface as the screen shows it.
struct SurfaceState {
    RECT bounds;
    bool visible;
    std::wstring title;
    HWND owner;
    BYTE constantAlpha;
    std::uintptr_t cursorId;  // the system id of the cursor last set over it, 0 for a picture
    POINT inputMethodPosition;
    bool inputMethodEnabled;
};
std::optional<SurfaceState> Surface(HWND window);

// The last picture presented for a window, premultiplied BGRA, one 32-bit value per pixel
// (blue in the low byte), rows top to bottom; the size is the surface's.
struct Picture {
    LONG width = 0;
    LONG height = 0;
    std::vector<std::uint32_t> pixels;
    std::uint32_t At(LONG x, LONG y) const { return pixels[y * width + x]; }
};
std::optional<Picture> PresentedPicture(HWND window);
// Saves the presented picture as an RGBA PNG file, with the constant alpha applied, as it
// shows on screen; FALSE when the window has no surface or the file cannot be written.
BOOL SavePresentedPicture(HWND window, const std::filesystem::path& path);

// The window holding the pointer grab, null when none.
HWND PointerGrab();

// Every message box shown, oldest first; each is answered IDOK.
struct ShownMessageBox {
    HWND owner;
    std::wstring text;
    std::wstring caption;
    UINT type;
};
std::vector<ShownMessageBox> MessageBoxes();
void ClearMessageBoxes();

// What the folder picker answers from now on: the host folder, or nothing for a cancel.
void AnswerFolderPicker(std::optional<std::filesystem::path> folder);

// A web view of the headless driver: what was asked of it, and the client it reports to, through
// which a test raises any of the view's events. Valid while the view lives.
struct WebViewState {
    HWND host = nullptr;
    RECT rect{};
    bool visible = false;
    bool silent = false;
    bool scrollBars = true;
    bool focused = false;
    bool busy = false;
    std::wstring url;
    std::vector<WebRequest> navigations;
    std::vector<bool> reloads;  // each reload's bypass-cache flag
    int stops = 0;
    int backs = 0;
    int forwards = 0;
    std::vector<std::wstring> scripts;
    // The page's functions by name, with the text each answers; calls made, as
    // "name(first,second)".
    std::map<std::wstring, std::wstring> functions;
    std::vector<std::wstring> calls;
    WebViewClient* client = nullptr;
};
// The web views alive now, oldest first.
std::vector<WebViewState*> WebViews();

}  // namespace plat::headless
