// What the fault server does with one request, read from the request's path. The last segment
// names a file in the served folder; the segments before it are directives:
//   id/<token>       groups the request in the log that /log/<token> returns
//   full             ignores the Range header and answers 200 with the whole file
//   drop/<offset>    closes the connection once the body reached byte <offset> of the file
//   stall/<offset>   stops sending at byte <offset> and holds the connection open
//   length/<bytes>   announces <bytes> as the Content-Length whatever the body holds
//   nolength         announces no length: the body ends when the connection closes
//   pace/<rate>      sends at most <rate> bytes per second
//   redirect/<n>     answers 302 to the same path with n - 1 (the directive gone at 0)
//   loop             answers 302 to the very same path
// Example: /id/t1/drop/1048576/Vael_1.2.3.zip
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace fault_server {

struct FaultPlan {
    std::string token;
    bool ignoreRanges = false;
    std::optional<std::uint64_t> dropAt;
    std::optional<std::uint64_t> stallAt;
    std::optional<std::uint64_t> announcedLength;
    bool noLength = false;
    std::uint64_t bytesPerSecond = 0;
    int redirects = 0;
    bool loop = false;
    std::string fileName;
    std::vector<std::string> segments;

    // The path one redirect further along the chain.
    std::string NextHop() const;
};

// Nothing when the path holds an unknown directive, a bad number or no file name.
std::optional<FaultPlan> ParseFaultPlan(const std::string& path);

}  // namespace fault_server
