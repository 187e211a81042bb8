// The files of a download: the temporary file the body is written to, and its rename to the
// target once the body is whole.
#pragma once

#include <cstdio>
#include <memory>
#include <string>

namespace LauncherLib {

struct FileClose {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileClose>;

// Opens a Windows path with fopen's `mode`, unbuffered: after a failed write the file holds
// exactly the bytes reported written.
FileHandle OpenTemporaryFile(const std::string& path, const char* mode);

// Renames `temporary` to `target`, replacing it; false when the target cannot be replaced.
bool MoveToTarget(const std::string& temporary, const std::string& target);

// The texts for the user (GBK).
std::string MoveFailedText();
std::string WriteErrorText(int error);
// The body ended before the whole file arrived.
std::string IncompleteText();

}  // namespace LauncherLib
