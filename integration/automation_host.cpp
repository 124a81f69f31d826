#include "automation_host.h"

#include <atomic>

namespace integration {
namespace {

std::atomic<ProcessLock*> g_processLock{nullptr};
std::atomic<HWND> g_linkWindow{nullptr};

}  // namespace

void SetProcessLock(ProcessLock* lock) { g_processLock.store(lock); }
ProcessLock* GetProcessLock() { return g_processLock.load(); }

void SetLinkWindow(HWND window) { g_linkWindow.store(window); }
HWND GetLinkWindow() { return g_linkWindow.load(); }

}  // namespace integration
