#include "DUIRicheditDropTarget.h"

namespace DM {

DUIRicheditDropTarget::DUIRicheditDropTarget(plat::ITextServices* services) : m_pServ(services) {
    if (m_pServ) {
        m_pServ->AddRef();
    }
}

DUIRicheditDropTarget::~DUIRicheditDropTarget() {
    if (m_pServ) {
        m_pServ->Release();
    }
}

plat::HRESULT DUIRicheditDropTarget::QueryInterface(plat::REFIID iid, void** object) {
    if (!object) {
        return plat::E_POINTER;
    }
    if (iid == plat::IID_IUnknown || iid == plat::IID_IDropTarget) {
        *object = static_cast<plat::IDropTarget*>(this);
        AddRef();
        return plat::S_OK;
    }
    *object = nullptr;
    return plat::E_NOINTERFACE;
}

plat::ULONG DUIRicheditDropTarget::AddRef() {
    return ++m_cRef;
}

plat::ULONG DUIRicheditDropTarget::Release() {
    plat::ULONG left = --m_cRef;
    if (left == 0) {
        delete this;
    }
    return left;
}

plat::IDropTarget* DUIRicheditDropTarget::EngineTarget() const {
    plat::IDropTarget* target = nullptr;
    if (!m_pServ || m_pServ->TxGetDropTarget(&target) != plat::S_OK) {
        return nullptr;
    }
    return target;
}

plat::HRESULT DUIRicheditDropTarget::DragEnter(plat::IDataObject* data, plat::DWORD keys,
                                               plat::POINTL point, plat::DWORD* effect) {
    plat::IDropTarget* target = EngineTarget();
    if (!target) {
        return plat::S_FALSE;
    }
    plat::HRESULT result = target->DragEnter(data, keys, point, effect);
    target->Release();
    return result;
}

plat::HRESULT DUIRicheditDropTarget::DragOver(plat::DWORD keys, plat::POINTL point,
                                              plat::DWORD* effect) {
    plat::IDropTarget* target = EngineTarget();
    if (!target) {
        return plat::S_FALSE;
    }
    plat::HRESULT result = target->DragOver(keys, point, effect);
    target->Release();
    return result;
}

// A failure inside the engine does not matter to a drag that is leaving.
plat::HRESULT DUIRicheditDropTarget::DragLeave() {
    plat::IDropTarget* target = EngineTarget();
    if (!target) {
        return plat::S_FALSE;
    }
    target->DragLeave();
    target->Release();
    return plat::S_OK;
}

plat::HRESULT DUIRicheditDropTarget::Drop(plat::IDataObject* data, plat::DWORD keys,
                                          plat::POINTL point, plat::DWORD* effect) {
    if (!effect || *effect == plat::DROPEFFECT_NONE) {
        return plat::S_FALSE;
    }
    plat::IDropTarget* target = EngineTarget();
    if (!target) {
        return plat::S_FALSE;
    }
    plat::HRESULT result = target->Drop(data, keys, point, effect);
    target->Release();
    return result;
}

}  // namespace DM
