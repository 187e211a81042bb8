// How the engine presents itself to HTTP servers: the browser identity the download servers
// expect, and how far it follows redirects.
#pragma once

namespace LauncherLib {

constexpr const char* kUserAgent =
    "Mozilla/5.0 (Windows NT 6.3; rv:36.0) Gecko/20100101 Firefox/36.04";
constexpr long kMaxRedirects = 20;

}  // namespace LauncherLib
