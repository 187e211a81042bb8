// "httpurlgetbigfilecmd": downloads one large file over HTTP into a folder, resumably. It asks
// only for the bytes its temporary file "<name>.tmp" does not hold yet and appends them, so an
// interrupted download continues where it stopped when the command runs again; once the file
// is whole it is renamed to its name. Parameters: a JSON object with "url" and "path" (the
// folder, GBK). Progress goes into the result map while the transfer runs.
#pragma once

#include "LauncherLib/CommandBase.h"

namespace LauncherLib {

class CUrlHttpGetBigFileCommand : public CCommandBase {
public:
    using CCommandBase::CCommandBase;

    void Execute(ResultMapPtr result) override;

    // A transfer slower than `bytesPerSecond` for `seconds` fails, so a stalled server cannot
    // hold the download forever. 1 byte/s for 60 s unless changed.
    void SetLowSpeedLimit(long bytesPerSecond, long seconds);

private:
    long lowSpeedBytesPerSecond = 1;
    long lowSpeedSeconds = 60;
};

}  // namespace LauncherLib
