// Searching the collection as the user types, and finding duplicate URLs.
#include "bookmark_search.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "bookmark_store.h"
#include "store_test_helpers.h"

namespace {

using search::CTextMatcher;

TEST(BookmarkSearch, TypedTextMatchesWholeCharactersAndLettersInEitherCase) {
    EXPECT_TRUE(CTextMatcher("news").Matches("Daily NEWS today"));
    EXPECT_TRUE(CTextMatcher("NeWs").Matches("http://news.example/"));
    EXPECT_FALSE(CTextMatcher("newsy").Matches("news"));
    EXPECT_FALSE(CTextMatcher("").Matches("anything"));
    // "\xB0\x41" is one GBK character whose trail byte is 'A': typing "a"
    // finds the real letter only.
    EXPECT_FALSE(CTextMatcher("a").Matches("\xB0\x41"));
    EXPECT_FALSE(CTextMatcher("A").Matches("\xB0\x41\xB0\x41"));
    EXPECT_TRUE(CTextMatcher("a").Matches("\xB0\x41" "a"));
    EXPECT_TRUE(CTextMatcher("A").Matches("\xB0\xB0\xB0\x41\x41")) << "the second A stands alone";
    // A character is matched whole: its trail byte followed by the next
    // character's lead byte is no character.
    EXPECT_FALSE(CTextMatcher("\xD6\xD0").Matches("\xB0\xD6\xD0\xB0"));
    EXPECT_TRUE(CTextMatcher("\xD6\xD0\xCE\xC4").Matches("x\xD6\xD0\xCE\xC4y"));
    // Inside a character the bytes are never folded: "\xB0\x41" is not "\xB0\x61".
    EXPECT_FALSE(CTextMatcher("\xB0\x41").Matches("\xB0\x61"));
    EXPECT_TRUE(CTextMatcher("\xB0\x41z").Matches("\xB0\x41Z"));
}

TEST(BookmarkSearch, FindsAcrossTheTreeWithTheCategoryOfEach) {
    CBookmarkStore store;
    ClassRecord* news = store.AddTopClass("News");
    ClassRecord* world = store_test::AddChild(store, news, "World");
    store.AddBookmark(news, nullptr, new BookmarkRecord("Daily", "http://daily/", "the morning paper"));
    store.AddBookmark(world, nullptr, new BookmarkRecord("Paper", "http://world/"));
    store.AddBookmark(store.AddTopClass("Tools"), nullptr, new BookmarkRecord("Hammer", "http://tools/"));
    const auto found = search::FindBookmarks(*store.Root(), "PAPER");
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].bookmark->title, "Daily") << "found by its remark";
    EXPECT_EQ(found[1].category, world);
    EXPECT_EQ(search::CategoryPath(found[1].category, store.Root()), "News > World");
    EXPECT_EQ(search::FindBookmarks(*store.Root(), "http", 2).size(), 2u) << "the limit";
    EXPECT_TRUE(search::FindBookmarks(*store.Root(), "").empty());
}

TEST(BookmarkSearch, UrlsAreTheSameOnceNormalised) {
    const std::string key = search::NormalizedUrl("http://example.com/a");
    for (const char* same : {"HTTP://Example.COM/a", "http://www.example.com/a", "http://example.com:80/a",
                             "http://example.com/a/", "http://example.com/a#top", " http://example.com/a "}) {
        EXPECT_EQ(search::NormalizedUrl(same), key) << same;
    }
    for (const char* other : {"https://example.com/a", "http://example.com/A", "http://example.com:8080/a",
                              "http://example.com/a?x=1", "http://example.org/a", "ftp://example.com/a"}) {
        EXPECT_NE(search::NormalizedUrl(other), key) << other;
    }
    EXPECT_EQ(search::NormalizedUrl("https://www.x.com:443/"), search::NormalizedUrl("https://x.com"));
    EXPECT_EQ(search::NormalizedUrl("http://user@www.x.com/"), "http://user@x.com");
    EXPECT_EQ(search::NormalizedUrl("www.x.com/"), "www.x.com") << "no scheme: only the slash goes";
}

TEST(BookmarkSearch, DuplicatesAreGroupedAcrossCategoriesInTheTreesOrder) {
    CBookmarkStore store;
    ClassRecord* a = store.AddTopClass("A");
    ClassRecord* b = store.AddTopClass("B");
    store.AddBookmark(a, nullptr, new BookmarkRecord("one", "http://x.com/"));
    store.AddBookmark(a, a->bookmarks[0], new BookmarkRecord("unique", "http://y.com/"));
    store.AddBookmark(a, a->bookmarks[1], new BookmarkRecord("no url", ""));
    store.AddBookmark(b, nullptr, new BookmarkRecord("two", "HTTP://WWW.X.COM"));
    store.AddBookmark(b, b->bookmarks[0], new BookmarkRecord("empty too", ""));
    store.AddBookmark(b, b->bookmarks[1], new BookmarkRecord("three", "http://x.com/#part"));
    const auto groups = search::FindDuplicates(*store.Root());
    ASSERT_EQ(groups.size(), 1u);
    ASSERT_EQ(groups[0].size(), 3u);
    EXPECT_EQ(groups[0][0].bookmark->title, "one");
    EXPECT_EQ(groups[0][1].category, b);
    EXPECT_EQ(groups[0][2].bookmark->title, "three");
}

// The duplicate key, whole: what is set aside and what is kept as it is.
TEST(BookmarkSearch, TheDuplicateKeyOfEachKindOfUrl) {
    struct Case {
        const char* url;
        const char* key;
    };
    const Case cases[] = {
        {"http://example.com/a", "http://example.com/a"},
        {"HTTP://Example.COM/Path", "http://example.com/Path"},
        {"http://x.com:/a", "http://x.com/a"},
        {"http://x.com?Q=1", "http://x.com?Q=1"},
        {"http://x.com?q=1", "http://x.com?q=1"},
        {"http://x.com/?Q=1", "http://x.com?Q=1"},
        {"http://x.com/a/?b=1/", "http://x.com/a?b=1/"},
        {"http://x.com///", "http://x.com"},
        {"http://x.com:80", "http://x.com"},
        {"https://x.com:80", "https://x.com:80"},
        {"http://x.com:443", "http://x.com:443"},
        {"https://x.com:443/", "https://x.com"},
        {"ftp://x.com:21/f", "ftp://x.com/f"},
        {"ftp://x.com:80/f", "ftp://x.com:80/f"},
        {"http://x.com:8080", "http://x.com:8080"},
        {"http://[::1]:80/", "http://[::1]"},
        {"http://[::1]/", "http://[::1]"},
        {"http://user:pw@www.x.com:80/", "http://user:pw@x.com"},
        {"http://user:pw@x.com/", "http://user:pw@x.com"},
        {"http://www.x.com", "http://x.com"},
        {"http://WWW.X.COM", "http://x.com"},
        {"http://wwwx.com", "http://wwwx.com"},
        {"http://x.www.com", "http://x.www.com"},
        {"  http://x.com/a#b/c ", "http://x.com/a"},
        {"\thttp://x.com\t", "http://x.com"},
        {"http://x.com/a#", "http://x.com/a"},
        {"mailto:Someone@X.com", "mailto:Someone@X.com"},
        {"www.X.com/", "www.X.com"},
        {"abcdefghijklmno://X.com", "abcdefghijklmno://x.com"},
        {"abcdefghijklmnop://X.com/", "abcdefghijklmnop://X.com"},
        {"file:///C:/a/", "file:///C:/a"},
        {"http://", "http://"},
        {"/", ""},
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(search::NormalizedUrl(c.url), c.key) << "[" << c.url << "]";
}

TEST(BookmarkSearch, MatcherTable) {
    struct Case {
        const char* needle;
        const char* text;
        bool found;
    };
    const Case cases[] = {
        {"day", "Today", true},          {"today", "TODAY", true},       {"todays", "today", false},
        {"x", "", false},                {"ab", "xxab", true},           {"ab", "xxa", false},
        {"a", "A", true},                {"z", "Z", true},               {"Z", "z", true},
        {"A", "a", true},                {"@", "`", false},              {"`", "@", false},
        {"[", "{", false},               {"{", "[", false},              {"b", "aaB", true},
        {"B", "xxb", true},              {"ac", "Ab aC", true},          {"ab", "aB", true},
        {"1a", "x1A", true},             {"1a", "x1b1A", true},          {"a1", "A2a1", true},
        {"ba", "bbbA", true},            {"Ab", "ab", true},             {"q", "Q\xB0", true},
        {"\xB0\x41", "\xB0\x41", true}, {"\x41", "\x41\xB0\x41", true}, {"b", "\xB0\x41\xB0\x42", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CTextMatcher(c.needle).Matches(c.text), c.found) << "[" << c.needle << "] in [" << c.text << "]";
    }
}

TEST(BookmarkSearch, TitleUrlAndRemarkAreSearchedAndTheLimitHolds) {
    CBookmarkStore store;
    ClassRecord* a = store.AddTopClass("A");
    ClassRecord* b = store_test::AddChild(store, a, "B");
    ClassRecord* c = store_test::AddChild(store, b, "C");
    store.AddBookmark(a, nullptr, new BookmarkRecord("key in title", "http://1/"));
    store.AddBookmark(b, nullptr, new BookmarkRecord("two", "http://key/"));
    store.AddBookmark(c, nullptr, new BookmarkRecord("three", "http://3/", "a KEY in the remark"));
    store.AddBookmark(c, c->bookmarks[0], new BookmarkRecord("four", "http://4/", "none"));
    struct Case {
        std::size_t limit;
        std::vector<std::string> titles;
    };
    const Case cases[] = {{0, {}}, {1, {"key in title"}}, {2, {"key in title", "two"}},
                          {3, {"key in title", "two", "three"}}, {SIZE_MAX, {"key in title", "two", "three"}}};
    for (const Case& k : cases) {
        std::vector<std::string> titles;
        for (const search::Found& f : search::FindBookmarks(*store.Root(), "key", k.limit)) {
            titles.push_back(f.bookmark->title.str());
        }
        EXPECT_EQ(titles, k.titles) << k.limit;
    }
    const auto under = search::FindBookmarks(*b, "http");
    ASSERT_EQ(under.size(), 2u) << "only in the categories below the one given";
    EXPECT_EQ(under[0].category, c);
    EXPECT_EQ(search::CategoryPath(c, store.Root()), "A > B > C");
    EXPECT_EQ(search::CategoryPath(c, b), "C");
    EXPECT_EQ(search::CategoryPath(a, store.Root()), "A");
    EXPECT_EQ(search::CategoryPath(store.Root(), store.Root()), "");
}

TEST(BookmarkSearch, DuplicateGroupsComeInTheOrderOfTheirFirstBookmark) {
    CBookmarkStore store;
    ClassRecord* a = store.AddTopClass("A");
    ClassRecord* b = store.AddTopClass("B");
    const char* urls[] = {"http://y.com", "http://x.com", "http://z.com", "http://X.com/", "http://y.com/#a", "http://y.com/b",
                          "http://www.y.com"};
    int n = 0;
    for (const char* url : urls) {
        ClassRecord* into = n < 3 ? a : b;
        store.AddBookmark(into, into->bookmarks.empty() ? nullptr : into->bookmarks.back(),
                          new BookmarkRecord("t" + std::to_string(n++), url));
    }
    std::vector<std::vector<std::string>> groups;
    for (const auto& group : search::FindDuplicates(*store.Root())) {
        groups.emplace_back();
        for (const search::Found& f : group) groups.back().push_back(f.bookmark->title.str());
    }
    EXPECT_EQ(groups, (std::vector<std::vector<std::string>>{{"t0", "t4", "t6"}, {"t1", "t3"}}));
}

}  // namespace
