// One first load of the news page's web widget on the gtk driver: the time from the widget's
// WM_SHOWWINDOW (made while its window is built) to DocumentComplete of a small local page,
// then the program's resident memory with the page open.
//   vael_web_first_load PAGE.html   (needs a display)
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "Common/ActiveX/DUIIE.h"
#include "DMApp.h"
#include "DMHWnd.h"
#include "LauncherSkin.h"
#include "MessagePump.h"
#include "plat/com_classes.h"
#include "plat/message_queue.h"
#include "plat/show_commands.h"
#include "plat/text.h"
#include "plat/window.h"

namespace {

class CompletionWatch : public DM::IDMWebEvent {
public:
    DM::HRESULT DocumentComplete(DM::DUIWND, plat::IDispatch*, const wchar_t* url) override {
        if (target == url) {
            done = std::chrono::steady_clock::now();
            complete = true;
        }
        return plat::S_OK;
    }
    std::wstring target;
    bool complete = false;
    std::chrono::steady_clock::time_point done;
};

double ResidentMiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::stod(line.substr(6)) / 1024.0;
        }
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s PAGE.html\n", argv[0]);
        return 2;
    }
    setenv("DM_DRIVER", "gtk", 1);
    plat::OleInitialize(nullptr);
    DM::DMApp app;
    if (!LoadLauncherSkin(app)) {
        std::fprintf(stderr, "the skin archive did not load\n");
        return 1;
    }
    CompletionWatch watch;
    watch.target = plat::Utf8ToWide("file://" +
                                    std::filesystem::absolute(argv[1]).lexically_normal().string());
    auto host = DM::DMSmartPtrT<DM::DMHWnd>::Adopt(new DM::DMHWnd);
    auto start = std::chrono::steady_clock::now();
    host->DM_CreateWindow(L"dui_ie");
    auto* web = dynamic_cast<DM::DUIIE*>(host->FindChildByName(L"IeWnd"));
    if (!web) {
        std::fprintf(stderr, "no web widget\n");
        return 1;
    }
    web->SetEvtHandler(&watch);
    web->OpenUrl(watch.target.c_str());
    plat::SetWindowPos(host->m_hWnd, nullptr, 100, 100, 390, 223, plat::SWP_NOZORDER);
    host->ShowWindow(plat::SW_SHOWNOACTIVATE);
    auto deadline = start + std::chrono::seconds(30);
    while (!watch.complete && std::chrono::steady_clock::now() < deadline) {
        vael::test::PumpMessages();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    if (!watch.complete) {
        std::fprintf(stderr, "the page did not load\n");
        return 1;
    }
    double loadMs = std::chrono::duration<double, std::milli>(watch.done - start).count();
    std::printf("web_first_load_ms=%.1f\nweb_rss_mib=%.1f\n", loadMs, ResidentMiB());
    host->DestroyWindow();
    plat::OleUninitialize();
    return 0;
}
