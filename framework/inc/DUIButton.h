// "Button": state pictures (normal, hover, pressed), a click on release, an optional icon.
#pragma once

#include "DUIFocusMgr.h"
#include "DUIWindow.h"
#include "IDMTimeline.h"

namespace DMAttr {

class DUIButtonAttr {
public:
    static const wchar_t* bool_banimate;
    static const wchar_t* bool_bmultilines;
    static const wchar_t* INT_animatesteps;
    static const wchar_t* INT_lineinter;
    static const wchar_t* SKIN_iconskin;
    static const wchar_t* ACCEL_accel;
};

}  // namespace DMAttr

namespace DM {

class DUIButton : public DUIWindow, public IDMAccelHandler, public IDMTimeline {
    DMDECLARE_CLASS_NAME(DUIButton, DUIWindow, L"Button", L"window", DMREG_Window)
public:
    DMCode SetAttribute(const DMStringT& name, const DMStringT& value, bool loading) override;
    // Multi-line text is laid out character by character with the line spacing.
    DMCode DrawText(IDMCanvas* canvas, const wchar_t* text, int length, RECT& rect,
                    UINT format) override;
    bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    bool IsStateChangeRedraw() override;
    void OnStateChanged(DWORD oldState, DWORD newState) override;
    // A hidden or disabled button ignores its accelerator; otherwise it is a click.
    bool OnAccelPressed(DWORD accel) override;
    // One step of the hover fade; the last one leaves the host's animations.
    DMCode OnTimeline() override;
    bool IsAnimating() const { return m_byAnimateAlpha != 0xFF; }

    bool m_bAnimate = false;
    int m_nAnimateSteps = 20;
    bool m_bMultiLines = false;
    int m_nLineInter = 5;
    DMStringT m_strIconSkin;
    DWORD m_dwAccel = 0;
    int m_nAlphaStep = 3;
    BYTE m_byAnimateAlpha = 0xFF;
    DWORD m_dwLastStepTime = 0;

private:
    static DMCode OnAccel(DUIButton& button, const DMStringT& value, bool loading);
    LRESULT OnPaintButton(WPARAM canvas, LPARAM lParam);
    // Paints with the style's alpha scaled by the fade's alpha while a fade runs.
    LRESULT PaintFading(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    void RegisterAccel(DWORD accel);
    void StartFade();
    void StopFade();
    void StepFade();
};

}  // namespace DM
