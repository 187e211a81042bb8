// A window's input method context is the window itself; the driver places the composition.
#include "plat/input_method.h"

#include "plat/driver.h"
#include "plat/window.h"
#include "user/window_records.h"

namespace plat {

HIMC ImmGetContext(HWND window) {
    return IsWindow(window) ? reinterpret_cast<HIMC>(window) : nullptr;
}

BOOL ImmReleaseContext(HWND window, HIMC context) {
    return context == reinterpret_cast<HIMC>(window) ? TRUE : FALSE;
}

BOOL ImmSetCompositionWindow(HIMC context, const COMPOSITIONFORM* form) {
    auto window = reinterpret_cast<HWND>(context);
    if (!form || !(form->dwStyle & (CFS_POINT | CFS_FORCE_POSITION))) {
        return FALSE;
    }
    user::Guard lock(user::WindowSystemLock());
    user::WindowRecord* record = user::FindWindowRecord(window);
    if (!record) {
        return FALSE;
    }
    HWND surface = user::TopLevelOf(window);
    POINT origin = user::ScreenOrigin(*record);
    POINT surfaceOrigin = user::ScreenOrigin(*user::FindWindowRecord(surface));
    lock.unlock();
    POINT point{form->ptCurrentPos.x + origin.x - surfaceOrigin.x,
                form->ptCurrentPos.y + origin.y - surfaceOrigin.y};
    CurrentDriver().SetInputMethodPosition(surface, point);
    return TRUE;
}

}  // namespace plat
