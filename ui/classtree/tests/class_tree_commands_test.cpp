#include "class_tree_test_support.h"

#include "dialog_test_driver.h"
#include "dialogs_res.h"
#include "setting.h"

#include <string>
#include <vector>

namespace {

using classtree_test::Outline;
using dialog_test::DialogScript;
using Lines = std::vector<std::string>;

class ClassTreeCommands : public classtree_test::ViewFixture {
protected:
    void SetUp() override {
        ViewFixture::SetUp();
        Open(classtree_test::SampleFile());
    }
    void Command(WORD id) { ::SendMessageA(view->Hwnd(), WM_COMMAND, id, 0); }
    // Runs `id`, answering the category dialog with `name` and collecting the
    // texts of the message boxes that follow (answered with OK).
    std::vector<std::string> RunNameDialog(WORD id, const std::string& name, int expectedBoxes) {
        std::vector<std::string> boxes;
        DialogScript script;
        script.OnDialogWith(IDC_NAME_EDIT, [name](HWND d) {
            ::SetDlgItemTextA(d, IDC_NAME_EDIT, name.c_str());
            dialog_test::Click(d, IDOK);
        });
        for (int i = 0; i < expectedBoxes; ++i) {
            script.OnMessageBox([&boxes](HWND box) {
                boxes.push_back(dialog_test::MessageBoxText(box));
                dialog_test::Click(box, IDOK);
            });
        }
        Command(id);
        EXPECT_TRUE(script.AllStepsRan()) << script.Failure();
        return boxes;
    }
    const std::string exists = "书签分类已存在";
};

TEST_F(ClassTreeCommands, AddPutsTheCategoryAfterTheSelectionAtItsLevel) {
    struct Case {
        const char* select;  // null: nothing selected
        const char* name;
        Lines outline;
        const char* selectedAfter;
    };
    const Case cases[] = {
        {"News/World", "Asia", {"0:News+", "1:World", "2:Europe", "1:Asia", "1:Sport", "0:Tools", "0:音乐", "1:Jazz"},
         "News/World"},
        {"Tools", "Games", {"0:News", "1:World", "2:Europe", "1:Sport", "0:Tools", "0:Games", "0:音乐", "1:Jazz"},
         "Games"},
        {nullptr, "Last", {"0:News", "1:World", "2:Europe", "1:Sport", "0:Tools", "0:音乐", "1:Jazz", "0:Last"},
         "Last"},
    };
    for (const Case& c : cases) {
        Close();
        Open(classtree_test::SampleFile());
        if (c.select) Select(c.select);
        else TreeView_SelectItem(Tree(), nullptr);
        EXPECT_TRUE(RunNameDialog(classtree::kCmdAddClass, c.name, 0).empty());
        EXPECT_EQ(Outline(Store().Root()), c.outline) << c.name;
        EXPECT_EQ(view->SelectedClass(), Find(c.selectedAfter)) << c.name;
        EXPECT_TRUE(Store().IsModified());
        EXPECT_TRUE(Mirrors()) << c.name;
    }
}

TEST_F(ClassTreeCommands, AddOfAnExistingSiblingNameIsRefusedWithTheMessage) {
    Select("News/Sport");
    const Lines before = Outline(Store().Root());
    EXPECT_EQ(RunNameDialog(classtree::kCmdAddClass, "WORLD", 1), Lines{exists});
    Lines expected = before;
    expected[0] = "0:News+";  // the parent is opened to show the existing one
    EXPECT_EQ(Outline(Store().Root()), expected);
    EXPECT_TRUE(Mirrors());

    // The same name under another parent, or as the parent's own, is fine.
    Select("音乐/Jazz");
    EXPECT_TRUE(RunNameDialog(classtree::kCmdAddClass, "World", 0).empty());
    Select("音乐");
    EXPECT_TRUE(RunNameDialog(classtree::kCmdAddSubClass, "音乐", 0).empty());
    EXPECT_EQ(Outline(Store().Root()).back(), "1:音乐");
    EXPECT_TRUE(Mirrors());
}

TEST_F(ClassTreeCommands, AddSubCategoryGoesLastUnderTheSelectionAndKeepsIt) {
    Select("News");
    EXPECT_TRUE(RunNameDialog(classtree::kCmdAddSubClass, "Local", 0).empty());
    EXPECT_EQ(Outline(Store().Root()),
              (Lines{"0:News+", "1:World", "2:Europe", "1:Sport", "1:Local", "0:Tools", "0:音乐", "1:Jazz"}));
    EXPECT_EQ(view->SelectedClass(), Find("News"));
    EXPECT_TRUE(Mirrors());

    Select("Tools");
    EXPECT_TRUE(RunNameDialog(classtree::kCmdAddSubClass, "Editors", 0).empty());
    EXPECT_TRUE(Find("Tools")->IsExpanded()) << "a leaf becomes an open parent";
    EXPECT_TRUE(Mirrors());
    EXPECT_EQ(RunNameDialog(classtree::kCmdAddSubClass, "editors", 1), Lines{exists});
    EXPECT_EQ(Find("Tools")->FirstChild(), Find("Tools")->LastChild());
    EXPECT_TRUE(Mirrors());
}

TEST_F(ClassTreeCommands, CancelChangesNothing) {
    Select("News");
    const Lines before = Outline(Store().Root());
    for (WORD id : {classtree::kCmdAddClass, classtree::kCmdAddSubClass, classtree::kCmdEditClass}) {
        DialogScript script;
        script.OnDialogWith(IDC_NAME_EDIT, [](HWND d) {
            ::SetDlgItemTextA(d, IDC_NAME_EDIT, "Changed");
            dialog_test::Click(d, IDCANCEL);
        });
        Command(id);
        EXPECT_TRUE(script.AllStepsRan()) << script.Failure();
        EXPECT_EQ(Outline(Store().Root()), before) << id;
        EXPECT_TRUE(Mirrors());
    }
    EXPECT_FALSE(Store().IsModified());
}

// F2 in the tree renames the selected category, as in Explorer.
TEST_F(ClassTreeCommands, F2RenamesTheSelectedCategory) {
    Select("Tools");
    DialogScript script;
    script.OnDialogWith(IDC_NAME_EDIT, [](HWND d) {
        ::SetDlgItemTextA(d, IDC_NAME_EDIT, "Utilities");
        dialog_test::Click(d, IDOK);
    });
    ::SendMessageA(Tree(), WM_KEYDOWN, VK_F2, 0);
    EXPECT_TRUE(script.AllStepsRan()) << script.Failure();
    EXPECT_NE(Find("Utilities"), nullptr);
}

TEST_F(ClassTreeCommands, EditRenamesUnlessTheNameIsTakenOrOnlyItsCaseChanges) {
    Select("News");
    std::string shown;
    {
        DialogScript script;
        script.OnDialogWith(IDC_NAME_EDIT, [&shown](HWND d) {
            shown = dialog_test::ItemText(d, IDC_NAME_EDIT);
            ::SetDlgItemTextA(d, IDC_NAME_EDIT, "news");
            dialog_test::Click(d, IDOK);
        });
        Command(classtree::kCmdEditClass);
        EXPECT_TRUE(script.AllStepsRan()) << script.Failure();
    }
    EXPECT_EQ(shown, "News");
    EXPECT_EQ(Find("News")->name, "News") << "a change of case alone is ignored";
    EXPECT_FALSE(Store().IsModified());

    EXPECT_EQ(RunNameDialog(classtree::kCmdEditClass, "TOOLS", 1), Lines{exists});
    EXPECT_NE(Find("News"), nullptr);
    EXPECT_TRUE(Mirrors());

    EXPECT_TRUE(RunNameDialog(classtree::kCmdEditClass, "Headlines", 0).empty());
    ASSERT_NE(Find("Headlines"), nullptr);
    EXPECT_EQ(Find("Headlines")->bookmarks.size(), 2u);
    EXPECT_TRUE(Store().IsModified());
    EXPECT_TRUE(Mirrors());

    // A sub-category may take its parent's name.
    Select("音乐/Jazz");
    EXPECT_TRUE(RunNameDialog(classtree::kCmdEditClass, "音乐", 0).empty());
    EXPECT_NE(Find("音乐/音乐"), nullptr);
    EXPECT_TRUE(Mirrors());
}

TEST_F(ClassTreeCommands, DeleteAsksWhenSetAndTakesTheWholeSubtree) {
    CSetting::Instance()->Other_PromptWhenDelClass = 1;
    Select("News");
    for (int answer : {IDNO, IDYES}) {
        std::string text;
        DialogScript script;
        script.OnMessageBox([&text, answer](HWND box) {
            text = dialog_test::MessageBoxText(box);
            dialog_test::Click(box, answer);
        });
        Command(classtree::kCmdDeleteClass);
        EXPECT_TRUE(script.AllStepsRan()) << script.Failure();
        EXPECT_EQ(text, "您真的要删除该分类吗?");
        EXPECT_EQ(Find("News") == nullptr, answer == IDYES);
        EXPECT_TRUE(Mirrors());
    }
    EXPECT_EQ(Outline(Store().Root()), (Lines{"0:Tools", "0:音乐", "1:Jazz"}));
    EXPECT_EQ(Store().TotalBookmarks(), 0u);
}

TEST_F(ClassTreeCommands, CommandsNeedingASelectionDoNothingWithoutOne) {
    TreeView_SelectItem(Tree(), nullptr);
    const Lines before = Outline(Store().Root());
    DialogScript script;  // any dialog would be a fault: none is answered
    for (WORD id : {classtree::kCmdEditClass, classtree::kCmdDeleteClass, classtree::kCmdMoveClassTo,
                    classtree::kCmdMoveClassUp, classtree::kCmdMoveClassDown}) {
        Command(id);
    }
    EXPECT_EQ(Outline(Store().Root()), before);
    EXPECT_FALSE(Store().IsModified());
    EXPECT_TRUE(Mirrors());
}

TEST_F(ClassTreeCommands, MoveUpAndDownCarryTheSubtreeAndStopAtTheEnds) {
    Store().SetExpanded(Find("News/World"), true);
    Store().SetExpanded(Find("News"), true);
    ClassRecord* news = Find("News");
    struct Step {
        const char* select;
        WORD command;
        Lines outline;
        bool modified;
    };
    const Step steps[] = {
        {"News", classtree::kCmdMoveClassUp,
         {"0:News+", "1:World+", "2:Europe", "1:Sport", "0:Tools", "0:音乐", "1:Jazz"}, false},
        {"News", classtree::kCmdMoveClassDown,
         {"0:Tools", "0:News+", "1:World+", "2:Europe", "1:Sport", "0:音乐", "1:Jazz"}, true},
        {"News", classtree::kCmdMoveClassDown,
         {"0:Tools", "0:音乐", "1:Jazz", "0:News+", "1:World+", "2:Europe", "1:Sport"}, true},
        {"News", classtree::kCmdMoveClassDown,
         {"0:Tools", "0:音乐", "1:Jazz", "0:News+", "1:World+", "2:Europe", "1:Sport"}, false},
        {"News/Sport", classtree::kCmdMoveClassUp,
         {"0:Tools", "0:音乐", "1:Jazz", "0:News+", "1:Sport", "1:World+", "2:Europe"}, true},
    };
    for (const Step& s : steps) {
        Select(s.select);
        Store().SetModified(false);
        ClassRecord* moved = Find(s.select);
        Command(s.command);
        EXPECT_EQ(Outline(Store().Root()), s.outline) << s.select << " " << s.command;
        EXPECT_EQ(Store().IsModified(), s.modified);
        EXPECT_EQ(view->SelectedClass(), moved) << "the moved category stays selected";
        EXPECT_TRUE(Mirrors());
    }
    EXPECT_EQ(Find("News"), news) << "the same record after every move";
    EXPECT_EQ(news->bookmarks.size(), 2u);
}

TEST_F(ClassTreeCommands, MoveToAsSubCategoryOrSibling) {
    Store().SetExpanded(Find("News/World"), true);
    struct Case {
        const char* move;
        const char* choose;
        bool asChild;
        Lines outline;
        int boxes;
    };
    const Case cases[] = {
        {"News/World", "音乐/Jazz", true,
         {"0:News+", "1:Sport", "0:Tools", "0:音乐+", "1:Jazz+", "2:World+", "3:Europe"}, 0},
        {"News/World", "音乐/Jazz", false,
         {"0:News+", "1:Sport", "0:Tools", "0:音乐+", "1:Jazz", "1:World+", "2:Europe"}, 0},
        {"News/World", "Tools", false, {"0:News+", "1:Sport", "0:Tools", "0:音乐", "1:Jazz", "0:World+", "1:Europe"}, 0},
    };
    for (const Case& c : cases) {
        Close();
        Open(classtree_test::SampleFile());
        Store().SetExpanded(Find("News/World"), true);
        ClassRecord* moved = Find(c.move);
        ClassRecord* chosen = Find(c.choose);
        Select(c.move);
        DialogScript script;
        script.OnDialogWith(IDC_CLASS_TREE, [&](HWND d) {
            HWND copy = ::GetDlgItem(d, IDC_CLASS_TREE);
            // Select the copy whose lParam is the chosen category.
            std::vector<HTREEITEM> stack{TreeView_GetRoot(copy)};
            while (!stack.empty()) {
                HTREEITEM item = stack.back();
                stack.pop_back();
                if (!item) continue;
                TVITEMA info{};
                info.mask = TVIF_PARAM;
                info.hItem = item;
                TreeView_GetItem(copy, &info);
                if (reinterpret_cast<ClassRecord*>(info.lParam) == chosen) TreeView_SelectItem(copy, item);
                stack.push_back(TreeView_GetNextSibling(copy, item));
                stack.push_back(TreeView_GetChild(copy, item));
            }
            ::SendDlgItemMessageA(d, c.asChild ? IDC_AS_CHILD : IDC_AS_SIBLING, BM_CLICK, 0, 0);
            dialog_test::Click(d, IDOK);
        });
        Command(classtree::kCmdMoveClassTo);
        EXPECT_TRUE(script.AllStepsRan()) << script.Failure();
        EXPECT_EQ(Outline(Store().Root()), c.outline) << c.choose;
        EXPECT_EQ(view->SelectedClass(), moved);
        EXPECT_TRUE(Mirrors());
    }
}

TEST_F(ClassTreeCommands, MoveToBesideASameNamedCategoryIsRefusedWithTheMessage) {
    // A "Sport" at the top level already: moving News/Sport there clashes.
    Select("Tools");
    RunNameDialog(classtree::kCmdAddClass, "SPORT", 0);
    Select("News/Sport");
    const Lines before = Outline(Store().Root());
    std::string text;
    DialogScript script;
    script.OnDialogWith(IDC_CLASS_TREE, [](HWND d) {
        HWND copy = ::GetDlgItem(d, IDC_CLASS_TREE);
        TreeView_SelectItem(copy, TreeView_GetRoot(copy));  // News
        ::SendDlgItemMessageA(d, IDC_AS_SIBLING, BM_CLICK, 0, 0);
        dialog_test::Click(d, IDOK);
    });
    script.OnMessageBox([&text](HWND box) {
        text = dialog_test::MessageBoxText(box);
        dialog_test::Click(box, IDOK);
    });
    Command(classtree::kCmdMoveClassTo);
    EXPECT_TRUE(script.AllStepsRan()) << script.Failure();
    EXPECT_EQ(text, exists);
    EXPECT_EQ(Outline(Store().Root()), before);
    EXPECT_TRUE(Mirrors());
}

}  // namespace
