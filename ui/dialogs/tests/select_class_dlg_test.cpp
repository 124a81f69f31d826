#include "select_class_dlg.h"

#include "dialog_test_driver.h"
#include "dialogs_test_support.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using dialog_test::DialogScript;
using dialogs::CSelectClassDlg;

struct Seen {
    std::vector<std::string> items;
    bool paramsMatch = false, imagesRight = false;
    std::string selected;
    bool treeEnabled = false, boxVisible = false;
    UINT boxState = 99;
    bool hasImageList = false;
};

Seen Look(HWND d) {
    Seen s;
    HWND tree = ::GetDlgItem(d, IDC_CLASS_TREE);
    s.items = dialogs_test::DescribeTree(tree, s.paramsMatch, s.imagesRight);
    s.selected = dialogs_test::SelectedText(tree);
    s.treeEnabled = ::IsWindowEnabled(tree);
    s.boxVisible = ::IsWindowVisible(::GetDlgItem(d, IDC_TOP_LEVEL));
    s.boxState = ::IsDlgButtonChecked(d, IDC_TOP_LEVEL);
    s.hasImageList = ::SendMessageA(tree, TVM_GETIMAGELIST, TVSIL_NORMAL, 0) != 0;
    return s;
}

class SelectClass : public testing::Test {
protected:
    dialogs_test::SampleTree tree;
    CSelectClassDlg dialog;
    void SetUp() override { dialog.root = tree.Root(); }

    // Opens the dialog, looks at it, lets `act` drive it and returns its code.
    INT_PTR Run(Seen& seen, std::function<void(HWND)> act) {
        DialogScript script;
        script.OnDialogWith(IDC_CLASS_TREE, [&](HWND d) {
            seen = Look(d);
            act(d);
        });
        const INT_PTR result = dialog.DoModal(nullptr);
        EXPECT_TRUE(script.AllStepsRan()) << script.Failure();
        return result;
    }
};

TEST_F(SelectClass, TreeIsACopyOfTheCategoriesWithTheirExpandedStates) {
    dialog.initial = tree.europe;
    Seen seen;
    EXPECT_EQ(Run(seen, [](HWND d) { dialog_test::Click(d, IDOK); }), IDOK);
    const std::vector<std::string> expected = {"0:News+", "1:World+", "2:Europe", "1:Sport",
                                               "0:Tools", "0:音乐+",   "1:Jazz"};
    // World shows expanded because selecting Europe opened it.
    EXPECT_EQ(seen.items, expected);
    EXPECT_TRUE(seen.paramsMatch);
    EXPECT_TRUE(seen.imagesRight);
    EXPECT_TRUE(seen.hasImageList);
    EXPECT_EQ(seen.selected, "Europe");
    EXPECT_TRUE(seen.treeEnabled);
    EXPECT_TRUE(seen.boxVisible);
    EXPECT_EQ(seen.boxState, static_cast<UINT>(BST_UNCHECKED));
    EXPECT_EQ(dialog.chosen, tree.europe);
    EXPECT_EQ(dialog.chosenName, "Europe");
    EXPECT_EQ(dialog.topLevelState, 0);
}

TEST_F(SelectClass, CollapsedCategoriesStayCollapsed) {
    dialog.initial = tree.tools;
    Seen seen;
    Run(seen, [](HWND d) { dialog_test::Click(d, IDCANCEL); });
    const std::vector<std::string> expected = {"0:News+", "1:World", "2:Europe", "1:Sport",
                                               "0:Tools", "0:音乐+",  "1:Jazz"};
    EXPECT_EQ(seen.items, expected);
}

TEST_F(SelectClass, WithoutInitialCategoryTheTreesSelectionIsPreselected) {
    dialog.treeSelection = tree.jazz;
    Seen seen;
    Run(seen, [](HWND d) { dialog_test::Click(d, IDOK); });
    EXPECT_EQ(seen.selected, "Jazz");
    EXPECT_EQ(dialog.chosen, tree.jazz);
    EXPECT_EQ(dialog.chosenName, "Jazz");
}

TEST_F(SelectClass, CheckedTopLevelWinsWhateverIsSelected) {
    dialog.initial = tree.sport;
    Seen seen;
    bool enabledAfterCheck = true, enabledAfterUncheck = false;
    DialogScript script;
    script.OnDialogWith(IDC_CLASS_TREE, [&](HWND d) { ::SendDlgItemMessageA(d, IDC_TOP_LEVEL, BM_CLICK, 0, 0); })
        .On([](HWND d) { return ::IsDlgButtonChecked(d, IDC_TOP_LEVEL) == BST_CHECKED; },
            [&](HWND d) {
                enabledAfterCheck = ::IsWindowEnabled(::GetDlgItem(d, IDC_CLASS_TREE));
                ::SendDlgItemMessageA(d, IDC_TOP_LEVEL, BM_CLICK, 0, 0);
                enabledAfterUncheck = ::IsWindowEnabled(::GetDlgItem(d, IDC_CLASS_TREE));
                ::SendDlgItemMessageA(d, IDC_TOP_LEVEL, BM_CLICK, 0, 0);
                dialog_test::Click(d, IDOK);
            });
    EXPECT_EQ(dialog.DoModal(nullptr), IDOK);
    ASSERT_TRUE(script.AllStepsRan()) << script.Failure();
    EXPECT_FALSE(enabledAfterCheck);
    EXPECT_TRUE(enabledAfterUncheck);
    EXPECT_EQ(dialog.chosen, tree.Root());
    EXPECT_EQ(dialog.chosenName, "");
    EXPECT_EQ(dialog.topLevelState, 1);
}

TEST_F(SelectClass, InitialStateOfTheBoxAndHidingIt) {
    struct Case {
        int state;
        bool offered;
        UINT expected;
    };
    const Case cases[] = {{0, true, BST_UNCHECKED}, {1, true, BST_CHECKED}, {7, true, BST_UNCHECKED},
                          {-3, true, BST_UNCHECKED}, {1, false, BST_CHECKED}, {0, false, BST_UNCHECKED}};
    for (const auto& c : cases) {
        CSelectClassDlg d;
        d.root = tree.Root();
        d.initial = tree.world;
        d.topLevelState = c.state;
        d.offerTopLevel = c.offered;
        Seen seen;
        DialogScript script;
        script.OnDialogWith(IDC_CLASS_TREE, [&](HWND w) {
            seen = Look(w);
            dialog_test::Click(w, IDOK);
        });
        d.DoModal(nullptr);
        ASSERT_TRUE(script.AllStepsRan()) << script.Failure();
        EXPECT_EQ(seen.boxState, c.expected) << c.state;
        EXPECT_EQ(seen.boxVisible, c.offered) << c.state;
        EXPECT_EQ(seen.treeEnabled, c.expected != BST_CHECKED) << c.state;
        EXPECT_EQ(d.chosen, c.expected == BST_CHECKED ? tree.Root() : tree.world) << c.state;
    }
}

TEST(SelectClassEmpty, EmptyCollectionOffersOnlyTheTopLevel) {
    CBookmarkStore store;
    CSelectClassDlg dialog;
    dialog.root = store.Root();
    Seen seen;
    DialogScript script;
    script.OnDialogWith(IDC_CLASS_TREE, [&](HWND d) {
        seen = Look(d);
        dialog_test::Click(d, IDOK);
    });
    EXPECT_EQ(dialog.DoModal(nullptr), IDOK);
    ASSERT_TRUE(script.AllStepsRan()) << script.Failure();
    EXPECT_TRUE(seen.items.empty());
    EXPECT_FALSE(seen.treeEnabled);
    EXPECT_EQ(seen.boxState, static_cast<UINT>(BST_CHECKED));
    EXPECT_EQ(dialog.chosen, store.Root());
    EXPECT_EQ(dialog.chosenName, "");
}

TEST(SelectClassEmpty, UncheckingOnAnEmptyCollectionGivesNone) {
    CBookmarkStore store;
    CSelectClassDlg dialog;
    dialog.root = store.Root();
    DialogScript script;
    script.OnDialogWith(IDC_CLASS_TREE, [](HWND d) {
        ::SendDlgItemMessageA(d, IDC_TOP_LEVEL, BM_CLICK, 0, 0);
        dialog_test::Click(d, IDOK);
    });
    EXPECT_EQ(dialog.DoModal(nullptr), IDOK);
    ASSERT_TRUE(script.AllStepsRan()) << script.Failure();
    EXPECT_EQ(dialog.chosen, nullptr);
    EXPECT_EQ(dialog.topLevelState, 0);
}

TEST_F(SelectClass, CancelAlsoRecordsTheChoice) {
    dialog.initial = tree.tools;
    Seen seen;
    EXPECT_EQ(Run(seen,
                  [&](HWND d) {
                      dialogs_test::SelectRecord(::GetDlgItem(d, IDC_CLASS_TREE), tree.music);
                      dialog_test::PressKey(d, VK_ESCAPE);
                  }),
              IDCANCEL);
    EXPECT_EQ(dialog.chosen, tree.music);
    EXPECT_EQ(dialog.chosenName, "音乐");
}

}  // namespace
