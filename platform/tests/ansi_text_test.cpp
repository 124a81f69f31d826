#include "platform/ansi_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace std::string_literals;

TEST(AnsiText, ChineseSystemIsTheHome) {
    // Both builds run the tests on a code page 936 system (the host stands
    // in for one; Wine runs under LC_ALL=zh_CN.UTF-8).
    EXPECT_EQ(platform::AnsiCodePage(), 936u);
}

TEST(AnsiText, Utf16InBothByteOrders) {
    EXPECT_EQ(platform::Utf16ToAnsi("A\0-N"s, false), "A\xD6\xD0");
    EXPECT_EQ(platform::Utf16ToAnsi("\0AN-"s, true), "A\xD6\xD0");
    EXPECT_EQ(platform::Utf16ToAnsi("", false), "");
}

TEST(AnsiText, Utf16WithoutAnAnsiFormBecomesQuestionMarks) {
    // U+1F600 as a surrogate pair, a lone surrogate, then 'q'; then a dangling byte.
    EXPECT_EQ(platform::Utf16ToAnsi("\x3d\xd8\x00\xde\x3d\xd8q\0z"s, false), "???q?");
}

TEST(AnsiText, Utf8Decoded) {
    EXPECT_EQ(platform::Utf8ToAnsi("a\xE4\xB8\xAD\xE6\x96\x87"), "a\xD6\xD0\xCE\xC4");
    EXPECT_EQ(platform::Utf8ToAnsi("\xF0\x9F\x98\x80q"), "??q");
}

TEST(AnsiText, InvalidUtf8BecomesQuestionMarks) {
    EXPECT_EQ(platform::Utf8ToAnsi("\xD6\xD0z"), "??z");
    EXPECT_EQ(platform::Utf8ToAnsi("\xC0\xAF"), "??") << "overlong form";
    EXPECT_EQ(platform::Utf8ToAnsi("\xFFx"), "?x");
}

// An import says how many titles lost characters: a literal '?' is no loss.
TEST(AnsiText, Utf8ConversionSaysWhetherCharactersWereLost) {
    bool lost = true;
    EXPECT_EQ(platform::Utf8ToAnsi("why?\xE4\xB8\xAD", lost), "why?\xD6\xD0");
    EXPECT_FALSE(lost);
    EXPECT_EQ(platform::Utf8ToAnsi("\xE2\x98\xBA!", lost), "?!");
    EXPECT_TRUE(lost);
}

TEST(AnsiText, AnsiTextConvertedToUtf8) {
    EXPECT_EQ(platform::AnsiToUtf8("a\xD6\xD0\xCE\xC4"), "a\xE4\xB8\xAD\xE6\x96\x87");
    EXPECT_EQ(platform::AnsiToUtf8(""), "");
    // A lead byte at the end starts no character.
    EXPECT_EQ(platform::Utf8ToAnsi(platform::AnsiToUtf8("x\xD6")).substr(0, 1), "x");
}

}  // namespace
