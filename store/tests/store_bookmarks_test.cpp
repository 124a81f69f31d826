// Bookmarks of a category: the conflict lookup, insertion and removal. Every
// case runs on a small category (plain walk) and on a large one (title index).
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "bookmark_store.h"
#include "store_test_helpers.h"

namespace {

class StoreBookmarksTest : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override {
        category = store.AddTopClass("Cat");
        // Filler bookmarks before the ones a case looks at.
        for (int i = 0; i < GetParam(); ++i) Add("filler " + std::to_string(i));
        store.SetModified(false);
    }
    BookmarkRecord* Add(const std::string& title, const std::string& url = "u", BookmarkRecord* after = nullptr) {
        auto* record = new BookmarkRecord(title, url);
        if (store.AddBookmark(category, after, record)) return record;
        delete record;
        return nullptr;
    }
    std::vector<std::string> Titles() const {
        std::vector<std::string> out;
        for (const BookmarkRecord* b : category->bookmarks) {
            if (b->title.rfind("filler", 0) != 0) out.push_back(b->title);
        }
        return out;
    }
    CBookmarkStore store;
    ClassRecord* category = nullptr;
};

INSTANTIATE_TEST_SUITE_P(Sizes, StoreBookmarksTest, ::testing::Values(0, 3, 200));

TEST_P(StoreBookmarksTest, SameTitleInAnyAsciiCaseIsRefusedWhateverTheUrl) {
    BookmarkRecord* daily = Add("Daily", "URL-1");
    ASSERT_NE(daily, nullptr);
    EXPECT_TRUE(store.IsModified());
    store.SetModified(false);
    const std::size_t count = category->bookmarks.size();
    BookmarkRecord probe("dAILY", "other url");
    EXPECT_EQ(store.FindBookmark(category, &probe, nullptr), daily);
    auto* copy = new BookmarkRecord("DAILY", "URL-1");
    EXPECT_FALSE(store.AddBookmark(category, nullptr, copy));
    delete copy;  // a refused record stays the caller's
    EXPECT_EQ(Add("Daily", "URL-2"), nullptr);
    EXPECT_EQ(category->bookmarks.size(), count);
    EXPECT_FALSE(store.IsModified());
    EXPECT_NE(Add("Daily "), nullptr) << "a longer title is another title";
}

TEST_P(StoreBookmarksTest, FindBookmarkReturnsTheRecordItselfAndPassesOverSkip) {
    BookmarkRecord* a = Add("Alpha");
    BookmarkRecord* b = Add("Beta");
    EXPECT_EQ(store.FindBookmark(category, a, nullptr), a);
    EXPECT_EQ(store.FindBookmark(category, a, a), a) << "the record itself wins over skip";
    // Editing b into "ALPHA" conflicts with a; editing a keeps its own title.
    BookmarkRecord edited("ALPHA", "u");
    EXPECT_EQ(store.FindBookmark(category, &edited, b), a);
    EXPECT_EQ(store.FindBookmark(category, &edited, a), nullptr);
    BookmarkRecord fresh("Gamma", "u");
    EXPECT_EQ(store.FindBookmark(category, &fresh, nullptr), nullptr);
    EXPECT_EQ(store.FindBookmark(store.Root(), &fresh, nullptr), nullptr);
    EXPECT_EQ(store.FindBookmark(nullptr, &fresh, nullptr), nullptr);
}

TEST_P(StoreBookmarksTest, AddBookmarkInsertsAfterTheGivenRecordOrAtTheEnd) {
    BookmarkRecord* a = Add("A");
    BookmarkRecord* c = Add("C");
    Add("B", "u", a);
    Add("D", "u", c);
    BookmarkRecord stranger("not in the list", "u");
    Add("E", "u", &stranger);
    EXPECT_EQ(Titles(), (std::vector<std::string>{"A", "B", "C", "D", "E"}));
    EXPECT_EQ(category->bookmarks.back()->title, "E");
}

TEST_P(StoreBookmarksTest, DiscardRemovesOnlyThatRecordAndTheTitleBecomesFree) {
    Add("A");
    BookmarkRecord* b = Add("B");
    Add("C");
    store.SetModified(false);
    EXPECT_TRUE(store.DiscardBookmark(category, b));  // freed: the sanitizers watch
    EXPECT_TRUE(store.IsModified());
    EXPECT_EQ(Titles(), (std::vector<std::string>{"A", "C"}));
    BookmarkRecord probe("b", "u");
    EXPECT_EQ(store.FindBookmark(category, &probe, nullptr), nullptr);
    EXPECT_NE(Add("b"), nullptr);

    BookmarkRecord stranger("x", "u");
    EXPECT_FALSE(store.DiscardBookmark(category, &stranger));
    EXPECT_EQ(Titles(), (std::vector<std::string>{"A", "C", "b"}));
}

TEST_P(StoreBookmarksTest, DiscardingSeveralAtOnceKeepsTheRestInOrderAndFindable) {
    BookmarkRecord* a = Add("A");
    BookmarkRecord* b = Add("B");
    BookmarkRecord* c = Add("C");
    BookmarkRecord* d = Add("D");
    CBookmarkStore other;
    ClassRecord* elsewhere = other.AddTopClass("Elsewhere");
    auto* stranger = new BookmarkRecord("S", "u");
    ASSERT_TRUE(other.AddBookmark(elsewhere, nullptr, stranger));
    EXPECT_EQ(store.DiscardBookmarks(category, {d, b, stranger}), 2u) << "a bookmark of another category stays";
    EXPECT_EQ(Titles(), (std::vector<std::string>{"A", "C"}));
    EXPECT_TRUE(store.IsModified());
    BookmarkRecord probe("b", "u");
    EXPECT_EQ(store.FindBookmark(category, &probe, nullptr), nullptr) << "the title is free again";
    BookmarkRecord probeC("c", "u");
    EXPECT_EQ(store.FindBookmark(category, &probeC, nullptr), c);
    EXPECT_EQ(elsewhere->bookmarks.size(), 1u);
    (void)a;
}

TEST_P(StoreBookmarksTest, TitlesEditedInPlaceAreSeenAfterSetModified) {
    BookmarkRecord* a = Add("Old");
    BookmarkRecord* b = Add("Other");
    BookmarkRecord probe("old", "u");
    ASSERT_EQ(store.FindBookmark(category, &probe, nullptr), a);
    // The list view swaps the contents of two bookmarks to move one.
    std::swap(a->title, b->title);
    store.SetModified(true);
    EXPECT_EQ(store.FindBookmark(category, &probe, nullptr), b);
    a->title = "New";
    store.SetModified(true);
    BookmarkRecord probeNew("NEW", "u");
    EXPECT_EQ(store.FindBookmark(category, &probeNew, nullptr), a);
    EXPECT_TRUE(store.DiscardBookmark(category, a));
    EXPECT_EQ(store.FindBookmark(category, &probeNew, nullptr), nullptr);
}

TEST_P(StoreBookmarksTest, OfSeveralSameTitledRecordsTheFirstInListOrderIsFound) {
    // Only a file brings such duplicates; put them in as Load does.
    auto* first = new BookmarkRecord("Dup", "1");
    auto* second = new BookmarkRecord("DUP", "2");
    category->bookmarks.insert(category->bookmarks.begin(), first);
    category->bookmarks.push_back(second);
    BookmarkRecord probe("dup", "u");
    EXPECT_EQ(store.FindBookmark(category, &probe, nullptr), first);
    EXPECT_EQ(store.FindBookmark(category, &probe, first), second);
}

TEST(StoreBookmarksLargeTest, ImportingManyIntoOneCategoryKeepsEveryTitleFindable) {
    CBookmarkStore store;
    ClassRecord* category = store.AddTopClass("Import");
    BookmarkRecord* previous = nullptr;
    for (int i = 0; i < 5000; ++i) {
        auto* record = new BookmarkRecord("title " + std::to_string(i), "u");
        ASSERT_TRUE(store.AddBookmark(category, previous, record));
        previous = record;
    }
    for (int i = 0; i < 5000; i += 7) {
        BookmarkRecord probe("TITLE " + std::to_string(i), "u");
        BookmarkRecord* found = store.FindBookmark(category, &probe, nullptr);
        ASSERT_NE(found, nullptr) << i;
        EXPECT_EQ(found, category->bookmarks[static_cast<std::size_t>(i)]);
    }
    for (int i = 0; i < 5000; i += 2) {
        BookmarkRecord probe("title " + std::to_string(i), "u");
        ASSERT_TRUE(store.DiscardBookmark(category, store.FindBookmark(category, &probe, nullptr)));
    }
    EXPECT_EQ(category->bookmarks.size(), 2500u);
    BookmarkRecord gone("title 10", "u"), kept("title 11", "u");
    EXPECT_EQ(store.FindBookmark(category, &gone, nullptr), nullptr);
    EXPECT_NE(store.FindBookmark(category, &kept, nullptr), nullptr);
}

// A file can bring thousands of bookmarks of one title ("Untitled"); they
// share one entry of the title index, which must follow every removal.
TEST(StoreBookmarksLargeTest, ThousandsOfOneTitleAreRemovedOneByOneAndTheTitleBecomesFree) {
    CBookmarkStore store;
    ClassRecord* category = store.AddTopClass("Import");
    for (int i = 0; i < 3000; ++i) {
        category->bookmarks.push_back(new BookmarkRecord(i % 3 ? "Untitled" : "untitled", std::to_string(i)));
        if (i % 100 == 0) category->bookmarks.push_back(new BookmarkRecord("other " + std::to_string(i), "u"));
    }
    BookmarkRecord probe("UNTITLED", "u");
    // Remove from the middle, the back and the front in turn.
    for (int step = 0; step < 3000; ++step) {
        std::vector<BookmarkRecord*> same;
        for (BookmarkRecord* b : category->bookmarks)
            if (b->url.find_first_not_of("0123456789") == std::string::npos) same.push_back(b);
        ASSERT_EQ(same.size(), 3000u - step);
        ASSERT_EQ(store.FindBookmark(category, &probe, nullptr), same.front()) << step;
        if (same.size() > 1) {
            ASSERT_EQ(store.FindBookmark(category, &probe, same.front()), same[1]) << step;
        }
        BookmarkRecord* victim = step % 3 == 0 ? same[same.size() / 2] : step % 3 == 1 ? same.back() : same.front();
        ASSERT_TRUE(store.DiscardBookmark(category, victim));
    }
    EXPECT_EQ(store.FindBookmark(category, &probe, nullptr), nullptr);
    auto* fresh = new BookmarkRecord("Untitled", "new");
    EXPECT_TRUE(store.AddBookmark(category, nullptr, fresh));
    EXPECT_EQ(store.FindBookmark(category, &probe, nullptr), fresh);
    BookmarkRecord other("OTHER 2900", "u");
    EXPECT_NE(store.FindBookmark(category, &other, nullptr), nullptr);
}

}  // namespace
