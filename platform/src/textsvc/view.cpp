// The view: the layout of the shown text, the caret, scrolling and the scroll bars.
#include <algorithm>

#include "plat/cursor.h"
#include "textsvc/text_services_engine.h"

namespace plat::textsvc {
namespace {

constexpr LONG kHimetricPerInch = 2540;
constexpr LONG kPixelsPerInch = 96;
constexpr LONG kDefaultLineHeight = 16;

LONG HimetricToPixels(LONG himetric) {
    return (himetric * kPixelsPerInch + kHimetricPerInch / 2) / kHimetricPerInch;
}

bool Contains(const RECT& rect, POINT point) {
    return point.x >= rect.left && point.x < rect.right && point.y >= rect.top &&
           point.y < rect.bottom;
}

// A scroll bar's range, position, page and state as the caller asked for them: the range
// covers the content, enabled when the content is larger than the page.
HRESULT AnswerScroll(LONG content, LONG page, LONG position, LONG* plMin, LONG* plMax, LONG* plPos,
                     LONG* plPage, BOOL* pfEnabled) {
    if (plMin) {
        *plMin = 0;
    }
    if (plMax) {
        *plMax = std::max<LONG>(0, content - 1);
    }
    if (plPos) {
        *plPos = position;
    }
    if (plPage) {
        *plPage = page;
    }
    if (pfEnabled) {
        *pfEnabled = content > page ? TRUE : FALSE;
    }
    return S_OK;
}

}  // namespace

RECT TextServices::ClientRect() const {
    RECT client{0, 0, 0, 0};
    if (SUCCEEDED(m_host->TxGetClientRect(&client))) {
        return client;
    }
    return m_givenClient.value_or(client);
}

// The client rectangle less the view inset.
RECT TextServices::ViewRect(const RECT& client) const {
    RECT inset{0, 0, 0, 0};
    m_host->TxGetViewInset(&inset);
    RECT view{client.left + HimetricToPixels(inset.left), client.top + HimetricToPixels(inset.top),
              client.right - HimetricToPixels(inset.right),
              client.bottom - HimetricToPixels(inset.bottom)};
    view.right = std::max(view.left, view.right);
    view.bottom = std::max(view.top, view.bottom);
    return view;
}

bool TextServices::Wraps() const {
    return IsMultiLine() && Has(TXTBIT_WORDWRAP);
}

const TextLayout& TextServices::Layout() {
    RECT view = ViewRect(ClientRect());
    LONG viewWidth = view.right - view.left;
    if (m_layoutValid && viewWidth == m_layoutViewWidth) {
        return m_layout;
    }
    LayoutRequest request{ShownText(),
                          m_format.font,
                          Wraps() ? std::max<LONG>(1, viewWidth) : 0,
                          viewWidth,
                          m_alignment,
                          m_format.underline,
                          0,
                          0};
    request.styled = StyledRanges();
    if (m_composition.active) {
        request.underlineStart = m_composition.start;
        request.underlineEnd = m_composition.start + static_cast<LONG>(m_composition.text.size());
    }
    m_layout.Build(request);
    m_layoutValid = true;
    m_layoutViewWidth = viewWidth;
    return m_layout;
}

// The text as shown: the composition in its place, every character masked for a password.
std::wstring TextServices::ShownText() const {
    std::wstring shown = m_text;
    if (m_composition.active) {
        shown.insert(static_cast<std::size_t>(m_composition.start), m_composition.text);
    }
    if (IsPassword()) {
        shown.assign(shown.size(), m_passwordChar);
    }
    return shown;
}

LONG TextServices::ShownIndex(LONG position) const {
    if (m_composition.active && position >= m_composition.start) {
        return position + static_cast<LONG>(m_composition.text.size());
    }
    return position;
}

LONG TextServices::PositionOfShown(LONG index) const {
    if (!m_composition.active || index <= m_composition.start) {
        return index;
    }
    auto length = static_cast<LONG>(m_composition.text.size());
    return index < m_composition.start + length ? m_composition.start : index - length;
}

LONG TextServices::ShownCaret() const {
    return m_composition.active ? m_composition.start + m_composition.cursor : m_caret;
}

POINT TextServices::LayoutOrigin(const RECT& client) const {
    RECT view = ViewRect(client);
    return {view.left - m_scroll.x, view.top - m_scroll.y};
}

LONG TextServices::PositionAt(POINT point) {
    const TextLayout& layout = Layout();
    POINT origin = LayoutOrigin(ClientRect());
    return PositionOfShown(layout.IndexAt({point.x - origin.x, point.y - origin.y}));
}

LONG TextServices::LineHeight() {
    const LayoutLine& first = Layout().Lines().front();
    return first.bottom > first.top ? first.bottom - first.top : kDefaultLineHeight;
}

RECT TextServices::CaretRectInClient() {
    RECT caret = Layout().CaretRect(ShownCaret());
    POINT origin = LayoutOrigin(ClientRect());
    return {caret.left + origin.x, caret.top + origin.y, caret.right + origin.x,
            caret.bottom + origin.y};
}

// A third of the view's width is scrolled at once, so that typing does not scroll at every
// character.
void TextServices::ScrollCaretIntoView() {
    const TextLayout& layout = Layout();
    RECT view = ViewRect(ClientRect());
    LONG width = view.right - view.left;
    LONG height = view.bottom - view.top;
    RECT caret = layout.CaretRect(ShownCaret());
    POINT target = m_scroll;
    if (caret.left < target.x) {
        target.x = caret.left - width / 3;
    } else if (caret.right > target.x + width) {
        target.x = caret.right - width + width / 3;
    }
    if (caret.top < target.y) {
        target.y = caret.top;
    } else if (caret.bottom > target.y + height) {
        target.y = caret.bottom - height;
    }
    ScrollTo(target.x, target.y);
}

POINT TextServices::ScrollLimit() {
    RECT view = ViewRect(ClientRect());
    SIZE content = Layout().Size();
    return {std::max<LONG>(0, content.cx + 1 - (view.right - view.left)),
            std::max<LONG>(0, content.cy - (view.bottom - view.top))};
}

void TextServices::ScrollTo(LONG x, LONG y) {
    POINT limit = ScrollLimit();
    POINT target{std::clamp<LONG>(x, 0, limit.x), std::clamp<LONG>(y, 0, limit.y)};
    if (target.x == m_scroll.x && target.y == m_scroll.y) {
        return;
    }
    bool vertical = target.y != m_scroll.y;
    bool horizontal = target.x != m_scroll.x;
    m_scroll = target;
    UpdateScrollBars();
    UpdateCaret();
    Repaint();
    if (m_eventMask & ENM_SCROLL) {
        if (vertical) {
            Notify(EN_VSCROLL, nullptr);
        }
        if (horizontal) {
            Notify(EN_HSCROLL, nullptr);
        }
    }
}

void TextServices::OnScrollMessage(bool vertical, WORD code, int thumb) {
    RECT view = ViewRect(ClientRect());
    LONG page = vertical ? view.bottom - view.top : view.right - view.left;
    LONG line = vertical ? LineHeight() : std::max<LONG>(1, page / 10);
    LONG position = vertical ? m_scroll.y : m_scroll.x;
    POINT limit = ScrollLimit();
    switch (code) {
        case SB_LINEUP:
            position -= line;
            break;
        case SB_LINEDOWN:
            position += line;
            break;
        case SB_PAGEUP:
            position -= page;
            break;
        case SB_PAGEDOWN:
            position += page;
            break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION:
            position = thumb;
            break;
        case SB_TOP:
            position = 0;
            break;
        case SB_BOTTOM:
            position = vertical ? limit.y : limit.x;
            break;
        default:
            return;
    }
    if (vertical) {
        ScrollTo(m_scroll.x, position);
    } else {
        ScrollTo(position, m_scroll.y);
    }
}

// The bars the host allows (WS_HSCROLL, WS_VSCROLL) show while there is something to scroll;
// with ES_DISABLENOSCROLL they stay shown, disabled. The host hears only of changes.
void TextServices::UpdateScrollBars() {
    RECT view = ViewRect(ClientRect());
    SIZE content = Layout().Size();
    UpdateBar(SB_HORZ, (m_scrollBars & WS_HSCROLL) != 0, content.cx + 1, view.right - view.left,
              m_scroll.x);
    UpdateBar(SB_VERT, (m_scrollBars & WS_VSCROLL) != 0, content.cy, view.bottom - view.top,
              m_scroll.y);
}

void TextServices::UpdateBar(int bar, bool allowed, LONG content, LONG page, LONG position) {
    BarState& state = m_bars[bar];
    bool needed = content > page;
    bool keep = (m_scrollBars & ES_DISABLENOSCROLL) != 0;
    bool shown = allowed && (needed || keep);
    if (shown != state.shown) {
        state.shown = shown;
        m_host->TxShowScrollBar(bar, shown ? TRUE : FALSE);
    }
    if (!shown) {
        return;
    }
    if (needed != state.enabled && keep) {
        state.enabled = needed;
        m_host->TxEnableScrollBar(bar, needed ? ESB_ENABLE_BOTH : ESB_DISABLE_BOTH);
    }
    LONG max = needed ? content - 1 : 0;
    if (max != state.max) {
        state.max = max;
        m_host->TxSetScrollRange(bar, 0, max, TRUE);
    }
    if (position != state.position) {
        state.position = position;
        m_host->TxSetScrollPos(bar, position, TRUE);
    }
}

// The caret shows while focused, with no selection, inside the view.
void TextServices::UpdateCaret() {
    if (!m_focused) {
        return;
    }
    RECT caret = CaretRectInClient();
    LONG height = caret.bottom - caret.top;
    if (height != m_caretHeight) {
        m_caretHeight = height;
        m_host->TxCreateCaret(nullptr, caret.right - caret.left, height);
        m_caretShown = false;
    }
    m_host->TxSetCaretPos(caret.left, caret.top);
    RECT view = ViewRect(ClientRect());
    bool inView = caret.right > view.left && caret.left <= view.right && caret.bottom > view.top &&
                  caret.top < view.bottom;
    bool show = !HasSelection() && inView && !m_dropCaret;  // a drag shows its own caret
    // A host that is not active refuses to show the caret; it is asked again next time.
    if (show != m_caretShown) {
        BOOL done = m_host->TxShowCaret(show ? TRUE : FALSE);
        m_caretShown = show && done;
    }
}

void TextServices::OnFocus(bool focused) {
    m_focused = focused;
    if (focused) {
        m_caretHeight = 0;
        UpdateCaret();
        PlaceCompositionWindow();
    } else {
        m_composition = {};
        InvalidateLayout();
        m_caretShown = false;
        m_host->TxShowCaret(FALSE);
        m_history.Seal();
    }
    if (HasSelection() || !focused) {
        Repaint();
    }
    Notify(focused ? EN_SETFOCUS : EN_KILLFOCUS, nullptr);
}

void TextServices::ViewChanged() {
    ScrollTo(m_scroll.x, m_scroll.y);
    UpdateScrollBars();
    UpdateCaret();
    Repaint();
}

void TextServices::Repaint() {
    if (m_inPlaceActive) {
        m_host->TxInvalidateRect(nullptr, FALSE);
    }
}

HRESULT TextServices::TxGetHScroll(LONG* plMin, LONG* plMax, LONG* plPos, LONG* plPage,
                                   BOOL* pfEnabled) {
    RECT view = ViewRect(ClientRect());
    LONG page = view.right - view.left;
    LONG content = Layout().Size().cx + 1;
    return AnswerScroll(content, page, m_scroll.x, plMin, plMax, plPos, plPage, pfEnabled);
}

HRESULT TextServices::TxGetVScroll(LONG* plMin, LONG* plMax, LONG* plPos, LONG* plPage,
                                   BOOL* pfEnabled) {
    RECT view = ViewRect(ClientRect());
    LONG page = view.bottom - view.top;
    LONG content = Layout().Size().cy;
    return AnswerScroll(content, page, m_scroll.y, plMin, plMax, plPos, plPage, pfEnabled);
}

HRESULT TextServices::OnTxSetCursor(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, HDC,
                                    const RECT* lprcClient, int x, int y) {
    RECT client = lprcClient ? *lprcClient : ClientRect();
    bool overText = Contains(ViewRect(client), {x, y});
    std::uintptr_t cursor = overText ? IDC_IBEAM : IDC_ARROW;
    m_host->TxSetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(cursor)), overText ? TRUE : FALSE);
    return S_OK;
}

HRESULT TextServices::TxQueryHitPoint(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, HDC,
                                      const RECT* lprcClient, int x, int y, DWORD* pHitResult) {
    if (!pHitResult) {
        return E_INVALIDARG;
    }
    RECT client = lprcClient ? *lprcClient : ClientRect();
    *pHitResult = Contains(client, {x, y}) ? TXTHITRESULT_HIT : TXTHITRESULT_NOHIT;
    return S_OK;
}

// The size the text needs at the width *pwidth (which includes the view inset).
HRESULT TextServices::TxGetNaturalSize(DWORD, HDC, HDC, DVTARGETDEVICE*, DWORD, const SIZE*,
                                       LONG* pwidth, LONG* pheight) {
    if (!pwidth || !pheight) {
        return E_INVALIDARG;
    }
    RECT frame = ViewRect({0, 0, 0x4000, 0x4000});
    LONG insetWidth = 0x4000 - (frame.right - frame.left);
    LONG insetHeight = 0x4000 - (frame.bottom - frame.top);
    LONG width = std::max<LONG>(1, *pwidth - insetWidth);
    TextLayout measured;
    measured.Build({ShownText(), m_format.font, Wraps() ? width : 0, width, m_alignment,
                    m_format.underline, 0, 0, StyledRanges()});
    *pwidth = measured.Size().cx + 1 + insetWidth;
    *pheight = measured.Size().cy + insetHeight;
    return S_OK;
}

HRESULT TextServices::TxGetCurTargetX(LONG* x) {
    if (!x) {
        return E_INVALIDARG;
    }
    *x = m_preferredX >= 0 ? m_preferredX : Layout().CaretRect(ShownCaret()).left;
    return S_OK;
}

HRESULT TextServices::TxGetBaseLinePos(LONG* baseline) {
    if (!baseline) {
        return E_INVALIDARG;
    }
    *baseline = LayoutOrigin(ClientRect()).y + Layout().Baseline();
    return S_OK;
}

HRESULT TextServices::TxGetCachedSize(DWORD* pdwWidth, DWORD* pdwHeight) {
    RECT client = ClientRect();
    if (pdwWidth) {
        *pdwWidth = static_cast<DWORD>(client.right - client.left);
    }
    if (pdwHeight) {
        *pdwHeight = static_cast<DWORD>(client.bottom - client.top);
    }
    return S_OK;
}

}  // namespace plat::textsvc
