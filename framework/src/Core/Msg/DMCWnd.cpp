#include "DMCWnd.h"

#include <mutex>
#include <unordered_map>

#include "IDMLog.h"
#include "plat/messages.h"
#include "plat/owner_draw.h"
#include "plat/window.h"

namespace DM {
namespace {

constexpr DWORD kWindowDestroyed = 0x00000001;
constexpr UINT kReflectionBase = 0x2000;

// Which object each framework window belongs to; read on every message.
struct WindowObjects {
    std::mutex lock;
    std::unordered_map<HWND, DMCWnd*> objects;
};

WindowObjects& Objects() {
    static WindowObjects objects;
    return objects;
}

DMCWnd* ObjectOf(HWND window) {
    std::lock_guard<std::mutex> guard(Objects().lock);
    auto found = Objects().objects.find(window);
    return found == Objects().objects.end() ? nullptr : found->second;
}

void Bind(HWND window, DMCWnd* object) {
    std::lock_guard<std::mutex> guard(Objects().lock);
    if (object) {
        Objects().objects[window] = object;
    } else {
        Objects().objects.erase(window);
    }
}

// The object whose window is being created; windows are created one at a time.
DMCWnd* g_pCreating = nullptr;

template <class Record>
const Record* RecordOf(LPARAM lParam) {
    return reinterpret_cast<const Record*>(lParam);
}

// The child window a reflected message concerns, or null. The owner-drawn messages concern a
// control only when the first parameter (the control's id) is not 0; a command concerns a
// child only when it comes from a window, not from a menu or an accelerator.
HWND ReflectionTarget(HWND parent, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case plat::WM_COMMAND:
            return lParam && plat::IsWindow(reinterpret_cast<HWND>(lParam))
                       ? reinterpret_cast<HWND>(lParam)
                       : nullptr;
        case plat::WM_DRAWITEM:
            return wParam && lParam ? RecordOf<plat::DRAWITEMSTRUCT>(lParam)->hwndItem : nullptr;
        case plat::WM_MEASUREITEM:
            return wParam && lParam
                       ? plat::GetDlgItem(
                             parent,
                             static_cast<int>(RecordOf<plat::MEASUREITEMSTRUCT>(lParam)->CtlID))
                       : nullptr;
        case plat::WM_DELETEITEM:
            return wParam && lParam ? RecordOf<plat::DELETEITEMSTRUCT>(lParam)->hwndItem : nullptr;
        case plat::WM_COMPAREITEM:
            return wParam && lParam ? RecordOf<plat::COMPAREITEMSTRUCT>(lParam)->hwndItem : nullptr;
        case plat::WM_HSCROLL:
        case plat::WM_VSCROLL:
        case plat::WM_VKEYTOITEM:
        case plat::WM_CHARTOITEM:
            return reinterpret_cast<HWND>(lParam);
        case plat::WM_NOTIFY:
            return lParam ? *reinterpret_cast<const HWND*>(lParam) : nullptr;
        case plat::WM_PARENTNOTIFY: {
            UINT event = static_cast<UINT>(wParam & 0xFFFF);
            return event == plat::WM_CREATE || event == plat::WM_DESTROY
                       ? reinterpret_cast<HWND>(lParam)
                       : nullptr;
        }
        default:
            if (message >= plat::WM_CTLCOLORMSGBOX && message <= plat::WM_CTLCOLORSTATIC) {
                return reinterpret_cast<HWND>(lParam);
            }
            return nullptr;
    }
}

}  // namespace

DMCWnd::~DMCWnd() {
    if (m_hWnd) {
        Bind(m_hWnd, nullptr);
    }
}

HWND DMCWnd::CreateWindowEx(const wchar_t* className, const wchar_t* windowName, DWORD style,
                            DWORD exStyle, int x, int y, int width, int height, HWND parent,
                            void* parameter) {
    g_pCreating = this;
    HWND window = plat::CreateWindowExW(exStyle, className, windowName, style, x, y, width, height,
                                        parent, nullptr, nullptr, parameter);
    g_pCreating = nullptr;
    return window;
}

void DMCWnd::OnFinalMessage(HWND) {}

LRESULT DMCWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return plat::CallWindowProcW(m_pfnSuperWindowProc, m_hWnd, message, wParam, lParam);
}

// The first message of a new window binds it to the object being created and from then on
// the window's messages go through the shared procedure.
LRESULT DMCWnd::FirstWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DMCWnd* object = g_pCreating;
    if (!object) {
        LOG_ERR(L"[mid]thunk fail\n");
        return plat::DefWindowProcW(window, message, wParam, lParam);
    }
    g_pCreating = nullptr;
    object->m_hWnd = window;
    Bind(window, object);
    plat::SetWindowLongPtrW(window, plat::GWLP_WNDPROC,
                            reinterpret_cast<plat::LONG_PTR>(&DMCWnd::SharedWindowProc));
    return SharedWindowProc(window, message, wParam, lParam);
}

LRESULT DMCWnd::SharedWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DMCWnd* object = ObjectOf(window);
    if (!object) {
        return plat::DefWindowProcW(window, message, wParam, lParam);
    }
    return object->Dispatch(message, wParam, lParam);
}

LRESULT DMCWnd::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    CurrentMessage current{m_hWnd, message, wParam, lParam, 0};
    const CurrentMessage* previous = m_pCurrentMsg;
    m_pCurrentMsg = &current;
    LRESULT result = 0;
    bool handled = ProcessWindowMessage(m_hWnd, message, wParam, lParam, result, 0);
    if (!handled) {
        result = DefWindowProc(message, wParam, lParam);
        if (message == plat::WM_NCDESTROY) {
            m_dwState |= kWindowDestroyed;
        }
    }
    m_pCurrentMsg = previous;
    // The final message waits until no message of this window is being processed any more.
    if ((m_dwState & kWindowDestroyed) && !m_pCurrentMsg) {
        HWND old = m_hWnd;
        m_dwState &= ~kWindowDestroyed;
        Bind(old, nullptr);
        m_hWnd = nullptr;
        OnFinalMessage(old);
    }
    return result;
}

LRESULT DMCWnd::ReflectNotifications(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
    HWND child = ReflectionTarget(m_hWnd, message, wParam, lParam);
    handled = child != nullptr;
    if (!child) {
        return 0;
    }
    return plat::SendMessageW(child, message + kReflectionBase, wParam, lParam);
}

}  // namespace DM
