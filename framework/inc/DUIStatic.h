// "Static": a picture or a label. Statics let the mouse through unless "bmsgnohandle" is "0".
#pragma once

#include "DUIWindow.h"

namespace DMAttr {

class DUIStaticAttr {
public:
    static const wchar_t* bool_bmultiLines;
    static const wchar_t* INT_lineinter;
};

}  // namespace DMAttr

namespace DM {

class DUIStatic : public DUIWindow {
    DMDECLARE_CLASS_NAME(DUIStatic, DUIWindow, L"Static", L"window", DMREG_Window)
public:
    DUIStatic();
    DMCode SetAttribute(const DMStringT& name, const DMStringT& value, bool loading) override;
    // Multi-line text is laid out character by character with the line spacing.
    DMCode DrawText(IDMCanvas* canvas, const wchar_t* text, int length, RECT& rect,
                    UINT format) override;

    bool m_bMultiLines = false;
    int m_nLineInter = 5;
};

}  // namespace DM
