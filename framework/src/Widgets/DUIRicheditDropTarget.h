// The drop target a rich edit registers with its host: every call goes to the engine's own
// drop target, asked for anew each time.
#pragma once

#include "plat/drag_drop.h"
#include "plat/text_services.h"

namespace DM {

class DUIRicheditDropTarget final : public plat::IDropTarget {
public:
    explicit DUIRicheditDropTarget(plat::ITextServices* services);

    plat::HRESULT QueryInterface(plat::REFIID iid, void** object) override;
    plat::ULONG AddRef() override;
    plat::ULONG Release() override;

    plat::HRESULT DragEnter(plat::IDataObject* data, plat::DWORD keys, plat::POINTL point,
                            plat::DWORD* effect) override;
    plat::HRESULT DragOver(plat::DWORD keys, plat::POINTL point, plat::DWORD* effect) override;
    plat::HRESULT DragLeave() override;
    plat::HRESULT Drop(plat::IDataObject* data, plat::DWORD keys, plat::POINTL point,
                       plat::DWORD* effect) override;

private:
    ~DUIRicheditDropTarget();
    // The engine's drop target with a reference, or null.
    plat::IDropTarget* EngineTarget() const;

    plat::ITextServices* m_pServ;
    plat::ULONG m_cRef = 1;
};

}  // namespace DM
