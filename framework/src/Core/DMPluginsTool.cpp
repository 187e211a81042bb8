#include "DMPluginsTool.h"

#include <algorithm>

namespace DM {

bool DMPluginsTool::InstallPlugin(IDMPlugin* plugin) {
    if (!plugin || std::find(m_plugins.begin(), m_plugins.end(), plugin) != m_plugins.end()) {
        return false;
    }
    m_plugins.push_back(plugin);
    plugin->Install();
    return true;
}

bool DMPluginsTool::UninstallPlugin(IDMPlugin* plugin) {
    auto found = std::find(m_plugins.begin(), m_plugins.end(), plugin);
    if (found == m_plugins.end()) {
        return false;
    }
    plugin->Uninstall();
    m_plugins.erase(found);
    return true;
}

}  // namespace DM
