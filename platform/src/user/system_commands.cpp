#include "user/system_commands.h"

#include <algorithm>

#include "plat/input.h"
#include "plat/keyboard.h"
#include "plat/message_queue.h"
#include "plat/window.h"

namespace plat::user {
namespace {

// Which edges of the window follow the pointer.
struct Edges {
    bool left, top, right, bottom;
};

constexpr Edges kWholeWindow{true, true, true, true};

Edges EdgesOfSizing(WPARAM edge) {
    switch (edge) {
        case WMSZ_LEFT:
            return {true, false, false, false};
        case WMSZ_RIGHT:
            return {false, false, true, false};
        case WMSZ_TOP:
            return {false, true, false, false};
        case WMSZ_TOPLEFT:
            return {true, true, false, false};
        case WMSZ_TOPRIGHT:
            return {false, true, true, false};
        case WMSZ_BOTTOM:
            return {false, false, false, true};
        case WMSZ_BOTTOMLEFT:
            return {true, false, false, true};
        default:
            return {false, false, true, true};
    }
}

bool IsMouseMessage(UINT message) {
    return (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
           (message >= WM_NCMOUSEMOVE && message <= WM_NCMBUTTONDBLCLK);
}

// The window's rectangle in the coordinates SetWindowPos takes.
RECT PlacementRect(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    HWND parent = (GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD) ? GetParent(window) : nullptr;
    if (parent) {
        POINT origin{0, 0};
        ClientToScreen(parent, &origin);
        rect = {rect.left - origin.x, rect.top - origin.y, rect.right - origin.x,
                rect.bottom - origin.y};
    }
    return rect;
}

class PointerTracking {
public:
    PointerTracking(HWND window, Edges edges) : m_window(window), m_edges(edges) {
        DWORD position = GetMessagePos();
        m_start = {static_cast<SHORT>(LOWORD(position)), static_cast<SHORT>(HIWORD(position))};
        m_startRect = PlacementRect(window);
        MINMAXINFO limits{};
        limits.ptMaxTrackSize = {0x7FFF, 0x7FFF};
        SendMessageW(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
        m_minimum = limits.ptMinTrackSize;
        m_maximum = limits.ptMaxTrackSize;
    }

    // Follows the pointer until the left button is released, dispatching everything else.
    void Run() {
        SendMessageW(m_window, WM_ENTERSIZEMOVE, 0, 0);
        SetCapture(m_window);
        MSG message;
        while (GetCapture() == m_window && IsWindow(m_window)) {
            if (!GetMessageW(&message, nullptr, 0, 0)) {
                PostQuitMessage(static_cast<int>(message.wParam));
                break;
            }
            if (!Handle(message)) {
                break;
            }
        }
        if (GetCapture() == m_window) {
            ReleaseCapture();
        }
        SendMessageW(m_window, WM_EXITSIZEMOVE, 0, 0);
    }

private:
    // Answers whether the tracking goes on.
    bool Handle(const MSG& message) {
        if (message.message == WM_MOUSEMOVE) {
            Follow(message.pt);
            return true;
        }
        if (message.message == WM_LBUTTONUP) {
            return false;
        }
        if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE) {
            Place(m_startRect);
            return false;
        }
        if (!IsMouseMessage(message.message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        return true;
    }

    void Follow(POINT pointer) {
        LONG dx = pointer.x - m_start.x;
        LONG dy = pointer.y - m_start.y;
        RECT rect = m_startRect;
        if (m_edges.left && m_edges.right) {
            OffsetBy(rect, dx, dy);
        } else {
            MoveEdges(rect, dx, dy);
        }
        Place(rect);
    }

    static void OffsetBy(RECT& rect, LONG dx, LONG dy) {
        rect = {rect.left + dx, rect.top + dy, rect.right + dx, rect.bottom + dy};
    }

    void MoveEdges(RECT& rect, LONG dx, LONG dy) const {
        LONG widthChange = m_edges.right ? dx : (m_edges.left ? -dx : 0);
        LONG heightChange = m_edges.bottom ? dy : (m_edges.top ? -dy : 0);
        LONG width = ClampSize(rect.right - rect.left + widthChange, m_minimum.x, m_maximum.x);
        LONG height = ClampSize(rect.bottom - rect.top + heightChange, m_minimum.y, m_maximum.y);
        rect.left = m_edges.left ? rect.right - width : rect.left;
        rect.right = rect.left + width;
        rect.top = m_edges.top ? rect.bottom - height : rect.top;
        rect.bottom = rect.top + height;
    }

    static LONG ClampSize(LONG size, LONG minimum, LONG maximum) {
        return std::clamp(size, std::max<LONG>(minimum, 0), std::max(maximum, minimum));
    }

    void Place(const RECT& rect) {
        SetWindowPos(m_window, nullptr, rect.left, rect.top, rect.right - rect.left,
                     rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }

    HWND m_window;
    Edges m_edges;
    POINT m_start;
    RECT m_startRect;
    POINT m_minimum;
    POINT m_maximum;
};

// The tracking needs the button still down as the thread sees it; a release already taken
// means there is nothing to follow.
void TrackPointer(HWND window, Edges edges) {
    if (!(GetKeyState(VK_LBUTTON) & 0x8000)) {
        return;
    }
    PointerTracking(window, edges).Run();
}

}  // namespace

LRESULT HandleSystemCommand(HWND window, WPARAM command, LPARAM) {
    switch (command & 0xFFF0) {
        case SC_MINIMIZE:
            ShowWindow(window, SW_MINIMIZE);
            break;
        case SC_MAXIMIZE:
            ShowWindow(window, SW_MAXIMIZE);
            break;
        case SC_RESTORE:
            ShowWindow(window, SW_RESTORE);
            break;
        case SC_CLOSE:
            SendMessageW(window, WM_CLOSE, 0, 0);
            break;
        case SC_MOVE:
            TrackPointer(window, kWholeWindow);
            break;
        case SC_SIZE:
            TrackPointer(window, EdgesOfSizing(command & 0xF));
            break;
        default:
            break;
    }
    return 0;
}

}  // namespace plat::user
