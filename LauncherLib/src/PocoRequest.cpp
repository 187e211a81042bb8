#include "PocoRequest.h"

#include <Poco/StreamCopier.h>

#include "HttpIdentity.h"

namespace LauncherLib {
namespace {

constexpr std::size_t kCopyBufferBytes = 8192;

}  // namespace

Poco::Net::HTTPRequest MakeRequest(const std::string& method, const Poco::URI& uri) {
    std::string target = uri.getPathAndQuery();
    Poco::Net::HTTPRequest request(method, target.empty() ? "/" : target,
                                   Poco::Net::HTTPMessage::HTTP_1_1);
    request.set("User-Agent", kUserAgent);
    return request;
}

std::string ReadWholeBody(std::istream& body) {
    std::string text;
    Poco::StreamCopier::copyToString(body, text, kCopyBufferBytes);
    return text;
}

}  // namespace LauncherLib
