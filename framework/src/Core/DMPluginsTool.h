// The installed plug-ins, not owned, and whether they are started: the first host window
// starts them; a plug-in installed later starts at once, one uninstalled is stopped first.
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
    // Start or stop every installed plug-in, once.
    void Start();
    void Stop();
    bool IsStarted() const { return m_bStarted; }

private:
    std::vector<IDMPlugin*> m_plugins;
    bool m_bStarted = false;
};

}  // namespace DM
