#include "LauncherLib/ResultMap.h"

namespace LauncherLib {

void ResultMap::Set(const std::string& key, std::string value) {
    std::lock_guard<std::mutex> lock(m_lock);
    m_entries[key] = std::move(value);
}

std::string ResultMap::Get(const std::string& key) const {
    return Find(key).value_or("");
}

std::optional<std::string> ResultMap::Find(const std::string& key) const {
    std::lock_guard<std::mutex> lock(m_lock);
    auto it = m_entries.find(key);
    if (it == m_entries.end()) {
        return std::nullopt;
    }
    return it->second;
}

bool ResultMap::Contains(const std::string& key) const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_entries.count(key) != 0;
}

void ResultMap::Clear() {
    std::lock_guard<std::mutex> lock(m_lock);
    m_entries.clear();
}

ResultMap::Entries ResultMap::Snapshot() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_entries;
}

}  // namespace LauncherLib
