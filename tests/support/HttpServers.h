// The HTTP servers the integration tests talk to: nginx and the fault server, started on
// loopback by the ctest fixture, which names their state folder in VAEL_HTTP_SERVERS. Both
// serve ServedFolder(), where each test puts the files it downloads under names of its own.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace vael::test {

std::filesystem::path ServedFolder();

// "http://127.0.0.1:<port>" followed by `path`.
std::string NginxUrl(const std::string& path);
std::string FaultServerUrl(const std::string& path);

// The lines nginx logged for requests whose address holds `fileName`: "<uri> <Range> <status>".
std::vector<std::string> NginxRequestsFor(const std::string& fileName);

// The user agents nginx logged for requests whose address holds `fileName`, in order.
std::vector<std::string> NginxUserAgentsFor(const std::string& fileName);

// The requests the fault server saw with the directive id/<token>: "<path> <Range>".
std::vector<std::string> FaultServerRequests(const std::string& token);

// The POST bodies the fault server received with the directive id/<token>:
// "<Content-Type>\t<User-Agent>\t<body>".
std::vector<std::string> FaultServerBodies(const std::string& token);

// `size` bytes that differ from those of any other seed and do not compress.
std::string RandomBytes(std::size_t size, unsigned seed);

// A file name that no other test uses, from the running test's name.
std::string UniqueFileName(const std::string& extension);

}  // namespace vael::test
