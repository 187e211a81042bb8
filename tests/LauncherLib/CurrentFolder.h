// A fresh temporary folder that is the process's current folder while the object lives: the
// file download commands write into the current folder.
#pragma once

#include <filesystem>

#include "TempDir.h"

namespace vael::test {

class CurrentFolder {
public:
    CurrentFolder() : m_previous(std::filesystem::current_path()) {
        std::filesystem::current_path(m_folder.path());
    }
    ~CurrentFolder() { std::filesystem::current_path(m_previous); }
    CurrentFolder(const CurrentFolder&) = delete;
    CurrentFolder& operator=(const CurrentFolder&) = delete;

    std::filesystem::path operator/(const std::string& name) const { return m_folder / name; }

private:
    TempDir m_folder;
    std::filesystem::path m_previous;
};

}  // namespace vael::test
