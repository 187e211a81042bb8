// Choosing the user-interface driver once, by DM_DRIVER or by a call before its first use;
// without either, the gtk driver when it can open a display, else the headless driver.
#include <cstdio>
#include <cstdlib>
#include <mutex>

#include "drivers/headless/headless_driver.h"
#include "plat/driver.h"
#ifdef VAEL_HAVE_GTK_DRIVER
#include "drivers/gtk/gtk_driver.h"
#endif

namespace plat {
namespace {

// `make` answers null when the driver cannot run here (no display for gtk).
struct DriverEntry {
    const char* name;
    std::unique_ptr<Driver> (*make)();
};

constexpr DriverEntry kDrivers[] = {
#ifdef VAEL_HAVE_GTK_DRIVER
    {"gtk", gtk::MakeGtkDriver},
#endif
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

std::unique_ptr<Driver> MakeDriver(const std::string& name) {
    const DriverEntry* entry = FindDriver(name);
    return entry ? entry->make() : nullptr;
}

// The first driver that runs here, in the table's order, which ends with the headless one.
std::unique_ptr<Driver> MakeFirstThatRuns() {
    for (const DriverEntry& entry : kDrivers) {
        if (std::unique_ptr<Driver> driver = entry.make()) {
            return driver;
        }
    }
    return nullptr;
}

std::unique_ptr<Driver> MakeRequestedDriver() {
    const char* requested = std::getenv("DM_DRIVER");
    if (!requested || !*requested) {
        return MakeFirstThatRuns();
    }
    if (std::unique_ptr<Driver> driver = MakeDriver(requested)) {
        return driver;
    }
    std::fprintf(stderr, "DM_DRIVER=%s cannot be used here; using the headless driver\n",
                 requested);
    return headless::MakeHeadlessDriver();
}

}  // namespace

BOOL SelectDriver(const std::string& name) {
    std::lock_guard<std::mutex> guard(selectionLock);
    if (current) {
        return name == current->Name() ? TRUE : FALSE;
    }
    std::unique_ptr<Driver> driver = MakeDriver(name);
    if (!driver) {
        return FALSE;
    }
    current = driver.release();
    return TRUE;
}

Driver& CurrentDriver() {
    std::lock_guard<std::mutex> guard(selectionLock);
    if (!current) {
        current = MakeRequestedDriver().release();
    }
    return *current;
}

}  // namespace plat
