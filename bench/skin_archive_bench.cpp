// The skin archive inside the executable (ZIP 106): reading the main layout, as creating the
// main window does, and decoding every skin picture, as loading the global skin file does.
#include <benchmark/benchmark.h>

#include <vector>

#include "DMApp.h"
#include "DMRegType.h"
#include "DMXml.h"
#include "IDMImgDecoder.h"
#include "IDMRes.h"
#include "LauncherSkin.h"

using namespace DM;

namespace {

void BM_ReadMainLayoutFromSkinArchive(benchmark::State& state) {
    DMApp app;
    if (!LoadLauncherSkinPack(app)) {
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

// All ten pictures of the skin, read from the archive and decoded, per iteration.
void BM_DecodeEverySkinPicture(benchmark::State& state) {
    DMApp app;
    IDMRes* pack = nullptr;
    if (!LoadLauncherSkinPack(app) || app.GetDefRegObj(&pack, DMREG_Res) != DM_ECODE_OK) {
        state.SkipWithError("the skin archive did not load");
        return;
    }
    struct Picture {
        const wchar_t* type;
        const wchar_t* name;
    };
    const Picture pictures[] = {{L"png", L"bg"},          {L"png", L"guanbi"},
                                {L"png", L"suoxiao"},     {L"png", L"download"},
                                {L"png", L"processFG"},   {L"splash", L"splash_0"},
                                {L"splash", L"splash_1"}, {L"splash", L"splash_2"},
                                {L"splash", L"splash_3"}, {L"splash", L"splash_4"}};
    std::vector<char> bytes;
    for (auto _ : state) {
        for (const Picture& picture : pictures) {
            std::size_t size = 0;
            pack->GetItemSize(picture.type, picture.name, size, nullptr);
            bytes.resize(size);
            pack->GetItemBuf(picture.type, picture.name, bytes.data(), size, nullptr);
            IDMImgDecoder* decoder = nullptr;
            app.CreateRegObj(&decoder, nullptr, DMREG_ImgDecoder);
            benchmark::DoNotOptimize(decoder->LoadFromMemory(bytes.data(), bytes.size()));
            decoder->Release();
        }
    }
    pack->Release();
    state.SetItemsProcessed(state.iterations() * 10);
}
BENCHMARK(BM_DecodeEverySkinPicture);

}  // namespace

BENCHMARK_MAIN();
