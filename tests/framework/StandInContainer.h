// A host's services as the widget tests need them: it records the clicks that reach the host,
// counts repaint requests, and keeps capture and focus by widget handle.
#pragma once

#include <utility>
#include <vector>

#include "IDMContainer.h"

namespace vael::test {

class StandInContainer : public DM::IDMContainer {
public:
    // Only the clicks: layout notices come with every layout.
    DM::DMCode OnFireEvent(DM::DMEventArgs& event) override {
        if (event.GetEventID() == DM::DMEventCmdArgs::EventID) {
            events.push_back(DM::DMStringT(event.GetEventName()) + L":" + event.m_szNameFrom);
        }
        return DM::DM_ECODE_OK;
    }
    DM::DMCode OnInvalidateRect(const DM::RECT&, DM::DUIWND) override {
        ++invalidations;
        return DM::DM_ECODE_OK;
    }
    DM::DUIWND OnSetCapture(DM::DUIWND widget) override { return std::exchange(capture, widget); }
    DM::DMCode OnReleaseCapture() override {
        capture = 0;
        return DM::DM_ECODE_OK;
    }
    DM::DUIWND OnGetCapture() override { return capture; }
    DM::DMCode OnSetFocusWnd(DM::DUIWND widget) override {
        focus = widget;
        return DM::DM_ECODE_OK;
    }
    DM::DUIWND OnGetFocusWnd() override { return focus; }
    DM::HWND OnGetHWnd() override { return host; }

    std::vector<DM::DMStringT> events;
    int invalidations = 0;
    DM::DUIWND capture = 0;
    DM::DUIWND focus = 0;
    DM::HWND host = nullptr;
};

}  // namespace vael::test
