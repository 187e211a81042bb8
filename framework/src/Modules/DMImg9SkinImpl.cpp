#include "DMImg9SkinImpl.h"

#include "DMAttrTable.h"

namespace DMAttr {

DMATTR_DEFINE(DMImg9SkinImplAttr, RECT_margin)

}  // namespace DMAttr

namespace DM {

DMCode DMImg9SkinImpl::SetAttribute(const DMStringT& name, const DMStringT& value, bool loading) {
    static const DMAttributeEntry<DMImg9SkinImpl> kTable[] = {
        {&DMAttr::DMImg9SkinImplAttr::RECT_margin,
         &RectAttribute<&DMImg9SkinImpl::m_rcMargin, DMATTR_OK>},
    };
    DMCode code = DMATTR_FAIL;
    if (DispatchAttribute(*this, kTable, name, value, loading, code)) {
        return OnAttributeFinished(name, value, loading, code);
    }
    return DMImgListSkinImpl::SetAttribute(name, value, loading);
}

DMCode DMImg9SkinImpl::QueryInfo(WPARAM wParam, LPARAM) {
    if (wParam == 0) {
        return DM_ECODE_FAIL;
    }
    *reinterpret_cast<RECT*>(wParam) = m_rcMargin;
    return DM_ECODE_OK;
}

void DMImg9SkinImpl::DrawState(IDMCanvas* canvas, const RECT& source, const RECT& target,
                               BYTE alpha) {
    canvas->DrawBitmapNine(m_pBitmap.get(), source, m_rcMargin, target, m_bTitle ? 1 : 0, alpha);
}

}  // namespace DM
