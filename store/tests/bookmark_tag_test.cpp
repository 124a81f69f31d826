// Bookmarks in the shape the program writes are read without the XML
// engine's attribute scan; whatever the tag holds, the values must be the
// ones the engine's GetAttribute gives, with the title filtered as on load.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "bookmark_tag.h"
#include "text_rules.h"
#include "xml_document.h"

namespace {

struct Read {
    bool fast = false;
    std::string title, url, remark;
};

// The values as the engine reads them from the document's only element.
Read ThroughEngine(const std::string& element) {
    CXmlDocument doc;
    Read r;
    if (!doc.SetText(element) || !doc.FindElement()) return r;
    r.title = doc.GetAttribute("t");
    r.url = doc.GetAttribute("u");
    r.remark = doc.GetAttribute("r");
    FilterInvalidChars(r.title, true);
    std::string t, u, m;
    r.fast = ReadWrittenBookmarkTag(doc.StartTagView(), t, u, m);
    if (r.fast) {
        EXPECT_EQ(t, r.title) << element;
        EXPECT_EQ(u, r.url) << element;
        EXPECT_EQ(m, r.remark) << element;
    }
    return r;
}

TEST(BookmarkTagTest, TheWrittenShapeIsReadAsTheEngineReadsIt) {
    const std::vector<std::string> values = {
        "", "plain", "\xB0\xA1\xB0\xA2 title", "a &amp; b", "&lt;&gt;&quot;&apos;", "&#65;&#x42;&#20013;",
        "&unknown; & &", "'single'", "a/b:c*d?e|f\\g", "\xB0\\ trail", "line\r\nbreak\ttab",
        std::string(40, 'x') + "&amp;" + std::string(40, 'y'), std::string(300, 'z') + "|"};
    for (const char* name : {"a", "A"}) {
        for (const std::string& t : values) {
            for (const std::string& other : {values[0], values[3], values[10], values[11]}) {
                for (const char* close : {"/>", ">x</a>", "></A>"}) {
                    const std::string element = std::string("<") + name + " t=\"" + t + "\" u=\"" + other +
                                                "\" r=\"" + t + "\"" + close;
                    // Only the tags whose element also ends as written are readable here.
                    if (std::string(close) == "></A>" && std::string(name) == "a") continue;
                    if (std::string(close) == ">x</a>" && std::string(name) == "A") continue;
                    EXPECT_TRUE(ThroughEngine(element).fast) << element;
                }
            }
        }
    }
}

TEST(BookmarkTagTest, OtherShapesAreLeftToTheEngine) {
    for (const std::string element : {
             "<a t=\"x\" u=\"y\" r=\"z\" />", "<a  t=\"x\" u=\"y\" r=\"z\"/>", "<a t='x' u=\"y\" r=\"z\"/>",
             "<a u=\"y\" t=\"x\" r=\"z\"/>", "<a t=\"x\" u=\"y\"/>", "<a t=\"x\" u=\"y\" r=\"z\" q=\"\"/>",
             "<a t=\"x\" u=\"y\" rr=\"z\"/>", "<ab t=\"x\" u=\"y\" r=\"z\"/>", "<a\tt=\"x\" u=\"y\" r=\"z\"/>",
             "<a t=x u=\"y\" r=\"z\"/>", "<a t = \"x\" u=\"y\" r=\"z\"/>", "<a t=\"x\"u=\"y\" r=\"z\"/>",
             "<b t=\"x\" u=\"y\" r=\"z\"/>"}) {
        EXPECT_FALSE(ThroughEngine(element).fast) << element;
    }
}

// Random tags near the written shape: whenever the quick reading accepts
// one, it agrees with the engine (checked inside ThroughEngine).
TEST(BookmarkTagTest, RandomTagsAgreeWithTheEngine) {
    std::mt19937 random(13);
    const std::string pieces[] = {" t=\"", " u=\"", " r=\"", "\"", "&amp;", "&", "'", "<", ">", "/", " ", "a",
                                  "\xB0", "\xA1", "=", "&#1;", "&#x41;", "|", "?"};
    int fast = 0;
    for (int i = 0; i < 20000; ++i) {
        std::string element = "<a";
        const int count = 1 + static_cast<int>(random() % 14);
        for (int k = 0; k < count; ++k) element += pieces[random() % std::size(pieces)];
        element += "/>";
        if (ThroughEngine(element).fast) ++fast;
        std::string written = "<a t=\"" + element + "\" u=\"" + element + "\" r=\"\"/>";
        if (ThroughEngine(written).fast) ++fast;
    }
    EXPECT_GT(fast, 1000) << "the random tags should often be of the written shape";
}

}  // namespace
