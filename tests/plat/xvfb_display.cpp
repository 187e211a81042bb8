#include "xvfb_display.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "WaitUntil.h"

extern char** environ;

namespace plat::test {
namespace {

constexpr int kFirstNumber = 90;
constexpr int kLastNumber = 190;

std::filesystem::path SocketOf(int number) {
    return "/tmp/.X11-unix/X" + std::to_string(number);
}

// A number with neither a socket nor a lock file is free; Xvfb itself refuses one in use.
int FreeDisplayNumber() {
    for (int number = kFirstNumber; number <= kLastNumber; ++number) {
        std::filesystem::path lock = "/tmp/.X" + std::to_string(number) + "-lock";
        if (!std::filesystem::exists(SocketOf(number)) && !std::filesystem::exists(lock)) {
            return number;
        }
    }
    return -1;
}

pid_t Spawn(std::vector<std::string> arguments) {
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    pid_t process = -1;
    if (posix_spawnp(&process, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
        return -1;
    }
    return process;
}

pid_t StartXvfb(const std::string& name) {
    // Without -noreset the server starts afresh whenever its last client leaves, forgetting a
    // keyboard layout a tool such as setxkbmap has just set.
    return Spawn({"Xvfb", name, "-screen", "0", "1920x1080x24", "-nolisten", "tcp", "-noreset"});
}

void Stop(pid_t process) {
    kill(process, SIGTERM);
    waitpid(process, nullptr, 0);
}

}  // namespace

XvfbDisplay::XvfbDisplay() {
    int number = FreeDisplayNumber();
    if (number < 0) {
        return;
    }
    m_name = ":" + std::to_string(number);
    m_process = StartXvfb(m_name);
    if (m_process < 0) {
        return;
    }
    m_running = vael::test::WaitUntil([&] { return std::filesystem::exists(SocketOf(number)); },
                                      std::chrono::seconds(10));
    setenv("DISPLAY", m_name.c_str(), 1);
    unsetenv("WAYLAND_DISPLAY");
}

XvfbDisplay::~XvfbDisplay() {
    for (auto program = m_programs.rbegin(); program != m_programs.rend(); ++program) {
        Stop(*program);
    }
    if (m_process > 0) {
        Stop(m_process);
    }
}

bool XvfbDisplay::Start(const std::vector<std::string>& arguments) {
    pid_t process = m_running ? Spawn(arguments) : -1;
    if (process > 0) {
        m_programs.push_back(process);
    }
    return process > 0;
}

}  // namespace plat::test
