// A container without a host window, for widget tests: it records the clicks that reach the
// host, counts repaint requests and otherwise keeps the container's own capture and focus.
#pragma once

#include <vector>

#include "DMContainerImpl.h"

namespace vael::test {

class StandInContainer : public DM::DMContainerImpl {
public:
    explicit StandInContainer(DM::DUIWindow* root = nullptr) : DM::DMContainerImpl(root) {}

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
    DM::HWND OnGetHWnd() override { return host; }

    std::vector<DM::DMStringT> events;
    int invalidations = 0;
    DM::HWND host = nullptr;
};

}  // namespace vael::test
