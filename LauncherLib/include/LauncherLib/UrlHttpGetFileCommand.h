// "httpurlgetfilecmd": downloads the file at the address given as the parameter text through
// libcurl, following redirects, into the current folder under the name the address ends in.
// The body goes to "<name>.tmp", started empty on every run, and replaces the file once whole.
// Progress goes into the result map while the transfer runs.
#pragma once

#include "LauncherLib/DownloadCommand.h"

namespace LauncherLib {

class CUrlHttpGetFileCommand : public CDownloadCommand {
public:
    using CDownloadCommand::CDownloadCommand;

    void Execute(ResultMapPtr result) override;

private:
    void Download(const std::string& url, const ResultMapPtr& result);
};

}  // namespace LauncherLib
