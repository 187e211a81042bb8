// Draws the main window's picture the way its widgets do, frame after frame, on a 675 × 437
// canvas: clear, the background, the three buttons in a state each, the progress fill
// stretched to 392 × 14 and ten lines of text in the layout's font. The same scene is drawn
// with plain cairo and pango as well (the same pictures, the same 12-pixel face), the two
// frames taking turns. Prints the median frame times and their ratio as its last line:
// frame_ms=X cairo_ms=Y ratio=Z
//   vael_render_frame [FRAMES]   (default 300)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "DMApp.h"
#include "DMRegType.h"
#include "DMSmartPtrT.h"
#include "IDMRender.h"
#include "IDMSkin.h"
#include "LauncherSkin.h"

// After the platform's types: glib defines TRUE and FALSE as macros.
#include <pango/pangocairo.h>

using namespace DM;

namespace {

constexpr const wchar_t* kFont =
    L"weight:400,charset:0,underline:0,italic:0,strike:0,size:-12,face:新宋体";
constexpr const wchar_t* kLine = L"保存路径：C:\\Program Files (x86)\\Halvorn\\Vael 42% 1024KB/s";
constexpr const char* kLineUtf8 = "保存路径：C:\\Program Files (x86)\\Halvorn\\Vael 42% 1024KB/s";
constexpr int kLines = 10;

struct Scene {
    IDMSkin* background;
    IDMSkin* close;
    IDMSkin* minimise;
    IDMSkin* download;
    IDMSkin* progress;
    IDMFont* font;
};

void DrawFrame(IDMCanvas& canvas, const Scene& scene, int frame) {
    canvas.ClearRect({0, 0, 675, 437}, DMColor::FromValue(0));
    scene.background->Draw(&canvas, {0, 0, 675, 437}, 0, 0xFF);
    scene.close->Draw(&canvas, {641, 82, 665, 106}, frame % 3, 0xFF);
    scene.minimise->Draw(&canvas, {615, 82, 639, 106}, (frame + 1) % 3, 0xFF);
    scene.download->Draw(&canvas, {382, 347, 498, 384}, (frame + 2) % 3, 0xFF);
    scene.progress->Draw(&canvas, {248, 406, 640, 420}, 0, 0xFF);
    canvas.SelectObject(scene.font, nullptr);
    canvas.SetTextColor(DMColor(0xFF, 0xFF, 0xFF), nullptr);
    for (int line = 0; line < kLines; ++line) {
        RECT box{250, 120 + line * 20, 640, 138 + line * 20};
        canvas.DrawText(kLine, -1, box, DT_SINGLELINE | DT_VCENTER, 0xFF);
    }
}

// One state of a horizontal strip of pictures, stretched over the target.
void PaintState(cairo_t* cr, IDMSkin* skin, const RECT& target, int state) {
    IDMBitmap* bitmap = nullptr;
    SIZE size{};
    skin->GetBitmap(&bitmap);
    skin->GetStateSize(size, state);
    double width = target.right - target.left;
    double height = target.bottom - target.top;
    cairo_save(cr);
    cairo_rectangle(cr, target.left, target.top, width, height);
    cairo_clip(cr);
    cairo_translate(cr, target.left, target.top);
    cairo_scale(cr, width / size.cx, height / size.cy);
    cairo_set_source_surface(cr, static_cast<cairo_surface_t*>(bitmap->GetBitmap()),
                             -state * size.cx, 0);
    cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
    cairo_paint(cr);
    cairo_restore(cr);
}

// The same scene as DrawFrame, drawn straight with cairo and pango.
void DrawFrameWithCairo(cairo_surface_t* surface, const Scene& scene,
                        const PangoFontDescription* face, int frame) {
    cairo_t* cr = cairo_create(surface);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_rgba(cr, 0, 0, 0, 0);
    cairo_paint(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
    PaintState(cr, scene.background, {0, 0, 675, 437}, 0);
    PaintState(cr, scene.close, {641, 82, 665, 106}, frame % 3);
    PaintState(cr, scene.minimise, {615, 82, 639, 106}, (frame + 1) % 3);
    PaintState(cr, scene.download, {382, 347, 498, 384}, (frame + 2) % 3);
    PaintState(cr, scene.progress, {248, 406, 640, 420}, 0);
    PangoLayout* layout = pango_cairo_create_layout(cr);
    pango_layout_set_font_description(layout, face);
    pango_layout_set_text(layout, kLineUtf8, -1);
    int width = 0;
    int height = 0;
    pango_layout_get_pixel_size(layout, &width, &height);
    cairo_set_source_rgb(cr, 1, 1, 1);
    for (int line = 0; line < kLines; ++line) {
        cairo_move_to(cr, 250, 120 + line * 20 + (18 - height) / 2);
        pango_cairo_show_layout(cr, layout);
    }
    g_object_unref(layout);
    cairo_destroy(cr);
}

double Milliseconds(const std::function<void()>& draw) {
    auto start = std::chrono::steady_clock::now();
    draw();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

double Median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    int frames = argc > 1 ? std::atoi(argv[1]) : 300;
    DMApp app;
    if (!LoadLauncherSkin(app)) {
        std::fprintf(stderr, "the skin did not load\n");
        return 1;
    }
    Scene scene{app.GetSkin(L"bg"),       app.GetSkin(L"guanbi"),    app.GetSkin(L"suoxiao"),
                app.GetSkin(L"download"), app.GetSkin(L"processFG"), app.GetFont(kFont)};
    IDMRender* render = nullptr;
    app.GetDefRegObj(&render, DMREG_Render);
    auto renderer = DMSmartPtrT<IDMRender>::Adopt(render);
    IDMCanvas* created = nullptr;
    renderer->CreateCanvas(675, 437, &created);
    auto canvas = DMSmartPtrT<IDMCanvas>::Adopt(created);

    cairo_surface_t* plain = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 675, 437);
    PangoFontDescription* face = pango_font_description_new();
    pango_font_description_set_family(face, "新宋体");
    pango_font_description_set_absolute_size(face, 12 * PANGO_SCALE);
    pango_font_description_set_weight(face, PANGO_WEIGHT_NORMAL);

    std::vector<double> frameTimes;
    std::vector<double> cairoTimes;
    for (int frame = 0; frame < frames; ++frame) {
        frameTimes.push_back(Milliseconds([&] { DrawFrame(*canvas, scene, frame); }));
        cairoTimes.push_back(Milliseconds([&] { DrawFrameWithCairo(plain, scene, face, frame); }));
    }
    pango_font_description_free(face);
    cairo_surface_destroy(plain);
    double frameMs = Median(frameTimes);
    double cairoMs = Median(cairoTimes);
    std::printf("frame_ms=%.3f cairo_ms=%.3f ratio=%.2f\n", frameMs, cairoMs, frameMs / cairoMs);
    return 0;
}
