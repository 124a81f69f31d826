#include "title_index.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace {

std::set<BookmarkRecord*> Matches(const TitleIndex& index, const std::string& title) {
    std::set<BookmarkRecord*> found;
    index.ForEachSame(title, [&](BookmarkRecord* r) { EXPECT_TRUE(found.insert(r).second); });
    return found;
}

std::set<BookmarkRecord*> Expected(const std::vector<BookmarkRecord*>& live, const std::string& title) {
    std::set<BookmarkRecord*> found;
    for (BookmarkRecord* r : live) {
        if (SameName(r->title, title)) found.insert(r);
    }
    return found;
}

TEST(TitleIndexTest, FindsEveryRecordOfTheSameTitleInAnyCase) {
    std::vector<std::unique_ptr<BookmarkRecord>> owned;
    std::vector<BookmarkRecord*> list;
    for (const char* t : {"Alpha", "beta", "ALPHA", "gamma", "alpha "}) {
        owned.push_back(std::make_unique<BookmarkRecord>(t, "u"));
        list.push_back(owned.back().get());
    }
    TitleIndex index;
    index.Rebuild(list, 7);
    EXPECT_TRUE(index.IsCurrent(5, 7));
    EXPECT_FALSE(index.IsCurrent(5, 8));
    EXPECT_FALSE(index.IsCurrent(6, 7));
    EXPECT_EQ(Matches(index, "alpha"), (std::set<BookmarkRecord*>{list[0], list[2]}));
    EXPECT_EQ(Matches(index, "BETA"), (std::set<BookmarkRecord*>{list[1]}));
    EXPECT_TRUE(Matches(index, "delta").empty());
}

// Random insertions and removals against a plain list, with few distinct
// titles so that probe runs are long and removals shift entries around.
TEST(TitleIndexTest, StaysEqualToAPlainListThroughRandomChanges) {
    std::mt19937 random(12345);
    std::vector<std::unique_ptr<BookmarkRecord>> owned;
    std::vector<BookmarkRecord*> live;
    TitleIndex index;
    index.Rebuild(live, 0);
    for (int step = 0; step < 4000; ++step) {
        const bool insert = live.empty() || random() % 3 != 0;
        if (insert) {
            std::string title = "t" + std::to_string(random() % 40);
            if (random() % 2) std::transform(title.begin(), title.end(), title.begin(), ::toupper);
            owned.push_back(std::make_unique<BookmarkRecord>(title, "u"));
            live.push_back(owned.back().get());
            index.Insert(live.back());
        } else {
            const std::size_t at = random() % live.size();
            ASSERT_TRUE(index.Erase(live[at]));
            live.erase(live.begin() + static_cast<std::ptrdiff_t>(at));
        }
        ASSERT_EQ(index.Size(), live.size());
        if (step % 50 == 0) {
            for (int t = 0; t < 40; ++t) {
                const std::string title = "T" + std::to_string(t);
                ASSERT_EQ(Matches(index, title), Expected(live, title)) << "step " << step;
            }
        }
    }
}

TEST(TitleIndexTest, EraseFindsARecordWhoseTitleChangedSinceInsertion) {
    BookmarkRecord a("first", "u"), b("second", "u");
    TitleIndex index;
    index.Rebuild({&a, &b}, 1);
    a.title = "renamed";
    EXPECT_TRUE(index.Erase(&a));
    EXPECT_EQ(index.Size(), 1u);
    EXPECT_EQ(Matches(index, "second"), (std::set<BookmarkRecord*>{&b}));
    EXPECT_FALSE(index.Erase(&a));
}

}  // namespace
