// Telling the second press of a double click from a plain press, by Windows' rule: the same
// button pressed again within the double-click time and near the first press. The press after
// a double click starts over, so a triple click is press, double click, press.
#pragma once

#include "plat/driver.h"

namespace plat::gtk {

class DoubleClicks {
public:
    DoubleClicks(unsigned int timeMs, int distance) : m_timeMs(timeMs), m_distance(distance) {}

    // Whether a press of `button` at `point` (screen coordinates) at `timeMs` is the second
    // press of a double click.
    bool IsSecondPress(MouseButton button, POINT point, unsigned int timeMs);

private:
    bool Near(POINT point) const;

    unsigned int m_timeMs;
    int m_distance;
    bool m_havePress = false;
    MouseButton m_button = MouseButton::Left;
    POINT m_point{};
    unsigned int m_pressTime = 0;
};

}  // namespace plat::gtk
