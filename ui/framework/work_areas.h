// The work areas of the monitors there are now, in screen coordinates.
#pragma once

#include <windows.h>

#include <vector>

namespace framework {

// One rectangle per monitor (its area less the taskbar); empty when the
// system lists none.
std::vector<RECT> MonitorWorkAreas();

}  // namespace framework
