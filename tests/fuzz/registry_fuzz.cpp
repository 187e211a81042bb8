// The registry store's file reader: the bytes as the store file in the temporary prefix.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>

#include "FuzzHome.h"
#include "registry/registry_store.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    vael::fuzz::Home();
    std::filesystem::path file = plat::registry::StoreFile();
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (auto store = plat::registry::Load()) {
        plat::registry::Save(*store);
    }
    return 0;
}
