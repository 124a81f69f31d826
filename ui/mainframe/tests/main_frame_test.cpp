#include "main_frame_fixture.h"

#include "framework/message_loop.h"
#include "framework/private_messages.h"
#include "framework/server_module.h"
#include "pending_link_queue.h"
#include "resource.h"
#include "setting.h"
#include "test_support/temp_dir.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <functional>
#include <memory>
#include <ostream>

namespace {

constexpr RECT kStoredRect{100, 80, 600, 450};

using mainframe_test::MainFrameTest;
using mainframe_test::Pump;
using mainframe_test::PumpUntil;

RECT NormalRect(HWND hwnd) {
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    ::GetWindowPlacement(hwnd, &wp);
    return wp.rcNormalPosition;
}

void StorePlacement(CSetting* s, const RECT& r, int type) {
    s->GUI_MainFrameType = type;
    s->GUI_MainFrameX1 = r.left;
    s->GUI_MainFrameY1 = r.top;
    s->GUI_MainFrameX2 = r.right;
    s->GUI_MainFrameY2 = r.bottom;
    s->GUI_MainFrameShowCmd = SW_SHOWNORMAL;
    s->GUI_MainFrameFlags = 0;
}

TEST_F(MainFrameTest, IsCreatedHiddenWithTitleMenuAndStyles) {
    HWND hwnd = Create();
    ASSERT_NE(hwnd, nullptr);
    char text[64] = "";
    ::GetClassNameA(hwnd, text, sizeof text);
    EXPECT_STREQ(text, CMainFrame::kClassName);
    ::GetWindowTextA(hwnd, text, sizeof text);
    EXPECT_STREQ(text, "岚舟链匣");
    EXPECT_EQ(::GetMenu(hwnd), nullptr) << "the main menu is in the menu bar";
    ASSERT_NE(Frame().MainMenu(), nullptr);
    EXPECT_EQ(::SendMessageA(Frame().MenuBar().Hwnd(), TB_BUTTONCOUNT, 0, 0), 5);
    EXPECT_EQ(static_cast<DWORD>(::GetWindowLongPtrA(Frame().MenuBar().Hwnd(), GWL_STYLE)) & 0x5600184Cu, 0x5600184Cu);
    EXPECT_EQ(::GetDlgCtrlID(Frame().Rebar()), 0xE800);
    EXPECT_EQ(::SendMessageA(Frame().Rebar(), RB_GETBANDCOUNT, 0, 0), 2);
    const DWORD style = static_cast<DWORD>(::GetWindowLongPtrA(hwnd, GWL_STYLE));
    const DWORD wanted = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    EXPECT_EQ(style & wanted, wanted);
    const DWORD exStyle = static_cast<DWORD>(::GetWindowLongPtrA(hwnd, GWL_EXSTYLE));
    EXPECT_EQ(exStyle & (WS_EX_APPWINDOW | WS_EX_WINDOWEDGE), static_cast<DWORD>(WS_EX_APPWINDOW | WS_EX_WINDOWEDGE));
    EXPECT_FALSE(::IsWindowVisible(hwnd)) << "shown only by the first show";
    EXPECT_FALSE(Frame().ShownOnce());
    EXPECT_FALSE(Frame().Closing());
}

// The status bar at the bottom, below the category tree, with its idle text.
TEST_F(MainFrameTest, HasAStatusBarBelowTheViews) {
    HWND hwnd = Create();
    ASSERT_NE(hwnd, nullptr);
    ::ShowWindow(hwnd, SW_SHOW);
    ::MoveWindow(hwnd, 10, 10, 600, 400, TRUE);
    HWND bar = ::GetDlgItem(hwnd, 59393);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar, Frame().StatusBar());
    EXPECT_EQ(static_cast<DWORD>(::GetWindowLongPtrA(bar, GWL_STYLE)), 0x56000100u);
    char text[64] = "";
    ::GetWindowTextA(bar, text, sizeof text);
    EXPECT_STREQ(text, "就绪");
    RECT client{}, barRect{};
    ::GetClientRect(hwnd, &client);
    ::GetWindowRect(bar, &barRect);
    ::MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&barRect), 2);
    EXPECT_EQ(barRect.bottom, client.bottom);
    EXPECT_EQ(barRect.right - barRect.left, client.right);
    HWND tree = ::GetWindow(hwnd, GW_CHILD);
    for (; tree; tree = ::GetWindow(tree, GW_HWNDNEXT)) {
        if (tree == bar) continue;
        RECT view{};
        ::GetWindowRect(tree, &view);
        ::MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&view), 2);
        EXPECT_LE(view.bottom, barRect.top) << "a view under the status bar";
    }
}

TEST_F(MainFrameTest, JoinsTheLoopOfItsThreadWhileItExists) {
    HWND hwnd = Create();
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(loop_.MessageFilterCount(), 1u);
    EXPECT_EQ(loop_.IdleHandlerCount(), 1u);
    ::DestroyWindow(hwnd);
    EXPECT_EQ(loop_.MessageFilterCount(), 0u);
    EXPECT_EQ(loop_.IdleHandlerCount(), 0u);
}

TEST_F(MainFrameTest, AcceleratorKeysAreTakenByTheFilter) {
    HWND hwnd = Create();
    ASSERT_NE(hwnd, nullptr);
    MSG f6{hwnd, WM_KEYDOWN, VK_F6, 0, 0, {0, 0}};
    EXPECT_TRUE(loop_.PreTranslateMessage(&f6));
    MSG letter{hwnd, WM_KEYDOWN, 'A', 0, 0, {0, 0}};
    EXPECT_FALSE(loop_.PreTranslateMessage(&letter));
    MSG click{hwnd, WM_LBUTTONDOWN, 0, 0, 0, {0, 0}};
    EXPECT_FALSE(loop_.PreTranslateMessage(&click));
    Pump();  // the translated command reaches the frame and does nothing
    EXPECT_TRUE(::IsWindow(hwnd));
}

struct LockCase {
    const char* name;
    bool frameHoldsLock;
    int otherLocks;  // automation objects alive
    LONG locksAfter;
    DWORD graceAfter;
    DWORD pauseAfter;
};

void PrintTo(const LockCase& c, std::ostream* os) { *os << c.name; }

class FrameLock : public MainFrameTest, public testing::WithParamInterface<LockCase> {};

TEST_P(FrameLock, DestroyingTheFrameReleasesItsLock) {
    const LockCase& c = GetParam();
    HWND hwnd = Create();
    ASSERT_NE(hwnd, nullptr);
    for (int i = 0; i < c.otherLocks; ++i) module_.Lock();
    if (c.frameHoldsLock) {
        Frame().HoldProcessLock();
        Frame().HoldProcessLock();  // a second call takes no second lock
    }
    EXPECT_EQ(module_.LockCount(), c.otherLocks + (c.frameHoldsLock ? 1 : 0));
    EXPECT_FALSE(module_.Ending());
    ::DestroyWindow(hwnd);
    EXPECT_TRUE(module_.Ending()) << "without its window, objects still held do not keep the process for long";
    EXPECT_EQ(module_.LockCount(), c.locksAfter);
    EXPECT_EQ(module_.GracePeriod(), c.graceAfter);
    EXPECT_EQ(module_.FinalPause(), c.pauseAfter);
    for (int i = 0; i < c.otherLocks; ++i) module_.Unlock();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FrameLock,
    testing::Values(LockCase{"OnlyLockEndsAtOnce", true, 0, 0, 0, 0},
                    LockCase{"AutomationObjectAliveKeepsThePeriods", true, 1, 1, 5000, 1000},
                    LockCase{"TwoObjectsAlive", true, 2, 2, 5000, 1000},
                    LockCase{"NeverHeldReleasesNothing", false, 0, 0, 5000, 1000}),
    [](const testing::TestParamInfo<LockCase>& info) { return std::string(info.param.name); });

void CALLBACK QuitAfterTimeout(HWND, UINT, UINT_PTR id, DWORD) {
    ::KillTimer(nullptr, id);
    ::PostQuitMessage(99);
}

TEST_F(MainFrameTest, ExitEndsTheMessageLoopThroughTheMonitor) {
    HWND hwnd = Create();
    ASSERT_NE(hwnd, nullptr);
    Frame().HoldProcessLock();
    Frame().InitialShow();
    ASSERT_TRUE(module_.StartMonitor());
    const UINT_PTR guard = ::SetTimer(nullptr, 0, mainframe_test::kTimeoutMs, &QuitAfterTimeout);
    ASSERT_TRUE(::PostMessageA(hwnd, WM_COMMAND, ID_APP_EXIT, 0));
    EXPECT_EQ(loop_.Run(), 0) << "99: the monitor never posted the quit message";
    ::KillTimer(nullptr, guard);
    EXPECT_FALSE(::IsWindow(hwnd));
    EXPECT_TRUE(Frame().Closing());
    EXPECT_EQ(module_.LockCount(), 0);
    EXPECT_EQ(module_.FinalPause(), 0u);
}

TEST_F(MainFrameTest, PrivateMessagesWithoutViewsAreAnsweredAndLinksStayQueued) {
    HWND hwnd = Create();
    ASSERT_NE(hwnd, nullptr);
    while (PendingLinkQueue::Instance().PopFront()) {
    }
    PendingLinkQueue::Instance().Push(PendingLink{"title", "http://example.com/", nullptr});
    EXPECT_EQ(::SendMessageA(hwnd, framework::UWM_TREE_TO_TOP, 0, 0), 1);
    EXPECT_EQ(::SendMessageA(hwnd, framework::UWM_LINKS_PENDING, 0, 0), 0);
    auto link = PendingLinkQueue::Instance().PopFront();
    ASSERT_TRUE(link.has_value());
    EXPECT_EQ(link->url, "http://example.com/");
}

// First show --------------------------------------------------------------

TEST_F(MainFrameTest, FirstRunIsShownEvenWhenAskedToStartHidden) {
    for (bool hidden : {false, true}) {
        SCOPED_TRACE(hidden);
        settings_->StartHidden = hidden;
        HWND hwnd = Create();
        ASSERT_NE(hwnd, nullptr);
        Frame().InitialShow();
        EXPECT_TRUE(::IsWindowVisible(hwnd));
        EXPECT_TRUE(Frame().ShownOnce());
        // The placement is read back from the window.
        const RECT normal = NormalRect(hwnd);
        EXPECT_TRUE(::EqualRect(&Frame().Placement().rcNormalPosition, &normal));
        EXPECT_FALSE(::IsRectEmpty(&Frame().Placement().rcNormalPosition));
        frame_.reset();
    }
}

TEST_F(MainFrameTest, StoredPlacementIsAppliedAndShownNormally) {
    StorePlacement(settings_, kStoredRect, 1);
    HWND hwnd = Create();
    ASSERT_NE(hwnd, nullptr);
    Frame().InitialShow();
    EXPECT_TRUE(::IsWindowVisible(hwnd));
    EXPECT_FALSE(::IsZoomed(hwnd));
    const RECT normal = NormalRect(hwnd);
    EXPECT_TRUE(::EqualRect(&normal, &kStoredRect));
    EXPECT_TRUE(Frame().ShownOnce());
}

TEST_F(MainFrameTest, StoredMaximizedTypeShowsMaximized) {
    StorePlacement(settings_, kStoredRect, 3);
    HWND hwnd = Create();
    ASSERT_NE(hwnd, nullptr);
    Frame().InitialShow();
    EXPECT_TRUE(::IsWindowVisible(hwnd));
    EXPECT_TRUE(::IsZoomed(hwnd));
    const RECT normal = NormalRect(hwnd);
    EXPECT_TRUE(::EqualRect(&normal, &kStoredRect)) << "restoring returns to the stored rectangle";
}

TEST_F(MainFrameTest, StoredPlacementWithStartHiddenStaysHidden) {
    StorePlacement(settings_, kStoredRect, 3);
    settings_->StartHidden = true;
    HWND hwnd = Create();
    ASSERT_NE(hwnd, nullptr);
    Frame().InitialShow();
    EXPECT_FALSE(::IsWindowVisible(hwnd));
    EXPECT_FALSE(Frame().ShownOnce()) << "the splitters wait for the first real show";
    const RECT normal = NormalRect(hwnd);
    EXPECT_TRUE(::EqualRect(&normal, &kStoredRect));
}

class IncompletePlacement : public MainFrameTest, public testing::WithParamInterface<int> {};

TEST_P(IncompletePlacement, AnyValueMissingMeansNoPlacement) {
    StorePlacement(settings_, kStoredRect, 1);
    std::int32_t* keys[] = {&settings_->GUI_MainFrameFlags, &settings_->GUI_MainFrameShowCmd,
                            &settings_->GUI_MainFrameX1,    &settings_->GUI_MainFrameY1,
                            &settings_->GUI_MainFrameX2,    &settings_->GUI_MainFrameY2};
    *keys[GetParam()] = -1;
    settings_->StartHidden = true;
    HWND hwnd = Create();
    ASSERT_NE(hwnd, nullptr);
    Frame().InitialShow();
    EXPECT_TRUE(::IsWindowVisible(hwnd)) << "shown as on a first run";
    const RECT normal = NormalRect(hwnd);
    EXPECT_FALSE(::EqualRect(&normal, &kStoredRect)) << "the system's default placement is used";
}

INSTANTIATE_TEST_SUITE_P(EachKey, IncompletePlacement, testing::Range(0, 6));

// The stored rectangle goes through ClampPlacement (its cases are in the
// rules' table): here, that the window really gets the reachable rectangle.
TEST_F(MainFrameTest, PlacementBeyondTheWorkAreaIsPulledBack) {
    RECT work{};
    ASSERT_TRUE(::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
    const int caption = ::GetSystemMetrics(SM_CYCAPTION) + ::GetSystemMetrics(SM_CYFRAME);
    struct Case {
        RECT stored;
        RECT expected;
    };
    const Case cases[] = {
        // beyond the right and bottom edges, and too small: the minimum size,
        // with its caption on the work area
        {{work.right + 50, work.bottom + 40, work.right + 200, work.bottom + 150},
         {work.right - 320, work.bottom - caption, work.right, work.bottom - caption + 240}},
        // inside: left alone
        {{work.left + 10, work.top + 20, work.left + 510, work.top + 420},
         {work.left + 10, work.top + 20, work.left + 510, work.top + 420}},
        // only the left edge is beyond: pulled back whole
        {{work.right + 10, 20, work.right + 400, 300}, {work.right - 390, 20, work.right, 300}},
        // above the top: the caption comes down onto the work area
        {{100, work.top - 500, 600, work.top - 100}, {100, work.top, 600, work.top + 400}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.stored.left << "," << c.stored.top);
        StorePlacement(settings_, c.stored, 1);
        settings_->StartHidden = true;  // the rectangle is what counts here
        HWND hwnd = Create();
        ASSERT_NE(hwnd, nullptr);
        Frame().InitialShow();
        const RECT normal = NormalRect(hwnd);
        EXPECT_EQ(normal.left, c.expected.left);
        EXPECT_EQ(normal.top, c.expected.top);
        EXPECT_EQ(normal.right, c.expected.right);
        EXPECT_EQ(normal.bottom, c.expected.bottom);
        frame_.reset();
    }
}

// Second start --------------------------------------------------------------

class BroughtForward : public MainFrameTest, public testing::WithParamInterface<int> {};

TEST_P(BroughtForward, AlreadyRunningMessageRestoresTheWindow) {
    StorePlacement(settings_, kStoredRect, 1);
    HWND hwnd = Create();
    ASSERT_NE(hwnd, nullptr);
    Frame().InitialShow();
    ::ShowWindow(hwnd, GetParam());
    ::SendMessageA(hwnd, AlreadyRunningMessage(), 0, 0);
    EXPECT_TRUE(::IsWindowVisible(hwnd));
    EXPECT_FALSE(::IsIconic(hwnd));
    EXPECT_FALSE(::IsZoomed(hwnd));
    const RECT normal = NormalRect(hwnd);
    EXPECT_TRUE(::EqualRect(&normal, &kStoredRect));
}

INSTANTIATE_TEST_SUITE_P(PutAway, BroughtForward, testing::Values(SW_HIDE, SW_MINIMIZE, SW_MAXIMIZE, SW_SHOW));

// Closing -------------------------------------------------------------------

TEST_F(MainFrameTest, ClosingRecordsThePlacement) {
    StorePlacement(settings_, kStoredRect, 1);
    HWND hwnd = Create();
    ASSERT_NE(hwnd, nullptr);
    Frame().InitialShow();
    ASSERT_TRUE(::MoveWindow(hwnd, 30, 40, 300, 200, TRUE));
    ::SendMessageA(hwnd, WM_CLOSE, 0, 0);
    EXPECT_FALSE(::IsWindow(hwnd));
    EXPECT_TRUE(Frame().Closing());
    EXPECT_EQ(settings_->GUI_MainFrameX1, 30);
    EXPECT_EQ(settings_->GUI_MainFrameY1, 40);
    EXPECT_EQ(settings_->GUI_MainFrameX2, 330);
    EXPECT_EQ(settings_->GUI_MainFrameY2, 240);
    EXPECT_EQ(settings_->GUI_MainFrameShowCmd, SW_SHOWNORMAL);
    EXPECT_NE(settings_->GUI_MainFrameFlags, -1);
    EXPECT_EQ(settings_->GUI_MainFrameType, 1);
}

TEST_F(MainFrameTest, MaximizingAndRestoringSetTheFrameType) {
    StorePlacement(settings_, kStoredRect, 1);
    HWND hwnd = Create();
    ASSERT_NE(hwnd, nullptr);
    Frame().InitialShow();
    ::ShowWindow(hwnd, SW_MAXIMIZE);
    EXPECT_EQ(settings_->GUI_MainFrameType, 3);
    ::ShowWindow(hwnd, SW_RESTORE);
    EXPECT_EQ(settings_->GUI_MainFrameType, 1);
    ::SendMessageA(hwnd, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    EXPECT_EQ(settings_->GUI_MainFrameType, 3);
    ::ShowWindow(hwnd, SW_MAXIMIZE);
    ::SendMessageA(hwnd, WM_CLOSE, 0, 0);
    EXPECT_EQ(settings_->GUI_MainFrameType, 3);
    const RECT stored{settings_->GUI_MainFrameX1, settings_->GUI_MainFrameY1, settings_->GUI_MainFrameX2,
                      settings_->GUI_MainFrameY2};
    EXPECT_TRUE(::EqualRect(&stored, &kStoredRect)) << "the normal rectangle, not the maximised one";
}

TEST_F(MainFrameTest, ClosingANeverShownWindowStoresAUsableRectangle) {
    HWND hwnd = Create();
    ASSERT_NE(hwnd, nullptr);
    ::SendMessageA(hwnd, WM_CLOSE, 0, 0);
    EXPECT_GT(settings_->GUI_MainFrameX2, settings_->GUI_MainFrameX1);
    EXPECT_GT(settings_->GUI_MainFrameY2, settings_->GUI_MainFrameY1);
    EXPECT_NE(settings_->GUI_MainFrameShowCmd, -1);
}

TEST_F(MainFrameTest, ExitCommandClosesTheWindowThroughItsQueue) {
    HWND hwnd = Create();
    ASSERT_NE(hwnd, nullptr);
    ::SendMessageA(hwnd, WM_COMMAND, ID_APP_EXIT, 0);
    EXPECT_TRUE(::IsWindow(hwnd)) << "Exit posts WM_CLOSE";
    EXPECT_TRUE(PumpUntil([&] { return !::IsWindow(hwnd); }));
    EXPECT_TRUE(Frame().Closing());
}

}  // namespace
