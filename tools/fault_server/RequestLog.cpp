#include "RequestLog.h"

namespace fault_server {

void RequestLog::Record(const std::string& token, const std::string& path,
                        const std::string& range) {
    std::lock_guard<std::mutex> guard(lock);
    lines[token].push_back(path + " " + (range.empty() ? "-" : range));
}

std::string RequestLog::LinesOf(const std::string& token) const {
    std::lock_guard<std::mutex> guard(lock);
    std::string text;
    auto found = lines.find(token);
    if (found != lines.end()) {
        for (const std::string& line : found->second) {
            text += line + "\n";
        }
    }
    return text;
}

}  // namespace fault_server
