// Every widget by its handle: 1, 2, 3, … never reused, so a handle kept by focus, capture,
// hover or a timer resolves to none once its widget is gone.
#pragma once

#include <mutex>
#include <vector>

#include "DMDef.h"
#include "DMMapT.h"

namespace DM {

class DUIWindow;

class DUIWndPool {
public:
    DUIWND NewHandle(DUIWindow* widget);
    void RemoveHandle(DUIWND handle);
    // None for handle 0 or a widget that is gone.
    DUIWindow* FindDUIWnd(DUIWND handle);
    // Every widget alive now, by handle.
    std::vector<DUIWND> Handles();

    // The root widgets of the host windows, one per host.
    void AddHostRoot(DUIWND root);
    void RemoveHostRoot(DUIWND root);
    std::vector<DUIWND> HostRoots();
    // The widgets that keep a native window of their own, which follow moves of their host.
    void AddRealWnd(DUIWND widget);
    void RemoveRealWnd(DUIWND widget);
    std::vector<DUIWND> RealWnds();

private:
    std::mutex m_lock;
    DMMapT<DUIWND, DUIWindow*> m_widgets;
    DUIWND m_nextHandle = 0;
    std::vector<DUIWND> m_hostRoots;
    std::vector<DUIWND> m_realWnds;
};

}  // namespace DM
