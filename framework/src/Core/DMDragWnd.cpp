#include "DMDragWnd.h"

#include <utility>

#include "DMApp.h"
#include "IDMRender.h"
#include "plat/layered.h"
#include "plat/window_styles.h"

namespace DM {
namespace {

constexpr DWORD kDragImageExStyle =
    plat::WS_EX_TOOLWINDOW | plat::WS_EX_TOPMOST | plat::WS_EX_TRANSPARENT;

DMDragWnd* g_pDragWnd = nullptr;

}  // namespace

// The colour key matters only to a colour-keyed layered window; a per-pixel-alpha picture
// shows through its own alpha, so the key goes no further.
bool DMDragWnd::DragBegin(IDMBitmap* bitmap, int hotX, int hotY, [[maybe_unused]] COLORREF colorKey,
                          BYTE alpha) {
    if (!bitmap || bitmap->GetWidth() == 0 || bitmap->GetHeight() == 0 || g_pDragWnd) {
        return false;
    }
    auto* dragWnd = new DMDragWnd(hotX, hotY);
    if (!dragWnd->Create(bitmap, alpha)) {
        delete dragWnd;
        return false;
    }
    g_pDragWnd = dragWnd;
    return true;
}

bool DMDragWnd::Create(IDMBitmap* bitmap, BYTE alpha) {
    SIZE size{bitmap->GetWidth(), bitmap->GetHeight()};
    HWND window =
        CreateWindowEx(plat::MAKEINTATOM(DMApp::GetObjPtr()->GetClassAtom()), L"", plat::WS_POPUP,
                       kDragImageExStyle, 0, 0, size.cx, size.cy, nullptr, nullptr);
    if (!window) {
        return false;
    }
    ModifyStyleEx(0, plat::WS_EX_LAYERED);
    plat::PixelBuffer picture{reinterpret_cast<const BYTE*>(bitmap->GetPixelBits()), size.cx,
                              size.cy, bitmap->GetRowBytes()};
    POINT origin{0, 0};
    plat::BLENDFUNCTION blend{plat::AC_SRC_OVER, 0, alpha, plat::AC_SRC_ALPHA};
    plat::UpdateLayeredWindow(window, nullptr, &size, picture, &origin, &blend, plat::ULW_ALPHA,
                              nullptr);
    return true;
}

void DMDragWnd::DragMove(int screenX, int screenY) {
    if (!g_pDragWnd) {
        return;
    }
    g_pDragWnd->SetWindowPos(plat::HWND_TOPMOST, screenX - g_pDragWnd->m_ptHot.x,
                             screenY - g_pDragWnd->m_ptHot.y, 0, 0,
                             plat::SWP_NOSIZE | plat::SWP_SHOWWINDOW | plat::SWP_NOACTIVATE);
}

void DMDragWnd::DragEnd() {
    if (!g_pDragWnd) {
        return;
    }
    g_pDragWnd->DestroyWindow();
    delete std::exchange(g_pDragWnd, nullptr);
}

HWND DMDragWnd::DragWindow() {
    return g_pDragWnd ? g_pDragWnd->m_hWnd : nullptr;
}

}  // namespace DM
