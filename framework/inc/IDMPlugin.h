// A plug-in: a named bundle of registrations that the plug-in tool installs and starts.
#pragma once

namespace DM {

class IDMPlugin {
public:
    virtual ~IDMPlugin() = default;
    virtual const wchar_t* GetName() const = 0;
    virtual void Install() = 0;
    virtual void Uninstall() = 0;
    virtual void Start() = 0;
    virtual void Stop() = 0;
};

}  // namespace DM
