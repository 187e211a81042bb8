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

private:
    std::mutex m_lock;
    DMMapT<DUIWND, DUIWindow*> m_widgets;
    DUIWND m_nextHandle = 0;
};

}  // namespace DM
