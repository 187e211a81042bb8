// The browser's events turned into calls of the web widget's handler.
#include "Common/ActiveX/DUIIE.h"

namespace DM {
namespace {

// The arguments of one event in their natural order; by-reference variants are followed.
class EventArguments {
public:
    explicit EventArguments(plat::DISPPARAMS& parameters) : m_parameters(parameters) {}

    bool Has(UINT count) const { return m_parameters.cArgs >= count && m_parameters.rgvarg; }
    const plat::VARIANT& At(UINT index) const {
        return plat::DereferencedVariant(m_parameters.rgvarg[m_parameters.cArgs - 1 - index]);
    }
    const wchar_t* Text(UINT index) const {
        const plat::VARIANT& value = At(index);
        return value.vt == plat::VT_BSTR ? value.bstrVal.c_str() : L"";
    }
    long Int(UINT index) const {
        const plat::VARIANT& value = At(index);
        return value.vt == plat::VT_I4 ? value.lVal : 0;
    }
    bool Bool(UINT index) const {
        const plat::VARIANT& value = At(index);
        return value.vt == plat::VT_BOOL ? value.boolVal != plat::VARIANT_FALSE
                                         : value.vt == plat::VT_I4 && value.lVal != 0;
    }
    plat::VARIANT_BOOL* Flag(UINT index) const {
        const plat::VARIANT& value = At(index);
        return value.vt == (plat::VT_BOOL | plat::VT_BYREF) ? value.pboolVal : nullptr;
    }
    plat::IDispatch* Object(UINT index) const {
        const plat::VARIANT& value = At(index);
        return value.vt == plat::VT_DISPATCH ? value.pdispVal : nullptr;
    }
    plat::IDispatch** ObjectSlot(UINT index) const {
        const plat::VARIANT& value = At(index);
        return value.vt == (plat::VT_DISPATCH | plat::VT_BYREF) ? value.ppdispVal : nullptr;
    }
    plat::VARIANT* Variant(UINT index) const { return const_cast<plat::VARIANT*>(&At(index)); }

private:
    plat::DISPPARAMS& m_parameters;
};

// How many arguments each event carries.
UINT ArgumentCount(plat::DISPID member) {
    switch (member) {
        case plat::DISPID_BEFORENAVIGATE2:
            return 7;
        case plat::DISPID_NEWWINDOW3:
        case plat::DISPID_NAVIGATEERROR:
            return 5;
        case plat::DISPID_CLIENTTOHOSTWINDOW:
        case plat::DISPID_COMMANDSTATECHANGE:
        case plat::DISPID_DOCUMENTCOMPLETE:
        case plat::DISPID_FILEDOWNLOAD:
        case plat::DISPID_NAVIGATECOMPLETE2:
        case plat::DISPID_NEWWINDOW2:
        case plat::DISPID_PROGRESSCHANGE:
        case plat::DISPID_WINDOWCLOSING:
        case plat::DISPID_WINDOWSTATECHANGED:
            return 2;
        case plat::DISPID_DOWNLOADBEGIN:
        case plat::DISPID_DOWNLOADCOMPLETE:
        case plat::DISPID_ONQUIT:
            return 0;
        default:
            return 1;
    }
}

}  // namespace

plat::HRESULT DMIEEvtDispatch::QueryInterface(plat::REFIID iid, void** object) {
    if (!object) {
        return plat::E_POINTER;
    }
    *object = nullptr;
    if (iid != plat::IID_IUnknown && iid != plat::IID_IDispatch &&
        iid != plat::DIID_DWebBrowserEvents2) {
        return plat::E_NOINTERFACE;
    }
    *object = static_cast<plat::IDispatch*>(this);
    return plat::S_OK;
}

plat::HRESULT DMIEEvtDispatch::GetTypeInfoCount(UINT* count) {
    if (!count) {
        return plat::E_POINTER;
    }
    *count = 0;
    return plat::S_OK;
}

plat::HRESULT DMIEEvtDispatch::Invoke(plat::DISPID member, plat::REFIID iid, plat::LCID, plat::WORD,
                                      plat::DISPPARAMS* parameters, plat::VARIANT*,
                                      plat::EXCEPINFO*, UINT*) {
    if (iid != plat::IID_NULL || !m_pHandler || !parameters) {
        return plat::E_INVALIDARG;
    }
    return Dispatch(member, *parameters);
}

plat::HRESULT DMIEEvtDispatch::Dispatch(plat::DISPID member, plat::DISPPARAMS& parameters) {
    EventArguments a(parameters);
    if (!a.Has(ArgumentCount(member))) {
        return plat::DISP_E_BADPARAMCOUNT;
    }
    IDMWebEvent& h = *m_pHandler;
    DUIWND w = m_hOwner;
    switch (member) {
        case plat::DISPID_BEFORENAVIGATE2:
            return h.BeforeNavigate2(w, a.Object(0), a.Text(1), a.Int(2), a.Text(3), a.Variant(4),
                                     a.Text(5), a.Flag(6));
        case plat::DISPID_CLIENTTOHOSTWINDOW: {
            long width = a.Int(0);
            long height = a.Int(1);
            return h.ClientToHostWindow(w, &width, &height);
        }
        case plat::DISPID_COMMANDSTATECHANGE:
            m_owner.OnCommandState(a.Int(0), a.Bool(1));
            return h.CommandStateChange(w, a.Int(0), a.Bool(1));
        case plat::DISPID_DOCUMENTCOMPLETE:
            return h.DocumentComplete(w, a.Object(0), a.Text(1));
        case plat::DISPID_DOWNLOADBEGIN:
            return h.DownloadBegin(w);
        case plat::DISPID_DOWNLOADCOMPLETE:
            return h.DownloadComplete(w);
        case plat::DISPID_FILEDOWNLOAD:
            return h.FileDownload(w, a.Bool(0), a.Flag(1));
        case plat::DISPID_NAVIGATECOMPLETE2:
            return h.NavigateComplete2(w, a.Object(0), a.Text(1));
        case plat::DISPID_NAVIGATEERROR:
            return h.NavigateError(w, a.Object(0), a.Text(1), a.Text(2), a.Int(3), a.Flag(4));
        case plat::DISPID_NEWWINDOW2:
            return h.NewWindow2(w, a.ObjectSlot(0), a.Flag(1));
        case plat::DISPID_NEWWINDOW3:
            return h.NewWindow3(w, a.ObjectSlot(0), a.Flag(1), static_cast<DWORD>(a.Int(2)),
                                a.Text(3), a.Text(4));
        case plat::DISPID_ONFULLSCREEN:
            return h.OnFullScreen(w, a.Bool(0));
        case plat::DISPID_ONMENUBAR:
            return h.OnMenuBar(w, a.Bool(0));
        case plat::DISPID_ONQUIT:
            return h.OnQuit(w);
        case plat::DISPID_ONSTATUSBAR:
            return h.OnStatusBar(w, a.Bool(0));
        case plat::DISPID_ONTHEATERMODE:
            return h.OnTheaterMode(w, a.Bool(0));
        case plat::DISPID_ONTOOLBAR:
            return h.OnToolBar(w, a.Bool(0));
        case plat::DISPID_ONVISIBLE:
            return h.OnVisible(w, a.Bool(0));
        case plat::DISPID_PRINTTEMPLATEINSTANTIATION:
            return h.PrintTemplateInstantiation(w, a.Object(0));
        case plat::DISPID_PRINTTEMPLATETEARDOWN:
            return h.PrintTemplateTeardown(w, a.Object(0));
        case plat::DISPID_PRIVACYIMPACTEDSTATECHANGE:
            return h.PrivacyImpactedStateChange(w, a.Bool(0));
        case plat::DISPID_PROGRESSCHANGE:
            return h.ProgressChange(w, a.Int(0), a.Int(1));
        case plat::DISPID_PROPERTYCHANGE:
            return h.PropertyChange(w, a.Text(0));
        case plat::DISPID_SETPHISHINGFILTERSTATUS:
            return h.SetPhishingFilterStatus(w, a.Int(0));
        case plat::DISPID_SETSECURELOCKICON:
            return h.SetSecureLockIcon(w, a.Int(0));
        case plat::DISPID_STATUSTEXTCHANGE:
            return h.StatusTextChange(w, a.Text(0));
        case plat::DISPID_TITLECHANGE:
            return h.TitleChange(w, a.Text(0));
        case plat::DISPID_WINDOWCLOSING:
            return h.WindowClosing(w, a.Bool(0), a.Flag(1));
        case plat::DISPID_WINDOWSETHEIGHT:
            return h.WindowSetHeight(w, a.Int(0));
        case plat::DISPID_WINDOWSETLEFT:
            return h.WindowSetLeft(w, a.Int(0));
        case plat::DISPID_WINDOWSETRESIZABLE:
            return h.WindowSetResizable(w, a.Bool(0));
        case plat::DISPID_WINDOWSETTOP:
            return h.WindowSetTop(w, a.Int(0));
        case plat::DISPID_WINDOWSETWIDTH:
            return h.WindowSetWidth(w, a.Int(0));
        case plat::DISPID_WINDOWSTATECHANGED:
            return h.WindowStateChanged(w, static_cast<DWORD>(a.Int(0)),
                                        static_cast<DWORD>(a.Int(1)));
        default:
            return plat::DISP_E_MEMBERNOTFOUND;
    }
}

}  // namespace DM
