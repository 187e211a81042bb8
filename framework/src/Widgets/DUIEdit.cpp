#include "DUIEdit.h"

#include "DMApp.h"
#include "DMAttrTable.h"

namespace DMAttr {

DMATTR_DEFINE(DUIEditAttr, SKIN_surfaceskin)
DMATTR_DEFINE(DUIEditAttr, COLOR_surfacetextclr)
DMATTR_DEFINE(DUIEditAttr, STRING_surfacetext)
DMATTR_DEFINE(DUIEditAttr, FONT_surfacefont)
DMATTR_DEFINE(DUIEditAttr, OPTION_surfacealign)

}  // namespace DMAttr

namespace DM {
namespace {

using DMAttr::DUIEditAttr;

// Single line, vertically centred.
constexpr UINT kSurfaceFormat = DT_SINGLELINE | DT_VCENTER;

}  // namespace

DUIEdit::DUIEdit() {
    m_fRich = false;
    m_bAutoSel = false;
}

DUIEdit::~DUIEdit() = default;

DMCode DUIEdit::OnSurfaceSkin(DUIEdit& edit, const DMStringT& value, bool) {
    edit.m_pSurfaceSkin = DMSmartPtrT<IDMSkin>(DMApp::GetObjPtr()->GetSkin(value));
    return DMATTR_PAINT;
}

DMCode DUIEdit::OnSurfaceFont(DUIEdit& edit, const DMStringT& value, bool) {
    edit.m_pSurfaceFont = DMSmartPtrT<IDMFont>(DMApp::GetObjPtr()->GetFont(value));
    return DMATTR_PAINT;
}

DMCode DUIEdit::OnSurfaceAlign(DUIEdit& edit, const DMStringT& value, bool) {
    if (EqualNoCase(value, L"left")) {
        edit.m_iSurfaceAlign = 0;
    } else if (EqualNoCase(value, L"center")) {
        edit.m_iSurfaceAlign = 1;
    } else if (EqualNoCase(value, L"right")) {
        edit.m_iSurfaceAlign = 2;
    }
    return DMATTR_PAINT;
}

DMCode DUIEdit::SetAttribute(const DMStringT& name, const DMStringT& value, bool loading) {
    using E = DUIEdit;
    static const DMAttributeEntry<DUIEdit> kTable[] = {
        {&DUIEditAttr::SKIN_surfaceskin, &E::OnSurfaceSkin},
        {&DUIEditAttr::COLOR_surfacetextclr, &ColorAttribute<&E::m_crSurfaceText, DMATTR_PAINT>},
        {&DUIEditAttr::STRING_surfacetext, &StringAttribute<&E::m_strSurfaceText, DMATTR_PAINT>},
        {&DUIEditAttr::FONT_surfacefont, &E::OnSurfaceFont},
        {&DUIEditAttr::OPTION_surfacealign, &E::OnSurfaceAlign},
    };
    DMCode code = DMATTR_FAIL;
    if (DispatchAttribute(*this, kTable, name, value, loading, code)) {
        return OnAttributeFinished(name, value, loading, code);
    }
    return DUIRichEdit::SetAttribute(name, value, loading);
}

bool DUIEdit::IsSurfaceShown() {
    return (!m_strSurfaceText.empty() || m_pSurfaceSkin) && GetWindowTextLength() == 0 &&
           !IsFocused();
}

bool DUIEdit::ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case plat::WM_ERASEBKGND:
            if (IsSurfaceShown()) {
                result = 1;
                return true;
            }
            break;
        case plat::WM_PAINT:
            DUIRichEdit::ProcessWindowMessage(message, wParam, lParam, result);
            if (IsSurfaceShown()) {
                PaintSurface(reinterpret_cast<IDMCanvas*>(wParam));
            }
            return true;
        case plat::WM_SETFOCUS:
        case plat::WM_KILLFOCUS:
            DUIRichEdit::ProcessWindowMessage(message, wParam, lParam, result);
            if (!m_strSurfaceText.empty() && GetWindowTextLength() == 0) {
                Invalidate();
            }
            return true;
        default:
            break;
    }
    return DUIRichEdit::ProcessWindowMessage(message, wParam, lParam, result);
}

void DUIEdit::PaintSurface(IDMCanvas* canvas) {
    if (!canvas) {
        return;
    }
    RECT client{};
    GetClientRect(client);
    if (GetContainer() && !GetContainer()->OnIsTranslucent()) {
        RECT text{client.left + m_rcInsetMargin.left, client.top + m_rcInsetMargin.top,
                  client.right - m_rcInsetMargin.right, client.bottom - m_rcInsetMargin.bottom};
        canvas->AdjustAlpha(0xFF, &text);
    }
    if (m_pSurfaceSkin) {
        m_pSurfaceSkin->Draw(canvas, client, 0, 0xFF);
    }
    DUIDrawEnviron saved;
    IDMMetaFile* previousFont = nullptr;
    if (m_pSurfaceFont) {
        canvas->SelectObject(m_pSurfaceFont.get(), &previousFont);
    } else {
        PushDrawEnviron(canvas, saved);
    }
    DMColor previousColor;
    canvas->SetTextColor(m_crSurfaceText, &previousColor);
    DMStringT shown;
    GetTransText(shown, m_strSurfaceText);
    UINT align = m_iSurfaceAlign == 1 ? DT_CENTER : m_iSurfaceAlign == 2 ? DT_RIGHT : DT_LEFT;
    if (!shown.empty()) {
        canvas->DrawText(shown.c_str(), -1, client, kSurfaceFormat | align, 0xFF);
    }
    canvas->SetTextColor(previousColor, nullptr);
    if (previousFont) {
        canvas->SelectObject(previousFont, nullptr);
        previousFont->Release();
    } else if (!m_pSurfaceFont) {
        PopDrawEnviron(canvas, saved);
    }
}

}  // namespace DM
