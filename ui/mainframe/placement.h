// The stored normal rectangle of the main window made reachable on the
// monitors there are now (see portable/placement_clamp.h).
#pragma once

#include <windows.h>

// `stored` and the result are in workspace coordinates, as
// WINDOWPLACEMENT::rcNormalPosition is.
RECT ReachableNormalRect(const RECT& stored);
