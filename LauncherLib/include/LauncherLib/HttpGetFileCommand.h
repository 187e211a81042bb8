// "httpgetfilecmd": the file download of "httpurlgetfilecmd" through POCO, which does not
// follow redirects: a redirected request sets "UseLibcurl" to "true" and fails, telling the
// caller to use the libcurl command. The body is read in blocks of up to 2 MiB; progress and
// speed go into the result map after each block.
#pragma once

#include "LauncherLib/DownloadCommand.h"

namespace LauncherLib {

class CHttpGetFileCommand : public CDownloadCommand {
public:
    using CDownloadCommand::CDownloadCommand;

    void Execute(ResultMapPtr result) override;

private:
    void Download(ResultMap& result);
};

}  // namespace LauncherLib
