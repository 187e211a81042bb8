#include "InstallFinishing.h"

#include <cwchar>

#include "plat/message_box.h"
#include "plat/registry.h"
#include "plat/shell.h"
#include "plat/text.h"
#include "plat/version.h"

namespace {

constexpr int kRegistryTextLength = 260;
constexpr plat::DWORD kRegistryDataSize = kRegistryTextLength * 2;
constexpr const wchar_t* kInstallKey = L"Software\\Halvorn\\ORVN";

std::wstring Wide(const std::string& ansi) {
    return plat::MultiByteToWide(plat::CP_ACP, ansi);
}

// A bare drive ("E:") names the drive's root folder.
std::string WorkingFolder(const std::string& folder) {
    return !folder.empty() && folder.back() == ':' ? folder + "\\" : folder;
}

// Stores `text` as REG_SZ data of 520 bytes: the text and zero characters up to 260. A text
// that does not fit is cut so that the last character stays zero.
void SetRegistryText(plat::HKEY key, const wchar_t* name, const std::wstring& text) {
    wchar_t buffer[kRegistryTextLength] = {};
    std::wcsncpy(buffer, text.c_str(), kRegistryTextLength - 1);
    plat::RegSetValueExW(key, name, 0, plat::REG_SZ, reinterpret_cast<const plat::BYTE*>(buffer),
                         kRegistryDataSize);
}

}  // namespace

bool CreateDesktopShortcut(const std::string& target, const std::string& folder,
                           const std::wstring& linkName) {
    plat::ShellLink link;
    link.SetPath(Wide(target).c_str());
    link.SetWorkingDirectory(Wide(WorkingFolder(folder)).c_str());
    wchar_t desktop[plat::MAX_PATH] = {};
    // Without a desktop folder there is nowhere sensible to put the shortcut.
    if (plat::SHGetSpecialFolderPathW(nullptr, desktop, plat::CSIDL_DESKTOP, plat::FALSE)) {
        link.Save((std::wstring(desktop) + linkName).c_str(), plat::FALSE);
    }
    return true;
}

void WriteInstallRegistry(plat::HWND owner, const std::string& installDir) {
    plat::HKEY key = nullptr;
    if (plat::RegOpenKeyExW(plat::HKEY_LOCAL_MACHINE, kInstallKey, 0, plat::KEY_WRITE, &key) !=
            plat::ERROR_SUCCESS &&
        plat::RegCreateKeyW(plat::HKEY_LOCAL_MACHINE, kInstallKey, &key) != plat::ERROR_SUCCESS) {
        plat::MessageBoxW(owner, L"创建注册表失败!", L"", plat::MB_OK);
        return;
    }
    std::wstring folder = Wide(installDir);
    SetRegistryText(key, L"Exec", L"\"" + folder + L"\\ORVN" + L"\\Play.exe" + L"\"");
    SetRegistryText(key, L"Path", folder + L"\\ORVN\\");
    plat::RegCloseKey(key);
}

void RunProgram(const std::string& path, const std::string& folder, const std::string& parameters) {
    try {
        plat::OSVERSIONINFOA version{};
        version.dwOSVersionInfoSize = sizeof version;
        plat::GetVersionExA(&version);
        const char* verb = version.dwMajorVersion > 5 ? "runas" : "";
        plat::ShellExecuteA(nullptr, verb, path.c_str(), parameters.c_str(), folder.c_str(),
                            plat::SW_SHOW);
    } catch (...) {
    }
}

void OpenUrlInBrowser(const std::wstring& address) {
    plat::HINSTANCE opened = plat::ShellExecuteW(nullptr, L"open", address.c_str(), nullptr,
                                                 nullptr, plat::SW_SHOWNORMAL);
    if (reinterpret_cast<std::intptr_t>(opened) <= 32) {
        plat::ShellExecuteW(nullptr, L"open", L"iexplore.exe", address.c_str(), nullptr,
                            plat::SW_SHOW);
    }
}

void FinishInstallation(plat::HWND owner, const std::string& installDir) {
    CreateDesktopShortcut(installDir + "\\Play.exe", installDir, L"\\Vael.lnk");
    CreateDesktopShortcut(installDir + "\\ORVN" + "\\Play.exe", installDir + "\\ORVN",
                          L"\\Orvane版.lnk");
    WriteInstallRegistry(owner, installDir);
    RunProgram(installDir + "\\Play.exe", installDir, "");
}
