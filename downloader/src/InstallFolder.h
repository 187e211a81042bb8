// The rules an install folder passes before the download starts: its drive, the game's folder
// name at its end, its length, and every folder level made on disk.
#pragma once

#include <string>

// The game's folder name, completing the folder the user chose.
inline constexpr const wchar_t* kGameFolderName = L"Vael";

// True when the first letter of `folder` (GBK), taken as upper case, is one of the drives.
bool HasKnownDrive(const std::string& folder);

// Ends `folder` with the game's folder name: a folder that ends with the name (or with the name
// and one more character) keeps it, without a trailing backslash; any other gets "\Vael".
std::wstring CompleteGameFolder(std::wstring folder);

// True when the install records built from `folder` fit their 260-character texts; a longer
// folder would be stored cut in the middle.
bool FitsInstallRecords(const std::wstring& folder);

// Makes every level of `folder` (GBK, "X:\a\b") that does not exist yet, from the drive down.
// False when a level can be neither found nor made; the levels made before it stay.
bool CreateFolderLevels(const std::string& folder);
