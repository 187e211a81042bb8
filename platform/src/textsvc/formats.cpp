// The one character format and paragraph format of the text: the host's defaults, with what
// EM_SETCHARFORMAT and EM_SETPARAFORMAT changed for the whole text on top.
#include <algorithm>
#include <cstring>
#include <cuchar>

#include "plat/system_colors.h"
#include "textsvc/text_services_engine.h"

namespace plat::textsvc {
namespace {

constexpr double kTwipsPerPixel = 15;  // 1440 twips per inch at 96 pixels per inch
constexpr LONG kDefaultHeightTwips = 200;
constexpr DWORD kEffectBits = CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT;

std::string FaceNameUtf8(const char16_t* face) {
    std::string utf8;
    std::mbstate_t state{};
    char bytes[MB_LEN_MAX * 2];
    for (int index = 0; index < LF_FACESIZE && face[index]; ++index) {
        std::size_t count = std::c16rtomb(bytes, face[index], &state);
        if (count != static_cast<std::size_t>(-1)) {
            utf8.append(bytes, count);
        }
    }
    return utf8;
}

// The record as a CHARFORMAT2W, whichever of the two sizes it has.
CHARFORMAT2W Widened(const CHARFORMATW& format) {
    CHARFORMAT2W wide{};
    std::size_t size =
        format.cbSize >= sizeof(CHARFORMAT2W) ? sizeof(CHARFORMAT2W) : sizeof(CHARFORMATW);
    std::memcpy(&wide, &format, size);
    if (size < sizeof(CHARFORMAT2W)) {
        wide.dwMask &= ~CFM_WEIGHT;
    }
    wide.cbSize = sizeof(CHARFORMAT2W);
    return wide;
}

// The fields `change`'s mask names replace those of `base`.
void Merge(CHARFORMAT2W& base, const CHARFORMAT2W& change) {
    DWORD mask = change.dwMask;
    DWORD effects = (mask & kEffectBits) | (mask & CFM_COLOR ? CFE_AUTOCOLOR : 0);
    base.dwEffects = (base.dwEffects & ~effects) | (change.dwEffects & effects);
    if (mask & CFM_SIZE) {
        base.yHeight = change.yHeight;
    }
    if (mask & CFM_OFFSET) {
        base.yOffset = change.yOffset;
    }
    if (mask & CFM_COLOR) {
        base.crTextColor = change.crTextColor;
    }
    if (mask & CFM_CHARSET) {
        base.bCharSet = change.bCharSet;
    }
    if (mask & CFM_FACE) {
        std::memcpy(base.szFaceName, change.szFaceName, sizeof(base.szFaceName));
        base.bPitchAndFamily = change.bPitchAndFamily;
    }
    if (mask & CFM_WEIGHT) {
        base.wWeight = change.wWeight;
    }
    base.dwMask |= mask;
}

PangoFontDescription* FontOf(const CHARFORMAT2W& format) {
    DWORD mask = format.dwMask;
    PangoFontDescription* font = pango_font_description_new();
    std::string face = (mask & CFM_FACE) ? FaceNameUtf8(format.szFaceName) : std::string();
    pango_font_description_set_family(font, face.empty() ? "sans" : face.c_str());
    LONG twips = (mask & CFM_SIZE) && format.yHeight > 0 ? format.yHeight : kDefaultHeightTwips;
    pango_font_description_set_absolute_size(font, twips * PANGO_SCALE / kTwipsPerPixel);
    int weight = (mask & CFM_BOLD) && (format.dwEffects & CFE_BOLD) ? 700 : 400;
    if ((mask & CFM_WEIGHT) && format.wWeight) {
        weight = std::clamp<int>(format.wWeight, 100, 1000);
    }
    pango_font_description_set_weight(font, static_cast<PangoWeight>(weight));
    bool italic = (mask & CFM_ITALIC) && (format.dwEffects & CFE_ITALIC);
    pango_font_description_set_style(font, italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    return font;
}

}  // namespace

CHARFORMAT2W TextServices::CharFormat() const {
    const CHARFORMATW* given = nullptr;
    CHARFORMAT2W format{};
    format.cbSize = sizeof(CHARFORMAT2W);
    if (SUCCEEDED(m_host->TxGetCharFormat(&given)) && given) {
        format = Widened(*given);
    }
    if (m_charFormatChange) {
        Merge(format, *m_charFormatChange);
    }
    return format;
}

void TextServices::ReadCharFormat() {
    CHARFORMAT2W format = CharFormat();
    if (m_format.font) {
        pango_font_description_free(m_format.font);
    }
    m_format.font = FontOf(format);
    bool autoColor = !(format.dwMask & CFM_COLOR) || (format.dwEffects & CFE_AUTOCOLOR);
    m_format.color = autoColor ? m_host->TxGetSysColor(COLOR_WINDOWTEXT) : format.crTextColor;
    m_format.underline = (format.dwMask & CFM_UNDERLINE) && (format.dwEffects & CFE_UNDERLINE);
    InvalidateLayout();
}

void TextServices::ReadParaFormat() {
    const PARAFORMAT* format = nullptr;
    if (SUCCEEDED(m_host->TxGetParaFormat(&format)) && format && (format->dwMask & PFM_ALIGNMENT)) {
        m_alignment = format->wAlignment;
    }
    if (m_alignmentChange) {
        m_alignment = *m_alignmentChange;
    }
    InvalidateLayout();
}

// One format serves the whole text: a change for the selection applies when the selection is
// the whole text (or there is no text yet), otherwise it is refused.
LRESULT TextServices::FormatMessage(UINT msg, WPARAM wparam, LPARAM lparam) {
    if (!lparam) {
        return 0;
    }
    switch (msg) {
        case EM_GETCHARFORMAT: {
            auto* out = reinterpret_cast<CHARFORMATW*>(lparam);
            CHARFORMAT2W format = CharFormat();
            std::size_t size =
                out->cbSize >= sizeof(CHARFORMAT2W) ? sizeof(CHARFORMAT2W) : sizeof(CHARFORMATW);
            UINT asked = out->cbSize;
            std::memcpy(out, &format, size);
            out->cbSize = asked;
            return format.dwMask;
        }
        case EM_SETCHARFORMAT: {
            const auto* in = reinterpret_cast<const CHARFORMATW*>(lparam);
            bool wholeText = !(wparam & (SCF_SELECTION | SCF_WORD)) || m_text.empty() ||
                             (SelectionStart() == 0 && SelectionEnd() == Length());
            if ((in->cbSize != sizeof(CHARFORMATW) && in->cbSize != sizeof(CHARFORMAT2W)) ||
                !wholeText) {
                return FALSE;
            }
            CHARFORMAT2W change = Widened(*in);
            if (m_charFormatChange) {
                Merge(*m_charFormatChange, change);
            } else {
                m_charFormatChange = change;
            }
            ReadCharFormat();
            ShownTextChanged();
            return TRUE;
        }
        case EM_GETPARAFORMAT: {
            auto* out = reinterpret_cast<PARAFORMAT*>(lparam);
            out->dwMask = PFM_ALIGNMENT;
            out->wAlignment = m_alignment;
            return PFM_ALIGNMENT;
        }
        case EM_SETPARAFORMAT: {
            const auto* in = reinterpret_cast<const PARAFORMAT*>(lparam);
            if (in->cbSize != sizeof(PARAFORMAT) && in->cbSize != sizeof(PARAFORMAT2)) {
                return FALSE;
            }
            if (in->dwMask & PFM_ALIGNMENT) {
                m_alignmentChange = in->wAlignment;
                ReadParaFormat();
                ShownTextChanged();
            }
            return TRUE;
        }
        default:
            return 0;
    }
}

}  // namespace plat::textsvc
