// The requests the fault server saw, one line each ("<path> <Range header or ->"), and the
// bodies sent with them, one line each ("<Content-Type>\t<User-Agent>\t<body>"), grouped by
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
    void RecordBody(const std::string& token, const std::string& contentType,
                    const std::string& userAgent, const std::string& body);
    std::string LinesOf(const std::string& token) const;
    std::string BodiesOf(const std::string& token) const;

private:
    using Lines = std::map<std::string, std::vector<std::string>>;
    static std::string Joined(const Lines& lines, const std::string& token);

    mutable std::mutex lock;
    Lines lines;
    Lines bodies;
};

}  // namespace fault_server
