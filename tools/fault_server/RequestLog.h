// The requests the fault server saw, one line each ("<path> <Range header or ->"), grouped by
// the token of their "id" directive so that tests running side by side read only their own.
#pragma once

#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace fault_server {

class RequestLog {
public:
    void Record(const std::string& token, const std::string& path, const std::string& range);
    std::string LinesOf(const std::string& token) const;

private:
    mutable std::mutex lock;
    std::map<std::string, std::vector<std::string>> lines;
};

}  // namespace fault_server
