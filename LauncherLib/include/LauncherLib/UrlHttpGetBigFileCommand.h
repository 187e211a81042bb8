// "httpurlgetbigfilecmd": downloads one large file over HTTP into a folder, resumably. It asks
// only for the bytes its temporary file "<name>.tmp" does not hold yet and appends them, so an
// interrupted download continues where it stopped when the command runs again; once the file
// is whole it is renamed to its name. Parameters: a JSON object with "url" and "path" (the
// folder, GBK). Progress goes into the result map while the transfer runs.
#pragma once

#include "LauncherLib/DownloadCommand.h"

namespace LauncherLib {

class CUrlHttpGetBigFileCommand : public CDownloadCommand {
public:
    using CDownloadCommand::CDownloadCommand;

    void Execute(ResultMapPtr result) override;
};

}  // namespace LauncherLib
