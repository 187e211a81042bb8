// The character and paragraph formats: the host's defaults, with what EM_SETCHARFORMAT and
// EM_SETPARAFORMAT changed for the whole text on top, and runs of text in formats of their own.
#include <algorithm>
#include <cstring>

#include "plat/system_colors.h"
#include "plat/text.h"
#include "textsvc/text_services_engine.h"

namespace plat::textsvc {
namespace {

constexpr double kTwipsPerPixel = 15;  // 1440 twips per inch at 96 pixels per inch
constexpr LONG kDefaultHeightTwips = 200;
constexpr DWORD kEffectBits = CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT;

std::string FaceNameUtf8(const char16_t* face) {
    std::u16string_view name(face, LF_FACESIZE);
    return WideToUtf8(Utf16ToWide(name.substr(0, name.find(u'\0'))));
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
        case EM_SETCHARFORMAT:
            return SetCharFormat(wparam, *reinterpret_cast<const CHARFORMATW*>(lparam)) ? TRUE
                                                                                        : FALSE;
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

// A change for the whole text (SCF_DEFAULT, SCF_ALL, or a selection of all of it) changes the
// default format and every run; a change for part of the text makes it a run of its own. An
// empty selection in a text has no characters to change and is refused.
bool TextServices::SetCharFormat(WPARAM scope, const CHARFORMATW& given) {
    if (given.cbSize != sizeof(CHARFORMATW) && given.cbSize != sizeof(CHARFORMAT2W)) {
        return false;
    }
    CHARFORMAT2W change = Widened(given);
    bool forSelection = (scope & (SCF_SELECTION | SCF_WORD)) != 0;
    if (!forSelection || m_text.empty() || (SelectionStart() == 0 && SelectionEnd() == Length())) {
        if (m_charFormatChange) {
            Merge(*m_charFormatChange, change);
        } else {
            m_charFormatChange = change;
        }
        for (FormatRun& run : m_runs) {
            Merge(run.change, change);
        }
        ReadCharFormat();
    } else if (HasSelection()) {
        FormatRange(SelectionStart(), SelectionEnd(), change);
    } else {
        return false;
    }
    ShownTextChanged();
    return true;
}

// The runs are cut at the range's ends; the parts inside take the change, and the gaps between
// them become new runs.
void TextServices::FormatRange(LONG start, LONG end, const CHARFORMAT2W& change) {
    std::vector<FormatRun> runs;
    LONG covered = start;
    for (const FormatRun& run : m_runs) {
        if (run.end <= start || run.start >= end) {
            runs.push_back(run);
            continue;
        }
        if (run.start < start) {
            runs.push_back({run.start, start, run.change});
        }
        LONG from = std::max(run.start, start);
        if (covered < from) {
            runs.push_back({covered, from, change});
        }
        FormatRun inside{from, std::min(run.end, end), run.change};
        Merge(inside.change, change);
        runs.push_back(inside);
        covered = inside.end;
        if (run.end > end) {
            runs.push_back({end, run.end, run.change});
        }
    }
    if (covered < end) {
        runs.push_back({covered, end, change});
    }
    std::sort(runs.begin(), runs.end(),
              [](const FormatRun& a, const FormatRun& b) { return a.start < b.start; });
    m_runs = std::move(runs);
}

// Runs follow the text: removed characters leave them, inserted ones join the run of the
// character before them.
void TextServices::MoveRuns(const Replacement& replacement) {
    LONG at = replacement.position;
    auto removed = static_cast<LONG>(replacement.removed.size());
    auto inserted = static_cast<LONG>(replacement.inserted.size());
    auto afterRemoval = [&](LONG position) {
        return position <= at ? position : std::max(at, position - removed);
    };
    std::vector<FormatRun> runs;
    for (FormatRun run : m_runs) {
        run.start = afterRemoval(run.start);
        run.end = afterRemoval(run.end);
        if (run.start == run.end) {
            continue;
        }
        run.end += run.end >= at ? inserted : 0;
        run.start += run.start >= at ? inserted : 0;
        runs.push_back(run);
    }
    m_runs = std::move(runs);
}

// The runs in shown positions, each in its whole format.
std::vector<StyledRange> TextServices::StyledRanges() {
    m_runFonts.clear();
    std::vector<StyledRange> ranges;
    CHARFORMAT2W base = CharFormat();
    for (const FormatRun& run : m_runs) {
        CHARFORMAT2W format = base;
        Merge(format, run.change);
        m_runFonts.emplace_back(FontOf(format), &pango_font_description_free);
        bool autoColor = !(format.dwMask & CFM_COLOR) || (format.dwEffects & CFE_AUTOCOLOR);
        ranges.push_back({ShownIndex(run.start), ShownIndex(run.end), m_runFonts.back().get(),
                          autoColor ? m_host->TxGetSysColor(COLOR_WINDOWTEXT) : format.crTextColor,
                          (format.dwMask & CFM_UNDERLINE) && (format.dwEffects & CFE_UNDERLINE),
                          (format.dwMask & CFM_STRIKEOUT) && (format.dwEffects & CFE_STRIKEOUT)});
    }
    return ranges;
}

}  // namespace plat::textsvc
