#include "link_message.h"

#include <gtest/gtest.h>

#include <iterator>
#include <set>
#include <string>

namespace {

using link_host::LinkMessage;
using link_host::MessageError;
using link_host::ReadLinkMessage;

// Narrow literals become the code page's bytes; the browser sends UTF-8.
std::string U8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

struct Good {
    const char* name;
    std::string json;
    std::u16string url;
    std::u16string title;
};

TEST(LinkMessage, GoodMessagesGiveTheirTextsAsUtf16) {
    const Good cases[] = {
        {"plain", R"({"url":"http://a.example/","title":"A page"})", u"http://a.example/", u"A page"},
        {"members in the other order", R"({"title":"T","url":"u"})", u"u", u"T"},
        {"white space everywhere", " \r\n\t{ \"url\" : \"u\" ,\n\"title\"\t:\"T\" } \n", u"u", u"T"},
        {"no title", R"({"url":"u"})", u"u", u""},
        {"null title", R"({"url":"u","title":null})", u"u", u""},
        {"empty title", R"({"url":"u","title":""})", u"u", u""},
        {"Chinese in UTF-8", U8(u8R"({"url":"http://例子.中国/书","title":"书签"})"), u"http://例子.中国/书", u"书签"},
        {"outside GBK in UTF-8", U8(u8R"({"url":"http://a/😀","title":"한국어 😀"})"), u"http://a/😀", u"한국어 😀"},
        {"escapes", R"({"url":"a\/b","title":"\"\\\b\f\n\r\t"})", u"a/b", u"\"\\\b\f\n\r\t"},
        {"\\u escapes", R"({"url":"u","title":"\u4e66\u7B7E"})", u"u", u"书签"},
        {"a surrogate pair escaped", R"({"url":"u","title":"\ud83d\ude00"})", u"u", u"😀"},
        {"a lone high surrogate", R"({"url":"u","title":"\ud83dx"})", u"u", u"\xFFFDx"},
        {"a lone low surrogate", R"({"url":"u","title":"\ude00"})", u"u", u"\xFFFD"},
        {"a high surrogate before another escape", R"({"url":"u","title":"\ud83d\u0041"})", u"u", u"\xFFFD" u"A"},
        {"bytes that are not UTF-8", "{\"url\":\"u\",\"title\":\"a\xFF\"}", u"u", u"a\xFFFD"},
        {"an escaped NUL", R"({"url":"u","title":"a\u0000b"})", u"u", std::u16string(u"a\0b", 3)},
        {"other members of every kind",
         R"({"x":[1,-2.5e+3,0,true,false,null,{"a":[]},"s"],"url":"u","y":{"url":5},"title":"T","z":-0.0E-1})",
         u"u", u"T"},
        {"a repeated name: the last counts", R"({"url":"first","url":"second"})", u"second", u""},
        {"nesting at the limit", "{\"url\":\"u\",\"x\":" + std::string(62, '[') + std::string(62, ']') + "}", u"u",
         u""},
    };
    for (const Good& c : cases) {
        LinkMessage message;
        ASSERT_EQ(ReadLinkMessage(c.json, message), MessageError::kNone) << c.name;
        EXPECT_EQ(message.url, c.url) << c.name;
        EXPECT_EQ(message.title, c.title) << c.name;
    }
}

struct Bad {
    const char* name;
    std::string json;
    MessageError error;
};

TEST(LinkMessage, BadMessagesAreRefusedWithTheirReason) {
    const Bad cases[] = {
        {"empty", "", MessageError::kNotJson},
        {"white space only", " \n", MessageError::kNotJson},
        {"cut inside a string", R"({"url":"http://a)", MessageError::kNotJson},
        {"cut after a name", R"({"url")", MessageError::kNotJson},
        {"cut after a comma", R"({"url":"u",)", MessageError::kNotJson},
        {"no closing brace", R"({"url":"u")", MessageError::kNotJson},
        {"a trailing comma", R"({"url":"u",})", MessageError::kNotJson},
        {"bytes after the object", R"({"url":"u"}x)", MessageError::kNotJson},
        {"two objects", R"({"url":"u"}{"url":"v"})", MessageError::kNotJson},
        {"single quotes", R"({'url':'u'})", MessageError::kNotJson},
        {"a name without quotes", R"({url:"u"})", MessageError::kNotJson},
        {"a control character in a string", "{\"url\":\"a\tb\"}", MessageError::kNotJson},
        {"an unknown escape", R"({"url":"\x41"})", MessageError::kNotJson},
        {"a short \\u escape", R"({"url":"\u41"})", MessageError::kNotJson},
        {"a \\u escape that is not hex", R"({"url":"\u00g1"})", MessageError::kNotJson},
        {"a backslash at the end", "{\"url\":\"\\", MessageError::kNotJson},
        {"a bad number", R"({"url":"u","n":01})", MessageError::kNotJson},
        {"a number without digits after the point", R"({"url":"u","n":1.})", MessageError::kNotJson},
        {"a number without an exponent", R"({"url":"u","n":1e})", MessageError::kNotJson},
        {"a lone minus", R"({"url":"u","n":-})", MessageError::kNotJson},
        {"a misspelt literal", R"({"url":"u","n":nul})", MessageError::kNotJson},
        {"an unclosed array", R"({"url":"u","n":[1,2})", MessageError::kNotJson},
        {"nesting beyond the limit", "{\"url\":\"u\",\"x\":" + std::string(70, '[') + std::string(70, ']') + "}",
         MessageError::kTooDeep},
        {"deep nesting cut short", "{\"x\":" + std::string(100000, '['), MessageError::kTooDeep},
        {"deep objects", "{\"x\":" + [] {
             std::string s;
             for (int i = 0; i < 100; ++i) s += "{\"a\":";
             return s;
         }(),
         MessageError::kTooDeep},
        {"an array", R"(["url","u"])", MessageError::kNotObject},
        {"a string", R"("http://a/")", MessageError::kNotObject},
        {"a number", "42", MessageError::kNotObject},
        {"an array with bytes after it", "[1] x", MessageError::kNotJson},
        {"no url", R"({"title":"T"})", MessageError::kUrlMissing},
        {"an empty object", "{}", MessageError::kUrlMissing},
        {"url in other letters", R"({"URL":"u"})", MessageError::kUrlMissing},
        {"url a number", R"({"url":5})", MessageError::kUrlNotString},
        {"url null", R"({"url":null})", MessageError::kUrlNotString},
        {"url an object", R"({"url":{"href":"u"}})", MessageError::kUrlNotString},
        {"url an array", R"({"url":["u"]})", MessageError::kUrlNotString},
        {"url a string, then a number", R"({"url":"u","url":1})", MessageError::kUrlNotString},
        {"url empty", R"({"url":""})", MessageError::kUrlEmpty},
        {"title a number", R"({"url":"u","title":1})", MessageError::kTitleNotString},
        {"title true", R"({"url":"u","title":true})", MessageError::kTitleNotString},
        {"title an array", R"({"url":"u","title":["T"]})", MessageError::kTitleNotString},
    };
    for (const Bad& c : cases) {
        LinkMessage message;
        EXPECT_EQ(ReadLinkMessage(c.json, message), c.error) << c.name;
        EXPECT_TRUE(message.url.empty()) << c.name;
    }
}

TEST(LinkMessage, EveryErrorHasItsOwnName) {
    const MessageError errors[] = {MessageError::kNotJson,      MessageError::kTooDeep,
                                   MessageError::kNotObject,    MessageError::kUrlMissing,
                                   MessageError::kUrlNotString, MessageError::kUrlEmpty,
                                   MessageError::kTitleNotString};
    std::set<std::string> names;
    for (MessageError e : errors) names.insert(link_host::ErrorName(e));
    EXPECT_EQ(names.size(), std::size(errors));
    EXPECT_EQ(names.count(""), 0u);
    EXPECT_STREQ(link_host::ErrorName(MessageError::kNone), "");
}

TEST(LinkMessage, EveryPrefixOfAGoodMessageIsRefusedWithoutReadingPastIt) {
    const std::string json = U8(u8R"({"x":[1.5e3,{"y":null}],"url":"http://a/\u4e66","title":"书\"签😀"})");
    for (std::size_t n = 0; n < json.size(); ++n) {
        // A copy of exactly n bytes, so that AddressSanitizer sees any read past it.
        const std::string prefix(json.data(), n);
        LinkMessage message;
        EXPECT_NE(ReadLinkMessage(prefix, message), MessageError::kNone) << n;
    }
    LinkMessage message;
    EXPECT_EQ(ReadLinkMessage(json, message), MessageError::kNone);
    EXPECT_EQ(message.title, u"书\"签😀");
}

}  // namespace
