// A message map: answers whether it handled a window message, and its result.
#pragma once

#include "DMDef.h"

namespace DM {

class IDMMsgMap {
public:
    virtual ~IDMMsgMap() = default;
    virtual bool ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                      LRESULT& result, DWORD mapId = 0) = 0;
};

}  // namespace DM

// A class's map handles its messages and passes the others to its base's map; the handled
// flag is kept around nested dispatch.
#define DM_BEGIN_MSG_MAP(Class)                                                                    \
public:                                                                                            \
    bool ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam,                  \
                              LRESULT& lResult, DWORD dwMsgMapID = 0) override {                   \
        bool savedHandled = m_bMsgHandled;                                                         \
        bool handled = ProcessClassMessage(hWnd, uMsg, wParam, lParam, lResult, dwMsgMapID);       \
        m_bMsgHandled = savedHandled;                                                              \
        return handled;                                                                            \
    }                                                                                              \
    bool ProcessClassMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult, \
                             DWORD dwMsgMapID) {                                                   \
        (void)hWnd;                                                                                \
        (void)dwMsgMapID;

// The handler: LRESULT Handler(UINT message, WPARAM wParam, LPARAM lParam); it may clear the
// handled flag with SetMsgHandled(false) to pass the message on.
#define DM_MESSAGE_HANDLER(msg, handler)         \
    if (uMsg == (msg)) {                         \
        SetMsgHandled(true);                     \
        lResult = handler(uMsg, wParam, lParam); \
        if (IsMsgHandled()) {                    \
            return true;                         \
        }                                        \
    }

#define DM_CHAIN_MSG_MAP(Base)                                                         \
    if (Base::ProcessWindowMessage(hWnd, uMsg, wParam, lParam, lResult, dwMsgMapID)) { \
        return true;                                                                   \
    }

#define DM_REFLECT_NOTIFICATIONS()                                       \
    {                                                                    \
        bool reflected = false;                                          \
        lResult = ReflectNotifications(uMsg, wParam, lParam, reflected); \
        if (reflected) {                                                 \
            return true;                                                 \
        }                                                                \
    }

#define DM_END_MSG_MAP() \
    return false;        \
    }
