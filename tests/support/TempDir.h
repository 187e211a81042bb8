// A temporary folder for one test, removed with everything in it when the object goes.
#pragma once

#include <filesystem>
#include <string>

namespace vael::test {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path operator/(const std::string& name) const { return m_path / name; }

private:
    std::filesystem::path m_path;
};

std::string ReadFile(const std::filesystem::path& path);
// Creates the file's folders when they are missing.
void WriteFile(const std::filesystem::path& path, const std::string& content);

}  // namespace vael::test
