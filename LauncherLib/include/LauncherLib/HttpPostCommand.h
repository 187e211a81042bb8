// "httppostcmd": posts an URL-encoded form through POCO. Parameters: a JSON object with "url"
// and the fields in "params" ([{"name": "value"}, ...]). The status goes into "code", the
// body of a 200 into "content", "http code <status>" for any other answer.
#pragma once

#include "LauncherLib/CommandBase.h"

namespace LauncherLib {

struct PostParams;

class CHttpPostCommand : public CCommandBase {
public:
    using CCommandBase::CCommandBase;

    void Execute(ResultMapPtr result) override;

private:
    void Post(const PostParams& params, ResultMap& result);
};

}  // namespace LauncherLib
