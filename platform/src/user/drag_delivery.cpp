// Drags from other programs, handed to the drop targets the windows registered the way
// Windows' drag loop does it.
#include "plat/drag_drop.h"
#include "plat/driver.h"
#include "plat/message_queue.h"
#include "plat/messages.h"
#include "user/input_delivery.h"
#include "user/text_data_object.h"
#include "user/window_records.h"

namespace plat::user {
namespace {

using Kind = DragEvent::Kind;

// The drag going on: the window whose target it is over, that target (not referenced: the
// window's registration keeps it, and it is called only while registered), the data (with a
// reference), and the effect the target chose last.
struct DragState {
    HWND window = nullptr;
    IDropTarget* target = nullptr;
    IDataObject* data = nullptr;
    DWORD effect = DROPEFFECT_NONE;
};

DragState& CurrentDrag() {
    static DragState drag;
    return drag;
}

// The window under the point, or its nearest ancestor, that registered a drop target and
// belongs to this thread; null for none.
HWND RegisteredWindowAt(POINT point) {
    Guard lock(WindowSystemLock());
    for (HWND window = WindowAtPoint(point); window;) {
        WindowRecord* record = FindWindowRecord(window);
        if (!record || record->threadId != GetCurrentThreadId()) {
            return nullptr;
        }
        if (RegisteredDropTarget(window)) {
            return window;
        }
        window = record->parent;
    }
    return nullptr;
}

bool IsWithin(HWND window, HWND surface) {
    Guard lock(WindowSystemLock());
    return window && TopLevelOf(window) == surface;
}

DWORD KeysDuringDrag(const DragEvent& event) {
    Guard lock(WindowSystemLock());
    DWORD keys = static_cast<DWORD>(CurrentKeyFlags());
    return event.kind == Kind::Drop ? keys & ~(MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)
                                    : keys | MK_LBUTTON;
}

void Forget(DragState& drag) {
    if (drag.data) {
        drag.data->Release();
    }
    drag = {};
}

// A target whose window revoked it (or went) meanwhile is not called again: it may be gone
// with its window.
bool StillRegistered(const DragState& drag) {
    return drag.target && RegisteredDropTarget(drag.window) == drag.target;
}

void Leave(DragState& drag) {
    if (StillRegistered(drag)) {
        drag.target->DragLeave();
    }
    Forget(drag);
}

void Enter(DragState& drag, HWND window, const DragEvent& event, POINTL point, DWORD keys) {
    drag.window = window;
    drag.target = RegisteredDropTarget(window);
    drag.data = NewTextDataObject(event.text);
    DWORD effect = event.allowedEffects;
    drag.target->DragEnter(drag.data, keys, point, &effect);
    drag.effect = effect & event.allowedEffects;
}

void Over(DragState& drag, const DragEvent& event, POINTL point, DWORD keys) {
    DWORD effect = event.allowedEffects;
    drag.target->DragOver(keys, point, &effect);
    drag.effect = effect & event.allowedEffects;
}

DWORD Drop(DragState& drag, const DragEvent& event, POINTL point, DWORD keys) {
    if (drag.effect == DROPEFFECT_NONE) {
        Leave(drag);
        return DROPEFFECT_NONE;
    }
    DWORD effect = event.allowedEffects;
    HRESULT result = drag.target->Drop(drag.data, keys, point, &effect);
    Forget(drag);
    return SUCCEEDED(result) ? effect & event.allowedEffects : DROPEFFECT_NONE;
}

}  // namespace
}  // namespace plat::user

namespace plat {

DWORD DeliverDrag(const DragEvent& event) {
    user::DragState& drag = user::CurrentDrag();
    if (event.kind == DragEvent::Kind::Leave) {
        if (!event.surface || user::IsWithin(drag.window, event.surface)) {
            user::Leave(drag);
        }
        return DROPEFFECT_NONE;
    }
    HWND window = user::RegisteredWindowAt(event.point);
    DWORD keys = user::KeysDuringDrag(event);
    POINTL point{event.point.x, event.point.y};
    if (window != drag.window || !user::StillRegistered(drag)) {
        user::Leave(drag);
        if (window) {
            user::Enter(drag, window, event, point, keys);
        }
    } else if (window && event.kind == DragEvent::Kind::Move) {
        user::Over(drag, event, point, keys);
    }
    if (!window) {
        return DROPEFFECT_NONE;
    }
    return event.kind == DragEvent::Kind::Drop ? user::Drop(drag, event, point, keys) : drag.effect;
}

}  // namespace plat
