// The launcher's main window on the headless driver: opening it from the "main" layout (the
// widget tree built, laid out, rendered whole and presented as the layered picture); and one
// button's hover change through the pointer, where only that button's rectangle is rendered
// and presented again.
#include <benchmark/benchmark.h>

#include "DMApp.h"
#include "DMHWnd.h"
#include "LauncherSkin.h"
#include "MessagePump.h"
#include "plat/headless.h"
#include "plat/message_queue.h"
#include "plat/show_commands.h"

using namespace DM;

namespace {

constexpr int kLeft = 200;
constexpr int kTop = 100;

bool LoadSkin(DMApp& app) {
    plat::headless::Use();
    return LoadLauncherSkin(app);
}

DMSmartPtrT<DMHWnd> OpenMain() {
    auto host = DMSmartPtrT<DMHWnd>::Adopt(new DMHWnd);
    host->DM_CreateWindow(L"main", kLeft, kTop);
    host->ShowWindow(plat::SW_SHOWNOACTIVATE);
    vael::test::PumpMessages();
    return host;
}

void BM_OpenMainWindow(benchmark::State& state) {
    DMApp app;
    if (!LoadSkin(app)) {
        state.SkipWithError("the skin did not load");
        return;
    }
    for (auto _ : state) {
        DMSmartPtrT<DMHWnd> host = OpenMain();
        host->DestroyWindow();
        vael::test::PumpMessages();
    }
}
BENCHMARK(BM_OpenMainWindow)->Unit(benchmark::kMillisecond);

void BM_HoverOneButton(benchmark::State& state) {
    DMApp app;
    if (!LoadSkin(app)) {
        state.SkipWithError("the skin did not load");
        return;
    }
    DMSmartPtrT<DMHWnd> host = OpenMain();
    RECT download = host->FindChildByName(L"download")->m_rcWindow;
    POINT over{kLeft + (download.left + download.right) / 2,
               kTop + (download.top + download.bottom) / 2};
    POINT beside{over.x, kTop + download.top - 20};
    bool hover = false;
    for (auto _ : state) {
        hover = !hover;
        POINT at = hover ? over : beside;
        plat::headless::MoveMouse(at.x, at.y);
        vael::test::PumpMessages();
    }
    host->DestroyWindow();
    vael::test::PumpMessages();
}
BENCHMARK(BM_HoverOneButton)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
