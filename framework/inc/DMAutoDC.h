// A window's drawing context for the length of a scope, falling back to the shared screen
// context when the window has none.
#pragma once

#include "DMDef.h"
#include "plat/paint.h"

namespace DM {

class DMAutoDC {
public:
    explicit DMAutoDC(HWND window = nullptr);
    ~DMAutoDC();
    DMAutoDC(const DMAutoDC&) = delete;
    DMAutoDC& operator=(const DMAutoDC&) = delete;

    plat::HDC GetDC() const { return m_hDC; }

private:
    HWND m_hWnd;
    plat::HDC m_hDC;
    bool m_bShared;
};

}  // namespace DM
