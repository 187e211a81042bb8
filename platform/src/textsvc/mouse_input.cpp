// The mouse: placing the caret, selecting by dragging and by words, and the wheel.
#include "textsvc/text_services_engine.h"
#include "textsvc/word_boundaries.h"

namespace plat::textsvc {
namespace {

constexpr int kWheelLines = 3;
constexpr UINT kDragScrollMs = 100;

bool Contains(const RECT& rect, POINT point) {
    return point.x >= rect.left && point.x < rect.right && point.y >= rect.top &&
           point.y < rect.bottom;
}

}  // namespace

void TextServices::OnButtonDown(POINT point, bool extend) {
    if (m_composition.active) {
        return;
    }
    if (!m_focused) {
        m_host->TxSetFocus();
    }
    LONG position = PositionAt(point);
    m_history.Seal();
    m_preferredX = -1;
    Select(extend ? m_anchor : position, position);
    m_selecting = true;
    m_selectingWords = false;
    m_host->TxSetCapture(TRUE);
}

void TextServices::OnDoubleClick(POINT point) {
    if (m_composition.active) {
        return;
    }
    WordAt(IsPassword() ? std::wstring() : m_text, PositionAt(point), &m_wordStart, &m_wordEnd);
    if (IsPassword()) {
        m_wordStart = 0;
        m_wordEnd = Length();
    }
    m_history.Seal();
    Select(m_wordStart, m_wordEnd);
    m_selecting = true;
    m_selectingWords = true;
    m_host->TxSetCapture(TRUE);
}

// Dragging after a double click selects whole words. Held outside the view, the selection
// goes on growing with the drag timer, scrolling the text.
void TextServices::OnMouseMove(POINT point) {
    if (!m_selecting) {
        return;
    }
    m_dragPoint = point;
    bool outside = !Contains(ViewRect(ClientRect()), point);
    if (outside != m_dragTimer) {
        m_dragTimer = outside;
        if (outside) {
            m_host->TxSetTimer(kDragScrollTimer, kDragScrollMs);
        } else {
            m_host->TxKillTimer(kDragScrollTimer);
        }
    }
    LONG position = PositionAt(point);
    if (!m_selectingWords || IsPassword()) {
        Select(m_anchor, position);
        return;
    }
    LONG start = 0;
    LONG end = 0;
    WordAt(m_text, position, &start, &end);
    if (position < m_wordStart) {
        Select(m_wordEnd, start);
    } else {
        Select(m_wordStart, std::max(end, m_wordEnd));
    }
}

void TextServices::OnButtonUp() {
    if (m_selecting) {
        m_host->TxSetCapture(FALSE);
    }
    EndSelecting();
}

void TextServices::EndSelecting() {
    m_selecting = false;
    if (m_dragTimer) {
        m_dragTimer = false;
        m_host->TxKillTimer(kDragScrollTimer);
    }
}

std::optional<LRESULT> TextServices::OnTimer(UINT id) {
    if (id != kDragScrollTimer) {
        return std::nullopt;
    }
    if (m_selecting) {
        OnMouseMove(m_dragPoint);
    }
    return 0;
}

// Three lines per notch; parts of notches add up.
void TextServices::OnWheel(int delta) {
    m_wheelRemainder += delta;
    int notches = m_wheelRemainder / WHEEL_DELTA;
    m_wheelRemainder -= notches * WHEEL_DELTA;
    if (notches != 0) {
        ScrollTo(m_scroll.x, m_scroll.y - notches * kWheelLines * LineHeight());
    }
}

}  // namespace plat::textsvc
