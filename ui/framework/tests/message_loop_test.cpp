#include "framework/message_loop.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

using framework::CMessageLoop;

struct Filter : framework::CMessageFilter {
    std::function<bool(MSG*)> onMessage;
    std::vector<UINT> seen;
    bool PreTranslateMessage(MSG* msg) override {
        seen.push_back(msg->message);
        return onMessage ? onMessage(msg) : false;
    }
};

struct Idle : framework::CIdleHandler {
    std::function<bool(int)> onIdle;
    std::vector<int> counts;
    bool OnIdle(int idleCount) override {
        counts.push_back(idleCount);
        return onIdle ? onIdle(idleCount) : false;
    }
};

void DrainQueue() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
}

MSG Message(UINT message) {
    MSG msg{};
    msg.message = message;
    return msg;
}

TEST(MessageLoop, IdleProcessingResumesExceptAfterFrequentMessages) {
    struct Case {
        UINT message;
        bool idle;
    };
    const Case cases[] = {{WM_MOUSEMOVE, false}, {WM_NCMOUSEMOVE, false}, {WM_PAINT, false}, {0x0118, false},
                          {WM_KEYDOWN, true},    {WM_TIMER, true},       {WM_LBUTTONDOWN, true}, {WM_APP, true},
                          {WM_NCPAINT, true},    {WM_MOUSELEAVE, true}};
    for (const Case& c : cases) EXPECT_EQ(CMessageLoop::IsIdleMessage(Message(c.message)), c.idle) << c.message;
}

TEST(MessageLoop, FiltersAreOfferedTheMessageNewestFirstUntilOneTakesIt) {
    CMessageLoop loop;
    Filter older, newer, newest;
    newer.onMessage = [](MSG* m) { return m->message == WM_APP; };
    ASSERT_TRUE(loop.AddMessageFilter(&older));
    ASSERT_TRUE(loop.AddMessageFilter(&newer));
    ASSERT_TRUE(loop.AddMessageFilter(&newest));
    EXPECT_FALSE(loop.AddMessageFilter(&newer)) << "a filter is added once";

    MSG taken = Message(WM_APP);
    EXPECT_TRUE(loop.PreTranslateMessage(&taken));
    EXPECT_EQ(newest.seen, std::vector<UINT>{WM_APP});
    EXPECT_EQ(newer.seen, std::vector<UINT>{WM_APP});
    EXPECT_TRUE(older.seen.empty());

    MSG passed = Message(WM_APP + 1);
    EXPECT_FALSE(loop.PreTranslateMessage(&passed));
    EXPECT_EQ(older.seen, std::vector<UINT>{WM_APP + 1});
}

TEST(MessageLoop, RemovedFiltersAndHandlersAreNotCalled) {
    CMessageLoop loop;
    Filter filter;
    Idle idle;
    loop.AddMessageFilter(&filter);
    loop.AddIdleHandler(&idle);
    EXPECT_EQ(loop.MessageFilterCount(), 1u);
    EXPECT_EQ(loop.IdleHandlerCount(), 1u);
    EXPECT_TRUE(loop.RemoveMessageFilter(&filter));
    EXPECT_TRUE(loop.RemoveIdleHandler(&idle));
    EXPECT_FALSE(loop.RemoveMessageFilter(&filter));
    EXPECT_FALSE(loop.RemoveIdleHandler(&idle));
    EXPECT_EQ(loop.MessageFilterCount(), 0u);
    EXPECT_EQ(loop.IdleHandlerCount(), 0u);
    MSG msg = Message(WM_APP);
    EXPECT_FALSE(loop.PreTranslateMessage(&msg));
    EXPECT_FALSE(loop.OnIdle(0));
    EXPECT_TRUE(filter.seen.empty());
    EXPECT_TRUE(idle.counts.empty());
}

TEST(MessageLoop, AFilterMayRemoveItselfAndOthersWhileOffered) {
    CMessageLoop loop;
    Filter first, second, third;
    // third is offered first; it removes itself and second.
    third.onMessage = [&](MSG*) {
        loop.RemoveMessageFilter(&third);
        loop.RemoveMessageFilter(&second);
        return false;
    };
    loop.AddMessageFilter(&first);
    loop.AddMessageFilter(&second);
    loop.AddMessageFilter(&third);
    MSG msg = Message(WM_APP);
    EXPECT_FALSE(loop.PreTranslateMessage(&msg));
    EXPECT_EQ(third.seen.size(), 1u);
    EXPECT_TRUE(second.seen.empty());
    EXPECT_EQ(first.seen.size(), 1u);
    EXPECT_EQ(loop.MessageFilterCount(), 1u);
}

TEST(MessageLoop, IdlePassReportsWhetherAnyHandlerWantsMore) {
    CMessageLoop loop;
    Idle done, more;
    more.onIdle = [](int) { return true; };
    loop.AddIdleHandler(&done);
    EXPECT_FALSE(loop.OnIdle(0));
    loop.AddIdleHandler(&more);
    EXPECT_TRUE(loop.OnIdle(1));
    EXPECT_EQ(done.counts, (std::vector<int>{0, 1}));
    EXPECT_EQ(more.counts, std::vector<int>{1});
}

TEST(MessageLoop, RunIdlesWithARunningCountAndReturnsTheQuitCode) {
    DrainQueue();
    CMessageLoop loop;
    Idle idle;
    // Wants two more passes, then ends the loop.
    idle.onIdle = [](int count) {
        if (count == 2) ::PostQuitMessage(7);
        return count < 2;
    };
    loop.AddIdleHandler(&idle);
    EXPECT_EQ(loop.Run(), 7);
    EXPECT_EQ(idle.counts, (std::vector<int>{0, 1, 2}));
}

TEST(MessageLoop, FilterTakesAMessageBeforeItIsDispatched) {
    DrainQueue();
    CMessageLoop loop;
    Filter filter;
    int dispatched = 0;
    // Thread timers with a procedure reach it only through DispatchMessage.
    static int* s_dispatched = nullptr;
    s_dispatched = &dispatched;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 1, [](HWND, UINT, UINT_PTR, DWORD) { ++*s_dispatched; });
    ASSERT_NE(timer, 0u);
    int timersSeen = 0;
    filter.onMessage = [&](MSG* m) {
        if (m->message != WM_TIMER) return false;
        if (++timersSeen == 2) ::PostQuitMessage(0);
        return timersSeen != 2;  // only the second goes through
    };
    loop.AddMessageFilter(&filter);
    EXPECT_EQ(loop.Run(), 0);
    ::KillTimer(nullptr, timer);
    EXPECT_GE(timersSeen, 2);
    EXPECT_EQ(dispatched, 1);
}

// After a frequent message the loop goes straight back to waiting; after any
// other it idles again. A thread timer, started while the message is handled,
// is the next message, so an idle pass in between shows.
struct ResumeCase {
    UINT message;
    int idlePasses;
};

class IdleResume : public testing::TestWithParam<ResumeCase> {};

TEST_P(IdleResume, IdleRunsAgainOnlyAfterOrdinaryMessages) {
    DrainQueue();
    CMessageLoop loop;
    Idle idle;
    Filter filter;
    const UINT message = GetParam().message;
    idle.onIdle = [&](int) {
        if (idle.counts.size() == 1) ::PostThreadMessageA(::GetCurrentThreadId(), message, 0, 0);
        return false;
    };
    UINT_PTR timer = 0;
    filter.onMessage = [&](MSG* m) {
        if (m->message == message && timer == 0) timer = ::SetTimer(nullptr, 0, 10, nullptr);
        if (m->message == WM_TIMER && timer != 0) {
            ::KillTimer(nullptr, timer);
            ::PostQuitMessage(0);
        }
        return true;
    };
    loop.AddIdleHandler(&idle);
    loop.AddMessageFilter(&filter);
    EXPECT_EQ(loop.Run(), 0);
    EXPECT_EQ(static_cast<int>(idle.counts.size()), GetParam().idlePasses);
}

INSTANTIATE_TEST_SUITE_P(Cases, IdleResume,
                         testing::Values(ResumeCase{WM_MOUSEMOVE, 1}, ResumeCase{WM_NCMOUSEMOVE, 1},
                                         ResumeCase{WM_PAINT, 1}, ResumeCase{0x0118, 1}, ResumeCase{WM_APP, 2},
                                         ResumeCase{WM_KEYUP, 2}));

}  // namespace
