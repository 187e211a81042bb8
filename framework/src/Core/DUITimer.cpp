#include "Core/DUITimer.h"

#include "DMApp.h"
#include "DUIWindow.h"
#include "plat/timer.h"

namespace DM {

plat::UINT_PTR DUITimer::FindEntry(DUIWND widget, plat::UINT_PTR id) const {
    plat::UINT_PTR found = 0;
    m_timers.ForEach([&](plat::UINT_PTR platformId, const Entry& entry) {
        if (entry.widget == widget && entry.id == id) {
            found = platformId;
        }
    });
    return found;
}

bool DUITimer::SetTimerEx(DUIWND widget, plat::UINT_PTR id, UINT elapse) {
    KillTimerEx(widget, id);
    plat::UINT_PTR platformId = plat::SetTimer(nullptr, 0, elapse, &DUITimer::OnTimer);
    if (platformId == 0) {
        return false;
    }
    m_timers.SetAt(platformId, {widget, id});
    return true;
}

DMCode DUITimer::KillTimerEx(DUIWND widget, plat::UINT_PTR id) {
    plat::UINT_PTR platformId = FindEntry(widget, id);
    if (platformId == 0) {
        return DM_ECODE_FAIL;
    }
    plat::KillTimer(nullptr, platformId);
    m_timers.RemoveKey(platformId);
    return DM_ECODE_OK;
}

// The widget is looked up at every tick: the timer of a widget that is gone is killed.
void DUITimer::OnTimer(HWND, UINT, plat::UINT_PTR platformId, DWORD) {
    DMApp* app = DMApp::GetObjPtr();
    DUITimer* table = app ? &app->GetTimerTable() : nullptr;
    const Entry* entry = table ? table->m_timers.Find(platformId) : nullptr;
    if (!entry) {
        return;
    }
    DUIWindow* widget = app->FindDUIWnd(entry->widget);
    if (!widget) {
        plat::KillTimer(nullptr, platformId);
        table->m_timers.RemoveKey(platformId);
        return;
    }
    widget->SendMessage(DUIMSG_TIMEREX, entry->id);
}

}  // namespace DM
