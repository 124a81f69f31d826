// The floating drop window in the main window: where it opens, its menu and
// the View command, what it does with drops, and what happens without its
// picture or once the list is gone.
#include "main_frame_fixture.h"

#include "bookmark_store.h"
#include "dialog_test_driver.h"
#include "framework/program_folder.h"
#include "resource.h"
#include "test_data_object.h"

#include <ole2.h>
#include <shlobj.h>

#include <algorithm>
#include <filesystem>

namespace {

using mainframe_test::Pump;
using mainframe_test::PumpUntil;
using testing_support::WriteBytes;

const char kBookmarks[] =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?><root>\r\n"
    "<G t=\"First\">\r\n<a t=\"One\" u=\"http://one.example/\" r=\"\"/>\r\n</G>\r\n</root>\r\n";
const char kEmpty[] = "<?xml version=\"1.0\" encoding=\"utf-8\"?><root>\r\n</root>\r\n";

// Answers the next popup menu of this thread with Down and Enter.
class ChooseFirstItem {
public:
    ChooseFirstItem() {
        current_ = this;
        hook_ = ::SetWindowsHookExA(WH_CALLWNDPROCRET, Hook, nullptr, ::GetCurrentThreadId());
    }
    ~ChooseFirstItem() {
        ::UnhookWindowsHookEx(hook_);
        current_ = nullptr;
    }
    bool answered = false;

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
        const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
        if (code == HC_ACTION && current_ && !current_->answered && call->message == WM_ENTERIDLE &&
            call->wParam == MSGF_MENU) {
            current_->answered = true;
            const HWND menu = reinterpret_cast<HWND>(call->lParam);
            for (WPARAM key : {VK_DOWN, VK_RETURN}) {
                ::PostMessageA(menu, WM_KEYDOWN, key, 1);
                ::PostMessageA(menu, WM_KEYUP, key, 0xC0000001);
            }
        }
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static ChooseFirstItem* current_;
    HHOOK hook_ = nullptr;
};
ChooseFirstItem* ChooseFirstItem::current_ = nullptr;

class DropWindowTest : public mainframe_test::MainFrameTest {
protected:
    void SetUp() override {
        MainFrameTest::SetUp();
        ::OleInitialize(nullptr);
        WriteBytes(folder_ + "bookmark.xml", kBookmarks);
    }
    void TearDown() override {
        MainFrameTest::TearDown();
        std::error_code ec;
        std::filesystem::remove(folder_ + "dropped.url", ec);
        ::OleUninitialize();
    }
    HWND Show() {
        HWND hwnd = Create();
        if (!hwnd) return nullptr;
        ::MoveWindow(hwnd, 20, 20, 760, 560, TRUE);
        Frame().InitialShow();
        Pump();
        return hwnd;
    }
    bool ViewChecked() {
        HMENU view = ::GetSubMenu(Frame().MainMenu(), 2);
        ::SendMessageA(Frame().Hwnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(view), 2);
        return (::GetMenuState(view, ID_VIEW_DRAGWINDOW, MF_BYCOMMAND) & MF_CHECKED) != 0;
    }
    POINT TopLeft(HWND window) {
        RECT rect{};
        ::GetWindowRect(window, &rect);
        return {rect.left, rect.top};
    }
    IDropTarget* RegisteredTarget(HWND window) {
        auto* unknown = static_cast<IUnknown*>(::GetPropA(window, "OleDropTargetInterface"));
        IDropTarget* drop = nullptr;
        if (unknown) unknown->QueryInterface(IID_IDropTarget, reinterpret_cast<void**>(&drop));
        return drop;
    }
    std::vector<std::string> UrlsOf(const char* category) {
        CBookmarkStore& store = CBookmarkStore::Instance();
        std::vector<std::string> urls;
        if (ClassRecord* c = store.FindChildClass(store.Root(), category, nullptr)) {
            for (const BookmarkRecord* b : c->bookmarks) urls.push_back(b->url);
        }
        return urls;
    }

};

TEST_F(DropWindowTest, OpensWhereItWasHidesThroughItsMenuAndComesBackInPlace) {
    settings_->GUI_ShowDragWindow = 1;
    settings_->GUI_DragWindowX1 = 300;
    settings_->GUI_DragWindowY1 = 200;
    ASSERT_NE(Show(), nullptr);
    HWND drop = Frame().DropWindow();
    ASSERT_NE(drop, nullptr);
    EXPECT_EQ(TopLeft(drop).x, 300);
    EXPECT_EQ(TopLeft(drop).y, 200);
    RECT rect{};
    ::GetClientRect(drop, &rect);
    EXPECT_EQ(rect.right, 32) << "the picture's size";
    EXPECT_EQ(rect.bottom, 32);
    EXPECT_EQ(::GetWindow(drop, GW_OWNER), Frame().Hwnd());
    EXPECT_TRUE(::GetWindowLongA(drop, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    EXPECT_EQ(::GetWindowLongA(drop, GWL_STYLE) & (WS_POPUP | WS_VISIBLE), static_cast<LONG>(WS_POPUP | WS_VISIBLE));
    EXPECT_TRUE(ViewChecked());

    // Shown again from the View menu, it leaves the main window active.
    ::SetForegroundWindow(Frame().Hwnd());
    Pump();
    ::SendMessageA(Frame().Hwnd(), WM_COMMAND, ID_VIEW_DRAGWINDOW, 0);
    ::SendMessageA(Frame().Hwnd(), WM_COMMAND, ID_VIEW_DRAGWINDOW, 0);
    drop = Frame().DropWindow();
    ASSERT_NE(drop, nullptr);
    EXPECT_EQ(::GetActiveWindow(), Frame().Hwnd());

    ::SetWindowPos(drop, nullptr, 340, 260, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    {
        ChooseFirstItem answer;
        ::SendMessageA(drop, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(drop), MAKELPARAM(350, 270));
        EXPECT_TRUE(answer.answered) << "the popup opened";
    }
    ASSERT_TRUE(PumpUntil([&] { return Frame().DropWindow() == nullptr; })) << "隐藏 hides it";
    EXPECT_FALSE(::IsWindow(drop));
    EXPECT_EQ(settings_->GUI_ShowDragWindow, 0);
    EXPECT_EQ(settings_->GUI_DragWindowX1, 340);
    EXPECT_EQ(settings_->GUI_DragWindowY1, 260);
    EXPECT_FALSE(ViewChecked());

    ::SendMessageA(Frame().Hwnd(), WM_COMMAND, ID_VIEW_DRAGWINDOW, 0);
    ASSERT_NE(Frame().DropWindow(), nullptr);
    EXPECT_EQ(TopLeft(Frame().DropWindow()).x, 340) << "back where it was hidden";
    EXPECT_EQ(TopLeft(Frame().DropWindow()).y, 260);
    EXPECT_EQ(settings_->GUI_ShowDragWindow, 1);

    // Closing keeps it shown for the next start, at its last place.
    ::SetWindowPos(Frame().DropWindow(), nullptr, 400, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::SendMessageA(Frame().Hwnd(), WM_CLOSE, 0, 0);
    Pump();
    EXPECT_EQ(settings_->GUI_ShowDragWindow, 1);
    EXPECT_EQ(settings_->GUI_DragWindowX1, 400);
    EXPECT_EQ(settings_->GUI_DragWindowY1, 300);
}

TEST_F(DropWindowTest, WithoutItsPictureNoWindowIsMadeAndNothingSaysItIsShown) {
    ASSERT_NE(Show(), nullptr);
    Frame().SetDropWindowPictureModule(::GetModuleHandleA("kernel32.dll"));
    ::SendMessageA(Frame().Hwnd(), WM_COMMAND, ID_VIEW_DRAGWINDOW, 0);
    EXPECT_EQ(Frame().DropWindow(), nullptr);
    EXPECT_EQ(settings_->GUI_ShowDragWindow, 0);
    EXPECT_FALSE(ViewChecked());
}

TEST_F(DropWindowTest, DropsReachTheListAsCopiesAndAreRefusedOnceItIsGone) {
    settings_->GUI_ShowDragWindow = 1;
    settings_->Other_DisplayAddBookmarkDlg = 0;
    ASSERT_NE(Show(), nullptr);
    IDropTarget* target = RegisteredTarget(Frame().DropWindow());
    ASSERT_NE(target, nullptr);

    // A link with its title, from a browser: copied, never moved.
    classtree_test::TestData link;
    link.blocks[CF_TEXT] = std::string("http://text.example/\0", 21);
    FILEGROUPDESCRIPTORA descriptor{};
    descriptor.cItems = 1;
    lstrcpyA(descriptor.fgd[0].cFileName, "Text site.url");
    link.blocks[static_cast<CLIPFORMAT>(::RegisterClipboardFormatA(CFSTR_FILEDESCRIPTORA))] =
        std::string(reinterpret_cast<const char*>(&descriptor), sizeof descriptor);
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
    const POINTL at{10, 10};
    EXPECT_EQ(target->DragEnter(&link, 0, at, &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
    effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    EXPECT_EQ(target->Drop(&link, 0, at, &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY)) << "a move would make the source delete its link";

    // A shortcut file from the Favorites, and a descriptor cut short.
    WriteBytes(folder_ + "dropped.url", "[InternetShortcut]\r\nURL=http://file.example/\r\n");
    std::wstring files(folder_.begin(), folder_.end());
    files += L"dropped.url";
    files += L'\0';
    files += L'\0';
    DROPFILES header{};
    header.pFiles = sizeof header;
    header.fWide = TRUE;
    classtree_test::TestData shortcut;
    shortcut.blocks[CF_HDROP] = std::string(reinterpret_cast<const char*>(&header), sizeof header) +
                                std::string(reinterpret_cast<const char*>(files.data()), files.size() * sizeof(wchar_t));
    effect = DROPEFFECT_MOVE | DROPEFFECT_COPY;
    EXPECT_EQ(target->Drop(&shortcut, 0, at, &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
    classtree_test::TestData broken;
    broken.blocks[CF_TEXT] = std::string("http://broken.example/\0", 23);
    broken.blocks[static_cast<CLIPFORMAT>(::RegisterClipboardFormatA(CFSTR_FILEDESCRIPTORA))] = "\x05\0\0";
    effect = DROPEFFECT_COPY;
    EXPECT_EQ(target->Drop(&broken, 0, at, &effect), S_OK);

    // The links are filed into the category on display; the one without a
    // title goes through the add-bookmark dialog.
    dialog_test::DialogScript script;
    script.OnDialogWith(IDC_TITLE_EDIT, [](HWND d) {
        ::SetDlgItemTextA(d, IDC_TITLE_EDIT, "Broken");
        dialog_test::Click(d, IDOK);
    });
    ASSERT_TRUE(PumpUntil([&] { return script.Finished() && UrlsOf("First").size() == 4; }))
        << script.Failure() << testing::PrintToString(UrlsOf("First"));
    const std::vector<std::string> urls = UrlsOf("First");
    EXPECT_NE(std::find(urls.begin(), urls.end(), "http://text.example/"), urls.end());
    EXPECT_NE(std::find(urls.begin(), urls.end(), "http://file.example/"), urls.end());
    EXPECT_NE(std::find(urls.begin(), urls.end(), "http://broken.example/"), urls.end());

    // The window and the list go with the frame; a target still held refuses.
    frame_.reset();
    Pump();
    effect = DROPEFFECT_COPY;
    EXPECT_EQ(target->DragEnter(&link, 0, at, &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    effect = DROPEFFECT_COPY;
    EXPECT_EQ(target->Drop(&link, 0, at, &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    target->Release();
}

TEST_F(DropWindowTest, ALinkDroppedWithoutAnyCategoryGetsACategoryOfItsOwn) {
    WriteBytes(folder_ + "bookmark.xml", kEmpty);
    settings_->GUI_ShowDragWindow = 1;
    settings_->Other_DisplayAddBookmarkDlg = 0;
    ASSERT_NE(Show(), nullptr);
    IDropTarget* target = RegisteredTarget(Frame().DropWindow());
    ASSERT_NE(target, nullptr);
    classtree_test::TestData link;
    link.blocks[CF_TEXT] = std::string("http://nowhere.example/\0", 24);
    // With its title, as a browser offers it: the link needs no dialog.
    std::string names(4 + 332, '\0');
    names[0] = 1;
    names.replace(4 + 72, 12, "Nowhere.url");
    link.blocks[static_cast<CLIPFORMAT>(::RegisterClipboardFormatA("FileGroupDescriptor"))] = names;
    DWORD effect = DROPEFFECT_COPY;
    target->Drop(&link, 0, POINTL{5, 5}, &effect);
    target->Release();
    CBookmarkStore& store = CBookmarkStore::Instance();
    ClassRecord* received = nullptr;
    ASSERT_TRUE(PumpUntil([&] {
        received = store.FindChildClass(store.Root(), "收到的链接", nullptr);
        return received && !received->bookmarks.empty();
    }));
    EXPECT_EQ(std::string(received->bookmarks.front()->title), "Nowhere");
    EXPECT_EQ(std::string(received->bookmarks.front()->url), "http://nowhere.example/");
}

// The first start's boxes come one after another, each answered before the
// next opens: the two import questions, then the hint to reopen the browser.
TEST_F(DropWindowTest, FirstStartBoxesComeOneAtATime) {
    WriteBytes(folder_ + "bookmark.xml", kEmpty);
    settings_->Other_InDefaultBookmark = 1;
    settings_->Other_InIEBookmark = 1;
    std::vector<std::string> boxes;
    int open = 0, mostOpen = 0;
    dialog_test::DialogScript script;
    for (int i = 0; i < 3; ++i) {
        script.OnMessageBox([&](HWND box) {
            boxes.push_back(dialog_test::MessageBoxText(box));
            // Any other box open at once would be a second "#32770" of this thread.
            open = 0;
            ::EnumThreadWindows(
                ::GetCurrentThreadId(),
                [](HWND w, LPARAM count) {
                    char name[16] = "";
                    ::GetClassNameA(w, name, sizeof name);
                    if (std::string(name) == "#32770" && ::IsWindowVisible(w)) ++*reinterpret_cast<int*>(count);
                    return TRUE;
                },
                reinterpret_cast<LPARAM>(&open));
            mostOpen = std::max(mostOpen, open);
            dialog_test::Click(box, ::GetDlgItem(box, IDNO) ? IDNO : IDOK);
        });
    }
    HWND hwnd = Create();
    ASSERT_NE(hwnd, nullptr);
    ::PostMessageA(hwnd, WM_APP + 2, 0, 0);  // the frame's own hint message, as a first start posts it
    ASSERT_TRUE(PumpUntil([&] { return script.Finished(); })) << script.Failure();
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_NE(boxes[0].find("默认"), std::string::npos) << boxes[0];
    EXPECT_NE(boxes[1].find("IE"), std::string::npos) << boxes[1];
    EXPECT_NE(boxes[2].find("浏览器"), std::string::npos) << boxes[2];
    EXPECT_EQ(mostOpen, 1);
}

}  // namespace
