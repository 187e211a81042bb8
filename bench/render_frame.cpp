// Draws the main window's picture the way its widgets do, frame after frame, on a 675 × 437
// canvas: clear, the background, the three buttons in a state each, the progress fill
// stretched to 392 × 14 and ten lines of text in the layout's font. Prints the median frame
// time as its last line: frame_ms=X
//   vael_render_frame [FRAMES]   (default 300)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "DMApp.h"
#include "DMRegType.h"
#include "DMResZipImpl.h"
#include "DMSmartPtrT.h"
#include "IDMRender.h"
#include "IDMSkin.h"
#include "plat/resources.h"

using namespace DM;

namespace {

constexpr const wchar_t* kFont =
    L"weight:400,charset:0,underline:0,italic:0,strike:0,size:-12,face:新宋体";

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
    for (int line = 0; line < 10; ++line) {
        RECT box{250, 120 + line * 20, 640, 138 + line * 20};
        canvas.DrawText(L"保存路径：C:\\Program Files (x86)\\Halvorn\\Vael 42% 1024KB/s", -1, box,
                        DT_SINGLELINE | DT_VCENTER, 0xFF);
    }
}

}  // namespace

int main(int argc, char** argv) {
    int frames = argc > 1 ? std::atoi(argv[1]) : 300;
    DMApp app;
    app.Register(DMRegHelperT<DMResZipImpl>(), true);
    app.SetDefRegObj(L"DMResZipImpl", DMREG_Res);
    DMResZipParam param{1, nullptr, nullptr, plat::MAKEINTRESOURCEW(106), L"ZIP"};
    if (app.LoadResPack(reinterpret_cast<WPARAM>(&param), 0, nullptr) != DM_ECODE_OK ||
        app.InitGlobal(L"global") != DM_ECODE_OK) {
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

    std::vector<double> times;
    for (int frame = 0; frame < frames; ++frame) {
        auto start = std::chrono::steady_clock::now();
        DrawFrame(*canvas, scene, frame);
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    }
    std::sort(times.begin(), times.end());
    std::printf("frame_ms=%.3f\n", times[times.size() / 2]);
    return 0;
}
