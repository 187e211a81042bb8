// A native window whose messages go to this object's message map. A map from native window to
// object stands in for the executable thunk of the original design: the first message of a new
// window binds it to the object being created, nested messages are tracked, and after
// WM_NCDESTROY the final message is delivered once the outermost message returns.
#pragma once

#include "DMCWndBase.h"
#include "IDMMsgMap.h"
#include "plat/message_queue.h"

namespace DM {

class DMCWnd : public DMCWndBase, public IDMMsgMap {
public:
    struct CurrentMessage {
        HWND hWnd;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        LRESULT result;
    };

    DMCWnd() = default;
    DMCWnd(const DMCWnd&) = delete;
    DMCWnd& operator=(const DMCWnd&) = delete;
    ~DMCWnd() override;

    // Creates the window with the framework's instance; windows are created one at a time.
    HWND CreateWindowEx(const wchar_t* className, const wchar_t* windowName, DWORD style,
                        DWORD exStyle, int x, int y, int width, int height, HWND parent,
                        void* parameter);

    virtual void OnFinalMessage(HWND window);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    bool ProcessWindowMessage(HWND, UINT, WPARAM, LPARAM, LRESULT&, DWORD) override {
        return false;
    }

    void SetMsgHandled(bool handled) { m_bMsgHandled = handled; }
    bool IsMsgHandled() const { return m_bMsgHandled; }
    const CurrentMessage* GetCurrentMessage() const { return m_pCurrentMsg; }

    // The class window procedure of the framework's window classes.
    static LRESULT FirstWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

protected:
    // Sends notifications and owner-drawn messages to the child window they concern, with
    // 0x2000 added to the message number.
    LRESULT ReflectNotifications(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);

    bool m_bMsgHandled = false;

private:
    static LRESULT SharedWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

    const CurrentMessage* m_pCurrentMsg = nullptr;
    plat::WNDPROC m_pfnSuperWindowProc = plat::DefWindowProcW;
    DWORD m_dwState = 0;
};

}  // namespace DM
