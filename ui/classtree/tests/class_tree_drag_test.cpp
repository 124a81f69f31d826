// Dragging a category inside the tree, driven by mouse messages: the control
// itself reports the drag start when the cursor leaves the pressed item.
#include "class_tree_test_support.h"

#include <string>
#include <vector>

namespace {

using classtree_test::Outline;
using Lines = std::vector<std::string>;

class ClassTreeDrag : public classtree_test::ViewFixture {
protected:
    void SetUp() override {
        ViewFixture::SetUp();
        Open(classtree_test::SampleFile());
        Store().SetExpanded(Find("News"), true);
        Store().SetExpanded(Find("News/World"), true);
        // Every reading of the clock moves it on by `step` ms.
        view->SetTickSource([this] { return clock += step; });
    }

    POINT Centre(const char* path) {
        RECT rect{};
        HTREEITEM item = view->ItemOf(Find(path));
        TreeView_GetItemRect(Tree(), item, &rect, TRUE);
        return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    }
    static LPARAM At(POINT p) { return MAKELPARAM(p.x, p.y); }

    // Presses on `path` and moves away far enough for the control to start a
    // drag. True when the view took it up.
    bool BeginDrag(const char* path) {
        const POINT from = Centre(path);
        ::PostMessageA(Tree(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(from.x + 40, from.y + 40));
        ::SendMessageA(Tree(), WM_LBUTTONDOWN, MK_LBUTTON, At(from));
        return view->Dragging();
    }
    void MoveTo(POINT p) { ::SendMessageA(Tree(), WM_MOUSEMOVE, MK_LBUTTON, At(p)); }
    void Release(POINT p) { ::SendMessageA(Tree(), WM_LBUTTONUP, 0, At(p)); }

    DWORD clock = 1000;
    DWORD step = 100;
};

TEST_F(ClassTreeDrag, DropOnACategoryMovesTheSubtreeUnderItAndOpensIt) {
    ClassRecord* world = Find("News/World");
    ASSERT_TRUE(BeginDrag("News/World"));
    MoveTo(Centre("Tools"));
    EXPECT_EQ(view->DropTarget(), view->ItemOf(Find("Tools")));
    EXPECT_EQ(classtree_test::MarkedDropTarget(Tree()), view->ItemOf(Find("Tools")));
    Release(Centre("Tools"));
    EXPECT_FALSE(view->Dragging());
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_EQ(Outline(Store().Root()),
              (Lines{"0:News+", "1:Sport", "0:Tools+", "1:World+", "2:Europe", "0:音乐", "1:Jazz"}));
    EXPECT_EQ(Find("Tools/World"), world);
    EXPECT_EQ(view->SelectedClass(), world);
    EXPECT_EQ(classtree_test::MarkedDropTarget(Tree()), nullptr);
    EXPECT_TRUE(Mirrors());
}

TEST_F(ClassTreeDrag, RefusedDropsChangeNothing) {
    struct Case {
        const char* drag;
        const char* onto;
        const char* why;
    };
    const Case cases[] = {
        {"News", "News/World/Europe", "into its own descendant"},
        {"News/World", "News", "onto its current parent"},
    };
    for (const Case& c : cases) {
        const Lines before = Outline(Store().Root());
        ASSERT_TRUE(BeginDrag(c.drag)) << c.why;
        MoveTo(Centre(c.onto));
        Release(Centre(c.onto));
        EXPECT_FALSE(view->Dragging());
        EXPECT_EQ(Outline(Store().Root()), before) << c.why;
        EXPECT_TRUE(Mirrors()) << c.why;
    }
}

TEST_F(ClassTreeDrag, ASameNamedCategoryAtTheTargetRefusesAndOpensTheTarget) {
    bool duplicate = false;
    Store().AddClass(Find("音乐"), InsertPos::Last(), new ClassRecord("SPORT"), duplicate);
    Store().SetExpanded(Find("音乐"), false);
    const Lines before = Outline(Store().Root());
    ASSERT_TRUE(BeginDrag("News/Sport"));
    MoveTo(Centre("音乐"));
    Release(Centre("音乐"));
    Lines expected = before;
    for (auto& line : expected) if (line == "0:音乐") line = "0:音乐+";
    EXPECT_EQ(Outline(Store().Root()), expected);
    EXPECT_TRUE(Mirrors());
}

TEST_F(ClassTreeDrag, NearTheLeftEdgeASubCategoryGoesToTheTopLevel) {
    Select("音乐/Jazz");
    ASSERT_TRUE(BeginDrag("News/Sport"));
    POINT edge = Centre("Tools");
    edge.x = 5;
    MoveTo(edge);
    EXPECT_EQ(view->DropTarget(), nullptr);
    Release(edge);
    // After the top-level category of the selection.
    EXPECT_EQ(Outline(Store().Root()),
              (Lines{"0:News+", "1:World+", "2:Europe", "0:Tools", "0:音乐+", "1:Jazz", "0:Sport"}));
    EXPECT_TRUE(Mirrors());

    // A top-level category released there already is at the top level.
    const Lines before = Outline(Store().Root());
    ASSERT_TRUE(BeginDrag("Tools"));
    MoveTo(edge);
    Release(edge);
    EXPECT_EQ(Outline(Store().Root()), before);
    EXPECT_TRUE(Mirrors());
}

TEST_F(ClassTreeDrag, AStartSoonerThanSixtyMillisecondsAfterThePressIsAClick) {
    step = 10;
    EXPECT_FALSE(BeginDrag("News/World"));
    step = 60;
    EXPECT_TRUE(BeginDrag("Tools"));
    ::SendMessageA(Tree(), WM_KEYDOWN, VK_ESCAPE, 0);
}

TEST_F(ClassTreeDrag, EscapeCancels) {
    const Lines before = Outline(Store().Root());
    ASSERT_TRUE(BeginDrag("News/World"));
    MoveTo(Centre("Tools"));
    ::SendMessageA(Tree(), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_FALSE(view->Dragging());
    EXPECT_EQ(view->DropTarget(), nullptr);
    EXPECT_EQ(classtree_test::MarkedDropTarget(Tree()), nullptr);
    EXPECT_EQ(::GetCapture(), nullptr);
    Release(Centre("Tools"));
    EXPECT_EQ(Outline(Store().Root()), before);
    EXPECT_TRUE(Mirrors());
}

// A dialog or another program taking the mouse ends the drag: the next
// release over a category moves nothing.
TEST_F(ClassTreeDrag, LosingTheMouseCancels) {
    const Lines before = Outline(Store().Root());
    ASSERT_TRUE(BeginDrag("News/World"));
    MoveTo(Centre("Tools"));
    ::SetCapture(frame->Hwnd());
    EXPECT_FALSE(view->Dragging());
    EXPECT_EQ(classtree_test::MarkedDropTarget(Tree()), nullptr);
    ::ReleaseCapture();
    Release(Centre("Tools"));
    EXPECT_EQ(Outline(Store().Root()), before);
    EXPECT_TRUE(Mirrors());
}

TEST_F(ClassTreeDrag, RestingOnACategoryOpensItAndTheScrollTimerTicks) {
    ASSERT_TRUE(BeginDrag("Tools"));
    MoveTo(Centre("音乐"));
    EXPECT_TRUE(PumpUntil([&] { return Find("音乐")->IsExpanded(); }));
    EXPECT_EQ(view->SelectedClass(), Find("音乐"));
    EXPECT_TRUE(Mirrors());
    const int ticks = view->ScrollTicks();
    EXPECT_TRUE(PumpUntil([&] { return view->ScrollTicks() >= ticks + 3; }));
    ::SendMessageA(Tree(), WM_KEYDOWN, VK_ESCAPE, 0);
}

}  // namespace
