// Where the body of a libcurl answer goes: a file (or an in-memory stream) it writes to, but
// only when the answer has the status the command relies on, so an error page or a whole file
// sent where a part was asked for never lands in it. A write that fails stops the transfer
// with the file holding only what was written whole, in order.
#pragma once

#include <curl/curl.h>

#include <cstddef>
#include <cstdio>

namespace LauncherLib {

struct DownloadStream {
    std::FILE* file = nullptr;  // unbuffered, so what a write reports is what is on disk
    CURL* easy = nullptr;
    long acceptedStatus = 0;
    bool statusChecked = false;
    // A body arrived with another status: nothing of it was written and the transfer stopped.
    bool rejectedStatus = false;
    // errno of the write that failed, 0 while every write succeeded.
    int writeError = 0;
};

// CURLOPT_WRITEFUNCTION with a DownloadStream. Answers the bytes taken; fewer than
// size * count stop the transfer.
std::size_t WriteToStream(char* data, std::size_t size, std::size_t count, void* stream);

}  // namespace LauncherLib
