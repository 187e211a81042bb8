// Serves one request of the fault server: the request log under /log/<token>, the bodies of
// the POST requests under /bodies/<token>, otherwise a file of the served folder (whatever the
// method), with byte ranges, bent by the directives of its path (FaultPlan.h).
#pragma once

#include <Poco/Net/HTTPRequestHandler.h>
#include <Poco/Net/HTTPRequestHandlerFactory.h>

#include <filesystem>

#include "RequestLog.h"

namespace fault_server {

class FaultRequestHandler : public Poco::Net::HTTPRequestHandler {
public:
    FaultRequestHandler(const std::filesystem::path& root, RequestLog& log);
    void handleRequest(Poco::Net::HTTPServerRequest& request,
                       Poco::Net::HTTPServerResponse& response) override;

private:
    const std::filesystem::path& root;
    RequestLog& log;
};

class FaultRequestHandlerFactory : public Poco::Net::HTTPRequestHandlerFactory {
public:
    explicit FaultRequestHandlerFactory(std::filesystem::path root);
    Poco::Net::HTTPRequestHandler* createRequestHandler(
        const Poco::Net::HTTPServerRequest& request) override;

private:
    std::filesystem::path root;
    RequestLog log;
};

}  // namespace fault_server
