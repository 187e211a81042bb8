#include "DUIDropTargetDispatch.h"

#include "DUIWindow.h"
#include "plat/window.h"

namespace DM {

bool DUIDropTargetDispatch::RegisterDragDrop(DUIWND widget, plat::IDropTarget* target) {
    if (m_targets.Find(widget)) {
        return false;
    }
    m_targets.SetAt(widget, DMSmartPtrT<plat::IDropTarget>(target));
    return true;
}

bool DUIDropTargetDispatch::UnRegisterDragDrop(DUIWND widget) {
    return m_targets.RemoveKey(widget);
}

plat::HRESULT DUIDropTargetDispatch::QueryInterface(plat::REFIID iid, void** object) {
    if (!object) {
        return plat::E_POINTER;
    }
    bool known = iid == plat::IID_IUnknown || iid == plat::IID_IDropTarget;
    *object = known ? static_cast<plat::IDropTarget*>(this) : nullptr;
    return known ? plat::S_OK : plat::E_NOINTERFACE;
}

plat::HRESULT DUIDropTargetDispatch::DragEnter(plat::IDataObject* data, DWORD keys,
                                               plat::POINTL point, DWORD* effect) {
    m_pDataObject = DMSmartPtrT<plat::IDataObject>(data);
    return DragOver(keys, point, effect);
}

plat::HRESULT DUIDropTargetDispatch::DragOver(DWORD keys, plat::POINTL point, DWORD* effect) {
    DUIWND widget = WidgetAt(point);
    if (!widget) {
        return plat::S_OK;
    }
    if (widget == m_hCurrent) {
        if (plat::IDropTarget* target = TargetOf(widget)) {
            return target->DragOver(keys, point, effect);
        }
        *effect = plat::DROPEFFECT_NONE;
        return plat::S_OK;
    }
    if (plat::IDropTarget* previous = TargetOf(m_hCurrent)) {
        previous->DragLeave();
    }
    m_hCurrent = widget;
    if (plat::IDropTarget* target = TargetOf(widget)) {
        return target->DragEnter(m_pDataObject.get(), keys, point, effect);
    }
    *effect = plat::DROPEFFECT_NONE;
    return plat::S_OK;
}

// Only the data object goes: the widget under the drag keeps being the current target and is
// not told, so a drag that comes back over it goes on with drag over for it.
plat::HRESULT DUIDropTargetDispatch::DragLeave() {
    m_pDataObject.Release();
    return plat::S_OK;
}

plat::HRESULT DUIDropTargetDispatch::Drop(plat::IDataObject* data, DWORD keys, plat::POINTL point,
                                          DWORD* effect) {
    if (plat::IDropTarget* target = TargetOf(m_hCurrent)) {
        target->Drop(data, keys, point, effect);
    }
    m_hCurrent = 0;
    m_pDataObject.Release();
    return plat::S_OK;
}

DUIWND DUIDropTargetDispatch::WidgetAt(plat::POINTL point) const {
    POINT client{point.x, point.y};
    plat::ScreenToClient(m_pRoot->GetContainer()->OnGetHWnd(), &client);
    return m_pRoot->HitTestPoint(client);
}

plat::IDropTarget* DUIDropTargetDispatch::TargetOf(DUIWND widget) {
    DMSmartPtrT<plat::IDropTarget>* found = m_targets.Find(widget);
    return found ? found->get() : nullptr;
}

}  // namespace DM
