// "Button": state pictures (normal, hover, pressed), a click on release, an optional icon.
#pragma once

#include "DUIWindow.h"

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

class DUIButton : public DUIWindow {
    DMDECLARE_CLASS_NAME(DUIButton, DUIWindow, L"Button", L"window", DMREG_Window)
public:
    DMCode SetAttribute(const DMStringT& name, const DMStringT& value, bool loading) override;
    // Multi-line text is laid out character by character with the line spacing.
    DMCode DrawText(IDMCanvas* canvas, const wchar_t* text, int length, RECT& rect,
                    UINT format) override;
    bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    bool IsStateChangeRedraw() override;

    bool m_bAnimate = false;
    int m_nAnimateSteps = 20;
    bool m_bMultiLines = false;
    int m_nLineInter = 5;
    DMStringT m_strIconSkin;
    DWORD m_dwAccel = 0;

private:
    static DMCode OnAccel(DUIButton& button, const DMStringT& value, bool loading);
    LRESULT OnPaintButton(WPARAM canvas, LPARAM lParam);
};

}  // namespace DM
