#include "framework/message_loop.h"
#include "framework/server_module.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

using framework::CServerModule;

constexpr DWORD kTimeoutMs = 30000;

// The wParam of the next WM_QUIT for this thread, or -1 when none came in time.
int WaitForQuit(DWORD timeoutMs) {
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    for (;;) {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) return static_cast<int>(msg.wParam);
        }
        const ULONGLONG now = ::GetTickCount64();
        if (now >= deadline) return -1;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(deadline - now), QS_ALLPOSTMESSAGE);
    }
}

void DrainQueue() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
}

TEST(ServerModule, LockCountFollowsLocksAndUnlocks) {
    CServerModule module;
    EXPECT_EQ(module.LockCount(), 0);
    EXPECT_EQ(module.Lock(), 1);
    EXPECT_EQ(module.Lock(), 2);
    EXPECT_EQ(module.Unlock(), 1);
    EXPECT_EQ(module.Unlock(), 0);
    EXPECT_EQ(module.LockCount(), 0);
}

TEST(ServerModule, LockCountIsSafeAcrossThreads) {
    CServerModule module;
    auto work = [&] {
        for (int i = 0; i < 10000; ++i) {
            module.Lock();
            module.Unlock();
        }
    };
    module.Lock();
    std::thread a(work), b(work);
    a.join();
    b.join();
    EXPECT_EQ(module.LockCount(), 1);
}

TEST(ServerModule, MessageLoopsAreKeptPerThread) {
    CServerModule module;
    framework::CMessageLoop loop, other;
    EXPECT_EQ(module.GetMessageLoop(), nullptr);
    EXPECT_TRUE(module.AddMessageLoop(&loop));
    EXPECT_FALSE(module.AddMessageLoop(&other)) << "one loop per thread";
    EXPECT_EQ(module.GetMessageLoop(), &loop);
    EXPECT_EQ(module.GetMessageLoop(::GetCurrentThreadId()), &loop);

    framework::CMessageLoop* seenByWorker = &other;
    DWORD workerId = 0;
    std::thread worker([&] {
        seenByWorker = module.GetMessageLoop();
        workerId = ::GetCurrentThreadId();
    });
    worker.join();
    EXPECT_EQ(seenByWorker, nullptr);
    EXPECT_EQ(module.GetMessageLoop(workerId), nullptr);

    EXPECT_TRUE(module.RemoveMessageLoop());
    EXPECT_FALSE(module.RemoveMessageLoop());
    EXPECT_EQ(module.GetMessageLoop(), nullptr);

    module.AddMessageLoop(&loop);
    module.Term();
    EXPECT_EQ(module.GetMessageLoop(), nullptr);
}

TEST(ServerModule, ReleasingTheLastLockEndsTheLoopAfterTheGracePeriod) {
    DrainQueue();
    CServerModule module;
    module.Init(::GetCurrentThreadId());
    module.SetGracePeriod(0);
    module.Lock();
    ASSERT_TRUE(module.StartMonitor());
    EXPECT_TRUE(module.ShutdownEventOpen());
    EXPECT_FALSE(module.StartMonitor()) << "one monitor per module";
    module.Unlock();
    EXPECT_EQ(WaitForQuit(kTimeoutMs), 0);
    EXPECT_FALSE(module.ShutdownEventOpen()) << "the monitor closes the event when it ends";
    module.CloseShutdownEvent();  // nothing left to close; must be harmless
}

TEST(ServerModule, ManyReleasesEndInOneQuit) {
    DrainQueue();
    CServerModule module;
    module.Init(::GetCurrentThreadId());
    module.SetGracePeriod(0);
    ASSERT_TRUE(module.StartMonitor());
    // Locks released and taken again in quick succession: whatever the
    // monitor sees in between, it ends only once the count stays at 0.
    for (int i = 0; i < 50; ++i) {
        module.Lock();
        module.Lock();
        module.Unlock();
        module.Unlock();
    }
    EXPECT_EQ(WaitForQuit(kTimeoutMs), 0);
    EXPECT_EQ(module.LockCount(), 0);
    ASSERT_TRUE([&] {
        for (int i = 0; i < 3000 && module.MonitorRunning(); ++i) ::Sleep(10);
        return !module.MonitorRunning();
    }());
    MSG msg;
    EXPECT_FALSE(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the monitor ends after one quit";
}

TEST(ServerModule, MonitorQuitsTheRecordedThreadNotTheCaller) {
    DrainQueue();
    CServerModule module;
    int quitCode = -2;
    DWORD uiThread = 0;
    HANDLE ready = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread ui([&] {
        MSG msg;
        ::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);  // make the queue
        uiThread = ::GetCurrentThreadId();
        ::SetEvent(ready);
        quitCode = WaitForQuit(kTimeoutMs);
    });
    ASSERT_EQ(::WaitForSingleObject(ready, kTimeoutMs), WAIT_OBJECT_0);
    module.Init(uiThread);
    module.SetGracePeriod(0);
    module.Lock();
    ASSERT_TRUE(module.StartMonitor());
    module.Unlock();
    ui.join();
    ::CloseHandle(ready);
    EXPECT_EQ(quitCode, 0);
    MSG msg;
    EXPECT_FALSE(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

// Without a main window, locks that clients never give back end the loop
// once the end's deadline has passed; locks given back end it at once. The
// grace period of an ordinary release does not apply.
TEST(ServerModule, TheEndWithoutAWindowComesWithinItsDeadlineWhateverIsHeld) {
    struct Case {
        const char* name;
        bool clientLetsGo;  // the handler gives the client's lock back
        ULONGLONG atLeastMs, atMostMs;
    };
    const Case cases[] = {
        {"a client that never lets go", false, CServerModule::kEndWithoutWindowMs - 100,
         CServerModule::kEndWithoutWindowMs + 2000},
        {"a client disconnected by the handler", true, 0, 1500},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DrainQueue();
        CServerModule module;
        module.Init(::GetCurrentThreadId());
        module.Lock();  // the window's
        module.Lock();  // the client's
        int handled = 0;
        module.SetWindowGoneHandler([&] {
            ++handled;
            if (c.clientLetsGo) module.Unlock();
        });
        ASSERT_TRUE(module.StartMonitor());
        const ULONGLONG start = ::GetTickCount64();
        module.Unlock();  // the window goes
        module.EndWithoutWindow();
        EXPECT_TRUE(module.Ending());
        EXPECT_EQ(handled, 1);
        EXPECT_EQ(WaitForQuit(kTimeoutMs), 0);
        const ULONGLONG took = ::GetTickCount64() - start;
        EXPECT_GE(took, c.atLeastMs);
        EXPECT_LE(took, c.atMostMs);
        for (int i = 0; i < 3000 && module.MonitorRunning(); ++i) ::Sleep(10);
        EXPECT_FALSE(module.MonitorRunning());
        if (!c.clientLetsGo) module.Unlock();
    }
}

}  // namespace
