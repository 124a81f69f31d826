// Categories: adding, finding, deleting and moving, with the refusals.
#include <gtest/gtest.h>

#include "bookmark_store.h"
#include "store_test_helpers.h"

namespace {

using store_test::AddBookmarks;
using store_test::AddChild;
using store_test::ChildNames;
using store_test::Describe;
using Names = std::vector<std::string>;

TEST(StoreTreeTest, ClassOfTheRootAndOfNoItemIsNone) {
    CBookmarkStore store;
    ClassRecord* news = store.AddTopClass("News");
    EXPECT_EQ(store.ClassOf(store.Root()), nullptr);
    EXPECT_EQ(store.ClassOf(nullptr), nullptr);
    EXPECT_EQ(store.ClassOf(news), news);
    EXPECT_EQ(news->Parent(), store.Root());
}

TEST(StoreTreeTest, AddClassPutsTheCategoryAtTheRequestedPlace) {
    CBookmarkStore store;
    ClassRecord* b = store.AddTopClass("B");
    ClassRecord* d = store.AddTopClass("D");
    bool duplicate = true;
    store.AddClass(nullptr, InsertPos::First(), new ClassRecord("A"), duplicate);
    EXPECT_FALSE(duplicate);
    store.AddClass(store.Root(), b, new ClassRecord("C"), duplicate);
    store.AddClass(store.Root(), InsertPos::Last(), new ClassRecord("E"), duplicate);
    store.AddClass(store.Root(), nullptr, new ClassRecord("F"), duplicate);
    // A sibling of another parent is no place here: the end is taken.
    ClassRecord* inner = AddChild(store, d, "inner");
    store.AddClass(store.Root(), inner, new ClassRecord("G"), duplicate);
    EXPECT_EQ(ChildNames(store.Root()), (Names{"A", "B", "C", "D", "E", "F", "G"}));
    EXPECT_EQ(ChildNames(d), (Names{"inner"}));
    EXPECT_EQ(store.Root()->FirstChild()->name, "A");
    EXPECT_EQ(store.Root()->LastChild()->name, "G");
}

TEST(StoreTreeTest, SameNameAmongSiblingsIsRefusedInAnyAsciiCase) {
    CBookmarkStore store;
    ClassRecord* news = store.AddTopClass("News");
    store.SetModified(false);
    bool duplicate = false;
    auto* again = new ClassRecord("nEWS");
    EXPECT_EQ(store.AddClass(nullptr, InsertPos::Last(), again, duplicate), news);
    EXPECT_TRUE(duplicate);
    EXPECT_EQ(again->Parent(), nullptr) << "the refused record must stay the caller's";
    delete again;
    EXPECT_TRUE(store.IsModified()) << "a refused add still marks the collection";
    EXPECT_EQ(store.AddTopClass("NEWS"), news);
    EXPECT_EQ(ChildNames(store.Root()), (Names{"News"}));

    // The same name under another parent is fine.
    ClassRecord* sub = AddChild(store, news, "news");
    ASSERT_NE(sub, nullptr);
    EXPECT_NE(sub, news);
    EXPECT_EQ(sub->Parent(), news);
}

TEST(StoreTreeTest, FindChildClassPassesOverTheSkippedItem) {
    CBookmarkStore store;
    ClassRecord* first = store.AddTopClass("Tools");
    ClassRecord* other = store.AddTopClass("Other");
    ClassRecord probe("TOOLS");
    EXPECT_EQ(store.FindChildClass(nullptr, &probe, nullptr), first);
    EXPECT_EQ(store.FindChildClass(store.Root(), &probe, first), nullptr);
    EXPECT_EQ(store.FindChildClass(store.Root(), "other", nullptr), other);
    EXPECT_EQ(store.FindChildClass(other, "tools", nullptr), nullptr);
    EXPECT_EQ(store.FindChildClass(store.Root(), static_cast<const ClassRecord*>(nullptr), nullptr), nullptr);
}

TEST(StoreTreeTest, DeleteClassTakesTheWholeSubtreeAndMarksModified) {
    CBookmarkStore store;
    ClassRecord* a = store.AddTopClass("A");
    ClassRecord* a1 = AddChild(store, a, "A1");
    AddChild(store, a1, "A1x");
    AddBookmarks(store, a1, {"one", "two"});
    store.AddTopClass("B");
    store.SetModified(false);
    store.DeleteClass(a);  // the sanitizers check that everything was freed
    EXPECT_TRUE(store.IsModified());
    EXPECT_EQ(Describe(store), (Names{"B(0)"}));
    EXPECT_EQ(store.TotalBookmarks(), 0u);

    store.SetModified(false);
    store.DeleteClass(store.Root());
    store.DeleteClass(nullptr);
    EXPECT_EQ(Describe(store), (Names{"B(0)"}));
    EXPECT_FALSE(store.IsModified());
}

TEST(StoreTreeTest, MoveUpAndDownAtTheEndsChangeNothing) {
    CBookmarkStore store;
    ClassRecord* a = store.AddTopClass("A");
    store.AddTopClass("B");
    ClassRecord* c = store.AddTopClass("C");
    store.SetModified(false);
    EXPECT_FALSE(store.MoveClassUp(a));
    EXPECT_FALSE(store.MoveClassDown(c));
    EXPECT_FALSE(store.MoveClassUp(store.Root()));
    EXPECT_FALSE(store.IsModified());
    EXPECT_EQ(ChildNames(store.Root()), (Names{"A", "B", "C"}));

    ClassRecord* only = AddChild(store, a, "only");
    store.SetModified(false);
    EXPECT_FALSE(store.MoveClassUp(only));
    EXPECT_FALSE(store.MoveClassDown(only));
    EXPECT_FALSE(store.IsModified());
}

TEST(StoreTreeTest, MoveUpAndDownStepOnePlace) {
    CBookmarkStore store;
    ClassRecord* a = store.AddTopClass("A");
    ClassRecord* b = store.AddTopClass("B");
    ClassRecord* c = store.AddTopClass("C");
    store.SetModified(false);
    EXPECT_TRUE(store.MoveClassUp(c));
    EXPECT_TRUE(store.IsModified());
    EXPECT_EQ(ChildNames(store.Root()), (Names{"A", "C", "B"}));
    EXPECT_TRUE(store.MoveClassUp(c));
    EXPECT_EQ(ChildNames(store.Root()), (Names{"C", "A", "B"}));
    EXPECT_TRUE(store.MoveClassDown(c));
    EXPECT_EQ(ChildNames(store.Root()), (Names{"A", "C", "B"}));
    EXPECT_TRUE(store.MoveClassDown(a));
    EXPECT_EQ(ChildNames(store.Root()), (Names{"C", "A", "B"}));
    EXPECT_TRUE(store.MoveClassDown(a));
    EXPECT_EQ(ChildNames(store.Root()), (Names{"C", "B", "A"}));
    EXPECT_EQ(store.Root()->LastChild(), a);
    EXPECT_EQ(b->PrevSibling(), c);
    EXPECT_EQ(b->NextSibling(), a);
}

TEST(StoreTreeTest, CanMoveClassRefusesSelfDescendantsAndTheCurrentParent) {
    CBookmarkStore store;
    ClassRecord* a = store.AddTopClass("A");
    ClassRecord* a1 = AddChild(store, a, "A1");
    ClassRecord* a1x = AddChild(store, a1, "A1x");
    ClassRecord* b = store.AddTopClass("B");
    struct Case {
        ClassRecord* item;
        ClassRecord* newParent;
        bool allowed;
    } cases[] = {
        {a, a, false},           // onto itself
        {a, a1, false},          // into its child
        {a, a1x, false},         // into a deeper descendant
        {a, nullptr, false},     // the top level it already has
        {a, store.Root(), false},
        {a1, a, false},          // its current parent
        {a1, a1x, false},
        {a1, b, true},
        {a1, nullptr, true},     // up to the top level
        {a1x, a, true},          // to its grandparent
        {b, a1x, true},
        {store.Root(), a, false},
        {nullptr, a, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(store.CanMoveClass(c.item, c.newParent), c.allowed)
            << (c.item ? c.item->name : "none") << " -> " << (c.newParent ? c.newParent->name : "top");
    }
}

TEST(StoreTreeTest, RefusedMovesChangeNothing) {
    CBookmarkStore store;
    ClassRecord* a = store.AddTopClass("A");
    ClassRecord* a1 = AddChild(store, a, "A1");
    ClassRecord* b = store.AddTopClass("B");
    AddChild(store, b, "a1");
    const Names before = Describe(store);
    store.SetModified(false);

    bool duplicate = true;
    EXPECT_FALSE(store.MoveClassTo(duplicate, a, a1, InsertPos::Last()));
    EXPECT_TRUE(duplicate) << "a refusal by CanMoveClass leaves duplicate untouched";
    duplicate = false;
    EXPECT_FALSE(store.MoveClassTo(duplicate, a, a, InsertPos::Last()));
    EXPECT_FALSE(store.MoveClassTo(duplicate, a1, a, InsertPos::Last()));
    EXPECT_FALSE(duplicate);

    // A child of the new parent has the same name in another case.
    EXPECT_FALSE(store.MoveClassTo(duplicate, a1, b, InsertPos::Last()));
    EXPECT_TRUE(duplicate);
    EXPECT_EQ(Describe(store), before);
    EXPECT_FALSE(store.IsModified());
}

TEST(StoreTreeTest, MoveKeepsRecordsBookmarksSubtreeOrderAndExpandedStates) {
    CBookmarkStore store;
    ClassRecord* a = store.AddTopClass("A");
    ClassRecord* x = AddChild(store, a, "X");
    ClassRecord* x1 = AddChild(store, x, "X1");
    ClassRecord* x2 = AddChild(store, x, "X2");
    ClassRecord* x3 = AddChild(store, x, "X3");
    ClassRecord* x2deep = AddChild(store, x2, "deep");
    AddBookmarks(store, x, {"one", "two", "three"});
    AddBookmarks(store, x2deep, {"inner"});
    ClassRecord* b = store.AddTopClass("B");
    ClassRecord* b1 = AddChild(store, b, "B1");
    store.SetExpanded(x, true);
    store.SetExpanded(x2, true);
    BookmarkRecord* two = x->bookmarks[1];
    store.SetModified(false);

    bool duplicate = true;
    ASSERT_TRUE(store.MoveClassTo(duplicate, x, b, InsertPos::First()));
    EXPECT_FALSE(duplicate);
    EXPECT_TRUE(store.IsModified());
    EXPECT_EQ(Describe(store), (Names{"A(0)", "B(0)", "X(1):one,two,three", "X1(2)", "X2(2)", "deep(3):inner",
                                      "X3(2)", "B1(1)"}));
    EXPECT_EQ(x->Parent(), b);
    EXPECT_EQ(b->FirstChild(), x);
    EXPECT_EQ(x->NextSibling(), b1);
    EXPECT_EQ(x->FirstChild(), x1);
    EXPECT_EQ(x1->NextSibling(), x2);
    EXPECT_EQ(x2->NextSibling(), x3);
    EXPECT_EQ(x2deep->Parent(), x2);
    EXPECT_EQ(x->bookmarks[1], two);
    EXPECT_TRUE(x->IsExpanded());
    EXPECT_TRUE(x2->IsExpanded());
    EXPECT_FALSE(x1->IsExpanded());
    EXPECT_FALSE(a->HasChildren());

    // Moving up to the top level, after a given sibling.
    ASSERT_TRUE(store.MoveClassTo(duplicate, x2, store.Root(), a));
    EXPECT_EQ(ChildNames(store.Root()), (Names{"A", "X2", "B"}));
    EXPECT_EQ(ChildNames(x), (Names{"X1", "X3"}));
    EXPECT_TRUE(x2->IsExpanded());
    EXPECT_EQ(x2deep->bookmarks.size(), 1u);

    // Up and down carry the subtree too.
    ASSERT_TRUE(store.MoveClassUp(x2));
    EXPECT_EQ(ChildNames(store.Root()), (Names{"X2", "A", "B"}));
    EXPECT_EQ(x2->FirstChild(), x2deep);
    EXPECT_TRUE(x2->IsExpanded());
}

TEST(StoreTreeTest, TotalBookmarksCountsEveryLevel) {
    CBookmarkStore store;
    EXPECT_EQ(store.TotalBookmarks(), 0u);
    ClassRecord* a = store.AddTopClass("A");
    ClassRecord* a1 = AddChild(store, a, "A1");
    ClassRecord* b = store.AddTopClass("B");
    AddBookmarks(store, a, {"1", "2"});
    AddBookmarks(store, a1, {"3"});
    AddBookmarks(store, b, {"4", "5", "6"});
    EXPECT_EQ(store.TotalBookmarks(), 6u);
}

TEST(StoreTreeTest, ReleaseAllEmptiesTheCollection) {
    CBookmarkStore store;
    ClassRecord* a = store.AddTopClass("A");
    AddChild(store, a, "A1");
    AddBookmarks(store, a, {"x"});
    store.AddTopClass("B");
    store.ReleaseAll();
    EXPECT_EQ(store.Root()->FirstChild(), nullptr);
    EXPECT_EQ(store.TotalBookmarks(), 0u);
    EXPECT_NE(store.AddTopClass("A"), nullptr) << "the store stays usable";
}

TEST(StoreInstanceTest, OneStorePerProcessUntilDestroyed) {
    CBookmarkStore& first = CBookmarkStore::Instance();
    EXPECT_EQ(&CBookmarkStore::Instance(), &first);
    EXPECT_FALSE(first.IsModified());
    EXPECT_EQ(first.Root()->FirstChild(), nullptr);
    first.AddTopClass("kept until destroyed");
    EXPECT_NE(CBookmarkStore::Instance().Root()->FirstChild(), nullptr);
    CBookmarkStore::DestroyInstance();
    EXPECT_EQ(CBookmarkStore::Instance().Root()->FirstChild(), nullptr);
    CBookmarkStore::DestroyInstance();
}

}  // namespace
