#include "framework/centring.h"

namespace framework {
namespace {

LONG Fit(LONG start, LONG size, LONG low, LONG high) {
    if (start + size > high) start = high - size;
    if (start < low) start = low;
    return start;
}

}  // namespace

POINT CentredOrigin(const RECT& window, const RECT& over, const RECT& workArea) {
    const LONG width = window.right - window.left;
    const LONG height = window.bottom - window.top;
    const LONG x = over.left + ((over.right - over.left) - width) / 2;
    const LONG y = over.top + ((over.bottom - over.top) - height) / 2;
    return POINT{Fit(x, width, workArea.left, workArea.right), Fit(y, height, workArea.top, workArea.bottom)};
}

bool CenterWindow(HWND window, HWND over) {
    if (!window) return false;
    if (!over) over = ::GetWindow(window, GW_OWNER);
    if (!over) over = ::GetParent(window);
    if (over && (!::IsWindowVisible(over) || ::IsIconic(over))) over = nullptr;

    RECT own{};
    if (!::GetWindowRect(window, &own)) return false;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    HMONITOR handle = ::MonitorFromWindow(over ? over : window, MONITOR_DEFAULTTONEAREST);
    if (!handle || !::GetMonitorInfoA(handle, &monitor)) return false;

    RECT target = monitor.rcWork;
    if (over && !::GetWindowRect(over, &target)) return false;
    const POINT origin = CentredOrigin(own, target, monitor.rcWork);
    return ::SetWindowPos(window, nullptr, origin.x, origin.y, 0, 0,
                          SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE) != FALSE;
}

}  // namespace framework
