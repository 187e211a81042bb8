#include "DMPluginImpl.h"

#include "DMApp.h"
#include "Modules/DMAttributeImpl.h"
#include "Modules/DMImgDecoderImpl.h"
#include "Modules/DMLogImpl.h"

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
}

void DMPluginImpl::Uninstall() {}

}  // namespace DM
