#include <dlfcn.h>
#include <link.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "drivers/gtk/gtk_web_view.h"

namespace plat::gtk {
namespace {

constexpr const char* kModuleName = "libvael-webkit-view.so";

using MakeView = WebView* (*)(GtkFixed*, WebViewClient&);

// Opens the module from the first folder of the program's library search path that has it:
// its run path names the build tree or the installed library folder. dlopen searches the run
// path of its caller only, and a sanitizer's runtime calls it on the program's behalf.
void* OpenModule() {
    void* program = dlopen(nullptr, RTLD_NOW);
    Dl_serinfo size;
    if (program && dlinfo(program, RTLD_DI_SERINFOSIZE, &size) == 0) {
        std::unique_ptr<Dl_serinfo, decltype(&std::free)> paths(
            static_cast<Dl_serinfo*>(std::malloc(size.dls_size)), &std::free);
        *paths = size;
        if (dlinfo(program, RTLD_DI_SERINFO, paths.get()) == 0) {
            for (unsigned i = 0; i < paths->dls_cnt; ++i) {
                std::string path = std::string(paths->dls_serpath[i].dls_name) + "/" + kModuleName;
                if (void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) {
                    return module;
                }
            }
        }
    }
    return dlopen(kModuleName, RTLD_NOW | RTLD_LOCAL);
}

// Loaded once and kept: WebKit cannot be unloaded from a running process.
MakeView LoadModule() {
    void* module = OpenModule();
    void* entry = module ? dlsym(module, "vael_make_webkit_view") : nullptr;
    if (!entry) {
        std::fprintf(stderr, "web pages cannot be shown: %s\n", dlerror());
    }
    return reinterpret_cast<MakeView>(entry);
}

}  // namespace

std::unique_ptr<WebView> MakeWebKitView(GtkFixed* layer, WebViewClient& client) {
    static const MakeView make = LoadModule();
    return std::unique_ptr<WebView>(make ? make(layer, client) : nullptr);
}

}  // namespace plat::gtk
