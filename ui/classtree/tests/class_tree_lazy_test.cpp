// The control holds only the top level and the sub-categories of categories
// that have been opened: events below a category not yet filled change only
// its button, and whatever needs an item deeper down fills the way to it.
#include "class_tree_test_support.h"
#include "store_test_helpers.h"

#include <string>
#include <vector>

namespace {

using classtree_test::Outline;
using Lines = std::vector<std::string>;

class ClassTreeLazy : public classtree_test::ViewFixture {
public:
    using ViewFixture::Find;
    using ViewFixture::Store;

    unsigned Count() const { return TreeView_GetCount(Tree()); }
    bool HasButton(const char* path) const {
        TVITEMA info{};
        info.mask = TVIF_CHILDREN;
        info.hItem = view->ItemOf(Find(path));
        return info.hItem && TreeView_GetItem(Tree(), &info) && info.cChildren == 1;
    }
    // Opens a category the way the user does, with the right arrow key.
    void OpenByKey(const char* path) {
        Select(path);
        ::SendMessageA(Tree(), WM_KEYDOWN, VK_RIGHT, 0);
    }
    ClassRecord* Add(ClassRecord* parent, const char* name) { return store_test::AddChild(Store(), parent, name); }
};

TEST_F(ClassTreeLazy, LoadingInsertsTheTopLevelAndOpeningInsertsOneLevel) {
    Open(classtree_test::SampleFile());
    EXPECT_EQ(Count(), 3u) << "News, Tools, 音乐";
    EXPECT_TRUE(HasButton("News"));
    EXPECT_FALSE(HasButton("Tools"));
    EXPECT_TRUE(HasButton("音乐"));
    EXPECT_EQ(view->ItemOf(Find("News/World")), nullptr);
    EXPECT_TRUE(Mirrors());

    OpenByKey("News");
    EXPECT_TRUE(Find("News")->IsExpanded());
    EXPECT_EQ(Count(), 5u) << "World and Sport, not Europe";
    EXPECT_TRUE(HasButton("News/World"));
    EXPECT_EQ(view->ItemOf(Find("News/World/Europe")), nullptr);
    EXPECT_TRUE(Mirrors());

    // Closed again, the sub-categories stay in the control.
    ::SendMessageA(Tree(), WM_KEYDOWN, VK_LEFT, 0);
    EXPECT_FALSE(Find("News")->IsExpanded());
    EXPECT_EQ(Count(), 5u);
    EXPECT_TRUE(Mirrors());
}

TEST_F(ClassTreeLazy, EventsBelowAnUnfilledCategoryChangeOnlyItsButton) {
    Open(classtree_test::SampleFile());
    struct Step {
        const char* what;
        void (*change)(ClassTreeLazy&);
        const char* buttonOn;
        bool button;
    };
    const Step steps[] = {
        {"a sub-category added to a closed category without any",
         [](ClassTreeLazy& t) { t.Add(t.Find("Tools"), "Hammer"); }, "Tools", true},
        {"one more below a closed category",
         [](ClassTreeLazy& t) { t.Add(t.Find("音乐"), "Blues"); }, "音乐", true},
        {"a deeper category renamed",
         [](ClassTreeLazy& t) { t.Store().RenameClass(t.Find("News/World/Europe"), "Asia"); }, "News", true},
        {"a deeper category opened in the store",
         [](ClassTreeLazy& t) { t.Store().SetExpanded(t.Find("News/World"), true); }, "News", true},
        {"the only sub-category deleted",
         [](ClassTreeLazy& t) { t.Store().DeleteClass(t.Find("Tools/Hammer")); }, "Tools", false},
    };
    for (const Step& step : steps) {
        step.change(*this);
        EXPECT_EQ(Count(), 3u) << step.what;
        EXPECT_EQ(HasButton(step.buttonOn), step.button) << step.what;
        EXPECT_TRUE(Mirrors()) << step.what;
    }

    // Opened, each shows what the store holds now.
    OpenByKey("音乐");
    OpenByKey("News");
    EXPECT_EQ(Outline(Store().Root()),
              (Lines{"0:News+", "1:World+", "2:Asia", "1:Sport", "0:Tools", "0:音乐+", "1:Jazz", "1:Blues"}));
    EXPECT_NE(view->ItemOf(Find("News/World/Asia")), nullptr) << "World was open in the store";
    EXPECT_TRUE(Mirrors());
}

TEST_F(ClassTreeLazy, ASubtreeMovedIntoAnUnfilledCategoryIsSelectedThere) {
    Open(classtree_test::SampleFile());
    Store().SetExpanded(Find("News"), true);
    Store().SetExpanded(Find("News/World"), true);
    ClassRecord* world = Find("News/World");
    bool duplicate = false;
    ASSERT_TRUE(Store().MoveClassTo(duplicate, world, Find("音乐/Jazz"), InsertPos::Last()));
    EXPECT_EQ(view->SelectedClass(), world);
    // The way to it opened; it keeps its own open state and sub-category.
    EXPECT_EQ(Outline(Store().Root()),
              (Lines{"0:News+", "1:Sport", "0:Tools", "0:音乐+", "1:Jazz+", "2:World+", "3:Europe"}));
    EXPECT_TRUE(Mirrors());

    // A category never shown moves to the top level; the closed category it
    // leaves loses its button.
    ClassRecord* drill = Add(Find("Tools"), "Drill");
    EXPECT_EQ(view->ItemOf(drill), nullptr);
    EXPECT_TRUE(HasButton("Tools"));
    ASSERT_TRUE(Store().MoveClassTo(duplicate, drill, nullptr, InsertPos::Last()));
    EXPECT_EQ(view->SelectedClass(), drill);
    EXPECT_FALSE(HasButton("Tools"));
    EXPECT_TRUE(Mirrors());
}

TEST_F(ClassTreeLazy, SelectingADeepCategoryFillsTheWayToIt) {
    // A chain 60 deep with a closed sibling with a child at every level.
    std::vector<std::string> lines;
    for (int depth = 0; depth < 60; ++depth) {
        lines.push_back("<G t=\"Side " + std::to_string(depth) + "\"><G t=\"Leaf\"/></G>");
        lines.push_back("<G t=\"Level " + std::to_string(depth) + "\">");
    }
    lines.push_back("<G t=\"Bottom\"/>");
    for (int depth = 0; depth < 60; ++depth) lines.push_back("</G>");
    Open(classtree_test::FileOf(lines));
    EXPECT_EQ(Count(), 2u);

    ClassRecord* bottom = Store().Root();
    while (bottom->LastChild()) bottom = bottom->LastChild();
    ASSERT_EQ(bottom->name, "Bottom");
    Store().SelectCaret(bottom);
    EXPECT_EQ(view->SelectedClass(), bottom);
    for (ClassRecord* p = bottom->Parent(); p != Store().Root(); p = p->Parent()) {
        ASSERT_TRUE(p->IsExpanded()) << p->name;
    }
    EXPECT_EQ(Count(), 2u * 60 + 1) << "each level and its closed side category, not their leaves";
    EXPECT_TRUE(Mirrors());

    // Deleting the chain from its top takes every item below it.
    Store().DeleteClass(Find("Level 0"));
    EXPECT_EQ(Count(), 1u);
    EXPECT_EQ(view->ItemOf(bottom), nullptr);
    EXPECT_TRUE(Mirrors());
}

}  // namespace
