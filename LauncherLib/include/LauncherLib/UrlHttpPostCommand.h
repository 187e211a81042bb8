// "httpcurlpostcmd": the form POST of "httppostcmd" sent through libcurl, which follows
// redirects. Same parameters and results.
#pragma once

#include "LauncherLib/CommandBase.h"

namespace LauncherLib {

struct PostParams;

class CUrlHttpPostCommand : public CCommandBase {
public:
    using CCommandBase::CCommandBase;

    void Execute(ResultMapPtr result) override;

private:
    void Post(const PostParams& params, ResultMap& result);
};

}  // namespace LauncherLib
