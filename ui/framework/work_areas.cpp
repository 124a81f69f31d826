#include "framework/work_areas.h"

namespace framework {

namespace {

BOOL CALLBACK AddWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM areas) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (::GetMonitorInfoA(monitor, &info)) reinterpret_cast<std::vector<RECT>*>(areas)->push_back(info.rcWork);
    return TRUE;
}

}  // namespace

std::vector<RECT> MonitorWorkAreas() {
    std::vector<RECT> areas;
    ::EnumDisplayMonitors(nullptr, nullptr, &AddWorkArea, reinterpret_cast<LPARAM>(&areas));
    return areas;
}

}  // namespace framework
