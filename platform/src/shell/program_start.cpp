// Starting programs and opening addresses: posix_spawn in the working folder, never waiting;
// a thread of its own collects each child when it ends.
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "plat/drive_map.h"
#include "plat/shell.h"
#include "plat/text.h"
#include "windows_program.h"

extern char** environ;

namespace plat {
namespace {

namespace fs = std::filesystem;

constexpr std::intptr_t kStarted = 42;
constexpr std::intptr_t SE_ERR_FNF = 2;
constexpr std::intptr_t SE_ERR_NOASSOC = 31;

HINSTANCE Answer(std::intptr_t code) {
    return reinterpret_cast<HINSTANCE>(code);
}

bool IsAddress(const std::string& file) {
    std::size_t colon = file.find(':');
    // "C:\..." is a drive letter, not a scheme.
    return colon != std::string::npos && colon > 1 &&
           (file.compare(colon, 3, "://") == 0 || file.starts_with("mailto:"));
}

// Parameters as one text, split at white space outside double quotes.
std::vector<std::string> SplitParameters(const std::string& parameters) {
    std::vector<std::string> arguments;
    std::string current;
    bool quoted = false;
    bool any = false;
    for (char c : parameters) {
        if (c == '"') {
            quoted = !quoted;
            any = true;
        } else if ((c == ' ' || c == '\t') && !quoted) {
            if (any) {
                arguments.push_back(current);
            }
            current.clear();
            any = false;
        } else {
            current += c;
            any = true;
        }
    }
    if (any) {
        arguments.push_back(current);
    }
    return arguments;
}

// The process's environment, with WINEPREFIX naming the prefix when it is not set, so that
// `wine` runs programs in the prefix the drive map uses.
std::vector<std::string> ChildEnvironment() {
    std::vector<std::string> environment;
    bool hasPrefix = false;
    for (char** variable = environ; *variable; ++variable) {
        environment.emplace_back(*variable);
        hasPrefix = hasPrefix || environment.back().starts_with("WINEPREFIX=");
    }
    if (!hasPrefix) {
        environment.push_back("WINEPREFIX=" + PrefixFolder().string());
    }
    return environment;
}

// Starts `command` in `folder` (host path, may be empty); false when it could not start.
bool Spawn(const std::vector<std::string>& command, const std::string& folder) {
    std::string program = command.front().find('/') == std::string::npos
                              ? shell::FindOnPath(command.front())
                              : command.front();
    if (program.empty()) {
        return false;
    }
    std::vector<char*> argv;
    for (const std::string& argument : command) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!folder.empty()) {
        posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    }
    std::vector<std::string> environment = ChildEnvironment();
    std::vector<char*> envp;
    for (std::string& variable : environment) {
        envp.push_back(variable.data());
    }
    envp.push_back(nullptr);
    pid_t child = 0;
    int error = posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) {
        return false;
    }
    std::thread([child] {
        int status = 0;
        ::waitpid(child, &status, 0);
    }).detach();
    return true;
}

HINSTANCE OpenAddress(const std::string& address) {
    return Answer(Spawn({"xdg-open", address}, "") ? kStarted : SE_ERR_NOASSOC);
}

HINSTANCE StartProgram(const std::string& file, const std::string& parameters,
                       const std::string& directory) {
    if (file == "iexplore.exe") {
        return Answer(Spawn({"x-www-browser", parameters}, "") ? kStarted : SE_ERR_NOASSOC);
    }
    fs::path host = HostPathFromWindowsUtf8(file);
    std::error_code error;
    if (!fs::is_regular_file(host, error)) {
        return Answer(SE_ERR_FNF);
    }
    std::vector<std::string> command = shell::ProgramCommand(host, SplitParameters(parameters));
    std::string folder = directory.empty() ? "" : HostPathFromWindowsUtf8(directory).string();
    return Answer(Spawn(command, folder) ? kStarted : SE_ERR_NOASSOC);
}

// Every text here is UTF-8.
HINSTANCE Execute(const std::string& file, const std::string& parameters,
                  const std::string& directory) {
    if (file.empty()) {
        return Answer(SE_ERR_FNF);
    }
    if (IsAddress(file)) {
        return OpenAddress(file);
    }
    return StartProgram(file, parameters, directory);
}

std::string Utf8(const char* ansi) {
    return ansi ? AnsiToUtf8(ansi) : "";
}

std::string Utf8(const wchar_t* wide) {
    return wide ? WideToUtf8(wide) : "";
}

}  // namespace

HINSTANCE ShellExecuteA(HWND, const char*, const char* file, const char* parameters,
                        const char* directory, int) {
    return Execute(Utf8(file), Utf8(parameters), Utf8(directory));
}

HINSTANCE ShellExecuteW(HWND, const wchar_t*, const wchar_t* file, const wchar_t* parameters,
                        const wchar_t* directory, int) {
    return Execute(Utf8(file), Utf8(parameters), Utf8(directory));
}

}  // namespace plat
