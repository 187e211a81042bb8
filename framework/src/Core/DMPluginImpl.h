// The built-in plug-in: registers the framework's own services and widgets.
#pragma once

#include "IDMPlugin.h"

namespace DM {

class DMPluginImpl : public IDMPlugin {
public:
    const wchar_t* GetName() const override { return L"{6C27EB26-12F8-4807-95E9-578C781CD61E}"; }
    void Install() override;
    void Uninstall() override;
    void Start() override {}
    void Stop() override {}
};

}  // namespace DM
