#include "FaultRequestHandler.h"

#include <Poco/Exception.h>
#include <Poco/Net/HTTPServerRequest.h>
#include <Poco/Net/HTTPServerRequestImpl.h>
#include <Poco/Net/HTTPServerResponse.h>
#include <Poco/Net/StreamSocket.h>
#include <Poco/StreamCopier.h>
#include <Poco/Timespan.h>
#include <Poco/URI.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <optional>
#include <thread>
#include <vector>

#include "FaultPlan.h"

namespace fault_server {
namespace {

using Poco::Net::HTTPResponse;
using Poco::Net::HTTPServerRequest;
using Poco::Net::HTTPServerResponse;
using Clock = std::chrono::steady_clock;

// A stalled answer holds its connection at most this long, so no thread waits forever.
constexpr auto kLongestStall = std::chrono::seconds(30);
constexpr auto kPaceStep = std::chrono::milliseconds(50);
constexpr std::size_t kChunk = 64 * 1024;

struct ByteSpan {
    std::uint64_t first = 0;
    std::uint64_t end = 0;  // one past the last byte
};

// The span a "bytes=<first>-[<last>]" header asks for; nothing for any other form.
std::optional<ByteSpan> RequestedSpan(const std::string& header, std::uint64_t size) {
    unsigned long long first = 0;
    unsigned long long last = 0;
    char dash = 0;
    int consumed = 0;
    if (std::sscanf(header.c_str(), "bytes=%llu%c%n", &first, &dash, &consumed) != 2 ||
        dash != '-') {
        return std::nullopt;
    }
    ByteSpan span{first, size};
    if (header[consumed] != '\0') {
        if (std::sscanf(header.c_str() + consumed, "%llu", &last) != 1) {
            return std::nullopt;
        }
        span.end = std::min<std::uint64_t>(size, last + 1);
    }
    return span;
}

void Answer(HTTPServerResponse& response, HTTPResponse::HTTPStatus status,
            const std::string& body) {
    response.setStatusAndReason(status);
    response.setContentType("text/plain");
    response.setContentLength(static_cast<std::streamsize>(body.size()));
    response.send() << body;
}

void Redirect(HTTPServerResponse& response, const std::string& location) {
    response.set("Location", location);
    Answer(response, HTTPResponse::HTTP_FOUND, "moved\n");
}

// Waits until the client closes the connection or the longest stall has passed.
void HoldConnection(HTTPServerRequest& request) {
    auto& socket = static_cast<Poco::Net::HTTPServerRequestImpl&>(request).socket();
    Clock::time_point until = Clock::now() + kLongestStall;
    while (Clock::now() < until) {
        if (socket.poll(Poco::Timespan(0, 100000),
                        Poco::Net::Socket::SELECT_READ | Poco::Net::Socket::SELECT_ERROR)) {
            return;
        }
    }
}

// Sends [span.first, stop) of the file, at the plan's pace when it has one.
void SendBody(std::ifstream& file, const ByteSpan& span, std::uint64_t stop, const FaultPlan& plan,
              std::ostream& out) {
    std::size_t chunk = kChunk;
    if (plan.bytesPerSecond > 0) {
        chunk = std::max<std::size_t>(1, plan.bytesPerSecond * kPaceStep.count() / 1000);
    }
    std::vector<char> buffer(chunk);
    file.seekg(static_cast<std::streamoff>(span.first));
    Clock::time_point next = Clock::now();
    for (std::uint64_t at = span.first; at < stop && out;) {
        std::size_t count = static_cast<std::size_t>(std::min<std::uint64_t>(chunk, stop - at));
        file.read(buffer.data(), static_cast<std::streamsize>(count));
        out.write(buffer.data(), file.gcount());
        at += static_cast<std::uint64_t>(file.gcount());
        if (file.gcount() == 0) {
            break;
        }
        if (plan.bytesPerSecond > 0) {
            out.flush();
            next += kPaceStep;
            std::this_thread::sleep_until(next);
        }
    }
    out.flush();
}

// Where the body stops short of its span because of a drop or a stall.
std::uint64_t StopOffset(const FaultPlan& plan, const ByteSpan& span) {
    std::uint64_t stop = span.end;
    for (const auto& cut : {plan.dropAt, plan.stallAt}) {
        if (cut && *cut > span.first && *cut < stop) {
            stop = *cut;
        }
    }
    return stop;
}

void ServeFile(HTTPServerRequest& request, HTTPServerResponse& response, const FaultPlan& plan,
               const std::filesystem::path& file) {
    std::ifstream input(file, std::ios::binary);
    std::error_code error;
    std::uint64_t size = std::filesystem::file_size(file, error);
    if (!input || error) {
        Answer(response, HTTPResponse::HTTP_NOT_FOUND, "no such file\n");
        return;
    }
    ByteSpan span{0, size};
    std::optional<ByteSpan> asked;
    if (!plan.ignoreRanges && request.has("Range")) {
        asked = RequestedSpan(request.get("Range"), size);
    }
    if (asked && asked->first >= size) {
        response.set("Content-Range", "bytes */" + std::to_string(size));
        Answer(response, HTTPResponse::HTTP_REQUESTED_RANGE_NOT_SATISFIABLE, "");
        return;
    }
    if (asked) {
        span = *asked;
        response.setStatusAndReason(HTTPResponse::HTTP_PARTIAL_CONTENT);
        response.set("Content-Range", "bytes " + std::to_string(span.first) + "-" +
                                          std::to_string(span.end - 1) + "/" +
                                          std::to_string(size));
    }
    std::uint64_t length = plan.announcedLength.value_or(span.end - span.first);
    std::uint64_t stop = StopOffset(plan, span);
    response.setContentType("application/octet-stream");
    if (plan.noLength) {
        response.setKeepAlive(false);
    } else {
        response.setContentLength64(static_cast<Poco::Int64>(length));
        response.setKeepAlive(stop == span.end && length == span.end - span.first);
    }
    std::ostream& out = response.send();
    SendBody(input, span, stop, plan, out);
    if (plan.stallAt && stop == *plan.stallAt) {
        HoldConnection(request);
    }
}

}  // namespace

FaultRequestHandler::FaultRequestHandler(const std::filesystem::path& root, RequestLog& log)
    : root(root), log(log) {}

void FaultRequestHandler::handleRequest(HTTPServerRequest& request, HTTPServerResponse& response) {
    std::string path = Poco::URI(request.getURI()).getPath();
    const std::string logPrefix = "/log/";
    const std::string bodiesPrefix = "/bodies/";
    if (path.rfind(logPrefix, 0) == 0) {
        Answer(response, HTTPResponse::HTTP_OK, log.LinesOf(path.substr(logPrefix.size())));
        return;
    }
    if (path.rfind(bodiesPrefix, 0) == 0) {
        Answer(response, HTTPResponse::HTTP_OK, log.BodiesOf(path.substr(bodiesPrefix.size())));
        return;
    }
    std::optional<FaultPlan> plan = ParseFaultPlan(path);
    if (!plan) {
        Answer(response, HTTPResponse::HTTP_BAD_REQUEST, "unknown directive\n");
        return;
    }
    log.Record(plan->token, path, request.get("Range", ""));
    if (request.getMethod() == Poco::Net::HTTPRequest::HTTP_POST) {
        std::string body;
        Poco::StreamCopier::copyToString(request.stream(), body);
        log.RecordBody(plan->token, request.getContentType(), request.get("User-Agent", ""), body);
    }
    try {
        if (plan->loop) {
            Redirect(response, path);
        } else if (plan->redirects > 0) {
            Redirect(response, plan->NextHop());
        } else {
            ServeFile(request, response, *plan, root / plan->fileName);
        }
    } catch (const Poco::IOException&) {
        // The client went away mid-answer, which the tests provoke on purpose.
    }
}

FaultRequestHandlerFactory::FaultRequestHandlerFactory(std::filesystem::path root)
    : root(std::move(root)) {}

Poco::Net::HTTPRequestHandler* FaultRequestHandlerFactory::createRequestHandler(
    const Poco::Net::HTTPServerRequest&) {
    return new FaultRequestHandler(root, log);
}

}  // namespace fault_server
