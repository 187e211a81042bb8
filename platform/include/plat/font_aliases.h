// The Windows face names that skins and text formats use, mapped to the CJK faces installed
// here: 宋体, 新宋体, SimSun and NSimSun to a Song face (AR PL UMing), 微软雅黑 and Microsoft
// YaHei to a sans face (WenQuanYi Zen Hei).
#pragma once

namespace plat {

// Adds the aliases to the process's fontconfig set-up, once, before text is laid out with them.
void InstallFontAliases();

}  // namespace plat
