// Centring a window on its owner, kept inside the owner's work area.
#pragma once

#include <windows.h>

namespace framework {

// Top-left corner that centres a window of `window`'s size on `over`, moved
// as little as needed to lie inside `workArea` (its top-left edge wins when
// the window is larger than the work area).
POINT CentredOrigin(const RECT& window, const RECT& over, const RECT& workArea);

// Centres `window` on `over`, by default its owner (or parent). A missing,
// hidden or minimised owner centres it on the work area of its monitor.
bool CenterWindow(HWND window, HWND over = nullptr);

}  // namespace framework
