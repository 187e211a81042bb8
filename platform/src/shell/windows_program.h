// How a program file is started on this system: Windows programs through `wine` in the prefix.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace plat::shell {

// True for a file that starts with "MZ", and for a missing file whose name ends in ".exe".
bool IsWindowsProgram(const std::filesystem::path& file);

// The full path of `program` found on PATH, or empty.
std::string FindOnPath(const std::string& program);

// The command line that starts `file` with `arguments`: `wine <file> <arguments>` for a
// Windows program, else the file itself.
std::vector<std::string> ProgramCommand(const std::filesystem::path& file,
                                        const std::vector<std::string>& arguments);

}  // namespace plat::shell
