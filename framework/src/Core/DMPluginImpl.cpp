#include "DMPluginImpl.h"

#include "Common/ActiveX/DUIActiveX.h"
#include "Common/ActiveX/DUIIE.h"
#include "DMApp.h"
#include "DUIButton.h"
#include "DUIEdit.h"
#include "DUIFlowLayout.h"
#include "DUILink.h"
#include "DUIProcessCtrl.h"
#include "DUIRichEdit.h"
#include "DUIScrollBase.h"
#include "DUISplitLayout.h"
#include "DUIStatic.h"
#include "DUIWindow.h"
#include "DUIWrapLayout.h"
#include "Modules/DMAttributeImpl.h"
#include "Modules/DMDrawImpl.h"
#include "Modules/DMImg9SkinImpl.h"
#include "Modules/DMImgDecoderImpl.h"
#include "Modules/DMImgListSkinImpl.h"
#include "Modules/DMLayoutImpl.h"
#include "Modules/DMLogImpl.h"
#include "Modules/DMResFolderImpl.h"
#include "Modules/DMScrollBarSkinImpl.h"
#include "Modules/DMStyleImpl.h"
#include "Modules/DMTooltipImpl.h"
#include "Modules/DMTransImpl.h"
#include "Modules/Render/DMRenderImpl.h"
#include "Modules/TaskRunner/DMTaskRunnerImpl.h"
#include "Widgets/DUIEditHelper.h"

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
    app->Register(DMRegHelperT<DMDrawImpl>(), true);
    app->SetDefRegObj(DMDrawImpl::StaticClassName(), DMREG_Draw);
    app->Register(DMRegHelperT<DMImgListSkinImpl>(), true);
    app->SetDefRegObj(DMImgListSkinImpl::StaticClassName(), DMREG_Skin);
    app->Register(DMRegHelperT<DMImg9SkinImpl>(), true);
    app->Register(DMRegHelperT<DMScrollBarSkinImpl>(), true);
    app->Register(DMRegHelperT<DMStyleImpl>(), true);
    app->SetDefRegObj(DMStyleImpl::StaticClassName(), DMREG_Style);
    app->Register(DMRegHelperT<DMLayoutImpl>(), true);
    app->SetDefRegObj(DMLayoutImpl::StaticClassName(), DMREG_Layout);
    app->Register(DMRegHelperT<DMTooltipImpl>(), true);
    app->SetDefRegObj(DMTooltipImpl::StaticClassName(), DMREG_ToolTip);
    app->Register(DMRegHelperT<DMTransImpl>(), true);
    app->SetDefRegObj(DMTransImpl::StaticClassName(), DMREG_Trans);
    app->Register(DMRegHelperT<DMTaskRunnerImpl>(), true);
    app->SetDefRegObj(DMTaskRunnerImpl::StaticClassName(), DMREG_TaskRunner);
    app->Register(DMRegHelperT<DUIWindow>(), true);
    app->Register(DMRegHelperT<DUIButton>(), true);
    app->Register(DMRegHelperT<DUIScrollBase>(), true);
    app->Register(DMRegHelperT<DUIRichEdit>(), true);
    app->Register(DMRegHelperT<DUIEdit>(), true);
    new DUIEditHelper;
    app->Register(DMRegHelperT<DUIStatic>(), true);
    app->Register(DMRegHelperT<DUILink>(), true);
    app->Register(DMRegHelperT<DUIProcessCtrl>(), true);
    app->Register(DMRegHelperT<DUIVLayout>(), true);
    app->Register(DMRegHelperT<DUIHLayout>(), true);
    app->Register(DMRegHelperT<DUIWrapLayout>(), true);
    app->Register(DMRegHelperT<DUITabLayout>(), true);
    app->Register(DMRegHelperT<DUISplitLayout>(), true);
    app->Register(DMRegHelperT<DUIActiveX>(), true);
    app->Register(DMRegHelperT<DUIIE>(), true);
}

void DMPluginImpl::Uninstall() {
    DMApp* app = DMApp::GetObjPtr();
    app->UnRegister(DUIRichEdit::StaticClassName(), DMREG_Window);
    app->UnRegister(DUIEdit::StaticClassName(), DMREG_Window);
    delete DUIEditHelper::GetObjPtr();
}

}  // namespace DM
