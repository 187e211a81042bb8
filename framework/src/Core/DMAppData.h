// The state behind DMApp: the class registry, the plug-ins and the default objects.
#pragma once

#include <array>
#include <memory>
#include <vector>

#include "Core/DMPluginImpl.h"
#include "Core/DMPluginsTool.h"
#include "Core/DMRegMgr.h"
#include "Core/DMSpyChannel.h"
#include "Core/DUITimer.h"
#include "Core/DUIWndPool.h"
#include "DMApp.h"
#include "DMMsgLoop.h"
#include "DMSingletonT.h"
#include "DMSmartPtrT.h"
#include "Modules/DUIFontPool.h"
#include "Modules/DUISkinPool.h"
#include "Modules/DUIStylePool.h"
#include "plat/window.h"

namespace DM {

class DMXmlDocument;

class DMAppData : public DMSingletonT<DMAppData> {
public:
    explicit DMAppData(HINSTANCE instance);
    ~DMAppData();

    DMCode Register(const IDMReg& helper, bool replace);
    DMCode UnRegister(const wchar_t* name, int type);
    DMCode SetDefRegObj(const wchar_t* name, int type);
    DMCode CreateRegObj(DMBase** object, const wchar_t* name, int type);
    DMCode GetDefRegObj(DMBase** object, int type);
    DMCode LoadResPack(WPARAM wParam, LPARAM lParam, const wchar_t* className);
    DMCode LoadXmlRes(DMXmlDocument& document, const wchar_t* type, const wchar_t* name);
    void SetCustomLayoutLoader(DMApp::CustomLayoutLoader loader) { m_customLayoutLoader = loader; }
    DMCode LoadSubLayout(DMXmlDocument& document, const wchar_t* type, const wchar_t* name);
    DMCode InitGlobal(const wchar_t* name);
    DMCode Run(HWND window, bool reenable);
    DMCode IsRun(HWND window) const;
    DMCode AddMessageFilter(IDMMessageFilter* filter);
    DMCode RemoveMessageFilter(IDMMessageFilter* filter);
    plat::ATOM GetClassAtom(bool shadow) const { return shadow ? m_atomShadow : m_atomNormal; }
    DMMsgLoopTool& MsgLoopTool() { return *m_pMsgLoopTool; }
    DUIWndPool& WndPool() { return *m_pWndPool; }
    DMSpyChannel& SpyChannel() { return *m_pSpyChannel; }
    DUITimer& TimerTable() { return *m_pTimerTable; }
    DMPluginsTool& PluginsTool() { return *m_pPluginTool; }
    DUIFontPool& FontPool() { return *m_pFontPool; }
    DUISkinPool& SkinPool() { return *m_pSkinPool; }
    DUIStylePool& StylePool() { return *m_pStylePool; }

private:
    // The slot of a type that keeps a default object (3, 7, 8, 10, 15, 16), else null.
    void RegisterWindowClasses();
    DMSmartPtrT<DMBase>* DefaultSlot(int type);
    void ReleaseDefault(int type);

    HINSTANCE m_hInstance = nullptr;
    std::unique_ptr<DMMsgLoopTool> m_pMsgLoopTool;
    std::unique_ptr<DMRegMgr> m_pRegMgr;
    std::unique_ptr<DMPluginsTool> m_pPluginTool;
    std::unique_ptr<DMPluginImpl> m_pBuiltinPlugin;
    DMSmartPtrT<DMBase> m_defaultAttribute;
    DMSmartPtrT<DMBase> m_defaultRes;
    DMSmartPtrT<DMBase> m_defaultRender;
    DMSmartPtrT<DMBase> m_defaultLog;
    DMSmartPtrT<DMBase> m_defaultTrans;
    DMSmartPtrT<DMBase> m_defaultTaskRunner;
    std::unique_ptr<DUIFontPool> m_pFontPool;
    std::unique_ptr<DUISkinPool> m_pSkinPool;
    std::unique_ptr<DUIStylePool> m_pStylePool;
    std::unique_ptr<DUIWndPool> m_pWndPool;
    std::unique_ptr<DMSpyChannel> m_pSpyChannel;
    std::unique_ptr<DUITimer> m_pTimerTable;
    std::vector<HWND> m_runningWindows;
    DMApp::CustomLayoutLoader m_customLayoutLoader = nullptr;
    plat::ATOM m_atomNormal = 0;
    plat::ATOM m_atomShadow = 0;
};

}  // namespace DM
