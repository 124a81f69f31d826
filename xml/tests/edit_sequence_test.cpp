// Long sequences of edits in every order: the index must keep describing the
// text exactly as a fresh parse would, whether edits append at the end (the
// writers' way) or land in the middle of what is already there.
#include "xml_document.h"
#include "xml_test_util.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

void ExpectIndexMatchesText(CXmlDocument& doc, const std::string& when) {
    std::string problem;
    ASSERT_TRUE(doc.CheckIndex(&problem)) << when << ": " << problem;
    ASSERT_EQ(xmltest::Outline(doc), xmltest::OutlineOfText(doc.Text())) << when;
}

TEST(EditSequence, RandomCursorMovesAndEditsKeepTheIndexExact) {
    const char* const names[] = {"G", "a", "b"};
    const char* const values[] = {"", "x", "a much longer value &<>\"'", "\xD6\xD0\r\n"};
    std::mt19937 random(2024);
    for (int round = 0; round < 60; ++round) {
        CXmlDocument doc;
        doc.SetText("<?xml version=\"1.0\"?><root>\r\n<G t=\"1\"><a t=\"x\"/></G>\r\n<G/>\r\n</root>\r\n");
        for (int step = 0; step < 80; ++step) {
            switch (random() % 7) {
            case 0: doc.FindElement(); break;
            case 1: doc.FindChildElement(); break;
            case 2: doc.EnterElement(); break;
            case 3: doc.LeaveElement(); break;
            case 4:
                if (!doc.SetAttribute(names[random() % 3], values[random() % 4])) {
                    ASSERT_EQ(doc.ElementName(), "") << "refused only without a current element";
                }
                break;
            default: {
                const char* name = names[random() % 3];
                std::string text = random() % 2 ? values[random() % 4] : "";
                ASSERT_TRUE(doc.AddElement(name, text)) << "round " << round << " step " << step;
                ASSERT_EQ(doc.ElementName(), name);
                ASSERT_EQ(CXmlDocument::DecodeText(doc.ElementText()), text);
                break;
            }
            }
            std::string problem;
            ASSERT_TRUE(doc.CheckIndex(&problem)) << "round " << round << " step " << step << ": " << problem;
        }
        ExpectIndexMatchesText(doc, "round " + std::to_string(round));
    }
}

TEST(EditSequence, AppendingAfterAnEditInTheMiddle) {
    // An insertion in the middle puts the new record out of document order;
    // later appends and attribute edits must still move the right elements.
    CXmlDocument doc;
    doc.SetText("<r><a/><b><c/></b></r>");
    ASSERT_TRUE(doc.FindChildElement("a"));
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_TRUE(doc.AddElement("m"));                 // between a and b
    ASSERT_TRUE(doc.SetAttribute("t", "middle"));
    ASSERT_TRUE(doc.FindElement("b"));
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_TRUE(doc.FindElement("c"));
    ASSERT_TRUE(doc.SetAttribute("t", "inside b"));   // after the new record
    ASSERT_TRUE(doc.LeaveElement());
    ASSERT_TRUE(doc.AddElement("z"));                 // at the end of r
    ExpectIndexMatchesText(doc, "after the edits");
    EXPECT_EQ(doc.Text(), "<r><a/><m t=\"middle\"/>\r\n<b><c t=\"inside b\"/></b><z/>\r\n</r>");
}

TEST(EditSequence, ReadsRightAfterAnEditSeeTheEditedText) {
    // Nothing here asks for the whole text first: every read must see the
    // edit wherever the edit left the text's spare room.
    CXmlDocument doc;
    doc.SetText("<r><a x=\"1\" y=\"2\"/><b>text</b></r>");
    ASSERT_TRUE(doc.FindChildElement("a"));
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_TRUE(doc.SetAttribute("x", "a longer value"));
    EXPECT_EQ(doc.GetAttribute("y"), "2") << "the attribute after the edited one";
    EXPECT_EQ(doc.GetAttribute("x"), "a longer value");
    ASSERT_TRUE(doc.LeaveElement());
    EXPECT_EQ(doc.ElementText(), "<a x=\"a longer value\" y=\"2\"/><b>text</b>");
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_TRUE(doc.AddElement("n", "new"));
    ASSERT_TRUE(doc.FindElement("b"));
    EXPECT_EQ(doc.ElementText(), "text");
    ASSERT_TRUE(doc.LeaveElement());
    EXPECT_EQ(doc.ElementText(), "<a x=\"a longer value\" y=\"2\"/><n>new</n>\r\n<b>text</b>");
}

TEST(EditSequence, AttributeEditsBeforeChildrenMoveTheChildren) {
    CXmlDocument doc;
    doc.SetText("<r><p><c1/><c2><d/></c2></p><q/></r>");
    ASSERT_TRUE(doc.FindChildElement("p"));
    ASSERT_TRUE(doc.EnterElement());
    for (int i = 0; i < 5; ++i) ASSERT_TRUE(doc.SetAttribute("n" + std::to_string(i), std::string(i * 7, 'v')));
    ASSERT_TRUE(doc.SetAttribute("n2", ""));  // shrinks again
    ExpectIndexMatchesText(doc, "after attribute edits");
}

TEST(EditSequence, WritingADeepChainStaysExact) {
    // The writers' pattern at depth: add, set, step in, again and again.
    constexpr int depth = 100000;
    CXmlDocument doc;
    doc.SetText(xmltest::kDeclaration);
    doc.AddElement("root");
    doc.EnterElement();
    for (int i = 0; i < depth; ++i) {
        ASSERT_TRUE(doc.AddElement("G"));
        ASSERT_TRUE(doc.SetAttribute("t", std::to_string(i)));
        doc.EnterElement();
    }
    doc.AddElement("a");
    doc.SetAttribute("t", "bottom");
    for (int i = 0; i <= depth; ++i) ASSERT_TRUE(doc.LeaveElement());

    std::string expected = std::string(xmltest::kDeclaration) + "<root>\r\n";
    for (int i = 0; i < depth; ++i) expected += "<G t=\"" + std::to_string(i) + "\">\r\n";
    expected += "<a t=\"bottom\"/>\r\n";
    for (int i = 0; i < depth; ++i) expected += "</G>\r\n";
    expected += "</root>\r\n";
    ASSERT_TRUE(doc.Text() == expected);
    std::string problem;
    EXPECT_TRUE(doc.CheckIndex(&problem)) << problem;
    // Lengths of the whole chain are right: the root's content is everything
    // between its tags.
    doc.ResetCursor();
    ASSERT_TRUE(doc.FindElement());
    EXPECT_EQ(doc.ElementText().size(), expected.size() - std::string(xmltest::kDeclaration).size() - 15);
}

}  // namespace
