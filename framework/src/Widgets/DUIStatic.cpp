#include "DUIStatic.h"

#include "DMAttrTable.h"

namespace DMAttr {

DMATTR_DEFINE(DUIStaticAttr, bool_bmultiLines)
DMATTR_DEFINE(DUIStaticAttr, INT_lineinter)

}  // namespace DMAttr

namespace DM {

DUIStatic::DUIStatic() {
    XmlInfo().m_bNoMsgHandle = true;
}

DMCode DUIStatic::SetAttribute(const DMStringT& name, const DMStringT& value, bool loading) {
    static const DMAttributeEntry<DUIStatic> kTable[] = {
        {&DMAttr::DUIStaticAttr::bool_bmultiLines,
         &BoolAttribute<&DUIStatic::m_bMultiLines, DMATTR_OK>},
        {&DMAttr::DUIStaticAttr::INT_lineinter, &IntAttribute<&DUIStatic::m_nLineInter, DMATTR_OK>},
    };
    DMCode code = DMATTR_FAIL;
    if (DispatchAttribute(*this, kTable, name, value, loading, code)) {
        return OnAttributeFinished(name, value, loading, code);
    }
    return DUIWindow::SetAttribute(name, value, loading);
}

DMCode DUIStatic::DrawText(IDMCanvas* canvas, const wchar_t* text, int length, RECT& rect,
                           UINT format) {
    if (m_bMultiLines) {
        return DrawMultiLineText(canvas, text, length, rect, format, m_nLineInter);
    }
    return DUIWindow::DrawText(canvas, text, length, rect, format);
}

}  // namespace DM
