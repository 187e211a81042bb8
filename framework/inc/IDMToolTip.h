// A host's tool tip: the widget under the pointer describes its tip, the tool-tip object shows
// it after a delay and hides it after a span. The object watches the thread's messages as a
// filter of its message loop.
#pragma once

#include "DMBase.h"
#include "DMMsgLoop.h"

namespace DM {

struct DMToolTipInfo {
    DUIWND hDUIWnd = 0;
    RECT rcTarget{0, 0, 0, 0};
    DMStringT strTip;
    DMStringT strXmlId;
    int iDelayTime = 500;
    int iSpanTime = 5000;
    RECT rcPosFlags{-1, 0, 0, 0};
    // The target rectangle in screen coordinates; the filter compares the pointer with it.
    RECT rcScreenTarget{0, 0, 0, 0};
};

class IDMToolTip : public DMBase, public IDMMessageFilter {
public:
    // Takes the tip of the widget now under the pointer.
    virtual DMCode Update(const DMToolTipInfo& info) = 0;
    virtual DMCode Hide() = 0;
    // The host is going away: the tip window is destroyed.
    virtual DMCode DestroyTipWnd() = 0;
};

}  // namespace DM
