// The Windows face names the skins use, mapped to the CJK faces installed here: 宋体, 新宋体,
// SimSun and NSimSun to a Song face (AR PL UMing), 微软雅黑 and Microsoft YaHei to a sans face
// (WenQuanYi Zen Hei). The aliases come from the framework's own configuration, added once to
// the process's fontconfig set-up before the first text is laid out.
#pragma once

namespace DM {

void InstallFontAliases();

}  // namespace DM
