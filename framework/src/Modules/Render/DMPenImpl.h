// A pen: style (solid or dotted), width and colour.
#pragma once

#include "IDMRender.h"

namespace DM {

class DMPenImpl : public IDMPen {
public:
    DMPenImpl(DMColor color, int style, int width) : m_clr(color), m_style(style), m_width(width) {}
    int GetObjectType() const override { return DMF_PEN; }
    int GetStyle() const override { return m_style; }
    int GetWidth() const override { return m_width; }
    DMColor GetColor() const override { return m_clr; }

private:
    DMColor m_clr;
    int m_style;
    int m_width;
};

}  // namespace DM
