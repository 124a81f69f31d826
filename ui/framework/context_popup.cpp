#include "framework/context_popup.h"

#include <algorithm>

namespace framework {

UINT TrackPopupAtPoint(HMENU popup, POINT point, HWND owner, UINT flags) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (::GetMonitorInfoA(::MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST), &monitor)) {
        point.x = std::clamp(point.x, monitor.rcWork.left, monitor.rcWork.right);
    }
    return static_cast<UINT>(::TrackPopupMenu(popup, flags, point.x, point.y, 0, owner, nullptr));
}

}  // namespace framework
