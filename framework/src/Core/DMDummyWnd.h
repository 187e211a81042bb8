// The invisible companion of a translucent host. A window showing a per-pixel layered picture
// never becomes invalid, so the host's repaint requests go to this window instead, and its
// WM_PAINT has the host render and present its picture.
#pragma once

#include "DMCWnd.h"

namespace DM {

class DMHWnd;

class DMDummyWnd : public DMCWnd {
public:
    explicit DMDummyWnd(DMHWnd* host) : m_pHost(host) {}

    // A 10 × 10 layered popup owned by the host, fully transparent, shown without activation.
    bool Create(HWND owner);

    bool ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                              LRESULT& result, DWORD mapId = 0) override;

private:
    DMHWnd* m_pHost;
};

}  // namespace DM
