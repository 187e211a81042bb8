#include "com/class_table.h"

#include <algorithm>
#include <cwctype>
#include <string_view>

#include "plat/web_browser.h"
#include "web/web_browser.h"

namespace plat::com {
namespace {

constexpr const wchar_t* kWebBrowserProgIds[] = {L"Shell.Explorer.2", L"Shell.Explorer.1",
                                                 L"Shell.Explorer", nullptr};

// The browser runs inside the process.
const ClassEntry kClasses[] = {
    {CLSID_WebBrowser, kWebBrowserProgIds, CLSCTX_INPROC_SERVER, &web::CreateWebBrowser},
};

bool EqualNoCase(std::wstring_view a, std::wstring_view b) {
    return std::ranges::equal(
        a, b, [](wchar_t x, wchar_t y) { return std::towlower(x) == std::towlower(y); });
}

}  // namespace

const ClassEntry* FindClass(const CLSID& clsid) {
    for (const ClassEntry& entry : kClasses) {
        if (entry.clsid == clsid) {
            return &entry;
        }
    }
    return nullptr;
}

const ClassEntry* FindClassByProgId(const wchar_t* progId) {
    for (const ClassEntry& entry : kClasses) {
        for (const wchar_t* const* name = entry.progIds; *name; ++name) {
            if (EqualNoCase(*name, progId)) {
                return &entry;
            }
        }
    }
    return nullptr;
}

}  // namespace plat::com
