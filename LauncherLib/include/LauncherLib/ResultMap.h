// The result map of one command run: text keys to text values, written by the engine's worker
// and read by the UI thread at the same time. Every operation takes the map's own lock, and
// reads return copies, so a reader never sees a value half written.
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

namespace LauncherLib {

class ResultMap {
public:
    using Entries = std::map<std::string, std::string>;

    void Set(const std::string& key, std::string value);
    // The value, or an empty text when the key is absent.
    std::string Get(const std::string& key) const;
    std::optional<std::string> Find(const std::string& key) const;
    bool Contains(const std::string& key) const;
    void Clear();
    Entries Snapshot() const;

private:
    mutable std::mutex m_lock;
    Entries m_entries;
};

using ResultMapPtr = std::shared_ptr<ResultMap>;

}  // namespace LauncherLib
