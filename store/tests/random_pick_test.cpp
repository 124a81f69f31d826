#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "bookmark_store.h"
#include "random_sample.h"
#include "store_test_helpers.h"

namespace {

using store_test::AddChild;

// `counts` bookmarks in a chain of nested and sibling categories; returns
// every bookmark in collection order.
std::vector<BookmarkRecord*> Fill(CBookmarkStore& store, const std::vector<int>& counts) {
    ClassRecord* parent = nullptr;
    for (std::size_t i = 0; i < counts.size(); ++i) {
        // Alternate between nesting and siblings so that pre-order matters.
        ClassRecord* c = AddChild(store, i % 2 ? parent : nullptr, "c" + std::to_string(i));
        for (int k = 0; k < counts[i]; ++k) {
            store.AddBookmark(c, nullptr, new BookmarkRecord(c->name + "-" + std::to_string(k), "u"));
        }
        parent = c;
    }
    std::vector<BookmarkRecord*> order;
    for (ClassRecord* c = store.Root()->FirstChild(); c; c = NextInPreOrder(c, store.Root())) {
        order.insert(order.end(), c->bookmarks.begin(), c->bookmarks.end());
    }
    return order;
}

// Positions of `picked` in `order`; fails unless strictly increasing.
std::vector<std::size_t> Positions(const std::vector<BookmarkRecord*>& order,
                                   const std::vector<BookmarkRecord*>& picked) {
    std::vector<std::size_t> positions;
    for (BookmarkRecord* b : picked) {
        auto it = std::find(order.begin(), order.end(), b);
        EXPECT_NE(it, order.end());
        positions.push_back(static_cast<std::size_t>(it - order.begin()));
    }
    EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end()));
    EXPECT_EQ(std::adjacent_find(positions.begin(), positions.end()), positions.end()) << "not distinct";
    return positions;
}

TEST(PickRandomBookmarksTest, NothingToPick) {
    CBookmarkStore store;
    EXPECT_TRUE(store.PickRandomBookmarks(5).empty());
    store.AddTopClass("empty");
    EXPECT_TRUE(store.PickRandomBookmarks(5).empty());
    Fill(store, {3});
    EXPECT_TRUE(store.PickRandomBookmarks(0).empty());
}

TEST(PickRandomBookmarksTest, AllInCollectionOrderWhenThereAreNoMoreThanAsked) {
    CBookmarkStore store;
    const std::vector<BookmarkRecord*> order = Fill(store, {1, 0, 2});
    ASSERT_EQ(order.size(), 3u);
    EXPECT_EQ(store.PickRandomBookmarks(5), order);
    EXPECT_EQ(store.PickRandomBookmarks(3), order);
}

TEST(PickRandomBookmarksTest, DistinctBookmarksInCollectionOrderWhenThereAreMore) {
    CBookmarkStore store;
    const std::vector<BookmarkRecord*> order = Fill(store, {2, 3, 0, 4, 1});
    ASSERT_EQ(order.size(), 10u);
    std::set<std::size_t> seen;
    for (std::uint64_t seed = 0; seed < 200; ++seed) {
        std::mt19937_64 random(seed);
        const std::vector<BookmarkRecord*> picked = store.PickRandomBookmarks(5, random);
        ASSERT_EQ(picked.size(), 5u);
        for (std::size_t p : Positions(order, picked)) seen.insert(p);
    }
    EXPECT_EQ(seen.size(), 10u) << "every bookmark can be picked";
    // One fewer than the total ends too.
    std::mt19937_64 random(7);
    EXPECT_EQ(Positions(order, store.PickRandomBookmarks(9, random)).size(), 9u);
}

TEST(PickRandomBookmarksTest, ReachesBookmarksFarBeyond32768) {
    CBookmarkStore store;
    const std::vector<BookmarkRecord*> order = Fill(store, {20000, 15000, 15000});
    std::mt19937_64 random(99);
    const std::vector<std::size_t> positions = Positions(order, store.PickRandomBookmarks(300, random));
    ASSERT_EQ(positions.size(), 300u);
    EXPECT_GT(positions.back(), 45000u);
    EXPECT_GT(std::count_if(positions.begin(), positions.end(), [](std::size_t p) { return p >= 32768; }), 60);
}

TEST(PickRandomBookmarksTest, UnseededPicksVaryBetweenCalls) {
    CBookmarkStore store;
    Fill(store, {100});
    std::set<BookmarkRecord*> firsts;
    for (int i = 0; i < 20; ++i) firsts.insert(store.PickRandomBookmarks(1).at(0));
    EXPECT_GT(firsts.size(), 1u);
}

TEST(SampleSortedIndicesTest, EveryIndexIsEquallyLikely) {
    std::mt19937_64 random(42);
    std::vector<int> hits(10, 0);
    const int trials = 30000;
    for (int t = 0; t < trials; ++t) {
        const std::vector<std::size_t> picked = SampleSortedIndices(10, 3, random);
        ASSERT_EQ(picked.size(), 3u);
        ASSERT_TRUE(std::is_sorted(picked.begin(), picked.end()));
        ASSERT_EQ(std::adjacent_find(picked.begin(), picked.end()), picked.end());
        for (std::size_t p : picked) ++hits.at(p);
    }
    for (int h : hits) {
        EXPECT_NEAR(static_cast<double>(h) / trials, 0.3, 0.02);
    }
}

TEST(SampleSortedIndicesTest, AllWhenAskedForAtLeastTheTotal) {
    std::mt19937_64 random(1);
    EXPECT_EQ(SampleSortedIndices(4, 4, random), (std::vector<std::size_t>{0, 1, 2, 3}));
    EXPECT_EQ(SampleSortedIndices(2, 9, random), (std::vector<std::size_t>{0, 1}));
    EXPECT_TRUE(SampleSortedIndices(0, 3, random).empty());
    EXPECT_TRUE(SampleSortedIndices(5, 0, random).empty());
}

}  // namespace
