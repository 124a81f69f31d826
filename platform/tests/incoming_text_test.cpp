#include "platform/incoming_text.h"

#include <gtest/gtest.h>

#include <string>

// Both builds run on a code page 936 system (Wine with LC_ALL=zh_CN.UTF-8):
// the expected bytes below are GBK.
namespace {

struct AddressCase {
    std::u16string in;
    std::string out;
};

TEST(IncomingText, AddressesKeepTheirMeaning) {
    const AddressCase cases[] = {
        {u"https://ko.wikipedia.org/wiki/대한민국",
         "https://ko.wikipedia.org/wiki/%EB%8C%80%ED%95%9C%EB%AF%BC%EA%B5%AD"},
        {u"https://한국.kr/정보", "https://xn--3e0b707e.kr/%EC%A0%95%EB%B3%B4"},
        {u"naïve", "na%C3%AFve"},
        {u"http://x/😀", "http://x/%F0%9F%98%80"},
        // What the code page holds stays, in the host as in the path.
        {u"http://例子.cn/中文", "http://例子.cn/中文"},
        {u"http://a/中대", "http://a/中%EB%8C%80"},
        // Already encoded, any case, and upper-case letters: untouched.
        {u"HTTP://Example.COM/%e4%b8%ADx?q=%20&R=Ü", "HTTP://Example.COM/%e4%b8%ADx?q=%20&R=%C3%9C"},
        // A lone surrogate is no character: the replacement character's bytes.
        {u"http://a/\xD800" u"b\xDC00", "http://a/%EF%BF%BDb%EF%BF%BD"},
        // User information and port around an international host.
        {u"http://user:pw@한국.kr:8080/x#한", "http://user:pw@xn--3e0b707e.kr:8080/x#%ED%95%9C"},
        {u"http://한국.kr", "http://xn--3e0b707e.kr"},
        {u"http://한a.kr/", "http://xn--a-372g.kr/"},  // only the first character lacks a form
        // Without an authority nothing is taken for a host.
        {u"mailto:한@x.org", "mailto:%ED%95%9C@x.org"},
        {u"javascript:alert(\"<&>\")", "javascript:alert(\"<&>\")"},
        {u"", ""},
    };
    for (const AddressCase& c : cases) {
        EXPECT_EQ(platform::AddressFromUtf16(c.in), c.out) << c.out;
    }
    EXPECT_EQ(platform::AddressFromUtf8("http://x/\xF0\x9F\x98\x80\xFF"), "http://x/%F0%9F%98%80%EF%BF%BD");
}

struct NameCase {
    std::u16string in;
    std::string name;
    std::string remark;
    bool lost;
};

TEST(IncomingText, NamesAndRemarksShowWhatTheCodePageLacks) {
    const NameCase cases[] = {
        {u"대한민국 - 위키백과", "？？？？ - ？？？？", "？？？？ - ？？？？", true},
        {u"GitHub: Where the world builds software", "GitHub： Where the world builds software",
         "GitHub: Where the world builds software", false},
        {u"Python | Docs", "Python ｜ Docs", "Python | Docs", false},
        {u"\\/:*?\"<>|", "＼／：＊？＂＜＞｜", "\\/:*?\"<>|", false},
        // One stand-in per character, a surrogate pair included.
        {u"😀x", "？x", "？x", true},
        {u"a\xD800" u"b", "a？b", "a？b", true},
        {u"中文 naïve", "中文 na？ve", "中文 na？ve", true},
        {u"第一行\r\n第二行", "第一行\r\n第二行", "第一行\r\n第二行", false},
        {u"", "", "", false},
    };
    for (const NameCase& c : cases) {
        bool lost = !c.lost;
        EXPECT_EQ(platform::NameFromUtf16(c.in, &lost), c.name);
        EXPECT_EQ(lost, c.lost) << c.name;
        lost = !c.lost;
        EXPECT_EQ(platform::RemarkFromUtf16(c.in, &lost), c.remark);
        EXPECT_EQ(lost, c.lost) << c.remark;
    }
    bool lost = false;
    EXPECT_EQ(platform::NameFromUtf8("a\xFF:", &lost), "a？：");
    EXPECT_TRUE(lost);
}

TEST(IncomingText, ReservedCharactersOfTextAlreadyInTheCodePage) {
    std::string name = "a/b|c";
    EXPECT_TRUE(platform::ReplaceReservedNameChars(name));
    EXPECT_EQ(name, "a／b｜c");
    // The trail bytes of 昞 (95 5C) and of 珅 (AB 7C) are no backslash or bar.
    name = "\x95\x5C\xAB\x7C";
    EXPECT_FALSE(platform::ReplaceReservedNameChars(name));
    EXPECT_EQ(name, "\x95\x5C\xAB\x7C");
    name = "\x95\x5C\\";
    EXPECT_TRUE(platform::ReplaceReservedNameChars(name));
    EXPECT_EQ(name, "\x95\x5C＼");
}

TEST(IncomingText, PunycodeOfOneLabel) {
    EXPECT_EQ(platform::PunycodeLabel(u"한국"), "xn--3e0b707e");
    EXPECT_EQ(platform::PunycodeLabel(u"bücher"), "xn--bcher-kva");
    EXPECT_EQ(platform::PunycodeLabel(u"München"), "xn--mnchen-3ya");
    EXPECT_EQ(platform::PunycodeLabel(u"ü" + std::u16string(70, u'a')), "") << "longer than a label may be";
}

TEST(IncomingText, Utf8ToUtf16) {
    EXPECT_EQ(platform::Utf16FromUtf8("a\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80"), u"aé中😀");
    EXPECT_EQ(platform::Utf16FromUtf8("\xC0\xAF\xED\xA0\x80z"), u"\xFFFD\xFFFD\xFFFD\xFFFD\xFFFDz");
}

}  // namespace
