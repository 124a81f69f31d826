// What the automation object needs of the program around it: a lock on the
// process for every live object, and the window to tell about new links.
// Start-up sets both; until then objects take no lock and tell no one.
#pragma once

#include <windows.h>

namespace integration {

class ProcessLock {
public:
    virtual ~ProcessLock() = default;
    virtual void Lock() = 0;
    virtual void Unlock() = 0;
};

// Set once at start-up, before the class object is registered; the lock must
// outlive every automation object.
void SetProcessLock(ProcessLock* lock);
ProcessLock* GetProcessLock();

// The main window, recorded when it has been created (null when it is gone).
void SetLinkWindow(HWND window);
HWND GetLinkWindow();

}  // namespace integration
