// What a host window offers the widgets of its tree: message routing, events no subscriber
// took, repaint requests, mouse capture, focus, canvases for direct drawing and the animations
// it ticks. The services carry an "On" prefix so that they never clash with the host's own
// window operations of the same meaning.
#pragma once

#include "DMDef.h"
#include "DMEvents.h"

namespace DM {

class DUIFocusMgr;
class IDMCanvas;
class IDMDraw;
class IDMTimeline;
}  // namespace DM

namespace plat {
class IDropTarget;
}  // namespace plat

namespace DM {

// GetCanvas flags: bit 1 leaves the canvas empty and keeps it off the screen on release;
// bit 2 draws what lies beneath and above the widget.
constexpr DWORD DMCANVAS_NOCOPY = 0x02;
constexpr DWORD DMCANVAS_DRAWAROUND = 0x04;

class IDMContainer {
public:
    virtual ~IDMContainer() = default;
    // Routes a host message to the widgets; `handled` tells whether the container took it.
    virtual LRESULT OnFrameEvent(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) = 0;
    // The focus manager, which also keeps the accelerators.
    virtual DUIFocusMgr* OnGetFocusMgr() = 0;
    virtual DMCode OnSetFocusWnd(DUIWND widget) = 0;
    virtual DUIWND OnGetFocusWnd() = 0;
    // The previous capture widget; 0 with nothing changed for a missing or disabled widget.
    virtual DUIWND OnSetCapture(DUIWND widget) = 0;
    virtual DUIWND OnGetCapture() = 0;
    virtual DMCode OnReleaseCapture() = 0;
    // A widget's drop target; false when the widget has one already / has none.
    virtual bool OnRegisterDragDrop(DUIWND widget, plat::IDropTarget* target) = 0;
    virtual bool OnUnRegisterDragDrop(DUIWND widget) = 0;
    // The application's hook for events that no subscriber handled.
    virtual DMCode OnFireEvent(DMEventArgs& event) = 0;
    virtual DMCode OnGetDraw(IDMDraw** draw) = 0;
    virtual DMCode OnGetCanvas(const RECT& rect, DWORD flags, IDMCanvas** canvas) = 0;
    virtual DMCode OnReleaseCanvas(const RECT& rect, DWORD flags, IDMCanvas* canvas) = 0;
    virtual HWND OnGetHWnd() = 0;
    virtual DMCode OnGetContainerRect(RECT& rect) = 0;
    virtual bool OnIsTranslucent() = 0;
    virtual DMCode OnUpdateWindow() = 0;
    virtual DMCode OnRedraw() = 0;
    virtual DMCode OnInvalidateRect(const RECT& rect, DUIWND widget) = 0;
    virtual DMCode OnClientToScreen(POINT& point) = 0;
    virtual DMCode OnClientToScreen(RECT& rect) = 0;
    virtual bool OnIsUpdateEnabled() = 0;
    // Each animation is kept once; the container ticks them all through OnTimeline.
    virtual DMCode OnAddTimeline(IDMTimeline* timeline) = 0;
    virtual DMCode OnRemoveTimeline(IDMTimeline* timeline) = 0;
    virtual DMCode OnTimeline() = 0;
    virtual DMCode OnGetTransId(DMStringT& id) = 0;
};

}  // namespace DM
