// Pictures onto the canvas: stretched, tiled and in nine parts.
#include "DMCanvasImpl.h"

#include "DMBitmapImpl.h"
#include "DMScaledPictures.h"

namespace DM {
namespace {

constexpr int kStretch = 0;
constexpr int kTile = 1;

LONG Width(const RECT& rect) {
    return rect.right - rect.left;
}

LONG Height(const RECT& rect) {
    return rect.bottom - rect.top;
}

// Three spans of one axis: the first margin, the middle and the last margin.
struct Spans {
    LONG edges[4];
};

// The margins shrink so that the middle vanishes when the destination is too small for both.
Spans Cut(LONG from, LONG to, LONG first, LONG last) {
    LONG length = to - from;
    if (first + last > length) {
        LONG total = first + last;
        first = total > 0 ? first * length / total : 0;
        last = length - first;
    }
    return {{from, from + first, to - last, to}};
}

bool MarginsFit(LONG from, LONG to, LONG first, LONG last) {
    return from <= from + first && from + first <= to - last && to - last <= to;
}

// The picture's surface to read from; reading a picture of this module does not count as handing
// its pixels out.
cairo_surface_t* SurfaceToRead(IDMBitmap* bitmap) {
    if (auto* picture = dynamic_cast<DMBitmapImpl*>(bitmap)) {
        return picture->Dib().Surface();
    }
    return static_cast<cairo_surface_t*>(bitmap->GetBitmap());
}

void SetStretchedSource(cairo_t* cr, IDMBitmap* bitmap, const RECT& source,
                        const RECT& destination) {
    cairo_translate(cr, destination.left, destination.top);
    cairo_scale(cr, static_cast<double>(Width(destination)) / Width(source),
                static_cast<double>(Height(destination)) / Height(source));
    cairo_set_source_surface(cr, SurfaceToRead(bitmap), -source.left, -source.top);
    cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
}

void SetTiledSource(cairo_t* cr, IDMBitmap* bitmap, const RECT& source, const RECT& destination) {
    cairo_surface_t* part = cairo_surface_create_for_rectangle(
        SurfaceToRead(bitmap), source.left, source.top, Width(source), Height(source));
    cairo_set_source_surface(cr, part, destination.left, destination.top);
    cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_REPEAT);
    cairo_surface_destroy(part);
}

}  // namespace

DMCode DMCanvasImpl::DrawBitmap(IDMBitmap* bitmap, const RECT& source, const RECT& destination,
                                BYTE alpha, int mode) {
    if (!bitmap || IsEmptyRect(source) || IsEmptyRect(destination) ||
        (mode != kStretch && mode != kTile)) {
        return DM_ECODE_FAIL;
    }
    Drawing drawing(*this);
    cairo_t* cr = drawing.cr();
    cairo_rectangle(cr, destination.left, destination.top, Width(destination), Height(destination));
    cairo_clip(cr);
    if (mode == kTile) {
        SetTiledSource(cr, bitmap, source, destination);
    } else if (!SetKeptScaledSource(cr, bitmap, source, destination)) {
        SetStretchedSource(cr, bitmap, source, destination);
    }
    if (alpha == 0xFF) {
        cairo_paint(cr);
    } else {
        cairo_paint_with_alpha(cr, alpha / 255.0);
    }
    return DM_ECODE_OK;
}

// A picture that is scaled, whose pixels only change through its own operations, and whose
// destination is worth keeping, comes from the kept scaled pictures (in device coordinates).
bool DMCanvasImpl::SetKeptScaledSource(cairo_t* cr, IDMBitmap* bitmap, const RECT& source,
                                       const RECT& destination) const {
    auto* picture = dynamic_cast<DMBitmapImpl*>(bitmap);
    RECT device = ToDevice(destination);
    bool scaled = Width(source) != Width(destination) || Height(source) != Height(destination);
    if (!picture || picture->PixelsHandedOut() || !scaled ||
        !KeepsScaledPicture(device, {m_bitmap->GetWidth(), m_bitmap->GetHeight()})) {
        return false;
    }
    cairo_surface_t* kept = ScaledPicture(picture->Dib(), source, device);
    if (!kept) {
        return false;
    }
    cairo_identity_matrix(cr);
    cairo_set_source_surface(cr, kept, 0, 0);
    cairo_surface_destroy(kept);
    return true;
}

DMCode DMCanvasImpl::DrawBitmapNine(IDMBitmap* bitmap, const RECT& source, const RECT& margins,
                                    const RECT& destination, int mode, BYTE alpha) {
    if (!bitmap || !MarginsFit(source.left, source.right, margins.left, margins.right) ||
        !MarginsFit(source.top, source.bottom, margins.top, margins.bottom) ||
        destination.right < destination.left || destination.bottom < destination.top) {
        return DM_ECODE_FAIL;
    }
    Spans sourceColumns = Cut(source.left, source.right, margins.left, margins.right);
    Spans sourceRows = Cut(source.top, source.bottom, margins.top, margins.bottom);
    Spans columns = Cut(destination.left, destination.right, margins.left, margins.right);
    Spans rows = Cut(destination.top, destination.bottom, margins.top, margins.bottom);
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            RECT from{sourceColumns.edges[column], sourceRows.edges[row],
                      sourceColumns.edges[column + 1], sourceRows.edges[row + 1]};
            RECT to{columns.edges[column], rows.edges[row], columns.edges[column + 1],
                    rows.edges[row + 1]};
            if (IsEmptyRect(from) || IsEmptyRect(to)) {
                continue;
            }
            // Corners map one to one, or shrink with their margins; the rest takes the mode.
            bool corner = row != 1 && column != 1;
            DrawBitmap(bitmap, from, to, alpha, corner ? kStretch : mode);
        }
    }
    return DM_ECODE_OK;
}

}  // namespace DM
