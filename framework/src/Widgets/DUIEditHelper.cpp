#include "DUIEditHelper.h"

namespace DM {

DUIEditHelper::DUIEditHelper() : m_hRichEdit(plat::LoadLibraryW(L"riched20.dll")) {
    if (m_hRichEdit) {
        // An export comes untyped; this one has the documented signature.
        auto untyped =
            reinterpret_cast<void (*)()>(plat::GetProcAddress(m_hRichEdit, "CreateTextServices"));
        m_pfnCreateTextServices = reinterpret_cast<plat::PCreateTextServices>(untyped);
    }
}

DUIEditHelper::~DUIEditHelper() {
    if (m_hRichEdit) {
        plat::FreeLibrary(m_hRichEdit);
    }
}

}  // namespace DM
