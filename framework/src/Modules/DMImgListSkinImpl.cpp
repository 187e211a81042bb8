#include "DMImgListSkinImpl.h"

#include <cwchar>

#include "DMAttrTable.h"
#include "DMStringHelpers.h"

namespace DMAttr {

DMATTR_DEFINE(DMImgListSkinImplAttr, STRING_src)
DMATTR_DEFINE(DMImgListSkinImplAttr, STRING_id)
DMATTR_DEFINE(DMImgListSkinImplAttr, bool_btitle)
DMATTR_DEFINE(DMImgListSkinImplAttr, bool_bvert)
DMATTR_DEFINE(DMImgListSkinImplAttr, INT_states)

}  // namespace DMAttr

namespace DM {

using DMAttr::DMImgListSkinImplAttr;

DMCode DMImgListSkinImpl::SetAttribute(const DMStringT& name, const DMStringT& value,
                                       bool loading) {
    static const DMAttributeEntry<DMImgListSkinImpl> kTable[] = {
        {&DMImgListSkinImplAttr::STRING_src, &DMImgListSkinImpl::OnSrc},
        {&DMImgListSkinImplAttr::STRING_id,
         &StringAttribute<&DMImgListSkinImpl::m_strID, DMATTR_OK>},
        {&DMImgListSkinImplAttr::bool_btitle,
         &BoolAttribute<&DMImgListSkinImpl::m_bTitle, DMATTR_OK>},
        {&DMImgListSkinImplAttr::bool_bvert,
         &BoolAttribute<&DMImgListSkinImpl::m_bVert, DMATTR_OK>},
        {&DMImgListSkinImplAttr::INT_states,
         &IntAttribute<&DMImgListSkinImpl::m_nStates, DMATTR_OK>},
    };
    DMCode code = DMATTR_FAIL;
    if (!DispatchAttribute(*this, kTable, name, value, loading, code)) {
        code = DMBase::SetAttribute(name, value, loading);
    }
    return OnAttributeFinished(name, value, loading, code);
}

DMCode DMImgListSkinImpl::OnSrc(DMImgListSkinImpl& skin, const DMStringT& value, bool) {
    skin.m_ref = SplitPictureRef(value);
    if (DMSmartPtrT<IDMBitmap> picture = LoadPicture(skin.m_ref)) {
        skin.m_pBitmap = picture;
    }
    return DMATTR_OK;
}

DMCode DMImgListSkinImpl::GetID(wchar_t* buffer, int size) {
    return CopyIdText(m_strID, buffer, size);
}

DMCode DMImgListSkinImpl::GetStateSize(SIZE& size, int) {
    if (!m_pBitmap || m_nStates <= 0) {
        return DM_ECODE_FAIL;
    }
    size = {m_pBitmap->GetWidth(), m_pBitmap->GetHeight()};
    (m_bVert ? size.cy : size.cx) /= m_nStates;
    return DM_ECODE_OK;
}

DMCode DMImgListSkinImpl::GetStates(int& states) {
    states = m_nStates;
    return DM_ECODE_OK;
}

bool DMImgListSkinImpl::StateSource(int state, RECT& source) {
    SIZE size{};
    if (state < 0 || state >= m_nStates || GetStateSize(size, state) != DM_ECODE_OK) {
        return false;
    }
    LONG x = m_bVert ? 0 : state * size.cx;
    LONG y = m_bVert ? state * size.cy : 0;
    source = {x, y, x + size.cx, y + size.cy};
    return true;
}

void DMImgListSkinImpl::DrawState(IDMCanvas* canvas, const RECT& source, const RECT& target,
                                  BYTE alpha) {
    canvas->DrawBitmap(m_pBitmap.get(), source, target, alpha, m_bTitle ? 1 : 0);
}

DMCode DMImgListSkinImpl::Draw(IDMCanvas* canvas, const RECT& target, int state, BYTE alpha) {
    RECT source{};
    if (!canvas || !StateSource(state, source)) {
        return DM_ECODE_FAIL;
    }
    DrawState(canvas, source, target, alpha);
    return DM_ECODE_OK;
}

DMCode DMImgListSkinImpl::GetBitmap(IDMBitmap** bitmap) {
    if (!bitmap || !m_pBitmap) {
        return DM_ECODE_FAIL;
    }
    m_pBitmap->AddRef();
    *bitmap = m_pBitmap.get();
    return DM_ECODE_OK;
}

DMCode DMImgListSkinImpl::SetBitmap(const BYTE* bytes, std::size_t size, const wchar_t*) {
    DMSmartPtrT<IDMBitmap> picture = LoadPictureFromMemory(bytes, size);
    if (!picture) {
        return DM_ECODE_FAIL;
    }
    m_pBitmap = picture;
    return DM_ECODE_OK;
}

DMCode DMImgListSkinImpl::UpdateSkin(const wchar_t* entry) {
    if (!entry || m_ref.name.empty() || !EqualNoCase(m_ref.Text(), entry)) {
        return DM_ECODE_FAIL;
    }
    DMSmartPtrT<IDMBitmap> picture = LoadPicture(m_ref);
    if (!picture) {
        return DM_ECODE_FAIL;
    }
    m_pBitmap = picture;
    return DM_ECODE_OK;
}

}  // namespace DM
