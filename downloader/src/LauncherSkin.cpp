#include "LauncherSkin.h"

#include "DMResZipImpl.h"
#include "plat/resources.h"

namespace {

constexpr unsigned kSkinResource = 106;

}  // namespace

bool LoadLauncherSkinPack(DM::DMApp& app) {
    app.Register(DM::DMRegHelperT<DM::DMResZipImpl>(), true);
    app.SetDefRegObj(L"DMResZipImpl", DM::DMREG_Res);
    DM::DMResZipParam param{1, nullptr, nullptr, plat::MAKEINTRESOURCEW(kSkinResource), L"ZIP"};
    return app.LoadResPack(reinterpret_cast<DM::WPARAM>(&param), 0, nullptr) == DM::DM_ECODE_OK;
}

bool LoadLauncherSkin(DM::DMApp& app) {
    return LoadLauncherSkinPack(app) && app.InitGlobal(L"global") == DM::DM_ECODE_OK;
}
