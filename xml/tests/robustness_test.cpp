// Bad and extreme input: deep nesting, huge values, cut-off files, random
// bytes. Nothing may crash or read out of bounds, and the index must still
// describe the text.
#include "xml_document.h"
#include "xml_test_util.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

std::string Repeat(const std::string& piece, std::size_t n) {
    std::string out;
    out.reserve(piece.size() * n);
    for (std::size_t i = 0; i < n; ++i) out += piece;
    return out;
}

void ExpectConsistent(const CXmlDocument& doc) {
    std::string problem;
    EXPECT_TRUE(doc.CheckIndex(&problem)) << problem;
}

constexpr std::size_t kDeep = 100000;

TEST(Robustness, HundredThousandLevelsOfNesting) {
    CXmlDocument doc;
    ASSERT_TRUE(doc.SetText(Repeat("<a>", kDeep) + Repeat("</a>", kDeep)));
    EXPECT_EQ(doc.ElementCount(), kDeep);
    ExpectConsistent(doc);
    std::size_t depth = 0;
    while (doc.FindElement()) {
        ++depth;
        doc.EnterElement();
    }
    EXPECT_EQ(depth, kDeep);
    // An edit at the bottom grows every element around it.
    ASSERT_TRUE(doc.AddElement("b"));
    ASSERT_TRUE(doc.SetAttribute("t", "deep"));
    ExpectConsistent(doc);
    CXmlDocument reread;
    EXPECT_TRUE(reread.SetText(std::string_view(doc.Text())));
    EXPECT_EQ(reread.ElementCount(), kDeep + 1);
}

TEST(Robustness, HundredThousandLevelsNeverEnded) {
    CXmlDocument doc;
    EXPECT_FALSE(doc.SetText(Repeat("<a>", kDeep)));
    // Every one is closed as not ended and they all end up side by side.
    EXPECT_EQ(doc.ResultText(), "Root element has sibling");
    EXPECT_EQ(doc.ElementCount(), kDeep);
    ExpectConsistent(doc);
    std::size_t siblings = 0;
    while (doc.FindElement()) ++siblings;
    EXPECT_EQ(siblings, kDeep);
}

TEST(Robustness, ManyEndTagsThatMatchNothingUnderADeepStack) {
    constexpr std::size_t n = 50000;
    CXmlDocument doc;
    EXPECT_FALSE(doc.SetText("<r>" + Repeat("<a>", n) + Repeat("</b>", n) + "</r>"));
    EXPECT_EQ(doc.ResultText(), "No start tag for end tag 'b' at offset " + std::to_string(3 + 3 * n));
    ExpectConsistent(doc);
}

TEST(Robustness, AlternatingMismatchesStayConsistent) {
    constexpr std::size_t n = 20000;
    CXmlDocument doc;
    EXPECT_FALSE(doc.SetText("<r>" + Repeat("<x><y>", n) + Repeat("</x>", n) + "</r>"));
    EXPECT_EQ(doc.ResultText(), "End tag 'x' at offset " + std::to_string(3 + 6 * n + 1) +
                                    " does not match start tag 'y' at offset " + std::to_string(3 + 6 * n - 3));
    EXPECT_EQ(doc.ElementCount(), 2 * n + 1);
    ExpectConsistent(doc);
}

TEST(Robustness, HugeAttributeValue) {
    const std::size_t size = 64u << 20;
    std::string text = "<r><a v=\"";
    text.append(size, 'x');
    text += "\" w=\"1\"/></r>";
    CXmlDocument doc;
    ASSERT_TRUE(doc.SetText(std::move(text)));
    ASSERT_TRUE(doc.FindChildElement());
    ASSERT_TRUE(doc.EnterElement());
    std::string value;
    ASSERT_TRUE(doc.GetAttribute("v", value));
    EXPECT_EQ(value.size(), size);
    EXPECT_EQ(doc.GetAttribute("w"), "1");
    ASSERT_TRUE(doc.SetAttribute("v", "short"));
    EXPECT_EQ(doc.Text(), "<r><a v=\"short\" w=\"1\"/></r>");
    ExpectConsistent(doc);
}

TEST(Robustness, HugeUnterminatedValue) {
    std::string text = "<r><a v=\"";
    text.append(32u << 20, '>');
    CXmlDocument doc;
    EXPECT_FALSE(doc.SetText(std::move(text)));
    EXPECT_EQ(doc.ResultText(), "Element tag at offset 3 unterminated");
    ExpectConsistent(doc);
}

TEST(Robustness, EveryCutOfAGoodFile) {
    const std::string full =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?><!DOCTYPE root [<!ENTITY e \"v\">]><root>\r\n"
        "<G t=\"\xD6\xD0&amp;\">\r\n<a t=\"x\" u='y' r=\"line\r\nline\"/>\r\n<!-- note -->"
        "<![CDATA[<no/>]]><?pi data?>\r\n<k>text</k>\r\n</G>\r\n</root>\r\n";
    const std::size_t complete = full.rfind("</root>") + 7;
    for (std::size_t cut = 0; cut <= full.size(); ++cut) {
        CXmlDocument doc;
        bool wellFormed = doc.SetText(full.substr(0, cut));
        EXPECT_EQ(wellFormed, cut >= complete) << "cut at " << cut << ": " << doc.ResultText();
        if (!wellFormed) {
            EXPECT_NE(doc.ResultText(), "") << "cut at " << cut;
        }
        ExpectConsistent(doc);
        xmltest::Outline(doc);
    }
}

// Random documents over an alphabet rich in markup; whatever they hold, the
// index is consistent, every element can be read, and edits keep it so.
TEST(Robustness, RandomBytes) {
    static const char kAlphabet[] = "<<<>>>//!!?\?--[[]]\"\"''== \r\n\tabGCDENAx:_&;#1\x81\xB1\xED\x5C\xFF";
    std::mt19937 random(12345);
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kAlphabet - 2);
    std::uniform_int_distribution<std::size_t> length(0, 200);
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        for (std::size_t i = length(random); i > 0; --i) text += kAlphabet[pick(random)];
        CXmlDocument doc;
        doc.SetText(std::string_view(text));
        ASSERT_TRUE(doc.CheckIndex()) << "round " << round;
        // Set an attribute on every top-level element, then add one more.
        xmltest::Outline(doc);
        doc.ResetCursor();
        while (doc.FindElement()) {
            ASSERT_TRUE(doc.SetAttribute("t", "v<&>\"'"));
            ASSERT_EQ(doc.GetAttribute("t"), "v<&>\"'") << "round " << round;
        }
        if (doc.AddElement("n", "x&y")) {
            EXPECT_EQ(doc.ElementName(), "n");
            EXPECT_EQ(doc.ElementText(), "x&amp;y");
        }
        std::string problem;
        ASSERT_TRUE(doc.CheckIndex(&problem)) << "round " << round << ": " << problem;
        // The edits change nothing but what they wrote: a fresh parse of the
        // text finds the same elements where the index has them.
        ASSERT_EQ(xmltest::Outline(doc), xmltest::OutlineOfText(doc.Text())) << "round " << round;
    }
}

}  // namespace
