#include "DMPluginImpl.h"

#include "DMApp.h"
#include "Modules/DMAttributeImpl.h"
#include "Modules/DMImgDecoderImpl.h"
#include "Modules/DMLogImpl.h"
#include "Modules/DMResFolderImpl.h"
#include "Modules/Render/DMRenderImpl.h"

namespace DM {

// In this order; each default object is chosen right after the class it names.
void DMPluginImpl::Install() {
    DMApp* app = DMApp::GetObjPtr();
    app->Register(DMRegHelperT<DMLogImpl>(), true);
    app->SetDefRegObj(DMLogImpl::StaticClassName(), DMREG_Log);
    app->Register(DMRegHelperT<DMAttributeImpl>(), true);
    app->SetDefRegObj(DMAttributeImpl::StaticClassName(), DMREG_Attribute);
    app->Register(DMRegHelperT<DMImgDecoderImpl>(), true);
    app->SetDefRegObj(DMImgDecoderImpl::StaticClassName(), DMREG_ImgDecoder);
    app->Register(DMRegHelperT<DMResFolderImpl>(), true);
    app->SetDefRegObj(DMResFolderImpl::StaticClassName(), DMREG_Res);
    app->Register(DMRegHelperT<DMRenderImpl>(), true);
    app->SetDefRegObj(DMRenderImpl::StaticClassName(), DMREG_Render);
}

void DMPluginImpl::Uninstall() {}

}  // namespace DM
