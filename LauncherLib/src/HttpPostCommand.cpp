#include "LauncherLib/HttpPostCommand.h"

#include <Poco/Net/HTMLForm.h>
#include <Poco/Net/HTTPClientSession.h>
#include <Poco/Net/HTTPResponse.h>
#include <Poco/URI.h>

#include "PocoRequest.h"
#include "PostForm.h"

namespace LauncherLib {

void CHttpPostCommand::Execute(ResultMapPtr result) {
    RunPost(*this, *result, [&](const PostParams& params) { Post(params, *result); });
}

void CHttpPostCommand::Post(const PostParams& params, ResultMap& result) {
    Poco::URI uri(params.url);
    Poco::Net::HTTPClientSession session(uri.getHost(), uri.getPort());
    Poco::Net::HTTPRequest request = MakeRequest(Poco::Net::HTTPRequest::HTTP_POST, uri);
    std::string form = EncodedForm(params.fields);
    request.setContentType(Poco::Net::HTMLForm::ENCODING_URL);
    request.setContentLength(static_cast<std::streamsize>(form.size()));
    session.sendRequest(request) << form;

    Poco::Net::HTTPResponse response;
    std::istream& body = session.receiveResponse(response);
    result.Set("code", std::to_string(response.getStatus()));
    if (response.getStatus() == Poco::Net::HTTPResponse::HTTP_OK) {
        result.Set("content", ReadWholeBody(body));
        SetSuccess();
    } else {
        result.Set("content", HttpCodeText(response.getStatus()));
        SetFail();
    }
}

}  // namespace LauncherLib
