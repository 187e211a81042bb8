// "Edit": a plain-text rich edit that shows a surface (a placeholder text and picture) while it
// is empty and unfocused.
#pragma once

#include "DUIRichEdit.h"

namespace DMAttr {

class DUIEditAttr {
public:
    static const wchar_t* SKIN_surfaceskin;
    static const wchar_t* COLOR_surfacetextclr;
    static const wchar_t* STRING_surfacetext;
    static const wchar_t* FONT_surfacefont;
    static const wchar_t* OPTION_surfacealign;
};

}  // namespace DMAttr

namespace DM {

class DUIEdit : public DUIRichEdit {
    DMDECLARE_CLASS_NAME(DUIEdit, DUIRichEdit, L"Edit", L"RichEdit", DMREG_Window)
public:
    DUIEdit();
    ~DUIEdit() override;

    DMCode SetAttribute(const DMStringT& name, const DMStringT& value, bool loading) override;
    bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    // A surface text or picture is set, the text is empty and the edit has no focus.
    bool IsSurfaceShown();

    DMColor m_crSurfaceText = DMColor::FromValue(0xFFCCCCCC);
    DMStringT m_strSurfaceText;
    DMSmartPtrT<IDMFont> m_pSurfaceFont;
    DMSmartPtrT<IDMSkin> m_pSurfaceSkin;
    int m_iSurfaceAlign = 0;

private:
    static DMCode OnSurfaceSkin(DUIEdit& edit, const DMStringT& value, bool loading);
    static DMCode OnSurfaceFont(DUIEdit& edit, const DMStringT& value, bool loading);
    static DMCode OnSurfaceAlign(DUIEdit& edit, const DMStringT& value, bool loading);
    void PaintSurface(IDMCanvas* canvas);
};

}  // namespace DM
