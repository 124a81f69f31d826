#include "bookmark_dlg.h"

#include "dialog_test_driver.h"
#include "dialogs_test_support.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using dialog_test::DialogScript;
using dialog_test::ItemText;
using dialogs::CBookmarkDlg;

constexpr char kInvalidCharText[] = "标题不能包含下列非法字符:\n\\/:*?\"<>|";

struct Opened {
    std::string caption, tab, ok, title, url, remark, category;
    bool topmost = false;
};

std::string TabText(HWND dialog) {
    char text[128] = "";
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    ::SendDlgItemMessageA(dialog, IDC_DIALOG_TAB, TCM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return text;
}

Opened Read(HWND d) {
    Opened o;
    o.caption = dialog_test::Text(d);
    o.tab = TabText(d);
    o.ok = ItemText(d, IDOK);
    o.title = ItemText(d, IDC_TITLE_EDIT);
    o.url = ItemText(d, IDC_URL_EDIT);
    o.remark = ItemText(d, IDC_REMARK_EDIT);
    o.category = ItemText(d, IDC_CLASS_NAME);
    o.topmost = (::GetWindowLongPtrA(d, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    return o;
}

class BookmarkDialog : public testing::Test {
protected:
    dialogs_test::SampleTree tree;
    CBookmarkDlg dialog;

    void SetUp() override {
        dialog.title = "Daily";
        dialog.url = "http://daily.example";
        dialog.remark = "first\r\nsecond";
        dialog.category = tree.world;
        dialog.root = tree.Root();
    }
};

TEST_F(BookmarkDialog, AddModeShowsTheInputsAndOkReturnsTheEnteredValues) {
    Opened opened;
    DialogScript script;
    script.OnDialogWith(IDC_REMARK_EDIT, [&](HWND d) {
        opened = Read(d);
        ::SetDlgItemTextA(d, IDC_TITLE_EDIT, "每日新闻");
        ::SetDlgItemTextA(d, IDC_URL_EDIT, "http://news.example/今日");
        ::SetDlgItemTextA(d, IDC_REMARK_EDIT, "");
        dialog_test::Click(d, IDOK);
    });
    EXPECT_EQ(dialog.DoModal(nullptr), IDOK);
    ASSERT_TRUE(script.AllStepsRan()) << script.Failure();
    EXPECT_EQ(opened.caption, "增加书签");
    EXPECT_EQ(opened.tab, "增加书签");
    EXPECT_EQ(opened.ok, "增加");
    EXPECT_EQ(opened.title, "Daily");
    EXPECT_EQ(opened.url, "http://daily.example");
    EXPECT_EQ(opened.remark, "first\r\nsecond");
    EXPECT_EQ(opened.category, "World");
    EXPECT_TRUE(opened.topmost);
    EXPECT_EQ(dialog.title, "每日新闻");
    EXPECT_EQ(dialog.url, "http://news.example/今日");
    EXPECT_EQ(dialog.remark, "") << "an empty remark is fine";
    EXPECT_EQ(dialog.category, tree.world);
}

// What a browser's address bar hands over holds characters of any script:
// the fields keep them until they are read, and the address is kept by its
// meaning (percent-encoded), the title and remark with stand-ins.
TEST_F(BookmarkDialog, TextsOutsideTheCodePageAreReadByTheirMeaning) {
    bool unicode = false;
    DialogScript script;
    script.OnDialogWith(IDC_REMARK_EDIT, [&](HWND d) {
        unicode = ::IsWindowUnicode(::GetDlgItem(d, IDC_URL_EDIT)) &&
                  ::IsWindowUnicode(::GetDlgItem(d, IDC_TITLE_EDIT));
        ::SetDlgItemTextW(d, IDC_TITLE_EDIT, L"\xC704\xD0A4 \x4E66");
        ::SetDlgItemTextW(d, IDC_URL_EDIT, L"https://ko.wikipedia.org/wiki/\xC704\xD0A4");
        ::SetDlgItemTextW(d, IDC_REMARK_EDIT, L"na\x00EFve");
        dialog_test::Click(d, IDOK);
    });
    EXPECT_EQ(dialog.DoModal(nullptr), IDOK);
    ASSERT_TRUE(script.AllStepsRan()) << script.Failure();
    EXPECT_TRUE(unicode);
    EXPECT_EQ(dialog.title, "？？ 书");
    EXPECT_EQ(dialog.url, "https://ko.wikipedia.org/wiki/%EC%9C%84%ED%82%A4");
    EXPECT_EQ(dialog.remark, "na？ve");
}

TEST_F(BookmarkDialog, EditModeTitleAndUpdateButton) {
    dialog.mode = 1;
    Opened opened;
    DialogScript script;
    script.OnDialogWith(IDC_REMARK_EDIT, [&](HWND d) {
        opened = Read(d);
        dialog_test::Click(d, IDCANCEL);
    });
    EXPECT_EQ(dialog.DoModal(nullptr), IDCANCEL);
    ASSERT_TRUE(script.AllStepsRan()) << script.Failure();
    EXPECT_EQ(opened.caption, "编辑书签");
    EXPECT_EQ(opened.tab, "编辑书签");
    EXPECT_EQ(opened.ok, "修改");
}

TEST_F(BookmarkDialog, CancelLeavesTheFieldsAsTheyWere) {
    DialogScript script;
    script.OnDialogWith(IDC_REMARK_EDIT, [](HWND d) {
        ::SetDlgItemTextA(d, IDC_TITLE_EDIT, "changed");
        dialog_test::PressKey(d, VK_ESCAPE);
    });
    EXPECT_EQ(dialog.DoModal(nullptr), IDCANCEL);
    ASSERT_TRUE(script.AllStepsRan()) << script.Failure();
    EXPECT_EQ(dialog.title, "Daily");
    EXPECT_EQ(dialog.category, tree.world);
}

TEST_F(BookmarkDialog, ChecksInOrderAndKeepsTheDialogOpenWithTheFocusOnTheField) {
    struct Case {
        const char* title;
        const char* url;
        const char* message;
        int focus;
    };
    const Case cases[] = {
        {"", "", "标题不能为空!", IDC_TITLE_EDIT},
        {"", "http://x", "标题不能为空!", IDC_TITLE_EDIT},
        {"a/b", "", "网址不能为空!", IDC_URL_EDIT},
        {"Daily", "", "网址不能为空!", IDC_URL_EDIT},
        {"a/b", "http://x", kInvalidCharText, IDC_TITLE_EDIT},
        {"问题?", "http://x", kInvalidCharText, IDC_TITLE_EDIT},
    };
    for (const auto& c : cases) {
        CBookmarkDlg d;
        d.title = c.title;
        d.url = c.url;
        d.remark = "ok remark";
        std::string text, caption;
        HWND focus = nullptr, expectedFocus = nullptr;
        DialogScript script;
        script.OnDialogWith(IDC_REMARK_EDIT, [](HWND w) { dialog_test::Click(w, IDOK); })
            .OnMessageBox([&](HWND box) {
                text = dialog_test::MessageBoxText(box);
                caption = dialog_test::Text(box);
                dialog_test::Click(box, IDOK);
            })
            .OnDialogWith(IDC_REMARK_EDIT, [&](HWND w) {
                focus = ::GetFocus();
                expectedFocus = ::GetDlgItem(w, c.focus);
                dialog_test::Click(w, IDCANCEL);
            });
        EXPECT_EQ(d.DoModal(nullptr), IDCANCEL) << c.title << "|" << c.url;
        ASSERT_TRUE(script.AllStepsRan()) << script.Failure();
        EXPECT_EQ(text, c.message) << c.title << "|" << c.url;
        EXPECT_EQ(caption, "警告");
        EXPECT_EQ(focus, expectedFocus) << c.title << "|" << c.url;
        EXPECT_EQ(d.title, c.title) << "a refused OK changes no output";
    }
}

TEST_F(BookmarkDialog, EnterInTheRemarkInsertsALineBreak) {
    dialog.remark = "line";
    DialogScript script;
    script.OnDialogWith(IDC_REMARK_EDIT,
                        [](HWND d) {
                            HWND remark = ::GetDlgItem(d, IDC_REMARK_EDIT);
                            ::SetFocus(remark);
                            ::SendMessageA(remark, EM_SETSEL, 4, 4);
                            dialog_test::PressKey(d, VK_RETURN);
                        })
        // Waits until the line break has arrived, with the dialog still open.
        .On([](HWND d) { return ItemText(d, IDC_REMARK_EDIT) == "line\r\n"; },
            [](HWND d) { dialog_test::Click(d, IDOK); });
    EXPECT_EQ(dialog.DoModal(nullptr), IDOK);
    ASSERT_TRUE(script.AllStepsRan()) << script.Failure();
    EXPECT_EQ(dialog.remark, "line\r\n");
}

TEST_F(BookmarkDialog, BrowsePicksAnotherCategoryWithoutTheTopLevelOption) {
    bool topLevelVisible = true;
    std::string preselected, shownAfter;
    DialogScript script;
    script.OnDialogWith(IDC_REMARK_EDIT, [](HWND d) { dialog_test::Click(d, IDC_BROWSE_CLASS); })
        .OnDialogWith(IDC_CLASS_TREE, [&](HWND s) {
            topLevelVisible = ::IsWindowVisible(::GetDlgItem(s, IDC_TOP_LEVEL));
            HWND treeView = ::GetDlgItem(s, IDC_CLASS_TREE);
            preselected = dialogs_test::SelectedText(treeView);
            dialogs_test::SelectRecord(treeView, tree.jazz);
            dialog_test::Click(s, IDOK);
        })
        .OnDialogWith(IDC_REMARK_EDIT, [&](HWND d) {
            shownAfter = ItemText(d, IDC_CLASS_NAME);
            dialog_test::Click(d, IDOK);
        });
    EXPECT_EQ(dialog.DoModal(nullptr), IDOK);
    ASSERT_TRUE(script.AllStepsRan()) << script.Failure();
    EXPECT_FALSE(topLevelVisible);
    EXPECT_EQ(preselected, "World");
    EXPECT_EQ(shownAfter, "Jazz");
    EXPECT_EQ(dialog.category, tree.jazz);
}

TEST_F(BookmarkDialog, BrowseThenCancelKeepsTheCategoryAndSoDoesCancellingTheDialog) {
    std::string shownAfter;
    DialogScript script;
    script.OnDialogWith(IDC_REMARK_EDIT, [](HWND d) { dialog_test::Click(d, IDC_BROWSE_CLASS); })
        .OnDialogWith(IDC_CLASS_TREE, [&](HWND s) {
            dialogs_test::SelectRecord(::GetDlgItem(s, IDC_CLASS_TREE), tree.tools);
            dialog_test::Click(s, IDCANCEL);
        })
        .OnDialogWith(IDC_REMARK_EDIT, [](HWND d) { dialog_test::Click(d, IDC_BROWSE_CLASS); })
        .OnDialogWith(IDC_CLASS_TREE, [&](HWND s) {
            dialogs_test::SelectRecord(::GetDlgItem(s, IDC_CLASS_TREE), tree.tools);
            dialog_test::Click(s, IDOK);
        })
        .OnDialogWith(IDC_REMARK_EDIT, [&](HWND d) {
            shownAfter = ItemText(d, IDC_CLASS_NAME);
            dialog_test::Click(d, IDCANCEL);
        });
    EXPECT_EQ(dialog.DoModal(nullptr), IDCANCEL);
    ASSERT_TRUE(script.AllStepsRan()) << script.Failure();
    EXPECT_EQ(shownAfter, "Tools");
    EXPECT_EQ(dialog.category, tree.world) << "the category changes only with OK";
}

TEST_F(BookmarkDialog, TextsComeFromTheActivePack) {
    dialogs_test::ActivePack pack(
        "[dlg_addbookmark]\r\ntitle=Bookmark\r\ntitle0=Add Bookmark\r\n1028=Title:\r\n1010=Browse\r\n"
        "10000=The title is empty!\r\n[common]\r\nwarning=Warning\r\n");
    ASSERT_TRUE(pack.Active());
    dialog.title = "";
    std::string caption, label, browse, url, message, boxCaption;
    DialogScript script;
    script.OnDialogWith(IDC_REMARK_EDIT, [&](HWND d) {
              caption = dialog_test::Text(d);
              label = ItemText(d, IDC_TITLE_LABEL);
              browse = ItemText(d, IDC_BROWSE_CLASS);
              url = ItemText(d, IDC_URL_LABEL);
              dialog_test::Click(d, IDOK);
          })
        .OnMessageBox([&](HWND box) {
            message = dialog_test::MessageBoxText(box);
            boxCaption = dialog_test::Text(box);
            dialog_test::Click(box, IDOK);
        })
        .OnDialogWith(IDC_REMARK_EDIT, [](HWND d) { dialog_test::Click(d, IDCANCEL); });
    dialog.DoModal(nullptr);
    ASSERT_TRUE(script.AllStepsRan()) << script.Failure();
    EXPECT_EQ(caption, "Add Bookmark") << "the mode's title replaces the translated one";
    EXPECT_EQ(label, "Title:");
    EXPECT_EQ(browse, "Browse");
    EXPECT_EQ(url, "网址:") << "a key the pack lacks keeps the built-in text";
    EXPECT_EQ(message, "The title is empty!");
    EXPECT_EQ(boxCaption, "Warning");
}

}  // namespace
