#include "platform/codepage.h"

#include <gtest/gtest.h>

#include <string>

TEST(CodePage, StepsOverDoubleByteCharactersWhole) {
    // "表\" : 0xB1 0xED then a real backslash; "\x95\x5C" is a character whose
    // trail byte equals a backslash.
    const std::string text = "\xB1\xED\\\x95\x5C" "a";
    const char* p = text.data();
    const char* end = p + text.size();
    p = platform::NextChar(p, end);
    EXPECT_EQ(p - text.data(), 2);
    p = platform::NextChar(p, end);
    EXPECT_EQ(p - text.data(), 3);
    p = platform::NextChar(p, end);
    EXPECT_EQ(p - text.data(), 5) << "trail byte 0x5C must not be taken for a backslash";
    p = platform::NextChar(p, end);
    EXPECT_EQ(p, end);
    EXPECT_EQ(platform::NextChar(end, end), end);
}

TEST(CodePage, LeadByteAtTheVeryEndDoesNotStepPastTheEnd) {
    const std::string text = "a\xB1";
    const char* end = text.data() + text.size();
    EXPECT_EQ(platform::NextChar(text.data() + 1, end), end);
}

TEST(CodePage, AsciiIsNeverALeadByte) {
    for (int c = 0; c < 0x80; ++c) EXPECT_FALSE(platform::IsLeadByte(static_cast<unsigned char>(c))) << c;
    EXPECT_TRUE(platform::IsLeadByte(0xB1));
}

TEST(CodePage, StrayLeadByteNeverSwallowsADelimiter) {
    // A lead byte followed by a byte that cannot trail is a character of its own.
    for (char delimiter : std::string("\"'<>=/&\r\n \t")) {
        const std::string text = std::string("\xB1") + delimiter;
        EXPECT_EQ(platform::NextChar(text.data(), text.data() + 2), text.data() + 1) << int(delimiter);
    }
    const std::string pipe = "\x95\x7C";  // 0x7C is a real trail byte
    EXPECT_EQ(platform::NextChar(pipe.data(), pipe.data() + 2), pipe.data() + 2);
}
