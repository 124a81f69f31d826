#include "class_dlg.h"
#include "homepage_dlg.h"

#include "dialog_test_driver.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using dialog_test::DialogScript;
using dialog_test::ItemText;

TEST(ClassDialog, EachModeHasItsTitleLabelAndButton) {
    struct Case {
        int mode;
        const char* title;
        const char* label;
        const char* ok;
    };
    const Case cases[] = {
        {0, "增加类别", "书签类别:", "增加"},
        {1, "增加子类别", "书签子类别:", "增加"},
        {2, "编辑类别", "书签类别:", "修改"},
        {3, "编辑子类别", "书签子类别:", "修改"},
    };
    for (const auto& c : cases) {
        dialogs::CClassDlg dialog;
        dialog.mode = c.mode;
        dialog.name = "旧名称";
        std::string title, label, ok, shown;
        DialogScript script;
        script.OnDialogWith(IDC_NAME_EDIT, [&](HWND d) {
            title = dialog_test::Text(d);
            label = ItemText(d, IDC_CLASS_NAME_LABEL);
            ok = ItemText(d, IDOK);
            shown = ItemText(d, IDC_NAME_EDIT);
            dialog_test::Click(d, IDCANCEL);
        });
        EXPECT_EQ(dialog.DoModal(nullptr), IDCANCEL);
        ASSERT_TRUE(script.AllStepsRan()) << script.Failure();
        EXPECT_EQ(title, c.title) << c.mode;
        EXPECT_EQ(label, c.label) << c.mode;
        EXPECT_EQ(ok, c.ok) << c.mode;
        EXPECT_EQ(shown, "旧名称");
    }
}

TEST(ClassDialog, EmptyAndBlankNamesAreAccepted) {
    for (const char* name : {"", "   ", "新闻 & 天气"}) {
        dialogs::CClassDlg dialog;
        dialog.name = "before";
        DialogScript script;
        script.OnDialogWith(IDC_NAME_EDIT, [name](HWND d) {
            ::SetDlgItemTextA(d, IDC_NAME_EDIT, name);
            dialog_test::PressKey(d, VK_RETURN);
        });
        EXPECT_EQ(dialog.DoModal(nullptr), IDOK) << name;
        ASSERT_TRUE(script.AllStepsRan()) << script.Failure();
        EXPECT_EQ(dialog.name, name);
    }
}

TEST(ClassDialog, ColonIsRefusedWithTheFocusOnTheName) {
    dialogs::CClassDlg dialog;
    dialog.mode = dialogs::CClassDlg::kEditClass;
    dialog.name = "before";
    std::string message, caption, finalName;
    bool focusOnName = false;
    DialogScript script;
    script.OnDialogWith(IDC_NAME_EDIT, [](HWND d) {
              ::SetDlgItemTextA(d, IDC_NAME_EDIT, "a:b");
              dialog_test::Click(d, IDOK);
          })
        .OnMessageBox([&](HWND box) {
            message = dialog_test::MessageBoxText(box);
            caption = dialog_test::Text(box);
            dialog_test::Click(box, IDOK);
        })
        .OnDialogWith(IDC_NAME_EDIT, [&](HWND d) {
            focusOnName = ::GetFocus() == ::GetDlgItem(d, IDC_NAME_EDIT);
            ::SetDlgItemTextA(d, IDC_NAME_EDIT, "a-b");
            dialog_test::Click(d, IDOK);
        });
    EXPECT_EQ(dialog.DoModal(nullptr), IDOK);
    ASSERT_TRUE(script.AllStepsRan()) << script.Failure();
    EXPECT_EQ(message, "标题不能包含下列非法字符:\n\\/:*?\"<>|");
    EXPECT_EQ(caption, "警告");
    EXPECT_TRUE(focusOnName);
    EXPECT_EQ(dialog.name, "a-b");
}

TEST(HomepageDialog, ModesAndTopmost) {
    for (int mode : {0, 1}) {
        dialogs::CHomepageDlg dialog;
        dialog.mode = mode;
        dialog.title = "Start";
        dialog.url = "http://start.example";
        std::string title, ok, shownTitle, shownUrl;
        bool topmost = false;
        DialogScript script;
        script.OnDialogWith(IDC_URL_EDIT, [&](HWND d) {
            title = dialog_test::Text(d);
            ok = ItemText(d, IDOK);
            shownTitle = ItemText(d, IDC_TITLE_EDIT);
            shownUrl = ItemText(d, IDC_URL_EDIT);
            topmost = (::GetWindowLongPtrA(d, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
            dialog_test::Click(d, IDCANCEL);
        });
        dialog.DoModal(nullptr);
        ASSERT_TRUE(script.AllStepsRan()) << script.Failure();
        EXPECT_EQ(title, mode ? "编辑主页组项" : "增加主页组项");
        EXPECT_EQ(ok, mode ? "修改" : "增加");
        EXPECT_EQ(shownTitle, "Start");
        EXPECT_EQ(shownUrl, "http://start.example");
        EXPECT_TRUE(topmost);
    }
}

TEST(HomepageDialog, EmptyTitleThenEmptyUrlAndNoCharacterCheck) {
    struct Case {
        const char* title;
        const char* url;
        const char* message;  // nullptr: accepted
        int focus;
    };
    const Case cases[] = {
        {"", "", "标题不能为空!", IDC_TITLE_EDIT},
        {"", "http://x", "标题不能为空!", IDC_TITLE_EDIT},
        {"Start", "", "网址不能为空!", IDC_URL_EDIT},
        {"a:b|c?", "http://x", nullptr, 0},
    };
    for (const auto& c : cases) {
        dialogs::CHomepageDlg dialog;
        dialog.title = c.title;
        dialog.url = c.url;
        std::string message;
        bool focusRight = false;
        DialogScript script;
        script.OnDialogWith(IDC_URL_EDIT, [](HWND d) { dialog_test::Click(d, IDOK); });
        if (c.message) {
            script
                .OnMessageBox([&](HWND box) {
                    message = dialog_test::MessageBoxText(box);
                    dialog_test::Click(box, IDOK);
                })
                .OnDialogWith(IDC_URL_EDIT, [&](HWND d) {
                    focusRight = ::GetFocus() == ::GetDlgItem(d, c.focus);
                    dialog_test::Click(d, IDCANCEL);
                });
        }
        EXPECT_EQ(dialog.DoModal(nullptr), c.message ? IDCANCEL : IDOK) << c.title;
        ASSERT_TRUE(script.AllStepsRan()) << script.Failure();
        if (c.message) {
            EXPECT_EQ(message, c.message);
            EXPECT_TRUE(focusRight) << c.title;
        } else {
            EXPECT_EQ(dialog.title, c.title);
            EXPECT_EQ(dialog.url, c.url);
        }
    }
}

}  // namespace
