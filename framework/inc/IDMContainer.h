// What a host window offers the widgets of its tree: events no subscriber took, repaint
// requests, mouse capture, focus, and canvases for direct drawing.
#pragma once

#include "DMDef.h"
#include "DMEvents.h"

namespace DM {

class IDMCanvas;

class IDMContainer {
public:
    virtual ~IDMContainer() = default;
    // The application's hook for events that no subscriber handled.
    virtual DMCode OnFireEvent(DMEventArgs& event) = 0;
    virtual DMCode OnInvalidateRect(const RECT& rect, DUIWND widget) = 0;
    virtual DUIWND OnSetCapture(DUIWND widget) = 0;
    virtual DMCode OnReleaseCapture() = 0;
    virtual DUIWND OnGetCapture() = 0;
    virtual DMCode OnSetFocusWnd(DUIWND widget) = 0;
    virtual DUIWND OnGetFocusWnd() = 0;
    virtual HWND OnGetHWnd() = 0;
};

}  // namespace DM
