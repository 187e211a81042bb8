#include "ZipEntryName.h"

#include <Poco/Zip/ZipCommon.h>

namespace LauncherLib {
namespace {

bool IsSeparator(char c) {
    return c == '/' || c == '\\';
}

bool HasParentStep(const std::string& name) {
    std::size_t start = 0;
    while (start <= name.size()) {
        std::size_t end = start;
        while (end < name.size() && !IsSeparator(name[end])) {
            ++end;
        }
        if (name.compare(start, end - start, "..") == 0 && end - start == 2) {
            return true;
        }
        start = end + 1;
    }
    return false;
}

}  // namespace

bool IsSafeEntryName(const std::string& name) {
    if (name.empty() || IsSeparator(name.front())) {
        return false;
    }
    if (name.find(':') != std::string::npos) {
        return false;
    }
    return !HasParentStep(name) && Poco::Zip::ZipCommon::isValidPath(name);
}

}  // namespace LauncherLib
