// The skin archive reader, with and without a password (the first byte chooses), reading the
// entries the launcher's index names and the first entry the directory lists.
#include <cstddef>
#include <cstdint>
#include <string>

#include "DMZipArchive.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    DM::DMZipArchive archive;
    if (data[0] & 1) {
        archive.SetPassword("s3cret");
    }
    if (!archive.OpenMemory(data + 1, size - 1)) {
        return 0;
    }
    for (const wchar_t* name : {L"layout\\dmindex.xml", L"themes\\dmindex.xml", L"a.txt",
                                L"layout\\main.xml", L"b.png"}) {
        archive.EntrySize(name);
        archive.ReadEntry(name);
    }
    return 0;
}
