// The process's lifetime as a local server: a lock count (one lock for the
// main window, one for every live automation object), the shutdown monitor
// that ends the message loop once the count has stayed at 0 for the grace
// period, and the message loops of the program's threads.
#pragma once

#include <windows.h>

#include <atomic>
#include <map>
#include <mutex>

namespace framework {

class CMessageLoop;

class CServerModule {
public:
    static constexpr DWORD kGracePeriodMs = 5000;
    static constexpr DWORD kFinalPauseMs = 1000;

    CServerModule() = default;
    ~CServerModule();
    CServerModule(const CServerModule&) = delete;
    CServerModule& operator=(const CServerModule&) = delete;

    // Grace period and final pause to their defaults; records the thread that
    // receives the quit message.
    void Init(DWORD mainThreadId);
    // Releases the module's tables (the map of message loops).
    void Term();

    LONG Lock();
    // Releasing the last lock sets the activity flag and wakes the monitor.
    LONG Unlock();
    LONG LockCount() const;

    DWORD GracePeriod() const { return gracePeriod_.load(); }
    void SetGracePeriod(DWORD ms) { gracePeriod_.store(ms); }
    DWORD FinalPause() const { return finalPause_.load(); }
    void SetFinalPause(DWORD ms) { finalPause_.store(ms); }
    DWORD MainThreadId() const { return mainThreadId_; }

    // Creates the shutdown event (auto-reset, not signalled) and starts the
    // monitor thread. False when either could not be made.
    bool StartMonitor();
    bool MonitorRunning() const;
    // Closes the shutdown event if it is still open and no monitor waits on it.
    void CloseShutdownEvent();
    bool ShutdownEventOpen() const { return shutdownEvent_.load() != nullptr; }

    // The message loop of the calling thread, entered under the module's lock.
    bool AddMessageLoop(CMessageLoop* loop);
    bool RemoveMessageLoop();
    CMessageLoop* GetMessageLoop(DWORD threadId = ::GetCurrentThreadId()) const;

private:
    static unsigned __stdcall MonitorThread(void* module);
    void Monitor();
    void CloseEventNow();

    volatile LONG lockCount_ = 0;
    std::atomic<bool> activity_{false};
    std::atomic<DWORD> gracePeriod_{kGracePeriodMs};
    std::atomic<DWORD> finalPause_{kFinalPauseMs};
    std::atomic<HANDLE> shutdownEvent_{nullptr};
    HANDLE monitorThread_ = nullptr;
    DWORD mainThreadId_ = 0;

    mutable std::mutex lock_;
    std::map<DWORD, CMessageLoop*> loops_;
};

// The program's one module.
CServerModule& Module();

}  // namespace framework
