// The settings dialog from the main window: its commands in the main and
// tray menus, one dialog at a time, and the bookmark list taking its view
// settings again after OK.
#include "main_frame_fixture.h"

#include "dialog_test_driver.h"
#include "framework/program_folder.h"
#include "resource.h"
#include "settings_test_support.h"

#include <commctrl.h>

#include <filesystem>
#include <string>

namespace {

using dialog_test::DialogScript;
using mainframe_test::Pump;
using mainframe_test::PumpUntil;
using testing_support::WriteBytes;

class MainFrameSettings : public mainframe_test::MainFrameTest {
protected:
    void SetUp() override {
        MainFrameTest::SetUp();
        WriteBytes(folder_ + "bookmark.xml",
                   "<?xml version=\"1.0\" encoding=\"utf-8\"?><root>\r\n<G t=\"First\">\r\n"
                   "<a t=\"One\" u=\"http://one.example/\" r=\"\"/>\r\n</G>\r\n</root>\r\n");
    }
    HWND Show() {
        HWND hwnd = Create();
        if (!hwnd) return nullptr;
        ::MoveWindow(hwnd, 20, 20, 760, 560, TRUE);
        Frame().InitialShow();
        ::SetForegroundWindow(hwnd);
        Pump();
        return hwnd;
    }
    HWND List() { return ::FindWindowExA(Frame().HorizontalSplitter().Pane(0), nullptr, WC_LISTVIEWA, nullptr); }

    // The settings dialogs open on this thread.
    static int OpenSheets() {
        int count = 0;
        ::EnumThreadWindows(
            ::GetCurrentThreadId(),
            [](HWND window, LPARAM data) -> BOOL {
                if (::GetDlgItem(window, IDC_OPTIONS_BANNER) && ::IsWindowVisible(window)) ++*reinterpret_cast<int*>(data);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&count));
        return count;
    }

};

// Clicks the check of option `prefix` on the shown page.
void ClickOption(HWND sheet, const char* prefix) {
    HWND tree = settings_test::OptionTree(sheet);
    const settings_test::Item option = settings_test::Find(tree, prefix);
    if (!option.handle) {
        ADD_FAILURE() << "no option " << prefix;
        return;
    }
    settings_test::Click(tree, option.handle);
}

void ShowInterfacePage(HWND sheet) {
    HWND tree = ::GetDlgItem(sheet, IDC_OPTIONS_TREE);
    TreeView_SelectItem(tree, TreeView_GetNextSibling(tree, TreeView_GetRoot(tree)));
}

TEST_F(MainFrameSettings, CommandIsOfferedAndOkMakesTheListTakeItsSettingsAgain) {
    HWND hwnd = Show();
    ASSERT_NE(hwnd, nullptr);
    EXPECT_TRUE(Frame().CommandEnabled(ID_TOOLS_OPTIONS));
    HMENU tools = ::GetSubMenu(Frame().MainMenu(), 3);
    ::SendMessageA(hwnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(tools), 3);
    EXPECT_FALSE(::GetMenuState(tools, ID_TOOLS_OPTIONS, MF_BYCOMMAND) & MF_GRAYED);

    HWND list = List();
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(settings_->GUI_BookmarkViewFullRowSel, 1);
    ASSERT_EQ(settings_->GUI_BoolmarkViewShowLine, 0);
    // The user widened the URL column since the list was made.
    ListView_SetColumnWidth(list, 1, 150);

    // Cancel: the list stays as it is.
    DialogScript cancelled;
    cancelled.OnDialogWith(IDC_OPTIONS_BANNER, [](HWND sheet) {
        ShowInterfacePage(sheet);
        ClickOption(sheet, "显示网格");
        dialog_test::Click(sheet, IDCANCEL);
    });
    ::SendMessageA(hwnd, WM_COMMAND, ID_TOOLS_OPTIONS, 0);
    EXPECT_TRUE(cancelled.AllStepsRan()) << cancelled.Failure();
    EXPECT_FALSE(ListView_GetExtendedListViewStyle(list) & LVS_EX_GRIDLINES);

    DialogScript script;
    script.OnDialogWith(IDC_OPTIONS_BANNER, [](HWND sheet) {
        ShowInterfacePage(sheet);
        ClickOption(sheet, "显示网格");
        ClickOption(sheet, "整行选择");
        dialog_test::Click(sheet, IDOK);
    });
    ::SendMessageA(hwnd, WM_COMMAND, ID_TOOLS_OPTIONS, 0);
    EXPECT_TRUE(script.AllStepsRan()) << script.Failure();
    const DWORD styles = ListView_GetExtendedListViewStyle(list);
    EXPECT_TRUE(styles & LVS_EX_GRIDLINES);
    EXPECT_FALSE(styles & LVS_EX_FULLROWSELECT);
    EXPECT_EQ(ListView_GetColumnWidth(list, 1), 150) << "the width the user gave it stays";

    // The URL column hidden, then shown again with the width it had.
    for (int round = 0; round < 2; ++round) {
        DialogScript toggle;
        toggle.OnDialogWith(IDC_OPTIONS_BANNER, [](HWND sheet) {
            ShowInterfacePage(sheet);
            ClickOption(sheet, "网址");
            dialog_test::Click(sheet, IDOK);
        });
        ::SendMessageA(hwnd, WM_COMMAND, ID_TOOLS_OPTIONS, 0);
        EXPECT_TRUE(toggle.AllStepsRan()) << toggle.Failure();
        EXPECT_EQ(ListView_GetColumnWidth(list, 1), round == 0 ? 0 : 150) << round;
    }
}

// A second request while the dialog is open, from the tray (the window is
// disabled) or with the dialog over another window (the window is not),
// only brings the one dialog forward.
TEST_F(MainFrameSettings, ASecondRequestBringsTheOpenDialogForward) {
    HWND hwnd = Show();
    ASSERT_NE(hwnd, nullptr);
    for (const bool overOtherWindow : {false, true}) {
        HWND other = nullptr;
        if (overOtherWindow) {
            other = ::CreateWindowExA(0, "STATIC", "other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200,
                                      nullptr, nullptr, nullptr, nullptr);
            ASSERT_NE(other, nullptr);
            ::SetForegroundWindow(other);
            ::SetActiveWindow(other);
            Pump();
        }
        int sheetsAfter = 0;
        bool frameEnabled = false;
        HWND owner = nullptr, foreground = nullptr, sheetSeen = nullptr;
        DialogScript script;
        script.OnDialogWith(IDC_OPTIONS_BANNER, [&](HWND sheet) {
            sheetSeen = sheet;
            owner = ::GetWindow(sheet, GW_OWNER);
            frameEnabled = ::IsWindowEnabled(hwnd) != FALSE;
            ::SetForegroundWindow(hwnd);
            ::SendMessageA(hwnd, WM_COMMAND, ID_TOOLS_OPTIONS, 0);
            ::SendMessageA(hwnd, WM_COMMAND, ID_TOOLS_OPTIONS, 0);
            Pump();
            sheetsAfter = OpenSheets();
            foreground = ::GetForegroundWindow();
            dialog_test::Click(sheet, IDCANCEL);
        });
        ::SendMessageA(hwnd, WM_COMMAND, ID_TOOLS_OPTIONS, 0);
        EXPECT_TRUE(script.AllStepsRan()) << script.Failure();
        EXPECT_EQ(owner, overOtherWindow ? other : hwnd) << overOtherWindow;
        EXPECT_EQ(frameEnabled, overOtherWindow);
        EXPECT_EQ(sheetsAfter, 1) << overOtherWindow;
        EXPECT_EQ(foreground, sheetSeen) << overOtherWindow;
        EXPECT_EQ(OpenSheets(), 0);
        if (other) ::DestroyWindow(other);
        Pump();
    }
}

}  // namespace
