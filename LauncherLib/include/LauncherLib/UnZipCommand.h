// "UnzipCommand": unpacks a ZIP archive into a folder and publishes how many entries the
// archive has ("unzipTotalCount") and how many have been handled ("unzipCount").
#pragma once

#include <string>

#include "LauncherLib/CommandBase.h"

namespace LauncherLib {

class CUnZipCommand : public CCommandBase {
public:
    using CCommandBase::CCommandBase;

    void Execute(ResultMapPtr result) override;

private:
    void Unpack(const std::string& zipfile, const std::string& destdir, const ResultMapPtr& result);
    void Fail(const ResultMapPtr& result, const std::string& error);
};

}  // namespace LauncherLib
