// The fonts of all widgets, one object per normalised font description.
#pragma once

#include "DMMapT.h"
#include "DMSmartPtrT.h"
#include "IDMRender.h"

namespace DM {

class DUIFontPool {
public:
    DUIFontPool();

    // The font a description names, made on first use with the default render object; an
    // empty description gives the default font.
    IDMFont* GetFont(const DMStringT& description);
    // Later descriptions take what they do not name from this one.
    bool SetDefaultFont(const DMStringT& description);
    const plat::LOGFONTW& GetDefaultLogFont() const { return m_defaultFont; }

private:
    IDMFont* FontFor(const DMStringT& key, const plat::LOGFONTW& font);

    DMMapT<DMStringT, DMSmartPtrT<IDMFont>> m_fonts;
    plat::LOGFONTW m_defaultFont{};
    DMStringT m_strDefaultFace;
};

}  // namespace DM
