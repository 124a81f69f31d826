// Private window messages, all sent or posted to the main window, which
// relays them to the view concerned.
#pragma once

#include <windows.h>

namespace framework {

constexpr UINT UWM_CLASS_CHANGED = WM_USER + 101;    // 0x465
constexpr UINT UWM_SHOW_REMARK = WM_USER + 102;      // 0x466
constexpr UINT UWM_LINKS_PENDING = WM_USER + 103;    // 0x467
constexpr UINT UWM_TREE_AUTOSCROLL = WM_USER + 104;  // 0x468
constexpr UINT UWM_DROP_BOOKMARKS = WM_USER + 105;   // 0x469
constexpr UINT UWM_TREE_TO_TOP = WM_USER + 106;      // 0x46A
constexpr UINT UWM_TOOLBAR_CHANGED = WM_USER + 501;  // 0x5F5

// Registered message a second start broadcasts to bring the first forward.
constexpr const char kAlreadyRunningMessageName[] = "WM_LINKARBOR_ALREADYRUNNING";

}  // namespace framework
