// The base of widgets that keep a native window of their own over their rectangle: the
// application makes the window; the base shows, hides and places it with the widget and
// follows moves of the host window.
#pragma once

#include "DUIWindow.h"

namespace DM {

class IDUIRealWnd : public DUIWindow {
    DMDECLARE_CLASS_NAME(IDUIRealWnd, DUIWindow, L"window", nullptr, DMREG_Window)
public:
    // The native window made for the host window; null fails the widget's creation.
    virtual HWND OnCreateRealWnd(const wchar_t* hostClassName, HWND host) = 0;
    // Non-zero asks the base to destroy the native window.
    virtual int OnDestroyRealWnd() = 0;
    // Non-zero lets the base show and hide the native window with the widget.
    virtual int OnShowRealWnd(bool show, LPARAM status) = 0;
    // Zero asks the base to place the native window again when the host window moves.
    virtual int OnHostMove() = 0;
    // Zero: placed by the application; non-zero: the base places the window at `rect` (host
    // client coordinates).
    virtual int OnMoveRealWnd(const RECT& rect) = 0;

    bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    // The host window moved.
    void OnHostMoved();
    // The host window is about to be hidden by an animation: the native window goes first, as
    // a window of its own it would otherwise stay on the screen.
    void HideRealWnd();
    // The host window was shown by an animation: the native window shows again where the
    // widget is visible.
    void FollowVisibility();
    HWND GetRealHWnd() const { return m_hRealWnd; }

private:
    LRESULT OnRealCreate();
    LRESULT OnRealDestroy();
    LRESULT OnRealShowWindow(WPARAM show, LPARAM status);
    LRESULT OnRealSize();
    void Reposition();

    HWND m_hRealWnd = nullptr;
};

}  // namespace DM
