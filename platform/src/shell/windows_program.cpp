#include "windows_program.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>

namespace plat::shell {

bool IsWindowsProgram(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        std::string extension = file.extension().string();
        for (char& c : extension) {
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        return extension == ".exe";
    }
    char magic[2] = {};
    in.read(magic, 2);
    return in.gcount() == 2 && magic[0] == 'M' && magic[1] == 'Z';
}

std::string FindOnPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::string folders = path ? path : "/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= folders.size()) {
        std::size_t end = folders.find(':', start);
        if (end == std::string::npos) {
            end = folders.size();
        }
        std::string folder = folders.substr(start, end - start);
        std::string candidate = (folder.empty() ? "." : folder) + "/" + program;
        if (::access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
        start = end + 1;
    }
    return {};
}

std::vector<std::string> ProgramCommand(const std::filesystem::path& file,
                                        const std::vector<std::string>& arguments) {
    std::vector<std::string> command;
    if (IsWindowsProgram(file)) {
        command.push_back("wine");
    }
    command.push_back(file.string());
    command.insert(command.end(), arguments.begin(), arguments.end());
    return command;
}

}  // namespace plat::shell
