// The web widget's client site, host handler and external object.
#include "Common/ActiveX/DUIIE.h"

namespace DM {
namespace {

constexpr DWORD kHostFlags = plat::DOCHOSTUIFLAG_NO3DBORDER | plat::DOCHOSTUIFLAG_DIV_BLOCKDEFAULT |
                             plat::DOCHOSTUIFLAG_CODEPAGELINKEDFONTS | plat::DOCHOSTUIFLAG_THEME |
                             plat::DOCHOSTUIFLAG_ENABLE_REDIRECT_NOTIFICATION;
constexpr plat::ULONG kHostInfoSize = 20;

}  // namespace

plat::HRESULT DMIEOleClientSite::QueryInterface(plat::REFIID iid, void** object) {
    if (!object) {
        return plat::E_POINTER;
    }
    *object = nullptr;
    if (iid == plat::IID_IUnknown || iid == plat::IID_IOleClientSite) {
        *object = static_cast<plat::IOleClientSite*>(this);
    } else if (iid == plat::IID_IDocHostUIHandler) {
        *object = static_cast<plat::IDocHostUIHandler*>(&m_owner.m_HostHandler);
    } else {
        return plat::E_NOINTERFACE;
    }
    return plat::S_OK;
}

plat::HRESULT DMIEDocHostUIHandler::QueryInterface(plat::REFIID iid, void** object) {
    if (!object) {
        return plat::E_POINTER;
    }
    *object = nullptr;
    if (iid != plat::IID_IUnknown && iid != plat::IID_IDocHostUIHandler) {
        return plat::E_NOINTERFACE;
    }
    *object = static_cast<plat::IDocHostUIHandler*>(this);
    return plat::S_OK;
}

// E_NOTIMPL lets the browser show its own menu.
plat::HRESULT DMIEDocHostUIHandler::ShowContextMenu(DWORD, POINT*, plat::IUnknown*,
                                                    plat::IDispatch*) {
    return m_bShowContext ? plat::E_NOTIMPL : plat::S_OK;
}

plat::HRESULT DMIEDocHostUIHandler::GetHostInfo(plat::DOCHOSTUIINFO* info) {
    if (!info) {
        return plat::E_POINTER;
    }
    info->cbSize = kHostInfoSize;
    info->dwFlags = kHostFlags | (m_bShowScroll ? plat::DOCHOSTUIFLAG_FLAT_SCROLLBAR
                                                : plat::DOCHOSTUIFLAG_SCROLL_NO);
    info->dwDoubleClick = plat::DOCHOSTUIDBLCLK_DEFAULT;
    return plat::S_OK;
}

plat::HRESULT DMIEDocHostUIHandler::GetExternal(plat::IDispatch** external) {
    if (!external) {
        return plat::E_POINTER;
    }
    *external = m_owner.GetExternal();
    return *external ? plat::S_OK : plat::S_FALSE;
}

plat::HRESULT DMIEDocHostUIHandler::TranslateUrl(DWORD, const wchar_t*, wchar_t** out) {
    if (out) {
        *out = nullptr;
    }
    return plat::S_FALSE;
}

plat::HRESULT DMIEDocHostUIHandler::FilterDataObject(plat::IUnknown*, plat::IUnknown** out) {
    if (out) {
        *out = nullptr;
    }
    return plat::S_FALSE;
}

plat::HRESULT DMIEExternal::QueryInterface(plat::REFIID iid, void** object) {
    if (!object) {
        return plat::E_POINTER;
    }
    *object = nullptr;
    if (iid != plat::IID_IUnknown && iid != plat::IID_IDispatch) {
        return plat::E_NOINTERFACE;
    }
    *object = static_cast<plat::IDispatch*>(this);
    return plat::S_OK;
}

plat::HRESULT DMIEExternal::GetIDsOfNames(plat::REFIID iid, const wchar_t** names, UINT count,
                                          plat::LCID locale, plat::DISPID* ids) {
    IDMWebEvent* handler = m_owner.GetEvtHandler();
    return handler ? handler->ExternalGetIDsOfNames(m_owner.GetOwnerHandle(), iid, names, count,
                                                    locale, ids)
                   : plat::S_OK;
}

plat::HRESULT DMIEExternal::Invoke(plat::DISPID member, plat::REFIID iid, plat::LCID locale,
                                   plat::WORD flags, plat::DISPPARAMS* parameters,
                                   plat::VARIANT* result, plat::EXCEPINFO* exception,
                                   UINT* argumentError) {
    IDMWebEvent* handler = m_owner.GetEvtHandler();
    return handler ? handler->ExternalInvoke(m_owner.GetOwnerHandle(), member, iid, locale, flags,
                                             parameters, result, exception, argumentError)
                   : plat::S_OK;
}

}  // namespace DM
