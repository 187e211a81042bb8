// The mouse: placing the caret, selecting by dragging and by words, and the wheel.
#include "textsvc/text_services_engine.h"
#include "textsvc/word_boundaries.h"

namespace plat::textsvc {
namespace {

constexpr int kWheelLines = 3;

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

// Dragging after a double click selects whole words.
void TextServices::OnMouseMove(POINT point) {
    if (!m_selecting) {
        return;
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
        m_selecting = false;
        m_host->TxSetCapture(FALSE);
    }
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
