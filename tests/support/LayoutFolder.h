// A resource folder as the framework's folder pack reads it, written for a test: its layouts
// (name and XML each) listed in layout/dmindex.xml, and an empty theme list.
#pragma once

#include <filesystem>
#include <string>

#include "TempDir.h"
#include "plat/drive_map.h"

namespace vael::test {

// Answers the folder as the Windows path LoadResPack takes.
template <class Layouts>
std::wstring WriteLayoutFolder(const std::filesystem::path& folder, const Layouts& layouts) {
    std::string index = "<resource><layout>";
    for (const auto& [name, xml] : layouts) {
        WriteFile(folder / "layout" / (std::string(name) + ".xml"), xml);
        index += std::string("<file name=\"") + name + "\" path=\"layout\\" + name + ".xml\"/>";
    }
    WriteFile(folder / "layout/dmindex.xml", index + "</layout></resource>");
    WriteFile(folder / "themes/dmindex.xml", "<resource/>");
    return plat::WindowsPathFromHostW(folder);
}

}  // namespace vael::test
