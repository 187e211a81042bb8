// Monitors and their work areas (the monitor without the task bar).
#pragma once

#include "plat/types.h"

namespace plat {

using HMONITOR = struct HMONITOR__*;

constexpr DWORD MONITOR_DEFAULTTONULL = 0;
constexpr DWORD MONITOR_DEFAULTTOPRIMARY = 1;
constexpr DWORD MONITOR_DEFAULTTONEAREST = 2;

constexpr DWORD MONITORINFOF_PRIMARY = 1;

struct MONITORINFO {
    DWORD cbSize;
    RECT rcMonitor;
    RECT rcWork;
    DWORD dwFlags;
};

// The monitor that the window (its largest part) or the point is on; otherwise as `flags`
// says: none, the primary one or the nearest one.
HMONITOR MonitorFromWindow(HWND window, DWORD flags);
HMONITOR MonitorFromPoint(POINT point, DWORD flags);
HMONITOR MonitorFromRect(const RECT* rect, DWORD flags);
// `info->cbSize` must be at least sizeof(MONITORINFO).
BOOL GetMonitorInfoW(HMONITOR monitor, MONITORINFO* info);

constexpr UINT SPI_GETWORKAREA = 0x0030;

// SPI_GETWORKAREA: the primary monitor's work area into the RECT at `value`. Other actions
// answer FALSE.
BOOL SystemParametersInfoW(UINT action, UINT uiParam, void* value, UINT winIni);

}  // namespace plat
