// Downloads one file with the big-file download command, as the launcher does:
//   vael_download_command URL FOLDER   (FOLDER a host path)
#include <curl/curl.h>

#include <cstdio>
#include <memory>

#include "LauncherLib/CommandParams.h"
#include "LauncherLib/UrlHttpGetBigFileCommand.h"
#include "plat/drive_map.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s URL FOLDER\n", argv[0]);
        return 2;
    }
    curl_global_init(CURL_GLOBAL_ALL);
    std::string params =
        LauncherLib::MapToJson({{"url", argv[1]}, {"path", plat::WindowsPathFromHost(argv[2])}});
    LauncherLib::CUrlHttpGetBigFileCommand command("httpurlgetbigfilecmd-1", params);
    auto result = std::make_shared<LauncherLib::ResultMap>();
    command.Execute(result);
    curl_global_cleanup();
    if (!command.IsSuccess()) {
        std::fprintf(stderr, "download failed: %s\n", result->Get("Error").c_str());
        return 1;
    }
    return 0;
}
