// A font: a logical font description (its quality always ClearType) and the pango
// description that draws it.
#pragma once

#include <string>

#include "IDMRender.h"

// After the platform's types: glib defines TRUE and FALSE as macros.
#include <pango/pango.h>

namespace DM {

constexpr BYTE CLEARTYPE_QUALITY = 5;

class DMFontImpl : public IDMFont {
public:
    explicit DMFontImpl(const plat::LOGFONTW& font);
    ~DMFontImpl() override;

    int GetObjectType() const override { return DMF_FONT; }
    const plat::LOGFONTW* GetLogFont() const override { return &m_logFont; }
    const wchar_t* GetFaceName() const override { return m_logFont.lfFaceName; }
    bool IsUnderline() const override { return m_logFont.lfUnderline != 0; }
    bool IsItalic() const override { return m_logFont.lfItalic != 0; }
    bool IsStrikeOut() const override { return m_logFont.lfStrikeOut != 0; }

    const PangoFontDescription* Description() const { return m_description; }
    // Equal for fonts that lay text out alike: the description and the decorations.
    const std::string& Key() const { return m_key; }

private:
    plat::LOGFONTW m_logFont;
    PangoFontDescription* m_description;
    std::string m_key;
};

}  // namespace DM
