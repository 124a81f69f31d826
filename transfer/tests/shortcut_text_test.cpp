#include "shortcut_text.h"

#include <gtest/gtest.h>

namespace {

TEST(ShortcutText, Utf7AsWindowsWritesIt) {
    struct Case {
        const char* in;
        std::u16string out;
    };
    const Case cases[] = {
        {"https://ko.wikipedia.org/wiki/+swDVXLv8rW0-", u"https://ko.wikipedia.org/wiki/대한민국"},
        {"a+-b", u"a+b"},
        {"+2D3eAA-x", u"😀x"},       // a surrogate pair in one run
        {"+AOk.", u"é."},            // a run ended by a character that is not base64
        {"+AOk", u"é"},              // and by the end of the text
        {"plain", u"plain"},
        {"+", u""},
    };
    for (const Case& c : cases) EXPECT_EQ(transfer::DecodeUtf7(c.in), c.out) << c.in;
}

TEST(ShortcutText, TheUrlOfTheUnicodeSection) {
    const char file[] =
        "[{000214A0-0000-0000-C000-000000000046}]\r\nProp3=19,0\r\n"
        "[InternetShortcut]\r\nURL=https://ko.wikipedia.org/wiki/????\r\n"
        "[InternetShortcut.A]\r\nURL=https://ko.wikipedia.org/wiki/????\r\n"
        "[internetshortcut.w]\r\n IconFile = x\r\n url = https://ko.wikipedia.org/wiki/+swDVXLv8rW0-\r\n";
    EXPECT_EQ(transfer::UnicodeUrlOfShortcutText(file), u"https://ko.wikipedia.org/wiki/대한민국");
    EXPECT_EQ(transfer::UnicodeUrlOfShortcutText("[InternetShortcut]\nURL=http://a/\n"), u"");
    EXPECT_EQ(transfer::UnicodeUrlOfShortcutText("[InternetShortcut.W]\nIconFile=+AOk-\n[Other]\nURL=x\n"), u"");
    EXPECT_EQ(transfer::UnicodeUrlOfShortcutText(""), u"");
}

}  // namespace
