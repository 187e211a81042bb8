// The draw object: repaints the invalid area of the host's canvas by walking the widget tree
// in z-order, each widget's background, text, children and then its non-client band.
#pragma once

#include "DMRegType.h"
#include "DMSmartPtrT.h"
#include "IDMDraw.h"

namespace DM {

class DMDrawImpl : public IDMDraw {
    DMDECLARE_CLASS_NAME(DMDrawImpl, IDMDraw, L"DMDrawImpl", L"IDMDraw", DMREG_Draw)
public:
    DMDrawImpl();

    DMCode DrawBackground(IDMCanvas* canvas, IDMRegion* region, DUIWindow* widget) override;
    DMCode DrawForeground(IDMCanvas* canvas, IDMRegion* region, DUIWindow* widget) override;
    DMCode Draw(IDMCanvas* canvas, IDMRegion* region, DUIWindow* widget) override;
    DMCode InvalidateRect(const RECT* rect, int mode) override;
    int GetInvalidateRects(std::vector<RECT>& rects) override;
    bool IsNeedRender() override { return m_bNeedRender; }
    DMCode Render(DUIWindow* widget) override;
    DMCode GetCanvas(IDMCanvas** canvas) override;
    DMCode ResizeCanvas(int width, int height) override;

private:
    enum Progress { Before = 0, Drawing = 1, Finished = 2 };

    int DrawTree(IDMCanvas* canvas, IDMRegion* region, DUIWindow* widget, DUIWindow* start,
                 DUIWindow* end, Progress& progress);
    void PaintWidget(IDMCanvas* canvas, DUIWindow* widget);
    void RefreshCache(IDMCanvas* canvas, IDMCanvas* cache, DUIWindow* widget);
    DMSmartPtrT<IDMRegion> NewRegion(const RECT* rect);
    void RenderFragments(DUIWindow* widget, const std::vector<RECT>& fragments);
    bool NearWholeCanvas(const RECT& box) const;

    DMSmartPtrT<IDMRender> m_pRender;
    DMSmartPtrT<IDMRegion> m_pInvalidRegion;
    DMSmartPtrT<IDMCanvas> m_pCanvas;
    bool m_bNeedRender = false;
    bool m_bOnlyOneRect = false;
    RECT m_rcOnlyOne{0, 0, 0, 0};
    RECT m_rcCanvas{0, 0, 0, 0};
};

}  // namespace DM
