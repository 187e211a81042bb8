// What the progress bar shows for the values the running command reports.
#pragma once

#include <optional>
#include <string>

#include "LauncherLib/ResultMap.h"

struct ProgressShown {
    int position;
    std::wstring text;
};

// From "percentage" and "speedKB"; nothing while "percentage" is empty.
std::optional<ProgressShown> DownloadProgress(const LauncherLib::ResultMap& values);

// From "unzipCount" of "unzipTotalCount"; nothing while either is empty. An archive without
// entries counts as fully unpacked.
std::optional<ProgressShown> UnpackProgress(const LauncherLib::ResultMap& values);
