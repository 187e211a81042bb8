#include "plat/drag_drop.h"

#include <map>
#include <mutex>

#include "plat/window.h"

namespace plat {
namespace {

struct Registrations {
    std::mutex lock;
    std::map<HWND, IDropTarget*> targets;
};

Registrations& DropTargets() {
    static Registrations registrations;
    return registrations;
}

}  // namespace

HRESULT RegisterDragDrop(HWND window, IDropTarget* target) {
    if (!target) {
        return E_INVALIDARG;
    }
    if (!IsWindow(window)) {
        return DRAGDROP_E_INVALIDHWND;
    }
    std::lock_guard<std::mutex> guard(DropTargets().lock);
    if (!DropTargets().targets.emplace(window, target).second) {
        return DRAGDROP_E_ALREADYREGISTERED;
    }
    target->AddRef();
    return S_OK;
}

HRESULT RevokeDragDrop(HWND window) {
    if (!IsWindow(window)) {
        return DRAGDROP_E_INVALIDHWND;
    }
    IDropTarget* target = nullptr;
    {
        std::lock_guard<std::mutex> guard(DropTargets().lock);
        auto found = DropTargets().targets.find(window);
        if (found == DropTargets().targets.end()) {
            return DRAGDROP_E_NOTREGISTERED;
        }
        target = found->second;
        DropTargets().targets.erase(found);
    }
    target->Release();
    return S_OK;
}

IDropTarget* RegisteredDropTarget(HWND window) {
    std::lock_guard<std::mutex> guard(DropTargets().lock);
    auto found = DropTargets().targets.find(window);
    return found == DropTargets().targets.end() ? nullptr : found->second;
}

void ReleaseStgMedium(STGMEDIUM* medium) {
    if (!medium) {
        return;
    }
    if (medium->pUnkForRelease) {
        medium->pUnkForRelease->Release();
    } else if (medium->tymed == TYMED_HGLOBAL) {
        GlobalFree(medium->hGlobal);
    }
    *medium = {TYMED_NULL, nullptr, nullptr};
}

}  // namespace plat
