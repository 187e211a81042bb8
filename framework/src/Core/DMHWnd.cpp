#include "DMHWnd.h"

#include "Common/ActiveX/IDUIRealWnd.h"
#include "Core/DMPluginsTool.h"
#include "Core/DUIWndPool.h"
#include "DMApp.h"
#include "DMDummyWnd.h"
#include "DMStringHelpers.h"
#include "DMXml.h"
#include "IDMLog.h"
#include "plat/drag_drop.h"
#include "plat/input.h"
#include "plat/layered.h"
#include "plat/messages.h"
#include "plat/window_styles.h"

namespace DM {
namespace {

constexpr DWORD kResizeStyles = plat::WS_THICKFRAME | plat::WS_MAXIMIZEBOX;

// The thread's loop is made and registered when the thread has none yet, so that message
// filters can join it before Run starts it. The registration keeps the loop's first reference,
// which Run gives up when the loop ends.
void EnsureThreadMessageLoop() {
    DMMsgLoopTool& tool = DMApp::GetObjPtr()->GetMsgLoopTool();
    if (tool.GetMessageLoop(plat::GetCurrentThreadId())) {
        return;
    }
    auto* loop = new DMMsgLoop;
    if (!tool.AddMessageLoop(loop)) {
        loop->Release();
    }
}

}  // namespace

DMHWnd::DMHWnd() : DMContainerImpl(this) {
    m_pHostXmlInfo.Attach(new DMHWnd_XmlInfo(this));
    IDMDraw* draw = nullptr;
    if (DMApp::GetObjPtr()->CreateRegObj(&draw, nullptr, DMREG_Draw) == DM_ECODE_OK) {
        m_pDraw.Attach(draw);
    }
    EnsureThreadMessageLoop();
    DMApp::GetObjPtr()->GetWndPool().AddHostRoot(GetDUIWnd());
}

DMHWnd::~DMHWnd() {
    if (IsWindow()) {
        DestroyWindow();
    }
}

HWND DMHWnd::DM_CreateWindow(const wchar_t* xmlId, int x, int y, int width, int height, HWND parent,
                             bool shadow) {
    if (IsWindow()) {
        LOG_ERR(L"[mid]m_hWnd:0x%08x is exist\n",
                static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(m_hWnd)));
        return m_hWnd;
    }
    return DM_CreateWindowEx(xmlId, L"DMWindow", kDefaultStyle, 0, x, y, width, height, parent,
                             shadow);
}

HWND DMHWnd::DM_CreateWindowEx(const wchar_t* xmlId, const wchar_t* windowName, DWORD style,
                               DWORD exStyle, int x, int y, int width, int height, HWND parent,
                               bool shadow) {
    if (IsWindow()) {
        LOG_ERR(L"[mid]m_hWnd:0x%08x is exist\n",
                static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(m_hWnd)));
        return m_hWnd;
    }
    if (!xmlId || !*xmlId) {
        LOG_ERR(L"[mid]lpszXmlIdi is NULL!!!!\n");
        return nullptr;
    }
    m_strXmlId = xmlId;
    HWND created = CreateWindowEx(plat::MAKEINTATOM(DMApp::GetObjPtr()->GetClassAtom(shadow)),
                                  windowName, style, exStyle, x, y, width, height, parent, nullptr);
    if (!created) {
        LOG_ERR(L"[mid]CreateWnd fail\n");
        return nullptr;
    }
    if (LoadDMData(xmlId) != DM_ECODE_OK) {
        LOG_ERR(L"[mid]LoadDMData fail\n");
    }
    SetUpAfterLoading();
    plat::RegisterDragDrop(m_hWnd, &GetDropTarget());
    DMApp::GetObjPtr()->GetPluginsTool().Start();
    OnCreated();
    return m_hWnd;
}

DMCode DMHWnd::LoadDMData(const wchar_t* xmlId) {
    DMXmlDocument document;
    DMApp* app = DMApp::GetObjPtr();
    if (app->LoadXmlRes(document, L"layout", xmlId) != DM_ECODE_OK) {
        return DM_ECODE_FAIL;
    }
    DMXmlNode dm = document.Root();
    if (!dm.IsValid() || !EqualNoCase(dm.GetName(), L"dm")) {
        return DM_ECODE_FAIL;
    }
    m_pHostXmlInfo->ResetDefaults();
    for (DMXmlNode skin = dm.FirstChild(L"skin"); skin.IsValid();
         skin = skin.NextSibling(L"skin")) {
        app->AddSkinPoolItem(skin);
    }
    for (DMXmlNode style = dm.FirstChild(L"style"); style.IsValid();
         style = style.NextSibling(L"style")) {
        app->AddStylePoolItem(style);
    }
    for (DMXmlAttribute attribute = dm.FirstAttribute(); attribute.IsValid();
         attribute = attribute.NextAttribute()) {
        if (m_pHostXmlInfo->SetAttribute(attribute.GetName(), attribute.GetValue(), true) ==
            DMATTR_FAIL) {
            DUIWindow::SetAttribute(attribute.GetName(), attribute.GetValue(), true);
        }
    }
    DMXmlNode root = dm.FirstChild(L"root");
    return InitDMData(root);
}

void DMHWnd::SetUpAfterLoading() {
    CreateToolTip();
    ApplyResizeStyle();
    if (m_pHostXmlInfo->m_bTranslucent) {
        ModifyStyleEx(0, plat::WS_EX_LAYERED);
    }
    SetWindowText(m_pHostXmlInfo->m_strTitle.c_str());
    if (m_pHostXmlInfo->m_bTranslucent) {
        CreateDummyWnd();
    } else if (m_pHostXmlInfo->m_byAlpha != 255) {
        ModifyStyleEx(0, plat::WS_EX_LAYERED);
        plat::SetLayeredWindowAttributes(m_hWnd, 0, m_pHostXmlInfo->m_byAlpha, plat::LWA_ALPHA);
    }
    RECT client{};
    DMCWndBase::GetClientRect(&client);
    if (client.right <= client.left || client.bottom <= client.top) {
        SetWindowPos(nullptr, 0, 0, m_pHostXmlInfo->m_szInit.cx, m_pHostXmlInfo->m_szInit.cy,
                     plat::SWP_NOMOVE | plat::SWP_NOZORDER | plat::SWP_NOACTIVATE);
    } else {
        SetWndRect(client);
    }
    RepaintAll();
}

void DMHWnd::CreateToolTip() {
    const DMStringT& name = m_pHostXmlInfo->m_strRegTip;
    IDMToolTip* tip = nullptr;
    DMApp* app = DMApp::GetObjPtr();
    if (app->CreateRegObj(&tip, name.empty() ? nullptr : name.c_str(), DMREG_ToolTip) !=
            DM_ECODE_OK &&
        (name.empty() || app->CreateRegObj(&tip, nullptr, DMREG_ToolTip) != DM_ECODE_OK)) {
        return;
    }
    m_pToolTip.Attach(tip);
    app->AddMessageFilter(tip);
}

void DMHWnd::CreateDummyWnd() {
    if (m_pDummyWnd) {
        return;
    }
    m_pDummyWnd = std::make_unique<DMDummyWnd>(this);
    if (!m_pDummyWnd->Create(m_hWnd)) {
        m_pDummyWnd.reset();
    }
}

void DMHWnd::DestroyDummyWnd() {
    if (m_pDummyWnd && m_pDummyWnd->IsWindow()) {
        m_pDummyWnd->DestroyWindow();
    }
    m_pDummyWnd.reset();
}

void DMHWnd::ApplyResizeStyle() {
    if (m_pHostXmlInfo->m_bResize) {
        ModifyStyle(0, kResizeStyles);
    } else {
        ModifyStyle(kResizeStyles, 0);
    }
}

void DMHWnd::ApplyTranslucent() {
    if (!IsWindow()) {
        return;
    }
    if (m_pHostXmlInfo->m_bTranslucent) {
        ModifyStyleEx(plat::WS_EX_LAYERED, 0);
        ModifyStyleEx(0, plat::WS_EX_LAYERED);
        CreateDummyWnd();
        RepaintAll();
        return;
    }
    ApplyAlpha();
    DestroyDummyWnd();
    RepaintAll();
}

void DMHWnd::ApplyAlpha() {
    if (!IsWindow()) {
        return;
    }
    if (m_pHostXmlInfo->m_bTranslucent) {
        RepaintAll();
    } else if (m_pHostXmlInfo->m_byAlpha == 255) {
        ModifyStyleEx(plat::WS_EX_LAYERED, 0);
    } else {
        ModifyStyleEx(0, plat::WS_EX_LAYERED);
        plat::SetLayeredWindowAttributes(m_hWnd, 0, m_pHostXmlInfo->m_byAlpha, plat::LWA_ALPHA);
    }
}

// Grown to the minimum or shrunk to the maximum, the top-left corner kept.
void DMHWnd::ApplySizeLimits() {
    if (!IsWindow()) {
        return;
    }
    RECT window{};
    GetWindowRect(&window);
    SIZE size{window.right - window.left, window.bottom - window.top};
    SIZE limited = size;
    const DMHWnd_XmlInfo& info = *m_pHostXmlInfo;
    limited.cx = std::max(limited.cx, info.m_szMin.cx);
    limited.cy = std::max(limited.cy, info.m_szMin.cy);
    if (info.m_szMax.cx != -1) {
        limited.cx = std::min(limited.cx, info.m_szMax.cx);
    }
    if (info.m_szMax.cy != -1) {
        limited.cy = std::min(limited.cy, info.m_szMax.cy);
    }
    if (limited.cx != size.cx || limited.cy != size.cy) {
        SetWindowPos(nullptr, 0, 0, limited.cx, limited.cy,
                     plat::SWP_NOMOVE | plat::SWP_NOZORDER | plat::SWP_NOACTIVATE);
    }
}

DMCode DMHWnd::ReplaceDraw(const DMStringT& name) {
    IDMDraw* draw = nullptr;
    if (name.empty() ||
        DMApp::GetObjPtr()->CreateRegObj(&draw, name.c_str(), DMREG_Draw) != DM_ECODE_OK) {
        return DM_ECODE_FAIL;
    }
    m_pDraw.Attach(draw);
    RECT client{};
    if (IsWindow() && DMCWndBase::GetClientRect(&client)) {
        m_pDraw->ResizeCanvas(client.right, client.bottom);
    }
    return DM_ECODE_OK;
}

DMCode DMHWnd::HandleEvent(DMEventArgs&) {
    return DM_ECODE_FAIL;
}

DMCode DMHWnd::OnFireEvent(DMEventArgs& event) {
    return HandleEvent(event);
}

LRESULT DMHWnd::OnHostCreate(UINT, WPARAM, LPARAM) {
    SetContainer(this);
    SetMsgHandled(false);
    return 0;
}

LRESULT DMHWnd::OnHostDestroy(UINT, WPARAM, LPARAM) {
    m_bDestroying = true;
    DUIWindow::SendMessage(plat::WM_DESTROY);
    m_pDraw.Release();
    if (m_pToolTip) {
        DMApp::GetObjPtr()->RemoveMessageFilter(m_pToolTip.get());
        m_pToolTip->DestroyTipWnd();
    }
    DestroyDummyWnd();
    plat::RevokeDragDrop(m_hWnd);
    DMApp::GetObjPtr()->GetWndPool().RemoveHostRoot(GetDUIWnd());
    OnDestroyed();
    SetMsgHandled(false);
    return 0;
}

// The native windows of this host's real-window widgets follow it.
LRESULT DMHWnd::OnHostMove(UINT, WPARAM, LPARAM) {
    ForEachRealWnd([](IDUIRealWnd& widget) { widget.OnHostMoved(); });
    SetMsgHandled(false);
    return 0;
}

void DMHWnd::ForEachRealWnd(const std::function<void(IDUIRealWnd&)>& visit) {
    DUIWndPool& pool = DMApp::GetObjPtr()->GetWndPool();
    for (DUIWND handle : pool.RealWnds()) {
        auto* widget = dynamic_cast<IDUIRealWnd*>(pool.FindDUIWnd(handle));
        if (widget && widget->GetContainer() == this) {
            visit(*widget);
        }
    }
}

void DMHWnd::OnDestroyed() {
    if (DMApp::GetObjPtr()->IsRun(m_hWnd) == DM_ECODE_OK) {
        plat::PostQuitMessage(1);
    }
}

DUIWND DMHWnd::OnSetCapture(DUIWND widget) {
    if (!Resolve(widget, true)) {
        return 0;
    }
    DMCWndBase::SetCapture();
    return DMContainerImpl::OnSetCapture(widget);
}

DMCode DMHWnd::OnReleaseCapture() {
    DMContainerImpl::OnReleaseCapture();
    plat::ReleaseCapture();
    POINT cursor{};
    plat::GetCursorPos(&cursor);
    ScreenToClient(&cursor);
    plat::PostMessageW(m_hWnd, plat::WM_MOUSEMOVE, 0, plat::PointToLParam(cursor));
    return DM_ECODE_OK;
}

DMCode DMHWnd::OnGetDraw(IDMDraw** draw) {
    if (!draw || !m_pDraw) {
        return DM_ECODE_FAIL;
    }
    m_pDraw->AddRef();
    *draw = m_pDraw.get();
    return DM_ECODE_OK;
}

DMCode DMHWnd::OnGetContainerRect(RECT& rect) {
    rect = m_rcWindow;
    return DM_ECODE_OK;
}

DMCode DMHWnd::OnAddTimeline(IDMTimeline* timeline) {
    DMCode code = DMContainerImpl::OnAddTimeline(timeline);
    if (code == DM_ECODE_OK && TimelineCount() == 1) {
        DUIWindow::SetTimer(2, 10);
    }
    return code;
}

DMCode DMHWnd::OnRemoveTimeline(IDMTimeline* timeline) {
    DMCode code = DMContainerImpl::OnRemoveTimeline(timeline);
    if (code == DM_ECODE_OK && TimelineCount() == 0) {
        DUIWindow::KillTimer(2);
    }
    return code;
}

DMCode DMHWnd::OnGetTransId(DMStringT& id) {
    id = m_pHostXmlInfo->m_strTransId;
    return DM_ECODE_OK;
}

void DMHWnd::OnHostTimer(UINT id) {
    if (id == 2) {
        OnTimeline();
    }
}

}  // namespace DM
