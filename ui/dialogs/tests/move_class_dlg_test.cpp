#include "move_class_dlg.h"

#include "dialog_test_driver.h"
#include "dialogs_test_support.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using dialog_test::DialogScript;
using dialogs::CMoveClassDlg;

bool OkEnabled(HWND d) { return ::IsWindowEnabled(::GetDlgItem(d, IDOK)) != FALSE; }

void Radio(HWND d, int id) { ::SendDlgItemMessageA(d, id, BM_CLICK, 0, 0); }

class MoveClass : public testing::Test {
protected:
    dialogs_test::SampleTree tree;
    CMoveClassDlg dialog;
    void SetUp() override {
        dialog.root = tree.Root();
        dialog.classToMove = tree.world;
    }
};

TEST_F(MoveClass, OpensOnTheCategoryToMoveWithOkDisabled) {
    std::string selected;
    bool ok = true, asChild = false, asSibling = true;
    std::vector<std::string> items;
    bool params = false, images = false;
    DialogScript script;
    script.OnDialogWith(IDC_CLASS_TREE, [&](HWND d) {
        HWND t = ::GetDlgItem(d, IDC_CLASS_TREE);
        selected = dialogs_test::SelectedText(t);
        items = dialogs_test::DescribeTree(t, params, images);
        ok = OkEnabled(d);
        asChild = ::IsDlgButtonChecked(d, IDC_AS_CHILD) == BST_CHECKED;
        asSibling = ::IsDlgButtonChecked(d, IDC_AS_SIBLING) == BST_CHECKED;
        dialog_test::Click(d, IDCANCEL);
    });
    EXPECT_EQ(dialog.DoModal(nullptr), IDCANCEL);
    ASSERT_TRUE(script.AllStepsRan()) << script.Failure();
    EXPECT_EQ(selected, "World");
    EXPECT_EQ(items.size(), 7u);
    EXPECT_TRUE(params);
    EXPECT_TRUE(images);
    EXPECT_FALSE(ok) << "into itself";
    EXPECT_TRUE(asChild) << "as a sub-category by default";
    EXPECT_FALSE(asSibling);
    EXPECT_EQ(dialog.chosen, tree.world);
    EXPECT_EQ(dialog.chosenName, "World");
    EXPECT_TRUE(dialog.asChild);
}

TEST_F(MoveClass, OkFollowsEverySelectionAndRadioChange) {
    struct Step {
        ClassRecord* select;  // null: keep the selection
        int radio;            // 0: keep the placement
        bool ok;
        const char* why;
    };
    const Step steps[] = {
        {tree.news, 0, false, "its current parent, as sub-category"},
        {nullptr, IDC_AS_SIBLING, true, "beside News: to the top level"},
        {tree.world, 0, false, "beside itself: same parent"},
        {nullptr, IDC_AS_CHILD, false, "into itself"},
        {tree.europe, 0, false, "into its descendant"},
        {nullptr, IDC_AS_SIBLING, false, "beside its descendant: into itself"},
        {tree.sport, 0, false, "beside its sibling: same parent"},
        {nullptr, IDC_AS_CHILD, true, "into its sibling"},
        {tree.jazz, 0, true, "into another tree"},
        {tree.tools, IDC_AS_SIBLING, true, "to the top level"},
    };
    std::vector<std::string> wrong;
    DialogScript script;
    script.OnDialogWith(IDC_CLASS_TREE, [&](HWND d) {
        HWND t = ::GetDlgItem(d, IDC_CLASS_TREE);
        for (const Step& s : steps) {
            if (s.select) dialogs_test::SelectRecord(t, s.select);
            if (s.radio) Radio(d, s.radio);
            if (OkEnabled(d) != s.ok) wrong.push_back(s.why);
        }
        dialog_test::Click(d, IDOK);
    });
    EXPECT_EQ(dialog.DoModal(nullptr), IDOK);
    ASSERT_TRUE(script.AllStepsRan()) << script.Failure();
    EXPECT_TRUE(wrong.empty()) << wrong.front();
    EXPECT_EQ(dialog.chosen, tree.tools);
    EXPECT_EQ(dialog.chosenName, "Tools");
    EXPECT_FALSE(dialog.asChild);
}

TEST_F(MoveClass, InitialSiblingPlacementAndADisabledOkIgnoresEnter) {
    dialog.asChild = false;
    dialog.classToMove = tree.jazz;
    bool sibling = false, okAtStart = true;
    DialogScript script;
    script.OnDialogWith(IDC_CLASS_TREE, [&](HWND d) {
              sibling = ::IsDlgButtonChecked(d, IDC_AS_SIBLING) == BST_CHECKED;
              okAtStart = OkEnabled(d);
              // A command that gets past the disabled button changes nothing.
              ::PostMessageA(d, WM_COMMAND, IDOK, 0);
              dialog_test::PressKey(d, VK_RETURN);
          })
        .On([](HWND) { return true; },
            [&](HWND d) {
                dialogs_test::SelectRecord(::GetDlgItem(d, IDC_CLASS_TREE), tree.news);
                dialog_test::Click(d, IDOK);
            });
    EXPECT_EQ(dialog.DoModal(nullptr), IDOK);
    ASSERT_TRUE(script.AllStepsRan()) << script.Failure();
    EXPECT_TRUE(sibling);
    EXPECT_FALSE(okAtStart) << "beside itself";
    EXPECT_EQ(dialog.chosen, tree.news);
    EXPECT_FALSE(dialog.asChild);
}

TEST(MoveClassEmpty, NoSelectionMeansNoneAndNoOk) {
    CBookmarkStore store;
    ClassRecord* only = store_test::AddChild(store, nullptr, "Only");
    CMoveClassDlg dialog;
    dialog.root = store.Root();
    dialog.classToMove = only;
    bool ok = true;
    DialogScript script;
    script.OnDialogWith(IDC_CLASS_TREE, [&](HWND d) {
        ok = OkEnabled(d);
        ::SendDlgItemMessageA(d, IDC_CLASS_TREE, TVM_SELECTITEM, TVGN_CARET, 0);  // clears the selection
        dialog_test::Click(d, IDCANCEL);
    });
    EXPECT_EQ(dialog.DoModal(nullptr), IDCANCEL);
    ASSERT_TRUE(script.AllStepsRan()) << script.Failure();
    EXPECT_FALSE(ok);
    EXPECT_EQ(dialog.chosen, nullptr);
    EXPECT_EQ(dialog.chosenName, "");
}

}  // namespace
