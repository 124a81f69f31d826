// The process's lifetime as a local server: a lock count (one lock for the
// main window, one for every live automation object), the shutdown monitor
// that ends the message loop once the count has stayed at 0 for the grace
// period, and the message loops of the program's threads.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <map>
#include <mutex>

namespace framework {

class CMessageLoop;

class CServerModule {
public:
    static constexpr DWORD kGracePeriodMs = 5000;
    static constexpr DWORD kFinalPauseMs = 1000;
    // How long clients may still hold objects once the main window is gone.
    static constexpr DWORD kEndWithoutWindowMs = 3000;

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

    // Start-up's part of the end without a window: disconnecting clients and
    // withdrawing the class objects. Runs on the thread that calls
    // EndWithoutWindow.
    void SetWindowGoneHandler(std::function<void()> handler) { windowGone_ = std::move(handler); }
    // The main window is gone for good: the handler runs, and the monitor
    // ends the message loop once no lock is held, or after
    // kEndWithoutWindowMs whatever clients still hold.
    void EndWithoutWindow();
    bool Ending() const { return ending_.load(); }

    // The message loop of the calling thread, entered under the module's lock.
    bool AddMessageLoop(CMessageLoop* loop);
    bool RemoveMessageLoop();
    CMessageLoop* GetMessageLoop(DWORD threadId = ::GetCurrentThreadId()) const;

private:
    static unsigned __stdcall MonitorThread(void* module);
    void Monitor();
    void CloseEventNow();
    // Waits until no lock is held or the end's deadline has passed.
    void WaitForLocksUntilDeadline(HANDLE event);

    volatile LONG lockCount_ = 0;
    std::atomic<bool> activity_{false};
    std::atomic<DWORD> gracePeriod_{kGracePeriodMs};
    std::atomic<DWORD> finalPause_{kFinalPauseMs};
    std::atomic<HANDLE> shutdownEvent_{nullptr};
    std::atomic<bool> ending_{false};
    std::atomic<ULONGLONG> endDeadline_{0};
    std::function<void()> windowGone_;
    HANDLE monitorThread_ = nullptr;
    DWORD mainThreadId_ = 0;

    mutable std::mutex lock_;
    std::map<DWORD, CMessageLoop*> loops_;
};

// The program's one module.
CServerModule& Module();

}  // namespace framework
