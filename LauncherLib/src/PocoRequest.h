// What the engine's requests through POCO share: the request they send and how they read a
// whole answer.
#pragma once

#include <Poco/Net/HTTPRequest.h>
#include <Poco/URI.h>

#include <istream>
#include <string>

namespace LauncherLib {

// A request with version "HTTP/1.1" for the address's path and query ("/" when it has none),
// carrying the engine's browser identity.
Poco::Net::HTTPRequest MakeRequest(const std::string& method, const Poco::URI& uri);

// The whole body, copied through an 8192-byte buffer.
std::string ReadWholeBody(std::istream& body);

}  // namespace LauncherLib
