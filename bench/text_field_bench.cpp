// The launcher's text fields on the headless driver, timed from the injected input through the
// message loop to the presented picture: one key press in the install-folder field
// ("keypress_ms"), and one wheel notch over a 1000-character multi-line field
// ("scroll_ms"). Each figure is the median of many rounds.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "DMApp.h"
#include "DMHWnd.h"
#include "DMXml.h"
#include "DUIEdit.h"
#include "LauncherSkin.h"
#include "MessagePump.h"
#include "plat/headless.h"
#include "plat/keyboard.h"
#include "plat/message_queue.h"
#include "plat/messages.h"
#include "plat/show_commands.h"

using namespace DM;

namespace {

constexpr int kLeft = 200;
constexpr int kTop = 100;
constexpr int kRounds = 400;

bool LoadSkin(DMApp& app) {
    plat::headless::Use();
    return LoadLauncherSkin(app);
}

template <class Step>
double MedianMilliseconds(Step step) {
    std::vector<double> times;
    for (int round = 0; round < kRounds; ++round) {
        auto start = std::chrono::steady_clock::now();
        step(round);
        vael::test::PumpMessages();
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    }
    std::nth_element(times.begin(), times.begin() + kRounds / 2, times.end());
    return times[kRounds / 2];
}

void ClickInto(const RECT& rect) {
    plat::headless::Click(kLeft + rect.left + 20, kTop + (rect.top + rect.bottom) / 2);
    vael::test::PumpMessages();
}

// A letter, then a backspace, so that the text keeps its length.
double KeyPress(DMHWnd& host) {
    ClickInto(host.FindChildByName(L"savePath")->m_rcWindow);
    return MedianMilliseconds(
        [](int round) { plat::headless::TapKey(round % 2 ? plat::VK_BACK : 'A'); });
}

// Fifty lines of twenty characters, scrolled a notch down and back up in turn.
double WheelScroll(DMHWnd& host) {
    std::string xml =
        "<Edit name=\"notes\" pos=\"260,130,@300,@120\" bmultilines=\"1\" bvscroll=\"1\" "
        "bautovscroll=\"1\" clrtext=\"pbgra(ff,ff,ff,ff)\"/>";
    DMXmlDocument document;
    document.LoadFromBuffer(xml.data(), xml.size());
    DMXmlNode node = document.Root();
    auto* notes = new DUIEdit;
    host.InsertChild(notes);
    notes->InitDMData(node);
    host.UpdateChildLayout();
    std::wstring text;
    for (int line = 0; line < 50; ++line) {
        text += L"line " + std::to_wstring(line) +
                std::wstring(13 - std::to_wstring(line).size(), L'.') + L"\r\n";
    }
    notes->SetWindowText(text.c_str());
    vael::test::PumpMessages();
    RECT rect = notes->m_rcWindow;
    plat::headless::MoveMouse(kLeft + (rect.left + rect.right) / 2,
                              kTop + (rect.top + rect.bottom) / 2);
    vael::test::PumpMessages();
    return MedianMilliseconds([](int round) {
        plat::headless::TurnWheel(round % 2 ? plat::WHEEL_DELTA : -plat::WHEEL_DELTA);
    });
}

}  // namespace

int main() {
    DMApp app;
    if (!LoadSkin(app)) {
        std::fprintf(stderr, "the skin did not load\n");
        return 1;
    }
    auto host = DMSmartPtrT<DMHWnd>::Adopt(new DMHWnd);
    host->DM_CreateWindow(L"main", kLeft, kTop);
    host->ShowWindow(plat::SW_SHOW);
    vael::test::PumpMessages();
    std::printf("keypress_ms=%.3f\n", KeyPress(*host));
    std::printf("scroll_ms=%.3f\n", WheelScroll(*host));
    host->DestroyWindow();
    vael::test::PumpMessages();
    return 0;
}
