#include "Core/DMAppData.h"

#include <vector>

#include <algorithm>
#include <cwchar>

#include "DMCWnd.h"
#include "DMGlobalAttr.h"
#include "DMXml.h"
#include "IDMAttribute.h"
#include "IDMLog.h"
#include "IDMRes.h"
#include "IDMTaskRunner.h"
#include "Modules/DMItemBytes.h"
#include "plat/cursor.h"
#include "plat/input.h"
#include "plat/tick.h"
#include "plat/window_styles.h"

namespace DM {
namespace {}  // namespace

DMAppData::DMAppData(HINSTANCE instance)
    : m_pMsgLoopTool(std::make_unique<DMMsgLoopTool>()),
      m_pRegMgr(std::make_unique<DMRegMgr>()),
      m_pPluginTool(std::make_unique<DMPluginsTool>()),
      m_pFontPool(std::make_unique<DUIFontPool>()),
      m_pSkinPool(std::make_unique<DUISkinPool>()),
      m_pStylePool(std::make_unique<DUIStylePool>()),
      m_pWndPool(std::make_unique<DUIWndPool>()),
      m_pSpyChannel(std::make_unique<DMSpyChannel>()),
      m_pTimerTable(std::make_unique<DUITimer>()) {
    m_pBuiltinPlugin = std::make_unique<DMPluginImpl>();
    m_pPluginTool->InstallPlugin(m_pBuiltinPlugin.get());
    m_hInstance = instance;
    RegisterWindowClasses();
    if (auto* runner = static_cast<IDMTaskRunner*>(m_defaultTaskRunner.get())) {
        runner->InitEvent(plat::GetCurrentThreadId());
    }
}

// "DMClass_<tick>_<thread>" and "DMShadowClass_<tick>_<thread>", both served by the first
// window procedure; the shadow class adds the drop shadow.
void DMAppData::RegisterWindowClasses() {
    plat::WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = plat::CS_HREDRAW | plat::CS_VREDRAW | plat::CS_DBLCLKS;
    windowClass.lpfnWndProc = &DMCWnd::FirstWindowProc;
    windowClass.hInstance = m_hInstance;
    windowClass.hCursor = plat::LoadCursorW(nullptr, plat::MAKEINTRESOURCEW(plat::IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<plat::HBRUSH>(plat::COLOR_WINDOW + 1);
    for (bool shadow : {false, true}) {
        wchar_t name[64];
        std::swprintf(name, 64, L"%ls_%d_%d", shadow ? L"DMShadowClass" : L"DMClass",
                      static_cast<int>(plat::GetTickCount()),
                      static_cast<int>(plat::GetCurrentThreadId()));
        windowClass.lpszClassName = name;
        if (shadow) {
            windowClass.style |= plat::CS_DROPSHADOW;
        }
        (shadow ? m_atomShadow : m_atomNormal) = plat::RegisterClassExW(&windowClass);
    }
}

DMCode DMAppData::Run(HWND window, bool reenable) {
    DMMsgLoop* loop = m_pMsgLoopTool->GetMessageLoop(plat::GetCurrentThreadId());
    if (loop) {
        ++loop->m_nUseCount;
    } else {
        loop = new DMMsgLoop;
        if (!m_pMsgLoopTool->AddMessageLoop(loop)) {
            loop->Release();
            return DM_ECODE_NOLOOP;
        }
        loop->m_nUseCount = 1;
    }
    HWND remembered = plat::GetActiveWindow();
    bool tool = plat::GetWindowLongPtrW(window, plat::GWL_EXSTYLE) & plat::WS_EX_TOOLWINDOW;
    if (plat::IsWindow(window) && !tool) {
        remembered = plat::SetActiveWindow(window);
    }
    m_runningWindows.push_back(window);
    std::size_t position = m_runningWindows.size() - 1;
    loop->Run();
    if (remembered && plat::IsWindow(remembered) && reenable) {
        plat::EnableWindow(remembered, plat::TRUE);
    }
    if (position < m_runningWindows.size() && m_runningWindows[position] == window) {
        m_runningWindows.erase(m_runningWindows.begin() + static_cast<std::ptrdiff_t>(position));
    }
    plat::SetActiveWindow(remembered);
    if (plat::IsWindow(window)) {
        plat::DestroyWindow(window);
    }
    if (loop->m_nUseCount == 1) {
        m_pMsgLoopTool->RemoveMessageLoop();
    }
    --loop->m_nUseCount;
    if (loop->m_nUseCount == 0) {
        loop->Release();
    }
    return DM_ECODE_OK;
}

DMCode DMAppData::IsRun(HWND window) const {
    return std::find(m_runningWindows.begin(), m_runningWindows.end(), window) !=
                   m_runningWindows.end()
               ? DM_ECODE_OK
               : DM_ECODE_FAIL;
}

DMCode DMAppData::AddMessageFilter(IDMMessageFilter* filter) {
    DMMsgLoop* loop = filter ? m_pMsgLoopTool->GetMessageLoop(filter->m_dwThreadId) : nullptr;
    return loop && loop->AddMessageFilter(filter) ? DM_ECODE_OK : DM_ECODE_FAIL;
}

DMCode DMAppData::RemoveMessageFilter(IDMMessageFilter* filter) {
    DMMsgLoop* loop = filter ? m_pMsgLoopTool->GetMessageLoop(filter->m_dwThreadId) : nullptr;
    return loop && loop->RemoveMessageFilter(filter) ? DM_ECODE_OK : DM_ECODE_FAIL;
}

// In this order: nothing logs once the sink is gone, the plug-in goes before the classes it
// registered, and the default objects go before the registry that made them.
DMAppData::~DMAppData() {
    SetLogSink(nullptr);
    if (auto* runner = static_cast<IDMTaskRunner*>(m_defaultTaskRunner.get())) {
        runner->UnInitEvent();
    }
    m_pPluginTool->UninstallPlugin(m_pBuiltinPlugin.get());
    m_pBuiltinPlugin.reset();
    for (int type :
         {DMREG_TaskRunner, DMREG_Trans, DMREG_Render, DMREG_Res, DMREG_Log, DMREG_Attribute}) {
        ReleaseDefault(type);
    }
    m_pTimerTable.reset();
    m_pStylePool.reset();
    m_pSkinPool.reset();
    m_pFontPool.reset();
    m_pWndPool.reset();
    m_pSpyChannel.reset();
    m_pPluginTool.reset();
    m_pRegMgr.reset();
    m_pMsgLoopTool.reset();
    // The class names carry the tick count: a framework made again within the same
    // millisecond must find them free.
    for (plat::ATOM atom : {m_atomNormal, m_atomShadow}) {
        plat::UnregisterClassW(plat::MAKEINTATOM(atom), m_hInstance);
    }
}

DMCode DMAppData::Register(const IDMReg& helper, bool replace) {
    return m_pRegMgr->Register(helper, replace);
}

DMCode DMAppData::UnRegister(const wchar_t* name, int type) {
    return m_pRegMgr->UnRegister(name, type);
}

DMCode DMAppData::SetDefRegObj(const wchar_t* name, int type) {
    if (!name || !IsValidRegType(type)) {
        return DM_ECODE_FAIL;
    }
    DMRegTypeItem& item = m_pRegMgr->Item(type);
    if (item.m_defaultName == name) {
        return DM_ECODE_ISDEFAULT;
    }
    if (item.FindName(name) == DM_INVALID_INDEX) {
        return DM_ECODE_FAIL;
    }
    item.m_defaultName = name;
    DMSmartPtrT<DMBase>* slot = DefaultSlot(type);
    if (!slot) {
        return DM_ECODE_OK;
    }
    ReleaseDefault(type);
    DMBase* created = nullptr;
    DMCode code = m_pRegMgr->CreateRegObj(&created, name, type);
    slot->Attach(created);
    if (code == DM_ECODE_OK && type == DMREG_Attribute) {
        SetAttributeParser(static_cast<IDMAttribute*>(created));
    }
    if (code == DM_ECODE_OK && type == DMREG_Log) {
        SetLogSink(static_cast<IDMLog*>(created));
    }
    return code;
}

DMCode DMAppData::CreateRegObj(DMBase** object, const wchar_t* name, int type) {
    return m_pRegMgr->CreateRegObj(object, name, type);
}

DMCode DMAppData::GetDefRegObj(DMBase** object, int type) {
    if (!object) {
        return DM_ECODE_FAIL;
    }
    DMSmartPtrT<DMBase>* slot = DefaultSlot(type);
    if (!slot || !*slot) {
        return DM_ECODE_FAIL;
    }
    (*slot)->AddRef();
    *object = slot->get();
    return DM_ECODE_OK;
}

DMCode DMAppData::LoadResPack(WPARAM wParam, LPARAM lParam, const wchar_t* className) {
    if (wParam == 0 && lParam == 0) {
        return DM_ECODE_FAIL;
    }
    DMCode selected = DM_ECODE_OK;
    if (className && m_pRegMgr->Item(DMREG_Res).m_defaultName != className) {
        selected = SetDefRegObj(className, DMREG_Res);
    }
    if (!m_defaultRes) {
        return DM_ECODE_FAIL;
    }
    if (selected != DM_ECODE_OK) {
        return selected;
    }
    return static_cast<IDMRes*>(m_defaultRes.get())->LoadResPack(wParam, lParam);
}

DMCode DMAppData::LoadXmlRes(DMXmlDocument& document, const wchar_t* type, const wchar_t* name) {
    auto* pack = static_cast<IDMRes*>(m_defaultRes.get());
    DMItemBytes bytes;
    if (!pack || !type || !name || !bytes.Read(*pack, type, name)) {
        return DM_ECODE_FAIL;
    }
    if (!document.LoadFromBuffer(bytes.Data(), bytes.Size())) {
        LOG_ERR(L"[mid]%ls:%ls xml解码失败!请以utf-8格式保存,并保证xml格式完整\n", type, name);
        return DM_ECODE_FAIL;
    }
    return DM_ECODE_OK;
}

DMCode DMAppData::LoadSubLayout(DMXmlDocument& document, const wchar_t* type, const wchar_t* name) {
    if (m_customLayoutLoader) {
        return m_customLayoutLoader(type, name, document);
    }
    return LoadXmlRes(document, type, name);
}

DMCode DMAppData::InitGlobal(const wchar_t* name) {
    DMXmlDocument document;
    if (!m_defaultRes || LoadXmlRes(document, L"global", name) != DM_ECODE_OK) {
        return DM_ECODE_FAIL;
    }
    DMXmlNode global = document.Root(DMAttr::DMGlobalAttr::XMLNODE_global);
    if (!global.IsValid()) {
        return DM_ECODE_FAIL;
    }
    DMStringT font = global.Attribute(DMAttr::DMGlobalAttr::XMLATTR_font);
    if (!font.empty()) {
        m_pFontPool->SetDefaultFont(font);
    }
    for (DMXmlNode skin = global.FirstChild(DMAttr::DMGlobalAttr::XMLNODE_skin); skin.IsValid();
         skin = skin.NextSibling(DMAttr::DMGlobalAttr::XMLNODE_skin)) {
        m_pSkinPool->AddSkinPoolItem(skin);
    }
    for (DMXmlNode style = global.FirstChild(DMAttr::DMGlobalAttr::XMLNODE_style); style.IsValid();
         style = style.NextSibling(DMAttr::DMGlobalAttr::XMLNODE_style)) {
        m_pStylePool->AddStylePoolItem(style);
    }
    return DM_ECODE_OK;
}

DMSmartPtrT<DMBase>* DMAppData::DefaultSlot(int type) {
    switch (type) {
        case DMREG_Attribute:
            return &m_defaultAttribute;
        case DMREG_Res:
            return &m_defaultRes;
        case DMREG_Render:
            return &m_defaultRender;
        case DMREG_Log:
            return &m_defaultLog;
        case DMREG_Trans:
            return &m_defaultTrans;
        case DMREG_TaskRunner:
            return &m_defaultTaskRunner;
        default:
            return nullptr;
    }
}

// The published parser and log sink go with their default objects.
void DMAppData::ReleaseDefault(int type) {
    if (type == DMREG_Attribute) {
        SetAttributeParser(nullptr);
    }
    if (type == DMREG_Log) {
        SetLogSink(nullptr);
    }
    DefaultSlot(type)->Release();
}

}  // namespace DM
