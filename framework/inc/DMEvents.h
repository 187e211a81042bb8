// Events: what a widget reports (a click, a changed check box, a finished child layout). Each
// class answers its constant id and name; the widgets that fire them add their own fields.
#pragma once

#include "DMDef.h"

namespace DM {

class DUIWindow;

class DMEventArgs {
public:
    explicit DMEventArgs(DUIWindow* sender);
    virtual ~DMEventArgs() = default;

    virtual bool IsValid() const { return m_pSender != nullptr; }
    virtual int GetEventID() const = 0;
    virtual const wchar_t* GetEventName() const = 0;

    int m_iHandleCount = 0;             // how many slots reported the event handled
    int m_IdFrom = 0;                   // the sender's "id"
    const wchar_t* m_szNameFrom = L"";  // the sender's "name", borrowed from it
    DUIWindow* m_pSender;
};

}  // namespace DM

#define DMDECLARE_EVENT(Class, Id, Name)                              \
    namespace DM {                                                    \
    class Class : public DMEventArgs {                                \
    public:                                                           \
        enum { EventID = Id };                                        \
        explicit Class(DUIWindow* sender) : DMEventArgs(sender) {}    \
        int GetEventID() const override { return EventID; }           \
        const wchar_t* GetEventName() const override { return Name; } \
    };                                                                \
    }

DMDECLARE_EVENT(DMEventCmdArgs, 10000, L"DMEVT_CMD")
namespace DM {
// A subscriber sets the cancel flag to keep the old check state.
class DMEventCheckChangingCmdArgs : public DMEventArgs {
public:
    enum { EventID = 10004 };
    explicit DMEventCheckChangingCmdArgs(DUIWindow* sender) : DMEventArgs(sender) {}
    int GetEventID() const override { return EventID; }
    const wchar_t* GetEventName() const override { return L"DMEVT_CHECKCHANGING"; }

    bool m_bCancel = false;
};
}  // namespace DM
DMDECLARE_EVENT(DMEventCheckChangedCmdArgs, 10005, L"DMEVT_CHECKCHANGED")
namespace DM {
// Where the right button was pressed.
class DMEventRButtonMenuCmdArgs : public DMEventArgs {
public:
    enum { EventID = 10006 };
    explicit DMEventRButtonMenuCmdArgs(DUIWindow* sender) : DMEventArgs(sender) {}
    int GetEventID() const override { return EventID; }
    const wchar_t* GetEventName() const override { return L"DMEVT_RBUTTONMENU"; }

    POINT m_pt{0, 0};
};
}  // namespace DM
DMDECLARE_EVENT(DMEventTabSelChangingArgs, 11000, L"DMEVT_TAB_SELCHANGING")
DMDECLARE_EVENT(DMEventTabSelChangedArgs, 11001, L"DMEVT_TAB_SELCHANGED")
namespace DM {
// A notification of a rich edit's text engine; the result goes back to the engine.
class DMEventRENotifyArgs : public DMEventArgs {
public:
    enum { EventID = 14000 };
    explicit DMEventRENotifyArgs(DUIWindow* sender) : DMEventArgs(sender) {}
    int GetEventID() const override { return EventID; }
    const wchar_t* GetEventName() const override { return L"DMEVT_RENOTIFY"; }

    DWORD m_iNotify = 0;
    void* m_pv = nullptr;
    LRESULT m_hr = 0;
};
}  // namespace DM
DMDECLARE_EVENT(DMEventREWantReturnArgs, 14001, L"DMEVT_REWANTRETURN")
DMDECLARE_EVENT(DMEventSetFocusArgs, 15000, L"DMEVT_SETFOCUS")
DMDECLARE_EVENT(DMEventKillFocusArgs, 15001, L"DMEVT_KILLFOCUS")
DMDECLARE_EVENT(DMEventLBSelChangingArgs, 16000, L"DMEVT_LB_SELCHANGING")
DMDECLARE_EVENT(DMEventLBSelChangedArgs, 16001, L"DMEVT_LB_SELCHANGED")
DMDECLARE_EVENT(DMEventOfPanelArgs, 17000, L"DMEVT_OFPANEL")
DMDECLARE_EVENT(DMEventOfPanelClickArgs, 17001, L"DMEVT_OFPANELCLICK")
DMDECLARE_EVENT(DMEventOfPanelRClickArgs, 17002, L"DMEVT_OFPANELRCLICK")
DMDECLARE_EVENT(DMEventCBSelChangeArgs, 18000, L"DMEVT_CB_SELCHANGE")
DMDECLARE_EVENT(DMEventTCSelChangingArgs, 19000, L"DMEVT_TC_SELCHANGING")
DMDECLARE_EVENT(DMEventTCSelChangedArgs, 19001, L"DMEVT_TC_SELCHANGED")
DMDECLARE_EVENT(DMEventTCCheckStateArgs, 19002, L"DMEVT_TC_CHECKSTATE")
DMDECLARE_EVENT(DMEventTCExpandArgs, 19003, L"DMEVT_TC_EXPAND")
DMDECLARE_EVENT(DMEventTCDbClickArgs, 19004, L"DMEVT_TC_DBCLICK")
DMDECLARE_EVENT(DMEventHeaderClickArgs, 20000, L"DMEVT_HEADER_CLICK")
DMDECLARE_EVENT(DMEventHeaderItemChangingArgs, 20001, L"DMEVT_HEADER_ITEMCHANGING")
DMDECLARE_EVENT(DMEventHeaderItemChangedArgs, 20002, L"DMEVT_HEADER_ITEMCHANGED")
DMDECLARE_EVENT(DMEventHeaderItemSwapArgs, 20003, L"DMEVT_HEADER_ITEMSWAP")
DMDECLARE_EVENT(DMEventLCSelChangingArgs, 21001, L"DMEVT_LC_SELCHANGING")
DMDECLARE_EVENT(DMEventLCSelChangedArgs, 21002, L"DMEVT_LC_SELCHANGED")
DMDECLARE_EVENT(DMEventSDChangingArgs, 22000, L"DMEVT_SD_POSCHANG")
DMDECLARE_EVENT(DMEventSDChangedArgs, 22001, L"DMEVT_SD_POSCHANGED")
namespace DM {
// A scroll of a scroll bar: the scroll code, the position asked for and which bar.
class DMEventOnScrollArgs : public DMEventArgs {
public:
    enum { EventID = 22100 };
    explicit DMEventOnScrollArgs(DUIWindow* sender) : DMEventArgs(sender) {}
    int GetEventID() const override { return EventID; }
    const wchar_t* GetEventName() const override { return L"DMEVT_SC_ONSCROLL"; }

    int m_iSbCode = 0;
    int m_nPos = 0;
    bool m_bVert = false;
};
}  // namespace DM
DMDECLARE_EVENT(DMEventCalenderSetDateArgs, 22150, L"DMEVT_CL_SETDATE")
DMDECLARE_EVENT(DMEventCalenderClickDateChangedArgs, 22151, L"DMEVT_CL_CLICKDATECHANGED")
DMDECLARE_EVENT(DMEventRTBOXChangingArgs, 22200, L"DMEVT_RT_BOXCHANG")
DMDECLARE_EVENT(DMEventRTBOXChangedArgs, 22201, L"DMEVT_RT_BOXCHANGED")
DMDECLARE_EVENT(DMEventChildLayoutFinishedArgs, 22250, L"DMEVT_CHILDLAYOUT_FINISHED")
