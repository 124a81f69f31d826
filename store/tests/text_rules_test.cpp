#include "text_rules.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct NameCase {
    const char* label;
    std::string a;
    std::string b;
    bool same;
};

class SameNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(SameNameTest, ComparesByLengthAndFoldedAsciiLetters) {
    const NameCase& c = GetParam();
    EXPECT_EQ(SameName(c.a, c.b), c.same);
    EXPECT_EQ(SameName(c.b, c.a), c.same);
    if (c.same) {
        EXPECT_EQ(FoldedNameHash(c.a), FoldedNameHash(c.b));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, SameNameTest,
    ::testing::Values(
        NameCase{"identical", "News", "News", true},
        NameCase{"ascii_case", "news", "NEWS", true},
        NameCase{"mixed_case_digits", "Tool-2b", "tOOL-2B", true},
        NameCase{"empty", "", "", true},
        NameCase{"prefix", "New", "News", false},
        NameCase{"trailing_space", "News ", "News", false},
        NameCase{"other_letter", "Newt", "News", false},
        // Characters next to the letters in ASCII are not folded.
        NameCase{"at_and_backtick", "@", "`", false},
        NameCase{"brackets_and_braces", "[", "{", false},
        NameCase{"gbk_equal", "\xCA\xE9\xC7\xA9", "\xCA\xE9\xC7\xA9", true},
        NameCase{"gbk_differs", "\xCA\xE9\xC7\xA9", "\xCA\xE9\xC7\xAA", false},
        // Two different double-byte characters whose trail bytes are 'A' and 'a'.
        NameCase{"gbk_trail_letter_case", "\x81\x41", "\x81\x61", false},
        NameCase{"gbk_then_ascii", "\x81\x41x", "\x81\x41X", true},
        // Full-width letters compare exactly.
        NameCase{"fullwidth", "\xA3\xC1", "\xA3\xE1", false}),
    [](const ::testing::TestParamInfo<NameCase>& info) { return std::string(info.param.label); });

TEST(FilterInvalidCharsTest, EachOfTheNineIsFoundAndReplacedBySpace) {
    for (char bad : std::string("\\/:*?\"<>|")) {
        std::string text = std::string("a") + bad + "b";
        EXPECT_TRUE(HasInvalidChars(text)) << bad;
        std::string checked = text;
        EXPECT_TRUE(FilterInvalidChars(checked, false)) << bad;
        EXPECT_EQ(checked, text) << "detecting must not change the text";
        EXPECT_TRUE(FilterInvalidChars(text, true)) << bad;
        EXPECT_EQ(text, "a b");
    }
}

TEST(FilterInvalidCharsTest, ReplacesEveryOccurrence) {
    std::string text = "a/b\\c:d*e?f\"g<h>i|j";
    EXPECT_TRUE(FilterInvalidChars(text, true));
    EXPECT_EQ(text, "a b c d e f g h i j");
}

TEST(FilterInvalidCharsTest, OtherTextIsLeftAlone) {
    for (std::string text : {std::string("plain title & 'quotes' (1) [2] {3} ~!@#$%^-_=+;,."),
                             std::string(""), std::string("\xCA\xE9\xC7\xA9")}) {
        const std::string before = text;
        EXPECT_FALSE(HasInvalidChars(text));
        EXPECT_FALSE(FilterInvalidChars(text, true));
        EXPECT_EQ(text, before);
    }
}

TEST(FilterInvalidCharsTest, TrailBytesOfDoubleByteCharactersAreNotTakenForSlashOrBar) {
    // 0x95 0x5C and 0x81 0x7C are double-byte characters whose second byte
    // is the backslash or the bar.
    std::string text = "x\x95\x5Cy\x81\x7Cz";
    const std::string before = text;
    EXPECT_FALSE(HasInvalidChars(text));
    EXPECT_FALSE(FilterInvalidChars(text, true));
    EXPECT_EQ(text, before);

    // A real backslash right after such a character is still found.
    std::string mixed = "\x95\x5C\\";
    EXPECT_TRUE(FilterInvalidChars(mixed, true));
    EXPECT_EQ(mixed, "\x95\x5C ");
}

}  // namespace
