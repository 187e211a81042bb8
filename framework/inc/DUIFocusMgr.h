// The keyboard focus among the widgets of one host: the focused widget by handle, the focus
// kept while the host window itself has no keyboard focus, Tab and arrow navigation, and the
// accelerators that buttons register.
#pragma once

#include <map>
#include <vector>

#include "DMDef.h"

namespace DM {

class DUIWindow;

class IDMAccelHandler {
public:
    virtual ~IDMAccelHandler() = default;
    // True when the handler took the accelerator.
    virtual bool OnAccelPressed(DWORD accel) = 0;
};

// Why the focus moved.
constexpr int DMFOCUS_BY_TAB = 0;
constexpr int DMFOCUS_BY_CODE = 1;
constexpr int DMFOCUS_RESTORED = 2;

class DUIFocusMgr {
public:
    explicit DUIFocusMgr(DUIWindow* root) : m_pRoot(root) {}

    void SetFocusedWnd(DUIWND widget, int reason = DMFOCUS_BY_CODE);
    DUIWND GetFocusedWnd() const { return m_hFocus; }
    // The host window lost / got the platform's keyboard focus.
    void StoreFocusedView();
    void RestoreFocusedView();
    // Tab, group arrows, then accelerators; true when the key was used.
    bool OnKeyDown(UINT key, bool ctrl, bool shift, bool alt);

    void RegisterAccel(DWORD accel, IDMAccelHandler* handler);
    void UnregisterAccel(DWORD accel, IDMAccelHandler* handler);
    void UnregisterAllAccel(IDMAccelHandler* handler);

private:
    DUIWindow* Resolve(DUIWND widget) const;
    bool MoveByTab(bool backward);
    bool MoveInGroup(UINT key);

    DUIWND m_hFocus = 0;
    DUIWND m_hSaved = 0;
    int m_nReason = DMFOCUS_BY_CODE;
    DUIWindow* m_pRoot;
    std::map<DWORD, std::vector<IDMAccelHandler*>> m_accels;
};

// The next (or previous) widget that can take the focus, from `start` (none: from the
// beginning), wrapping round once when allowed.
DUIWindow* FocusSearch(DUIWindow* root, DUIWindow* start, bool backward, bool wrap);

}  // namespace DM
