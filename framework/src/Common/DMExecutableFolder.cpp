#include "Common/DMExecutableFolder.h"

#include "plat/module.h"

namespace DM {

DMStringT PathFromExecutableFolder(const wchar_t* path) {
    DMStringT text = path;
    bool absolute = (text.size() >= 2 && text[1] == L':') || (!text.empty() && text[0] == L'\\');
    if (absolute) {
        return text;
    }
    wchar_t executable[1024];
    plat::DWORD length = plat::GetModuleFileNameW(nullptr, executable, 1024);
    DMStringT folder(executable, length);
    return folder.substr(0, folder.rfind(L'\\') + 1) + text;
}

}  // namespace DM
