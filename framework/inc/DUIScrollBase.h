// "ScrollBase": the base of every scrollable widget. A vertical and a horizontal scroll bar live
// in the widget's non-client band and are painted by a scroll-bar skin; arrows repeat while
// held, the rails page, the thumb drags and the wheel scrolls. A virtual content area ("range")
// and its scroll origin ("curpos") follow the bars while the bars are automatic.
#pragma once

#include <initializer_list>

#include "DUIWindow.h"
#include "IDMSkin.h"

namespace DMAttr {

class DUIScrollBaseAttr {
public:
    static const wchar_t* bool_bnowheelscroll;
    static const wchar_t* bool_bpagesplit;
    static const wchar_t* SKIN_sbskin;
    static const wchar_t* INT_sbwidth;
    static const wchar_t* INT_arrowwidth;
    static const wchar_t* INT_minithumblen;
    static const wchar_t* OPTION_sbenable;
    static const wchar_t* SIZE_range;
    static const wchar_t* POINT_curpos;
};

}  // namespace DMAttr

namespace DM {

// Bar bits of the shown and enabled bars.
constexpr int DMSB_HORZ = 1;
constexpr int DMSB_VERT = 2;
constexpr int DMSB_BOTH = 3;

// Part codes of a bar; the scroll codes share 0 to 3 and add set position (4) and track (5).
constexpr int SB_LINEUP_PART = 0;
constexpr int SB_LINEDOWN_PART = 1;
constexpr int SB_PAGEUP_PART = 2;
constexpr int SB_PAGEDOWN_PART = 3;
constexpr int SB_THUMB_PART = 5;
constexpr int SB_CORNER_PART = 10;
constexpr int SB_CODE_SETPOS = 4;
constexpr int SB_CODE_TRACK = 5;

// One bar's range, page and position; the track position is -1 unless the thumb is dragged.
struct DMScrollInfo {
    int nMin = 0;
    int nMax = 0;
    int nPage = 0;
    int nPos = 0;
    int nTrackPos = -1;
};

// The part of a bar under a point; part -1 when none.
struct DMScrollHit {
    int iPart = -1;
    bool bVert = false;
};

class DUIScrollBase : public DUIWindow {
    DMDECLARE_CLASS_NAME(DUIScrollBase, DUIWindow, L"ScrollBase", L"window", DMREG_Window)
public:
    DUIScrollBase();
    ~DUIScrollBase() override;

    DMCode SetAttribute(const DMStringT& name, const DMStringT& value, bool loading) override;
    DMCode IsSkinAffected(int kind) override;
    // The base client rectangle less the shown bars.
    DMCode GetClientRect(RECT& rect) override;
    DMCode OnNcHitTest(const POINT& point) override;
    bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    // Recomputes both bars from "range" and the widget's size.
    virtual DMCode UpdateScrollBar();
    // Moves a bar's position for a scroll code; fires "DMEVT_SC_ONSCROLL".
    virtual bool OnScroll(bool vertical, int code, int position);
    virtual int GetScrollLineSize(bool) { return 10; }
    virtual void OnRangeSizeChanged(SIZE, SIZE) {}
    virtual void OnRangeCurPosChanged(POINT, POINT) { UpdateChildLayout(); }

    void ShowScrollBar(int bars, bool show);
    void EnableScrollBar(int bars, bool enable);
    bool SetScrollRange(bool vertical, int minimum, int maximum, bool redraw);
    bool SetScrollPos(bool vertical, int position, bool redraw);
    int GetScrollPos(bool vertical) const { return Info(vertical).nPos; }
    const DMScrollInfo& Info(bool vertical) const { return vertical ? m_siVer : m_siHoz; }
    DMScrollInfo& Info(bool vertical) { return vertical ? m_siVer : m_siHoz; }
    void SetRangeSize(SIZE size);
    void SetRangeCurPos(POINT position);
    DMScrollHit HitTest(POINT point);
    // An immediate repaint of the host, at most once per update interval.
    void ScrollUpdateWindow();

    // A bar's rectangle, empty when the bar is not shown.
    RECT GetSbRect(bool vertical);
    // A part's rectangle; with `splitPages` off both rail parts answer the whole rail.
    RECT GetSbPartRect(bool vertical, int part, bool splitPages);
    RECT GetSbRailRect(bool vertical);
    bool IsBarShown(bool vertical) const;
    bool IsBarEnabled(bool vertical) const;
    // 0 normal, 1 hover, 2 pressed, 3 disabled.
    int GetPartState(bool vertical, int part);

    bool m_bNoWheelScroll = false;
    bool m_bPageSplit = true;
    DMSmartPtrT<IDMSkin> m_pSbSkin;
    RECT m_rcClient{0, 0, 0, 0};
    int m_nSbWidth = -1;
    int m_wBarVisible = 0;
    int m_wBarEnable = DMSB_BOTH;
    int m_nArrowLen = -1;
    int m_nMiniThumbLen = 18;
    int m_iHoverPart = -1;
    bool m_bHoverVert = false;
    // The arrow or rail part held down, which the auto-repeat scrolls wherever the mouse goes.
    int m_iRepeatPart = -1;
    bool m_bRepeatVert = false;
    DMScrollInfo m_siVer;
    DMScrollInfo m_siHoz;
    int m_nDragPos = 0;
    POINT m_ptDragStart{0, 0};
    bool m_bDragging = false;
    DWORD m_dwLastUpdateTime = 0;
    DWORD m_dwUpdateInterval = 0;
    SIZE m_szRange{-1, -1};
    POINT m_ptCurPos{0, 0};
    int m_iAutoBars = 1;

protected:
    RECT BaseClientRect();
    // Draws the parts of a bar at once, in their states, through a canvas of the bar.
    void DrawPartsNow(bool vertical, std::initializer_list<int> parts);
    void DrawPart(IDMCanvas* canvas, bool vertical, int part, int state);

    LRESULT OnSbCreate(WPARAM, LPARAM);
    LRESULT OnSbSize(WPARAM, LPARAM);
    LRESULT OnSbShowWindow(WPARAM show, LPARAM fromParent);
    LRESULT OnSbNcCalcSize(WPARAM, LPARAM);
    LRESULT OnSbNcPaint(WPARAM canvas, LPARAM);
    LRESULT OnNcMouseMove(WPARAM, LPARAM point);
    LRESULT OnNcLButtonDown(WPARAM, LPARAM point);
    LRESULT OnNcLButtonUp(WPARAM, LPARAM point);
    LRESULT OnNcMouseLeave(WPARAM, LPARAM);
    LRESULT OnSbTimer(WPARAM id, LPARAM);
    LRESULT OnSbMouseWheel(WPARAM wParam, LPARAM lParam);

private:
    static DMCode OnSbSkin(DUIScrollBase& widget, const DMStringT& value, bool loading);
    static DMCode OnSbWidth(DUIScrollBase& widget, const DMStringT& value, bool loading);
    static DMCode OnSbEnable(DUIScrollBase& widget, const DMStringT& value, bool loading);
    static DMCode OnRange(DUIScrollBase& widget, const DMStringT& value, bool loading);
    static DMCode OnCurPos(DUIScrollBase& widget, const DMStringT& value, bool loading);
    // Bar width from the skin (state 0 width / 9) and arrow length from the bar width, where
    // they are still -1.
    void TakeSizesFromSkin();
    int DragThumbLength(bool vertical);
    void DragThumb(POINT point);
    void HoverOver(POINT point);
};

}  // namespace DM
