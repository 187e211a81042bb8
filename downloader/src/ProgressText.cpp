#include "ProgressText.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cwchar>

#include "plat/text.h"

std::optional<ProgressShown> DownloadProgress(const LauncherLib::ResultMap& values) {
    std::string percentage = values.Get("percentage");
    if (percentage.empty()) {
        return std::nullopt;
    }
    std::string speed = values.Get("speedKB");
    static const std::string format = plat::Utf8ToAnsi("下载中 进度:%s%% ,速度:%s kb/s");
    char text[256];
    std::snprintf(text, sizeof text, format.c_str(), percentage.c_str(), speed.c_str());
    return ProgressShown{std::atoi(percentage.c_str()), plat::AnsiToWide(text)};
}

std::optional<ProgressShown> UnpackProgress(const LauncherLib::ResultMap& values) {
    std::string total = values.Get("unzipTotalCount");
    std::string count = values.Get("unzipCount");
    if (total.empty() || count.empty()) {
        return std::nullopt;
    }
    float totalValue = static_cast<float>(std::atof(total.c_str()));
    float share =
        totalValue > 0 ? static_cast<float>(std::atof(count.c_str())) / totalValue * 100 : 100.0f;
    int percent = static_cast<int>(std::trunc(share));
    wchar_t text[64];
    std::swprintf(text, 64, L"解压中:%d%%", percent);
    return ProgressShown{percent, text};
}
