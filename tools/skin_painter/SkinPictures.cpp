#include "SkinPictures.h"

#include <cmath>
#include <string>

namespace skin_painter {
namespace {

constexpr double kPi = 3.14159265358979323846;

struct Rgb {
    double r, g, b;
};

constexpr Rgb kNight{0.07, 0.09, 0.16};
constexpr Rgb kDusk{0.13, 0.17, 0.30};
constexpr Rgb kGold{0.93, 0.71, 0.30};
constexpr Rgb kEmber{0.85, 0.42, 0.16};

void RoundedRectangle(cairo_t* cr, double x, double y, double w, double h, double radius) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - radius, y + radius, radius, -kPi / 2, 0);
    cairo_arc(cr, x + w - radius, y + h - radius, radius, 0, kPi / 2);
    cairo_arc(cr, x + radius, y + h - radius, radius, kPi / 2, kPi);
    cairo_arc(cr, x + radius, y + radius, radius, kPi, 3 * kPi / 2);
    cairo_close_path(cr);
}

cairo_surface_t* NewSurface(int width, int height) {
    return cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
}

// A glow that fades out from the body's edge, so the window blends into the desktop.
void PaintSoftEdge(cairo_t* cr, double x, double y, double w, double h, double radius) {
    for (int step = 10; step >= 1; --step) {
        RoundedRectangle(cr, x - step, y - step, w + 2 * step, h + 2 * step, radius + step);
        cairo_set_source_rgba(cr, 0, 0, 0, 0.045 * (11 - step) / 10.0);
        cairo_fill(cr);
    }
}

void PaintBody(cairo_t* cr, double x, double y, double w, double h) {
    cairo_pattern_t* sky = cairo_pattern_create_linear(0, y, 0, y + h);
    cairo_pattern_add_color_stop_rgb(sky, 0, kDusk.r, kDusk.g, kDusk.b);
    cairo_pattern_add_color_stop_rgb(sky, 0.55, kNight.r, kNight.g, kNight.b);
    cairo_pattern_add_color_stop_rgb(sky, 1, 0.04, 0.05, 0.09);
    RoundedRectangle(cr, x, y, w, h, 14);
    cairo_set_source(cr, sky);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(sky);
    cairo_set_source_rgba(cr, kGold.r, kGold.g, kGold.b, 0.55);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
}

// Mountains behind the title, in two layers of haze.
void PaintRidges(cairo_t* cr, double x, double y, double w) {
    for (int layer = 0; layer < 2; ++layer) {
        double base = y + 70 + layer * 18;
        cairo_move_to(cr, x, base + 90);
        cairo_line_to(cr, x, base);
        for (double t = 0; t <= w; t += 15) {
            double height =
                22 * std::sin(t / (57.0 - layer * 13)) + 14 * std::sin(t / 23.0 + layer);
            cairo_line_to(cr, x + t, base - height);
        }
        cairo_line_to(cr, x + w, base + 90);
        cairo_line_to(cr, x, base + 90);
        cairo_close_path(cr);
        // The haze thins out downwards, so the ridges melt into the sky below them.
        double alpha = 0.35 + layer * 0.2;
        cairo_pattern_t* haze = cairo_pattern_create_linear(0, base - 40, 0, base + 90);
        cairo_pattern_add_color_stop_rgba(haze, 0, 0.20 + layer * 0.05, 0.26, 0.42, alpha);
        cairo_pattern_add_color_stop_rgba(haze, 0.45, 0.20 + layer * 0.05, 0.26, 0.42, alpha);
        cairo_pattern_add_color_stop_rgba(haze, 1, 0.20 + layer * 0.05, 0.26, 0.42, 0);
        cairo_set_source(cr, haze);
        cairo_fill(cr);
        cairo_pattern_destroy(haze);
    }
}

void PaintTitle(cairo_t* cr, double x, double y) {
    cairo_select_font_face(cr, "serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    cairo_set_font_size(cr, 46);
    cairo_pattern_t* gold = cairo_pattern_create_linear(0, y - 40, 0, y);
    cairo_pattern_add_color_stop_rgb(gold, 0, 1.0, 0.90, 0.62);
    cairo_pattern_add_color_stop_rgb(gold, 1, kGold.r, kGold.g, kGold.b);
    cairo_move_to(cr, x, y);
    cairo_text_path(cr, "VAEL");
    cairo_set_source(cr, gold);
    cairo_fill(cr);
    cairo_pattern_destroy(gold);
    cairo_set_font_size(cr, 13);
    cairo_move_to(cr, x + 2, y + 22);
    cairo_set_source_rgba(cr, 0.85, 0.88, 0.95, 0.8);
    cairo_show_text(cr, "Halvorn - client installer");
}

// A recessed panel where a control or the news page sits.
void PaintPanel(cairo_t* cr, double x, double y, double w, double h, double radius) {
    RoundedRectangle(cr, x, y, w, h, radius);
    cairo_set_source_rgba(cr, 0.02, 0.03, 0.06, 0.62);
    cairo_fill_preserve(cr);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.14);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
}

enum class ButtonState { Normal, Hover, Pressed };

double StateLight(ButtonState state) {
    switch (state) {
        case ButtonState::Hover:
            return 1.18;
        case ButtonState::Pressed:
            return 0.78;
        default:
            return 1.0;
    }
}

void PaintRoundButton(cairo_t* cr, double x, ButtonState state, bool cross) {
    double light = StateLight(state);
    cairo_arc(cr, x + 12, 12, 10.5, 0, 2 * kPi);
    cairo_set_source_rgba(cr, 0.16 * light, 0.20 * light, 0.32 * light,
                          state == ButtonState::Normal ? 0.65 : 0.9);
    cairo_fill_preserve(cr);
    cairo_set_source_rgba(cr, kGold.r, kGold.g, kGold.b, state == ButtonState::Hover ? 0.95 : 0.6);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
    cairo_set_source_rgba(cr, 0.95, 0.95, 1.0, 0.95);
    cairo_set_line_width(cr, 1.8);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    double offset = state == ButtonState::Pressed ? 0.8 : 0;
    if (cross) {
        cairo_move_to(cr, x + 8 + offset, 8 + offset);
        cairo_line_to(cr, x + 16 + offset, 16 + offset);
        cairo_move_to(cr, x + 16 + offset, 8 + offset);
        cairo_line_to(cr, x + 8 + offset, 16 + offset);
    } else {
        cairo_move_to(cr, x + 7.5 + offset, 12.5 + offset);
        cairo_line_to(cr, x + 16.5 + offset, 12.5 + offset);
    }
    cairo_stroke(cr);
}

cairo_surface_t* PaintRoundButtonStrip(bool cross) {
    cairo_surface_t* surface = NewSurface(72, 24);
    cairo_t* cr = cairo_create(surface);
    PaintRoundButton(cr, 0, ButtonState::Normal, cross);
    PaintRoundButton(cr, 24, ButtonState::Hover, cross);
    PaintRoundButton(cr, 48, ButtonState::Pressed, cross);
    cairo_destroy(cr);
    return surface;
}

void PaintDownloadState(cairo_t* cr, double x, ButtonState state) {
    double light = StateLight(state);
    cairo_pattern_t* fill = cairo_pattern_create_linear(0, 1, 0, 36);
    cairo_pattern_add_color_stop_rgb(fill, 0, std::fmin(1.0, 1.0 * light),
                                     std::fmin(1.0, 0.80 * light), 0.40 * light);
    cairo_pattern_add_color_stop_rgb(fill, 1, kEmber.r * light, kEmber.g * light, kEmber.b * light);
    RoundedRectangle(cr, x + 1.5, 1.5, 113, 34, 8);
    cairo_set_source(cr, fill);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(fill);
    cairo_set_source_rgba(cr, 0.35, 0.18, 0.05, 0.9);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
    double offset = state == ButtonState::Pressed ? 1 : 0;
    cairo_select_font_face(cr, "sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    cairo_set_font_size(cr, 15);
    cairo_text_extents_t extents;
    cairo_text_extents(cr, "DOWNLOAD", &extents);
    cairo_move_to(cr, x + 58 - extents.width / 2 - extents.x_bearing + offset, 24 + offset);
    cairo_set_source_rgba(cr, 0.22, 0.10, 0.02, 0.95);
    cairo_show_text(cr, "DOWNLOAD");
}

}  // namespace

cairo_surface_t* PaintBackground() {
    cairo_surface_t* surface = NewSurface(675, 437);
    cairo_t* cr = cairo_create(surface);
    PaintSoftEdge(cr, 12, 12, 651, 413, 14);
    PaintBody(cr, 12, 12, 651, 413);
    PaintRidges(cr, 12, 12, 651);
    PaintTitle(cr, 40, 86);
    PaintPanel(cr, 246, 116, 398, 231, 8);  // the news page
    PaintPanel(cr, 244, 382, 398, 42, 6);   // folder field and progress bar
    PaintPanel(cr, 302, 386, 280, 20, 4);   // the folder field itself
    PaintPanel(cr, 246, 404, 396, 18, 5);   // the progress channel
    cairo_destroy(cr);
    return surface;
}

cairo_surface_t* PaintCloseButton() {
    return PaintRoundButtonStrip(true);
}

cairo_surface_t* PaintMinimiseButton() {
    return PaintRoundButtonStrip(false);
}

cairo_surface_t* PaintDownloadButton() {
    cairo_surface_t* surface = NewSurface(348, 37);
    cairo_t* cr = cairo_create(surface);
    PaintDownloadState(cr, 0, ButtonState::Normal);
    PaintDownloadState(cr, 116, ButtonState::Hover);
    PaintDownloadState(cr, 232, ButtonState::Pressed);
    cairo_destroy(cr);
    return surface;
}

cairo_surface_t* PaintProgressFill() {
    cairo_surface_t* surface = NewSurface(404, 12);
    cairo_t* cr = cairo_create(surface);
    cairo_pattern_t* fill = cairo_pattern_create_linear(0, 0, 0, 12);
    cairo_pattern_add_color_stop_rgb(fill, 0, 1.0, 0.86, 0.52);
    cairo_pattern_add_color_stop_rgb(fill, 0.5, kGold.r, kGold.g, kGold.b);
    cairo_pattern_add_color_stop_rgb(fill, 1, kEmber.r, kEmber.g, kEmber.b);
    RoundedRectangle(cr, 0.5, 0.5, 403, 11, 5.5);
    cairo_set_source(cr, fill);
    cairo_fill(cr);
    cairo_pattern_destroy(fill);
    for (double x = -12; x < 404; x += 14) {  // the moving stripes of a busy bar
        cairo_move_to(cr, x, 12);
        cairo_line_to(cr, x + 7, 12);
        cairo_line_to(cr, x + 13, 0);
        cairo_line_to(cr, x + 6, 0);
        cairo_close_path(cr);
    }
    cairo_set_source_rgba(cr, 1, 1, 1, 0.16);
    cairo_fill(cr);
    cairo_destroy(cr);
    return surface;
}

cairo_surface_t* PaintSplash(int index) {
    static const Rgb kSkies[] = {{0.20, 0.26, 0.45},
                                 {0.42, 0.22, 0.30},
                                 {0.12, 0.32, 0.30},
                                 {0.30, 0.20, 0.45},
                                 {0.45, 0.32, 0.16}};
    const Rgb& sky = kSkies[index % 5];
    cairo_surface_t* surface = NewSurface(390, 223);
    cairo_t* cr = cairo_create(surface);
    cairo_pattern_t* gradient = cairo_pattern_create_linear(0, 0, 0, 223);
    cairo_pattern_add_color_stop_rgb(gradient, 0, sky.r, sky.g, sky.b);
    cairo_pattern_add_color_stop_rgb(gradient, 1, kNight.r, kNight.g, kNight.b);
    cairo_rectangle(cr, 0, 0, 390, 223);
    cairo_set_source(cr, gradient);
    cairo_fill(cr);
    cairo_pattern_destroy(gradient);
    cairo_arc(cr, 300 - index * 40, 60 + index * 6, 24, 0, 2 * kPi);  // the sun or moon
    cairo_set_source_rgba(cr, 1.0, 0.92, 0.70, 0.85);
    cairo_fill(cr);
    PaintRidges(cr, 0, 90 + index * 4, 390);
    cairo_select_font_face(cr, "serif", CAIRO_FONT_SLANT_ITALIC, CAIRO_FONT_WEIGHT_BOLD);
    cairo_set_font_size(cr, 22);
    cairo_move_to(cr, 20, 200);
    cairo_set_source_rgba(cr, 1, 0.95, 0.85, 0.9);
    std::string caption = "Vael - chapter " + std::to_string(index + 1);
    cairo_show_text(cr, caption.c_str());
    cairo_destroy(cr);
    return surface;
}

}  // namespace skin_painter
