// Choosing the user-interface driver once, by DM_DRIVER or by a call before its first use.
#include <cstdio>
#include <cstdlib>
#include <mutex>

#include "drivers/headless/headless_driver.h"
#include "plat/driver.h"

namespace plat {
namespace {

struct DriverEntry {
    const char* name;
    std::unique_ptr<Driver> (*make)();
};

constexpr DriverEntry kDrivers[] = {
    {"headless", headless::MakeHeadlessDriver},
};

std::mutex selectionLock;
Driver* current = nullptr;  // never destroyed: threads may still use it at exit

const DriverEntry* FindDriver(const std::string& name) {
    for (const DriverEntry& entry : kDrivers) {
        if (name == entry.name) {
            return &entry;
        }
    }
    return nullptr;
}

std::string RequestedName() {
    const char* requested = std::getenv("DM_DRIVER");
    return requested && *requested ? requested : "headless";
}

}  // namespace

BOOL SelectDriver(const std::string& name) {
    std::lock_guard<std::mutex> guard(selectionLock);
    if (current) {
        return name == current->Name() ? TRUE : FALSE;
    }
    const DriverEntry* entry = FindDriver(name);
    if (!entry) {
        return FALSE;
    }
    current = entry->make().release();
    return TRUE;
}

Driver& CurrentDriver() {
    std::lock_guard<std::mutex> guard(selectionLock);
    if (!current) {
        std::string name = RequestedName();
        const DriverEntry* entry = FindDriver(name);
        if (!entry) {
            std::fprintf(stderr, "DM_DRIVER=%s is not built in; using the headless driver\n",
                         name.c_str());
            entry = FindDriver("headless");
        }
        current = entry->make().release();
    }
    return *current;
}

}  // namespace plat
