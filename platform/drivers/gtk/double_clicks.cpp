#include "drivers/gtk/double_clicks.h"

#include <cstdlib>

namespace plat::gtk {

bool DoubleClicks::Near(POINT point) const {
    return std::abs(point.x - m_point.x) <= m_distance &&
           std::abs(point.y - m_point.y) <= m_distance;
}

bool DoubleClicks::IsSecondPress(MouseButton button, POINT point, unsigned int timeMs) {
    bool second =
        m_havePress && button == m_button && timeMs - m_pressTime <= m_timeMs && Near(point);
    m_havePress = !second;
    m_button = button;
    m_point = point;
    m_pressTime = timeMs;
    return second;
}

}  // namespace plat::gtk
