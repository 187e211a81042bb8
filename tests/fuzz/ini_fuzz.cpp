// The embedded configuration's INI reader on any bytes.
#include <cstddef>
#include <cstdint>

#include "IniFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CIniFile ini;
    ini.Parse(reinterpret_cast<const char*>(data), size);
    ini.GetValue("Downloader", "urlDownload", "");
    ini.GetValue("IEUrl", "urlIE", "");
    return 0;
}
