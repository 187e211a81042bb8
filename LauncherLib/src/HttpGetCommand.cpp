#include "LauncherLib/HttpGetCommand.h"

#include <Poco/Net/HTTPClientSession.h>
#include <Poco/Net/HTTPResponse.h>
#include <Poco/URI.h>

#include "PocoRequest.h"
#include "RequestFailures.h"

namespace LauncherLib {

void CHttpGetCommand::Execute(ResultMapPtr result) {
    RunReportingFailures(*this, *result, [&] { Get(*result); });
}

void CHttpGetCommand::Get(ResultMap& result) {
    Poco::URI uri(GetParams());
    Poco::Net::HTTPClientSession session(uri.getHost(), uri.getPort());
    Log("Create Session at " + uri.getHost() + ":" + std::to_string(uri.getPort()));
    Poco::Net::HTTPRequest request = MakeRequest(Poco::Net::HTTPRequest::HTTP_GET, uri);
    session.sendRequest(request);

    Poco::Net::HTTPResponse response;
    std::istream& body = session.receiveResponse(response);
    result.Set("code", std::to_string(response.getStatus()));
    if (response.getStatus() == Poco::Net::HTTPResponse::HTTP_OK) {
        result.Set("content", ReadWholeBody(body));
        SetSuccess();
    } else {
        SetFail();
    }
}

}  // namespace LauncherLib
