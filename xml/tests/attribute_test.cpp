// Reading and writing attributes: decoding, escaping, where a new attribute
// goes, and that the index follows the edit.
#include "xml_document.h"
#include "xml_test_util.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>

namespace {

struct DecodeCase {
    const char* label;
    std::string raw;
    std::string value;
};

class AttributeDecoding : public testing::TestWithParam<DecodeCase> {};

TEST_P(AttributeDecoding, ReadsTheDecodedValue) {
    const DecodeCase& c = GetParam();
    CXmlDocument doc;
    ASSERT_TRUE(doc.SetText("<a v=\"" + c.raw + "\"/>"));
    ASSERT_TRUE(doc.FindElement());
    std::string value;
    EXPECT_TRUE(doc.GetAttribute("v", value));
    EXPECT_EQ(value, c.value);
    EXPECT_EQ(CXmlDocument::DecodeText(c.raw), c.value) << "element text decodes the same way";
}

const DecodeCase kDecodeCases[] = {
    {"plain", "abc", "abc"},
    {"empty", "", ""},
    {"five_entities", "&lt;&amp;&gt;&apos;&quot;", "<&>'\""},
    {"decimal_reference", "x&#65;y", "xAy"},
    {"hex_reference", "&#x41;&#x6a;&#x6A;", "Ajj"},
    {"leading_zeros_within_seven", "&#000065;", "A"},
    {"semicolon_too_far", "&#0000065;", "&#0000065;"},
    {"code_255", "&#255;", "\xFF"},
    {"code_256_unchanged", "&#256;", "&#256;"},
    {"code_above_255_unchanged", "&#20013;", "&#20013;"},
    {"code_0_unchanged", "&#0;", "&#0;"},
    {"no_digits", "&#;&#x;", "&#;&#x;"},
    {"capital_x_is_not_hex", "&#X41;", "&#X41;"},
    {"not_a_digit", "&#6a;", "&#6a;"},
    {"unknown_entity", "&nbsp;&copy;", "&nbsp;&copy;"},
    {"no_semicolon", "&amp &lt", "&amp &lt"},
    {"lone_ampersand_at_end", "a&", "a&"},
    {"reference_cut_by_end", "&#65", "&#65"},
    {"escaped_entity_decodes_once", "&amp;amp;", "&amp;"},
    {"line_breaks_kept", "a\r\nb\tc", "a\r\nb\tc"},
    {"gbk_text", "\xD6\xD0\xCE\xC4", "\xD6\xD0\xCE\xC4"},
    {"lead_byte_before_an_entity", "\x81&amp;", "\x81&"},
    {"reference_after_double_byte_character", "\xB1\xED&#65;", "\xB1\xED" "A"},
};

INSTANTIATE_TEST_SUITE_P(Table, AttributeDecoding, testing::ValuesIn(kDecodeCases),
                         [](const testing::TestParamInfo<DecodeCase>& info) { return info.param.label; });

TEST(Attribute, QuotingAndScanning) {
    CXmlDocument doc;
    ASSERT_TRUE(doc.SetText("<a  one='1' two = \"2\" three=3 flag four=\"it's\" five='say \"hi\"' t=\"T\" T=\"upper\"/>"));
    ASSERT_TRUE(doc.FindElement());
    EXPECT_EQ(doc.GetAttribute("one"), "1");
    EXPECT_EQ(doc.GetAttribute("two"), "2");
    EXPECT_EQ(doc.GetAttribute("three"), "3");
    EXPECT_EQ(doc.GetAttribute("four"), "it's");
    EXPECT_EQ(doc.GetAttribute("five"), "say \"hi\"");
    EXPECT_EQ(doc.GetAttribute("t"), "T");
    EXPECT_EQ(doc.GetAttribute("T"), "upper") << "names are case-sensitive";
    std::string out;
    EXPECT_FALSE(doc.GetAttribute("flag", out)) << "a token without '=' is no attribute";
    EXPECT_FALSE(doc.GetAttribute("on", out)) << "a prefix is not the name";
    EXPECT_FALSE(doc.GetAttribute("", out));
}

TEST(Attribute, ScanningStopsAtSlashOrQuestionMark) {
    CXmlDocument doc;
    ASSERT_TRUE(doc.SetText("<a x=\"1\" / y=\"2\"></a>"));
    ASSERT_TRUE(doc.FindElement());
    EXPECT_EQ(doc.GetAttribute("x"), "1");
    EXPECT_EQ(doc.GetAttribute("y"), "");
    ASSERT_TRUE(doc.SetText("<a u=http://host/path?q=1 v=2/></a>"));
    ASSERT_TRUE(doc.FindElement());
    EXPECT_EQ(doc.GetAttribute("u"), "http://host/path?q=1") << "unquoted values end at white space";
    EXPECT_EQ(doc.GetAttribute("v"), "2/") << "and not at '/'";
}

// Reading several attributes in one pass must give exactly what reading them
// one by one gives, whatever the tag looks like.
TEST(Attribute, OnePassReadAgreesWithSingleReads) {
    const char* const tags[] = {
        "<a t=\"Title\" u=\"http://x/?a=1&amp;b=2\" r=\"line&#13;&#10;two\"/>",
        "<a r='remark' u=\"url\" t=\"title\"></a>",                // another order
        "<a t=\"first\" t=\"second\" u=1 u=2/>",                     // duplicates: the first counts
        "<a title=\"long\" tt=\"double\" u=\"\"/>",                   // longer names are not "t"
        "<a flag t= \"spaced\" = r=unquoted/>",                       // stray tokens
        "<a t=ab\"c d\"e u=1/>",                                      // a quote inside a bare value
        "<a  t='a\"b' u=\"c'd\" r=\"x>y\">text</a>",
        "<a/>",
        "<a t=\"\x81\x5C\" u=\"\x81\"/>",                           // GBK: trail 0x5C, lone lead
    };
    const std::string_view names[] = {"t", "u", "r", "t ", "missing", "u"};
    for (const char* tag : tags) {
        CXmlDocument doc;
        doc.SetText(tag);
        ASSERT_TRUE(doc.FindElement()) << tag;
        std::string values[std::size(names)] = {"stale", "stale", "stale", "stale", "stale", "stale"};
        std::string* const targets[] = {&values[0], &values[1], &values[2], &values[3], &values[4], &values[5]};
        std::size_t expectedFound = 0;
        const std::size_t found = doc.GetAttributes(names, targets);
        for (std::size_t i = 0; i < std::size(names); ++i) {
            std::string single;
            expectedFound += doc.GetAttribute(names[i], single) ? 1 : 0;
            EXPECT_EQ(values[i], single) << tag << " name " << names[i];
        }
        EXPECT_EQ(found, expectedFound) << tag;
    }
}

TEST(Attribute, OnePassReadWithoutCurrentElementEmptiesEveryValue) {
    CXmlDocument doc;
    doc.SetText("<a t=\"x\"/>");
    const std::string_view names[] = {"t"};
    std::string value = "stale";
    std::string* const targets[] = {&value};
    EXPECT_EQ(doc.GetAttributes(names, targets), 0u);
    EXPECT_EQ(value, "");
}

struct RoundTripCase {
    const char* label;
    std::string value;
    std::string written;  // as it stands in the text, quotes included
};

class AttributeRoundTrip : public testing::TestWithParam<RoundTripCase> {};

TEST_P(AttributeRoundTrip, WritesEscapedAndReadsBack) {
    const RoundTripCase& c = GetParam();
    CXmlDocument doc;
    doc.SetText("<root><a/><b/></root>");
    ASSERT_TRUE(doc.FindElement());
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_TRUE(doc.FindElement("a"));
    ASSERT_TRUE(doc.SetAttribute("v", c.value));
    EXPECT_EQ(doc.Text(), "<root><a v=" + c.written + "/><b/></root>");
    EXPECT_EQ(doc.GetAttribute("v"), c.value);
    // The index still matches the text: b is found where it now is.
    std::string problem;
    EXPECT_TRUE(doc.CheckIndex(&problem)) << problem;
    EXPECT_EQ(xmltest::Outline(doc), xmltest::OutlineOfText(doc.Text()));
    // And a fresh parse reads the same value.
    CXmlDocument again;
    ASSERT_TRUE(again.SetText(std::string_view(doc.Text())));
    ASSERT_TRUE(again.FindChildElement("a"));
    ASSERT_TRUE(again.EnterElement());
    EXPECT_EQ(again.GetAttribute("v"), c.value);
}

const RoundTripCase kRoundTrips[] = {
    {"plain", "News", "\"News\""},
    {"empty", "", "\"\""},
    {"double_quote", "see \"map\"", "\"see &quot;map&quot;\""},
    {"all_five", "&<>\"'", "\"&amp;&lt;&gt;&quot;&apos;\""},
    {"entity_is_escaped_again", "&amp;", "\"&amp;amp;\""},
    {"reference_is_escaped_again", "&#65;", "\"&amp;#65;\""},
    {"cr_lf", "line 1\r\nline 2", "\"line 1\r\nline 2\""},
    {"gbk", "\xD6\xD0\xCE\xC4 & \xB1\xED", "\"\xD6\xD0\xCE\xC4 &amp; \xB1\xED\""},
    {"trail_byte_0x5c", "\x95\x5C", "\"\x95\x5C\""},
    // A byte below 0x40 never completes a double-byte character, so a lead
    // byte at the end cannot swallow the closing quote.
    {"lead_byte_at_the_end", "ab\x81", "\"ab\x81\""},
    {"lead_byte_before_a_quote", "\x81\"x", "\"\x81&quot;x\""},
};

INSTANTIATE_TEST_SUITE_P(Table, AttributeRoundTrip, testing::ValuesIn(kRoundTrips),
                         [](const testing::TestParamInfo<RoundTripCase>& info) { return info.param.label; });

TEST(Attribute, NewAttributesGoAfterTheNameOrTheLastValue) {
    struct Case {
        const char* before;
        const char* after;
    } cases[] = {
        {"<a/>", "<a v=\"x\"/>"},
        {"<a />", "<a v=\"x\" />"},
        {"<a></a>", "<a v=\"x\"></a>"},
        {"<a t=\"1\"/>", "<a t=\"1\" v=\"x\"/>"},
        {"<a t='1' u=2 >", "<a t='1' u=2 v=\"x\" >"},
        {"<a t=\"1\" flag></a>", "<a t=\"1\" v=\"x\" flag></a>"},
        {"<a\r\n t=\"1\"\r\n/>", "<a\r\n t=\"1\" v=\"x\"\r\n/>"},
        // The "/>" of an empty element ends even an unquoted value.
        {"<a t=x\"y\"/>", "<a t=x\"y\" v=\"x\"/>"},
    };
    for (const Case& c : cases) {
        CXmlDocument doc;
        doc.SetText(c.before);
        ASSERT_TRUE(doc.FindElement()) << c.before;
        ASSERT_TRUE(doc.SetAttribute("v", "x"));
        EXPECT_EQ(doc.Text(), c.after);
        EXPECT_EQ(doc.GetAttribute("v"), "x");
    }
}

TEST(Attribute, AnExistingValueIsReplacedWithItsQuotes) {
    struct Case {
        const char* before;
        const char* after;
    } cases[] = {
        {"<a v=\"old\" w=\"1\"/>", "<a v=\"new\" w=\"1\"/>"},
        {"<a v='old'/>", "<a v=\"new\"/>"},
        {"<a v=old w=1/>", "<a v=\"new\" w=1/>"},
        {"<a v = \"old\"/>", "<a v = \"new\"/>"},
        {"<a w=\"v=\" v=\"\"/>", "<a w=\"v=\" v=\"new\"/>"},
        {"<a v=x\"y\"/>", "<a v=\"new\"/>"},
    };
    for (const Case& c : cases) {
        CXmlDocument doc;
        doc.SetText(c.before);
        ASSERT_TRUE(doc.FindElement()) << c.before;
        ASSERT_TRUE(doc.SetAttribute("v", "new"));
        EXPECT_EQ(doc.Text(), c.after);
        std::string problem;
        EXPECT_TRUE(doc.CheckIndex(&problem)) << c.before << ": " << problem;
    }
}

TEST(Attribute, LengthChangesMoveEverythingAfterAndAround) {
    CXmlDocument doc;
    ASSERT_TRUE(doc.SetText("<r><p t=\"long old value\"><c>x</c><d/></p><q><e/></q></r>"));
    ASSERT_TRUE(doc.FindChildElement("p"));
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_TRUE(doc.SetAttribute("t", "s"));       // shrinks
    ASSERT_TRUE(doc.SetAttribute("n", "added"));   // grows
    std::string problem;
    ASSERT_TRUE(doc.CheckIndex(&problem)) << problem;
    EXPECT_EQ(xmltest::Outline(doc), xmltest::OutlineOfText(doc.Text()));
    EXPECT_EQ(doc.Text(), "<r><p t=\"s\" n=\"added\"><c>x</c><d/></p><q><e/></q></r>");
}

TEST(Attribute, RefusedWithoutCurrentElementOrWithAnUnwritableName) {
    CXmlDocument doc;
    doc.SetText("<a/>");
    EXPECT_FALSE(doc.SetAttribute("v", "x")) << "no current element";
    ASSERT_TRUE(doc.FindElement());
    for (const char* name : {"", "a b", "a=b", "a>", "a/", "a\"", "a'", "<a", "a?", "a&"}) {
        EXPECT_FALSE(doc.SetAttribute(name, "x")) << name;
    }
    EXPECT_EQ(doc.Text(), "<a/>");
    EXPECT_TRUE(doc.SetAttribute("\xB1\xED", "x"));
    EXPECT_EQ(doc.GetAttribute("\xB1\xED"), "x");
}

}  // namespace
