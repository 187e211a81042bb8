// A host window's drop target: it finds the widget under a drag and hands the drag to the drop
// target that widget registered, telling the previous one when the drag moves on.
#pragma once

#include "DMDef.h"
#include "DMMapT.h"
#include "DMSmartPtrT.h"
#include "plat/drag_drop.h"

namespace DM {

class DUIWindow;

class DUIDropTargetDispatch final : public plat::IDropTarget {
public:
    explicit DUIDropTargetDispatch(DUIWindow* root) : m_pRoot(root) {}
    DUIDropTargetDispatch(const DUIDropTargetDispatch&) = delete;
    DUIDropTargetDispatch& operator=(const DUIDropTargetDispatch&) = delete;

    // Keeps a reference to the widget's target; false when the widget has one already.
    bool RegisterDragDrop(DUIWND widget, plat::IDropTarget* target);
    // False when the widget has no target.
    bool UnRegisterDragDrop(DUIWND widget);

    plat::HRESULT QueryInterface(plat::REFIID iid, void** object) override;
    // The dispatcher lives as long as its host: references change nothing.
    plat::ULONG AddRef() override { return 1; }
    plat::ULONG Release() override { return 1; }

    plat::HRESULT DragEnter(plat::IDataObject* data, DWORD keys, plat::POINTL point,
                            DWORD* effect) override;
    plat::HRESULT DragOver(DWORD keys, plat::POINTL point, DWORD* effect) override;
    plat::HRESULT DragLeave() override;
    plat::HRESULT Drop(plat::IDataObject* data, DWORD keys, plat::POINTL point,
                       DWORD* effect) override;

private:
    // The widget under a screen point, 0 for none.
    DUIWND WidgetAt(plat::POINTL point) const;
    plat::IDropTarget* TargetOf(DUIWND widget);

    DMMapT<DUIWND, DMSmartPtrT<plat::IDropTarget>> m_targets;
    DMSmartPtrT<plat::IDataObject> m_pDataObject;
    DUIWindow* m_pRoot;
    DUIWND m_hCurrent = 0;
};

}  // namespace DM
