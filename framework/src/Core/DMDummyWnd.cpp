#include "DMDummyWnd.h"

#include "DMApp.h"
#include "DMHWnd.h"
#include "plat/layered.h"
#include "plat/messages.h"
#include "plat/paint.h"
#include "plat/window_styles.h"

namespace DM {

bool DMDummyWnd::Create(HWND owner) {
    if (!CreateWindowEx(plat::MAKEINTATOM(DMApp::GetObjPtr()->GetClassAtom()), L"DM_DUMMY_WND",
                        plat::WS_POPUP, plat::WS_EX_NOACTIVATE | plat::WS_EX_TOOLWINDOW, 0, 0, 10,
                        10, owner, nullptr)) {
        return false;
    }
    ModifyStyleEx(0, plat::WS_EX_LAYERED);
    plat::SetLayeredWindowAttributes(m_hWnd, 0, 0, plat::LWA_ALPHA);
    ShowWindow(plat::SW_SHOWNOACTIVATE);
    return true;
}

bool DMDummyWnd::ProcessWindowMessage(HWND window, UINT message, WPARAM, LPARAM, LRESULT& result,
                                      DWORD) {
    if (message != plat::WM_PAINT) {
        return false;
    }
    plat::PAINTSTRUCT paint{};
    plat::BeginPaint(window, &paint);
    m_pHost->PaintTranslucent();
    plat::EndPaint(window, &paint);
    result = 0;
    return true;
}

}  // namespace DM
