// Very deep category trees: reading, writing and every walk go without
// recursion, so 100,000 nested categories neither overflow the stack nor
// take long.
#include <gtest/gtest.h>

#include "bookmark_store.h"
#include "test_support/temp_dir.h"

namespace {

constexpr int kDepth = 100000;

std::string DeepFile() {
    std::string text = "<?xml version=\"1.0\" encoding=\"utf-8\"?><root>\r\n";
    // Distinct names, so that any category may move to the top level.
    for (int i = 0; i < kDepth; ++i) text += "<G t=\"n" + std::to_string(i) + "\">\r\n";
    text += "<a t=\"deep\" u=\"u\" r=\"\"/>\r\n";
    for (int i = 0; i < kDepth; ++i) text += "</G>\r\n";
    text += "</root>\r\n";
    return text;
}

int DepthBelow(const ClassRecord* top) {
    int depth = 0;
    for (const ClassRecord* c = top; c->FirstChild(); c = c->FirstChild()) ++depth;
    return depth;
}

TEST(DeepNestingTest, LoadsSavesWalksMovesAndFrees) {
    testing_support::TempDir dir;
    const std::string path = dir.File("deep.xml");
    const std::string text = DeepFile();
    testing_support::WriteBytes(path, text);

    CBookmarkStore store;
    ASSERT_TRUE(store.Load(path));
    ClassRecord* top = store.Root()->FirstChild();
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(DepthBelow(top), kDepth - 1);
    EXPECT_EQ(store.TotalBookmarks(), 1u);
    const std::vector<BookmarkRecord*> picked = store.PickRandomBookmarks(3);
    ASSERT_EQ(picked.size(), 1u);
    EXPECT_EQ(picked[0]->title, "deep");

    const std::string saved = dir.File("saved.xml");
    ASSERT_TRUE(store.Save(saved));
    EXPECT_TRUE(testing_support::ReadBytes(saved) == text) << "the deep file must round-trip byte for byte";

    // Move the chain below the first level up to the top level, and check
    // that it cannot be moved into itself.
    ClassRecord* second = top->FirstChild();
    ClassRecord* deepest = second;
    while (deepest->FirstChild()) deepest = deepest->FirstChild();
    EXPECT_FALSE(store.CanMoveClass(second, deepest));
    bool duplicate = false;
    ASSERT_TRUE(store.MoveClassTo(duplicate, second, nullptr, InsertPos::Last()));
    EXPECT_EQ(DepthBelow(second), kDepth - 2);
    EXPECT_FALSE(top->HasChildren());

    store.DeleteClass(second);
    EXPECT_EQ(store.TotalBookmarks(), 0u);

    // A second deep tree is left for the destructor, and a third for ReleaseAll.
    ASSERT_TRUE(store.Load(path));
    CBookmarkStore other;
    ASSERT_TRUE(other.Load(path));
    other.ReleaseAll();
    EXPECT_EQ(other.Root()->FirstChild(), nullptr);
}

}  // namespace
