#include "DMApp.h"

#include "Core/DMAppData.h"

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

DMCode DMApp::UpdateSkins(const wchar_t* list, int length) {
    return Data().UpdateSkins(list, length);
}

const DMStringT& DMApp::GetLastSkinUpdate() const {
    return Data().GetLastSkinUpdate();
}

}  // namespace DM
