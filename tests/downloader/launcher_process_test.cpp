// The launcher as a process: one instance at a time. A second start while the first runs says
// so and ends with 5, leaving the first alone; once the first has ended, a start runs again.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

#include "Startup.h"
#include "TempDir.h"
#include "WaitUntil.h"
#include "plat/named_mutex.h"

extern char** environ;

namespace {

using namespace std::chrono_literals;

// The launcher on the headless driver, its standard error into `errors`.
pid_t StartLauncher(const std::filesystem::path& errors) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    setenv("DM_DRIVER", "headless", 1);
    char* argv[] = {const_cast<char*>(VAEL_DOWNLOADER_PATH), nullptr};
    pid_t pid = 0;
    EXPECT_EQ(posix_spawn(&pid, VAEL_DOWNLOADER_PATH, &actions, nullptr, argv, environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

bool Running(pid_t pid) {
    return waitpid(pid, nullptr, WNOHANG) == 0;
}

int ExitStatusOf(pid_t pid) {
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool InstanceRunning() {
    plat::HANDLE held = plat::OpenMutexA(plat::SYNCHRONIZE, plat::FALSE, kSingleInstanceMutex);
    if (held) {
        plat::CloseHandle(held);
    }
    return held != nullptr;
}

TEST(LauncherProcess, OnlyOneInstanceRunsAtATime) {
    vael::test::TempDir logs;
    pid_t first = StartLauncher(logs / "first.log");
    ASSERT_TRUE(vael::test::WaitUntil(InstanceRunning, 30s));

    pid_t second = StartLauncher(logs / "second.log");
    EXPECT_EQ(ExitStatusOf(second), kAlreadyRunningExitCode);
    EXPECT_NE(vael::test::ReadFile(logs / "second.log").find("警告: 请不要重复运行"),
              std::string::npos);
    EXPECT_TRUE(Running(first)) << "the first instance is not disturbed";

    kill(first, SIGKILL);
    ExitStatusOf(first);
    EXPECT_FALSE(InstanceRunning()) << "the name goes with the process";
    pid_t third = StartLauncher(logs / "third.log");
    EXPECT_TRUE(vael::test::WaitUntil(InstanceRunning, 30s));
    EXPECT_TRUE(Running(third));
    kill(third, SIGKILL);
    ExitStatusOf(third);
}

}  // namespace
