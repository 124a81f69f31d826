// Parsing: well-formedness, the first message with its offset, node kinds.
#include "xml_document.h"
#include "xml_test_util.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct ParseCase {
    const char* label;
    std::string text;
    bool wellFormed;
    std::string message;
};

class ParseMessages : public testing::TestWithParam<ParseCase> {};

TEST_P(ParseMessages, GivesTheFirstMessageWithItsOffset) {
    const ParseCase& c = GetParam();
    CXmlDocument doc;
    EXPECT_EQ(doc.SetText(std::string_view(c.text)), c.wellFormed);
    EXPECT_EQ(doc.IsWellFormed(), c.wellFormed);
    EXPECT_EQ(doc.ResultText(), c.message);
    std::string problem;
    EXPECT_TRUE(doc.CheckIndex(&problem)) << problem;
}

const ParseCase kCases[] = {
    {"empty", "", false, "Empty document"},
    {"declaration_alone", "<?xml version=\"1.0\" encoding=\"utf-8\"?>", false, "No root element"},
    {"white_space_only", " \r\n\t", false, "No root element"},
    {"empty_root", "<a/>", true, ""},
    {"empty_root_space", "<a />", true, ""},
    {"empty_root_quote", "<a x=\"1\"/>", true, ""},
    {"root_with_end_tag", "<a></a>", true, ""},
    {"every_node_kind",
     "<?xml version=\"1.0\"?><!-- c --><!DOCTYPE a [<!ENTITY x \"<y>\"><!ELEMENT a ANY>]>"
     "<a><![CDATA[<b>]]><?pi <c>?>text<!ATTLIST a><!NOTATION n></a><!-- after -->",
     true, ""},
    {"text_around_root", "text<a></a>more text", true, ""},
    {"quoted_angle_in_start_tag", "<a x=\"1>2\" y='<'></a>", true, ""},
    {"two_roots", "<a/><b/>", false, "Root element has sibling"},
    {"root_not_ended", "  <root>text", false, "Element 'root' at offset 2 not ended"},
    // Neither is ended; b becomes a's following sibling, and the structural
    // check of the root overwrites the scanner's message.
    {"child_not_ended_overwritten", "<a><b>", false, "Root element has sibling"},
    {"mismatched_end_tag", "<a><b></a>", false, "End tag 'a' at offset 7 does not match start tag 'b' at offset 3"},
    {"mismatch_names_innermost", "<a><b><c></a>", false,
     "End tag 'a' at offset 10 does not match start tag 'c' at offset 6"},
    {"no_start_tag", "<a></b></a>", false, "No start tag for end tag 'b' at offset 3"},
    {"end_tag_name_after_space", "<a></ a>", true, ""},
    {"end_tag_is_case_sensitive", "<a></A></a>", false, "No start tag for end tag 'A' at offset 3"},
    {"stray_end_tag_alone", "</a>", false, "No root element"},
    {"incorrect_tag_name_character", "<a>< b</a>", false, "Incorrect tag name character at offset 3"},
    {"incorrect_digit_name", "<a><1/></a>", false, "Incorrect tag name character at offset 3"},
    {"incorrect_bang", "<a><!x></a>", false, "Incorrect ! tag at offset 3"},
    {"incorrect_comment", "<a><!-x--></a>", false, "Incorrect comment tag at offset 3"},
    {"incorrect_cdata", "<a><![x[]]></a>", false, "Incorrect tag at offset 3"},
    {"unterminated_start_tag", "<a><b x='1'", false, "Element tag at offset 3 unterminated"},
    {"unterminated_quote", "<a><b x='1></b></a>", false, "Element tag at offset 3 unterminated"},
    {"unterminated_end_tag", "<a></a", false, "Element end tag at offset 3 unterminated"},
    {"unterminated_cdata", "<a><![CDATA[x]]", false, "CDATA Section at offset 3 unterminated"},
    {"unterminated_pi", "<a><?pi x?", false, "Processing instruction at offset 3 unterminated"},
    {"unterminated_comment", "<a><!-- x --", false, "Comment at offset 3 unterminated"},
    {"unterminated_doctype", "<a><!DOCTYPE x [<!ENTITY y 'z'>", false, "Doctype at offset 3 unterminated"},
    {"unterminated_declaration", "<a><!ELEMENT x", false, "Doctype at offset 3 unterminated"},
    {"bare_angle_at_end", "<a></a><", false, "tag at offset 7 unterminated"},
    {"only_first_scanner_message", "<a>< b<!x></c>", false, "Incorrect tag name character at offset 3"},
    {"malformed_node_ends_before_next_tag", "<a>< <b/></a>", false, "Incorrect tag name character at offset 3"},
    {"slash_after_unquoted_value_is_not_empty", "<a x=1/>", false, "Element 'a' at offset 0 not ended"},
};

INSTANTIATE_TEST_SUITE_P(Table, ParseMessages, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<ParseCase>& info) { return info.param.label; });

TEST(Parse, MismatchedElementsBecomeSiblingsOfWhatTheyWereIn) {
    // b is closed as not ended when </a> arrives; c, inside b, follows b.
    CXmlDocument doc;
    EXPECT_FALSE(doc.SetText("<a><b><c/>x</a>"));
    EXPECT_EQ(xmltest::Outline(doc), "0:a[<b><c/>x]\n1:b[]\n1:c[]\n");
    std::string problem;
    EXPECT_TRUE(doc.CheckIndex(&problem)) << problem;
}

TEST(Parse, ElementsOpenAtTheEndAreFlattenedUnderTheDocument) {
    CXmlDocument doc;
    EXPECT_FALSE(doc.SetText("<a><b><c></c><d>"));
    EXPECT_EQ(xmltest::Outline(doc), "0:a[]\n0:b[]\n0:c[]\n0:d[]\n");
    EXPECT_EQ(doc.ResultText(), "Root element has sibling");
}

TEST(Parse, ElementCountCountsElementsOnly) {
    CXmlDocument doc;
    doc.SetText("<?pi?><a><!-- <x/> --><b/><![CDATA[<y/>]]><c>t</c></a>");
    EXPECT_EQ(doc.ElementCount(), 3u);
}

TEST(Parse, DoubleByteCharactersAreScannedWhole) {
    CXmlDocument doc;
    // A name whose trail byte is 0x5C (a backslash as a single byte) stays one
    // name instead of ending at the backslash.
    EXPECT_TRUE(doc.SetText("<\x95\x5C x=\"1\"/>"));
    ASSERT_TRUE(doc.FindElement());
    EXPECT_EQ(doc.ElementName(), "\x95\x5C");
    EXPECT_EQ(doc.GetAttribute("x"), "1");
    // The same for ']' closing a CDATA section: "\x81]" is one character.
    EXPECT_TRUE(doc.SetText("<a><![CDATA[\x81]]><b/>]]></a>"));
    EXPECT_EQ(doc.ElementCount(), 1u);

    // ...and a lead byte followed by a byte below 0x40 stands alone, so the
    // markup after it is still found.
    EXPECT_TRUE(doc.SetText("\xEF\xBB\xBF<a>\x81<b/>\xB1\"</a>"));
    EXPECT_EQ(doc.ElementCount(), 2u);

    // Real GBK text in names, values and content.
    EXPECT_TRUE(doc.SetText("<\xCA\xE9\xC7\xA9 t=\"\xD6\xD0\xCE\xC4\">\xB1\xED</\xCA\xE9\xC7\xA9>"));
    ASSERT_TRUE(doc.FindElement("\xCA\xE9\xC7\xA9"));
    EXPECT_EQ(doc.GetAttribute("t"), "\xD6\xD0\xCE\xC4");
    EXPECT_EQ(doc.ElementText(), "\xB1\xED");
}

TEST(Parse, SetTextResetsCursorAndResult) {
    CXmlDocument doc;
    doc.SetText("<a><b/></a><c/>");
    ASSERT_TRUE(doc.FindElement());
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_TRUE(doc.FindElement("b"));
    EXPECT_TRUE(doc.SetText("<r><s/></r>"));
    EXPECT_EQ(doc.ResultText(), "");
    EXPECT_EQ(doc.ElementName(), "");
    EXPECT_FALSE(doc.LeaveElement());
    ASSERT_TRUE(doc.FindElement());
    EXPECT_EQ(doc.ElementName(), "r");
}

TEST(Parse, NullTextIsAnEmptyDocument) {
    CXmlDocument doc;
    EXPECT_FALSE(doc.SetText(static_cast<const char*>(nullptr)));
    EXPECT_EQ(doc.ResultText(), "Empty document");
    EXPECT_EQ(doc.Text(), "");
}

}  // namespace
