#include "mainframe/placement.h"

#include <vector>

#include "framework/work_areas.h"
#include "placement_clamp.h"

RECT ReachableNormalRect(const RECT& stored) {
    std::vector<mainframe::Box> areas;
    for (const RECT& r : framework::MonitorWorkAreas()) areas.push_back({r.left, r.top, r.right, r.bottom});
    if (areas.empty()) {
        RECT work{};
        if (::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0)) {
            areas.push_back({work.left, work.top, work.right, work.bottom});
        }
    }
    // Workspace coordinates are screen coordinates less the primary work
    // area's offset (a taskbar on the left or at the top).
    POINT offset{0, 0};
    MONITORINFO primary{};
    primary.cbSize = sizeof primary;
    if (::GetMonitorInfoA(::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &primary)) {
        offset.x = primary.rcWork.left - primary.rcMonitor.left;
        offset.y = primary.rcWork.top - primary.rcMonitor.top;
    }
    const mainframe::Box screen{static_cast<std::int64_t>(stored.left) + offset.x,
                                static_cast<std::int64_t>(stored.top) + offset.y,
                                static_cast<std::int64_t>(stored.right) + offset.x,
                                static_cast<std::int64_t>(stored.bottom) + offset.y};
    mainframe::PlacementLimits limits;
    limits.captionHeight = ::GetSystemMetrics(SM_CYCAPTION) + ::GetSystemMetrics(SM_CYFRAME);
    const mainframe::Box reachable = mainframe::ClampPlacement(screen, areas, limits);
    return RECT{static_cast<LONG>(reachable.left - offset.x), static_cast<LONG>(reachable.top - offset.y),
                static_cast<LONG>(reachable.right - offset.x), static_cast<LONG>(reachable.bottom - offset.y)};
}
