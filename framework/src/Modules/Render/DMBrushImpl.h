// A brush: a solid colour, or a picture repeated from the canvas's origin.
#pragma once

#include "DMSmartPtrT.h"
#include "IDMRender.h"

namespace DM {

class DMBrushImpl : public IDMBrush {
public:
    explicit DMBrushImpl(DMColor color) : m_clr(color) {}
    explicit DMBrushImpl(IDMBitmap* bitmap) : m_bitmap(bitmap) {}
    int GetObjectType() const override { return DMF_BRUSH; }
    bool IsBitmap() const override { return static_cast<bool>(m_bitmap); }
    DMColor GetColor() const override { return m_clr; }
    IDMBitmap* GetBrushBitmap() const override { return m_bitmap.get(); }

private:
    DMColor m_clr;
    DMSmartPtrT<IDMBitmap> m_bitmap;
};

}  // namespace DM
