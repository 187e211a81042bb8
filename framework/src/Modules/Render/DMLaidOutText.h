// Text laid out by pango in a font, kept across draws. Widgets draw the same labels in the same
// fonts frame after frame, and laying text out (itemising, shaping, looking fonts up) and
// rasterising its glyphs cost far more than blending the glyphs onto the canvas. So a text is
// laid out once per font, text and layout format, and its glyph coverage over a box is
// rasterised once per box relative to the text's origin: moving text by whole pixels does not
// change its coverage, so a kept coverage gives the same pixels as a new one.
// The store belongs to the drawing thread (pango's font map is per thread) and is emptied when
// it grows past a fixed size.
#pragma once

#include <cairo.h>

typedef struct _PangoContext PangoContext;
typedef struct _PangoLayout PangoLayout;

#include <memory>
#include <string>
#include <vector>

#include "DMDef.h"

namespace DM {

class DMFontImpl;

// Glyph coverage: one byte a pixel, 0 where no glyph touches it.
struct DMTextCoverage {
    RECT box;  // relative to the text's origin
    cairo_surface_t* mask;
    const unsigned char* bytes;
    int stride;
};

class DMLaidOutText {
public:
    DMLaidOutText(PangoContext* context, const DMFontImpl& font, const std::wstring& text,
                  UINT format, int width);
    ~DMLaidOutText();
    DMLaidOutText(const DMLaidOutText&) = delete;
    DMLaidOutText& operator=(const DMLaidOutText&) = delete;

    SIZE Size() const { return m_size; }
    // Whether lines are wrapped or cut to a width (and so aligned within it).
    bool HasWidth() const;
    // The coverage over `box`, given relative to the text's origin.
    const DMTextCoverage& CoverageOver(const RECT& box);
    std::size_t CoverageBytes() const { return m_coverageBytes; }

private:
    void ApplyDecorations(const DMFontImpl& font);
    void DropCoverages();

    PangoLayout* m_layout;
    SIZE m_size;
    std::vector<DMTextCoverage> m_coverages;
    std::size_t m_coverageBytes = 0;
};

// The text laid out in `font` with the layout-relevant parts of `format` (DT_WORDBREAK,
// DT_SINGLELINE, DT_END_ELLIPSIS, DT_CENTER, DT_RIGHT) and, where wrapping or an ellipsis
// needs it, `width`.
std::shared_ptr<DMLaidOutText> LaidOutText(const DMFontImpl& font, const std::wstring& text,
                                           UINT format, int width);

}  // namespace DM
