// The launcher's skin from the executable's ZIP resource as the current pack, and a host window
// that records the clicks reaching its event handler.
#pragma once

#include <vector>

#include "DMApp.h"
#include "DMHWnd.h"
#include "DMResZipImpl.h"
#include "plat/resources.h"

namespace vael::test {

inline bool LoadLauncherSkin(DM::DMApp& app) {
    app.Register(DM::DMRegHelperT<DM::DMResZipImpl>(), true);
    app.SetDefRegObj(L"DMResZipImpl", DM::DMREG_Res);
    DM::DMResZipParam param{1, nullptr, nullptr, plat::MAKEINTRESOURCEW(106), L"ZIP"};
    return app.LoadResPack(reinterpret_cast<DM::WPARAM>(&param), 0, nullptr) == DM::DM_ECODE_OK &&
           app.InitGlobal(L"global") == DM::DM_ECODE_OK;
}

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
