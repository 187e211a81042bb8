// The main of every test program: before any test runs, the user's folders and the temporary
// folder point into a fresh temporary folder, so no test can touch the real home folder, the
// Wine prefix or another test's temporary files.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>

#include "TempDir.h"

namespace {

class IsolatedHome : public ::testing::Environment {
public:
    void SetUp() override {
        m_home = std::make_unique<vael::test::TempDir>();
        const auto& home = m_home->path();
        std::filesystem::create_directories(home / "runtime");
        std::filesystem::create_directories(home / "tmp");
        setenv("HOME", home.c_str(), 1);
        setenv("WINEPREFIX", (home / "prefix").c_str(), 1);
        setenv("XDG_DATA_HOME", (home / ".local/share").c_str(), 1);
        setenv("XDG_CONFIG_HOME", (home / ".config").c_str(), 1);
        setenv("XDG_RUNTIME_DIR", (home / "runtime").c_str(), 1);
        setenv("TMPDIR", (home / "tmp").c_str(), 1);
    }
    void TearDown() override { m_home.reset(); }

private:
    std::unique_ptr<vael::test::TempDir> m_home;
};

}  // namespace

// fontconfig, pango and WebKit's JavaScript engine keep caches for the life of the process, which
// LeakSanitizer would report at exit; leaks of the project's own code still count.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\nleak:libpango-1.0.so\nleak:libpangoft2-1.0.so\n"
           "leak:libpangocairo-1.0.so\nleak:libglib-2.0.so\nleak:libgobject-2.0.so\n"
           "leak:libjavascriptcoregtk-4.1.so\nleak:libwebkit2gtk-4.1.so\n";
}

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new IsolatedHome);
    return RUN_ALL_TESTS();
}
