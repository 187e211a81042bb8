#include "DMScrollBarSkinImpl.h"

#include "DMAttrTable.h"

namespace DMAttr {

DMATTR_DEFINE(DMScrollBarSkinImplAttr, RECT_margin)

}  // namespace DMAttr

namespace DM {
namespace {

constexpr int kColumns = 9;
constexpr int kRail = 10;
constexpr int kThumb = 5;

// The column of a part code on a vertical bar; -1 for a code without a cell.
int PartColumn(int part) {
    switch (part) {
        case 0:
            return 0;
        case 1:
            return 1;
        case 2:
        case 3:
            return 3;
        case kThumb:
            return 2;
        case kRail:
            return 8;
        default:
            return -1;
    }
}

int PartRow(int part, int state, int rows) {
    if ((rows == 3 && (state == 3 || state == 4)) || (rows == 4 && state == 4) ||
        (rows != 3 && rows != 4 && state == 4 && part == kThumb)) {
        return 0;
    }
    return state;
}

}  // namespace

DMCode DMScrollBarSkinImpl::SetAttribute(const DMStringT& name, const DMStringT& value,
                                         bool loading) {
    static const DMAttributeEntry<DMScrollBarSkinImpl> kTable[] = {
        {&DMAttr::DMScrollBarSkinImplAttr::RECT_margin,
         &RectAttribute<&DMScrollBarSkinImpl::m_rcMargin, DMATTR_OK>},
    };
    DMCode code = DMATTR_FAIL;
    if (DispatchAttribute(*this, kTable, name, value, loading, code)) {
        return OnAttributeFinished(name, value, loading, code);
    }
    return DMImgListSkinImpl::SetAttribute(name, value, loading);
}

bool DMScrollBarSkinImpl::PartCell(int part, int state, bool vertical, RECT& cell) {
    int column = PartColumn(part);
    if (!m_pBitmap || column < 0) {
        return false;
    }
    int side = m_pBitmap->GetWidth() / kColumns;
    if (side <= 0) {
        return false;
    }
    if (!vertical && part != kRail) {
        column += 4;
    }
    int row = PartRow(part, state, m_pBitmap->GetHeight() / side);
    cell = {side * column, side * row, side * column + side, side * row + side};
    return true;
}

DMCode DMScrollBarSkinImpl::Draw(IDMCanvas* canvas, const RECT& target, int state, BYTE alpha) {
    return DrawPart(canvas, target, state & 0xFFFF, (state >> 16) & 0xFF, (state >> 24) == 1,
                    alpha);
}

DMCode DMScrollBarSkinImpl::DrawPart(IDMCanvas* canvas, const RECT& target, int part, int state,
                                     bool vertical, BYTE alpha) {
    RECT cell{};
    if (!canvas || !PartCell(part, state, vertical, cell)) {
        return DM_ECODE_FAIL;
    }
    RECT margins = vertical ? RECT{0, m_rcMargin.top, 0, m_rcMargin.bottom}
                            : RECT{m_rcMargin.left, 0, m_rcMargin.right, 0};
    return canvas->DrawBitmapNine(m_pBitmap.get(), cell, margins, target, 0, alpha);
}

}  // namespace DM
