// Finishing an installation once the client is downloaded and unpacked: desktop shortcuts,
// the install record in the registry, starting the game; and opening web addresses.
#pragma once

#include <string>

#include "plat/types.h"

// Saves a shortcut named `linkName` (wide, starting with a backslash) on the user's desktop.
// Always true: failures are silent.
bool CreateDesktopShortcut(const std::string& target, const std::string& folder,
                           const std::wstring& linkName);

// Records "Exec" and "Path" of the classic edition under HKEY_LOCAL_MACHINE
// "Software\Halvorn\ORVN"; a message box owned by `owner` reports a key that cannot be made.
void WriteInstallRegistry(plat::HWND owner, const std::string& installDir);

// Starts `path` in `folder` without waiting; failures are silent.
void RunProgram(const std::string& path, const std::string& folder, const std::string& parameters);

// Opens `address` in the user's browser.
void OpenUrlInBrowser(const std::wstring& address);

// The finishing sequence for `installDir` (GBK, no trailing backslash): both shortcuts, the
// registry record, the game. Each step runs whatever the previous one achieved.
void FinishInstallation(plat::HWND owner, const std::string& installDir);
