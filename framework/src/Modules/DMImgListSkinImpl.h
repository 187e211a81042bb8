// "imglist": a picture cut into equal states, side by side or stacked ("bvert").
#pragma once

#include "DMRegType.h"
#include "DMSkinPicture.h"
#include "DMSmartPtrT.h"
#include "IDMSkin.h"

namespace DMAttr {

class DMImgListSkinImplAttr {
public:
    static const wchar_t* STRING_src;
    static const wchar_t* STRING_id;
    static const wchar_t* bool_btitle;
    static const wchar_t* bool_bvert;
    static const wchar_t* INT_states;
};

}  // namespace DMAttr

namespace DM {

class DMImgListSkinImpl : public IDMSkin {
    DMDECLARE_CLASS_NAME(DMImgListSkinImpl, IDMSkin, L"imglist", L"IDMSkin", DMREG_Skin)
public:
    DMCode SetAttribute(const DMStringT& name, const DMStringT& value, bool loading) override;
    DMCode GetID(wchar_t* buffer, int size) override;
    DMCode Draw(IDMCanvas* canvas, const RECT& target, int state, BYTE alpha) override;
    DMCode GetStateSize(SIZE& size, int state) override;
    DMCode GetStates(int& states) override;
    DMCode GetBitmap(IDMBitmap** bitmap) override;
    DMCode SetBitmap(const BYTE* bytes, std::size_t size, const wchar_t* type) override;
    DMCode UpdateSkin(const wchar_t* entry) override;
    DMCode IsValid() override { return m_pBitmap ? DM_ECODE_OK : DM_ECODE_FAIL; }

protected:
    // The part of the picture that shows `state`, or nothing without picture or such state.
    bool StateSource(int state, RECT& source);
    virtual void DrawState(IDMCanvas* canvas, const RECT& source, const RECT& target, BYTE alpha);

    DMSmartPtrT<IDMBitmap> m_pBitmap;
    int m_nStates = 1;
    bool m_bVert = false;
    bool m_bTitle = false;
    DMStringT m_strID;
    DMPictureRef m_ref;

private:
    static DMCode OnSrc(DMImgListSkinImpl& skin, const DMStringT& value, bool loading);
};

}  // namespace DM
