// The main window and its tray icon, through the desktop's real taskbar:
// clicks and the menu relayed by the shell, hiding instead of minimising and
// closing, the taskbar coming back, and an open dialog.
#include "main_frame_fixture.h"
#include "tray_driver.h"

#include "dialog_test_driver.h"
#include "framework/program_folder.h"
#include "language.h"
#include "resource.h"
#include "tray_icon.h"

#include <shellapi.h>

#include <filesystem>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace {

using dialog_test::DialogScript;
using mainframe_test::Pump;
using mainframe_test::PumpUntil;
using testing_support::WriteBytes;
using tray_test::ShellHolds;

constexpr RECT kStoredRect{100, 80, 600, 450};

const char kBookmarks[] =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?><root>\r\n"
    "<G t=\"First\">\r\n<a t=\"One\" u=\"http://one.example/\" r=\"\"/>\r\n</G>\r\n</root>\r\n";

bool Shown(HWND hwnd) { return ::IsWindowVisible(hwnd) && !::IsIconic(hwnd); }

class MainFrameTray : public mainframe_test::MainFrameTest {
protected:
    void SetUp() override {
        MainFrameTest::SetUp();
        WriteBytes(folder_ + "bookmark.xml", kBookmarks);
        settings_->GUI_MainFrameType = 1;
        settings_->GUI_MainFrameX1 = kStoredRect.left;
        settings_->GUI_MainFrameY1 = kStoredRect.top;
        settings_->GUI_MainFrameX2 = kStoredRect.right;
        settings_->GUI_MainFrameY2 = kStoredRect.bottom;
        settings_->GUI_MainFrameShowCmd = SW_SHOWNORMAL;
        settings_->GUI_MainFrameFlags = 0;
    }
    void TearDown() override {
        driver_.reset();
        MainFrameTest::TearDown();
        tray::CTrayIcon::SetNotifyFunction({});
    }

    // Creates the window (shown unless `hidden`) and finds its icon in the
    // notification area.
    HWND Start(bool hidden = false) {
        settings_->StartHidden = hidden;
        HWND hwnd = Create();
        if (!hwnd) return nullptr;
        Frame().InitialShow();
        if (!hidden) ::SetForegroundWindow(hwnd);
        Pump();
        icon_ = tray_test::IconOfThisThread(Callback());
        return hwnd;
    }
    UINT Callback() const { return ::RegisterWindowMessageA("WM_TRAYICON"); }
    // Clicks and waits until the shell has passed the click on.
    void ClickAndWait(const tray_test::ShellIcon& icon) {
        tray_test::RelayWatch relays(Callback());
        tray_test::Click(icon);
        EXPECT_TRUE(PumpUntil([&] { return relays.Count(WM_LBUTTONUP) == 1; }));
    }
    // Opens the menu with a right click, reads it and closes it.
    tray_test::MenuDriver& OpenMenu(const tray_test::ShellIcon& icon) {
        driver_ = std::make_unique<tray_test::MenuDriver>();
        tray_test::RightClick(icon);
        EXPECT_TRUE(PumpUntil([&] { return driver_->Done(); })) << "the menu did not open";
        Pump();
        return *driver_;
    }
    void BroadcastTaskbarCreated() {
        DWORD_PTR result = 0;
        ::SendMessageTimeoutA(HWND_BROADCAST, ::RegisterWindowMessageA("TaskbarCreated"), 0, 0, SMTO_ABORTIFHUNG,
                              2000, &result);
        Pump();
    }
    void UseLanguagePack(const std::string& text) {
        std::filesystem::create_directories(folder_ + "Language");
        WriteBytes(folder_ + "Language\\English.ini", text);
        settings_->General_Language = "English";
    }

    tray_test::ShellIcon icon_;
    int adds_ = 0;  // the icon's adds, counted by a test's replacement of the shell
    std::unique_ptr<tray_test::MenuDriver> driver_;
};

TEST_F(MainFrameTray, IconLivesFromCreationToClosingWithItsTip) {
    HWND hwnd = Start();
    ASSERT_NE(hwnd, nullptr);
    ASSERT_TRUE(icon_) << "no icon of this window in the notification area";
    EXPECT_TRUE(ShellHolds(hwnd));
    const NOTIFYICONDATAA& data = Frame().Tray()->IconData();
    EXPECT_EQ(data.cbSize, sizeof(NOTIFYICONDATAA));
    EXPECT_EQ(data.hWnd, hwnd);
    EXPECT_EQ(data.uID, 128u);
    EXPECT_EQ(data.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
    EXPECT_EQ(data.uCallbackMessage, Callback());
    EXPECT_EQ(tray_test::HoverTip(icon_), "岚舟链匣");

    ::SendMessageA(hwnd, WM_CLOSE, 0, 0);
    EXPECT_FALSE(::IsWindow(hwnd));
    EXPECT_FALSE(ShellHolds(hwnd));
    EXPECT_TRUE(tray_test::IconsOfThisThread(Callback()).empty());
}

class ClickToggles : public MainFrameTray, public testing::WithParamInterface<bool> {};

TEST_P(ClickToggles, AVisibleWindowHidesAndComesBackAsItWas) {
    const bool maximized = GetParam();
    HWND hwnd = Start();
    ASSERT_TRUE(icon_);
    if (maximized) ::ShowWindow(hwnd, SW_MAXIMIZE);
    ASSERT_TRUE(PumpUntil([&] { return ::IsZoomed(hwnd) == (maximized ? TRUE : FALSE); }));
    RECT before{};
    ::GetWindowRect(hwnd, &before);

    ClickAndWait(icon_);
    EXPECT_FALSE(::IsWindowVisible(hwnd));
    EXPECT_TRUE(ShellHolds(hwnd));

    ClickAndWait(icon_);
    EXPECT_TRUE(Shown(hwnd));
    EXPECT_EQ(::IsZoomed(hwnd) != 0, maximized);
    RECT after{};
    ::GetWindowRect(hwnd, &after);
    EXPECT_TRUE(::EqualRect(&before, &after));
    EXPECT_EQ(::GetForegroundWindow(), hwnd);
}

INSTANTIATE_TEST_SUITE_P(Tray, ClickToggles, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "Maximized" : "Normal");
                         });

TEST_F(MainFrameTray, ADoubleClickTogglesOnce) {
    HWND hwnd = Start();
    ASSERT_TRUE(icon_);
    {
        tray_test::RelayWatch relays(Callback());
        for (UINT m : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}) tray_test::PostMouse(icon_, m);
        ASSERT_TRUE(PumpUntil([&] { return relays.Count(WM_LBUTTONUP) == 2; }));
    }
    EXPECT_FALSE(::IsWindowVisible(hwnd)) << "hidden and shown again by one double-click";
    ClickAndWait(icon_);
    EXPECT_TRUE(Shown(hwnd)) << "a single click after a double-click toggles";
}

TEST_F(MainFrameTray, FirstShowAfterAHiddenStartPlacesBothSplitters) {
    settings_->GUI_VerSplitterPos = 137;
    settings_->GUI_HorSplitterPos = 181;
    HWND hwnd = Start(true);
    ASSERT_TRUE(icon_);
    ASSERT_FALSE(::IsWindowVisible(hwnd));
    EXPECT_FALSE(Frame().ShownOnce());
    ClickAndWait(icon_);
    ASSERT_TRUE(Shown(hwnd));
    EXPECT_TRUE(Frame().ShownOnce());
    EXPECT_EQ(Frame().VerticalSplitter().Position(), 137);
    EXPECT_EQ(Frame().HorizontalSplitter().Position(), 181);
}

TEST_F(MainFrameTray, MinimisingHidesTheWindowAndKeepsItsPlacement) {
    HWND hwnd = Start();
    ASSERT_TRUE(icon_);
    ::MoveWindow(hwnd, 140, 90, 520, 400, TRUE);
    Pump();

    ::SendMessageA(hwnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_FALSE(::IsWindowVisible(hwnd));
    EXPECT_FALSE(::IsIconic(hwnd)) << "hidden, not minimised to the taskbar";
    EXPECT_EQ(Frame().Placement().rcNormalPosition.left, 140);
    EXPECT_EQ(Frame().Placement().rcNormalPosition.right, 660);
    EXPECT_EQ(static_cast<int>(Frame().Placement().showCmd), SW_SHOWNORMAL);
    ClickAndWait(icon_);
    EXPECT_TRUE(Shown(hwnd));

    // Minimised some other way: hidden at once, and a click restores it.
    ::ShowWindow(hwnd, SW_MINIMIZE);
    EXPECT_FALSE(::IsWindowVisible(hwnd));
    ClickAndWait(icon_);
    EXPECT_TRUE(Shown(hwnd));
    RECT r{};
    ::GetWindowRect(hwnd, &r);
    EXPECT_EQ(r.left, 140);
    EXPECT_EQ(r.bottom, 490);
}

class CloseButton : public MainFrameTray, public testing::WithParamInterface<bool> {};

TEST_P(CloseButton, HidesToTheTrayOrClosesAsTheSettingSays) {
    const bool toTray = GetParam();
    settings_->Other_CloseToTray = toTray ? 1 : 0;
    HWND hwnd = Start();
    ASSERT_TRUE(icon_);
    ::SendMessageA(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    Pump();
    EXPECT_EQ(::IsWindow(hwnd) != 0, toTray);
    EXPECT_FALSE(::IsWindowVisible(hwnd));
    EXPECT_EQ(ShellHolds(hwnd), toTray);
    if (toTray) {
        EXPECT_FALSE(::IsIconic(hwnd));
        EXPECT_FALSE(Frame().Closing());
    }
}

INSTANTIATE_TEST_SUITE_P(Tray, CloseButton, testing::Values(true, false),
                         [](const testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "CloseToTray" : "Closes");
                         });

TEST_F(MainFrameTray, TheTaskbarComingBackBringsTheIconBackWithItsTip) {
    HWND hwnd = Start();
    ASSERT_TRUE(icon_);
    // The taskbar lost the icon, as a restarted shell would.
    NOTIFYICONDATAA data{};
    data.cbSize = sizeof data;
    data.hWnd = hwnd;
    data.uID = 128;
    ASSERT_TRUE(::Shell_NotifyIconA(NIM_DELETE, &data));
    ASSERT_FALSE(ShellHolds(hwnd));

    BroadcastTaskbarCreated();
    ASSERT_TRUE(PumpUntil([&] { return ShellHolds(hwnd); }));
    const tray_test::ShellIcon icon = tray_test::IconOfThisThread(Callback());
    ASSERT_TRUE(icon);
    EXPECT_EQ(tray_test::HoverTip(icon), "岚舟链匣");
    EXPECT_TRUE(Frame().Tray()->Installed());

    // Still held: it is replaced, not doubled.
    BroadcastTaskbarCreated();
    EXPECT_TRUE(ShellHolds(hwnd));
    const std::vector<tray_test::ShellIcon> icons = tray_test::IconsOfThisThread(Callback());
    ASSERT_EQ(icons.size(), 1u);
    ClickAndWait(icons.front());
    EXPECT_FALSE(::IsWindowVisible(hwnd)) << "the new icon's click reaches the window";
}

TEST_F(MainFrameTray, WithoutAnIconTheWindowStaysOnTheTaskbarUntilTheTaskbarComes) {
    settings_->Other_CloseToTray = 1;
    tray::CTrayIcon::SetNotifyFunction([this](DWORD message, NOTIFYICONDATAA* data) -> BOOL {
        if (message == NIM_ADD && ++adds_ == 1) return FALSE;  // no taskbar yet
        return ::Shell_NotifyIconA(message, data);
    });
    HWND hwnd = Start();
    ASSERT_NE(hwnd, nullptr);
    EXPECT_FALSE(icon_);
    EXPECT_FALSE(Frame().Tray()->Installed());
    EXPECT_FALSE(ShellHolds(hwnd));

    ::SendMessageA(hwnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(::IsWindowVisible(hwnd));
    EXPECT_TRUE(::IsIconic(hwnd)) << "minimised to the taskbar, where it can be found";
    ::ShowWindow(hwnd, SW_RESTORE);
    ::SendMessageA(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(::IsWindow(hwnd));
    EXPECT_TRUE(::IsWindowVisible(hwnd));
    EXPECT_TRUE(::IsIconic(hwnd));
    ::ShowWindow(hwnd, SW_RESTORE);

    BroadcastTaskbarCreated();
    ASSERT_TRUE(PumpUntil([&] { return ShellHolds(hwnd); }));
    EXPECT_TRUE(Frame().Tray()->Installed());
    EXPECT_EQ(adds_, 2);
    const tray_test::ShellIcon icon = tray_test::IconOfThisThread(Callback());
    ASSERT_TRUE(icon);
    EXPECT_EQ(tray_test::HoverTip(icon), "岚舟链匣");
    ::SendMessageA(hwnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_FALSE(::IsWindowVisible(hwnd)) << "with the icon there, minimising hides";
}

TEST_F(MainFrameTray, MenuKeepsItsOwnTextsAndEachItemRunsItsCommand) {
    UseLanguagePack(
        "[Info]\r\nLanguage=English\r\nCodepage=1252\r\n[mainframe]\r\n10003=quorva\r\n"
        "[menu]\r\n32780=Show/Hide Window\r\n32790=&Options...\r\n57664=&About quorva...\r\n57665=E&xit\r\n");
    HWND hwnd = Start();
    ASSERT_TRUE(icon_);
    EXPECT_EQ(tray_test::HoverTip(icon_), "quorva") << "the tip is the pack's";

    tray_test::MenuDriver& menu = OpenMenu(icon_);
    const std::vector<std::pair<UINT, std::string>> expected = {
        {32780, "显示/隐藏界面"}, {0, ""}, {32790, "系统设置"}, {57664, "关于(&A)..."}, {0, ""}, {57665, "退出(&X)"}};
    ASSERT_EQ(menu.Items().size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(menu.Items()[i].id, expected[i].first) << i;
        EXPECT_EQ(menu.Items()[i].text, expected[i].second) << i;
        EXPECT_FALSE(menu.Items()[i].grayed) << i;
    }
    EXPECT_EQ(menu.DefaultItem(), 32780u);
    EXPECT_TRUE(Shown(hwnd)) << "closing the menu changes nothing";

    // Each item's command as the menu posts it when chosen.
    ::PostMessageA(hwnd, WM_COMMAND, ID_TRAY_SHOWHIDE, 0);
    EXPECT_TRUE(PumpUntil([&] { return !::IsWindowVisible(hwnd); })) << "show/hide hid the window";
    ::PostMessageA(hwnd, WM_COMMAND, ID_TRAY_SHOWHIDE, 0);
    EXPECT_TRUE(PumpUntil([&] { return Shown(hwnd); }));
    EXPECT_TRUE(Frame().CommandEnabled(ID_TOOLS_OPTIONS));

    bool aboutShown = false;
    DialogScript script;
    script.OnDialogWith(IDOK, [&](HWND dialog) {
        aboutShown = true;
        dialog_test::Click(dialog, IDOK);
    });
    ::SendMessageA(hwnd, WM_COMMAND, ID_APP_ABOUT, 0);
    EXPECT_TRUE(script.AllStepsRan()) << script.Failure();
    EXPECT_TRUE(aboutShown);

    // Exit ends the program even when the close button only hides it.
    settings_->Other_CloseToTray = 1;
    ::PostMessageA(hwnd, WM_COMMAND, ID_APP_EXIT, 0);
    EXPECT_TRUE(PumpUntil([&] { return !::IsWindow(hwnd); })) << "exit closes the window";
    EXPECT_FALSE(ShellHolds(hwnd));
}

TEST_F(MainFrameTray, UnderAnOpenDialogTheIconOnlyBringsTheDialogForward) {
    HWND hwnd = Start();
    ASSERT_TRUE(icon_);
    HWND other = ::CreateWindowExA(0, "STATIC", "another program", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                                   nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(other, nullptr);
    // The dialog belongs to the main window, the active one.
    ::SetForegroundWindow(hwnd);
    ASSERT_TRUE(PumpUntil([&] { return ::GetActiveWindow() == hwnd; }));
    int dialogs = 0;
    bool checked = false;
    DialogScript script;
    script.OnDialogWith(IDOK, [&](HWND dialog) {
        auto countDialogs = [] {
            int n = 0;
            ::EnumThreadWindows(
                ::GetCurrentThreadId(),
                [](HWND w, LPARAM count) -> BOOL {
                    char name[16] = "";
                    ::GetClassNameA(w, name, sizeof name);
                    if (std::string(name) == "#32770" && ::IsWindowVisible(w)) ++*reinterpret_cast<int*>(count);
                    return TRUE;
                },
                reinterpret_cast<LPARAM>(&n));
            return n;
        };
        auto otherInFront = [&] {
            ::SetForegroundWindow(other);
            return PumpUntil([&] { return ::GetForegroundWindow() == other; });
        };
        EXPECT_FALSE(::IsWindowEnabled(hwnd));
        EXPECT_TRUE(otherInFront());
        ClickAndWait(icon_);
        EXPECT_EQ(::GetForegroundWindow(), dialog) << "the click brings the dialog forward";
        EXPECT_TRUE(Shown(hwnd)) << "and leaves the window alone";

        // Each command of the tray menu only brings the dialog forward.
        for (UINT command : {ID_APP_EXIT, ID_APP_ABOUT, ID_TRAY_SHOWHIDE, ID_TOOLS_OPTIONS}) {
            EXPECT_TRUE(otherInFront());
            ::PostMessageA(hwnd, WM_COMMAND, command, 0);
            EXPECT_TRUE(PumpUntil([&] { return ::GetForegroundWindow() == dialog; })) << command;
            EXPECT_TRUE(::IsWindow(dialog)) << command;
            EXPECT_TRUE(Shown(hwnd)) << command;
            EXPECT_EQ(countDialogs(), 1) << command;
        }
        dialogs = countDialogs();
        checked = true;
        dialog_test::Click(dialog, IDOK);
    });
    ::SendMessageA(hwnd, WM_COMMAND, ID_APP_ABOUT, 0);
    EXPECT_TRUE(script.AllStepsRan()) << script.Failure();
    EXPECT_TRUE(checked);
    EXPECT_EQ(dialogs, 1);
    Pump();
    EXPECT_TRUE(::IsWindow(hwnd)) << "the exit chosen under the dialog did not close the window later";
    ::DestroyWindow(other);
}

// A pack's tip longer than the icon's field is cut between characters.
TEST_F(MainFrameTray, ALongTipIsCutBetweenCharacters) {
    std::string tip;
    while (tip.size() < 300) tip += "岚舟链匣";
    UseLanguagePack("[Info]\r\nLanguage=English\r\nCodepage=936\r\n[mainframe]\r\n10003=" + tip + "\r\n");
    HWND hwnd = Start();
    ASSERT_NE(hwnd, nullptr);
    const std::string held = Frame().Tray()->IconData().szTip;
    EXPECT_EQ(held, tip.substr(0, 126));
    ASSERT_TRUE(icon_);
    EXPECT_EQ(tray_test::HoverTip(icon_), held);
}

}  // namespace
