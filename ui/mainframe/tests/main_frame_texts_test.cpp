// The main window with its files beside the program: language packs, the
// bookmark file and the homepage group; the keyboard focus after dialogs,
// and a second start while a dialog is open.
#include "main_frame_fixture.h"

#include "bookmark_store.h"
#include "class_record.h"
#include "dialog_test_driver.h"
#include "framework/program_folder.h"
#include "homepage_group.h"
#include "language.h"
#include "resource.h"
#include "toolbar/skin_toolbar.h"

#include <commctrl.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

using mainframe_test::Pump;
using mainframe_test::PumpUntil;
using testing_support::WriteBytes;

std::string MenuText(HMENU menu, int position) {
    char text[128] = "";
    ::GetMenuStringA(menu, static_cast<UINT>(position), text, sizeof text, MF_BYPOSITION);
    return text;
}

std::string WindowText(HWND window) {
    char text[128] = "";
    ::GetWindowTextA(window, text, sizeof text);
    return text;
}

// The captions of a popup's items, the checked one marked with a '*'.
std::vector<std::string> Items(HMENU popup) {
    std::vector<std::string> items;
    for (int i = 0; i < ::GetMenuItemCount(popup); ++i) {
        const bool checked = (::GetMenuState(popup, static_cast<UINT>(i), MF_BYPOSITION) & MF_CHECKED) != 0;
        items.push_back(MenuText(popup, i) + (checked ? "*" : ""));
    }
    return items;
}

// The frame's bookmark list: its one list-view child.
HWND BookmarkListOf(HWND frame) {
    HWND list = nullptr;
    ::EnumChildWindows(
        frame,
        [](HWND child, LPARAM found) {
            char name[64] = {};
            ::GetClassNameA(child, name, sizeof name);
            if (std::string(name) != WC_LISTVIEWA) return TRUE;
            *reinterpret_cast<HWND*>(found) = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&list));
    return list;
}

std::vector<std::string> ColumnHeaders(HWND frame) {
    const HWND list = BookmarkListOf(frame);
    std::vector<std::string> headers;
    for (int i = 0; list && i < Header_GetItemCount(ListView_GetHeader(list)); ++i) {
        char text[64] = "";
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT;
        column.pszText = text;
        column.cchTextMax = sizeof text;
        ListView_GetColumn(list, i, &column);
        headers.push_back(text);
    }
    return headers;
}

// Language packs, a bookmark file and no settings beside the test program,
// where the frame looks for them; all removed afterwards.
class MainFrameWithFiles : public mainframe_test::MainFrameTest {
protected:
    void SetUp() override {
        MainFrameTest::SetUp();
        std::filesystem::create_directories(folder_ + "Language");
        WriteBytes(folder_ + "Language\\English.ini",
                   "[Info]\r\nLanguage=English\r\nCodepage=1252\r\n"
                   "[menu]\r\n32910P=&File\r\n57665=E&xit\r\n59392P=&View\r\n8888P=&Language\r\n"
                   "32775=Add &Sub-category\r\n[mainframe]\r\n10003=quorva\r\n[bookmarkview]\r\n10000=Title\r\n10001=URL\r\n");
        WriteBytes(folder_ + "Language\\Test.ini",
                   "[Info]\r\nLanguage=Testish\r\nCodepage=1252\r\n"
                   "[menu]\r\n32910P=Fi&le (test)\r\n"
                   "[mainframe]\r\n10003=quorva test\r\n");
        WriteBytes(folder_ + "bookmark.xml",
                   "<?xml version=\"1.0\" encoding=\"utf-8\"?><root>\r\n"
                   "<G t=\"First\"/>\r\n<G t=\"Second\"/>\r\n<G t=\"Third\"/>\r\n</root>\r\n");
    }

    int PackIndex(const char* name) const {
        const auto& packs = CLanguage::Instance()->Packs();
        for (std::size_t i = 0; i < packs.size(); ++i) {
            if (packs[i].name == name) return static_cast<int>(i);
        }
        return -1;
    }
    // The language submenu: the last item of "View".
    HMENU LanguageMenu(HWND) {
        HMENU view = ::GetSubMenu(Frame().MainMenu(), 2);
        return view ? ::GetSubMenu(view, ::GetMenuItemCount(view) - 1) : nullptr;
    }
    HWND Show() {
        HWND hwnd = Create();
        if (!hwnd) return nullptr;
        Frame().InitialShow();
        ::SetForegroundWindow(hwnd);
        Pump();
        return hwnd;
    }

    std::string StatusText() {
        char text[512] = "";
        ::GetWindowTextA(Frame().StatusBar(), text, sizeof text);
        return text;
    }
    bool FileHolds(const std::string& text) const {
        return testing_support::ReadBytes(folder_ + "bookmark.xml").find(text) != std::string::npos;
    }

};

TEST_F(MainFrameWithFiles, ShowsThePackNamedInTheSettingsAndSwitchesFromItsMenu) {
    settings_->General_Language = "english";  // names match in any case
    HWND hwnd = Create();
    ASSERT_NE(hwnd, nullptr);
    HMENU menu = Frame().MainMenu();
    EXPECT_EQ(WindowText(hwnd), "quorva");
    EXPECT_EQ(MenuText(menu, 0), "&File");
    EXPECT_EQ(MenuText(::GetSubMenu(menu, 0), 3), "E&xit");
    EXPECT_EQ(MenuText(menu, 2), "&View");
    HMENU view = ::GetSubMenu(menu, 2);
    ASSERT_EQ(::GetMenuItemCount(view), 9) << "7 items, a separator and the language submenu";
    EXPECT_EQ(MenuText(view, 8), "&Language");

    const int english = PackIndex("English");
    const int test = PackIndex("Test");
    ASSERT_GE(english, 0);
    ASSERT_GE(test, 0);
    std::vector<std::string> expected(2);
    expected[static_cast<std::size_t>(english)] = "English*";
    expected[static_cast<std::size_t>(test)] = "Testish";
    EXPECT_EQ(Items(LanguageMenu(hwnd)), expected);
    EXPECT_EQ(ColumnHeaders(hwnd), (std::vector<std::string>{"Title", "URL"}));

    ::SendMessageA(hwnd, WM_COMMAND, ID_LANGUAGE_FIRST + test, 0);
    // The test pack names no columns: the built-in texts, not English ones.
    EXPECT_EQ(ColumnHeaders(hwnd), (std::vector<std::string>{"标题", "网址"}));
    menu = Frame().MainMenu();
    char caption[64] = "";
    ::SendMessageA(Frame().MenuBar().Hwnd(), TB_GETBUTTONTEXTA, 1, reinterpret_cast<LPARAM>(caption));
    EXPECT_STREQ(caption, "Fi&le (test)") << "the menu bar shows the new texts";
    EXPECT_EQ(WindowText(hwnd), "quorva test");
    EXPECT_EQ(MenuText(menu, 0), "Fi&le (test)");
    // A text the new pack lacks is the built-in one, not the old pack's.
    EXPECT_EQ(MenuText(::GetSubMenu(menu, 0), 3), "退出(&X)");
    expected[static_cast<std::size_t>(english)] = "English";
    expected[static_cast<std::size_t>(test)] = "Testish*";
    EXPECT_EQ(Items(LanguageMenu(hwnd)), expected);

    ::SendMessageA(hwnd, WM_CLOSE, 0, 0);
    EXPECT_EQ(settings_->General_Language, "Test") << "the pack's file name is what is stored";
}

// The popup of the arrow beside "增加分类" speaks the active pack too.
TEST_F(MainFrameWithFiles, TheToolbarArrowsPopupIsTranslated) {
    settings_->General_Language = "English";
    HWND hwnd = Show();
    ASSERT_NE(hwnd, nullptr);
    ASSERT_NE(Frame().ToolBar(), nullptr);
    static std::vector<std::string> items;
    items.clear();
    // The popup runs its own loop: read it from a timer, then close it.
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 200, [](HWND, UINT, UINT_PTR, DWORD) {
        HWND popup = ::FindWindowA("#32768", nullptr);
        if (!popup || !items.empty()) return;
        HMENU menu = reinterpret_cast<HMENU>(::SendMessageA(popup, MN_GETHMENU, 0, 0));
        for (int i = 0; i < ::GetMenuItemCount(menu); ++i) items.push_back(MenuText(menu, i));
        ::EndMenu();
    });
    NMTOOLBARA info{};
    info.hdr.hwndFrom = Frame().ToolBar()->Hwnd();
    info.hdr.idFrom = static_cast<UINT_PTR>(::GetDlgCtrlID(info.hdr.hwndFrom));
    info.hdr.code = TBN_DROPDOWN;
    info.iItem = toolbar::CSkinToolBar::kDropDownCommand;
    ::SendMessageA(hwnd, WM_NOTIFY, info.hdr.idFrom, reinterpret_cast<LPARAM>(&info));
    ::KillTimer(nullptr, timer);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[1], "Add &Sub-category");
}

TEST_F(MainFrameWithFiles, OnlyCommandsTheWindowCanCarryOutAreEnabled) {
    HWND hwnd = Show();
    ASSERT_NE(hwnd, nullptr);
    CBookmarkStore& store = CBookmarkStore::Instance();
    ASSERT_NE(store.Root()->FirstChild(), nullptr);
    EXPECT_TRUE(Frame().CommandEnabled(ID_APP_ABOUT));
    EXPECT_TRUE(Frame().CommandEnabled(ID_CLASS_ADD));
    EXPECT_TRUE(Frame().CommandEnabled(ID_FILE_IMPORT));
    EXPECT_TRUE(Frame().CommandEnabled(ID_FILE_EXPORT)) << "a category is selected";
    EXPECT_TRUE(Frame().CommandEnabled(ID_TOOLS_OPTIONS));
    // The tree has the focus: move up applies to its first category.
    TreeView_SelectItem(::GetFocus(), TreeView_GetRoot(::GetFocus()));
    EXPECT_FALSE(Frame().CommandEnabled(ID_EDIT_MOVEUP));
    EXPECT_TRUE(Frame().CommandEnabled(ID_EDIT_MOVEDOWN));
}

// Real keys reach the tree at start-up and after a dialog, without a click.
TEST_F(MainFrameWithFiles, TheTreeHasTheKeyboardFocusAtStartAndAfterADialog) {
    HWND hwnd = Show();
    ASSERT_NE(hwnd, nullptr);
    HWND tree = ::GetFocus();
    char className[64] = "";
    ::GetClassNameA(tree, className, sizeof className);
    ASSERT_STREQ(className, WC_TREEVIEWA) << "the focus is not in the tree at start-up";
    ASSERT_TRUE(::IsChild(hwnd, tree));
    TreeView_SelectItem(tree, TreeView_GetRoot(tree));

    dialog_test::DialogScript script;
    script.OnDialogWith(IDC_NAME_EDIT, [](HWND d) { dialog_test::Click(d, IDCANCEL); });
    ::PostMessageA(hwnd, WM_COMMAND, ID_CLASS_ADD, 0);
    ASSERT_TRUE(PumpUntil([&] { return script.Finished(); })) << script.Failure();
    ASSERT_TRUE(PumpUntil([&] { return ::GetActiveWindow() == hwnd; }));
    Pump();

    INPUT keys[2]{};
    keys[0].type = keys[1].type = INPUT_KEYBOARD;
    keys[0].ki.wVk = keys[1].ki.wVk = VK_DOWN;
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ASSERT_EQ(::SendInput(2, keys, sizeof(INPUT)), 2u);
    const ClassRecord* second = CBookmarkStore::Instance().Root()->FirstChild()->NextSibling();
    auto selected = [&] {
        TVITEMA item{};
        item.mask = TVIF_PARAM;
        item.hItem = TreeView_GetSelection(tree);
        return item.hItem && TreeView_GetItem(tree, &item) ? reinterpret_cast<ClassRecord*>(item.lParam) : nullptr;
    };
    EXPECT_TRUE(PumpUntil([&] { return selected() == second; })) << "Down did not reach the tree";
}

// F6 and Tab go round the shown panes, Shift the other way; a hidden pane
// is passed over.
TEST_F(MainFrameWithFiles, TheKeyboardGoesRoundThePanes) {
    HWND hwnd = Show();
    ASSERT_NE(hwnd, nullptr);
    HWND tree = ::GetFocus();
    HWND list = BookmarkListOf(hwnd), remark = Frame().RemarkEdit();
    ASSERT_NE(list, nullptr);
    auto focusAfter = [&](std::initializer_list<WORD> held, WORD key, HWND expected) {
        mainframe_test::PressKeys(held, key);
        return mainframe_test::PumpThroughFrameUntil(Frame(), [&] { return ::GetFocus() == expected; });
    };
    EXPECT_TRUE(focusAfter({}, VK_F6, list));
    EXPECT_TRUE(focusAfter({}, VK_F6, remark));
    EXPECT_TRUE(focusAfter({}, VK_F6, tree)) << "round again";
    EXPECT_TRUE(focusAfter({VK_SHIFT}, VK_F6, remark));
    EXPECT_TRUE(focusAfter({}, VK_TAB, tree));
    EXPECT_TRUE(focusAfter({VK_SHIFT}, VK_TAB, remark));
    ::SendMessageA(hwnd, WM_COMMAND, ID_VIEW_REMARKPANE, 0);  // hidden
    EXPECT_TRUE(focusAfter({}, VK_TAB, tree));
    EXPECT_TRUE(focusAfter({}, VK_TAB, list));
    EXPECT_TRUE(focusAfter({}, VK_TAB, tree)) << "the hidden remark pane is passed over";
}

TEST_F(MainFrameWithFiles, ASecondStartBringsTheOpenDialogForward) {
    HWND hwnd = Show();
    ASSERT_NE(hwnd, nullptr);
    HWND foreground = nullptr;
    HWND dialog = nullptr;
    dialog_test::DialogScript script;
    script.OnDialogWith(IDC_VERSION, [&](HWND d) {
        dialog = d;
        // Another program's window comes to the front.
        HWND other = ::CreateWindowExA(0, "STATIC", "another program", WS_POPUP | WS_VISIBLE | WS_CAPTION, 50, 50,
                                       300, 200, nullptr, nullptr, nullptr, nullptr);
        ::SetForegroundWindow(other);
        ::SendMessageA(hwnd, AlreadyRunningMessage(), 0, 0);
        foreground = ::GetForegroundWindow();
        ::DestroyWindow(other);
        dialog_test::Click(d, IDOK);
    });
    ::PostMessageA(hwnd, WM_COMMAND, ID_APP_ABOUT, 0);
    EXPECT_TRUE(PumpUntil([&] { return script.Finished(); })) << script.Failure();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(foreground, dialog) << "the frame is " << hwnd;
}

// A page added to the group is in its file after the next save tick, not
// only when the window closes.
TEST_F(MainFrameWithFiles, AnAddedHomepageIsSavedByTheTimer) {
    HWND hwnd = Show();
    ASSERT_NE(hwnd, nullptr);
    const std::string file = folder_ + "HomepageGroup.xml";
    ASSERT_FALSE(std::filesystem::exists(file));
    CHomepageGroup::Instance().Add("Added", "http://added.example/");
    EXPECT_TRUE(PumpUntil([&] {
        return testing_support::ReadBytes(file).find("u=\"http://added.example/\"") != std::string::npos;
    }));
    EXPECT_TRUE(::IsWindow(hwnd));
    // Saved once the writer's outcome reaches the window, right after the write.
    EXPECT_TRUE(PumpUntil([] { return !CHomepageGroup::Instance().IsModified(); }));
}

// The periodic save (the timer's tick, sent here at once) writes on the
// writer's thread; the window learns the outcome as soon as the write ends:
// a failure is on the status bar and the collection stays modified, and the
// next tick that gets through brings the idle text back.
TEST_F(MainFrameWithFiles, AFailedWriteIsShownWhenItEndsAndTheNextTickSavesTheChange) {
    HWND hwnd = Show();
    ASSERT_NE(hwnd, nullptr);
    const std::string idle = StatusText();
    // A folder where the temporary file would go: the write itself fails.
    std::filesystem::create_directories(folder_ + "bookmark.xml.tmp");
    CBookmarkStore& store = CBookmarkStore::Instance();
    store.AddTopClass("Fourth");
    ::SendMessageA(hwnd, WM_TIMER, 1, 0);
    EXPECT_TRUE(PumpUntil([&] { return StatusText() != idle; }));
    EXPECT_TRUE(store.IsModified());
    EXPECT_FALSE(FileHolds("Fourth"));

    std::filesystem::remove_all(folder_ + "bookmark.xml.tmp");
    ::SendMessageA(hwnd, WM_TIMER, 1, 0);
    EXPECT_TRUE(PumpUntil([&] { return !store.IsModified(); }));
    EXPECT_TRUE(FileHolds("<G t=\"Fourth\"/>"));
    EXPECT_EQ(StatusText(), idle);
}

// Closing right after a tick: the write under way ends first, then what it
// did not hold is saved before the window goes.
TEST_F(MainFrameWithFiles, ClosingRightAfterATickLosesNothing) {
    HWND hwnd = Show();
    ASSERT_NE(hwnd, nullptr);
    CBookmarkStore& store = CBookmarkStore::Instance();
    for (int i = 0; i < 2000; ++i) store.AddTopClass("Before " + std::to_string(i));
    ::SendMessageA(hwnd, WM_TIMER, 1, 0);
    store.AddTopClass("After the tick");
    ::SendMessageA(hwnd, WM_CLOSE, 0, 0);
    EXPECT_FALSE(::IsWindow(hwnd));
    EXPECT_TRUE(FileHolds("<G t=\"Before 1999\"/>"));
    EXPECT_TRUE(FileHolds("<G t=\"After the tick\"/>\r\n</root>"));
}

}  // namespace
