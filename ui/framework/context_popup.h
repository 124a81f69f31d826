// Showing a context menu's popup where the mouse was released, kept on the
// monitor nearest that point.
#pragma once

#include <windows.h>

namespace framework {

// `point` in screen coordinates; x is moved into the nearest monitor's work
// area. Returns what TrackPopupMenu returns (with TPM_RETURNCMD in `flags`,
// the chosen command).
UINT TrackPopupAtPoint(HMENU popup, POINT point, HWND owner, UINT flags = TPM_RIGHTBUTTON);

}  // namespace framework
