// The render object: makes canvases, bitmaps, pens, brushes, fonts and regions.
#pragma once

#include "DMRegType.h"
#include "IDMRender.h"

namespace DM {

class DMRenderImpl : public IDMRender {
    DMDECLARE_CLASS_NAME(DMRenderImpl, IDMRender, L"DMRenderImpl", L"IDMRender", DMREG_Render)
public:
    DMCode CreateBitmap(IDMBitmap** bitmap) override;
    DMCode CreateFont(const plat::LOGFONTW* font, IDMFont** out) override;
    DMCode CreateRegion(IDMRegion** region) override;
    DMCode CreatePen(DMColor color, int style, int width, IDMPen** pen) override;
    DMCode CreateSolidBrush(DMColor color, IDMBrush** brush) override;
    DMCode CreateBitmapBrush(IDMBitmap* bitmap, IDMBrush** brush) override;
    DMCode CreateCanvas(int width, int height, IDMCanvas** canvas) override;
};

}  // namespace DM
