// The bookmark file: exact bytes written, and every reading rule.
#include <gtest/gtest.h>

#include <random>

#include "bookmark_file_text.h"
#include "bookmark_store.h"
#include "store_test_helpers.h"
#include "test_support/temp_dir.h"
#include "xml_document.h"

namespace {

using store_test::AddChild;
using store_test::Describe;
using testing_support::ReadBytes;
using testing_support::WriteBytes;
using Names = std::vector<std::string>;

const std::string kDecl = "<?xml version=\"1.0\" encoding=\"utf-8\"?>";

BookmarkRecord* AddBookmark(CBookmarkStore& store, ClassRecord* c, const std::string& t, const std::string& u,
                            const std::string& r) {
    auto* b = new BookmarkRecord(t, u, r);
    EXPECT_TRUE(store.AddBookmark(c, nullptr, b));
    return b;
}

// The collection of the eight-line example.
void BuildExample(CBookmarkStore& store) {
    ClassRecord* news = store.AddTopClass("News");
    AddBookmark(store, news, "Daily", "URL-1", "");
    AddBookmark(store, news, "Weather & traffic", "URL-2", "see \"map\"");
    AddChild(store, news, "Local");
    store.AddTopClass("Tools");
}

const std::string kExampleFile =
    kDecl + "<root>\r\n"
    "<G t=\"News\">\r\n"
    "<a t=\"Daily\" u=\"URL-1\" r=\"\"/>\r\n"
    "<a t=\"Weather &amp; traffic\" u=\"URL-2\" r=\"see &quot;map&quot;\"/>\r\n"
    "<G t=\"Local\"/>\r\n"
    "</G>\r\n"
    "<G t=\"Tools\"/>\r\n"
    "</root>\r\n";

struct BookmarkFileTest : ::testing::Test {
    testing_support::TempDir dir;
    std::string path = dir.File("bookmark.xml");
};

TEST_F(BookmarkFileTest, TheExampleIsWrittenAsItsEightLines) {
    CBookmarkStore store;
    BuildExample(store);
    ASSERT_TRUE(store.Save(path));
    EXPECT_EQ(ReadBytes(path), kExampleFile);
    EXPECT_FALSE(store.IsModified());
}

TEST_F(BookmarkFileTest, TheExampleLoadsBackAndSavesToTheSameBytes) {
    WriteBytes(path, kExampleFile);
    CBookmarkStore store;
    ASSERT_TRUE(store.Load(path));
    EXPECT_EQ(Describe(store), (Names{"News(0):Daily,Weather & traffic", "Local(1)", "Tools(0)"}));
    const BookmarkRecord* weather = store.Root()->FirstChild()->bookmarks[1];
    EXPECT_EQ(weather->url, "URL-2");
    EXPECT_EQ(weather->remark, "see \"map\"");
    EXPECT_EQ(weather->kind, 1);
    EXPECT_EQ(store.Root()->FirstChild()->kind, 0);
    const std::string again = dir.File("again.xml");
    ASSERT_TRUE(store.Save(again));
    EXPECT_EQ(ReadBytes(again), kExampleFile);
}

TEST_F(BookmarkFileTest, AnEmptyCollectionIsOneLineAndLoadsAsEmpty) {
    CBookmarkStore store;
    ASSERT_TRUE(store.Save(path));
    EXPECT_EQ(ReadBytes(path), kDecl + "<root/>\r\n");
    CBookmarkStore loaded;
    EXPECT_TRUE(loaded.Load(path));
    EXPECT_EQ(loaded.Root()->FirstChild(), nullptr);
}

TEST_F(BookmarkFileTest, AnEmptyCategoryWithAnEmptySubCategory) {
    CBookmarkStore store;
    ClassRecord* a = store.AddTopClass("A");
    AddChild(store, AddChild(store, a, "B"), "C");
    ASSERT_TRUE(store.Save(path));
    EXPECT_EQ(ReadBytes(path), kDecl + "<root>\r\n<G t=\"A\">\r\n<G t=\"B\">\r\n<G t=\"C\"/>\r\n</G>\r\n</G>\r\n"
                                       "</root>\r\n");
}

TEST_F(BookmarkFileTest, EscapesLineBreaksAndGbkBytesSurviveARoundTrip) {
    const std::string gbk = "\xCA\xE9\xC7\xA9";                  // two Chinese characters
    const std::string trailBytes = "\x95\x5C\x81\x7C\x81\x41";   // second bytes \ | A
    const std::string allFive = "&<>\"'";
    CBookmarkStore store;
    // Names and titles may hold only the two of the five that are not
    // invalid-name characters; URLs and remarks hold anything.
    ClassRecord* c = store.AddTopClass(gbk + trailBytes + " &'");
    AddBookmark(store, c, "T & 'q' " + trailBytes, "http://x/?a=1&b=<2>\"'", "line 1\r\nline 2\r\n\ttab " + allFive);
    AddBookmark(store, c, "", "", "");
    AddBookmark(store, c, gbk, "http://" + gbk + "/", gbk + "\r\n");
    ClassRecord* sub = AddChild(store, c, "&amp; stays text");
    AddBookmark(store, sub, "&lt;", "&#65;", "&quot;");
    ASSERT_TRUE(store.Save(path));
    const std::string written = ReadBytes(path);
    EXPECT_NE(written.find("r=\"line 1\r\nline 2\r\n\ttab &amp;&lt;&gt;&quot;&apos;\""), std::string::npos);
    EXPECT_NE(written.find("t=\"&amp;amp; stays text\""), std::string::npos);
    EXPECT_NE(written.find("t=\"" + gbk + trailBytes + " &amp;&apos;\""), std::string::npos);

    CBookmarkStore loaded;
    ASSERT_TRUE(loaded.Load(path));
    EXPECT_EQ(Describe(loaded), Describe(store));
    const ClassRecord* lc = loaded.Root()->FirstChild();
    ASSERT_EQ(lc->bookmarks.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(lc->bookmarks[i]->title, c->bookmarks[i]->title);
        EXPECT_EQ(lc->bookmarks[i]->url, c->bookmarks[i]->url);
        EXPECT_EQ(lc->bookmarks[i]->remark, c->bookmarks[i]->remark);
    }
    const BookmarkRecord* inner = lc->FirstChild()->bookmarks.at(0);
    EXPECT_EQ(inner->title, "&lt;");
    EXPECT_EQ(inner->url, "&#65;");
    EXPECT_EQ(inner->remark, "&quot;");
    const std::string again = dir.File("again.xml");
    ASSERT_TRUE(loaded.Save(again));
    EXPECT_EQ(ReadBytes(again), written);
}

TEST_F(BookmarkFileTest, TitlesWithInvalidCharactersComeBackWithSpaces) {
    CBookmarkStore store;
    ClassRecord* c = store.AddTopClass("a<b>");
    AddBookmark(store, c, "say \"hi\" a/b", "u/\"", "r<>");
    ASSERT_TRUE(store.Save(path));
    CBookmarkStore loaded;
    ASSERT_TRUE(loaded.Load(path));
    const ClassRecord* lc = loaded.Root()->FirstChild();
    EXPECT_EQ(lc->name, "a b ");
    EXPECT_EQ(lc->bookmarks.at(0)->title, "say  hi  a b");
    EXPECT_EQ(lc->bookmarks.at(0)->url, "u/\"");
    EXPECT_EQ(lc->bookmarks.at(0)->remark, "r<>");
}

struct LoadCase {
    const char* label;
    std::string body;  // what follows the declaration
    bool loads;
    Names tree;
};

class BookmarkFileLoadTest : public ::testing::TestWithParam<LoadCase> {};

TEST_P(BookmarkFileLoadTest, ReadsWhatTheRulesSay) {
    const LoadCase& c = GetParam();
    testing_support::TempDir dir;
    const std::string path = dir.File("bookmark.xml");
    WriteBytes(path, kDecl + c.body);
    CBookmarkStore store;
    store.AddTopClass("already there");
    EXPECT_TRUE(store.IsModified());
    EXPECT_EQ(store.Load(path), c.loads);
    EXPECT_FALSE(store.IsModified()) << "Load clears the flag whatever the outcome";
    Names expected{"already there(0)"};
    expected.insert(expected.end(), c.tree.begin(), c.tree.end());
    EXPECT_EQ(Describe(store), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, BookmarkFileLoadTest,
    ::testing::Values(
        LoadCase{"lower_g_and_upper_a", "<root>\r\n<g t=\"A\">\r\n<A t=\"x\" u=\"u\" r=\"\"/>\r\n</g>\r\n</root>\r\n",
                 true, {"A(0):x"}},
        LoadCase{"root_in_capitals", "<ROOT>\r\n<G t=\"A\"/>\r\n</ROOT>\r\n", false, {}},
        LoadCase{"root_of_another_name", "<bookmarks><G t=\"A\"/></bookmarks>", false, {}},
        LoadCase{"bookmark_under_root_skipped",
                 "<root>\r\n<a t=\"lost\" u=\"u\" r=\"\"/>\r\n<G t=\"A\"/>\r\n</root>\r\n", true, {"A(0)"}},
        LoadCase{"unknown_elements_skipped_with_content",
                 "<root><x><G t=\"hidden\"><a t=\"h\"/></G></x><G t=\"A\"><y><a t=\"no\"/><G t=\"no\"/></y>"
                 "<a t=\"yes\"/><GG t=\"no\"/><ab t=\"no\"/></G></root>",
                 true, {"A(0):yes"}},
        LoadCase{"content_of_a_bookmark_is_not_read",
                 "<root><G t=\"A\"><a t=\"outer\"><a t=\"inner\"/><G t=\"inner\"/></a></G></root>", true,
                 {"A(0):outer"}},
        LoadCase{"missing_attributes_read_as_empty", "<root><G><a/></G><G t=\"\"/></root>", true, {"(0):", "(0)"}},
        LoadCase{"duplicates_kept",
                 "<root><G t=\"A\"><a t=\"x\"/><a t=\"X\"/></G><G t=\"a\"/><G t=\"A\"/></root>", true,
                 {"A(0):x,X", "a(0)", "A(0)"}},
        LoadCase{"invalid_characters_in_names_become_spaces",
                 "<root><G t=\"a/b:c\"><a t=\"x|y?&quot;z&lt;&gt;\" u=\"http://h/p\" r=\"a/b\"/></G></root>", true,
                 {"a b c(0):x y  z  "}},
        LoadCase{"comments_and_instructions_passed_over",
                 "<root><!-- <G t=\"no\"/> --><?pi <G?><G t=\"A\"/></root>", true, {"A(0)"}},
        LoadCase{"separate_lines_and_indentation",
                 "\n<root>\n  <G t=\"A\">\n    <a t=\"x\" u=\"u\" r=\"\" />\n    <G t='B'/>\n  </G>\n</root>\n", true,
                 {"A(0):x", "B(1)"}},
        LoadCase{"numeric_references_decoded", "<root><G t=\"&#65;&#x42;&amp;\"/></root>", true, {"AB&(0)"}},
        LoadCase{"root_never_closed", "<root>\r\n<G t=\"A\"/>\r\n", false, {}},
        LoadCase{"mismatched_end_tag", "<root><G t=\"A\"></g></root>", false, {}},
        LoadCase{"two_root_elements", "<root/><root/>", false, {}},
        LoadCase{"no_root_element", "", false, {}}),
    [](const ::testing::TestParamInfo<LoadCase>& info) { return std::string(info.param.label); });

TEST_F(BookmarkFileTest, InvalidCharactersAreReplacedInNamesAndTitlesOnly) {
    WriteBytes(path, kDecl + "<root><G t=\"a\\b\"><a t=\"x/y\" u=\"http://h/p?q=1|2\" r=\"a/b: c*\"/></G></root>");
    CBookmarkStore store;
    ASSERT_TRUE(store.Load(path));
    const ClassRecord* c = store.Root()->FirstChild();
    EXPECT_EQ(c->name, "a b");
    ASSERT_EQ(c->bookmarks.size(), 1u);
    EXPECT_EQ(c->bookmarks[0]->title, "x y");
    EXPECT_EQ(c->bookmarks[0]->url, "http://h/p?q=1|2");
    EXPECT_EQ(c->bookmarks[0]->remark, "a/b: c*");
}

TEST_F(BookmarkFileTest, AByteOrderMarkIsTakenAsTextBeforeTheRoot) {
    WriteBytes(path, "\xEF\xBB\xBF" + kDecl + "<root><G t=\"\xE4\xB8\xAD\xE6\x96\x87\"/></root>\r\n");
    CBookmarkStore store;
    ASSERT_TRUE(store.Load(path));
    // A name in real UTF-8 is kept as its bytes.
    EXPECT_EQ(store.Root()->FirstChild()->name, "\xE4\xB8\xAD\xE6\x96\x87");
}

TEST_F(BookmarkFileTest, AMissingOrEmptyFileLoadsNothing) {
    CBookmarkStore store;
    EXPECT_FALSE(store.Load(dir.File("absent.xml")));
    WriteBytes(path, "");
    EXPECT_FALSE(store.Load(path));
    EXPECT_EQ(store.Root()->FirstChild(), nullptr);
}

TEST_F(BookmarkFileTest, AFailedSaveKeepsTheChangesMarked) {
    CBookmarkStore store;
    BuildExample(store);
    EXPECT_TRUE(store.IsModified());
    EXPECT_FALSE(store.Save(dir.File("no such folder/bookmark.xml")));
    EXPECT_TRUE(store.IsModified()) << "the next periodic save must try again";
    ASSERT_TRUE(store.Save(path));
    EXPECT_FALSE(store.IsModified());
    EXPECT_EQ(ReadBytes(path), kExampleFile);
}

TEST_F(BookmarkFileTest, SavingReplacesAnOlderFile) {
    WriteBytes(path, std::string(100000, 'x'));
    CBookmarkStore store;
    BuildExample(store);
    ASSERT_TRUE(store.Save(path));
    EXPECT_EQ(ReadBytes(path), kExampleFile);
}

// The layout must be the one the XML engine itself gives when the file is
// built element by element, as the program's other XML writers do.
void BuildWithEngine(CXmlDocument& doc, const ClassRecord* first) {
    for (const ClassRecord* c = first; c; c = c->NextSibling()) {
        doc.AddElement("G");
        doc.SetAttribute("t", c->name);
        doc.EnterElement();
        for (const BookmarkRecord* b : c->bookmarks) {
            doc.AddElement("a");
            doc.SetAttribute("t", b->title);
            doc.SetAttribute("u", b->url);
            doc.SetAttribute("r", b->remark);
        }
        doc.LeaveElement();
        if (c->FirstChild()) {
            doc.EnterElement();
            BuildWithEngine(doc, c->FirstChild());
            doc.LeaveElement();
        }
    }
}

TEST_F(BookmarkFileTest, TheLayoutIsTheOneTheXmlEngineBuilds) {
    CBookmarkStore store;
    for (int round = 0; round < 3; ++round) {
        if (round == 1) BuildExample(store);
        if (round == 2) {
            ClassRecord* deep = store.AddTopClass("\xCA\xE9 & <deep>");
            ClassRecord* d1 = AddChild(store, deep, "d1");
            AddBookmark(store, d1, "t'1'", "u\"1\"", "r\r\n1");
            AddChild(store, AddChild(store, d1, "d2"), "d3");
            AddChild(store, deep, "d1b");
        }
        CXmlDocument doc;
        doc.SetText(kDecl);
        doc.AddElement("root");
        if (store.Root()->FirstChild()) {
            doc.EnterElement();
            BuildWithEngine(doc, store.Root()->FirstChild());
            doc.LeaveElement();
        }
        ASSERT_TRUE(store.Save(path));
        EXPECT_EQ(ReadBytes(path), doc.Text()) << "round " << round;
    }
}

// Escaping looks at many bytes a step: a character to escape is found
// wherever it stands relative to those steps, next to GBK trail bytes, in
// runs, at both ends, and in long values.
TEST_F(BookmarkFileTest, AwkwardBytesAreWrittenAsTheXmlEngineWritesThem) {
    CBookmarkStore store;
    const std::string specials = "&<>\"'";
    std::vector<std::string> values;
    for (std::size_t length = 1; length <= 40; ++length) {
        for (std::size_t at = 0; at < length; ++at) {
            std::string value(length, at % 2 ? 'x' : '\xB0');
            value[at] = specials[(length + at) % specials.size()];
            values.push_back(value);
        }
    }
    std::string everyByte;
    for (int c = 1; c < 256; ++c) everyByte += static_cast<char>(c);
    values.push_back(everyByte);
    values.push_back(std::string(1000, '&'));
    std::mt19937 random(7);
    for (int i = 0; i < 200; ++i) {
        std::string value(random() % 300, ' ');
        for (char& c : value) c = random() % 4 == 0 ? specials[random() % specials.size()] : static_cast<char>(random());
        values.push_back(value);
    }
    ClassRecord* category = nullptr;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i % 100 == 0) category = store.AddTopClass("c" + std::to_string(i));
        // Titles go through the store's invalid-character rule on load only,
        // so anything may stand in them here.
        AddBookmark(store, category, "t" + std::to_string(i) + values[i], values[(i + 1) % values.size()], values[i]);
    }
    CXmlDocument doc;
    doc.SetText(kDecl);
    doc.AddElement("root");
    doc.EnterElement();
    BuildWithEngine(doc, store.Root()->FirstChild());
    doc.LeaveElement();
    ASSERT_TRUE(store.Save(path));
    EXPECT_EQ(ReadBytes(path), doc.Text());
}

// The periodic save builds the text a slice at a time; a slice may end
// anywhere: inside a category's bookmarks, between a category and its first
// child, at the last bookmark before a climb of several levels.
TEST_F(BookmarkFileTest, ATextBuiltInSlicesIsTheTextBuiltWhole) {
    CBookmarkStore store;
    BuildExample(store);
    ClassRecord* deep = store.Root()->FirstChild();
    for (int level = 0; level < 40; ++level) {
        deep = AddChild(store, deep, "level" + std::to_string(level));
        for (int b = 0; b < level * 23 % 600; ++b) AddBookmark(store, deep, "b" + std::to_string(b), "u&", "");
        if (level % 7 == 0) AddChild(store, deep, "empty" + std::to_string(level));
    }
    for (int c = 0; c < 1000; ++c) store.AddTopClass("top" + std::to_string(c));
    std::uint64_t change = 0;
    const std::string whole(store.BuildFileText(change).View());

    CBookmarkFileText sliced(*store.Root(), 16);  // a short estimate: the buffer grows between slices
    int slices = 1;
    while (!sliced.BuildUntil(CBookmarkFileText::Clock::time_point::min())) ++slices;
    EXPECT_TRUE(sliced.Complete());
    EXPECT_GT(slices, 20);
    EXPECT_EQ(std::string(sliced.Finish().View()), whole);

    CBookmarkStore empty;
    CBookmarkFileText nothing(*empty.Root());
    EXPECT_TRUE(nothing.BuildUntil(CBookmarkFileText::Clock::time_point::min()));
    EXPECT_EQ(std::string(nothing.Finish().View()), kDecl + "<root/>\r\n");
}

}  // namespace
