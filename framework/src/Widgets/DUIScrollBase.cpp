#include "DUIScrollBase.h"

#include <algorithm>

#include "DMApp.h"
#include "DMAttrTable.h"
#include "DMRectHelpers.h"
#include "plat/input.h"
#include "plat/keyboard.h"
#include "plat/message_queue.h"
#include "plat/messages.h"
#include "plat/tick.h"

namespace DMAttr {

DMATTR_DEFINE(DUIScrollBaseAttr, bool_bnowheelscroll)
DMATTR_DEFINE(DUIScrollBaseAttr, bool_bpagesplit)
DMATTR_DEFINE(DUIScrollBaseAttr, SKIN_sbskin)
DMATTR_DEFINE(DUIScrollBaseAttr, INT_sbwidth)
DMATTR_DEFINE(DUIScrollBaseAttr, INT_arrowwidth)
DMATTR_DEFINE(DUIScrollBaseAttr, INT_minithumblen)
DMATTR_DEFINE(DUIScrollBaseAttr, OPTION_sbenable)
DMATTR_DEFINE(DUIScrollBaseAttr, SIZE_range)
DMATTR_DEFINE(DUIScrollBaseAttr, POINT_curpos)

}  // namespace DMAttr

namespace DM {
namespace {

using DMAttr::DUIScrollBaseAttr;

constexpr UINT kFirstDelayTimer = 1;
constexpr UINT kRepeatTimer = 2;
constexpr UINT kFirstDelay = 500;
constexpr UINT kRepeatPeriod = 50;
constexpr LPARAM kSetCursorFromWheel = 0x2000001;

int BarBit(bool vertical) {
    return vertical ? DMSB_VERT : DMSB_HORZ;
}

int Along(const RECT& rect, bool vertical) {
    return vertical ? rect.bottom - rect.top : rect.right - rect.left;
}

int ClampPosition(const DMScrollInfo& info, int position) {
    return std::max(info.nMin, std::min(position, info.nMax - info.nPage + 1));
}

}  // namespace

DUIScrollBase::DUIScrollBase() {
    XmlInfo().m_bOnlyDrawClient = true;
}

DUIScrollBase::~DUIScrollBase() = default;

DMCode DUIScrollBase::SetAttribute(const DMStringT& name, const DMStringT& value, bool loading) {
    using S = DUIScrollBase;
    static const DMAttributeEntry<DUIScrollBase> kTable[] = {
        {&DUIScrollBaseAttr::bool_bnowheelscroll, &BoolAttribute<&S::m_bNoWheelScroll, DMATTR_OK>},
        {&DUIScrollBaseAttr::bool_bpagesplit, &BoolAttribute<&S::m_bPageSplit, DMATTR_PAINT>},
        {&DUIScrollBaseAttr::SKIN_sbskin, &S::OnSbSkin},
        {&DUIScrollBaseAttr::INT_sbwidth, &S::OnSbWidth},
        {&DUIScrollBaseAttr::INT_arrowwidth, &IntAttribute<&S::m_nArrowLen, DMATTR_PAINT>},
        {&DUIScrollBaseAttr::INT_minithumblen, &IntAttribute<&S::m_nMiniThumbLen, DMATTR_PAINT>},
        {&DUIScrollBaseAttr::OPTION_sbenable, &S::OnSbEnable},
        {&DUIScrollBaseAttr::SIZE_range, &S::OnRange},
        {&DUIScrollBaseAttr::POINT_curpos, &S::OnCurPos},
    };
    DMCode code = DMATTR_FAIL;
    if (DispatchAttribute(*this, kTable, name, value, loading, code)) {
        return OnAttributeFinished(name, value, loading, code);
    }
    return DUIWindow::SetAttribute(name, value, loading);
}

DMCode DUIScrollBase::OnSbSkin(DUIScrollBase& widget, const DMStringT& value, bool loading) {
    widget.m_pSbSkin = DMSmartPtrT<IDMSkin>(DMApp::GetObjPtr()->GetSkin(value));
    if (!loading) {
        if (widget.m_pSbSkin) {
            widget.TakeSizesFromSkin();
        } else {
            widget.m_nSbWidth = widget.m_nArrowLen = -1;
        }
        widget.InvalidateRect(widget.m_rcWindow);
    }
    return DMATTR_OK;
}

DMCode DUIScrollBase::OnSbWidth(DUIScrollBase& widget, const DMStringT& value, bool loading) {
    int old = widget.m_nSbWidth;
    ParseInt(value, widget.m_nSbWidth);
    if (!loading && old != widget.m_nSbWidth) {
        widget.InvalidateRect(widget.m_rcWindow);
    }
    return DMATTR_OK;
}

DMCode DUIScrollBase::OnSbEnable(DUIScrollBase& widget, const DMStringT& value, bool loading) {
    int old = widget.m_wBarEnable;
    ParseInt(value, widget.m_wBarEnable);
    if (!loading && old != widget.m_wBarEnable) {
        widget.InvalidateRect(widget.m_rcWindow);
    }
    return DMATTR_OK;
}

DMCode DUIScrollBase::OnRange(DUIScrollBase& widget, const DMStringT& value, bool loading) {
    SIZE size = widget.m_szRange;
    ParseSize(value, size);
    if (loading) {
        widget.m_szRange = size;
    } else {
        widget.SetRangeSize(size);
    }
    return DMATTR_OK;
}

DMCode DUIScrollBase::OnCurPos(DUIScrollBase& widget, const DMStringT& value, bool loading) {
    POINT position = widget.m_ptCurPos;
    ParsePoint(value, position);
    if (loading) {
        widget.m_ptCurPos = position;
    } else {
        widget.SetRangeCurPos(position);
    }
    return DMATTR_OK;
}

void DUIScrollBase::TakeSizesFromSkin() {
    SIZE state{};
    if (m_nSbWidth == -1 && m_pSbSkin->GetStateSize(state, 0) == DM_ECODE_OK) {
        m_nSbWidth = state.cx / 9;
    }
    if (m_nArrowLen == -1) {
        m_nArrowLen = m_nSbWidth;
    }
}

DMCode DUIScrollBase::IsSkinAffected(int kind) {
    if (m_pSbSkin && DMApp::GetObjPtr()->IsSkinUpdated(m_pSbSkin.get(), 1)) {
        return DM_ECODE_OK;
    }
    return DUIWindow::IsSkinAffected(kind);
}

RECT DUIScrollBase::BaseClientRect() {
    RECT rect{};
    DUIWindow::GetClientRect(rect);
    return rect;
}

DMCode DUIScrollBase::GetClientRect(RECT& rect) {
    rect = m_rcClient;
    return IsLaidOut() ? DM_ECODE_OK : DM_ECODE_FAIL;
}

// While the thumb is dragged every point belongs to the bars.
DMCode DUIScrollBase::OnNcHitTest(const POINT& point) {
    if (m_bDragging) {
        return DM_ECODE_OK;
    }
    return PointInRect(m_rcClient, point) ? DM_ECODE_FAIL : DM_ECODE_OK;
}

bool DUIScrollBase::IsBarShown(bool vertical) const {
    return (m_wBarVisible & BarBit(vertical)) && m_pSbSkin;
}

bool DUIScrollBase::IsBarEnabled(bool vertical) const {
    return (m_wBarEnable & BarBit(vertical)) != 0;
}

RECT DUIScrollBase::GetSbRect(bool vertical) {
    if (!IsBarShown(vertical)) {
        return {0, 0, 0, 0};
    }
    RECT bar = BaseClientRect();
    if (vertical) {
        bar.left = bar.right - m_nSbWidth;
        if (IsBarShown(false)) {
            bar.bottom -= m_nSbWidth;
        }
    } else {
        bar.top = bar.bottom - m_nSbWidth;
        if (IsBarShown(true)) {
            bar.right -= m_nSbWidth;
        }
    }
    return bar;
}

RECT DUIScrollBase::GetSbRailRect(bool vertical) {
    RECT rail = GetSbRect(vertical);
    if (IsEmptyRect(rail)) {
        return rail;
    }
    (vertical ? rail.top : rail.left) += m_nArrowLen;
    (vertical ? rail.bottom : rail.right) -= m_nArrowLen;
    return rail;
}

RECT DUIScrollBase::GetSbPartRect(bool vertical, int part, bool splitPages) {
    RECT bar = GetSbRect(vertical);
    if (IsEmptyRect(bar)) {
        return bar;
    }
    const DMScrollInfo& info = Info(vertical);
    int length = Along(bar, vertical);
    int arrow = m_nArrowLen;
    int position = info.nTrackPos != -1 ? info.nTrackPos : info.nPos;
    int lastOfFirstPage = info.nMin + info.nPage - 1;
    int top = std::max(info.nMax, lastOfFirstPage);
    int rail = std::max(0, length - 2 * arrow);
    int thumb = static_cast<int>(static_cast<unsigned>(info.nPage * rail) /
                                 static_cast<unsigned>(top - info.nMin + 1));
    if (thumb == 0) {
        thumb = m_nMiniThumbLen;
    }
    if (lastOfFirstPage >= top) {
        thumb = 0;
    }
    if (thumb > 0 && thumb < m_nMiniThumbLen) {
        thumb = m_nMiniThumbLen;
    }
    if (rail < m_nMiniThumbLen) {
        thumb = 0;
    }
    if (rail == 0) {
        arrow = length / 2;
    }
    int before =
        thumb ? (rail - thumb) * position / (info.nMax + 1 - info.nPage - info.nMin) : rail / 2;
    int start = 0;
    int end = 0;
    switch (part) {
        case SB_LINEUP_PART:
            end = arrow;
            break;
        case SB_LINEDOWN_PART:
            start = length - arrow;
            end = length;
            break;
        case SB_PAGEUP_PART:
            start = arrow;
            end = splitPages ? arrow + before : length - arrow;
            break;
        case SB_PAGEDOWN_PART:
            start = splitPages ? arrow + before + thumb : arrow;
            end = length - arrow;
            break;
        case SB_THUMB_PART:
            start = arrow + before;
            end = start + thumb;
            break;
        default:
            return {0, 0, 0, 0};
    }
    if (vertical) {
        return {bar.left, bar.top + start, bar.right, bar.top + end};
    }
    return {bar.left + start, bar.top, bar.left + end, bar.bottom};
}

// The page parts are told apart here whatever "bpagesplit" says.
DMScrollHit DUIScrollBase::HitTest(POINT point) {
    DMScrollHit hit;
    for (bool vertical : {true, false}) {
        if (!PointInRect(GetSbRect(vertical), point)) {
            continue;
        }
        hit.bVert = vertical;
        for (int part :
             {SB_LINEUP_PART, SB_LINEDOWN_PART, SB_THUMB_PART, SB_PAGEUP_PART, SB_PAGEDOWN_PART}) {
            if (PointInRect(GetSbPartRect(vertical, part, true), point)) {
                hit.iPart = part;
                break;
            }
        }
        return hit;
    }
    return hit;
}

int DUIScrollBase::DragThumbLength(bool vertical) {
    const DMScrollInfo& info = Info(vertical);
    int rail = Along(GetSbRect(vertical), vertical) - 2 * m_nArrowLen;
    if (rail < m_nMiniThumbLen) {
        return 0;
    }
    int thumb = rail * info.nPage / std::max(1, info.nMax - info.nMin + 1);
    return std::max(thumb, m_nMiniThumbLen);
}

int DUIScrollBase::GetPartState(bool vertical, int part) {
    if (IsDisabled(true) || !IsBarEnabled(vertical)) {
        return 3;
    }
    if (vertical == m_bHoverVert && m_iHoverPart != -1) {
        bool page = part == SB_PAGEUP_PART || part == SB_PAGEDOWN_PART;
        bool hoverPage = m_iHoverPart == SB_PAGEUP_PART || m_iHoverPart == SB_PAGEDOWN_PART;
        if (part == m_iHoverPart || (!m_bPageSplit && page && hoverPage)) {
            return plat::GetAsyncKeyState(plat::VK_LBUTTON) < 0 ? 2 : 1;
        }
    }
    if (part == SB_THUMB_PART && m_bDragging && vertical == m_bHoverVert) {
        return 2;
    }
    return 0;
}

// Part code in the low 16 bits, state in bits 16 to 23, 1 in the top byte for a vertical bar.
void DUIScrollBase::DrawPart(IDMCanvas* canvas, bool vertical, int part, int state) {
    RECT rect = part == SB_CORNER_PART ? RECT{} : GetSbPartRect(vertical, part, m_bPageSplit);
    if (part != SB_CORNER_PART && IsEmptyRect(rect)) {
        return;
    }
    if (part == SB_CORNER_PART) {
        RECT base = BaseClientRect();
        rect = {base.right - m_nSbWidth, base.bottom - m_nSbWidth, base.right, base.bottom};
    }
    int packed = part | (state << 16) | ((vertical ? 1 : 0) << 24);
    m_pSbSkin->Draw(canvas, rect, packed, 0xFF);
}

void DUIScrollBase::DrawPartsNow(bool vertical, std::initializer_list<int> parts) {
    if (!m_pSbSkin || !IsBarShown(vertical)) {
        return;
    }
    RECT bar = GetSbRect(vertical);
    IDMCanvas* canvas = GetCanvas(&bar, DMCANVAS_DRAWAROUND);
    if (!canvas) {
        return;
    }
    for (int part : parts) {
        DrawPart(canvas, vertical, part, GetPartState(vertical, part));
    }
    ReleaseCanvas(canvas);
}

void DUIScrollBase::ShowScrollBar(int bars, bool show) {
    m_wBarVisible = show ? (m_wBarVisible | bars) : (m_wBarVisible & ~bars);
    SendMessage(plat::WM_NCCALCSIZE);
    InvalidateRect(m_rcWindow);
}

void DUIScrollBase::EnableScrollBar(int bars, bool enable) {
    m_wBarEnable = enable ? (m_wBarEnable | bars) : (m_wBarEnable & ~bars);
    for (bool vertical : {true, false}) {
        if ((bars & BarBit(vertical)) && IsBarShown(vertical)) {
            InvalidateRect(GetSbRect(vertical));
        }
    }
}

bool DUIScrollBase::SetScrollRange(bool vertical, int minimum, int maximum, bool redraw) {
    DMScrollInfo& info = Info(vertical);
    info.nMin = minimum;
    info.nMax = maximum;
    info.nPos = ClampPosition(info, info.nPos);
    if (redraw) {
        InvalidateRect(GetSbRect(vertical));
    }
    return true;
}

bool DUIScrollBase::SetScrollPos(bool vertical, int position, bool redraw) {
    DMScrollInfo& info = Info(vertical);
    info.nPos = ClampPosition(info, position);
    if (redraw) {
        InvalidateRect(GetSbRect(vertical));
    }
    OnScroll(vertical, SB_CODE_SETPOS, info.nPos);
    return true;
}

void DUIScrollBase::SetRangeSize(SIZE size) {
    if (size.cx == m_szRange.cx && size.cy == m_szRange.cy) {
        return;
    }
    SIZE old = m_szRange;
    m_szRange = size;
    UpdateScrollBar();
    OnRangeSizeChanged(old, size);
}

void DUIScrollBase::SetRangeCurPos(POINT position) {
    if (position.x == m_ptCurPos.x && position.y == m_ptCurPos.y) {
        return;
    }
    POINT old = m_ptCurPos;
    m_ptCurPos = position;
    OnRangeCurPosChanged(old, position);
    Invalidate();
}

void DUIScrollBase::ScrollUpdateWindow() {
    DWORD now = plat::GetTickCount();
    if (now - m_dwLastUpdateTime < m_dwUpdateInterval || !GetContainer()) {
        return;
    }
    GetContainer()->OnUpdateWindow();
    m_dwLastUpdateTime = now;
}

DMCode DUIScrollBase::UpdateScrollBar() {
    RECT client = BaseClientRect();
    if (IsEmptyRect(client)) {
        m_wBarVisible = 0;
        return DM_ECODE_OK;
    }
    int width = client.right - client.left;
    int height = client.bottom - client.top;
    int rangeWidth = m_szRange.cx;
    int rangeHeight = m_szRange.cy;
    int bar = m_nSbWidth;
    POINT old = m_ptCurPos;
    if (height < rangeHeight || (width < rangeWidth && height < rangeHeight + bar)) {
        m_siVer.nMin = 0;
        m_siVer.nMax = rangeHeight - 1;
        m_siVer.nPage = height;
        m_wBarVisible = DMSB_VERT;
        if (width < bar + rangeWidth) {
            m_wBarVisible = DMSB_BOTH;
            m_siVer.nPage = std::max(0, height - bar);
            m_siHoz = {0, rangeWidth - 1, std::max(0, width - bar), m_siHoz.nPos,
                       m_siHoz.nTrackPos};
        } else {
            m_siHoz = {0, width - 1, width, 0, m_siHoz.nTrackPos};
            m_ptCurPos.x = 0;
        }
    } else {
        m_siVer = {0, height - 1, height, 0, m_siVer.nTrackPos};
        m_ptCurPos.y = 0;
        m_siHoz.nMin = 0;
        m_siHoz.nPage = width;
        if (width < rangeWidth) {
            m_wBarVisible = DMSB_HORZ;
            m_siHoz.nMax = rangeWidth - 1;
        } else {
            m_siHoz.nMax = width - 1;
            m_siHoz.nPos = 0;
            m_ptCurPos.x = 0;
            m_wBarVisible = 0;
        }
    }
    m_siVer.nPos = ClampPosition(m_siVer, m_siVer.nPos);
    m_siHoz.nPos = ClampPosition(m_siHoz, m_siHoz.nPos);
    POINT reset = m_ptCurPos;
    InvalidateRect(GetSbRect(true));
    OnScroll(true, SB_CODE_SETPOS, m_siVer.nPos);
    OnScroll(false, SB_CODE_SETPOS, m_siHoz.nPos);
    SendMessage(plat::WM_NCCALCSIZE);
    if (reset.x != old.x || reset.y != old.y) {
        OnRangeCurPosChanged(old, m_ptCurPos);
    }
    InvalidateRect(m_rcWindow);
    return DM_ECODE_OK;
}

bool DUIScrollBase::OnScroll(bool vertical, int code, int position) {
    DMScrollInfo& info = Info(vertical);
    int moved = info.nPos;
    switch (code) {
        case SB_LINEUP_PART:
            moved -= GetScrollLineSize(vertical);
            break;
        case SB_LINEDOWN_PART:
            moved += GetScrollLineSize(vertical);
            break;
        case SB_PAGEUP_PART:
            moved -= info.nPage;
            break;
        case SB_PAGEDOWN_PART:
            moved += info.nPage;
            break;
        case SB_CODE_SETPOS:
        case SB_CODE_TRACK:
            moved = position;
            break;
        default:
            break;
    }
    moved = std::max(moved, info.nMin);
    moved = info.nPage == 0 ? 0 : std::min(moved, info.nMax - info.nPage + 1);
    if (moved != info.nPos) {
        info.nPos = moved;
        if (code != SB_CODE_TRACK) {
            info.nTrackPos = -1;
            DrawPartsNow(vertical, {SB_PAGEUP_PART, SB_PAGEDOWN_PART, SB_THUMB_PART});
        }
    }
    InvalidateRect(m_rcWindow);
    if (m_iAutoBars == 1) {
        SetRangeCurPos({m_siHoz.nPos, m_siVer.nPos});
    }
    DMEventOnScrollArgs event(this);
    event.m_iSbCode = code;
    event.m_nPos = position;
    event.m_bVert = vertical;
    FireEvent(event);
    return true;
}

bool DUIScrollBase::ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                         LRESULT& result) {
    using Handler = LRESULT (DUIScrollBase::*)(WPARAM, LPARAM);
    Handler handler = nullptr;
    switch (message) {
        case plat::WM_CREATE:
            handler = &DUIScrollBase::OnSbCreate;
            break;
        case plat::WM_SIZE:
            handler = &DUIScrollBase::OnSbSize;
            break;
        case plat::WM_SHOWWINDOW:
            handler = &DUIScrollBase::OnSbShowWindow;
            break;
        case plat::WM_NCCALCSIZE:
            handler = &DUIScrollBase::OnSbNcCalcSize;
            break;
        case plat::WM_NCPAINT:
            handler = &DUIScrollBase::OnSbNcPaint;
            break;
        case plat::WM_NCMOUSEMOVE:
            handler = &DUIScrollBase::OnNcMouseMove;
            break;
        case plat::WM_NCLBUTTONDOWN:
            handler = &DUIScrollBase::OnNcLButtonDown;
            break;
        case plat::WM_NCLBUTTONUP:
            handler = &DUIScrollBase::OnNcLButtonUp;
            break;
        case plat::WM_TIMER:
            handler = &DUIScrollBase::OnSbTimer;
            break;
        case plat::WM_MOUSEWHEEL:
            handler = &DUIScrollBase::OnSbMouseWheel;
            break;
        case plat::WM_NCMOUSELEAVE:
            handler = &DUIScrollBase::OnNcMouseLeave;
            break;
        default:
            return DUIWindow::ProcessWindowMessage(message, wParam, lParam, result);
    }
    SetMsgHandled(true);
    result = (this->*handler)(wParam, lParam);
    if (IsMsgHandled()) {
        return true;
    }
    return DUIWindow::ProcessWindowMessage(message, wParam, lParam, result);
}

LRESULT DUIScrollBase::OnSbCreate(WPARAM, LPARAM) {
    if (m_pSbSkin) {
        TakeSizesFromSkin();
    } else if (m_nArrowLen == -1) {
        m_nArrowLen = m_nSbWidth;
    }
    RECT client = BaseClientRect();
    if (m_szRange.cx == -1) {
        m_szRange.cx = client.right - client.left;
    }
    if (m_szRange.cy == -1) {
        m_szRange.cy = client.bottom - client.top;
    }
    return 0;
}

LRESULT DUIScrollBase::OnSbSize(WPARAM wParam, LPARAM lParam) {
    if (m_iAutoBars == 1) {
        UpdateScrollBar();
    }
    return OnSize(wParam, lParam);
}

LRESULT DUIScrollBase::OnSbShowWindow(WPARAM show, LPARAM) {
    if (!show && m_bDragging) {
        OnNcLButtonUp(0, 0);
    }
    SetMsgHandled(false);
    return 0;
}

LRESULT DUIScrollBase::OnSbNcCalcSize(WPARAM, LPARAM) {
    m_rcClient = BaseClientRect();
    if (!IsEmptyRect(m_rcClient)) {
        if (IsBarShown(true)) {
            m_rcClient.right -= m_nSbWidth;
        }
        if (IsBarShown(false)) {
            m_rcClient.bottom -= m_nSbWidth;
        }
    }
    return 0;
}

LRESULT DUIScrollBase::OnSbNcPaint(WPARAM canvasParam, LPARAM) {
    OnNcPaint(canvasParam, 0);
    if (!m_pSbSkin || !(IsBarShown(true) || IsBarShown(false))) {
        return 0;
    }
    auto* canvas = reinterpret_cast<IDMCanvas*>(canvasParam);
    bool own = !canvas;
    if (own && !(canvas = GetCanvas(&m_rcWindow, DMCANVAS_DRAWAROUND))) {
        return 0;
    }
    for (bool vertical : {false, true}) {
        if (!IsBarShown(vertical)) {
            continue;
        }
        for (int part :
             {SB_LINEUP_PART, SB_PAGEUP_PART, SB_PAGEDOWN_PART, SB_THUMB_PART, SB_LINEDOWN_PART}) {
            DrawPart(canvas, vertical, part, GetPartState(vertical, part));
        }
    }
    if (IsBarShown(true) && IsBarShown(false)) {
        DrawPart(canvas, false, SB_CORNER_PART, IsDisabled(true) || !IsBarEnabled(false) ? 3 : 0);
    }
    if (own) {
        ReleaseCanvas(canvas);
    }
    return 0;
}

LRESULT DUIScrollBase::OnNcLButtonDown(WPARAM, LPARAM lParam) {
    DMScrollHit hit = HitTest(PointFromLParam(lParam));
    m_iHoverPart = hit.iPart;
    m_bHoverVert = hit.bVert;
    if (hit.iPart == -1 || !IsBarEnabled(hit.bVert)) {
        return 0;
    }
    if (IDMContainer* container = GetContainer()) {
        container->OnSetCapture(GetDUIWnd());
    }
    if (hit.iPart == SB_LINEUP_PART || hit.iPart == SB_LINEDOWN_PART) {
        DrawPartsNow(hit.bVert, {hit.iPart});
    }
    if (hit.iPart == SB_THUMB_PART) {
        m_bDragging = true;
        m_ptDragStart = PointFromLParam(lParam);
        m_nDragPos = Info(hit.bVert).nPos;
        m_dwLastUpdateTime = plat::GetTickCount() - m_dwUpdateInterval;
        DrawPartsNow(hit.bVert, {SB_PAGEUP_PART, SB_PAGEDOWN_PART, SB_THUMB_PART});
        return 0;
    }
    m_iRepeatPart = hit.iPart;
    m_bRepeatVert = hit.bVert;
    OnScroll(hit.bVert, hit.iPart, Info(hit.bVert).nPos);
    SetTimer(kFirstDelayTimer, kFirstDelay);
    return 0;
}

// The repetition goes on while the button is held, wherever the mouse is.
LRESULT DUIScrollBase::OnSbTimer(WPARAM id, LPARAM) {
    if (id == kFirstDelayTimer) {
        KillTimer(kFirstDelayTimer);
        SetTimer(kRepeatTimer, kRepeatPeriod);
    } else if (id != kRepeatTimer) {
        SetMsgHandled(false);
        return 0;
    }
    if (m_iRepeatPart >= SB_LINEUP_PART && m_iRepeatPart <= SB_PAGEDOWN_PART) {
        OnScroll(m_bRepeatVert, m_iRepeatPart, 0);
    }
    return 0;
}

void DUIScrollBase::DragThumb(POINT point) {
    DMScrollInfo& info = Info(m_bHoverVert);
    int moved = m_bHoverVert ? point.y - m_ptDragStart.y : point.x - m_ptDragStart.x;
    int rail = Along(GetSbRailRect(m_bHoverVert), m_bHoverVert);
    int thumb = DragThumbLength(m_bHoverVert);
    int offset =
        rail == thumb ? 0 : moved * (info.nMax - info.nPage - info.nMin + 1) / (rail - thumb);
    int position = m_nDragPos + offset;
    position = std::max(info.nMin, std::min(position, info.nMax - info.nPage - info.nMin + 1));
    DrawPartsNow(m_bHoverVert, {SB_PAGEUP_PART, SB_PAGEDOWN_PART, SB_THUMB_PART});
    if (position != info.nTrackPos) {
        info.nTrackPos = position;
        OnScroll(m_bHoverVert, SB_CODE_TRACK, position);
    }
}

void DUIScrollBase::HoverOver(POINT point) {
    DMScrollHit hit = HitTest(point);
    if (hit.iPart != -1 && !IsBarEnabled(hit.bVert)) {
        return;
    }
    if (hit.iPart == -1) {
        OnNcMouseLeave(0, 0);
        return;
    }
    if (hit.iPart == m_iHoverPart && hit.bVert == m_bHoverVert) {
        return;
    }
    bool otherBar = m_iHoverPart != -1 && m_bHoverVert != hit.bVert;
    bool previousBar = m_bHoverVert;
    m_iHoverPart = hit.iPart;
    m_bHoverVert = hit.bVert;
    DrawPartsNow(hit.bVert, {SB_LINEUP_PART, SB_PAGEUP_PART, SB_PAGEDOWN_PART, SB_THUMB_PART,
                             SB_LINEDOWN_PART});
    if (otherBar) {
        DrawPartsNow(previousBar, {SB_LINEUP_PART, SB_PAGEUP_PART, SB_PAGEDOWN_PART, SB_THUMB_PART,
                                   SB_LINEDOWN_PART});
    }
}

LRESULT DUIScrollBase::OnNcMouseMove(WPARAM, LPARAM lParam) {
    if (m_bDragging) {
        DragThumb(PointFromLParam(lParam));
    } else {
        HoverOver(PointFromLParam(lParam));
    }
    return 0;
}

LRESULT DUIScrollBase::OnNcLButtonUp(WPARAM wParam, LPARAM lParam) {
    if (GetContainer() && GetContainer()->OnGetCapture() == GetDUIWnd()) {
        GetContainer()->OnReleaseCapture();
    }
    if (m_bDragging) {
        m_bDragging = false;
        DMScrollInfo& info = Info(m_bHoverVert);
        if (info.nTrackPos != -1) {
            OnScroll(m_bHoverVert, SB_CODE_SETPOS, info.nTrackPos);
        }
        info.nTrackPos = -1;
        DrawPartsNow(m_bHoverVert, {SB_PAGEUP_PART, SB_PAGEDOWN_PART, SB_THUMB_PART});
    } else if (m_iHoverPart == SB_LINEUP_PART || m_iHoverPart == SB_LINEDOWN_PART) {
        DrawPartsNow(m_bHoverVert, {m_iHoverPart});
    }
    KillTimer(kFirstDelayTimer);
    KillTimer(kRepeatTimer);
    m_iRepeatPart = -1;
    m_iHoverPart = -1;
    return OnNcMouseMove(wParam, lParam);
}

LRESULT DUIScrollBase::OnNcMouseLeave(WPARAM, LPARAM) {
    if (!m_pSbSkin || m_bDragging || m_iHoverPart == -1) {
        return 0;
    }
    m_iHoverPart = -1;
    DrawPartsNow(m_bHoverVert, {SB_LINEUP_PART, SB_PAGEUP_PART, SB_PAGEDOWN_PART, SB_THUMB_PART,
                                SB_LINEDOWN_PART});
    return 0;
}

// One line step per notch (120); the host then hears a mouse move and a cursor query so that
// hover and cursor follow the content that moved under the pointer.
LRESULT DUIScrollBase::OnSbMouseWheel(WPARAM wParam, LPARAM lParam) {
    if (m_bNoWheelScroll) {
        return 0;
    }
    int notches = plat::GET_WHEEL_DELTA_WPARAM(wParam) / plat::WHEEL_DELTA;
    for (int i = 0; i < notches; ++i) {
        OnScroll(true, SB_LINEUP_PART, 0);
    }
    for (int i = 0; i < -notches; ++i) {
        OnScroll(true, SB_LINEDOWN_PART, 0);
    }
    if (HWND host = GetContainer() ? GetContainer()->OnGetHWnd() : nullptr) {
        plat::SendMessageW(host, plat::WM_MOUSEMOVE, plat::LOWORD(wParam), lParam);
        plat::SendMessageW(host, plat::WM_SETCURSOR, reinterpret_cast<WPARAM>(host),
                           kSetCursorFromWheel);
    }
    return 0;
}

}  // namespace DM
