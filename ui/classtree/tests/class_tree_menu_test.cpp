// The context menu as a right-click opens it: the press over an item selects
// that item, the popup shows the states of the commands for it, and an item
// chosen from the popup runs. The popup runs its own modal loop; a thread
// hook reads the popup once it is up and answers it with posted keys.
#include "class_tree_test_support.h"

#include "dialog_test_driver.h"
#include "dialogs_res.h"

#include <map>
#include <string>
#include <vector>

namespace {

using classtree_test::Outline;
using Lines = std::vector<std::string>;

// Watches the thread's window messages for the popup: its states are read
// when its owner has prepared it, and once the menu loop waits for input the
// keys that answer it are posted to it.
class MenuAnswer {
public:
    // `keys` are posted to the popup in order; Escape closes it unchosen.
    explicit MenuAnswer(std::vector<WPARAM> keys) : keys_(std::move(keys)) {
        current_ = this;
        hook_ = ::SetWindowsHookExA(WH_CALLWNDPROCRET, &MenuAnswer::Hook, nullptr, ::GetCurrentThreadId());
    }
    ~MenuAnswer() {
        if (hook_) ::UnhookWindowsHookEx(hook_);
        current_ = nullptr;
    }
    MenuAnswer(const MenuAnswer&) = delete;
    MenuAnswer& operator=(const MenuAnswer&) = delete;

    bool Hooked() const { return hook_ != nullptr; }
    int Opened() const { return opened_; }
    bool Answered() const { return answered_; }
    // Where the popup was on the screen.
    RECT MenuRect() const { return menuRect_; }
    // The popup's items as "text" or "text (grey)", separators as "-".
    Lines Items() const { return items_; }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HC_ACTION && current_) current_->Seen(*reinterpret_cast<const CWPRETSTRUCT*>(lParam));
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }

    void Seen(const CWPRETSTRUCT& call) {
        if (call.message == WM_INITMENUPOPUP) {
            ++opened_;
            ReadItems(reinterpret_cast<HMENU>(call.wParam));
        } else if (call.message == WM_ENTERIDLE && call.wParam == MSGF_MENU && !answered_) {
            answered_ = true;
            const HWND menuWindow = reinterpret_cast<HWND>(call.lParam);
            ::GetWindowRect(menuWindow, &menuRect_);
            for (WPARAM key : keys_) {
                ::PostMessageA(menuWindow, WM_KEYDOWN, key, 1);
                ::PostMessageA(menuWindow, WM_KEYUP, key, 0xC0000001);
            }
        }
    }

    void ReadItems(HMENU popup) {
        items_.clear();
        for (int i = 0; i < ::GetMenuItemCount(popup); ++i) {
            char text[128] = "";
            MENUITEMINFOA info{};
            info.cbSize = sizeof info;
            info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_STRING;
            info.dwTypeData = text;
            info.cch = sizeof text;
            ::GetMenuItemInfoA(popup, i, TRUE, &info);
            if (info.fType & MFT_SEPARATOR) {
                items_.push_back("-");
            } else {
                items_.push_back(std::string(text) + ((info.fState & MFS_GRAYED) ? " (grey)" : ""));
            }
        }
    }

    static MenuAnswer* current_;
    HHOOK hook_ = nullptr;
    std::vector<WPARAM> keys_;
    int opened_ = 0;
    bool answered_ = false;
    RECT menuRect_{};
    Lines items_;
};

MenuAnswer* MenuAnswer::current_ = nullptr;

class ClassTreeMenu : public classtree_test::ViewFixture {
protected:
    void SetUp() override {
        ViewFixture::SetUp();
        Open(classtree_test::SampleFile());
        Store().SetExpanded(Find("News"), true);
        Store().SetExpanded(Find("音乐"), true);
        view->SetCursorSource([this] { return cursor; });
        ::SetForegroundWindow(frame->Hwnd());
        ::SetFocus(Tree());
    }

    // Right-clicks the middle of `path`'s label with the cursor there, as
    // the view reads the cursor when the control reports the click; then runs
    // the thread's messages until the popup was answered and has closed.
    void RightClick(const char* path, MenuAnswer& answer) {
        RECT rect{};
        ASSERT_TRUE(TreeView_GetItemRect(Tree(), view->ItemOf(Find(path)), &rect, TRUE)) << path;
        POINT client{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
        POINT screen = client;
        ::ClientToScreen(Tree(), &screen);
        cursor = screen;
        ::PostMessageA(Tree(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(client.x, client.y));
        ::PostMessageA(Tree(), WM_RBUTTONUP, 0, MAKELPARAM(client.x, client.y));
        EXPECT_TRUE(PumpUntil([&] { return answer.Answered(); }, 5000)) << "the popup did not open over " << path;
        Pump();
    }

    // Right-clicks the empty space below the last item.
    void RightClickBelowTheItems(MenuAnswer& answer) {
        RECT client{};
        ::GetClientRect(Tree(), &client);
        POINT point{client.right / 2, client.bottom - 5};
        POINT screen = point;
        ::ClientToScreen(Tree(), &screen);
        cursor = screen;
        ::PostMessageA(Tree(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(point.x, point.y));
        ::PostMessageA(Tree(), WM_RBUTTONUP, 0, MAKELPARAM(point.x, point.y));
        EXPECT_TRUE(PumpUntil([&] { return answer.Answered(); }, 5000)) << "the popup did not open";
        Pump();
    }

    POINT cursor{};  // where the view finds the cursor, on the screen
};

// Down arrows that move the highlight from nowhere onto the `nth` item of
// the popup (counted from 1, separators left out), then Enter.
std::vector<WPARAM> Choose(int nth) {
    std::vector<WPARAM> keys(nth, VK_DOWN);
    keys.push_back(VK_RETURN);
    return keys;
}

TEST_F(ClassTreeMenu, RightClickSelectsTheItemAndShowsItsStates) {
    struct Case {
        const char* click;
        Lines items;
    };
    const Case cases[] = {
        {"News",
         {"增加分类", "增加子类", "编辑分类", "删除分类", "移动分类到...", "-", "导入...", "导出...", "-", "上移分类 (grey)", "下移分类"}},
        {"News/Sport",
         {"增加分类", "增加子类", "编辑分类", "删除分类", "移动分类到...", "-", "导入...", "导出...", "-", "上移分类", "下移分类 (grey)"}},
        {"Tools", {"增加分类", "增加子类", "编辑分类", "删除分类", "移动分类到...", "-", "导入...", "导出...", "-", "上移分类", "下移分类"}},
        {"音乐/Jazz",
         {"增加分类", "增加子类", "编辑分类", "删除分类", "移动分类到...", "-", "导入...", "导出...", "-", "上移分类 (grey)",
          "下移分类 (grey)"}},
    };
    Select("News/World");
    for (const Case& c : cases) {
        MenuAnswer answer({VK_ESCAPE});
        ASSERT_TRUE(answer.Hooked());
        RightClick(c.click, answer);
        EXPECT_EQ(view->SelectedClass(), Find(c.click)) << c.click;
        EXPECT_EQ(answer.Opened(), 1) << c.click;
        EXPECT_EQ(answer.Items(), c.items) << c.click;
        // The popup's corner is where the button was released.
        EXPECT_EQ(answer.MenuRect().left, cursor.x) << c.click;
        EXPECT_EQ(answer.MenuRect().top, cursor.y) << c.click;
    }
    // Closing the popup chose nothing.
    EXPECT_EQ(Outline(Store().Root()),
              (Lines{"0:News+", "1:World", "2:Europe", "1:Sport", "0:Tools", "0:音乐+", "1:Jazz"}));
    EXPECT_FALSE(Store().IsModified());
    EXPECT_TRUE(Mirrors());
}

TEST_F(ClassTreeMenu, ACommandChosenFromThePopupRunsOnTheClickedCategory) {
    struct Case {
        const char* click;
        int nth;  // of the popup's items, separators left out
        Lines after;
    };
    const Case cases[] = {
        // 删除分类: the clicked category goes with everything below it.
        {"News/World", 4, {"0:News+", "1:Sport", "0:Tools", "0:音乐+", "1:Jazz"}},
        // 上移分类 on the last top-level category.
        {"音乐", 8, {"0:News+", "1:Sport", "0:音乐+", "1:Jazz", "0:Tools"}},
        // 下移分类 on the first.
        {"News", 9, {"0:音乐+", "1:Jazz", "0:News+", "1:Sport", "0:Tools"}},
    };
    Select("Tools");
    for (const Case& c : cases) {
        ClassRecord* clicked = Find(c.click);
        MenuAnswer answer(Choose(c.nth));
        RightClick(c.click, answer);
        EXPECT_TRUE(PumpUntil([&] { return Outline(Store().Root()) == c.after; }, 3000))
            << c.click << " did not change as chosen";
        EXPECT_EQ(Outline(Store().Root()), c.after) << c.click;
        EXPECT_TRUE(Mirrors()) << c.click;
        if (c.nth != 4) {
            EXPECT_EQ(view->SelectedClass(), clicked) << c.click;
        }
    }
}

// Below the last item the menu points at no category: the selection goes,
// only "增加分类" and "导入..." are offered, and the new category ends the
// top level.
TEST_F(ClassTreeMenu, RightClickOnEmptySpaceOffersOnlyANewTopLevelCategoryAndImport) {
    Select("News/World");
    {
        MenuAnswer answer({VK_ESCAPE});
        RightClickBelowTheItems(answer);
        EXPECT_EQ(view->SelectedClass(), nullptr);
        EXPECT_EQ(answer.Items(), (Lines{"增加分类", "增加子类 (grey)", "编辑分类 (grey)", "删除分类 (grey)",
                                         "移动分类到... (grey)", "-", "导入...", "导出... (grey)", "-",
                                         "上移分类 (grey)", "下移分类 (grey)"}));
    }
    Select("News/World");
    dialog_test::DialogScript script;
    script.OnDialogWith(IDC_NAME_EDIT, [](HWND d) {
        ::SetDlgItemTextA(d, IDC_NAME_EDIT, "Below");
        dialog_test::Click(d, IDOK);
    });
    MenuAnswer answer(Choose(1));
    RightClickBelowTheItems(answer);
    EXPECT_TRUE(PumpUntil([&] { return script.Finished(); }, 10000)) << script.Failure();
    Pump();
    EXPECT_EQ(Outline(Store().Root()),
              (Lines{"0:News+", "1:World", "2:Europe", "1:Sport", "0:Tools", "0:音乐+", "1:Jazz", "0:Below"}));
    EXPECT_TRUE(Mirrors());
}

}  // namespace

