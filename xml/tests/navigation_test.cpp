// The cursor: FindElement, FindChildElement, EnterElement, LeaveElement and
// what ElementName / ElementText read at each step.
#include "xml_document.h"
#include "xml_test_util.h"

#include <gtest/gtest.h>

namespace {

const char kDoc[] =
    "<?xml version=\"1.0\"?><root>\r\n"
    "<G t=\"1\"><a t=\"x\"/><a t=\"y\"/><G t=\"1.1\"/></G>\r\n"
    "<b>text &amp; more</b>\r\n"
    "<G t=\"2\"></G>\r\n"
    "</root>\r\n";

class Navigation : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(doc.SetText(kDoc)); }
    CXmlDocument doc;
};

TEST_F(Navigation, FindElementWalksSiblingsInOrder) {
    ASSERT_TRUE(doc.FindElement());
    EXPECT_EQ(doc.ElementName(), "root");
    EXPECT_FALSE(doc.FindElement()) << "the root has no sibling";
    EXPECT_EQ(doc.ElementName(), "root") << "a failed search leaves the cursor";
    ASSERT_TRUE(doc.EnterElement());
    EXPECT_EQ(doc.ElementName(), "") << "no current element after entering";
    std::string seen;
    while (doc.FindElement()) seen += doc.ElementName() + doc.GetAttribute("t") + ",";
    EXPECT_EQ(seen, "G1,b,G2,");
}

TEST_F(Navigation, FindElementByNameSkipsOthersAndIsCaseSensitive) {
    ASSERT_TRUE(doc.FindElement("root"));
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_TRUE(doc.FindElement("G"));
    EXPECT_EQ(doc.GetAttribute("t"), "1");
    ASSERT_TRUE(doc.FindElement("G"));
    EXPECT_EQ(doc.GetAttribute("t"), "2");
    EXPECT_FALSE(doc.FindElement("G"));
    EXPECT_EQ(doc.GetAttribute("t"), "2");

    CXmlDocument other;
    other.SetText("<root/>");
    EXPECT_FALSE(other.FindElement("Root"));
    EXPECT_FALSE(other.FindElement("roo"));
    EXPECT_FALSE(other.FindElement("rootx"));
    EXPECT_TRUE(other.FindElement("root"));
}

TEST_F(Navigation, RequestedNameMayContinueWithASeparator) {
    for (const char* name : {"root", "root ", "root=", "root/", "root[", "root]"}) {
        CXmlDocument d;
        d.SetText("<root/>");
        EXPECT_TRUE(d.FindElement(name)) << name;
    }
    CXmlDocument d;
    d.SetText("<root/>");
    EXPECT_FALSE(d.FindElement("root.x"));
}

TEST_F(Navigation, FindChildElementLooksInsideCurrent) {
    // With no current element it first takes the first element.
    ASSERT_TRUE(doc.FindChildElement("G"));
    EXPECT_EQ(doc.ElementName(), "root");
    ASSERT_TRUE(doc.FindChildElement());
    EXPECT_EQ(doc.ElementName(), "root") << "the child moves, not current";
    ASSERT_TRUE(doc.FindChildElement("G"));
    EXPECT_FALSE(doc.FindChildElement("G"));
    // Entering makes the found child current.
    ASSERT_TRUE(doc.EnterElement());
    EXPECT_EQ(doc.ElementName(), "G");
    EXPECT_EQ(doc.GetAttribute("t"), "2");
}

TEST_F(Navigation, FindChildElementRestartsAfterFindElement) {
    ASSERT_TRUE(doc.FindElement());
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_TRUE(doc.FindElement("G"));
    std::string seen;
    while (doc.FindChildElement()) {
        ASSERT_TRUE(doc.EnterElement());
        seen += doc.ElementName() + doc.GetAttribute("t") + ",";
        ASSERT_TRUE(doc.LeaveElement());
    }
    EXPECT_EQ(seen, "ax,ay,G1.1,");
}

TEST_F(Navigation, EnterAndLeaveMoveTheThreePositions) {
    EXPECT_FALSE(doc.EnterElement()) << "nothing current yet";
    EXPECT_FALSE(doc.LeaveElement()) << "already at the top";
    ASSERT_TRUE(doc.FindElement());
    ASSERT_TRUE(doc.FindChildElement("b"));
    ASSERT_TRUE(doc.EnterElement());  // parent root, current b
    EXPECT_EQ(doc.ElementName(), "b");
    ASSERT_TRUE(doc.FindElement());
    EXPECT_EQ(doc.GetAttribute("t"), "2") << "siblings of b follow it";
    ASSERT_TRUE(doc.LeaveElement());  // current root, child the G
    EXPECT_EQ(doc.ElementName(), "root");
    EXPECT_FALSE(doc.FindChildElement("G")) << "the search goes on after the child left";
    EXPECT_FALSE(doc.LeaveElement());
}

TEST_F(Navigation, EnteringAnElementWithoutChildrenFindsNothing) {
    ASSERT_TRUE(doc.FindElement());
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_TRUE(doc.FindElement("b"));
    ASSERT_TRUE(doc.EnterElement());
    EXPECT_FALSE(doc.FindElement());
    EXPECT_FALSE(doc.FindChildElement());
    ASSERT_TRUE(doc.LeaveElement());
    EXPECT_EQ(doc.ElementName(), "b");
}

TEST_F(Navigation, ElementTextIsRawContent) {
    ASSERT_TRUE(doc.FindElement());
    EXPECT_EQ(doc.ElementText(), "\r\n<G t=\"1\"><a t=\"x\"/><a t=\"y\"/><G t=\"1.1\"/></G>\r\n"
                                 "<b>text &amp; more</b>\r\n<G t=\"2\"></G>\r\n");
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_TRUE(doc.FindElement("b"));
    EXPECT_EQ(doc.ElementText(), "text &amp; more") << "no decoding";
    EXPECT_EQ(CXmlDocument::DecodeText(doc.ElementText()), "text & more");
    ASSERT_TRUE(doc.FindElement("G"));
    EXPECT_EQ(doc.ElementText(), "");
    ASSERT_TRUE(doc.LeaveElement());
    EXPECT_EQ(doc.ElementName(), "root");
}

TEST_F(Navigation, NothingCurrentReadsEmpty) {
    EXPECT_EQ(doc.ElementName(), "");
    EXPECT_EQ(doc.ElementText(), "");
    EXPECT_EQ(doc.GetAttribute("t"), "");
    std::string out = "stale";
    EXPECT_FALSE(doc.GetAttribute("t", out));
    EXPECT_EQ(out, "");
}

}  // namespace
