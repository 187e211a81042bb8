// A native window by its handle, with thin wrappers of the platform's window calls (each
// answers what the platform answers) and centring on a reference window or the work area.
#pragma once

#include "DMDef.h"
#include "plat/window.h"

namespace DM {

class DMCWndBase {
public:
    HWND m_hWnd = nullptr;

    bool IsWindow() const { return plat::IsWindow(m_hWnd) != 0; }
    bool ShowWindow(int command) { return plat::ShowWindow(m_hWnd, command) != 0; }
    bool IsWindowVisible() const { return plat::IsWindowVisible(m_hWnd) != 0; }
    bool IsWindowEnabled() const { return plat::IsWindowEnabled(m_hWnd) != 0; }
    bool EnableWindow(bool enable) { return plat::EnableWindow(m_hWnd, enable) != 0; }
    bool DestroyWindow() { return plat::DestroyWindow(m_hWnd) != 0; }
    bool MoveWindow(int x, int y, int width, int height, bool repaint = true) {
        return plat::MoveWindow(m_hWnd, x, y, width, height, repaint) != 0;
    }
    bool SetWindowPos(HWND insertAfter, int x, int y, int width, int height, UINT flags) {
        return plat::SetWindowPos(m_hWnd, insertAfter, x, y, width, height, flags) != 0;
    }
    bool SetWindowText(const wchar_t* text) { return plat::SetWindowTextW(m_hWnd, text) != 0; }
    bool GetWindowRect(RECT* rect) const { return plat::GetWindowRect(m_hWnd, rect) != 0; }
    bool GetClientRect(RECT* rect) const { return plat::GetClientRect(m_hWnd, rect) != 0; }
    bool ClientToScreen(POINT* point) const { return plat::ClientToScreen(m_hWnd, point) != 0; }
    bool ScreenToClient(POINT* point) const { return plat::ScreenToClient(m_hWnd, point) != 0; }
    DWORD GetStyle() const;
    DWORD GetExStyle() const;
    // Removes the `remove` bits and adds the `add` bits; false when nothing changed.
    bool ModifyStyle(DWORD remove, DWORD add);
    bool ModifyStyleEx(DWORD remove, DWORD add);
    bool InvalidateRect(const RECT* rect, bool erase = false);
    plat::UINT_PTR SetTimer(plat::UINT_PTR id, UINT elapse);
    bool KillTimer(plat::UINT_PTR id);
    HWND SetCapture();
    // Centres the window on `reference` (its parent or owner when null), kept inside the
    // parent's client area or the work area of the nearest monitor.
    bool CenterWindow(HWND reference = nullptr);
};

}  // namespace DM
