#include "LauncherLib/CommandRegistry.h"

#include <cstdio>
#include <map>
#include <mutex>

namespace LauncherLib {
namespace {

struct Registry {
    // The map is filled at start-up and then only read; its lock keeps late registrations
    // (tests replace factories) safe against the worker creating the unzip command.
    std::mutex factoriesLock;
    std::map<std::string, CommandFactory> factories;
    std::mutex counterLock;
    int counter = 0;
};

Registry& TheRegistry() {
    static Registry registry;
    return registry;
}

std::string FormatId(const std::string& name, int number) {
    int length = std::snprintf(nullptr, 0, "%s-%d", name.c_str(), number);
    std::string id(static_cast<size_t>(length) + 1, '\0');
    std::snprintf(id.data(), id.size(), "%s-%d", name.c_str(), number);
    id.resize(static_cast<size_t>(length));
    return id;
}

}  // namespace

void RegisterCommand(const std::string& name, CommandFactory factory) {
    Registry& registry = TheRegistry();
    std::lock_guard<std::mutex> lock(registry.factoriesLock);
    registry.factories[name] = std::move(factory);
}

CommandPtr CreateCommand(const std::string& name, const std::string& params) {
    Registry& registry = TheRegistry();
    CommandFactory factory;
    {
        std::lock_guard<std::mutex> lock(registry.factoriesLock);
        auto it = registry.factories.find(name);
        if (it == registry.factories.end()) {
            return nullptr;
        }
        factory = it->second;
    }
    std::string id;
    {
        std::lock_guard<std::mutex> lock(registry.counterLock);
        id = FormatId(name, ++registry.counter);
    }
    return factory(id, params);
}

}  // namespace LauncherLib
