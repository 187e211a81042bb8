// The launcher's process from start to end: one instance at a time, the framework with the
// skin from the executable, the configuration, the main window and its message loop.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "DMApp.h"
#include "DMSmartPtrT.h"
#include "MainWnd.h"
#include "plat/kernel_handle.h"
#include "plat/types.h"

// The name every instance of the launcher holds while it runs.
inline constexpr const char* kSingleInstanceMutex = "com.brelka.vaeldownloader.mutex";

// The exit code of a start while another instance runs.
inline constexpr int kAlreadyRunningExitCode = 5;
// The exit code when the main window cannot be made.
inline constexpr int kNoWindowExitCode = 1;

struct LauncherConfiguration {
    std::string downloadUrl;
    std::string newsUrl;
};

// The configuration text of the executable's INI resource: at most 1023 bytes of it, up to its
// first zero byte, so the text always ends inside its 1024-byte buffer.
std::string ReadConfigurationText();
LauncherConfiguration ParseConfiguration(const std::string& text);

class Launcher {
public:
    explicit Launcher(plat::HINSTANCE instance) : m_instance(instance) {}
    // Releases the main window, then the framework.
    ~Launcher();

    // Everything up to the shown main window. Nothing when it is up; otherwise the exit code
    // the process ends with (another instance runs, or no window could be made).
    std::optional<int> Start();
    // The message loop until the main window is gone; the process's exit code.
    int Run();

    CMainWnd& MainWindow() { return *m_window; }
    int ExitCode() const { return m_status; }

private:
    bool AnotherInstanceRuns();
    bool OpenMainWindow(const LauncherConfiguration& configuration);

    plat::HINSTANCE m_instance;
    plat::HANDLE m_instanceMutex = nullptr;
    std::unique_ptr<DM::DMApp> m_app;
    DM::DMSmartPtrT<CMainWnd> m_window;
    int m_status = 0;
};

// Runs the launcher until its main window is gone; answers the process's exit code.
int RunLauncher(plat::HINSTANCE instance);
