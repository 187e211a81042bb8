#include "FuzzHome.h"

#include <stdlib.h>
#include <unistd.h>

#include <string>

namespace vael::fuzz {

const std::filesystem::path& Home() {
    static const std::filesystem::path home = [] {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "vael-fuzz-XXXXXX").string();
        std::filesystem::path made = mkdtemp(pattern.data());
        std::filesystem::create_directories(made / "runtime");
        setenv("HOME", made.c_str(), 1);
        setenv("WINEPREFIX", (made / "prefix").c_str(), 1);
        setenv("XDG_DATA_HOME", (made / ".local/share").c_str(), 1);
        setenv("XDG_CONFIG_HOME", (made / ".config").c_str(), 1);
        setenv("XDG_RUNTIME_DIR", (made / "runtime").c_str(), 1);
        setenv("DM_DRIVER", "headless", 1);
        return made;
    }();
    return home;
}

}  // namespace vael::fuzz

// fontconfig and pango keep caches for the life of the process, which LeakSanitizer would
// report at exit; leaks of the project's own code still count.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\nleak:libpango-1.0.so\nleak:libpangoft2-1.0.so\n"
           "leak:libpangocairo-1.0.so\nleak:libglib-2.0.so\nleak:libgobject-2.0.so\n";
}
