#include "Startup.h"

#include <algorithm>
#include <cstring>

#include "IERealWnd.h"
#include "IniFile.h"
#include "LauncherSkin.h"
#include "plat/com_classes.h"
#include "plat/files.h"
#include "plat/message_box.h"
#include "plat/messages.h"
#include "plat/named_mutex.h"
#include "plat/resources.h"
#include "plat/show_commands.h"

using namespace DM;

namespace {

constexpr size_t kConfigurationBufferSize = 1024;
constexpr unsigned kConfigurationResource = 105;

}  // namespace

std::string ReadConfigurationText() {
    char buffer[kConfigurationBufferSize] = {};
    plat::HRSRC resource =
        plat::FindResourceW(nullptr, plat::MAKEINTRESOURCEW(kConfigurationResource), L"INI");
    if (resource) {
        const void* bytes = plat::LockResource(plat::LoadResource(nullptr, resource));
        size_t size =
            std::min<size_t>(plat::SizeofResource(nullptr, resource), kConfigurationBufferSize - 1);
        if (bytes) {
            std::memcpy(buffer, bytes, size);
        }
    }
    return buffer;
}

LauncherConfiguration ParseConfiguration(const std::string& text) {
    CIniFile ini;
    ini.Parse(text);
    return {ini.GetValue("Downloader", "urlDownload", ""), ini.GetValue("IEUrl", "urlIE", "")};
}

Launcher::~Launcher() {
    m_window.Release();
    m_app.reset();
    if (m_instanceMutex) {
        plat::CloseHandle(m_instanceMutex);
    }
}

// True when another instance holds the name. Creating the name and finding it taken closes the
// gap between two starts at the same instant. This instance holds the name until it ends.
bool Launcher::AnotherInstanceRuns() {
    if (plat::HANDLE running =
            plat::OpenMutexA(plat::SYNCHRONIZE, plat::FALSE, kSingleInstanceMutex)) {
        plat::CloseHandle(running);
        return true;
    }
    m_instanceMutex = plat::CreateMutexA(nullptr, plat::TRUE, kSingleInstanceMutex);
    return plat::GetLastError() == plat::ERROR_ALREADY_EXISTS;
}

std::optional<int> Launcher::Start() {
    if (AnotherInstanceRuns()) {
        plat::MessageBoxW(nullptr, L"请不要重复运行", L"警告", plat::MB_OK);
        return kAlreadyRunningExitCode;
    }
    plat::OleInitialize(nullptr);
    m_app = std::make_unique<DMApp>(m_instance);
    LoadLauncherSkin(*m_app);
    m_status = m_app->Register(DMRegHelperT<IERealWnd>(), true);
    m_window = DMSmartPtrT<CMainWnd>::Adopt(new CMainWnd);
    LauncherConfiguration configuration = ParseConfiguration(ReadConfigurationText());
    m_window->Client().Init("", "");
    if (!OpenMainWindow(configuration)) {
        plat::MessageBoxW(nullptr, L"无法创建下载器窗口，程序将退出。", L"", plat::MB_OK);
        return kNoWindowExitCode;
    }
    return std::nullopt;
}

int Launcher::Run() {
    m_app->Run(m_window->m_hWnd);
    return m_status;
}

// Creates the window from "main", hands it the addresses, initialises, centres and shows it.
bool Launcher::OpenMainWindow(const LauncherConfiguration& configuration) {
    HWND handle = m_window->DM_CreateWindow(L"main", 0, 0, 0, 0, nullptr, false);
    if (!handle) {
        return false;
    }
    m_window->m_strDownloadUrl = configuration.downloadUrl;
    m_window->m_strIEUrl = configuration.newsUrl;
    plat::SendMessageW(handle, plat::WM_INITDIALOG, 0, 0);
    m_window->CenterWindow();
    m_window->ShowWindow(plat::SW_SHOW);
    return true;
}

int RunLauncher(plat::HINSTANCE instance) {
    Launcher launcher(instance);
    if (std::optional<int> exitCode = launcher.Start()) {
        return *exitCode;
    }
    return launcher.Run();
}
