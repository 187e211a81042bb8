// "scrollbar": a picture of square cells, nine columns wide, one row per state; each part of a
// scroll bar (arrows, thumb, rail) is one cell, drawn in nine parts around the margins.
#pragma once

#include "DMImgListSkinImpl.h"

namespace DMAttr {

class DMScrollBarSkinImplAttr {
public:
    static const wchar_t* RECT_margin;
};

}  // namespace DMAttr

namespace DM {

class DMScrollBarSkinImpl : public DMImgListSkinImpl {
    DMDECLARE_CLASS_NAME(DMScrollBarSkinImpl, DMImgListSkinImpl, L"scrollbar", L"imglist",
                         DMREG_Skin)
public:
    DMCode SetAttribute(const DMStringT& name, const DMStringT& value, bool loading) override;
    // `state` packs a part: its code in the low 16 bits, its state in bits 16 to 23 and 1 in
    // the top byte for a vertical bar.
    DMCode Draw(IDMCanvas* canvas, const RECT& target, int state, BYTE alpha) override;
    // The cell of one part code in one state; a horizontal bar keeps only the left and right
    // margins, a vertical one only the top and bottom.
    DMCode DrawPart(IDMCanvas* canvas, const RECT& target, int part, int state, bool vertical,
                    BYTE alpha = 0xFF);
    // Where the cell of a part lies in the picture; false for a part without a cell.
    bool PartCell(int part, int state, bool vertical, RECT& cell);

private:
    RECT m_rcMargin{0, 0, 0, 0};
};

}  // namespace DM
