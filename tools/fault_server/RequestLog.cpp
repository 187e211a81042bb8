#include "RequestLog.h"

namespace fault_server {

void RequestLog::Record(const std::string& token, const std::string& path,
                        const std::string& range) {
    std::lock_guard<std::mutex> guard(lock);
    lines[token].push_back(path + " " + (range.empty() ? "-" : range));
}

void RequestLog::RecordBody(const std::string& token, const std::string& contentType,
                            const std::string& userAgent, const std::string& body) {
    std::lock_guard<std::mutex> guard(lock);
    bodies[token].push_back(contentType + "\t" + userAgent + "\t" + body);
}

std::string RequestLog::LinesOf(const std::string& token) const {
    std::lock_guard<std::mutex> guard(lock);
    return Joined(lines, token);
}

std::string RequestLog::BodiesOf(const std::string& token) const {
    std::lock_guard<std::mutex> guard(lock);
    return Joined(bodies, token);
}

std::string RequestLog::Joined(const Lines& lines, const std::string& token) {
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
