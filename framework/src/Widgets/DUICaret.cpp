#include "DUICaret.h"

#include <algorithm>
#include <string>

#include "plat/caret.h"
#include "plat/messages.h"
#include "plat/tick.h"

namespace DM {

DUICaret::~DUICaret() = default;

void DUICaret::SetAnimateCount(int count) {
    if (count == m_nAnimateCount) {
        return;
    }
    m_nAnimateCount = std::max(count, 1);
    m_nAlphaStep = 255 / m_nAnimateCount;
    m_dwStepInterval = plat::GetCaretBlinkTime() / m_nAnimateCount;
    m_nAlpha = 255 - m_nAnimateCount * m_nAlphaStep;
}

void DUICaret::SetCaretSize(int width, int height) {
    m_nWidth = width;
    m_nHeight = height;
}

void DUICaret::SetCaretPos(int x, int y) {
    if (x < 0 || y < 0 || (x == m_nX && y == m_nY)) {
        return;
    }
    m_nX = x;
    m_nY = y;
    std::wstring pos = std::to_wstring(x) + L"," + std::to_wstring(y) + L",@" +
                       std::to_wstring(m_nWidth) + L",@" + std::to_wstring(m_nHeight);
    SetAttribute(L"pos", pos, false);
}

void DUICaret::Show() {
    if (IsVisible(false)) {
        Invalidate();
        return;
    }
    m_bRising = true;
    m_nAlpha = 255;
    if (!m_bAnimating && GetContainer()) {
        m_bAnimating = GetContainer()->OnAddTimeline(this) == DM_ECODE_OK;
    }
    SetVisible(true, true);
}

void DUICaret::Hide() {
    if (IsVisible(false)) {
        SetVisible(false, true);
    }
}

DMCode DUICaret::OnTimeline() {
    if (IsVisible(true) && plat::GetTickCount() - m_dwLastStepTime >= m_dwStepInterval) {
        Invalidate();
    }
    return DM_ECODE_OK;
}

bool DUICaret::ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case plat::WM_PAINT:
            result = OnPaintCaret(wParam);
            return true;
        case plat::WM_ERASEBKGND:
            result = 1;
            return true;
        case plat::WM_DESTROY:
            if (m_bAnimating && GetContainer()) {
                GetContainer()->OnRemoveTimeline(this);
                m_bAnimating = false;
            }
            break;
        default:
            break;
    }
    return DUIWindow::ProcessWindowMessage(message, wParam, lParam, result);
}

LRESULT DUICaret::OnPaintCaret(WPARAM canvasParam) {
    auto* canvas = reinterpret_cast<IDMCanvas*>(canvasParam);
    if (!canvas) {
        return 0;
    }
    m_nAlpha = std::clamp(m_nAlpha, 0, 255);
    BYTE styleAlpha = 0xFF;
    GetStyle()->GetAlpha(styleAlpha);
    // Premultiplied: every channel fades with the alpha.
    int alpha = styleAlpha * m_nAlpha / 255;
    auto fade = [alpha](BYTE channel) { return static_cast<BYTE>(channel * alpha / 255); };
    DMColor color(fade(m_crCaret.r), fade(m_crCaret.g), fade(m_crCaret.b), fade(m_crCaret.a));
    canvas->FillSolidRect(m_rcWindow, color);
    if (plat::GetTickCount() - m_dwLastStepTime > m_dwStepInterval) {
        StepAlpha();
        m_dwLastStepTime = plat::GetTickCount();
    }
    return 0;
}

// Up to full strength, then down to nothing, and up again.
void DUICaret::StepAlpha() {
    if (m_bRising) {
        m_nAlpha += m_nAlphaStep;
        if (m_nAlpha > 254) {
            m_bRising = false;
        }
    } else {
        m_nAlpha -= m_nAlphaStep;
        if (m_nAlpha < 1) {
            m_bRising = true;
        }
    }
}

}  // namespace DM
