// Monitors as the driver reports them; a monitor handle is its position in that list plus 1.
#include <algorithm>

#include "plat/driver.h"
#include "plat/monitor.h"
#include "plat/window.h"

namespace plat {
namespace {

HMONITOR HandleOf(std::size_t index) {
    return reinterpret_cast<HMONITOR>(index + 1);
}

LONG OverlapArea(const RECT& a, const RECT& b) {
    LONG width = std::min(a.right, b.right) - std::max(a.left, b.left);
    LONG height = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
    return width > 0 && height > 0 ? width * height : 0;
}

LONG DistanceSquared(const RECT& a, const RECT& b) {
    LONG dx = std::max({a.left - b.right, b.left - a.right, 0});
    LONG dy = std::max({a.top - b.bottom, b.top - a.bottom, 0});
    return dx * dx + dy * dy;
}

HMONITOR Fallback(const std::vector<MonitorDescription>& monitors, const RECT& rect, DWORD flags) {
    if (flags == MONITOR_DEFAULTTONULL || monitors.empty()) {
        return nullptr;
    }
    if (flags == MONITOR_DEFAULTTOPRIMARY) {
        return HandleOf(0);
    }
    auto nearest = std::min_element(monitors.begin(), monitors.end(), [&](auto& a, auto& b) {
        return DistanceSquared(a.monitor, rect) < DistanceSquared(b.monitor, rect);
    });
    return HandleOf(nearest - monitors.begin());
}

}  // namespace

HMONITOR MonitorFromRect(const RECT* rect, DWORD flags) {
    if (!rect) {
        return nullptr;
    }
    std::vector<MonitorDescription> monitors = CurrentDriver().Monitors();
    LONG best = 0;
    HMONITOR chosen = nullptr;
    for (std::size_t i = 0; i < monitors.size(); ++i) {
        LONG overlap = OverlapArea(monitors[i].monitor, *rect);
        if (overlap > best) {
            best = overlap;
            chosen = HandleOf(i);
        }
    }
    return chosen ? chosen : Fallback(monitors, *rect, flags);
}

HMONITOR MonitorFromPoint(POINT point, DWORD flags) {
    RECT pixel{point.x, point.y, point.x + 1, point.y + 1};
    return MonitorFromRect(&pixel, flags);
}

HMONITOR MonitorFromWindow(HWND window, DWORD flags) {
    RECT rect;
    if (!GetWindowRect(window, &rect)) {
        return flags == MONITOR_DEFAULTTONULL ? nullptr : MonitorFromPoint({0, 0}, flags);
    }
    if (rect.right <= rect.left || rect.bottom <= rect.top) {
        return MonitorFromPoint({rect.left, rect.top}, flags);
    }
    return MonitorFromRect(&rect, flags);
}

BOOL GetMonitorInfoW(HMONITOR monitor, MONITORINFO* info) {
    std::vector<MonitorDescription> monitors = CurrentDriver().Monitors();
    auto index = reinterpret_cast<std::uintptr_t>(monitor);
    if (!info || info->cbSize < sizeof(MONITORINFO) || index == 0 || index > monitors.size()) {
        return FALSE;
    }
    info->rcMonitor = monitors[index - 1].monitor;
    info->rcWork = monitors[index - 1].work;
    info->dwFlags = index == 1 ? MONITORINFOF_PRIMARY : 0;
    return TRUE;
}

BOOL SystemParametersInfoW(UINT action, UINT, void* value, UINT) {
    std::vector<MonitorDescription> monitors = CurrentDriver().Monitors();
    if (action != SPI_GETWORKAREA || !value || monitors.empty()) {
        return FALSE;
    }
    *static_cast<RECT*>(value) = monitors.front().work;
    return TRUE;
}

}  // namespace plat
