// The homepage page: the group's entries listed, added, edited and deleted
// through the homepage item dialog, at once and for good.
#include "settings_fixture.h"

#include "dialogs_res.h"

#include <gtest/gtest.h>

#include <vector>

namespace settings_test {
namespace {

using Outcome = settings::SettingsOutcome;

HWND HomepageList(HWND sheet) {
    HWND tree = PageTree(sheet);
    HTREEITEM item = TreeView_GetNextSibling(tree, TreeView_GetNextSibling(tree, TreeView_GetRoot(tree)));
    Click(tree, item);
    return ::GetDlgItem(ShownPage(sheet), IDC_OPTIONS_TREE);
}

std::vector<std::string> Rows(HWND list) {
    std::vector<std::string> rows;
    const int count = ListView_GetItemCount(list);
    for (int i = 0; i < count; ++i) {
        char text[256] = "";
        ListView_GetItemText(list, i, 0, text, sizeof text);
        rows.push_back(text);
    }
    return rows;
}

int Selected(HWND list) { return ListView_GetNextItem(list, -1, LVNI_SELECTED); }

void SelectRow(HWND list, int row) {
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
    ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

std::vector<std::string> Titles(const CHomepageGroup& group) {
    std::vector<std::string> titles;
    for (const HomepageItem* item : group.Items()) titles.push_back(item->title + "|" + item->url);
    return titles;
}

// Presses a button of the page; the homepage item dialog that opens is
// answered by `answer`, which runs inside its modal loop.
void PressWithDialog(HWND sheet, int button, const std::function<void(HWND dialog)>& answer) {
    dialog_test::DialogScript inner;
    inner.OnDialogWith(IDC_URL_EDIT, [&](HWND d) { answer(d); });
    ::SendMessageA(ShownPage(sheet), WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(ShownPage(sheet), button)));
    EXPECT_TRUE(inner.AllStepsRan()) << inner.Failure();
}

TEST_F(SettingsDialogTest, HomepageEntriesAreAddedEditedAndDeletedForGood) {
    group_.Add("新闻", "http://news.example.com/");
    group_.Add("Mail", "http://mail.example.com/");
    group_.Add("天气", "http://weather.example.com/");
    std::vector<std::string> shown, afterAdd, afterEdit, afterDeletes;
    int firstSelected = -1, columnWidth = 0, columns = 0;
    std::vector<int> selections;
    std::string editShown, editUrl, hint;
    DWORD styles = 0;
    EXPECT_EQ(Run([&](HWND sheet) {
                  HWND list = HomepageList(sheet);
                  shown = Rows(list);
                  firstSelected = Selected(list);
                  columnWidth = ListView_GetColumnWidth(list, 0);
                  columns = Header_GetItemCount(ListView_GetHeader(list));
                  styles = ListView_GetExtendedListViewStyle(list);
                  hint = TextOf(::GetDlgItem(ShownPage(sheet), IDC_HOMEPAGE_HINT));

                  PressWithDialog(sheet, IDC_HOMEPAGE_ADD, [](HWND d) {
                      ::SetDlgItemTextA(d, IDC_TITLE_EDIT, "博客");
                      ::SetDlgItemTextA(d, IDC_URL_EDIT, "http://blog.example.com/");
                      dialog_test::Click(d, IDOK);
                  });
                  afterAdd = Rows(list);
                  selections.push_back(Selected(list));

                  SelectRow(list, 1);
                  PressWithDialog(sheet, IDC_HOMEPAGE_EDIT, [&](HWND d) {
                      editShown = dialog_test::ItemText(d, IDC_TITLE_EDIT);
                      editUrl = dialog_test::ItemText(d, IDC_URL_EDIT);
                      ::SetDlgItemTextA(d, IDC_TITLE_EDIT, "邮件");
                      dialog_test::Click(d, IDOK);
                  });
                  afterEdit = Rows(list);
                  // A cancelled add changes nothing.
                  PressWithDialog(sheet, IDC_HOMEPAGE_ADD, [](HWND d) { dialog_test::Click(d, IDCANCEL); });

                  // The last row deleted: the new last is selected; a row
                  // inside: the one now at its place.
                  SelectRow(list, 3);
                  ::SendMessageA(ShownPage(sheet), WM_COMMAND, MAKEWPARAM(IDC_HOMEPAGE_DELETE, BN_CLICKED), 0);
                  selections.push_back(Selected(list));
                  SelectRow(list, 0);
                  ::SendMessageA(ShownPage(sheet), WM_COMMAND, MAKEWPARAM(IDC_HOMEPAGE_DELETE, BN_CLICKED), 0);
                  selections.push_back(Selected(list));
                  afterDeletes = Rows(list);
                  // Without a selection, edit and delete do nothing.
                  ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
                  ::SendMessageA(ShownPage(sheet), WM_COMMAND, MAKEWPARAM(IDC_HOMEPAGE_DELETE, BN_CLICKED), 0);
                  ::SendMessageA(ShownPage(sheet), WM_COMMAND, MAKEWPARAM(IDC_HOMEPAGE_EDIT, BN_CLICKED), 0);
                  dialog_test::Click(sheet, IDCANCEL);
              }),
              Outcome::kCancel);
    EXPECT_EQ(shown, (std::vector<std::string>{"新闻", "Mail", "天气"}));
    EXPECT_EQ(firstSelected, 0);
    EXPECT_EQ(columns, 1);
    EXPECT_EQ(columnWidth, 340);
    EXPECT_TRUE(styles & LVS_EX_FULLROWSELECT);
    EXPECT_EQ(hint, "您可以用书签列表中的右键菜单来添加主页组项!");
    EXPECT_EQ(afterAdd, (std::vector<std::string>{"新闻", "Mail", "天气", "博客"}));
    EXPECT_EQ(editShown, "Mail");
    EXPECT_EQ(editUrl, "http://mail.example.com/");
    EXPECT_EQ(afterEdit, (std::vector<std::string>{"新闻", "邮件", "天气", "博客"}));
    EXPECT_EQ(selections, (std::vector<int>{3, 2, 0}));
    EXPECT_EQ(afterDeletes, (std::vector<std::string>{"邮件", "天气"}));
    // Cancel kept every change, which the group will save.
    EXPECT_EQ(Titles(group_),
              (std::vector<std::string>{"邮件|http://mail.example.com/", "天气|http://weather.example.com/"}));
    EXPECT_TRUE(group_.IsModified());
    ASSERT_TRUE(group_.Save());
    CHomepageGroup reread;
    ASSERT_TRUE(reread.Load(group_.Path()));
    EXPECT_EQ(Titles(reread), Titles(group_));
}

TEST_F(SettingsDialogTest, AnEmptyGroupShowsNoRowAndTenThousandShowAtOnce) {
    std::vector<std::string> empty;
    EXPECT_EQ(Run([&](HWND sheet) {
                  empty = Rows(HomepageList(sheet));
                  dialog_test::Click(sheet, IDOK);
              }),
              Outcome::kOk);
    EXPECT_TRUE(empty.empty());

    for (int i = 0; i < 10000; ++i) group_.Add("页面 " + std::to_string(i), "http://example.com/" + std::to_string(i));
    int count = 0, selected = -1;
    std::string last;
    EXPECT_EQ(Run([&](HWND sheet) {
                  HWND list = HomepageList(sheet);
                  count = ListView_GetItemCount(list);
                  selected = Selected(list);
                  char text[64] = "";
                  ListView_GetItemText(list, 9999, 0, text, sizeof text);
                  last = text;
                  dialog_test::Click(sheet, IDOK);
              }),
              Outcome::kOk);
    EXPECT_EQ(count, 10000);
    EXPECT_EQ(selected, 0);
    EXPECT_EQ(last, "页面 9999");
}

}  // namespace
}  // namespace settings_test
