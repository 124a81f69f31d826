#include "framework/server_module.h"

#include "framework/callback_guard.h"

#include <process.h>

namespace framework {

CServerModule& Module() {
    static CServerModule module;
    return module;
}

CServerModule::~CServerModule() {
    // A monitor still waiting (the process ends without a main window) is
    // left alone: the event it waits on stays open until the process ends.
    if (monitorThread_) ::CloseHandle(monitorThread_);
}

void CServerModule::Init(DWORD mainThreadId) {
    gracePeriod_.store(kGracePeriodMs);
    finalPause_.store(kFinalPauseMs);
    ending_.store(false);
    mainThreadId_ = mainThreadId;
}

void CServerModule::Term() {
    std::lock_guard<std::mutex> guard(lock_);
    loops_.clear();
}

LONG CServerModule::Lock() { return ::InterlockedIncrement(&lockCount_); }

LONG CServerModule::Unlock() {
    const LONG count = ::InterlockedDecrement(&lockCount_);
    if (count == 0) {
        activity_.store(true);
        if (HANDLE event = shutdownEvent_.load()) ::SetEvent(event);
    }
    return count;
}

LONG CServerModule::LockCount() const { return ::InterlockedCompareExchange(const_cast<volatile LONG*>(&lockCount_), 0, 0); }

bool CServerModule::StartMonitor() {
    if (monitorThread_) return false;
    HANDLE event = ::CreateEventA(nullptr, FALSE, FALSE, nullptr);
    if (!event) return false;
    shutdownEvent_.store(event);
    const uintptr_t thread = ::_beginthreadex(nullptr, 0, &CServerModule::MonitorThread, this, 0, nullptr);
    if (thread == 0) return false;
    monitorThread_ = reinterpret_cast<HANDLE>(thread);
    return true;
}

bool CServerModule::MonitorRunning() const {
    return monitorThread_ && ::WaitForSingleObject(monitorThread_, 0) == WAIT_TIMEOUT;
}

void CServerModule::CloseShutdownEvent() {
    // Closing a handle another thread waits on is undefined; the monitor
    // closes the event itself when it ends.
    if (MonitorRunning()) return;
    CloseEventNow();
}

void CServerModule::CloseEventNow() {
    if (HANDLE event = shutdownEvent_.exchange(nullptr)) ::CloseHandle(event);
}

unsigned __stdcall CServerModule::MonitorThread(void* module) {
    return GuardCallback<unsigned>(
        "shutdown monitor",
        [&] {
            static_cast<CServerModule*>(module)->Monitor();
            return 0u;
        },
        [] { return 1u; });
}

void CServerModule::EndWithoutWindow() {
    if (windowGone_) windowGone_();
    endDeadline_.store(::GetTickCount64() + kEndWithoutWindowMs);
    ending_.store(true);
    if (HANDLE event = shutdownEvent_.load()) ::SetEvent(event);
}

void CServerModule::WaitForLocksUntilDeadline(HANDLE event) {
    for (;;) {
        if (LockCount() == 0) return;
        const ULONGLONG now = ::GetTickCount64();
        const ULONGLONG deadline = endDeadline_.load();
        if (now >= deadline) return;
        ::WaitForSingleObject(event, static_cast<DWORD>(deadline - now));
    }
}

void CServerModule::Monitor() {
    HANDLE event = shutdownEvent_.load();
    for (;;) {
        if (!ending_.load() && ::WaitForSingleObject(event, INFINITE) != WAIT_OBJECT_0) return;
        // Every release within the grace period starts the period again.
        DWORD waited = WAIT_OBJECT_0;
        while (!ending_.load()) {
            activity_.store(false);
            waited = ::WaitForSingleObject(event, gracePeriod_.load());
            if (waited != WAIT_OBJECT_0) break;
        }
        if (ending_.load()) {
            // Without a window nothing may keep the process for long.
            WaitForLocksUntilDeadline(event);
            break;
        }
        if (waited == WAIT_TIMEOUT && !activity_.load() && LockCount() == 0) break;
        if (waited != WAIT_TIMEOUT) return;
    }
    CloseEventNow();
    ::PostThreadMessageA(mainThreadId_, WM_QUIT, 0, 0);
}

bool CServerModule::AddMessageLoop(CMessageLoop* loop) {
    if (!loop) return false;
    std::lock_guard<std::mutex> guard(lock_);
    return loops_.emplace(::GetCurrentThreadId(), loop).second;
}

bool CServerModule::RemoveMessageLoop() {
    std::lock_guard<std::mutex> guard(lock_);
    return loops_.erase(::GetCurrentThreadId()) != 0;
}

CMessageLoop* CServerModule::GetMessageLoop(DWORD threadId) const {
    std::lock_guard<std::mutex> guard(lock_);
    auto it = loops_.find(threadId);
    return it == loops_.end() ? nullptr : it->second;
}

}  // namespace framework
