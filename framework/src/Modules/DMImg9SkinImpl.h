// "img9": an "imglist" whose states are drawn in nine parts around fixed margins.
#pragma once

#include "DMImgListSkinImpl.h"

namespace DMAttr {

class DMImg9SkinImplAttr {
public:
    static const wchar_t* RECT_margin;
};

}  // namespace DMAttr

namespace DM {

class DMImg9SkinImpl : public DMImgListSkinImpl {
    DMDECLARE_CLASS_NAME(DMImg9SkinImpl, DMImgListSkinImpl, L"img9", L"imglist", DMREG_Skin)
public:
    DMCode SetAttribute(const DMStringT& name, const DMStringT& value, bool loading) override;
    // wParam: a RECT that receives the margins.
    DMCode QueryInfo(WPARAM wParam, LPARAM lParam) override;

protected:
    void DrawState(IDMCanvas* canvas, const RECT& source, const RECT& target, BYTE alpha) override;

    RECT m_rcMargin{0, 0, 0, 0};
};

}  // namespace DM
