// The launcher's skin: the ZIP archive linked into the program as resource 106.
#pragma once

#include "DMApp.h"

// Makes the archive the current resource pack. False when it cannot be read.
bool LoadLauncherSkinPack(DM::DMApp& app);

// The pack, then its "global" skins, styles and fonts. False when either fails.
bool LoadLauncherSkin(DM::DMApp& app);
