// Edge scrolling while something is dragged over the tree, tick by tick: the
// ticks are sent to the view directly (the in-tree drag's scroll timer, the
// frame's auto-scroll relay of an OLE drag) with the cursor the view reads
// placed at a given distance from an edge, and the first visible item is read
// after each.
#include "class_tree_test_support.h"
#include "test_data_object.h"

#include "framework/private_messages.h"

#include <ole2.h>

#include <string>
#include <vector>

namespace {

// Where the cursor rests, relative to the tree's client rectangle on screen.
enum class Edge { kTop, kBottom, kMiddle };

struct Place {
    Edge edge;
    int beyond;      // pixels past the edge (negative: inside the tree)
    int step;        // a scroll every `step` ticks; 0: never
    const char* what;
};

class ClassTreeScroll : public classtree_test::ViewFixture {
protected:
    void SetUp() override {
        ViewFixture::SetUp();
        std::vector<std::string> lines;
        for (int i = 0; i < 80; ++i) lines.push_back("<G t=\"C" + std::to_string(i) + "\"/>");
        Open(classtree_test::FileOf(lines));
        view->SetTickSource([this] { return clock += 100; });
        view->SetCursorSource([this] { return cursor; });
        RECT client{};
        ::GetClientRect(Tree(), &client);
        ::MapWindowPoints(Tree(), nullptr, reinterpret_cast<POINT*>(&client), 2);
        screen = client;
    }

    HTREEITEM FirstVisible() const { return TreeView_GetFirstVisible(Tree()); }
    HTREEITEM LastVisible() const {
        HTREEITEM item = FirstVisible();
        for (UINT i = 1; i < TreeView_GetVisibleCount(Tree()); ++i) item = TreeView_GetNextVisible(Tree(), item);
        return item;
    }
    // Scrolls so that the 30th category is the first one shown.
    void ScrollToTheMiddle() {
        HTREEITEM item = view->ItemOf(Find("C30"));
        ASSERT_NE(item, nullptr);
        TreeView_SelectSetFirstVisible(Tree(), item);
        ASSERT_EQ(FirstVisible(), item);
    }
    POINT CursorAt(const Place& place) const {
        const int x = (screen.left + screen.right) / 2;
        switch (place.edge) {
        case Edge::kTop:
            return POINT{x, screen.top - place.beyond};
        case Edge::kBottom:
            return POINT{x, screen.bottom + place.beyond};
        default:
            return POINT{x, (screen.top + screen.bottom) / 2};
        }
    }

    // Sends `ticks` ticks through `tick` with the cursor at `place` and checks
    // that the tree scrolls one line towards the edge on exactly every
    // `step`-th value of the view's tick counter, marking the line that came
    // into view as drop target, and on no other tick.
    template <class Tick>
    void ExpectScrolling(const Place& place, int ticks, Tick tick) {
        SCOPED_TRACE(place.what);
        ScrollToTheMiddle();
        cursor = CursorAt(place);
        for (int i = 0; i < ticks; ++i) {
            const HTREEITEM before = FirstVisible();
            tick();
            const int counter = view->ScrollTicks();
            const bool due = place.step > 0 && counter % place.step == 0;
            const HTREEITEM after = FirstVisible();
            if (!due) {
                EXPECT_EQ(after, before) << "moved on tick " << counter;
                continue;
            }
            if (place.edge == Edge::kTop) {
                EXPECT_EQ(after, TreeView_GetPrevVisible(Tree(), before)) << "no line up on tick " << counter;
                EXPECT_EQ(view->DropTarget(), after) << "tick " << counter;
            } else {
                EXPECT_EQ(after, TreeView_GetNextVisible(Tree(), before)) << "no line down on tick " << counter;
                EXPECT_EQ(view->DropTarget(), LastVisible()) << "tick " << counter;
            }
            EXPECT_EQ(classtree_test::MarkedDropTarget(Tree()), view->DropTarget()) << "tick " << counter;
        }
    }

    void ScrollTimerTick() { ::SendMessageA(view->Hwnd(), WM_TIMER, classtree::CClassTreeView::kScrollTimer, 0); }
    void OleTick() { ::SendMessageA(frame->Hwnd(), framework::UWM_TREE_AUTOSCROLL, 0, 0); }

    // Starts dragging C35 inside the tree: pressed, then moved away far enough
    // for the control to report the drag.
    bool BeginDrag() {
        ScrollToTheMiddle();
        RECT rect{};
        TreeView_GetItemRect(Tree(), view->ItemOf(Find("C35")), &rect, TRUE);
        const POINT from{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
        ::PostMessageA(Tree(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(from.x + 40, from.y + 40));
        ::SendMessageA(Tree(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
        return view->Dragging();
    }

    DWORD clock = 1000;
    POINT cursor{};
    RECT screen{};
};

TEST_F(ClassTreeScroll, InTreeDragScrollsNearAnEdgeFasterTheFurtherOut) {
    const Place places[] = {
        {Edge::kTop, -5, 6, "5 pixels inside the top edge: every sixth tick"},
        {Edge::kTop, 9, 6, "9 above the top edge: still every sixth"},
        {Edge::kTop, 10, 5, "10 above: every fifth"},
        {Edge::kTop, 50, 3, "50 above: every third"},
        {Edge::kTop, 95, 1, "95 above: every tick"},
        {Edge::kBottom, -5, 6, "5 inside the bottom edge: every sixth"},
        {Edge::kBottom, 30, 4, "30 below: every fourth"},
        {Edge::kBottom, 120, 1, "far below: every tick"},
        {Edge::kMiddle, 0, 0, "in the middle: never"},
    };
    for (const Place& place : places) {
        ASSERT_TRUE(BeginDrag()) << place.what;
        ExpectScrolling(place, 13, [this] { ScrollTimerTick(); });
        ::SendMessageA(Tree(), WM_KEYDOWN, VK_ESCAPE, 0);
        ASSERT_FALSE(view->Dragging());
    }
    EXPECT_TRUE(Mirrors());
}

TEST_F(ClassTreeScroll, TicksWithoutADragScrollNothing) {
    ScrollToTheMiddle();
    cursor = CursorAt({Edge::kTop, 95, 1, ""});
    const HTREEITEM before = FirstVisible();
    for (int i = 0; i < 6; ++i) OleTick();
    EXPECT_EQ(FirstVisible(), before) << "no OLE drag has entered";
}

TEST_F(ClassTreeScroll, OleDragScrollsBesideAnEdgeAndNotFromACorner) {
    auto* unknown = static_cast<IUnknown*>(::GetPropA(Tree(), "OleDropTargetInterface"));
    ASSERT_NE(unknown, nullptr);
    IDropTarget* target = nullptr;
    unknown->QueryInterface(IID_IDropTarget, reinterpret_cast<void**>(&target));
    ASSERT_NE(target, nullptr);
    classtree_test::TestData data;  // offers nothing
    const auto enter = [&] {
        DWORD effect = DROPEFFECT_MOVE;
        const POINT centre = CursorAt({Edge::kMiddle, 0, 0, ""});
        target->DragEnter(&data, 0, POINTL{centre.x, centre.y}, &effect);
    };

    // Beside the top or bottom edge only; the cursor over the tree or in a
    // corner right after entering gives no direction to scroll in.
    const Place places[] = {
        {Edge::kTop, 1, 6, "just above the top edge: every sixth tick"},
        {Edge::kTop, 50, 3, "50 above: every third"},
        {Edge::kBottom, 1, 6, "just below the bottom edge: every sixth"},
        {Edge::kBottom, 110, 1, "110 below: every tick"},
        {Edge::kMiddle, 0, 0, "over the tree: never"},
    };
    for (const Place& place : places) {
        enter();
        ExpectScrolling(place, 13, [this] { OleTick(); });
        target->DragLeave();
    }

    enter();
    ScrollToTheMiddle();
    const HTREEITEM middle = FirstVisible();
    cursor = POINT{screen.left - 20, screen.top - 20};
    for (int i = 0; i < 8; ++i) OleTick();
    EXPECT_EQ(FirstVisible(), middle) << "a corner scrolled";

    // Once a zone has been used, the corner keeps scrolling the same way.
    cursor = CursorAt({Edge::kTop, 95, 1, ""});
    OleTick();
    const HTREEITEM scrolled = FirstVisible();
    EXPECT_EQ(scrolled, TreeView_GetPrevVisible(Tree(), middle));
    cursor = POINT{screen.left - 20, screen.top - 20};
    for (int i = 0; i < 6; ++i) OleTick();
    EXPECT_NE(FirstVisible(), scrolled) << "the corner did not go on upwards";
    target->DragLeave();
    target->Release();
    EXPECT_TRUE(Mirrors());
}

}  // namespace
