#include "DMRenderImpl.h"

#include "DMApp.h"

#include "DMBitmapImpl.h"
#include "DMBrushImpl.h"
#include "DMCanvasImpl.h"
#include "DMFontImpl.h"
#include "DMPenImpl.h"
#include "DMRegionImpl.h"

namespace DM {

DMCode DMRenderImpl::CreateBitmap(IDMBitmap** bitmap) {
    if (!bitmap) {
        return DM_ECODE_FAIL;
    }
    *bitmap = new DMBitmapImpl;
    return DM_ECODE_OK;
}

DMCode DMRenderImpl::CreateFont(const plat::LOGFONTW* font, IDMFont** out) {
    if (!font || !out) {
        return DM_ECODE_FAIL;
    }
    *out = new DMFontImpl(*font);
    return DM_ECODE_OK;
}

DMCode DMRenderImpl::CreateRegion(IDMRegion** region) {
    if (!region) {
        return DM_ECODE_FAIL;
    }
    *region = new DMRegionImpl;
    return DM_ECODE_OK;
}

DMCode DMRenderImpl::CreatePen(DMColor color, int style, int width, IDMPen** pen) {
    if (!pen) {
        return DM_ECODE_FAIL;
    }
    *pen = new DMPenImpl(color, style, width);
    return DM_ECODE_OK;
}

DMCode DMRenderImpl::CreateSolidBrush(DMColor color, IDMBrush** brush) {
    if (!brush) {
        return DM_ECODE_FAIL;
    }
    *brush = new DMBrushImpl(color);
    return DM_ECODE_OK;
}

DMCode DMRenderImpl::CreateBitmapBrush(IDMBitmap* bitmap, IDMBrush** brush) {
    if (!brush || !bitmap) {
        return DM_ECODE_FAIL;
    }
    *brush = new DMBrushImpl(bitmap);
    return DM_ECODE_OK;
}

DMCode DMRenderImpl::CreateCanvas(int width, int height, IDMCanvas** canvas) {
    if (!canvas) {
        return DM_ECODE_FAIL;
    }
    auto* created = new DMCanvasImpl;
    if (created->Resize(width, height) != DM_ECODE_OK) {
        created->Release();
        *canvas = nullptr;
        return DM_ECODE_FAIL;
    }
    *canvas = created;
    return DM_ECODE_OK;
}

DMSmartPtrT<IDMCanvas> NewCanvas(int width, int height) {
    IDMRender* render = nullptr;
    IDMCanvas* canvas = nullptr;
    if (DMApp::GetObjPtr()->GetDefRegObj(&render, DMREG_Render) == DM_ECODE_OK) {
        render->CreateCanvas(width, height, &canvas);
        render->Release();
    }
    return DMSmartPtrT<IDMCanvas>::Adopt(canvas);
}

}  // namespace DM
