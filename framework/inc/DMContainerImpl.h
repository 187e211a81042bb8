// The container services every host gives its widget tree: routing of the host's input
// messages to the widgets (capture, hover, focus), the focus manager and the running
// animations. A host derives from it and adds what needs its platform window.
#pragma once

#include <memory>
#include <vector>

#include "DUIDropTargetDispatch.h"
#include "DUIFocusMgr.h"
#include "IDMContainer.h"

namespace DM {

class DUIWindow;

class DMContainerImpl : public IDMContainer {
public:
    explicit DMContainerImpl(DUIWindow* root);

    LRESULT OnFrameEvent(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
    DUIFocusMgr* OnGetFocusMgr() override { return &m_FocusMgr; }
    DMCode OnSetFocusWnd(DUIWND widget) override;
    DUIWND OnGetFocusWnd() override;
    DUIWND OnSetCapture(DUIWND widget) override;
    DUIWND OnGetCapture() override { return m_hCapture; }
    DMCode OnReleaseCapture() override;
    bool OnRegisterDragDrop(DUIWND widget, plat::IDropTarget* target) override;
    bool OnUnRegisterDragDrop(DUIWND widget) override;
    DMCode OnFireEvent(DMEventArgs& event) override;
    DMCode OnGetDraw(IDMDraw** draw) override;
    DMCode OnGetCanvas(const RECT& rect, DWORD flags, IDMCanvas** canvas) override;
    DMCode OnReleaseCanvas(const RECT& rect, DWORD flags, IDMCanvas* canvas) override;
    HWND OnGetHWnd() override { return nullptr; }
    DMCode OnGetContainerRect(RECT& rect) override;
    bool OnIsTranslucent() override { return false; }
    DMCode OnUpdateWindow() override { return DM_ECODE_OK; }
    DMCode OnRedraw() override { return DM_ECODE_OK; }
    DMCode OnInvalidateRect(const RECT& rect, DUIWND widget) override;
    DMCode OnClientToScreen(POINT& point) override;
    DMCode OnClientToScreen(RECT& rect) override;
    bool OnIsUpdateEnabled() override { return true; }
    DMCode OnAddTimeline(IDMTimeline* timeline) override;
    DMCode OnRemoveTimeline(IDMTimeline* timeline) override;
    DMCode OnTimeline() override;
    DMCode OnGetTransId(DMStringT& id) override;

    DUIFocusMgr& GetFocusMgr() { return m_FocusMgr; }
    DUIDropTargetDispatch& GetDropTarget() { return m_DropTarget; }
    DUIWND GetHover() const { return m_hHover; }

protected:
    size_t TimelineCount() const { return m_timelines.size(); }

    DUIWindow* m_pContainerRoot;

    // 0 for none, a widget that is gone or a disabled one when `enabledOnly`.
    DUIWindow* Resolve(DUIWND handle, bool enabledOnly = false) const;

private:
    LRESULT ToWidget(DUIWindow* widget, UINT message, WPARAM wParam, LPARAM lParam);
    void RouteActivation(UINT message, WPARAM wParam);
    void BroadcastUntilHandled(DUIWindow* widget, UINT message, WPARAM wParam, LPARAM lParam,
                               bool& taken);
    void RouteSetCursor(LPARAM lParam);
    LRESULT RouteKeyDown(WPARAM wParam, LPARAM lParam);
    LRESULT RouteToFocus(UINT message, WPARAM wParam, LPARAM lParam);
    void TrackHover(WPARAM wParam, LPARAM lParam);
    void TrackHoverWithCapture(DUIWindow* capture, WPARAM wParam, LPARAM lParam);
    void TrackHoverWithoutCapture(WPARAM wParam, LPARAM lParam);
    LRESULT RouteMouse(UINT message, WPARAM wParam, LPARAM lParam);
    LPARAM ScreenToClientLParam(LPARAM lParam);
    void RouteMouseLeave();
    void SendLeave(DUIWindow* widget, bool nonClient);

    DUIWND m_hCapture = 0;
    DUIWND m_hHover = 0;
    bool m_bNcHover = false;
    DUIFocusMgr m_FocusMgr;
    DUIDropTargetDispatch m_DropTarget;
    std::vector<IDMTimeline*> m_timelines;
};

}  // namespace DM
