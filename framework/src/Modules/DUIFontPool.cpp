#include "DUIFontPool.h"

#include <cwchar>
#include "DMStringHelpers.h"

#include "DMApp.h"
#include "DMFontDesc.h"
#include "DMRegType.h"

namespace DM {
// The platform's default interface font at 14 pixels, in the Song face.
DUIFontPool::DUIFontPool() : m_strDefaultFace(L"宋体") {
    m_defaultFont.lfHeight = -14;
    m_defaultFont.lfWeight = plat::FW_NORMAL;
    m_defaultFont.lfCharSet = plat::DEFAULT_CHARSET;
    std::wcscpy(m_defaultFont.lfFaceName, m_strDefaultFace.c_str());
}

IDMFont* DUIFontPool::FontFor(const DMStringT& key, const plat::LOGFONTW& font) {
    if (DMSmartPtrT<IDMFont>* present = m_fonts.Find(key)) {
        return present->get();
    }
    IDMRender* render = nullptr;
    if (DMApp::GetObjPtr()->GetDefRegObj(&render, DMREG_Render) != DM_ECODE_OK) {
        return nullptr;
    }
    auto renderer = DMSmartPtrT<IDMRender>::Adopt(render);
    IDMFont* created = nullptr;
    if (renderer->CreateFont(&font, &created) != DM_ECODE_OK) {
        return nullptr;
    }
    m_fonts.SetAt(key, DMSmartPtrT<IDMFont>::Adopt(created));
    return created;
}

IDMFont* DUIFontPool::GetFont(const DMStringT& description) {
    DMStringT text = LowerCase(TrimSpaces(description));
    if (std::optional<plat::LOGFONTW> font = ParseFontDescription(text, m_defaultFont)) {
        return FontFor(NormalisedFontText(*font), *font);
    }
    return FontFor(text, m_defaultFont);
}

bool DUIFontPool::SetDefaultFont(const DMStringT& description) {
    std::optional<plat::LOGFONTW> font = ParseFontDescription(description, m_defaultFont);
    if (!font) {
        return false;
    }
    m_defaultFont = *font;
    m_strDefaultFace = font->lfFaceName;
    return true;
}

}  // namespace DM
