#include "PostForm.h"

#include <rapidjson/document.h>

#include <cstdio>
#include <sstream>

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

// add rather than set: the form compares names without regard to case, and "Name" and "name"
// are two fields here.
void FillForm(Poco::Net::HTMLForm& form, const FormFields& fields) {
    form.setEncoding(Poco::Net::HTMLForm::ENCODING_URL);
    for (const auto& [name, value] : fields) {
        form.add(name, value);
    }
}

std::string EncodedForm(const FormFields& fields) {
    Poco::Net::HTMLForm form;
    FillForm(form, fields);
    std::ostringstream text;
    form.write(text);
    return text.str();
}

std::string HttpCodeText(int status) {
    char text[32];
    std::snprintf(text, sizeof text, "http code %d", status);
    return text;
}

}  // namespace LauncherLib
