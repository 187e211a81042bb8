#include "DMPluginsTool.h"

#include <algorithm>

namespace DM {

bool DMPluginsTool::InstallPlugin(IDMPlugin* plugin) {
    if (!plugin || std::find(m_plugins.begin(), m_plugins.end(), plugin) != m_plugins.end()) {
        return false;
    }
    m_plugins.push_back(plugin);
    plugin->Install();
    if (m_bStarted) {
        plugin->Start();
    }
    return true;
}

bool DMPluginsTool::UninstallPlugin(IDMPlugin* plugin) {
    auto found = std::find(m_plugins.begin(), m_plugins.end(), plugin);
    if (found == m_plugins.end()) {
        return false;
    }
    if (m_bStarted) {
        plugin->Stop();
    }
    plugin->Uninstall();
    m_plugins.erase(found);
    return true;
}

void DMPluginsTool::Start() {
    if (m_bStarted) {
        return;
    }
    m_bStarted = true;
    for (IDMPlugin* plugin : m_plugins) {
        plugin->Start();
    }
}

void DMPluginsTool::Stop() {
    if (!m_bStarted) {
        return;
    }
    m_bStarted = false;
    for (IDMPlugin* plugin : m_plugins) {
        plugin->Stop();
    }
}

}  // namespace DM
