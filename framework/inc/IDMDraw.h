// A host window's draw object: its canvas, the area widgets declared invalid, and the walk of
// the widget tree that repaints it.
#pragma once

#include <vector>

#include "DMBase.h"
#include "IDMRender.h"

namespace DM {

class DUIWindow;

class IDMDraw : public DMBase {
public:
    virtual DMCode DrawBackground(IDMCanvas* canvas, IDMRegion* region, DUIWindow* widget) = 0;
    virtual DMCode DrawForeground(IDMCanvas* canvas, IDMRegion* region, DUIWindow* widget) = 0;
    virtual DMCode Draw(IDMCanvas* canvas, IDMRegion* region, DUIWindow* widget) = 0;
    // Without a rectangle the whole canvas; `mode` combines like a region.
    virtual DMCode InvalidateRect(const RECT* rect, int mode) = 0;
    virtual int GetInvalidateRects(std::vector<RECT>& rects) = 0;
    virtual bool IsNeedRender() = 0;
    virtual DMCode Render(DUIWindow* widget) = 0;
    virtual DMCode GetCanvas(IDMCanvas** canvas) = 0;
    virtual DMCode ResizeCanvas(int width, int height) = 0;
};

}  // namespace DM
