// The launcher's main window without its host: building the widget tree from the "main"
// layout, laying it out and rendering it whole; and one button's hover change, where only
// that button's rectangle is rendered again.
#include <benchmark/benchmark.h>

#include "DMApp.h"
#include "DMContainerImpl.h"
#include "DMResZipImpl.h"
#include "DMSmartPtrT.h"
#include "DMXml.h"
#include "DUIWindow.h"
#include "IDMDraw.h"
#include "plat/headless.h"
#include "plat/messages.h"
#include "plat/resources.h"

using namespace DM;

namespace {

// Hands the widgets' repaint requests to the draw object, as the host window does.
class DrawingContainer : public DMContainerImpl {
public:
    explicit DrawingContainer(IDMDraw& draw) : DMContainerImpl(nullptr), m_draw(draw) {}
    DMCode OnInvalidateRect(const RECT& rect, DUIWND) override {
        return m_draw.InvalidateRect(&rect, RGN_OR);
    }

private:
    IDMDraw& m_draw;
};

struct MainWindow {
    DMApp app;
    DMXmlDocument layout;
    DMSmartPtrT<IDMDraw> draw;

    bool Load() {
        plat::headless::Use();
        app.Register(DMRegHelperT<DMResZipImpl>(), true);
        app.SetDefRegObj(L"DMResZipImpl", DMREG_Res);
        DMResZipParam param{1, nullptr, nullptr, plat::MAKEINTRESOURCEW(106), L"ZIP"};
        IDMDraw* created = nullptr;
        bool loaded =
            app.LoadResPack(reinterpret_cast<WPARAM>(&param), 0, nullptr) == DM_ECODE_OK &&
            app.InitGlobal(L"global") == DM_ECODE_OK &&
            app.LoadXmlRes(layout, L"layout", L"main") == DM_ECODE_OK &&
            app.CreateRegObj(&created, nullptr, DMREG_Draw) == DM_ECODE_OK;
        draw.Attach(created);
        if (loaded) {
            draw->ResizeCanvas(675, 437);
        }
        return loaded;
    }

    DMSmartPtrT<DUIWindow> Build(IDMContainer& container) {
        auto root = DMSmartPtrT<DUIWindow>::Adopt(new DUIWindow);
        root->SetContainer(&container);
        DMXmlNode widgets = layout.Root(L"dm").FirstChild(L"root");
        root->CreateChildren(widgets);
        root->SetWndRect({0, 0, 675, 437});
        return root;
    }
};

void BM_BuildLayOutAndRenderMain(benchmark::State& state) {
    MainWindow window;
    if (!window.Load()) {
        state.SkipWithError("the skin did not load");
        return;
    }
    DrawingContainer container(*window.draw);
    for (auto _ : state) {
        DMSmartPtrT<DUIWindow> root = window.Build(container);
        window.draw->InvalidateRect(nullptr, RGN_COPY);
        window.draw->Render(root.get());
        root->SendMessage(plat::WM_DESTROY);
    }
}
BENCHMARK(BM_BuildLayOutAndRenderMain);

void BM_HoverOneButton(benchmark::State& state) {
    MainWindow window;
    if (!window.Load()) {
        state.SkipWithError("the skin did not load");
        return;
    }
    DrawingContainer container(*window.draw);
    DMSmartPtrT<DUIWindow> root = window.Build(container);
    window.draw->InvalidateRect(nullptr, RGN_COPY);
    window.draw->Render(root.get());
    DUIWindow* download = root->FindChildByName(L"download");
    bool hover = false;
    for (auto _ : state) {
        hover = !hover;
        download->SendMessage(hover ? plat::WM_MOUSEHOVER : plat::WM_MOUSELEAVE);
        window.draw->Render(root.get());
    }
    root->SendMessage(plat::WM_DESTROY);
}
BENCHMARK(BM_HoverOneButton);

}  // namespace

BENCHMARK_MAIN();
