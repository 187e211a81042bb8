#include "LauncherLib/UrlFileName.h"

#include <regex>

namespace LauncherLib {

std::string FileNameFromUrl(const std::string& url) {
    static const std::regex separators(R"([\/]+)", std::regex::ECMAScript);
    std::string last;
    for (std::sregex_token_iterator piece(url.begin(), url.end(), separators, -1), end;
         piece != end; ++piece) {
        last = piece->str();
    }
    return last;
}

}  // namespace LauncherLib
