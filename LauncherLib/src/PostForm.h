// The parameters of the POST commands and their run: a JSON object with the address in "url"
// and the form fields in "params", an array of one-member objects ({"name": "value"}).
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>

#include "LauncherLib/CommandBase.h"
#include "LauncherLib/ResultMap.h"

namespace LauncherLib {

// Fields by name, in byte-wise ascending order, the order they are sent in.
using FormFields = std::map<std::string, std::string>;

struct PostParams {
    std::string url;
    FormFields fields;
};

// Nothing when the text is not a JSON object. A missing, null or non-array "params" gives no
// fields; of each element only its first member counts, and only when its value is a string;
// a later element with the same name replaces an earlier one.
std::optional<PostParams> ReadPostParams(const std::string& text);

// The fields as the body of an URL-encoded form ("application/x-www-form-urlencoded"):
// name=value pairs joined by ampersands, in the fields' order.
std::string EncodedForm(const FormFields& fields);

// "http code %d" with `status`: the content of an answer other than 200.
std::string HttpCodeText(int status);

constexpr const char* kBadPostParams = "fail to parse json value";

// A POST command's run: parameters that do not read fail it with "error" kBadPostParams;
// otherwise `post` runs with every failure reported as RunReportingFailures does.
void RunPost(CCommandBase& command, ResultMap& result,
             const std::function<void(const PostParams&)>& post);

}  // namespace LauncherLib
