// Unpacks one archive with the unzip command, both passes, as the launcher does:
//   vael_unpack_command ARCHIVE DESTINATION   (host paths)
#include <cstdio>
#include <memory>

#include "LauncherLib/CommandParams.h"
#include "LauncherLib/UnZipCommand.h"
#include "plat/drive_map.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s ARCHIVE DESTINATION\n", argv[0]);
        return 2;
    }
    std::string params =
        LauncherLib::MapToJson({{"zipfile", plat::WindowsPathFromHost(argv[1])},
                                {"destdir", plat::WindowsPathFromHost(argv[2]) + "\\"}});
    LauncherLib::CUnZipCommand command("UnzipCommand-1", params);
    auto result = std::make_shared<LauncherLib::ResultMap>();
    command.Execute(result);
    if (!command.IsSuccess()) {
        std::fprintf(stderr, "unpacking failed: %s\n", result->Get("Error").c_str());
        return 1;
    }
    return 0;
}
