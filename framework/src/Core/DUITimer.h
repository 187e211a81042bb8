// Widget timers without a window: thread timers of the platform, each standing for one
// (widget handle, widget timer id). A due timer sends message 2338 with the widget's id.
#pragma once

#include "DMDef.h"
#include "DMMapT.h"
#include "plat/types.h"

namespace DM {

constexpr UINT DUIMSG_TIMEREX = 2338;

class DUITimer {
public:
    // An existing timer of the same widget and id is replaced.
    bool SetTimerEx(DUIWND widget, plat::UINT_PTR id, UINT elapse);
    // 1 when there is no such timer.
    DMCode KillTimerEx(DUIWND widget, plat::UINT_PTR id);

    struct Entry {
        DUIWND widget;
        plat::UINT_PTR id;
    };
    // By the platform's timer id.
    DMMapT<plat::UINT_PTR, Entry> m_timers;

private:
    static void OnTimer(HWND, UINT, plat::UINT_PTR platformId, DWORD);
    plat::UINT_PTR FindEntry(DUIWND widget, plat::UINT_PTR id) const;
};

}  // namespace DM
