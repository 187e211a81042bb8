// The last install folder, remembered between runs in a file of the temporary folder.
#pragma once

#include <string>

// The memo's Windows path: the temporary folder's "droFFFF.TMP".
std::wstring FolderMemoPath();

// The remembered folder (GBK); empty when there is no memo or it cannot be read. A memo longer
// than its 260-byte buffer is cut at 259 bytes.
std::string ReadFolderMemo();

// Replaces the memo with `folder` (GBK), without a terminator or line end. Failures are silent.
void WriteFolderMemo(const std::string& folder);
