// A host window: a top-level platform window whose whole client area the framework draws. It
// is the root widget of its tree, the container its widgets use and the owner of the draw
// object. A translucent host gives its canvas with per-pixel alpha to the platform as a layered
// picture; an opaque one copies the canvas into the window when painted. Applications derive
// from it and override HandleEvent to receive the widgets' events.
#pragma once

#include <functional>
#include <memory>

#include "DMCWnd.h"
#include "DMContainerImpl.h"
#include "DMMsgLoop.h"
#include "DUIWindow.h"
#include "IDMDraw.h"
#include "IDMToolTip.h"
#include "plat/paint.h"

namespace DM {

class DMHWnd;
class DMDummyWnd;
class IDUIRealWnd;

// The "dm" element's attributes.
class DMHWnd_XmlInfo : public DMBase {
public:
    explicit DMHWnd_XmlInfo(DMHWnd* owner) : m_pOwner(owner) {}

    DMCode SetAttribute(const DMStringT& name, const DMStringT& value, bool loading) override;
    void ResetDefaults();

    DMHWnd* m_pOwner;
    SIZE m_szInit{200, 200};
    SIZE m_szMin{0, 0};
    SIZE m_szMax{-1, -1};
    RECT m_rcMaxInset{0, 0, 0, 0};
    bool m_bResize = false;
    bool m_bTranslucent = false;
    BYTE m_byAlpha = 255;
    int m_nH = 0;
    int m_nS = 100;
    int m_nL = 100;
    DMStringT m_strTitle;
    DMStringT m_strRegTip;
    DMStringT m_strRegDraw;
    DMStringT m_strTransId;

private:
    static DMCode OnMinSize(DMHWnd_XmlInfo& info, const DMStringT& value, bool loading);
    static DMCode OnMaxSize(DMHWnd_XmlInfo& info, const DMStringT& value, bool loading);
    static DMCode OnResize(DMHWnd_XmlInfo& info, const DMStringT& value, bool loading);
    static DMCode OnTranslucent(DMHWnd_XmlInfo& info, const DMStringT& value, bool loading);
    static DMCode OnAlpha(DMHWnd_XmlInfo& info, const DMStringT& value, bool loading);
    static DMCode OnHue(DMHWnd_XmlInfo& info, const DMStringT& value, bool loading);
    static DMCode OnSaturation(DMHWnd_XmlInfo& info, const DMStringT& value, bool loading);
    static DMCode OnLightness(DMHWnd_XmlInfo& info, const DMStringT& value, bool loading);
    static DMCode OnRegDraw(DMHWnd_XmlInfo& info, const DMStringT& value, bool loading);
    DMCode CheckSizes() const;
    DMCode SetAdjustment(int& field, const DMStringT& value, int low, int high, bool loading);
};

class DMHWnd : public DMCWnd, public DMContainerImpl, public DUIWindow {
    DMDECLARE_CLASS_NAME(DMHWnd, DUIWindow, L"hwnd", L"window", DMREG_Window)
public:
    // WS_POPUP | WS_CLIPCHILDREN | WS_MINIMIZEBOX | WS_MAXIMIZEBOX.
    static constexpr DWORD kDefaultStyle = 0x82030000;

    DMHWnd();
    ~DMHWnd() override;

    HWND DM_CreateWindow(const wchar_t* xmlId, int x = 0, int y = 0, int width = 0, int height = 0,
                         HWND parent = nullptr, bool shadow = false);
    HWND DM_CreateWindowEx(const wchar_t* xmlId, const wchar_t* windowName, DWORD style,
                           DWORD exStyle, int x, int y, int width, int height, HWND parent,
                           bool shadow = false);
    DMCode LoadDMData(const wchar_t* xmlId);
    DMCode DM_AnimateWindow(DWORD time, DWORD flags);

    // The application's hook for the widgets' events; 1 when not handled.
    virtual DMCode HandleEvent(DMEventArgs& event);
    virtual void UpdateToScreen(plat::HDC context, const RECT& rect, bool useRect);
    virtual void OnHostTimer(UINT id);
    virtual void OnCreated() {}
    virtual void OnDestroyed();

    DMHWnd_XmlInfo& HostXmlInfo() { return *m_pHostXmlInfo; }
    IDMToolTip* GetToolTip() const { return m_pToolTip.get(); }

    // Reached from the "dm" attributes while the window exists.
    void ApplyResizeStyle();
    void ApplyTranslucent();
    void ApplyAlpha();
    void ApplySizeLimits();
    void RepaintAll();
    DMCode ReplaceDraw(const DMStringT& name);

    // The dummy window of a translucent host asks for the picture here.
    void PaintTranslucent();

    // The container services that need the platform window.
    DMCode OnFireEvent(DMEventArgs& event) override;
    DUIWND OnSetCapture(DUIWND widget) override;
    DMCode OnReleaseCapture() override;
    DMCode OnGetDraw(IDMDraw** draw) override;
    DMCode OnGetCanvas(const RECT& rect, DWORD flags, IDMCanvas** canvas) override;
    DMCode OnReleaseCanvas(const RECT& rect, DWORD flags, IDMCanvas* canvas) override;
    HWND OnGetHWnd() override { return m_hWnd; }
    DMCode OnGetContainerRect(RECT& rect) override;
    bool OnIsTranslucent() override { return m_pHostXmlInfo->m_bTranslucent; }
    DMCode OnUpdateWindow() override;
    DMCode OnRedraw() override;
    DMCode OnInvalidateRect(const RECT& rect, DUIWND widget) override;
    DMCode OnAddTimeline(IDMTimeline* timeline) override;
    DMCode OnRemoveTimeline(IDMTimeline* timeline) override;
    DMCode OnGetTransId(DMStringT& id) override;

    // The widget's own map and the platform window's map.
    using DUIWindow::ProcessWindowMessage;
    bool ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                              LRESULT& result, DWORD mapId = 0) override;
    using DMCWnd::IsMsgHandled;
    using DMCWnd::SetMsgHandled;

protected:
    using DMCWnd::m_bMsgHandled;

    LRESULT OnHostCreate(UINT, WPARAM, LPARAM);
    LRESULT OnHostDestroy(UINT, WPARAM, LPARAM);
    LRESULT OnHostSize(UINT, WPARAM, LPARAM);
    LRESULT OnHostMove(UINT, WPARAM, LPARAM);
    LRESULT OnHostPaint(UINT, WPARAM, LPARAM);
    LRESULT OnHostPrint(UINT, WPARAM, LPARAM);
    LRESULT OnAnswerOne(UINT, WPARAM, LPARAM) { return 1; }
    LRESULT OnHostNcHitTest(UINT, WPARAM, LPARAM);
    LRESULT OnHostGetMinMaxInfo(UINT, WPARAM, LPARAM);
    LRESULT OnHostActivate(UINT, WPARAM, LPARAM);
    LRESULT OnHostMouse(UINT, WPARAM, LPARAM);
    LRESULT OnHostMouseLeave(UINT, WPARAM, LPARAM);
    LRESULT OnHostRouted(UINT, WPARAM, LPARAM);
    LRESULT OnHostTimerMessage(UINT, WPARAM, LPARAM);
    LRESULT OnHostSpy(UINT, WPARAM, LPARAM);

private:
    void SetUpAfterLoading();
    void CreateToolTip();
    void CreateDummyWnd();
    void DestroyDummyWnd();
    HWND RepaintTarget() const;
    void RequestRepaint(const RECT* rect);
    IDMCanvas* DrawCanvas();
    IDMCanvas* PictureToShow(const RECT& rect);
    void PresentLayered(const RECT& rect, IDMCanvas* picture, BYTE alpha);
    void RenderInvalid(plat::HDC context);
    void UpdateToolTip(LPARAM point);
    DMCode AnimateOpaque(DWORD time, DWORD flags);
    void AnimateTranslucent(DWORD time, DWORD flags);
    void ForEachRealWnd(const std::function<void(IDUIRealWnd&)>& visit);

    DMSmartPtrT<IDMCanvas> m_pAdjustCanvas;
    DMSmartPtrT<IDMDraw> m_pDraw;
    std::unique_ptr<DMDummyWnd> m_pDummyWnd;
    DMSmartPtrT<DMHWnd_XmlInfo> m_pHostXmlInfo;
    DMSmartPtrT<IDMToolTip> m_pToolTip;
    DMStringT m_strXmlId;
    bool m_bTrackFlag = false;
    bool m_bDestroying = false;
};

}  // namespace DM

namespace DMAttr {

class DMHWndAttr {
public:
    static const wchar_t* SIZE_initsize;
    static const wchar_t* SIZE_minsize;
    static const wchar_t* SIZE_maxsize;
    static const wchar_t* RECT_maxinset;
    static const wchar_t* bool_bresize;
    static const wchar_t* bool_btranslucent;
    static const wchar_t* BYTE_alpha;
    static const wchar_t* INT_h;
    static const wchar_t* INT_s;
    static const wchar_t* INT_l;
    static const wchar_t* STRING_title;
    static const wchar_t* STRING_regtip;
    static const wchar_t* STRING_regdraw;
    static const wchar_t* STRING_transid;
};

}  // namespace DMAttr
