// Animations driven by a host: each running animation is ticked every 10 ms while any runs.
#pragma once

#include "DMDef.h"

namespace DM {

class IDMTimeline {
public:
    virtual ~IDMTimeline() = default;
    virtual DMCode OnTimeline() = 0;
};

}  // namespace DM
