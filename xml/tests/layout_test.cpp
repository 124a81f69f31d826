// Where AddElement puts new elements and their line breaks, byte for byte,
// including the bookmark file and the settings file as the writers build them.
#include "xml_document.h"
#include "xml_test_util.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using xmltest::kDeclaration;
using xmltest::Visible;

// The index of an edited document must read the same as a fresh parse.
// Walking the document moves the cursor back to the top.
void ExpectIndexMatchesText(CXmlDocument& doc) {
    std::string problem;
    EXPECT_TRUE(doc.CheckIndex(&problem)) << problem;
    EXPECT_EQ(xmltest::Outline(doc), xmltest::OutlineOfText(doc.Text()));
}

// Also the whole of an empty collection's file.
TEST(Layout, RootFollowsTheDeclarationOnItsLine) {
    CXmlDocument doc;
    EXPECT_FALSE(doc.SetText(kDeclaration));
    ASSERT_TRUE(doc.AddElement("root"));
    EXPECT_EQ(doc.Text(), std::string(kDeclaration) + "<root/>\r\n");
    EXPECT_EQ(doc.ElementName(), "root");
    ExpectIndexMatchesText(doc);
}

TEST(Layout, FirstChildOpensAnEmptyParent) {
    CXmlDocument doc;
    doc.SetText(kDeclaration);
    doc.AddElement("root");
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_TRUE(doc.AddElement("child"));
    EXPECT_EQ(Visible(doc.Text()), Visible(std::string(kDeclaration) + "<root>\r\n<child/>\r\n</root>\r\n"));
    ExpectIndexMatchesText(doc);
}

TEST(Layout, OpeningKeepsTheParentsAttributesAndSpace) {
    CXmlDocument doc;
    doc.SetText("<r><p t=\"1\" /></r>");
    ASSERT_TRUE(doc.FindChildElement("p"));
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_TRUE(doc.AddElement("c"));
    EXPECT_EQ(Visible(doc.Text()), Visible("<r><p t=\"1\" >\r\n<c/>\r\n</p></r>"));
    ExpectIndexMatchesText(doc);
}

TEST(Layout, SiblingsStandOnTheirOwnLinesInCallOrder) {
    CXmlDocument doc;
    doc.SetText(kDeclaration);
    doc.AddElement("root");
    doc.EnterElement();
    for (const char* name : {"one", "two", "three"}) ASSERT_TRUE(doc.AddElement(name));
    EXPECT_EQ(Visible(doc.Text()),
              Visible(std::string(kDeclaration) + "<root>\r\n<one/>\r\n<two/>\r\n<three/>\r\n</root>\r\n"));
    ExpectIndexMatchesText(doc);
}

TEST(Layout, AfterCurrentMovesPastWhiteSpaceUpToTheNextTag) {
    struct Case {
        const char* label;
        const char* before;
        const char* after;
        bool siblingAfter;
    } cases[] = {
        {"line_break_then_sibling", "<r><a/>\r\n<b/></r>", "<r><a/>\r\n<n/>\r\n<b/></r>", true},
        {"spaces_then_end_tag", "<r><a/>  </r>", "<r><a/>  <n/>\r\n</r>", false},
        {"text_stops_the_move", "<r><a/> x</r>", "<r><a/><n/>\r\n x</r>", false},
        {"no_white_space", "<r><a/><b/></r>", "<r><a/><n/>\r\n<b/></r>", true},
    };
    for (const Case& c : cases) {
        CXmlDocument doc;
        doc.SetText(c.before);
        ASSERT_TRUE(doc.FindChildElement("a")) << c.label;
        ASSERT_TRUE(doc.EnterElement());
        ASSERT_TRUE(doc.AddElement("n"));
        EXPECT_EQ(doc.Text(), c.after) << c.label;
        EXPECT_EQ(doc.ElementName(), "n");
        EXPECT_EQ(doc.FindElement(), c.siblingAfter) << c.label << ": the old next sibling follows the new one";
        ExpectIndexMatchesText(doc);
    }
}

TEST(Layout, LastChildGoesBeforeTheEndTag) {
    struct Case {
        const char* label;
        const char* before;
        const char* after;
    } cases[] = {
        {"content", "<r>\r\n<a/>\r\n</r>", "<r>\r\n<a/>\r\n<n/>\r\n</r>"},
        {"text_content", "<r>x</r>", "<r>x<n/>\r\n</r>"},
        {"nothing_inside_gets_a_line_break", "<r></r>", "<r>\r\n<n/>\r\n</r>"},
    };
    for (const Case& c : cases) {
        CXmlDocument doc;
        doc.SetText(c.before);
        ASSERT_TRUE(doc.FindElement()) << c.label;
        ASSERT_TRUE(doc.EnterElement());
        ASSERT_TRUE(doc.AddElement("n"));
        EXPECT_EQ(doc.Text(), c.after) << c.label;
        ExpectIndexMatchesText(doc);
    }
}

TEST(Layout, TopLevelAddsAtTheEndOfTheText) {
    CXmlDocument doc;
    doc.SetText("<r/>\r\n<!-- tail -->");
    ASSERT_TRUE(doc.AddElement("n"));
    EXPECT_EQ(doc.Text(), "<r/>\r\n<!-- tail --><n/>\r\n");
    ExpectIndexMatchesText(doc);
}

TEST(Layout, ElementTextEscapesAmpersandAndAngleBracketsOnly) {
    CXmlDocument doc;
    doc.SetText("<r/>");
    ASSERT_TRUE(doc.FindElement());
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_TRUE(doc.AddElement("k", "a&b <c> \"q\" 'a'"));
    EXPECT_EQ(doc.Text(), "<r>\r\n<k>a&amp;b &lt;c&gt; \"q\" 'a'</k>\r\n</r>");
    EXPECT_EQ(doc.ElementText(), "a&amp;b &lt;c&gt; \"q\" 'a'");
    EXPECT_EQ(CXmlDocument::DecodeText(doc.ElementText()), "a&b <c> \"q\" 'a'");
    ExpectIndexMatchesText(doc);
}

TEST(Layout, NoElementIsAddedWhereTheTextHasNoSoundPlace) {
    CXmlDocument doc;
    doc.SetText("<r><a></r>");  // a is never ended
    ASSERT_TRUE(doc.FindChildElement("a"));
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_TRUE(doc.EnterElement());
    EXPECT_FALSE(doc.AddElement("n"));
    EXPECT_EQ(doc.Text(), "<r><a></r>");

    // At the end of the text the open comment would swallow it...
    doc.SetText("<r/><!-- open");
    EXPECT_FALSE(doc.AddElement("n"));
    EXPECT_EQ(doc.Text(), "<r/><!-- open");
    // ...but after the root it is still fine.
    ASSERT_TRUE(doc.FindElement());
    ASSERT_TRUE(doc.AddElement("n"));
    EXPECT_EQ(doc.Text(), "<r/><n/>\r\n<!-- open");
    ExpectIndexMatchesText(doc);
}

TEST(Layout, UnwritableElementNamesAreRefused) {
    CXmlDocument doc;
    doc.SetText("<r/>");
    for (const char* name : {"", "1a", " a", "a b", "a>", "a/", "-a", "a\\"}) {
        EXPECT_FALSE(doc.AddElement(name)) << name;
    }
    EXPECT_EQ(doc.Text(), "<r/>");
    EXPECT_EQ(doc.ElementCount(), 1u);
    EXPECT_TRUE(doc.AddElement("GUI.ShowToolBar"));
    EXPECT_TRUE(doc.AddElement("\xCA\xE9\xC7\xA9"));
}

// The bookmark writer: G with t, step in, bookmarks a with t u r, step out,
// step into G again for its sub-categories.
TEST(Layout, BookmarkFileExampleIsEightLines) {
    CXmlDocument doc;
    doc.SetText(kDeclaration);
    doc.AddElement("root");
    doc.EnterElement();

    doc.AddElement("G");
    doc.SetAttribute("t", "News");
    doc.EnterElement();
    doc.AddElement("a");
    doc.SetAttribute("t", "Daily");
    doc.SetAttribute("u", "URL-1");
    doc.SetAttribute("r", "");
    doc.AddElement("a");
    doc.SetAttribute("t", "Weather & traffic");
    doc.SetAttribute("u", "URL-2");
    doc.SetAttribute("r", "see \"map\"");
    doc.LeaveElement();
    doc.EnterElement();
    doc.AddElement("G");
    doc.SetAttribute("t", "Local");
    doc.EnterElement();
    doc.LeaveElement();
    doc.LeaveElement();

    doc.AddElement("G");
    doc.SetAttribute("t", "Tools");
    doc.EnterElement();
    doc.LeaveElement();
    doc.LeaveElement();

    const std::string expected =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?><root>\r\n"
        "<G t=\"News\">\r\n"
        "<a t=\"Daily\" u=\"URL-1\" r=\"\"/>\r\n"
        "<a t=\"Weather &amp; traffic\" u=\"URL-2\" r=\"see &quot;map&quot;\"/>\r\n"
        "<G t=\"Local\"/>\r\n"
        "</G>\r\n"
        "<G t=\"Tools\"/>\r\n"
        "</root>\r\n";
    EXPECT_EQ(Visible(doc.Text()), Visible(expected));
    ExpectIndexMatchesText(doc);
    CXmlDocument reread;
    EXPECT_TRUE(reread.SetText(std::string_view(doc.Text())));
}

// The settings writer: root, step in, one element per key with its text.
TEST(Layout, SettingsFileWithAnEmptyValue) {
    CXmlDocument doc;
    doc.SetText(kDeclaration);
    doc.AddElement("settings");
    doc.EnterElement();
    doc.AddElement("General.Language", "");
    doc.AddElement("General.AutoRun", "1");
    doc.AddElement("GUI.ToolbarSkin", "Skin\\Toolbar\\Normal\\");
    doc.AddElement("Other.Note", "a&b");
    doc.LeaveElement();
    const std::string expected =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?><settings>\r\n"
        "<General.Language/>\r\n"
        "<General.AutoRun>1</General.AutoRun>\r\n"
        "<GUI.ToolbarSkin>Skin\\Toolbar\\Normal\\</GUI.ToolbarSkin>\r\n"
        "<Other.Note>a&amp;b</Other.Note>\r\n"
        "</settings>\r\n";
    EXPECT_EQ(Visible(doc.Text()), Visible(expected));
    ExpectIndexMatchesText(doc);

    // Read back as the settings reader does.
    CXmlDocument reread;
    ASSERT_TRUE(reread.SetText(std::string_view(doc.Text())));
    ASSERT_TRUE(reread.FindElement("settings"));
    ASSERT_TRUE(reread.EnterElement());
    ASSERT_TRUE(reread.FindElement("General.Language"));
    EXPECT_EQ(reread.ElementText(), "");
    ASSERT_TRUE(reread.FindElement("GUI.ToolbarSkin"));
    EXPECT_EQ(reread.ElementText(), "Skin\\Toolbar\\Normal\\");
    ASSERT_TRUE(reread.FindElement("Other.Note"));
    EXPECT_EQ(CXmlDocument::DecodeText(reread.ElementText()), "a&b");
}

TEST(Layout, TextEndingInALeadByteDoesNotSwallowTheEndTag) {
    CXmlDocument doc;
    doc.SetText("<r/>");
    ASSERT_TRUE(doc.FindElement());
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_TRUE(doc.AddElement("k", "x\xB1"));
    ASSERT_TRUE(doc.AddElement("m"));
    CXmlDocument reread;
    ASSERT_TRUE(reread.SetText(std::string_view(doc.Text()))) << reread.ResultText();
    ASSERT_TRUE(reread.FindChildElement("k"));
    ASSERT_TRUE(reread.EnterElement());
    EXPECT_EQ(reread.ElementText(), "x\xB1");
    EXPECT_TRUE(reread.FindElement("m"));
}

TEST(Layout, EditsInTheMiddleKeepLaterElementsReachable) {
    // Build, then go back to the first category and add to it: everything
    // after the edit must move.
    CXmlDocument doc;
    doc.SetText(kDeclaration);
    doc.AddElement("root");
    doc.EnterElement();
    for (int g = 0; g < 3; ++g) {
        doc.AddElement("G");
        doc.SetAttribute("t", "cat" + std::to_string(g));
        doc.EnterElement();
        for (int a = 0; a < 3; ++a) {
            doc.AddElement("a");
            doc.SetAttribute("t", std::to_string(g) + "." + std::to_string(a));
        }
        doc.LeaveElement();
    }
    doc.LeaveElement();
    doc.ResetCursor();
    ASSERT_TRUE(doc.FindElement());
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_TRUE(doc.FindElement("G"));
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_TRUE(doc.FindElement("a"));
    ASSERT_TRUE(doc.SetAttribute("r", "a remark in the middle"));
    ASSERT_TRUE(doc.AddElement("a"));
    ASSERT_TRUE(doc.SetAttribute("t", "inserted"));
    ASSERT_TRUE(doc.LeaveElement());
    ASSERT_TRUE(doc.FindElement("G"));
    EXPECT_EQ(doc.GetAttribute("t"), "cat1");
    ExpectIndexMatchesText(doc);  // (moves the cursor)
}

}  // namespace
