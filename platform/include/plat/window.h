// Window classes and windows: creation and destruction, attributes, owner and parent,
// show state, position and size, coordinates, enabling and window text.
#pragma once

#include "plat/cursor.h"
#include "plat/messages.h"
#include "plat/show_commands.h"
#include "plat/types.h"
#include "plat/window_styles.h"

namespace plat {

using ATOM = WORD;
using HBRUSH = struct HBRUSH__*;
using HMENU = struct HMENU__*;

using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);

// System colour index; a class brush may be given as (HBRUSH)(COLOR_WINDOW + 1).
constexpr int COLOR_WINDOW = 5;

struct WNDCLASSEXW {
    UINT cbSize;
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;
    const wchar_t* lpszMenuName;
    const wchar_t* lpszClassName;
    HICON hIconSm;
};

// The second parameter of WM_NCCREATE and WM_CREATE.
struct CREATESTRUCTW {
    void* lpCreateParams;
    HINSTANCE hInstance;
    HMENU hMenu;
    HWND hwndParent;
    int cy;
    int cx;
    int y;
    int x;
    LONG style;
    const wchar_t* lpszName;
    const wchar_t* lpszClass;
    DWORD dwExStyle;
};

// The second parameter of WM_WINDOWPOSCHANGING and WM_WINDOWPOSCHANGED.
struct WINDOWPOS {
    HWND hwnd;
    HWND hwndInsertAfter;
    int x;
    int y;
    int cx;
    int cy;
    UINT flags;
};

// The second parameter of WM_GETMINMAXINFO.
struct MINMAXINFO {
    POINT ptReserved;
    POINT ptMaxSize;
    POINT ptMaxPosition;
    POINT ptMinTrackSize;
    POINT ptMaxTrackSize;
};

constexpr int CW_USEDEFAULT = static_cast<int>(0x80000000);

// Parent of a message-only window: it is never shown and has no surface.
inline const HWND HWND_MESSAGE = reinterpret_cast<HWND>(static_cast<std::intptr_t>(-3));

// Z-order positions for SetWindowPos.
inline const HWND HWND_TOP = nullptr;
inline const HWND HWND_BOTTOM = reinterpret_cast<HWND>(static_cast<std::intptr_t>(1));
inline const HWND HWND_TOPMOST = reinterpret_cast<HWND>(static_cast<std::intptr_t>(-1));
inline const HWND HWND_NOTOPMOST = reinterpret_cast<HWND>(static_cast<std::intptr_t>(-2));

constexpr UINT SWP_NOSIZE = 0x0001;
constexpr UINT SWP_NOMOVE = 0x0002;
constexpr UINT SWP_NOZORDER = 0x0004;
constexpr UINT SWP_NOREDRAW = 0x0008;
constexpr UINT SWP_NOACTIVATE = 0x0010;
constexpr UINT SWP_FRAMECHANGED = 0x0020;
constexpr UINT SWP_SHOWWINDOW = 0x0040;
constexpr UINT SWP_HIDEWINDOW = 0x0080;
constexpr UINT SWP_NOOWNERZORDER = 0x0200;
constexpr UINT SWP_NOSENDCHANGING = 0x0400;

constexpr int GWL_STYLE = -16;
constexpr int GWL_EXSTYLE = -20;
constexpr int GWLP_WNDPROC = -4;
constexpr int GWLP_HINSTANCE = -6;
constexpr int GWLP_HWNDPARENT = -8;
constexpr int GWLP_ID = -12;
constexpr int GWLP_USERDATA = -21;

constexpr UINT GW_OWNER = 4;

// The class name argument for a class given by its atom.
inline const wchar_t* MAKEINTATOM(ATOM atom) {
    return reinterpret_cast<const wchar_t*>(static_cast<std::uintptr_t>(atom));
}

// Classes. Names are compared without regard to case; a name already registered is refused.
ATOM RegisterClassExW(const WNDCLASSEXW* windowClass);
// Refused while a window of the class exists.
BOOL UnregisterClassW(const wchar_t* className, HINSTANCE instance);
// Copies the name of the window's class, cut to `size` - 1 characters; its length, 0 when the
// window does not exist.
int GetClassNameW(HWND window, wchar_t* buffer, int size);

// Creates a window of the class (name or MAKEINTATOM) on the calling thread. Sends
// WM_NCCREATE (FALSE ends the creation), WM_NCCALCSIZE and WM_CREATE (-1 ends it), then shows
// the window when WS_VISIBLE is set. A child's position is relative to its parent's client
// area; CW_USEDEFAULT places a window at 0, 0 with the size 0 × 0.
HWND CreateWindowExW(DWORD exStyle, const wchar_t* className, const wchar_t* windowName,
                     DWORD style, int x, int y, int width, int height, HWND parent, HMENU menu,
                     HINSTANCE instance, void* parameter);
// Destroys the window's owned windows first, then hides it and sends WM_DESTROY to it and its
// children (parents first) and WM_NCDESTROY to them (children first). Only the thread that
// created a window may destroy it.
BOOL DestroyWindow(HWND window);
BOOL IsWindow(HWND window);

LRESULT DefWindowProcW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CallWindowProcW(WNDPROC procedure, HWND window, UINT message, WPARAM wParam, LPARAM lParam);

LONG_PTR GetWindowLongPtrW(HWND window, int index);
// Answers the previous value. Setting GWL_STYLE changes the visible, minimised, maximised and
// disabled state bits with it; clearing WS_EX_LAYERED forgets the window's layered picture.
LONG_PTR SetWindowLongPtrW(HWND window, int index, LONG_PTR value);

// The parent of a child window, the owner of a top-level window.
HWND GetParent(HWND window);
HWND GetWindow(HWND window, UINT relation);
// The child window of `parent` whose id (GWLP_ID) is `id`, or null.
HWND GetDlgItem(HWND parent, int id);
DWORD GetWindowThreadProcessId(HWND window, DWORD* processId);

// Show state. Minimising hides the owned windows, restoring shows them again. Answers whether
// the window was visible before.
BOOL ShowWindow(HWND window, int command);
// Whether the window and all its ancestors have WS_VISIBLE.
BOOL IsWindowVisible(HWND window);
// The window animation flags.
constexpr DWORD AW_HOR_POSITIVE = 0x00000001;
constexpr DWORD AW_HOR_NEGATIVE = 0x00000002;
constexpr DWORD AW_VER_POSITIVE = 0x00000004;
constexpr DWORD AW_VER_NEGATIVE = 0x00000008;
constexpr DWORD AW_CENTER = 0x00000010;
constexpr DWORD AW_HIDE = 0x00010000;
constexpr DWORD AW_ACTIVATE = 0x00020000;
constexpr DWORD AW_SLIDE = 0x00040000;
constexpr DWORD AW_BLEND = 0x00080000;
// Shows the window (activated with AW_ACTIVATE) or hides it (AW_HIDE) once the animation's
// `time` milliseconds have passed, and returns then. The drivers draw no frames in between.
// FALSE for no window and for a window that is already shown or hidden as asked.
BOOL AnimateWindow(HWND window, DWORD time, DWORD flags);
BOOL IsIconic(HWND window);
BOOL IsZoomed(HWND window);

// Sends WM_WINDOWPOSCHANGING (which may change the new position) and WM_WINDOWPOSCHANGED,
// whose default handling sends WM_MOVE and WM_SIZE.
BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags);
BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint);
// The window in screen coordinates.
BOOL GetWindowRect(HWND window, RECT* rect);
// Windows have no non-client area: the client rectangle is 0, 0 and the window's size.
BOOL GetClientRect(HWND window, RECT* rect);
BOOL ClientToScreen(HWND window, POINT* point);
BOOL ScreenToClient(HWND window, POINT* point);

// Sends WM_ENABLE on a change; a disabled window loses the keyboard focus and gets no mouse
// input. Answers whether the window was disabled before.
BOOL EnableWindow(HWND window, BOOL enable);
BOOL IsWindowEnabled(HWND window);

// Through WM_SETTEXT and WM_GETTEXT; the default procedure keeps the text.
BOOL SetWindowTextW(HWND window, const wchar_t* text);
int GetWindowTextW(HWND window, wchar_t* buffer, int size);
int GetWindowTextLengthW(HWND window);

}  // namespace plat
