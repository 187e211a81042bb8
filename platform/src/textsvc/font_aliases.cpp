#include "plat/font_aliases.h"

#include <fontconfig/fontconfig.h>

#include <mutex>

namespace plat {
namespace {

constexpr const char* kAliases = R"(<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "fonts.dtd">
<fontconfig>
  <alias binding="same"><family>宋体</family><prefer><family>AR PL UMing CN</family></prefer></alias>
  <alias binding="same"><family>新宋体</family><prefer><family>AR PL UMing CN</family></prefer></alias>
  <alias binding="same"><family>SimSun</family><prefer><family>AR PL UMing CN</family></prefer></alias>
  <alias binding="same"><family>NSimSun</family><prefer><family>AR PL UMing CN</family></prefer></alias>
  <alias binding="same"><family>微软雅黑</family><prefer><family>WenQuanYi Zen Hei</family></prefer></alias>
  <alias binding="same"><family>Microsoft YaHei</family><prefer><family>WenQuanYi Zen Hei</family></prefer></alias>
</fontconfig>
)";

}  // namespace

void InstallFontAliases() {
    static std::once_flag once;
    std::call_once(once, [] {
        FcConfig* config = FcConfigGetCurrent();
        FcConfigParseAndLoadFromMemory(config, reinterpret_cast<const FcChar8*>(kAliases), FcTrue);
        FcConfigBuildFonts(config);
    });
}

}  // namespace plat
