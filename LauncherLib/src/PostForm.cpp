#include "PostForm.h"

#include <Poco/Net/HTMLForm.h>
#include <rapidjson/document.h>

#include <cstdio>
#include <sstream>

#include "RequestFailures.h"

namespace LauncherLib {
namespace {

std::string StringOf(const rapidjson::Value& value) {
    return std::string(value.GetString(), value.GetStringLength());
}

FormFields ReadFields(const rapidjson::Value& elements) {
    FormFields fields;
    for (const auto& element : elements.GetArray()) {
        if (!element.IsObject() || element.MemberCount() == 0) {
            continue;
        }
        const auto& first = *element.MemberBegin();
        if (first.value.IsString()) {
            fields[StringOf(first.name)] = StringOf(first.value);
        }
    }
    return fields;
}

}  // namespace

std::optional<PostParams> ReadPostParams(const std::string& text) {
    rapidjson::Document document;
    document.Parse(text.data(), text.size());
    if (document.HasParseError() || !document.IsObject()) {
        return std::nullopt;
    }
    PostParams params;
    auto url = document.FindMember("url");
    if (url != document.MemberEnd() && url->value.IsString()) {
        params.url = StringOf(url->value);
    }
    auto elements = document.FindMember("params");
    if (elements != document.MemberEnd() && elements->value.IsArray()) {
        params.fields = ReadFields(elements->value);
    }
    return params;
}

// One form per field: a form keeps names that differ only in case together (or, with set,
// lets one replace the other), which would break the order of the fields or lose one.
std::string EncodedForm(const FormFields& fields) {
    std::string text;
    for (const auto& [name, value] : fields) {
        Poco::Net::HTMLForm field(Poco::Net::HTMLForm::ENCODING_URL);
        field.add(name, value);
        std::ostringstream pair;
        field.write(pair);
        text += (text.empty() ? "" : "&") + pair.str();
    }
    return text;
}

std::string HttpCodeText(int status) {
    char text[32];
    std::snprintf(text, sizeof text, "http code %d", status);
    return text;
}

void RunPost(CCommandBase& command, ResultMap& result,
             const std::function<void(const PostParams&)>& post) {
    std::optional<PostParams> params = ReadPostParams(command.GetParams());
    if (!params) {
        command.SetFail();
        result.Set("error", kBadPostParams);
        return;
    }
    RunReportingFailures(command, result, [&] { post(*params); });
}

}  // namespace LauncherLib
