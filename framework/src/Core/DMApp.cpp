#include "DMApp.h"

#include "Core/DMAppData.h"
#include "DMSmartPtrT.h"
#include "DMXml.h"
#include "DUIWindow.h"
#include "IDMTrans.h"

namespace DM {
namespace {

// Through the singleton, since the built-in plug-in registers while DMAppData is still being
// constructed.
DMAppData& Data() {
    return *DMAppData::GetObjPtr();
}

}  // namespace

DMApp::DMApp(HINSTANCE instance) : m_pDMData(nullptr) {
    m_pDMData = new DMAppData(instance);
}

DMApp::~DMApp() {
    delete m_pDMData;
}

DMCode DMApp::Register(const IDMReg& helper, bool replace) {
    return Data().Register(helper, replace);
}

DMCode DMApp::UnRegister(const wchar_t* name, int type) {
    return Data().UnRegister(name, type);
}

DMCode DMApp::SetDefRegObj(const wchar_t* name, int type) {
    return Data().SetDefRegObj(name, type);
}

DMCode DMApp::CreateRegObj(DMBase** object, const wchar_t* name, int type) {
    return Data().CreateRegObj(object, name, type);
}

DMCode DMApp::GetDefRegObj(DMBase** object, int type) {
    return Data().GetDefRegObj(object, type);
}

DMCode DMApp::LoadResPack(WPARAM wParam, LPARAM lParam, const wchar_t* className) {
    return Data().LoadResPack(wParam, lParam, className);
}

DMCode DMApp::LoadXmlRes(DMXmlDocument& document, const wchar_t* type, const wchar_t* name) {
    return Data().LoadXmlRes(document, type, name);
}

DMCode DMApp::GetTrans(DMStringT& out, const DMStringT& source, const DMStringT& set,
                       const DMStringT& node) {
    IDMTrans* trans = nullptr;
    if (GetDefRegObj(&trans, DMREG_Trans) != DM_ECODE_OK) {
        out = source;
        return DM_ECODE_FAIL;
    }
    auto held = DMSmartPtrT<IDMTrans>::Adopt(trans);
    return held->GetTrans(out, source, set, node);
}

void DMApp::SetCustomLayoutLoader(CustomLayoutLoader loader) {
    Data().SetCustomLayoutLoader(loader);
}

DMCode DMApp::LoadSubLayout(DMXmlDocument& document, const wchar_t* type, const wchar_t* name) {
    return Data().LoadSubLayout(document, type, name);
}

DMCode DMApp::InitGlobal(const wchar_t* name) {
    return Data().InitGlobal(name);
}

void DMApp::AddSkinPoolItem(const DMXmlNode& element) {
    Data().SkinPool().AddSkinPoolItem(element);
}

void DMApp::AddStylePoolItem(const DMXmlNode& element) {
    Data().StylePool().AddStylePoolItem(element);
}

IDMFont* DMApp::GetFont(const DMStringT& description) {
    return Data().FontPool().GetFont(description);
}

IDMSkin* DMApp::GetSkin(const DMStringT& reference) {
    return Data().SkinPool().GetSkin(reference);
}

DMCode DMApp::GetStyle(DMXmlNode& definition, const DMStringT& reference) {
    definition = Data().StylePool().GetStyle(reference);
    return definition.IsValid() ? DM_ECODE_OK : DM_ECODE_FAIL;
}

DMCode DMApp::UpdateSkins(const wchar_t* list, int length) {
    if (!list || length <= 0) {
        return DM_ECODE_FAIL;
    }
    Data().SkinPool().UpdateSkins(DMStringT(list, static_cast<std::size_t>(length - 1)));
    // Widgets showing a re-bound skin repaint.
    for (DUIWND handle : Data().WndPool().Handles()) {
        DUIWindow* widget = Data().WndPool().FindDUIWnd(handle);
        if (widget && widget->IsVisible(true) && widget->IsSkinAffected(1) == DM_ECODE_OK) {
            widget->InvalidateRect(widget->m_rcWindow);
        }
    }
    Data().SkinPool().ForgetUpdated();
    return DM_ECODE_OK;
}

bool DMApp::IsSkinUpdated(IDMSkin* skin, int kind) {
    return kind == 1 && Data().SkinPool().IsSkinUpdated(skin);
}

DMCode DMApp::Run(HWND window, bool reenable) {
    return Data().Run(window, reenable);
}

DMCode DMApp::IsRun(HWND window) {
    return Data().IsRun(window);
}

DMCode DMApp::AddMessageFilter(IDMMessageFilter* filter) {
    return Data().AddMessageFilter(filter);
}

DMCode DMApp::RemoveMessageFilter(IDMMessageFilter* filter) {
    return Data().RemoveMessageFilter(filter);
}

plat::ATOM DMApp::GetClassAtom(bool shadow) {
    return Data().GetClassAtom(shadow);
}

DMMsgLoopTool& DMApp::GetMsgLoopTool() {
    return Data().MsgLoopTool();
}

DUIWindow* DMApp::FindDUIWnd(DUIWND handle) {
    return Data().WndPool().FindDUIWnd(handle);
}

DUIWndPool& DMApp::GetWndPool() {
    return Data().WndPool();
}

DMSpyChannel& DMApp::GetSpyChannel() {
    return Data().SpyChannel();
}

DUITimer& DMApp::GetTimerTable() {
    return Data().TimerTable();
}

DMPluginsTool& DMApp::GetPluginsTool() {
    return Data().PluginsTool();
}

}  // namespace DM
