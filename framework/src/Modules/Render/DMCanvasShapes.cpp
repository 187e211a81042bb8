// Outlines with the pen, interiors with the brush, solid fills and gradients.
#include <algorithm>
#include <cmath>
#include <vector>

#include "DMBitmapImpl.h"
#include "DMCanvasImpl.h"

namespace DM {
namespace {

constexpr double kPi = 3.14159265358979323846;

// Colours are premultiplied; cairo takes the straight channels and multiplies them itself.
void SetColor(cairo_t* cr, DMColor color, double alpha = 1.0) {
    double a = color.a / 255.0;
    auto straight = [a](BYTE channel) { return a > 0 ? std::min(1.0, channel / 255.0 / a) : 0.0; };
    cairo_set_source_rgba(cr, straight(color.r), straight(color.g), straight(color.b), a * alpha);
}

// Outlines run along pixel centres inside the rectangle, as a one-pixel pen draws them.
void RectanglePath(cairo_t* cr, const RECT& rect, const POINT&) {
    cairo_rectangle(cr, rect.left + 0.5, rect.top + 0.5, rect.right - rect.left - 1,
                    rect.bottom - rect.top - 1);
}

void FilledRectanglePath(cairo_t* cr, const RECT& rect, const POINT&) {
    cairo_rectangle(cr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
}

void EllipsePath(cairo_t* cr, const RECT& rect, const POINT&) {
    double width = rect.right - rect.left;
    double height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0) {
        return;
    }
    cairo_save(cr);
    cairo_translate(cr, rect.left + width / 2, rect.top + height / 2);
    cairo_scale(cr, width / 2, height / 2);
    cairo_arc(cr, 0, 0, 1, 0, 2 * kPi);
    cairo_restore(cr);
}

void RoundRectPath(cairo_t* cr, const RECT& rect, const POINT& corner) {
    double x = rect.left, y = rect.top;
    double w = rect.right - rect.left, h = rect.bottom - rect.top;
    double rx = std::min(corner.x / 2.0, w / 2), ry = std::min(corner.y / 2.0, h / 2);
    if (rx <= 0 || ry <= 0) {
        cairo_rectangle(cr, x, y, w, h);
        return;
    }
    cairo_new_sub_path(cr);
    for (int i = 0; i < 4; ++i) {
        double cx = (i == 0 || i == 3) ? x + w - rx : x + rx;
        double cy = (i < 2) ? y + h - ry : y + ry;
        cairo_save(cr);
        cairo_translate(cr, cx, cy);
        cairo_scale(cr, rx, ry);
        cairo_arc(cr, 0, 0, 1, i * kPi / 2, (i + 1) * kPi / 2);
        cairo_restore(cr);
    }
    cairo_close_path(cr);
}

// Angles count counter-clockwise from the x axis, as on screen with y pointing down.
void ArcPath(cairo_t* cr, const RECT& rect, double start, double sweep, bool pie) {
    double width = rect.right - rect.left;
    double height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0) {
        return;
    }
    cairo_save(cr);
    cairo_translate(cr, rect.left + width / 2, rect.top + height / 2);
    cairo_scale(cr, width / 2, height / 2);
    double from = -start * kPi / 180;
    double to = -(start + sweep) * kPi / 180;
    if (pie) {
        cairo_move_to(cr, 0, 0);
    }
    if (sweep >= 0) {
        cairo_arc_negative(cr, 0, 0, 1, from, to);
    } else {
        cairo_arc(cr, 0, 0, 1, from, to);
    }
    if (pie) {
        cairo_close_path(cr);
    }
    cairo_restore(cr);
}

// The points' bounding box, widened by the pen.
RECT PenBounds(const POINT* points, int count, int penWidth) {
    RECT box{points[0].x, points[0].y, points[0].x, points[0].y};
    for (int i = 1; i < count; ++i) {
        box.left = std::min(box.left, points[i].x);
        box.top = std::min(box.top, points[i].y);
        box.right = std::max(box.right, points[i].x);
        box.bottom = std::max(box.bottom, points[i].y);
    }
    LONG reach = std::max(1, penWidth);
    return {box.left - reach, box.top - reach, box.right + reach, box.bottom + reach};
}

std::uint32_t Mix(DMColor first, DMColor second, double t) {
    auto channel = [t](BYTE a, BYTE b) {
        return static_cast<std::uint32_t>(std::lround(a + (b - a) * t));
    };
    return channel(first.b, second.b) | channel(first.g, second.g) << 8 |
           channel(first.r, second.r) << 16 | channel(first.a, second.a) << 24;
}

}  // namespace

void DMCanvasImpl::SetPenSource(cairo_t* cr) const {
    SetColor(cr, m_pen->GetColor());
    cairo_set_line_width(cr, std::max(1, m_pen->GetWidth()));
    if (m_pen->GetStyle() == PS_DOT) {
        const double dots[] = {1.0, 1.0};
        cairo_set_dash(cr, dots, 2, 0);
    }
}

bool DMCanvasImpl::SetBrushSource(cairo_t* cr) const {
    if (!m_brush->IsBitmap()) {
        SetColor(cr, m_brush->GetColor());
        return true;
    }
    IDMBitmap* picture = m_brush->GetBrushBitmap();
    if (!picture) {
        return false;
    }
    cairo_set_source_surface(cr, static_cast<cairo_surface_t*>(picture->GetBitmap()), 0, 0);
    cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_REPEAT);
    return true;
}

void DMCanvasImpl::StrokeShape(void (*path)(cairo_t*, const RECT&, const POINT&), const RECT& rect,
                               const POINT& corner) {
    Drawing drawing(*this);
    SetPenSource(drawing.cr());
    path(drawing.cr(), rect, corner);
    cairo_stroke(drawing.cr());
}

void DMCanvasImpl::FillShape(void (*path)(cairo_t*, const RECT&, const POINT&), const RECT& rect,
                             const POINT& corner) {
    Drawing drawing(*this);
    if (SetBrushSource(drawing.cr())) {
        path(drawing.cr(), rect, corner);
        cairo_fill(drawing.cr());
    }
}

DMCode DMCanvasImpl::DrawRectangle(const RECT& rect) {
    if (IsEmptyRect(VisiblePart(rect))) {
        return DM_ECODE_FAIL;
    }
    StrokeShape(RectanglePath, rect, {});
    return DM_ECODE_OK;
}

DMCode DMCanvasImpl::FillRectangle(const RECT& rect) {
    if (IsEmptyRect(VisiblePart(rect))) {
        return DM_ECODE_FAIL;
    }
    FillShape(FilledRectanglePath, rect, {});
    return DM_ECODE_OK;
}

DMCode DMCanvasImpl::FillSolidRect(const RECT& rect, DMColor color) {
    if (IsEmptyRect(VisiblePart(rect))) {
        return DM_ECODE_FAIL;
    }
    Drawing drawing(*this);
    SetColor(drawing.cr(), color);
    FilledRectanglePath(drawing.cr(), rect, {});
    cairo_fill(drawing.cr());
    return DM_ECODE_OK;
}

DMCode DMCanvasImpl::DrawRoundRect(const RECT& rect, const POINT& corner) {
    if (IsEmptyRect(VisiblePart(rect))) {
        return DM_ECODE_FAIL;
    }
    RECT inner{rect.left, rect.top, rect.right - 1, rect.bottom - 1};
    Drawing drawing(*this);
    SetPenSource(drawing.cr());
    cairo_translate(drawing.cr(), 0.5, 0.5);
    RoundRectPath(drawing.cr(), inner, corner);
    cairo_stroke(drawing.cr());
    return DM_ECODE_OK;
}

DMCode DMCanvasImpl::FillRoundRect(const RECT& rect, const POINT& corner) {
    if (IsEmptyRect(VisiblePart(rect))) {
        return DM_ECODE_FAIL;
    }
    FillShape(RoundRectPath, rect, corner);
    return DM_ECODE_OK;
}

DMCode DMCanvasImpl::DrawEllipse(const RECT& rect) {
    if (IsEmptyRect(VisiblePart(rect))) {
        return DM_ECODE_FAIL;
    }
    StrokeShape(EllipsePath, {rect.left, rect.top, rect.right - 1, rect.bottom - 1}, {});
    return DM_ECODE_OK;
}

DMCode DMCanvasImpl::FillEllipse(const RECT& rect) {
    if (IsEmptyRect(VisiblePart(rect))) {
        return DM_ECODE_FAIL;
    }
    FillShape(EllipsePath, rect, {});
    return DM_ECODE_OK;
}

DMCode DMCanvasImpl::Polyline(const POINT* points, int count) {
    if (!points || count < 2 ||
        IsEmptyRect(VisiblePart(PenBounds(points, count, m_pen->GetWidth())))) {
        return DM_ECODE_FAIL;
    }
    Drawing drawing(*this);
    SetPenSource(drawing.cr());
    cairo_move_to(drawing.cr(), points[0].x + 0.5, points[0].y + 0.5);
    for (int i = 1; i < count; ++i) {
        cairo_line_to(drawing.cr(), points[i].x + 0.5, points[i].y + 0.5);
    }
    cairo_stroke(drawing.cr());
    return DM_ECODE_OK;
}

DMCode DMCanvasImpl::DrawArc(const RECT& rect, float startAngle, float sweepAngle) {
    if (IsEmptyRect(VisiblePart(rect))) {
        return DM_ECODE_FAIL;
    }
    Drawing drawing(*this);
    SetPenSource(drawing.cr());
    ArcPath(drawing.cr(), rect, startAngle, sweepAngle, false);
    cairo_stroke(drawing.cr());
    return DM_ECODE_OK;
}

DMCode DMCanvasImpl::FillPie(const RECT& rect, float startAngle, float sweepAngle) {
    if (IsEmptyRect(VisiblePart(rect))) {
        return DM_ECODE_FAIL;
    }
    Drawing drawing(*this);
    if (SetBrushSource(drawing.cr())) {
        ArcPath(drawing.cr(), rect, startAngle, sweepAngle, true);
        cairo_fill(drawing.cr());
    }
    return DM_ECODE_OK;
}

// The channels, alpha included, run linearly from the first colour to the second across the
// whole rectangle; only its visible part is computed. At alpha 255 the values are written as
// they are, otherwise blended with that constant alpha.
DMCode DMCanvasImpl::GradientFill(DMColor first, DMColor second, const RECT& rect, bool vertical,
                                  BYTE alpha) {
    RECT visible = VisiblePart(rect);
    if (IsEmptyRect(visible)) {
        return DM_ECODE_FAIL;
    }
    LONG width = visible.right - visible.left;
    LONG height = visible.bottom - visible.top;
    LONG steps = vertical ? rect.bottom - rect.top - 1 : rect.right - rect.left - 1;
    DMBitmapImpl gradient;
    if (gradient.Init(width, height, nullptr) != DM_ECODE_OK || !gradient.GetPixelBits()) {
        return DM_ECODE_FAIL;
    }
    std::uint32_t* pixels = gradient.GetPixelBits();
    for (LONG y = 0; y < height; ++y) {
        for (LONG x = 0; x < width; ++x) {
            LONG step = vertical ? visible.top + y - rect.top : visible.left + x - rect.left;
            double t = steps > 0 ? static_cast<double>(step) / steps : 0;
            pixels[static_cast<std::size_t>(y) * width + x] = Mix(first, second, t);
        }
    }
    gradient.Dib().MarkDirty();
    Drawing drawing(*this);
    cairo_t* cr = drawing.cr();
    cairo_set_source_surface(cr, static_cast<cairo_surface_t*>(gradient.GetBitmap()), visible.left,
                             visible.top);
    cairo_rectangle(cr, visible.left, visible.top, width, height);
    if (alpha == 0xFF) {
        cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
        cairo_fill(cr);
    } else {
        cairo_clip(cr);
        cairo_paint_with_alpha(cr, alpha / 255.0);
    }
    return DM_ECODE_OK;
}

}  // namespace DM
