#include "LauncherLib/HttpGetFileCommand.h"

#include <Poco/Net/HTTPClientSession.h>
#include <Poco/Net/HTTPResponse.h>
#include <Poco/Timespan.h>
#include <Poco/URI.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <optional>
#include <vector>

#include "DownloadFiles.h"
#include "LauncherLib/LowSpeedLimit.h"
#include "LauncherLib/TransferProgress.h"
#include "LauncherLib/UrlFileName.h"
#include "PocoRequest.h"
#include "RequestFailures.h"
#include "TransferStopped.h"
#include "plat/tick.h"

namespace LauncherLib {
namespace {

using Poco::Net::HTTPResponse;

constexpr std::size_t kBlockBytes = 2 * 1024 * 1024;
// How long a wait for the network lasts before the cancel flag and the stall are looked at
// again, and how long one block may take to fill before it is written.
constexpr plat::DWORD kWaitStepMs = 100;
constexpr plat::DWORD kSpeedIntervalMs = 100;
constexpr plat::DWORD kLateSpeedMs = 10;

// A session that tells whether a read would be answered from what it already received.
class WatchedSession : public Poco::Net::HTTPClientSession {
public:
    using HTTPClientSession::HTTPClientSession;
    bool HoldsUnreadBytes() const { return buffered() > 0; }
};

// Gives the transfer up when its owner cancels the command or the server has sent too little
// for too long.
class TransferWatch {
public:
    TransferWatch(const CCommandBase& command, const LowSpeedLimit& limit)
        : command(command), limit(limit), stall(limit) {}

    void Check(std::uint64_t bytes) {
        if (command.IsCancelled()) {
            throw TransferStopped("Transfer cancelled");
        }
        if (stall.Stalled(bytes)) {
            throw TransferStopped("Transfer stalled: less than " +
                                  std::to_string(limit.bytesPerSecond) + " bytes/s for " +
                                  std::to_string(limit.seconds) + " s");
        }
    }

private:
    const CCommandBase& command;
    LowSpeedLimit limit;
    StallWatch stall;
};

// The speed after each block: bytes per millisecond since the last value, at most every
// 100 ms, also written to standard output.
class SpeedMeter {
public:
    void Update(ResultMap& result, std::uint64_t written) {
        plat::DWORD now = plat::GetTickCount();
        if (now - lastTick > kSpeedIntervalMs) {
            Publish(result, written, now);
        }
    }

    // A transfer too short for a value on the way gets one at its end.
    void Finish(ResultMap& result, std::uint64_t written) {
        plat::DWORD now = plat::GetTickCount();
        if (!published && now - startTick > kLateSpeedMs) {
            Publish(result, written, now);
        }
    }

private:
    void Publish(ResultMap& result, std::uint64_t written, plat::DWORD now) {
        double bytes = static_cast<double>(written - lastWritten);
        long long speed = static_cast<long long>(bytes / (now - lastTick));
        result.Set("speedKB", std::to_string(speed));
        std::cout << "Speed " << speed << " KB/s" << std::endl;
        lastTick = now;
        lastWritten = written;
        published = true;
    }

    plat::DWORD startTick = plat::GetTickCount();
    plat::DWORD lastTick = startTick;
    std::uint64_t lastWritten = 0;
    bool published = false;
};

// Whether a read would not wait for the network: the answer holds unread bytes, or the socket
// brings news (data, its end or an error) within 100 ms.
bool DataReady(WatchedSession& session, std::streambuf* body) {
    const int news = Poco::Net::Socket::SELECT_READ | Poco::Net::Socket::SELECT_ERROR;
    return (body && body->in_avail() > 0) || session.HoldsUnreadBytes() ||
           session.socket().poll(Poco::Timespan(0, static_cast<long>(kWaitStepMs) * 1000), news);
}

void WaitForData(WatchedSession& session, std::streambuf* body, TransferWatch& watch,
                 std::uint64_t bytes) {
    while (!DataReady(session, body)) {
        watch.Check(bytes);
    }
}

struct Block {
    std::size_t bytes = 0;
    bool bodyEnded = false;
};

// Reads up to `wanted` bytes into `block`: what the body brings within about 100 ms, and at
// least one byte unless the body has ended.
Block ReadBlock(WatchedSession& session, std::istream& body, std::vector<char>& block,
                std::size_t wanted, TransferWatch& watch, std::uint64_t written) {
    std::streambuf& buffer = *body.rdbuf();
    Block read;
    plat::DWORD start = plat::GetTickCount();
    while (read.bytes < wanted) {
        if (read.bytes > 0 &&
            (plat::GetTickCount() - start > kWaitStepMs || !DataReady(session, &buffer))) {
            break;
        }
        WaitForData(session, &buffer, watch, written);
        if (buffer.sgetc() == std::streambuf::traits_type::eof()) {
            read.bodyEnded = true;
            break;
        }
        std::streamsize ready = std::min<std::streamsize>(
            buffer.in_avail(), static_cast<std::streamsize>(wanted - read.bytes));
        read.bytes += static_cast<std::size_t>(buffer.sgetn(block.data() + read.bytes, ready));
    }
    return read;
}

// Copies the body into `file` block by block, publishing the progress after each. Without a
// length the body is read to its end. The failure's text when the file did not get it whole.
std::optional<std::string> CopyBody(WatchedSession& session, std::istream& body, std::int64_t total,
                                    std::FILE* file, ResultMap& result, TransferWatch& watch) {
    std::vector<char> block(kBlockBytes);
    bool lengthKnown = total != HTTPResponse::UNKNOWN_CONTENT_LENGTH;
    std::uint64_t length = lengthKnown ? static_cast<std::uint64_t>(total) : 0;
    std::uint64_t written = 0;
    SpeedMeter speed;
    while (!lengthKnown || written < length) {
        std::size_t wanted =
            lengthKnown
                ? static_cast<std::size_t>(std::min<std::uint64_t>(kBlockBytes, length - written))
                : kBlockBytes;
        Block read = ReadBlock(session, body, block, wanted, watch, written);
        errno = 0;
        if (std::fwrite(block.data(), 1, read.bytes, file) != read.bytes) {
            return WriteErrorText(errno != 0 ? errno : EIO);
        }
        written += read.bytes;
        speed.Update(result, written);
        result.Set("write", std::to_string(written));
        result.Set("percentage",
                   PercentageText(static_cast<double>(written), static_cast<double>(total)));
        std::fflush(file);
        if (read.bodyEnded) {
            break;
        }
        watch.Check(written);
    }
    speed.Finish(result, written);
    if (lengthKnown && written < length) {
        return IncompleteText();
    }
    return std::nullopt;
}

std::string OpenFailureText(int error) {
    if (error == 0) {
        return "Create temp file error!";
    }
    return std::string("create temp file error, reason: ") + std::strerror(error);
}

}  // namespace

void CHttpGetFileCommand::Execute(ResultMapPtr result) {
    RunReportingFailures(*this, *result, [&] { Download(*result); });
}

// The file lands in the current folder: the target is the bare file name.
void CHttpGetFileCommand::Download(ResultMap& result) {
    Poco::URI uri(GetParams());
    std::string fileName = FileNameFromUrl(GetParams());
    result.Set("filename", fileName);
    WatchedSession session(uri.getHost(), uri.getPort());
    session.setTimeout(Poco::Timespan(GetLowSpeedLimit().seconds, 0));
    Poco::Net::HTTPRequest request = MakeRequest(Poco::Net::HTTPRequest::HTTP_GET, uri);
    // Sent now rather than with the first read, so the wait below sees the answer come.
    session.sendRequest(request).flush();
    TransferWatch watch(*this, GetLowSpeedLimit());
    WaitForData(session, nullptr, watch, 0);

    HTTPResponse response;
    std::istream& body = session.receiveResponse(response);
    HTTPResponse::HTTPStatus status = response.getStatus();
    result.Set("code", std::to_string(status));
    if (status != HTTPResponse::HTTP_OK && status != HTTPResponse::HTTP_MOVED_PERMANENTLY &&
        status != HTTPResponse::HTTP_FOUND) {
        result.Set("Error", "Http Error");
        SetFail();
        return;
    }
    if (status != HTTPResponse::HTTP_OK) {
        result.Set("UseLibcurl", "true");
        SetFail();
        return;
    }
    std::int64_t total = response.getContentLength64();
    result.Set("contentlength", std::to_string(total));
    result.Set("write", "0");
    result.Set("percentage", "0");

    std::string temporary = fileName + ".tmp";
    errno = 0;
    FileHandle file = OpenTemporaryFile(temporary, "wb");
    if (!file) {
        result.Set("Error", OpenFailureText(errno));
        SetFail();
        return;
    }
    std::optional<std::string> failure = CopyBody(session, body, total, file.get(), result, watch);
    file.reset();
    if (failure) {
        result.Set("Error", *failure);
        SetFail();
        return;
    }
    if (!MoveToTarget(temporary, fileName)) {
        result.Set("Error", MoveFailedText());
        SetFail();
        return;
    }
    SetSuccess();
}

}  // namespace LauncherLib
