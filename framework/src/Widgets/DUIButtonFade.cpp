// The hover fade of "banimate" buttons: entering the hover state from the normal one fades the
// button in over the host's 10 ms animation ticks.
#include <string>

#include "DUIButton.h"
#include "plat/messages.h"
#include "plat/tick.h"

namespace DM {
namespace {

constexpr BYTE kFadeStart = 4;
constexpr int kFadeRange = 251;
constexpr DWORD kStepMs = 10;

bool IsFadedPaint(UINT message) {
    return message == plat::WM_ERASEBKGND || message == plat::WM_PAINT ||
           message == plat::WM_NCPAINT;
}

DMStringT AlphaText(int alpha) {
    return std::to_wstring(alpha);
}

}  // namespace

void DUIButton::OnStateChanged(DWORD oldState, DWORD newState) {
    StopFade();
    bool normalToHover = StateIndexOf(oldState) == 0 && StateIndexOf(newState) == 1;
    bool captured = GetContainer() && GetContainer()->OnGetCapture() == GetDUIWnd();
    if (m_bAnimate && normalToHover && !captured && GetContainer()) {
        StartFade();
    }
    DUIWindow::OnStateChanged(oldState, newState);
}

void DUIButton::StartFade() {
    m_byAnimateAlpha = kFadeStart;
    if (m_nAnimateSteps != 0) {
        m_nAlphaStep = kFadeRange / m_nAnimateSteps;
    }
    m_dwLastStepTime = plat::GetTickCount();
    GetContainer()->OnAddTimeline(this);
}

// Also after the fade reached its end: the button may still wait for its last tick.
void DUIButton::StopFade() {
    m_byAnimateAlpha = 0xFF;
    if (GetContainer()) {
        GetContainer()->OnRemoveTimeline(this);
    }
}

void DUIButton::StepFade() {
    DWORD now = plat::GetTickCount();
    if (now - m_dwLastStepTime < kStepMs) {
        return;
    }
    m_dwLastStepTime = now;
    m_byAnimateAlpha = static_cast<BYTE>(std::min(0xFF, m_byAnimateAlpha + m_nAlphaStep));
}

DMCode DUIButton::OnTimeline() {
    if (!IsAnimating()) {
        GetContainer()->OnRemoveTimeline(this);
        InvalidateRect(m_rcWindow);
        return DM_ECODE_OK;
    }
    StepFade();
    Invalidate();
    return DM_ECODE_OK;
}

LRESULT DUIButton::PaintFading(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
    IDMStyle* style = GetStyle();
    BYTE styleAlpha = 0xFF;
    if (!IsAnimating() || !IsFadedPaint(message) || !style ||
        style->GetAlpha(styleAlpha) != DM_ECODE_OK) {
        return 0;
    }
    StepFade();
    style->SetAttribute(L"alpha", AlphaText(styleAlpha * m_byAnimateAlpha / 0xFF), true);
    LRESULT result = 0;
    handled = true;
    if (message == plat::WM_PAINT) {
        result = OnPaintButton(wParam, lParam);
    } else {
        DUIWindow::ProcessWindowMessage(message, wParam, lParam, result);
    }
    style->SetAttribute(L"alpha", AlphaText(styleAlpha), true);
    return result;
}

}  // namespace DM
