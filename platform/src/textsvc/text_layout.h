// The text laid out by pango: sizes, caret rectangles, hit testing and lines. Indices are
// positions in the shown text (one per character); coordinates are pixels relative to the
// layout's top-left corner.
#pragma once

#include "textsvc/pango_headers.h"

#include <string>
#include <vector>

#include "plat/types.h"

namespace plat::textsvc {

struct LayoutRequest {
    std::wstring shown;
    const PangoFontDescription* font;
    LONG wrapWidth;       // pixels; 0: lines break only at line breaks
    LONG viewWidth;       // the width the lines are aligned in
    WORD alignment;       // PFA_*
    bool underlined;      // the whole text
    LONG underlineStart;  // the underlined range (the input-method composition), may be empty
    LONG underlineEnd;
};

struct LayoutLine {
    LONG start;  // first index of the line
    LONG end;    // index after its last character (before any line break)
    LONG top;
    LONG bottom;
};

class TextLayout {
public:
    TextLayout();
    ~TextLayout();
    TextLayout(const TextLayout&) = delete;
    TextLayout& operator=(const TextLayout&) = delete;

    void Build(const LayoutRequest& request);

    PangoLayout* Pango() const { return m_layout; }
    // The width of the widest line and the height of all lines.
    SIZE Size() const { return m_size; }
    const std::vector<LayoutLine>& Lines() const { return m_lines; }
    int LineOf(LONG index) const;
    // The caret before the character at `index`: x, top and bottom of its line.
    RECT CaretRect(LONG index) const;
    // The index nearest to the point.
    LONG IndexAt(POINT point) const;
    // The rectangles covering the characters [from, to).
    std::vector<RECT> RangeRects(LONG from, LONG to) const;
    LONG Baseline() const;

private:
    int ByteOf(LONG index) const;
    LONG IndexOfByte(int byte) const;
    void ApplyWidth(const LayoutRequest& request);
    void CollectLines();

    PangoContext* m_context;
    PangoLayout* m_layout;
    std::vector<int> m_byteOf;  // the UTF-8 offset of every index, and of the end
    std::vector<LayoutLine> m_lines;
    SIZE m_size{0, 0};
};

}  // namespace plat::textsvc
