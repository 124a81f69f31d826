// The main window's parts: panes and their toggles, the routing of the
// shared move commands, the menu bar from the keyboard and the mouse,
// prompts and tool tips, the pin, the backup command, and what closing,
// logging off and a running job do to the files.
#include "main_frame_fixture.h"

#include "bookmark_list_view.h"
#include "bookmark_store.h"
#include "dialog_test_driver.h"
#include "framework/program_folder.h"
#include "held_job_host.h"
#include "language.h"
#include "memory_file_system.h"
#include "resource.h"
#include "toolbar/skin_toolbar.h"
#include "transfer_job.h"

#include <commctrl.h>

#include <filesystem>
#include <memory>
#include <string>

namespace {

using dialog_test::DialogScript;
using mainframe_test::Pump;
using mainframe_test::PumpUntil;
using testing_support::ReadBytes;
using testing_support::WriteBytes;

const char kBookmarks[] =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?><root>\r\n"
    "<G t=\"First\">\r\n<a t=\"One\" u=\"http://one.example/\" r=\"line 1\"/>\r\n"
    "<a t=\"Two\" u=\"http://two.example/\" r=\"\"/>\r\n</G>\r\n<G t=\"Second\"/>\r\n</root>\r\n";

class MainFrameParts : public mainframe_test::MainFrameTest {
protected:
    void SetUp() override {
        MainFrameTest::SetUp();
        WriteBytes(File("bookmark.xml"), kBookmarks);
    }
    std::string File(const char* name) const { return folder_ + name; }
    HWND Show() {
        HWND hwnd = Create();
        if (!hwnd) return nullptr;
        ::MoveWindow(hwnd, 20, 20, 760, 560, TRUE);
        Frame().InitialShow();
        ::SetForegroundWindow(hwnd);
        Pump();
        return hwnd;
    }
    HWND Tree() { return ::FindWindowExA(::FindWindowExA(Frame().ClassPane(), nullptr, nullptr, nullptr), nullptr,
                                         WC_TREEVIEWA, nullptr); }
    HWND List() {
        HWND host = Frame().HorizontalSplitter().Pane(0);
        return ::FindWindowExA(host, nullptr, WC_LISTVIEWA, nullptr);
    }
    // The View popup as it shows when opened: its check marks.
    bool ViewChecked(WORD id) {
        HMENU view = ::GetSubMenu(Frame().MainMenu(), 2);
        ::SendMessageA(Frame().Hwnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(view), 2);
        return (::GetMenuState(view, id, MF_BYCOMMAND) & MF_CHECKED) != 0;
    }
    void Command(WORD id, LPARAM lParam = 0) { ::SendMessageA(Frame().Hwnd(), WM_COMMAND, id, lParam); }

};

TEST_F(MainFrameParts, PanesHoldTheViewsAndHideAndShowWithTheirChecks) {
    HWND hwnd = Show();
    ASSERT_NE(hwnd, nullptr);
    ASSERT_NE(Tree(), nullptr);
    ASSERT_NE(List(), nullptr);
    EXPECT_TRUE(::IsChild(Frame().RemarkPane(), Frame().RemarkEdit()));
    EXPECT_EQ(ListView_GetItemCount(List()), 2) << "the first category is shown";
    EXPECT_EQ(dialog_test::Text(Frame().RemarkEdit()), "line 1");
    EXPECT_TRUE(ViewChecked(ID_VIEW_CLASSPANE));
    EXPECT_TRUE(ViewChecked(ID_VIEW_REMARKPANE));
    EXPECT_TRUE(ViewChecked(ID_VIEW_TOOLBAR));
    EXPECT_TRUE(ViewChecked(ID_VIEW_STATUS_BAR));

    // The category pane's close button, with the focus in the tree: Delete
    // afterwards must not delete a category (asked without a question, so
    // that a wrong deletion shows).
    settings_->Other_PromptWhenDelClass = 0;
    settings_->Other_PromptWhenDelBookmark = 0;
    ::SetFocus(Tree());
    Command(ID_PANE_CLOSE, reinterpret_cast<LPARAM>(Frame().ClassPane()));
    EXPECT_FALSE(::IsWindowVisible(Frame().ClassPane()));
    EXPECT_FALSE(ViewChecked(ID_VIEW_CLASSPANE));
    EXPECT_EQ(settings_->GUI_ShowClassView, 0);
    EXPECT_NE(::GetFocus(), Tree());
    ::SendMessageA(::GetFocus(), WM_KEYDOWN, VK_DELETE, 0);
    Pump();
    ASSERT_NE(CBookmarkStore::Instance().Root()->FirstChild(), nullptr);
    EXPECT_NE(CBookmarkStore::Instance().Root()->FirstChild()->NextSibling(), nullptr) << "both categories stay";
    Command(ID_VIEW_CLASSPANE);
    EXPECT_TRUE(::IsWindowVisible(Frame().ClassPane()));
    EXPECT_EQ(settings_->GUI_ShowClassView, 1);

    // Another window's close request hides nothing.
    Command(ID_PANE_CLOSE, reinterpret_cast<LPARAM>(hwnd));
    EXPECT_TRUE(::IsWindowVisible(Frame().ClassPane()));
    EXPECT_TRUE(::IsWindowVisible(Frame().RemarkPane()));

    Command(ID_VIEW_REMARKPANE);
    EXPECT_FALSE(::IsWindowVisible(Frame().RemarkPane()));
    EXPECT_FALSE(ViewChecked(ID_VIEW_REMARKPANE));
    Command(ID_VIEW_STATUS_BAR);
    EXPECT_FALSE(::IsWindowVisible(Frame().StatusBar()));
    EXPECT_EQ(settings_->GUI_ShowStatusBar, 0);
    RECT client{}, list{};
    ::GetClientRect(hwnd, &client);
    ::GetWindowRect(Frame().HorizontalSplitter().Hwnd(), &list);
    ::MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&list), 2);
    EXPECT_EQ(list.bottom, client.bottom) << "the list takes the room of the remark and the status bar";
    Command(ID_VIEW_TOOLBAR);
    EXPECT_FALSE(ViewChecked(ID_VIEW_TOOLBAR));
    EXPECT_FALSE(::IsWindowVisible(Frame().ToolBar()->Hwnd()));
}

TEST_F(MainFrameParts, OpensWithThePanesTheSettingsTurnedOff) {
    settings_->GUI_ShowClassView = 0;
    settings_->GUI_ShowRemarkView = 0;
    settings_->GUI_ShowStatusBar = 0;
    settings_->GUI_VerSplitterPos = 150;
    ASSERT_NE(Show(), nullptr);
    EXPECT_FALSE(::IsWindowVisible(Frame().ClassPane()));
    EXPECT_FALSE(::IsWindowVisible(Frame().RemarkPane()));
    EXPECT_FALSE(::IsWindowVisible(Frame().StatusBar()));
    EXPECT_FALSE(ViewChecked(ID_VIEW_CLASSPANE));
    Command(ID_VIEW_CLASSPANE);
    RECT pane{};
    ::GetWindowRect(Frame().ClassPane(), &pane);
    EXPECT_EQ(pane.right - pane.left, 150) << "shown at the stored position";
}

TEST_F(MainFrameParts, MoveCommandsFollowTheKeyboardFocus) {
    ASSERT_NE(Show(), nullptr);
    // In the list: the first bookmark moves down.
    ::SetFocus(List());
    ListView_SetItemState(List(), 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    Command(ID_EDIT_MOVEDOWN);
    Pump();
    ClassRecord* first = CBookmarkStore::Instance().Root()->FirstChild();
    EXPECT_EQ(first->bookmarks[0]->title, "Two");
    // In the tree: the first category moves down.
    ::SetFocus(Tree());
    Command(ID_EDIT_MOVEDOWN);
    Pump();
    EXPECT_EQ(CBookmarkStore::Instance().Root()->FirstChild()->name, "Second");
    // In the remark edit: nothing.
    ::SetFocus(Frame().RemarkEdit());
    Command(ID_EDIT_MOVEUP);
    Pump();
    EXPECT_EQ(CBookmarkStore::Instance().Root()->FirstChild()->name, "Second");
    EXPECT_EQ(first->bookmarks[0]->title, "Two");
}

TEST_F(MainFrameParts, MenuBarOpensPopupsByMnemonicAndByClick) {
    HWND hwnd = Show();
    ASSERT_NE(hwnd, nullptr);
    // Alt+E through the window's message filter opens "编辑"; Escape closes
    // it. The popup runs its own loop, so the test looks from a timer.
    HMENU seen = nullptr;
    static HMENU* s_seen;
    s_seen = &seen;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR, DWORD) {
        // This thread's own popup: other tests may have menus open too.
        HWND popup = nullptr;
        ::EnumThreadWindows(::GetCurrentThreadId(), [](HWND w, LPARAM found) -> BOOL {
            char name[16] = "";
            ::GetClassNameA(w, name, sizeof name);
            if (std::string(name) != "#32768" || !::IsWindowVisible(w)) return TRUE;
            *reinterpret_cast<HWND*>(found) = w;
            return FALSE;
        }, reinterpret_cast<LPARAM>(&popup));
        if (!popup) return;
        *s_seen = reinterpret_cast<HMENU>(::SendMessageA(popup, MN_GETHMENU, 0, 0));
        ::EndMenu();
    });
    MSG altE{hwnd, WM_SYSKEYDOWN, 'E', 0x20000000, 0, {0, 0}};
    EXPECT_TRUE(loop_.PreTranslateMessage(&altE));
    EXPECT_EQ(seen, ::GetSubMenu(Frame().MainMenu(), 1));

    // A click on "帮助" opens its popup.
    seen = nullptr;
    RECT help{};
    HWND bar = Frame().MenuBar().Hwnd();
    ::SendMessageA(bar, TB_GETITEMRECT, 4, reinterpret_cast<LPARAM>(&help));
    ::SendMessageA(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(help.left + 3, help.top + 3));
    EXPECT_EQ(seen, ::GetSubMenu(Frame().MainMenu(), 4));
    ::KillTimer(nullptr, timer);

    // Alt alone enters keyboard mode; arrows move, Escape leaves.
    MSG altDown{hwnd, WM_SYSKEYDOWN, VK_MENU, 0x20000000, 0, {0, 0}};
    MSG altUp{hwnd, WM_SYSKEYUP, VK_MENU, static_cast<LPARAM>(0xC0000000), 0, {0, 0}};
    loop_.PreTranslateMessage(&altDown);
    EXPECT_TRUE(loop_.PreTranslateMessage(&altUp));
    EXPECT_TRUE(Frame().MenuBar().InKeyboardMode());
    MSG right{hwnd, WM_KEYDOWN, VK_RIGHT, 0, 0, {0, 0}};
    EXPECT_TRUE(loop_.PreTranslateMessage(&right));
    EXPECT_EQ(::SendMessageA(bar, TB_GETHOTITEM, 0, 0), 1);
    MSG escape{hwnd, WM_KEYDOWN, VK_ESCAPE, 0, 0, {0, 0}};
    EXPECT_TRUE(loop_.PreTranslateMessage(&escape));
    EXPECT_FALSE(Frame().MenuBar().InKeyboardMode());
}

TEST_F(MainFrameParts, PromptsAndToolTipsComeFromThePackAndAreCut) {
    const std::string longText(300, 'x');
    std::filesystem::create_directories(folder_ + "Language");
    WriteBytes(folder_ + "Language\\English.ini",
               "[Info]\r\nLanguage=English\r\nCodepage=1252\r\n[message]\r\n32805=Adds a bookmark\\nAdd " + longText +
                   "\r\n32815=no line break\r\n");
    settings_->General_Language = "English";
    HWND hwnd = Show();
    ASSERT_NE(hwnd, nullptr);
    HWND bar = Frame().StatusBar();
    HMENU edit = ::GetSubMenu(Frame().MainMenu(), 1);
    ::SendMessageA(hwnd, WM_MENUSELECT, MAKEWPARAM(32805, MF_HILITE), reinterpret_cast<LPARAM>(edit));
    char text[512] = "";
    ::SendMessageA(bar, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));  // the simple part is 0
    EXPECT_STREQ(text, "Adds a bookmark");
    ::SendMessageA(hwnd, WM_MENUSELECT, MAKEWPARAM(32815, MF_HILITE), reinterpret_cast<LPARAM>(edit));
    ::SendMessageA(bar, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));  // the simple part is 0
    EXPECT_STREQ(text, "") << "no line break, no prompt";
    ::SendMessageA(hwnd, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    EXPECT_FALSE(::SendMessageA(bar, SB_ISSIMPLE, 0, 0));

    // A tool tip that reaches the window: the part after the line break, cut
    // to the record's 80 characters.
    NMTTDISPINFOA narrow{};
    narrow.hdr.hwndFrom = hwnd;
    narrow.hdr.idFrom = 32805;
    narrow.hdr.code = TTN_GETDISPINFOA;
    ::SendMessageA(hwnd, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&narrow));
    EXPECT_EQ(std::string(narrow.lpszText), ("Add " + longText).substr(0, 79));
    NMTTDISPINFOW wide{};
    wide.hdr.hwndFrom = hwnd;
    wide.hdr.idFrom = 32805;
    wide.hdr.code = TTN_GETDISPINFOW;
    ::SendMessageA(hwnd, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&wide));
    EXPECT_EQ(std::wstring(wide.lpszText).size(), 79u);
    // The toolbar's own buttons: their description, from the pack.
    EXPECT_EQ(Frame().ToolBar()->ToolTipOf(32805), "Adds a bookmark");
    EXPECT_EQ(Frame().ToolBar()->ToolTipOf(32910), "导入书签") << "no key: the string table's text";
    EXPECT_EQ(Frame().ToolBar()->ToolTipOf(4242), "");
}

TEST_F(MainFrameParts, ThePinKeepsTheWindowOnTopAndIsNotACaptionDrag) {
    HWND hwnd = Show();
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(Frame().Pin().GetState(), CPinButton::kNormal);
    RECT window{};
    ::GetWindowRect(hwnd, &window);
    const RECT pin = Frame().Pin().Rect();
    const LPARAM at = MAKELPARAM(window.left + pin.left + 8, window.top + pin.top + 8);
    ::SendMessageA(hwnd, WM_NCLBUTTONDOWN, HTCAPTION, at);
    EXPECT_EQ(Frame().Pin().GetState(), CPinButton::kPressed);
    ::SendMessageA(hwnd, WM_NCLBUTTONUP, HTCAPTION, at);
    EXPECT_EQ(Frame().Pin().GetState(), CPinButton::kChecked);
    EXPECT_EQ(settings_->Other_TopMost, 1);
    // WS_EX_TOPMOST itself is not read here: Wine 8 keeps this window (it
    // owns the bars' tool tips) out of the topmost band in this process,
    // whatever the flags; a window of its own in a probe takes it.
    RECT after{};
    ::GetWindowRect(hwnd, &after);
    EXPECT_TRUE(::EqualRect(&window, &after)) << "the window did not move";
    // Under the mouse it stays checked; a second click turns it off.
    ::SendMessageA(hwnd, WM_NCMOUSEMOVE, HTCAPTION, at);
    EXPECT_EQ(Frame().Pin().GetState(), CPinButton::kChecked);
    ::SendMessageA(hwnd, WM_NCLBUTTONDOWN, HTCAPTION, at);
    ::SendMessageA(hwnd, WM_NCLBUTTONUP, HTCAPTION, at);
    EXPECT_EQ(Frame().Pin().GetState(), CPinButton::kNormal);
    EXPECT_EQ(settings_->Other_TopMost, 0);
}

TEST_F(MainFrameParts, BackupSavesFirstAsksBeforeReplacingAndReportsFailures) {
    HWND hwnd = Show();
    ASSERT_NE(hwnd, nullptr);
    const std::string target = folder_ + "Backup\\";
    std::filesystem::create_directories(target);
    Frame().SetFolderPicker([&](HWND) { return target; });
    ClassRecord* first = CBookmarkStore::Instance().Root()->FirstChild();
    first->bookmarks[0]->title = "Changed just now";
    CBookmarkStore::Instance().SetModified(true);

    Command(ID_TOOLS_BACKUP);
    EXPECT_NE(ReadBytes(target + "bookmark.xml").find("Changed just now"), std::string::npos)
        << "the copy holds the change the timer had not saved yet";

    // Already there: No keeps it, Yes replaces it.
    WriteBytes(target + "bookmark.xml", "old backup");
    {
        DialogScript script;
        script.OnMessageBox([](HWND box) { dialog_test::Click(box, IDNO); });
        Command(ID_TOOLS_BACKUP);
        EXPECT_TRUE(script.AllStepsRan()) << script.Failure();
        EXPECT_EQ(ReadBytes(target + "bookmark.xml"), "old backup");
    }
    {
        DialogScript script;
        script.OnMessageBox([](HWND box) { dialog_test::Click(box, IDYES); });
        Command(ID_TOOLS_BACKUP);
        EXPECT_TRUE(script.AllStepsRan()) << script.Failure();
        EXPECT_EQ(ReadBytes(target + "bookmark.xml"), ReadBytes(File("bookmark.xml")));
    }
    // A folder named like the file: the copy fails and says why.
    std::filesystem::remove(target + "bookmark.xml");
    std::filesystem::create_directories(target + "bookmark.xml");
    {
        std::string reported;
        DialogScript script;
        script.OnMessageBox([](HWND box) { dialog_test::Click(box, IDYES); });
        script.OnMessageBox([&](HWND box) {
            reported = dialog_test::MessageBoxText(box);
            dialog_test::Click(box, IDOK);
        });
        Command(ID_TOOLS_BACKUP);
        EXPECT_TRUE(script.AllStepsRan()) << script.Failure();
        EXPECT_FALSE(reported.empty());
        EXPECT_TRUE(std::filesystem::is_directory(target + "bookmark.xml"));
    }
    // The program's own folder: the bookmark file stays whole.
    const std::string before = ReadBytes(File("bookmark.xml"));
    Frame().SetFolderPicker([&](HWND) { return folder_; });
    {
        DialogScript script;
        script.OnMessageBox([](HWND box) { dialog_test::Click(box, IDYES); });
        Command(ID_TOOLS_BACKUP);
        EXPECT_TRUE(script.AllStepsRan()) << script.Failure();
    }
    EXPECT_EQ(ReadBytes(File("bookmark.xml")), before);
}

TEST_F(MainFrameParts, BackupWithoutABookmarkFileSaysSo) {
    std::filesystem::remove(File("bookmark.xml"));
    ASSERT_NE(Show(), nullptr);
    bool picked = false;
    Frame().SetFolderPicker([&](HWND) {
        picked = true;
        return folder_;
    });
    std::string reported;
    DialogScript script;
    script.OnMessageBox([&](HWND box) {
        reported = dialog_test::MessageBoxText(box);
        dialog_test::Click(box, IDOK);
    });
    Command(ID_TOOLS_BACKUP);
    EXPECT_TRUE(script.AllStepsRan()) << script.Failure();
    EXPECT_EQ(reported, "书签文件不存在!");
    EXPECT_FALSE(picked);
}

TEST_F(MainFrameParts, ClosingWaitsForAnOpenDialogAndSavesAreHeldDuringAJob) {
    HWND hwnd = Show();
    ASSERT_NE(hwnd, nullptr);
    // The About box is open: the tray's Exit must not destroy the window.
    bool stayed = false;
    DialogScript script;
    script.OnDialogWith(IDOK, [&](HWND dialog) {
        ::SendMessageA(hwnd, WM_CLOSE, 0, 0);
        stayed = ::IsWindow(hwnd) && ::IsWindow(dialog);
        dialog_test::Click(dialog, IDOK);
    });
    Command(ID_APP_ABOUT);
    EXPECT_TRUE(script.AllStepsRan()) << script.Failure();
    EXPECT_TRUE(stayed);
    ASSERT_TRUE(::IsWindow(hwnd));

    const std::string before = ReadBytes(File("bookmark.xml"));
    CBookmarkStore::Instance().Root()->FirstChild()->bookmarks[0]->title = "During a job";
    CBookmarkStore::Instance().SetModified(true);
    Frame().HoldSaves();
    ::SendMessageA(hwnd, WM_TIMER, 1, 0);
    EXPECT_EQ(ReadBytes(File("bookmark.xml")), before);
    Frame().ReleaseSaves();
    ::SendMessageA(hwnd, WM_TIMER, 1, 0);
    EXPECT_TRUE(PumpUntil([&] { return ReadBytes(File("bookmark.xml")).find("During a job") != std::string::npos; }));
}

TEST_F(MainFrameParts, NothingIsSavedWhileAnImportHoldsTheCollection) {
    HWND hwnd = Show();
    ASSERT_NE(hwnd, nullptr);
    const std::string before = ReadBytes(File("bookmark.xml"));
    CBookmarkStore::Instance().Root()->FirstChild()->bookmarks[0]->title = "Changed before the import";
    CBookmarkStore::Instance().SetModified(true);
    transfer_test::CMemoryFileSystem files;
    files.AddFile("C:\\in.xml", "<?xml version=\"1.0\"?><root><G t=\"Imported\"><a t=\"New\" u=\"http://new.example/\"/></G></root>");
    transfer_test::CHeldJobHost host;
    auto job = std::make_unique<transfer::CTransferJob>(CBookmarkStore::Instance(), files, host);
    ASSERT_TRUE(job->StartImportXml("C:\\in.xml", nullptr));
    // Ticks every 50 ms while the job holds the collection.
    ::SetTimer(hwnd, 1, 50, nullptr);
    const DWORD until = ::GetTickCount() + 400;
    while (::GetTickCount() < until) {
        Pump();
        ::Sleep(10);
    }
    EXPECT_EQ(ReadBytes(File("bookmark.xml")), before) << "untouched until the job is joined";
    host.Release();
    job->Join();  // carries out the worker's requests
    EXPECT_EQ(job->Counts().added, 1u);
    job.reset();
    EXPECT_TRUE(PumpUntil([&] {
        const std::string now = ReadBytes(File("bookmark.xml"));
        return now.find("Changed before the import") != std::string::npos && now.find("Imported") != std::string::npos;
    })) << ReadBytes(File("bookmark.xml"));
}

TEST_F(MainFrameParts, LoggingOffWritesWhatClosingWould) {
    HWND hwnd = Show();
    ASSERT_NE(hwnd, nullptr);
    settings_->Load(File("setting.xml"));  // saved there
    CBookmarkStore::Instance().Root()->FirstChild()->bookmarks[0]->title = "Before log-off";
    CBookmarkStore::Instance().SetModified(true);
    ::SendMessageA(hwnd, WM_ENDSESSION, TRUE, 0);
    EXPECT_NE(ReadBytes(File("bookmark.xml")).find("Before log-off"), std::string::npos);
    EXPECT_NE(ReadBytes(File("setting.xml")).find("<GUI.VerSplitterPos>"), std::string::npos);
}

TEST_F(MainFrameParts, ANeverShownWindowKeepsTheStoredPanePositions) {
    settings_->GUI_VerSplitterPos = 321;
    settings_->GUI_HorSplitterPos = 123;
    ASSERT_NE(Create(), nullptr);
    ::SendMessageA(Frame().Hwnd(), WM_CLOSE, 0, 0);
    EXPECT_EQ(settings_->GUI_VerSplitterPos, 321);
    EXPECT_EQ(settings_->GUI_HorSplitterPos, 123);
}

}  // namespace
