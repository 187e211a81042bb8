// Text on the canvas, laid out by pango in the selected font (kept across draws, see
// DMLaidOutText).
#include <cmath>
#include <cwchar>
#include <memory>

#include "DMBitmapImpl.h"
#include "DMCanvasImpl.h"
#include "DMFontImpl.h"
#include "DMLaidOutText.h"

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

// TextPixel at full strength (blend 1), in integers: below + (text - below) × coverage / 255
// rounded to the nearest value, which is never half-way between two.
std::uint32_t OpaqueTextPixel(std::uint32_t under, DMColor color, int coverage) {
    auto channel = [&](int shift, int text) {
        int below = static_cast<int>((under >> shift) & 0xFF);
        int scaled = 255 * below + (text - below) * coverage;
        return static_cast<std::uint32_t>((2 * scaled + 255) / 510);
    };
    return channel(0, color.b) | channel(8, color.g) << 8 | channel(16, color.r) << 16 |
           0xFF000000u;
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
    size = LaidOutText(*static_cast<const DMFontImpl*>(m_font.get()),
                       TextOf(text, length, DT_NOPREFIX | DT_SINGLELINE), DT_SINGLELINE, 0)
               ->Size();
    return DM_ECODE_OK;
}

DMCode DMCanvasImpl::DrawText(const wchar_t* text, int length, RECT& rect, UINT format,
                              BYTE alpha) {
    if (!text || length == 0 || (length < 0 && *text == L'\0')) {
        return DM_ECODE_FAIL;
    }
    std::shared_ptr<DMLaidOutText> laidOut =
        LaidOutText(*static_cast<const DMFontImpl*>(m_font.get()), TextOf(text, length, format),
                    format, rect.right - rect.left);
    SIZE size = laidOut->Size();
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
    LONG originX = laidOut->HasWidth() ? rect.left : placed.left;
    BlendText(*laidOut, {originX, placed.top}, box, alpha);
    return DM_ECODE_OK;
}

// Every pixel the glyphs touch becomes the text colour mixed with what was there by the
// glyph's coverage, at full alpha, and is then blended onto the canvas with the text colour's
// alpha scaled by `alpha`. On opaque areas this is ordinary anti-aliased text; on transparent
// areas the text stays solid, so it shows on a translucent window.
void DMCanvasImpl::BlendText(DMLaidOutText& text, const POINT& at, const RECT& box, BYTE alpha) {
    DMRectSet area(IntersectRects(ToDevice(box), DeviceBounds()));
    area.Combine(CurrentClip(), RGN_AND);
    if (area.IsEmpty()) {
        return;
    }
    const DMTextCoverage& coverage =
        text.CoverageOver({box.left - at.x, box.top - at.y, box.right - at.x, box.bottom - at.y});
    LONG coverageLeft = box.left + m_ptOrg.x;
    LONG coverageTop = box.top + m_ptOrg.y;
    DMDIBHelper& dib = Bitmap()->Dib();
    dib.Flush();
    double blend = m_clrText.a / 255.0 * alpha / 255.0;
    bool opaque = m_clrText.a == 0xFF && alpha == 0xFF;
    for (const RECT& part : area.Rects()) {
        for (LONG y = part.top; y < part.bottom; ++y) {
            const unsigned char* covered = coverage.bytes + (y - coverageTop) * coverage.stride;
            std::uint32_t* row = dib.Pixels() + static_cast<std::size_t>(y) * dib.Width();
            for (LONG x = part.left; x < part.right; ++x) {
                if (BYTE c = covered[x - coverageLeft]) {
                    row[x] = opaque ? OpaqueTextPixel(row[x], m_clrText, c)
                                    : TextPixel(row[x], m_clrText, c, blend);
                }
            }
        }
    }
    dib.MarkDirty();
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
