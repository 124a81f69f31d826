#include "ellipsis.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// One unit per byte: a double-byte character is two units wide.
int Bytes(std::string_view s) { return static_cast<int>(s.size()); }

struct Case {
    const char* text;
    int width;
    const char* expected;
};

TEST(Ellipsis, CutsAtWordBoundariesAndFallsBackToCharacters) {
    const Case cases[] = {
        {"short", 10, "short"},
        {"exactly ten", 11, "exactly ten"},
        {"the quick brown fox", 15, "the quick..."},     // "the quick brown..." is 18
        {"the quick brown fox", 12, "the quick..."},
        {"the quick brown fox", 11, "the..."},
        {"http://example.com/a/very/long/path", 20, "http://example.co..."},  // no word: by character
        {"averyveryverylongword tail", 12, "averyvery..."},
        {"abc", 2, "..."},                                // nothing fits: the ellipsis alone
        {"新闻资讯频道", 9, "新闻资..."},                   // each Chinese character is a word
        {"新闻 news today", 12, "新闻 news..."},
        {"新闻news today", 9, "新闻..."},                 // a boundary after a Chinese character too
        {"x新闻资讯", 5, "x..."},                         // ...and before one, right after the first
    };
    for (const auto& c : cases) EXPECT_EQ(dialogs::ShortenToWidth(c.text, c.width, Bytes), c.expected) << c.text;
}

TEST(Ellipsis, NeverSplitsADoubleByteCharacter) {
    // "a" followed by Chinese characters, cut at every width.
    const std::string text = "a新闻资讯频道";
    for (int width = 3; width < Bytes(text); ++width) {
        const std::string shortened = dialogs::ShortenToWidth(text, width, Bytes);
        ASSERT_GE(shortened.size(), 3u);
        const std::string kept = shortened.substr(0, shortened.size() - 3);
        if (!kept.empty()) {
            EXPECT_EQ(kept.size() % 2, 1u) << width << ": 'a' plus whole characters";
        }
        EXPECT_EQ(text.compare(0, kept.size(), kept), 0) << width;
        EXPECT_LE(Bytes(shortened), width) << width;
    }
}

TEST(Ellipsis, TrailingSpacesBeforeTheEllipsisAreDropped) {
    EXPECT_EQ(dialogs::ShortenToWidth("one   two three", 9, Bytes), "one...");
}

}  // namespace
