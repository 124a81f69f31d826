// quorva.exe and its tray icon, from outside: the close button hides the
// window to the icon or ends the program, as the settings say.
#include "program_runner.h"
#include "test_support/browser_entry.h"
#include "test_support/temp_dir.h"

#include <gtest/gtest.h>
#include <shellapi.h>

#include <string>

namespace program_test {
namespace {

using testing_support::WriteBytes;

// A stored placement, no first-start questions, and the close button's
// setting; keys in the order the program reads them.
std::string SettingsXml(bool closeToTray) {
    return std::string("<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<settings>\r\n"
                       "<GUI.MainFrameType>1</GUI.MainFrameType>\r\n"
                       "<GUI.MainFrameX1>120</GUI.MainFrameX1>\r\n<GUI.MainFrameY1>90</GUI.MainFrameY1>\r\n"
                       "<GUI.MainFrameX2>620</GUI.MainFrameX2>\r\n<GUI.MainFrameY2>470</GUI.MainFrameY2>\r\n"
                       "<GUI.MainFrameShowCmd>1</GUI.MainFrameShowCmd>\r\n"
                       "<GUI.MainFrameFlags>0</GUI.MainFrameFlags>\r\n<Other.CloseToTray>") +
           (closeToTray ? "1" : "0") +
           "</Other.CloseToTray>\r\n<Other.InDefaultBookmark>0</Other.InDefaultBookmark>\r\n"
           "<Other.InIEBookmark>0</Other.InIEBookmark>\r\n</settings>\r\n";
}

bool ShellHolds(HWND owner) {
    NOTIFYICONDATAA data{};
    data.cbSize = sizeof data;
    data.hWnd = owner;
    data.uID = 128;
    return ::Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}

// A click on the taskbar at icon place `slot` (0 at its right end, where
// the first icon is drawn; each icon takes the small-icon size and a border
// of 2 pixels around it).
void ClickIconPlace(int slot) {
    HWND tray = ::FindWindowA("Shell_TrayWnd", nullptr);
    RECT client{};
    ::GetClientRect(tray, &client);
    const int width = ::GetSystemMetrics(SM_CXSMICON) + 4;
    const LPARAM at = MAKELPARAM(client.right - slot * width - width / 2, (::GetSystemMetrics(SM_CYSMICON) + 4) / 2);
    ::PostMessageA(tray, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::PostMessageA(tray, WM_LBUTTONUP, 0, at);
}

class TrayProgramTest : public testing::Test, public testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        exe_ = dir_.File("quorva.exe");
        ASSERT_TRUE(::CopyFileA(BuiltProgram().c_str(), exe_.c_str(), FALSE)) << BuiltProgram();
        ASSERT_TRUE(testing_support::PointContextMenuAt(dir_.File("")));
    }
    void TearDown() override {
        RunningProgram unregister;
        if (unregister.Start(exe_, "/UnregServer")) unregister.WaitForExit(kTimeoutMs, nullptr);
    }

    testing_support::TempDir dir_;
    std::string exe_;
};

TEST_P(TrayProgramTest, CloseButtonHidesToTheIconOrEndsTheProgram) {
    const bool closeToTray = GetParam();
    WriteBytes(dir_.File("setting.xml"), SettingsXml(closeToTray));
    RunningProgram program;
    ASSERT_TRUE(program.Start(exe_, ""));
    HWND window = program.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(window) != 0; }));
    ASSERT_TRUE(WaitUntil([&] { return ShellHolds(window); })) << "no icon";
    ASSERT_TRUE(::PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0));
    if (!closeToTray) {
        DWORD exitCode = 99;
        ASSERT_TRUE(program.WaitForExit(kTimeoutMs, &exitCode));
        EXPECT_EQ(exitCode, 0u);
        EXPECT_FALSE(ShellHolds(window)) << "the icon outlived the program";
        return;
    }
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindowVisible(window); }));
    EXPECT_FALSE(::IsIconic(window));
    EXPECT_EQ(::WaitForSingleObject(program.Process(), 500), static_cast<DWORD>(WAIT_TIMEOUT)) << "the program ended";
    EXPECT_TRUE(ShellHolds(window));

    // A click on the icon brings it back. Other programs' icons may stand
    // right of it: the places are tried in turn.
    bool back = false;
    for (int slot = 0; slot < 8 && !back; ++slot) {
        ClickIconPlace(slot);
        back = WaitUntil([&] { return ::IsWindowVisible(window) && !::IsIconic(window); }, 1500);
    }
    EXPECT_TRUE(back);

    ASSERT_TRUE(program.Close());
    EXPECT_FALSE(ShellHolds(window));
}

INSTANTIATE_TEST_SUITE_P(Tray, TrayProgramTest, testing::Values(true, false),
                         [](const testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "CloseToTray" : "CloseEnds");
                         });

}  // namespace
}  // namespace program_test
