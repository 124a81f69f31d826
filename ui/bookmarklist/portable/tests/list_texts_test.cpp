#include "list_texts.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using bookmarklist::SubstituteStrings;

// The replace question's text may come from a language pack: whatever it
// holds, only "%s" and "%%" are read, never as printf conversions.
TEST(SubstituteStrings, FillsOnlyItsOwnPlaceholders) {
    struct Case {
        const char* pattern;
        std::string text;
    };
    const Case cases[] = {
        {"In \"%s\": \"%s\" at \"%s\"?", "In \"News\": \"Home\" at \"http://h.example/\"?"},
        {"%s %s %s %s %s", "News Home http://h.example/  "},
        {"%n%d%x %s", "%n%d%x News"},
        {"100%% %s%", "100% News%"},
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SubstituteStrings(c.pattern, {"News", "Home", "http://h.example/"}, 10239), c.text) << c.pattern;
    }
}

TEST(SubstituteStrings, CutsBetweenCharacters) {
    const std::string title(5000, 'x');
    EXPECT_EQ(SubstituteStrings("%s%s", {title, title}, 10239).size(), 10000u);
    EXPECT_EQ(SubstituteStrings("%s%s%s", {title, title, title}, 10239).size(), 10239u);
    // "书" is two bytes: a cut inside it leaves it out whole.
    EXPECT_EQ(SubstituteStrings("a%s", {"书签"}, 4), "a书");
    EXPECT_EQ(SubstituteStrings("a%s", {"书签"}, 3), "a书");
    EXPECT_EQ(SubstituteStrings("a%s", {"书签"}, 2), "a");
}

}  // namespace
