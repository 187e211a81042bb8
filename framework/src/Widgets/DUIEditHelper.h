// The text engine's library: "riched20.dll" loaded once for every rich edit of the process,
// with its "CreateTextServices" export. Made with the built-in widgets and deleted with them.
#pragma once

#include "DMSingletonT.h"
#include "plat/module.h"
#include "plat/text_services.h"

namespace DM {

class DUIEditHelper : public DMSingletonT<DUIEditHelper> {
public:
    DUIEditHelper();
    ~DUIEditHelper();

    // Null when the library or its export is missing.
    plat::PCreateTextServices CreateTextServicesFunc() const { return m_pfnCreateTextServices; }

private:
    plat::HMODULE m_hRichEdit = nullptr;
    plat::PCreateTextServices m_pfnCreateTextServices = nullptr;
};

}  // namespace DM
