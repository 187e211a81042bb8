#include "DMFontImpl.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "plat/font_aliases.h"
#include "plat/text.h"

namespace DM {
namespace {

constexpr int kDefaultPixelHeight = 12;

// A negative height is the character height in pixels; a positive one the cell height, of
// which the character takes about seven eighths.
double PixelHeight(LONG height) {
    if (height < 0) {
        return -static_cast<double>(height);
    }
    return height == 0 ? kDefaultPixelHeight : std::max(1.0, std::floor(height * 7.0 / 8));
}

}  // namespace

DMFontImpl::DMFontImpl(const plat::LOGFONTW& font) : m_logFont(font) {
    m_logFont.lfQuality = CLEARTYPE_QUALITY;
    plat::InstallFontAliases();
    m_description = pango_font_description_new();
    std::string face = plat::WideToUtf8(m_logFont.lfFaceName);
    pango_font_description_set_family(m_description, face.empty() ? "sans" : face.c_str());
    pango_font_description_set_absolute_size(m_description,
                                             PixelHeight(m_logFont.lfHeight) * PANGO_SCALE);
    int weight = m_logFont.lfWeight == 0 ? 400 : std::clamp<int>(m_logFont.lfWeight, 100, 1000);
    pango_font_description_set_weight(m_description, static_cast<PangoWeight>(weight));
    pango_font_description_set_style(m_description,
                                     m_logFont.lfItalic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    char* description = pango_font_description_to_string(m_description);
    m_key = description;
    g_free(description);
    m_key += IsUnderline() ? " underline" : "";
    m_key += IsStrikeOut() ? " strikeout" : "";
}

DMFontImpl::~DMFontImpl() {
    pango_font_description_free(m_description);
}

}  // namespace DM
