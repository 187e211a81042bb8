#include "textsvc/text_layout.h"

#include <algorithm>

#include "plat/rich_edit.h"

namespace plat::textsvc {
namespace {

// Grey-scale antialiasing: sub-pixel colours would fringe on transparent surfaces.
PangoContext* MakeContext() {
    PangoContext* context = pango_font_map_create_context(pango_cairo_font_map_get_default());
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
    pango_cairo_context_set_font_options(context, options);
    cairo_font_options_destroy(options);
    return context;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Characters pango cannot take (lone surrogates, values beyond Unicode) show as U+FFFD.
char32_t Displayable(wchar_t c) {
    auto value = static_cast<char32_t>(c);
    bool valid = value < 0x110000 && (value < 0xD800 || value > 0xDFFF) && value != 0;
    return valid ? value : U'\uFFFD';
}

PangoAlignment AlignmentOf(WORD alignment) {
    switch (alignment) {
        case PFA_CENTER:
            return PANGO_ALIGN_CENTER;
        case PFA_RIGHT:
            return PANGO_ALIGN_RIGHT;
        default:
            return PANGO_ALIGN_LEFT;
    }
}

LONG Pixels(int units) {
    return PANGO_PIXELS_FLOOR(units);
}

}  // namespace

TextLayout::TextLayout() : m_context(MakeContext()), m_layout(pango_layout_new(m_context)) {}

TextLayout::~TextLayout() {
    g_object_unref(m_layout);
    g_object_unref(m_context);
}

void TextLayout::Build(const LayoutRequest& request) {
    std::string utf8;
    m_byteOf.assign(1, 0);
    m_byteOf.reserve(request.shown.size() + 1);
    for (wchar_t c : request.shown) {
        AppendUtf8(utf8, Displayable(c));
        m_byteOf.push_back(static_cast<int>(utf8.size()));
    }
    pango_layout_set_font_description(m_layout, request.font);
    pango_layout_set_text(m_layout, utf8.c_str(), static_cast<int>(utf8.size()));
    PangoAttrList* attributes = pango_attr_list_new();
    if (request.underlined) {
        pango_attr_list_insert(attributes, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
    }
    if (request.underlineStart < request.underlineEnd) {
        PangoAttribute* underline = pango_attr_underline_new(PANGO_UNDERLINE_SINGLE);
        underline->start_index = ByteOf(request.underlineStart);
        underline->end_index = ByteOf(request.underlineEnd);
        pango_attr_list_insert(attributes, underline);
    }
    pango_layout_set_attributes(m_layout, attributes);
    pango_attr_list_unref(attributes);
    ApplyWidth(request);
    CollectLines();
}

// Wrapped text breaks at the wrap width; unwrapped text is given the wider of its own width
// and the view's, so that aligned lines move within the view without ever breaking.
void TextLayout::ApplyWidth(const LayoutRequest& request) {
    pango_layout_set_alignment(m_layout, AlignmentOf(request.alignment));
    pango_layout_set_wrap(m_layout, PANGO_WRAP_WORD_CHAR);
    if (request.wrapWidth > 0) {
        pango_layout_set_width(m_layout, request.wrapWidth * PANGO_SCALE);
    } else {
        pango_layout_set_width(m_layout, -1);
        if (request.alignment == PFA_CENTER || request.alignment == PFA_RIGHT) {
            PangoRectangle logical;
            pango_layout_get_extents(m_layout, nullptr, &logical);
            pango_layout_set_width(m_layout,
                                   std::max(logical.width + 1, request.viewWidth * PANGO_SCALE));
        }
    }
    PangoRectangle logical;
    pango_layout_get_extents(m_layout, nullptr, &logical);
    m_size = {Pixels(logical.x + logical.width + PANGO_SCALE - 1), Pixels(logical.height)};
}

void TextLayout::CollectLines() {
    m_lines.clear();
    PangoLayoutIter* iter = pango_layout_get_iter(m_layout);
    do {
        PangoLayoutLine* line = pango_layout_iter_get_line_readonly(iter);
        int top = 0;
        int bottom = 0;
        pango_layout_iter_get_line_yrange(iter, &top, &bottom);
        m_lines.push_back({IndexOfByte(line->start_index),
                           IndexOfByte(line->start_index + line->length), Pixels(top),
                           Pixels(bottom)});
    } while (pango_layout_iter_next_line(iter));
    pango_layout_iter_free(iter);
}

int TextLayout::ByteOf(LONG index) const {
    auto clamped = std::clamp<LONG>(index, 0, static_cast<LONG>(m_byteOf.size()) - 1);
    return m_byteOf[static_cast<std::size_t>(clamped)];
}

LONG TextLayout::IndexOfByte(int byte) const {
    auto found = std::lower_bound(m_byteOf.begin(), m_byteOf.end(), byte);
    return static_cast<LONG>(std::min<std::ptrdiff_t>(
        found - m_byteOf.begin(), static_cast<std::ptrdiff_t>(m_byteOf.size()) - 1));
}

int TextLayout::LineOf(LONG index) const {
    for (std::size_t line = 0; line + 1 < m_lines.size(); ++line) {
        if (index < m_lines[line + 1].start) {
            return static_cast<int>(line);
        }
    }
    return static_cast<int>(m_lines.size()) - 1;
}

RECT TextLayout::CaretRect(LONG index) const {
    PangoRectangle strong;
    pango_layout_get_cursor_pos(m_layout, ByteOf(index), &strong, nullptr);
    const LayoutLine& line = m_lines[static_cast<std::size_t>(LineOf(index))];
    LONG x = Pixels(strong.x);
    return {x, line.top, x + 1, line.bottom};
}

LONG TextLayout::IndexAt(POINT point) const {
    const LayoutLine* line = &m_lines.front();
    for (const LayoutLine& candidate : m_lines) {
        if (point.y >= candidate.top) {
            line = &candidate;
        }
    }
    int byte = 0;
    int trailing = 0;
    int y = (line->top + line->bottom) / 2 * PANGO_SCALE;
    pango_layout_xy_to_index(m_layout, point.x * PANGO_SCALE, y, &byte, &trailing);
    return std::clamp(IndexOfByte(byte) + trailing, line->start, line->end);
}

std::vector<RECT> TextLayout::RangeRects(LONG from, LONG to) const {
    std::vector<RECT> rects;
    for (int number = 0; number < static_cast<int>(m_lines.size()); ++number) {
        const LayoutLine& line = m_lines[static_cast<std::size_t>(number)];
        LONG start = std::max(from, line.start);
        LONG end = std::min(to, line.end);
        if (start >= end) {
            continue;
        }
        int* ranges = nullptr;
        int count = 0;
        pango_layout_line_get_x_ranges(pango_layout_get_line_readonly(m_layout, number),
                                       ByteOf(start), ByteOf(end), &ranges, &count);
        for (int range = 0; range < count; ++range) {
            rects.push_back({Pixels(ranges[2 * range]), line.top,
                             Pixels(ranges[2 * range + 1] + PANGO_SCALE - 1), line.bottom});
        }
        g_free(ranges);
    }
    return rects;
}

LONG TextLayout::Baseline() const {
    return Pixels(pango_layout_get_baseline(m_layout));
}

}  // namespace plat::textsvc
