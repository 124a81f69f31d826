// Edit > Find and Tools > Find duplicates in the main window: typing shows
// the matches at once, Enter shows one in its category, the list's delete
// works on a result and the results follow, duplicates come in groups.
#include "main_frame_fixture.h"

#include "bookmark_store.h"
#include "dialog_test_driver.h"
#include "find_window.h"
#include "framework/program_folder.h"
#include "resource.h"

#include <commctrl.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <vector>

namespace {

using mainframe_test::Pump;
using mainframe_test::PumpUntil;
using testing_support::WriteBytes;

const char kBookmarks[] =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?><root>\r\n"
    "<G t=\"News\">\r\n<a t=\"Daily paper\" u=\"http://daily.example/\" r=\"\"/>\r\n"
    "<a t=\"Weather\" u=\"http://www.weather.example/\" r=\"with the PAPER's map\"/>\r\n"
    "<G t=\"World\">\r\n<a t=\"\xB0\x41\" u=\"http://w.test/\" r=\"\"/>\r\n"
    "<a t=\"Weather again\" u=\"HTTP://weather.example#now\" r=\"\"/>\r\n</G>\r\n</G>\r\n"
    "<G t=\"Tools\">\r\n<a t=\"Hammer\" u=\"http://tools.example/\" r=\"\"/>\r\n</G>\r\n</root>\r\n";

class FindTest : public mainframe_test::MainFrameTest {
protected:
    void SetUp() override {
        MainFrameTest::SetUp();
        WriteBytes(folder_ + "bookmark.xml", kBookmarks);
        HWND hwnd = Create();
        ASSERT_NE(hwnd, nullptr);
        ::MoveWindow(hwnd, 20, 20, 760, 560, TRUE);
        Frame().InitialShow();
        Pump();
    }
    HWND FindWindow() const { return ::FindWindowA(searchui::CFindWindow::kClassName, nullptr); }
    HWND Control(const char* className, int index = 0) const {
        HWND child = nullptr;
        for (int i = 0; i <= index; ++i) child = ::FindWindowExA(FindWindow(), child, className, nullptr);
        return child;
    }
    std::vector<std::string> Rows() const {
        HWND list = Control(WC_LISTVIEWA);
        std::vector<std::string> rows;
        const int count = static_cast<int>(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
        const int columns = Header_GetItemCount(ListView_GetHeader(list));
        for (int row = 0; row < count; ++row) {
            std::string line;
            for (int column = 0; column < columns; ++column) {
                char text[260] = {};
                LVITEMA item{};
                item.iSubItem = column;
                item.pszText = text;
                item.cchTextMax = sizeof text;
                ::SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
                line += (column ? "|" : "") + std::string(text);
            }
            rows.push_back(line);
        }
        return rows;
    }
    void Type(const char* text) {
        ::SetWindowTextA(Control("EDIT"), text);  // EN_CHANGE, as typing sends
        Pump();
    }
};

// Real keys through the frame's accelerators, as the program's message loop
// hands them: the clipboard keys in the find box are the box's own.
TEST_F(FindTest, ClipboardKeysWorkInTheFindBox) {
    ::SendMessageA(Frame().Hwnd(), WM_COMMAND, ID_EDIT_FIND, 0);
    Pump();
    HWND box = Control("EDIT");
    ASSERT_NE(box, nullptr);
    ::SetForegroundWindow(FindWindow());
    ::SetFocus(box);
    ASSERT_TRUE(::OpenClipboard(Frame().Hwnd()));
    ::EmptyClipboard();
    HGLOBAL text = ::GlobalAlloc(GMEM_MOVEABLE, 6);
    std::memcpy(::GlobalLock(text), "paper", 6);
    ::GlobalUnlock(text);
    ::SetClipboardData(CF_TEXT, text);
    ::CloseClipboard();
    auto press = mainframe_test::PressKeys;
    auto pumpUntil = [&](const std::function<bool()>& done) {
        return mainframe_test::PumpThroughFrameUntil(Frame(), done);
    };
    auto boxText = [&] { return dialog_test::Text(box); };
    press({VK_CONTROL}, 'V');
    EXPECT_TRUE(pumpUntil([&] { return boxText() == "paper"; })) << boxText();
    press({VK_SHIFT}, VK_INSERT);
    EXPECT_TRUE(pumpUntil([&] { return boxText() == "paperpaper"; })) << boxText();
    // How much one undo takes back is the control's business; that it undoes is ours.
    press({VK_CONTROL}, 'Z');
    EXPECT_TRUE(pumpUntil([&] { return boxText() != "paperpaper"; })) << "not undone";
    // Escape puts the window away, from the box and from the results alike.
    press({}, VK_ESCAPE);
    EXPECT_TRUE(pumpUntil([&] { return !::IsWindowVisible(FindWindow()); })) << "Escape in the box";
    ::SendMessageA(Frame().Hwnd(), WM_COMMAND, ID_EDIT_FIND, 0);
    ::SetForegroundWindow(FindWindow());
    ::SetFocus(Control(WC_LISTVIEWA));
    press({}, VK_ESCAPE);
    EXPECT_TRUE(pumpUntil([&] { return !::IsWindowVisible(FindWindow()); })) << "Escape in the results";
}

TEST_F(FindTest, TypingFindsEnterShowsAndTheListsDeleteWorksOnAResult) {
    ::SendMessageA(Frame().Hwnd(), WM_COMMAND, ID_EDIT_FIND, 0);
    Pump();
    ASSERT_NE(FindWindow(), nullptr);
    EXPECT_EQ(::GetWindow(FindWindow(), GW_OWNER), Frame().Hwnd());
    Type("paper");
    EXPECT_EQ(Rows(), (std::vector<std::string>{"Daily paper|http://daily.example/|News",
                                                "Weather|http://www.weather.example/|News"}));
    Type("a");
    EXPECT_EQ(Rows().size(), 4u) << "the trail byte of \\xB0\\x41 is no letter";
    Type("again");
    ASSERT_EQ(Rows(), (std::vector<std::string>{"Weather again|HTTP://weather.example#now|News > World"}));

    // Enter in the box: the bookmark in its category, in the tree and the list.
    ::SendMessageA(Control("EDIT"), WM_KEYDOWN, VK_RETURN, 0);
    Pump();
    CBookmarkStore& store = CBookmarkStore::Instance();
    const ClassRecord* world = store.Root()->FirstChild()->FirstChild();
    ASSERT_EQ(world->name, "World");
    HWND bookmarkList = nullptr;
    ::EnumChildWindows(
        Frame().Hwnd(),
        [](HWND child, LPARAM found) {
            char name[64] = {};
            ::GetClassNameA(child, name, sizeof name);
            if (std::string(name) == WC_LISTVIEWA) {
                *reinterpret_cast<HWND*>(found) = child;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&bookmarkList));
    ASSERT_NE(bookmarkList, nullptr);
    EXPECT_EQ(::SendMessageA(bookmarkList, LVM_GETITEMCOUNT, 0, 0), 2) << "World's two bookmarks on display";
    EXPECT_EQ(::SendMessageA(bookmarkList, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 1);
    EXPECT_EQ(::GetFocus(), bookmarkList);

    // Delete on a result goes through the list's own command; the results
    // follow the collection.
    settings_->Other_PromptWhenDelBookmark = 0;
    HWND results = Control(WC_LISTVIEWA);
    ListView_SetItemState(results, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ::SendMessageA(results, WM_KEYDOWN, VK_DELETE, 0);
    Pump();
    ASSERT_EQ(world->bookmarks.size(), 1u);
    EXPECT_EQ(world->bookmarks[0]->title, "\xB0\x41");
    EXPECT_TRUE(PumpUntil([&] { return Rows().empty(); })) << "the deleted bookmark is no result any more";
}

TEST_F(FindTest, DuplicatesComeInGroupsWithTheirCategories) {
    ::SendMessageA(Frame().Hwnd(), WM_COMMAND, ID_TOOLS_FIND_DUPLICATES, 0);
    Pump();
    ASSERT_NE(FindWindow(), nullptr);
    EXPECT_FALSE(::IsWindowVisible(Control("EDIT")));
    EXPECT_EQ(Rows(), (std::vector<std::string>{"1|Weather|http://www.weather.example/|News",
                                                "1|Weather again|HTTP://weather.example#now|News > World"}));
    // Ctrl+F on the same window turns it back into the search.
    ::SendMessageA(Frame().Hwnd(), WM_COMMAND, ID_EDIT_FIND, 0);
    Pump();
    EXPECT_TRUE(::IsWindowVisible(Control("EDIT")));
    EXPECT_EQ(::FindWindowExA(nullptr, FindWindow(), searchui::CFindWindow::kClassName, nullptr), nullptr)
        << "one window";
}

}  // namespace
