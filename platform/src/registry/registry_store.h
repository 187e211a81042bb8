// The file behind the registry: REGEDIT4 text in the prefix, every value as "hex(type):" bytes
// so that type and bytes survive unchanged. Each change rewrites the file through a new file
// and a rename, so a crash leaves either the old or the new store.
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace plat::registry {

struct Value {
    unsigned type = 0;
    std::vector<unsigned char> bytes;
};

// Names of keys and values are compared without regard to case; the first spelling stays.
struct CaseLess {
    bool operator()(const std::string& a, const std::string& b) const;
};

struct Key {
    std::string name;  // the full path below the root, as first spelled
    std::map<std::string, Value, CaseLess> values;
};

using Store = std::map<std::string, Key, CaseLess>;

std::filesystem::path StoreFile();
// The store as the file holds it; empty when there is no file yet; nothing when unreadable.
std::optional<Store> Load();
bool Save(const Store& store);

}  // namespace plat::registry
