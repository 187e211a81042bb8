#include "plat/tick.h"

#include <chrono>

namespace plat {

ULONGLONG GetTickCount64() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

DWORD GetTickCount() {
    return static_cast<DWORD>(GetTickCount64());
}

}  // namespace plat
