// A host window that records the clicks reaching its event handler.
#pragma once

#include <vector>

#include "DMApp.h"
#include "DMHWnd.h"
#include "LauncherSkin.h"

namespace vael::test {

class ClickRecordingHost : public DM::DMHWnd {
public:
    DM::DMCode HandleEvent(DM::DMEventArgs& event) override {
        if (event.GetEventID() == DM::DMEventCmdArgs::EventID) {
            clicks.push_back(event.m_szNameFrom);
        }
        return DM::DM_ECODE_OK;
    }
    std::vector<DM::DMStringT> clicks;
};

}  // namespace vael::test
