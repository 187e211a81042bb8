// The widget base: a node of a host window's widget tree with a rectangle in host client
// coordinates, a state, an attribute record with its style, a layout object and an event
// manager. Widgets have no platform window: the host delivers messages to them with the
// platform's message numbers, through their message maps.
#pragma once

#include <utility>
#include <vector>

#include "DMBase.h"
#include "DMEventMgr.h"
#include "DMRegType.h"
#include "DMSmartPtrT.h"
#include "IDMContainer.h"
#include "IDMLayout.h"
#include "IDMRender.h"
#include "IDMStyle.h"
#include "IDMToolTip.h"

namespace DM {

class DUIWindow;
class DMXmlNode;

// State bits.
constexpr DWORD DUIWNDSTATE_Hover = 0x01;
constexpr DWORD DUIWNDSTATE_PushDown = 0x02;
constexpr DWORD DUIWNDSTATE_Check = 0x04;
constexpr DWORD DUIWNDSTATE_Invisible = 0x08;
constexpr DWORD DUIWNDSTATE_Disable = 0x10;
constexpr DWORD DUIWNDSTATE_NoActive = 0x20;

// Relations for GetWindow.
enum DUIWindowRelation {
    GDW_FIRSTCHILD = 0,
    GDW_LASTCHILD = 1,
    GDW_PREVSIBLING = 2,
    GDW_NEXTSIBLING = 3,
    GDW_PARENT = 4,
    GDW_OWNER = 5,
    GDW_PANELPARENT = 6,
};

// What PushDrawEnviron replaced on a canvas, for PopDrawEnviron to put back.
struct DUIDrawEnviron {
    IDMMetaFile* previousFont = nullptr;  // holds a reference while saved
    DMColor previousColor;
    bool colorChanged = false;
};

// The draw environments of a widget's ancestors and its own, pushed from the root down so that
// fonts and colours inherit, and popped in the reverse order.
class DUIDrawEnvironStack {
public:
    void Push(DUIWindow* widget, IDMCanvas* canvas);
    void Pop(IDMCanvas* canvas);

private:
    std::vector<std::pair<DUIWindow*, DUIDrawEnviron>> m_environs;
};

// Insert as the first child.
inline DUIWindow* const DUIWND_FIRST = reinterpret_cast<DUIWindow*>(static_cast<intptr_t>(-1));

// The values of the "DUIWindowAttr" table and the widget's style object.
class DUIWindow_XmlInfo : public DMBase {
public:
    explicit DUIWindow_XmlInfo(DUIWindow* owner);

    DMCode SetAttribute(const DMStringT& name, const DMStringT& value, bool loading) override;

    DUIWindow* m_pOwner;
    DMStringT m_strName;
    int m_iId = 0;
    bool m_bVisible = true;
    bool m_bDisable = false;
    bool m_bPlaceHolder = true;
    bool m_bCache = false;
    bool m_bOnlyDrawClient = false;
    bool m_bFocusable = false;
    bool m_bShowDrawFocus = false;
    bool m_bNoMsgHandle = false;
    bool m_bDrag = false;
    bool m_bAlwaysRefreshCache = false;
    DMStringT m_strText;
    DMStringT m_strTipText;
    DMStringT m_strTipXmlId;
    int m_iTipDelay = 500;
    int m_iTipSpan = 5000;
    RECT m_rcTipFlags{-1, 0, 0, 0};
    DMSmartPtrT<IDMStyle> m_pStyle;
    int m_nMaxWidth = -1;
    int m_nMaxHeight = -1;
    int m_nMinWidth = -1;
    int m_nMinHeight = -1;
    int m_nHeight = -1;
    int m_nWidth = -1;
    RECT m_rcPadd{0, 0, 0, 0};

private:
    static DMCode OnVisible(DUIWindow_XmlInfo& info, const DMStringT& value, bool loading);
    static DMCode OnDisable(DUIWindow_XmlInfo& info, const DMStringT& value, bool loading);
    static DMCode OnPlaceHolder(DUIWindow_XmlInfo& info, const DMStringT& value, bool loading);
    static DMCode OnCache(DUIWindow_XmlInfo& info, const DMStringT& value, bool loading);
    static DMCode OnStyle(DUIWindow_XmlInfo& info, const DMStringT& value, bool loading);
};

class DUIWindow : public DMBase {
    DMDECLARE_CLASS_NAME(DUIWindow, DMBase, L"window", nullptr, DMREG_Window)
public:
    DUIWindow();
    ~DUIWindow() override;

    // Building from XML.
    DMCode InitDMData(DMXmlNode& node) override;
    DMCode SetAttribute(const DMStringT& name, const DMStringT& value, bool loading) override;
    DMCode OnAttributeFinished(const DMStringT& name, const DMStringT& value, bool loading,
                               DMCode code) override;
    virtual DMCode CreateChildren(DMXmlNode& node);

    // Hit-testing and events.
    virtual DUIWND HitTestPoint(POINT point, bool includeNoMsgHandle = false);
    virtual DMCode FireEvent(DMEventArgs& event);
    // Fires the event on this widget, then on every descendant; 0 when any slot handled it.
    DMCode BroadcastEvent(DMEventArgs& event);

    // Layout.
    virtual DMCode UpdateChildLayout();
    virtual DMCode GetChildLayoutRect(RECT& rect);
    virtual DMCode GetDesiredSize(SIZE& size);
    virtual DMCode GetStateIndex(int& index);
    // The text as shown: the host's translation of it.
    virtual DMCode GetTransText(DMStringT& out, const DMStringT& text);
    // 0 normal, 1 hover, 2 pressed or checked, 3 disabled, 4 inactive.
    static int StateIndexOf(DWORD state);
    virtual DMCode GetTextRect(RECT& rect);
    virtual DMCode GetLayoutRect(RECT& rect);
    virtual DMCode GetClientRect(RECT& rect);
    virtual bool IsStateChangeRedraw();
    // With kind 1: 0 when the last theme switch re-bound the background or non-client skin.
    virtual DMCode IsSkinAffected(int kind);
    // Asks the container to focus this widget.
    virtual DMCode SetFocus();
    // Asks the container to clear the focus when this widget holds it.
    virtual DMCode KillFocus();
    bool IsFocused() const;
    virtual bool IsFocusable() { return XmlInfo().m_bFocusable; }
    // Shows the style's cursor; 1 when the style has none.
    virtual DMCode OnSetCursor(const POINT& point);
    // 0 when the point lies in the widget's non-client part; 1 (all client) by default.
    virtual DMCode OnNcHitTest(const POINT&) { return DM_ECODE_FAIL; }
    // Describes the widget's tip; 1 when it has none.
    virtual DMCode OnUpdateToolTip(const POINT& point, DMToolTipInfo& info);
    // Bit 2: the widget wants the Tab key for itself.
    virtual UINT OnGetDlgCode() { return 0; }
    virtual bool IsSiblingsAutoGroupped() { return false; }
    virtual DUIWindow* GetSelSiblingInGroup() { return nullptr; }
    virtual void OnStateChanged(DWORD oldState, DWORD newState);
    virtual DMCode SetText(const DMStringT& text);
    virtual DMCode DrawText(IDMCanvas* canvas, const wchar_t* text, int length, RECT& rect,
                            UINT format);
    // Characters laid out one by one, a new line at the two characters backslash and 'n' or
    // where the next character would pass the right edge.
    virtual DMCode DrawMultiLineText(IDMCanvas* canvas, const wchar_t* text, int length, RECT& rect,
                                     UINT format, int lineSpacing);
    // The focus rectangle around the text rectangle of a focusable widget.
    virtual DMCode DrawFocus(IDMCanvas* canvas);
    // The rectangle shrunk by 2 on every side, outlined with a grey dotted pen.
    virtual DMCode DrawDefFocusRect(IDMCanvas* canvas, const RECT& rect);
    virtual bool IsDrawEnvironNeeded() { return true; }
    // Selects the state's font and text colour into the canvas.
    virtual DMCode PushDrawEnviron(IDMCanvas* canvas, DUIDrawEnviron& saved);
    virtual DMCode PopDrawEnviron(IDMCanvas* canvas, DUIDrawEnviron& saved);

    // Messages.
    virtual bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    virtual LRESULT DefDUIProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0,
                        bool* handled = nullptr);
    void SetMsgHandled(bool handled) { m_bMsgHandled = handled; }
    bool IsMsgHandled() const { return m_bMsgHandled; }

    // Tree.
    DMCode InsertChild(DUIWindow* child, DUIWindow* after = nullptr);
    DMCode RemoveChild(DUIWindow* child);
    DMCode DestroyChild(DUIWindow* child);
    DUIWindow* GetWindow(int relation) const;
    DUIWindow* GetTopWindow();
    DUIWindow* FindChildByName(const DMStringT& name);
    int GetChildCount() const { return m_nChildrenCount; }
    void SetOwner(DUIWindow* owner) { m_pOwner = owner; }
    void SetContainer(IDMContainer* container);
    IDMContainer* GetContainer() const { return m_pContainer; }

    // State.
    DWORD ModifyState(DWORD add, DWORD remove, bool update = false);
    DWORD GetState() const { return m_dwState; }
    bool IsVisible(bool byState = true) const;
    bool IsDisabled(bool byState = true) const;
    void SetVisible(bool visible, bool update = false);
    void EnableWindow(bool enable, bool update = false);
    DMCode SetCheck(bool checked);

    // Rectangles and painting.
    DMCode SetWndRect(const RECT& rect);
    // The rectangle a flow layout parent computed, cut to every ancestor's child area.
    DMCode ApplyParentRect(const RECT& rect);
    DMCode InvalidateRect(const RECT& rect);
    DMCode Invalidate();
    bool IsPlacedByCode() const { return m_bPlacedByCode; }
    bool IsLaidOut() const { return m_rcWindow.left != POS_INIT; }

    // A canvas for drawing at once, outside the render pass: the window rectangle (the client
    // rectangle with `clientOnly`) cut to the ancestors' client areas and to `rect` when
    // given, with the ancestors' and the widget's draw environments. None while one is out.
    IDMCanvas* GetCanvas(const RECT* rect, DWORD flags, bool clientOnly = false);
    void ReleaseCanvas(IDMCanvas* canvas);

    // The off-screen copy of a "bcache" widget, repainted only when the widget is dirty.
    IDMCanvas* GetCacheCanvas() const { return m_pCacheCanvas.get(); }
    bool IsDirty() const { return m_bDirty; }
    void ClearDirty() { m_bDirty = false; }
    // True when the cache must always be refreshed or the size changed (which is then kept).
    bool IsCacheDirty();
    // Makes the cache canvas when missing, resizes it when its size is out of date.
    void UpdateCacheCanvas();

    // Timers 0..127 on the host window; the host turns them into WM_TIMER with the id.
    DMCode SetTimer(UINT id, UINT elapse);
    DMCode KillTimer(UINT id);
    // Timers without a window; message 2338 with the id when due.
    DMCode SetTimerEx(UINT id, UINT elapse);
    DMCode KillTimerEx(UINT id);
    // The host timer id of a widget timer: the id with bit 7 in the top byte, then the handle.
    static plat::UINT_PTR HostTimerId(DUIWND widget, UINT id);

    DUIWND GetDUIWnd() const { return m_hDUIWnd; }
    const DMStringT& GetName() const { return m_pXmlInfo->m_strName; }
    int GetID() const { return m_pXmlInfo->m_iId; }
    const DMStringT& GetText() const { return m_pXmlInfo->m_strText; }
    IDMStyle* GetStyle() const { return m_pXmlInfo->m_pStyle.get(); }
    IDMLayout* GetLayout() const { return m_pLayout.get(); }
    DUIWindow_XmlInfo& XmlInfo() { return *m_pXmlInfo; }
    DMEventMgr& GetEventMgr() { return m_EventMgr; }

    RECT m_rcWindow{POS_INIT, POS_INIT, POS_INIT, POS_INIT};

protected:
    // The base message handlers.
    LRESULT OnCreate(WPARAM, LPARAM) { return 0; }
    LRESULT OnDestroy(WPARAM, LPARAM);
    LRESULT OnSetFocus(WPARAM, LPARAM);
    LRESULT OnKillFocus(WPARAM, LPARAM);
    LRESULT OnEnable(WPARAM enable, LPARAM fromParent);
    LRESULT OnPaint(WPARAM canvas, LPARAM);
    LRESULT OnEraseBkgnd(WPARAM canvas, LPARAM);
    LRESULT OnShowWindow(WPARAM show, LPARAM fromParent);
    LRESULT OnWindowPosChanged(WPARAM, LPARAM parentRect);
    LRESULT OnNcCalcSize(WPARAM, LPARAM) { return 0; }
    LRESULT OnNcPaint(WPARAM canvas, LPARAM);
    LRESULT OnSize(WPARAM, LPARAM);
    LRESULT OnLButtonDown(WPARAM, LPARAM point);
    LRESULT OnLButtonUp(WPARAM, LPARAM point);
    LRESULT OnMouseWheel(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseHover(WPARAM, LPARAM);
    LRESULT OnMouseLeave(WPARAM, LPARAM);

    bool IsParentFlowLayout() const;
    // The tip's target rectangle in screen coordinates.
    void SetScreenTarget(DMToolTipInfo& info);
    // WM_NCCALCSIZE, WM_SIZE and the children's layout after the rectangle changed.
    void OnRectChanged();
    bool m_bMsgHandled = false;

private:
    DUIWND m_hDUIWnd;
    DWORD m_dwState = 0;
    DUIWindow* m_pOwner = nullptr;
    DUIWindow* m_pParent = nullptr;
    DUIWindow* m_pFirstChild = nullptr;
    DUIWindow* m_pLastChild = nullptr;
    DUIWindow* m_pNextSibling = nullptr;
    DUIWindow* m_pPrevSibling = nullptr;
    int m_nChildrenCount = 0;
    DMSmartPtrT<DUIWindow_XmlInfo> m_pXmlInfo;
    DMEventMgr m_EventMgr;
    IDMContainer* m_pContainer = nullptr;
    DMSmartPtrT<IDMLayout> m_pLayout;
    bool m_bPlacedByCode = false;
    DMSmartPtrT<IDMCanvas> m_pCacheCanvas;
    bool m_bDirty = true;
    SIZE m_szCache{-1, -1};
    RECT m_rcGetCanvas{0, 0, 0, 0};
    int m_nGetCanvasFlags = -1;
    bool m_bClipCanvas = false;
    bool m_bCanvasFromContainer = false;
    DUIDrawEnvironStack m_canvasEnvirons;
};

}  // namespace DM

namespace DMAttr {

class DUIWindowAttr {
public:
    static const wchar_t* STRING_name;
    static const wchar_t* INT_id;
    static const wchar_t* bool_bvisible;
    static const wchar_t* bool_bdisable;
    static const wchar_t* bool_bplaceholder;
    static const wchar_t* bool_bcache;
    static const wchar_t* bool_bolnydrawclient;
    static const wchar_t* bool_bfocusable;
    static const wchar_t* bool_bshowdrawfocus;
    static const wchar_t* bool_bmsgnohandle;
    static const wchar_t* bool_bdrag;
    static const wchar_t* STRING_text;
    static const wchar_t* STRING_tiptext;
    static const wchar_t* STRING_tipxmlid;
    static const wchar_t* INT_tipdelay;
    static const wchar_t* INT_tipspan;
    static const wchar_t* RECT_tipflags;
    static const wchar_t* INT_maxwidth;
    static const wchar_t* INT_minwidth;
    static const wchar_t* INT_maxheight;
    static const wchar_t* INT_minheight;
    static const wchar_t* INT_height;
    static const wchar_t* INT_width;
    static const wchar_t* RECT_rcpadd;
    static const wchar_t* STRING_style;
};

}  // namespace DMAttr
