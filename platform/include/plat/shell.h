// Shell services: the user's desktop folder, shell links (freedesktop launchers on disk) and
// starting programs or opening addresses without waiting for them.
#pragma once

#include <string>

#include "plat/show_commands.h"
#include "plat/types.h"

namespace plat {

constexpr int CSIDL_DESKTOP = 0x0000;
constexpr int MAX_PATH = 260;

// Writes the folder `csidl` names, as a wide Windows path, into `path` (MAX_PATH characters).
// Only the desktop is known: the XDG desktop folder of the user. `create` makes it when missing.
BOOL SHGetSpecialFolderPathW(HWND owner, wchar_t* path, int csidl, BOOL create);

// A shell link to a program. Saved under a name ending in ".lnk" it becomes a freedesktop
// launcher with the same stem and ".desktop": a Windows program (a file starting with "MZ", or
// named "*.exe" while it does not exist yet) runs through `wine` in the prefix, anything else
// runs directly; the working folder is honoured. An existing launcher is replaced atomically.
class ShellLink {
public:
    void SetPath(const wchar_t* target) { this->target = target; }
    void SetWorkingDirectory(const wchar_t* folder) { workingFolder = folder; }
    // `fileName` is a wide Windows path. False when the launcher could not be written.
    bool Save(const wchar_t* fileName, BOOL remember);

private:
    std::wstring target;
    std::wstring workingFolder;
};

// Starts `file` (a Windows path, or an address) with `parameters` in `directory` and returns at
// once. Answers a value above 32 on success, as Windows does, else an error code (2: the file
// does not exist; 31: nothing can run it). The verbs "open", "runas" and the empty verb all
// start the file; addresses open through `xdg-open`, and "iexplore.exe" is the system browser.
HINSTANCE ShellExecuteA(HWND owner, const char* verb, const char* file, const char* parameters,
                        const char* directory, int show);
HINSTANCE ShellExecuteW(HWND owner, const wchar_t* verb, const wchar_t* file,
                        const wchar_t* parameters, const wchar_t* directory, int show);

}  // namespace plat
