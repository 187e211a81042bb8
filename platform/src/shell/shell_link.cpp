// Shell links as freedesktop launchers ("Name.lnk" is saved as "Name.desktop").
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "plat/drive_map.h"
#include "plat/shell.h"
#include "plat/text.h"
#include "windows_program.h"

namespace plat {
namespace {

namespace fs = std::filesystem;

// One argument of an Exec line: quoted, with the characters the launcher format reserves
// inside quotes escaped; "%" doubled since it introduces field codes.
std::string ExecArgument(const std::string& argument) {
    std::string quoted = "\"";
    for (char c : argument) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') {
            quoted += '\\';
        }
        if (c == '%') {
            quoted += '%';
        }
        quoted += c;
    }
    return quoted + "\"";
}

// A string value of the launcher format: backslashes and line breaks escaped.
std::string StringValue(const std::string& text) {
    std::string escaped;
    for (char c : text) {
        if (c == '\\') {
            escaped += "\\\\";
        } else if (c == '\n') {
            escaped += "\\n";
        } else {
            escaped += c;
        }
    }
    return escaped;
}

std::string ExecLine(const fs::path& target) {
    std::string exec;
    for (const std::string& argument : shell::ProgramCommand(target, {})) {
        exec += (exec.empty() ? "" : " ") + ExecArgument(argument);
    }
    if (shell::IsWindowsProgram(target)) {
        exec = "env " + ExecArgument("WINEPREFIX=" + PrefixFolder().string()) + " " + exec;
    }
    return StringValue(exec);
}

// The host path without the drive links in it, as a reader of the launcher expects.
fs::path ResolvedHostPath(const std::wstring& windowsPath) {
    std::error_code ignored;
    return fs::weakly_canonical(HostPathFromWindowsW(windowsPath), ignored);
}

std::string LauncherText(const std::string& name, const std::wstring& target,
                         const std::wstring& workingFolder) {
    fs::path hostTarget = ResolvedHostPath(target);
    std::string text = "[Desktop Entry]\nType=Application\nVersion=1.0\n";
    text += "Name=" + StringValue(name) + "\n";
    text += "Exec=" + ExecLine(hostTarget) + "\n";
    if (!workingFolder.empty()) {
        text += "Path=" + StringValue(ResolvedHostPath(workingFolder).string()) + "\n";
    }
    text += "Terminal=false\n";
    // The Windows view of the link, for whoever reads it back.
    text += "X-Windows-Target=" + StringValue(WideToUtf8(target)) + "\n";
    if (!workingFolder.empty()) {
        text += "X-Windows-Path=" + StringValue(WideToUtf8(workingFolder)) + "\n";
    }
    return text;
}

fs::path LauncherPath(const wchar_t* fileName) {
    fs::path path = HostPathFromWindowsW(fileName);
    std::string extension = path.extension().string();
    if (extension == ".lnk" || extension == ".LNK") {
        path.replace_extension(".desktop");
    }
    return path;
}

// Writes a file next to the target and renames it over the target, so that a reader never
// sees half a launcher.
bool WriteAtomically(const fs::path& path, const std::string& text) {
    fs::path partial = path;
    partial += ".new";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        out << text;
        if (!out.flush()) {
            std::error_code ignored;
            fs::remove(partial, ignored);
            return false;
        }
    }
    ::chmod(partial.c_str(), 0755);
    if (std::rename(partial.c_str(), path.c_str()) != 0) {
        std::error_code ignored;
        fs::remove(partial, ignored);
        return false;
    }
    return true;
}

}  // namespace

bool ShellLink::Save(const wchar_t* fileName, BOOL) {
    if (!fileName || target.empty()) {
        return false;
    }
    fs::path path = LauncherPath(fileName);
    return WriteAtomically(path, LauncherText(path.stem().string(), target, workingFolder));
}

}  // namespace plat
