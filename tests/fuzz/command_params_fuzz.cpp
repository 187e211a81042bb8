// The command parameter text: whatever parses writes back to JSON that parses to the same map.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "LauncherLib/CommandParams.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    auto params = LauncherLib::ParseJsonParams(text);
    if (params) {
        auto again = LauncherLib::ParseJsonParams(LauncherLib::MapToJson(*params));
        if (!again || *again != *params) {
            std::abort();
        }
    }
    return 0;
}
