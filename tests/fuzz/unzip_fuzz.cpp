// The install-archive walk: the unzip command on the bytes as an archive file, unpacking into a
// temporary folder that is emptied after each run.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>

#include "FuzzHome.h"
#include "LauncherLib/CommandParams.h"
#include "LauncherLib/UnZipCommand.h"
#include "plat/drive_map.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::filesystem::path& home = vael::fuzz::Home();
    std::filesystem::path archive = home / "archive.zip";
    std::filesystem::path out = home / "out";
    std::ofstream(archive, std::ios::binary)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    std::string params =
        LauncherLib::MapToJson({{"zipfile", plat::WindowsPathFromHost(archive)},
                                {"destdir", plat::WindowsPathFromHost(out) + "\\"}});
    LauncherLib::CUnZipCommand command("UnzipCommand-1", params);
    command.Execute(std::make_shared<LauncherLib::ResultMap>());
    std::error_code ignored;
    std::filesystem::remove_all(out, ignored);
    return 0;
}
