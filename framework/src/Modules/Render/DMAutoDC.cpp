#include "DMAutoDC.h"

#include "IDMLog.h"

namespace DM {
namespace {

plat::HDC SharedScreenContext() {
    static plat::HDC screen = plat::GetDC(nullptr);
    return screen;
}

}  // namespace

DMAutoDC::DMAutoDC(HWND window) : m_hWnd(window), m_hDC(plat::GetDC(window)), m_bShared(false) {
    if (!m_hDC) {
        DMLog(DMLOG_INFO, L"DM::DMAutoDC::GetDC", L"" __FILE__, __LINE__, L"获取DC失败\n");
        m_hDC = SharedScreenContext();
        m_bShared = true;
    }
}

DMAutoDC::~DMAutoDC() {
    if (m_hDC && !m_bShared) {
        plat::ReleaseDC(m_hWnd, m_hDC);
    }
}

}  // namespace DM
