// A widget's layout object: keeps its "pos" and "possize" and computes its window rectangle
// inside the parent's child layout rectangle.
#pragma once

#include "DMBase.h"

namespace DM {

class DUIWindow;

class IDMLayout : public DMBase {
public:
    virtual DMCode SetOwner(DUIWindow* owner) = 0;
    // 0 and the owner's rectangle; 1 when a reference cannot be resolved yet. Without a
    // parent rectangle the parent's child layout rectangle is used.
    virtual DMCode UpdateLayout(const RECT* parent, RECT& rect) = 0;
    // Lays out the owner's children in passes until all are placed: 0, or 1 when some stay
    // unresolved.
    virtual DMCode UpdateChildLayout() = 0;
};

}  // namespace DM
