// The widget "ierealwnd" of the main window: it opens the news page's popup (CIEWnd) when it is
// created and keeps it exactly over its own rectangle, in screen coordinates, as the main window
// moves. The popup is owned by the main window, so it hides and goes with it.
#pragma once

#include "CIEWnd.h"
#include "Common/ActiveX/IDUIRealWnd.h"
#include "DMSmartPtrT.h"

class IERealWnd : public DM::IDUIRealWnd {
    DMDECLARE_CLASS_NAME(IERealWnd, DM::IDUIRealWnd, L"ierealwnd", L"window", DM::DMREG_Window)
public:
    DM::HWND OnCreateRealWnd(const wchar_t* hostClassName, DM::HWND host) override;
    // Destroys the popup itself: 0.
    int OnDestroyRealWnd() override;
    // The popup follows the widget's visibility.
    int OnShowRealWnd(bool show, DM::LPARAM status) override;
    // The popup follows moves of the host.
    int OnHostMove() override { return 0; }
    // Places the popup over `rect` (host client coordinates) without activating it: 0; 1 for an
    // empty rectangle or a popup that is not shown.
    int OnMoveRealWnd(const DM::RECT& rect) override;

    CIEWnd* GetIEWnd() const { return m_pIEWnd.get(); }

    DM::DMSmartPtrT<CIEWnd> m_pIEWnd;
    DM::HWND m_hParent = nullptr;
};
