// Text on the canvas, laid out by pango in the selected font.
#include <cmath>
#include <cwchar>

#include "DMBitmapImpl.h"
#include "DMCanvasImpl.h"
#include "DMFontImpl.h"
#include "plat/text.h"

// After the platform's types: glib defines TRUE and FALSE as macros.
#include <pango/pangocairo.h>

namespace DM {
namespace {

// Boxes beyond this many pixels are not drawn.
constexpr long long kLargestTextBox = 4000000;

// Without DT_NOPREFIX a single "&" marks the next character and is not shown; "&&" shows one.
std::wstring WithoutPrefixes(const std::wstring& text) {
    std::wstring shown;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'&' && i + 1 < text.size()) {
            ++i;
        }
        shown += text[i];
    }
    return shown;
}

std::wstring TextOf(const wchar_t* text, int length, UINT format) {
    std::wstring value(text, length < 0 ? std::wcslen(text) : static_cast<std::size_t>(length));
    if (!(format & DT_NOPREFIX)) {
        value = WithoutPrefixes(value);
    }
    if (format & DT_SINGLELINE) {
        for (wchar_t& c : value) {
            if (c == L'\r' || c == L'\n') {
                c = L' ';
            }
        }
    }
    return value;
}

class Layout {
public:
    Layout(cairo_t* cr, const IDMFont* font, const std::wstring& text, UINT format, int width)
        : m_layout(pango_cairo_create_layout(cr)) {
        const auto* dmFont = static_cast<const DMFontImpl*>(font);
        pango_layout_set_font_description(m_layout, dmFont->Description());
        std::string utf8 = plat::WideToUtf8(text);
        pango_layout_set_text(m_layout, utf8.c_str(), static_cast<int>(utf8.size()));
        ApplyDecorations(*dmFont);
        if ((format & DT_WORDBREAK) && !(format & DT_SINGLELINE) && width > 0) {
            pango_layout_set_width(m_layout, width * PANGO_SCALE);
            pango_layout_set_wrap(m_layout, PANGO_WRAP_WORD_CHAR);
        } else if ((format & DT_END_ELLIPSIS) && width > 0) {
            pango_layout_set_width(m_layout, width * PANGO_SCALE);
            pango_layout_set_ellipsize(m_layout, PANGO_ELLIPSIZE_END);
        }
        if (format & DT_CENTER) {
            pango_layout_set_alignment(m_layout, PANGO_ALIGN_CENTER);
        } else if (format & DT_RIGHT) {
            pango_layout_set_alignment(m_layout, PANGO_ALIGN_RIGHT);
        }
    }
    ~Layout() { g_object_unref(m_layout); }
    Layout(const Layout&) = delete;
    Layout& operator=(const Layout&) = delete;

    SIZE Size() const {
        int width = 0;
        int height = 0;
        pango_layout_get_pixel_size(m_layout, &width, &height);
        return {width, height};
    }
    PangoLayout* get() const { return m_layout; }

private:
    void ApplyDecorations(const DMFontImpl& font) {
        if (!font.IsUnderline() && !font.IsStrikeOut()) {
            return;
        }
        PangoAttrList* attributes = pango_attr_list_new();
        if (font.IsUnderline()) {
            pango_attr_list_insert(attributes, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
        }
        if (font.IsStrikeOut()) {
            pango_attr_list_insert(attributes, pango_attr_strikethrough_new(TRUE));
        }
        pango_layout_set_attributes(m_layout, attributes);
        pango_attr_list_unref(attributes);
    }

    PangoLayout* m_layout;
};

std::uint32_t TextPixel(std::uint32_t under, DMColor color, BYTE coverage, double blend) {
    auto channel = [&](int shift, BYTE text) {
        double below = (under >> shift) & 0xFF;
        double drawn = below + (text - below) * coverage / 255.0;
        return static_cast<std::uint32_t>(std::lround(drawn * blend + below * (1 - blend)));
    };
    double alphaBelow = under >> 24;
    auto alpha = static_cast<std::uint32_t>(std::lround(255 * blend + alphaBelow * (1 - blend)));
    return channel(0, color.b) | channel(8, color.g) << 8 | channel(16, color.r) << 16 |
           alpha << 24;
}

// The measured box placed inside the rectangle by the format.
RECT PlaceBox(const RECT& rect, const SIZE& size, UINT format) {
    LONG width = rect.right - rect.left;
    LONG height = rect.bottom - rect.top;
    RECT box{rect.left, rect.top, rect.left + size.cx, rect.top + size.cy};
    LONG dx = 0;
    LONG dy = 0;
    if ((format & DT_CENTER) && size.cx < width) {
        dx = (width - size.cx) / 2;
    } else if (format & DT_RIGHT) {
        dx = width - size.cx;
    }
    if ((format & DT_VCENTER) && size.cy < height) {
        dy = (height - size.cy) / 2;
    } else if (format & DT_BOTTOM) {
        dy = height - size.cy;
    }
    return {box.left + dx, box.top + dy, box.right + dx, box.bottom + dy};
}

}  // namespace

DMCode DMCanvasImpl::SetTextColor(DMColor color, DMColor* previous) {
    if (previous) {
        *previous = m_clrText;
    }
    m_clrText = color;
    return DM_ECODE_OK;
}

DMCode DMCanvasImpl::MeasureText(const wchar_t* text, int length, SIZE& size) {
    if (!text) {
        return DM_ECODE_FAIL;
    }
    Drawing drawing(*this);
    Layout layout(drawing.cr(), m_font.get(), TextOf(text, length, DT_NOPREFIX | DT_SINGLELINE),
                  DT_SINGLELINE, 0);
    size = layout.Size();
    return DM_ECODE_OK;
}

DMCode DMCanvasImpl::DrawText(const wchar_t* text, int length, RECT& rect, UINT format,
                              BYTE alpha) {
    if (!text || length == 0 || (length < 0 && *text == L'\0')) {
        return DM_ECODE_FAIL;
    }
    Drawing drawing(*this);
    cairo_t* cr = drawing.cr();
    Layout layout(cr, m_font.get(), TextOf(text, length, format), format, rect.right - rect.left);
    SIZE size = layout.Size();
    if (format & DT_CALCRECT) {
        rect.right = rect.left + size.cx;
        rect.bottom = rect.top + size.cy;
        return DM_ECODE_OK;
    }
    RECT placed = PlaceBox(rect, size, format);
    RECT box = (format & DT_NOCLIP) ? placed : IntersectRects(placed, rect);
    long long pixels = static_cast<long long>(box.right - box.left) * (box.bottom - box.top);
    if (IsEmptyRect(box) || pixels > kLargestTextBox || IsEmptyRect(VisiblePart(box))) {
        return DM_ECODE_FAIL;
    }
    // Wrapped lines align within the rectangle's width, a single line within its own box.
    LONG originX = pango_layout_get_width(layout.get()) > 0 ? rect.left : placed.left;
    BlendText(layout.get(), {originX, placed.top}, box, alpha);
    return DM_ECODE_OK;
}

// Every pixel the glyphs touch becomes the text colour mixed with what was there by the
// glyph's coverage, at full alpha, and is then blended onto the canvas with the text colour's
// alpha scaled by `alpha`. On opaque areas this is ordinary anti-aliased text; on transparent
// areas the text stays solid, so it shows on a translucent window.
void DMCanvasImpl::BlendText(PangoLayout* layout, const POINT& at, const RECT& box, BYTE alpha) {
    DMRectSet area(IntersectRects(ToDevice(box), DeviceBounds()));
    area.Combine(CurrentClip(), RGN_AND);
    if (area.IsEmpty()) {
        return;
    }
    RECT bounds = area.Box();
    int width = bounds.right - bounds.left;
    int height = bounds.bottom - bounds.top;
    cairo_surface_t* mask = cairo_image_surface_create(CAIRO_FORMAT_A8, width, height);
    cairo_t* cr = cairo_create(mask);
    cairo_translate(cr, m_ptOrg.x - bounds.left, m_ptOrg.y - bounds.top);
    cairo_move_to(cr, at.x, at.y);
    pango_cairo_update_layout(cr, layout);
    pango_cairo_show_layout(cr, layout);
    cairo_destroy(cr);
    cairo_surface_flush(mask);
    const unsigned char* coverage = cairo_image_surface_get_data(mask);
    int maskStride = cairo_image_surface_get_stride(mask);
    DMDIBHelper& dib = Bitmap()->Dib();
    dib.Flush();
    double blend = m_clrText.a / 255.0 * alpha / 255.0;
    for (const RECT& part : area.Rects()) {
        for (LONG y = part.top; y < part.bottom; ++y) {
            const unsigned char* covered = coverage + (y - bounds.top) * maskStride;
            std::uint32_t* row = dib.Pixels() + static_cast<std::size_t>(y) * dib.Width();
            for (LONG x = part.left; x < part.right; ++x) {
                if (BYTE c = covered[x - bounds.left]) {
                    row[x] = TextPixel(row[x], m_clrText, c, blend);
                }
            }
        }
    }
    dib.MarkDirty();
    cairo_surface_destroy(mask);
}

DMCode DMCanvasImpl::TextOut(const wchar_t* text, int length, int x, int y, BYTE alpha) {
    SIZE size{};
    if (MeasureText(text, length, size) != DM_ECODE_OK || size.cx == 0) {
        return DM_ECODE_FAIL;
    }
    RECT box{x, y, x + size.cx, y + size.cy};
    return DrawText(text, length, box, DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP, alpha);
}

}  // namespace DM
