// Reads the main layout out of the executable's skin archive (ZIP 106), as creating the main
// window does, once per iteration.
#include <benchmark/benchmark.h>

#include "DMApp.h"
#include "DMResZipImpl.h"
#include "DMXml.h"
#include "plat/resources.h"

using namespace DM;

namespace {

void BM_ReadMainLayoutFromSkinArchive(benchmark::State& state) {
    DMApp app;
    app.Register(DMRegHelperT<DMResZipImpl>(), true);
    app.SetDefRegObj(L"DMResZipImpl", DMREG_Res);
    DMResZipParam param{1, nullptr, nullptr, plat::MAKEINTRESOURCEW(106), L"ZIP"};
    if (app.LoadResPack(reinterpret_cast<WPARAM>(&param), 0, nullptr) != DM_ECODE_OK) {
        state.SkipWithError("the skin archive did not load");
        return;
    }
    for (auto _ : state) {
        DMXmlDocument layout;
        benchmark::DoNotOptimize(app.LoadXmlRes(layout, L"layout", L"main"));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ReadMainLayoutFromSkinArchive);

}  // namespace

BENCHMARK_MAIN();
