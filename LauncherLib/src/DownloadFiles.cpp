#include "DownloadFiles.h"

#include <cstring>

#include "plat/files.h"
#include "plat/text.h"

namespace LauncherLib {

FileHandle OpenTemporaryFile(const std::string& path, const char* mode) {
    FileHandle file(plat::OpenFile(path.c_str(), mode));
    if (file) {
        std::setvbuf(file.get(), nullptr, _IONBF, 0);
    }
    return file;
}

bool MoveToTarget(const std::string& temporary, const std::string& target) {
    return plat::MoveFileExA(temporary.c_str(), target.c_str(), plat::MOVEFILE_REPLACE_EXISTING);
}

std::string MoveFailedText() {
    return plat::Utf8ToAnsi("移动文件失败,目标文件被占用!");
}

std::string WriteErrorText(int error) {
    return plat::Utf8ToAnsi("写入临时文件失败: ") + std::strerror(error);
}

std::string IncompleteText() {
    return plat::Utf8ToAnsi("文件下载不完整,请重试!");
}

}  // namespace LauncherLib
