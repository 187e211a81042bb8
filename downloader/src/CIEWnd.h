// The news page's popup window: a host window built from the layout "dui_ie", whose web widget
// "IeWnd" fills it.
#pragma once

#include "DMHWnd.h"

class CIEWnd : public DM::DMHWnd {
public:
    ~CIEWnd() override;
};
