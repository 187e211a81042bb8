// The installed plug-ins, not owned. Nothing in the framework starts the plug-ins, so the tool
// only installs and uninstalls them.
#pragma once

#include <vector>

#include "IDMPlugin.h"

namespace DM {

class DMPluginsTool {
public:
    // Refuses a plug-in installed already; otherwise remembers and installs it.
    bool InstallPlugin(IDMPlugin* plugin);
    // Uninstalls it and forgets it.
    bool UninstallPlugin(IDMPlugin* plugin);

private:
    std::vector<IDMPlugin*> m_plugins;
};

}  // namespace DM
