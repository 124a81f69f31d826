// Bookmark texts: the one-pointer text type, and the loaded file's bytes
// kept as the texts' arena. A loaded collection must read, edit, move,
// delete, save and free exactly as one whose texts each have a block of
// their own, and the arena must go with the last text in it.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <thread>
#include <vector>

#include "bookmark_store.h"
#include "record_text.h"
#include "store_test_helpers.h"
#include "text_rules.h"
#include "xml_document.h"

namespace {

const std::string kDecl = "<?xml version=\"1.0\" encoding=\"utf-8\"?>";

std::string Escaped(const std::string& raw) {
    std::string out;
    for (char c : raw) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&apos;"; break;
        default: out += c;
        }
    }
    return out;
}

struct Mark {
    std::string title, url, remark;
};

// A file as the program writes it: one category per entry of `categories`.
std::string WrittenFile(const std::vector<std::vector<Mark>>& categories) {
    std::string text = kDecl + "<root>\r\n";
    for (std::size_t i = 0; i < categories.size(); ++i) {
        text += "<G t=\"C" + std::to_string(i) + "\">\r\n";
        for (const Mark& m : categories[i])
            text += "<a t=\"" + Escaped(m.title) + "\" u=\"" + Escaped(m.url) + "\" r=\"" + Escaped(m.remark) +
                    "\"/>\r\n";
        text += "</G>\r\n";
    }
    return text + "</root>\r\n";
}

bool LoadText(CBookmarkStore& store, const std::string& text) {
    CXmlDocument document;
    if (!document.SetText(text)) return false;
    return store.LoadDocument(document);
}

std::string SavedText(const CBookmarkStore& store) {
    std::uint64_t change = 0;
    return std::string(store.BuildFileText(change).View());
}

// Texts that test every length form and every byte the file may hold:
// GBK characters whose trail byte is '\\' or '|', the five escaped
// characters, CR LF and tab, lengths around the one-byte limit, and values
// long enough that all three texts of a tag take the longest length form.
std::vector<Mark> AwkwardMarks() {
    const std::string gbkTrails = "\xB0\x5C\xB0\x7C\xD6\xD0";
    return {
        {"plain", "http://a", ""},
        {"Weather & traffic", "http://x/?a=1&b=2", "see \"map\" <here> it's"},
        {gbkTrails + " title", "http://gbk/" + gbkTrails, "line\r\nbreak\ttab"},
        {std::string(126, 't'), std::string(127, 'u'), std::string(128, 'r')},
        {std::string(200, 'T') + "&", std::string(300, 'U') + "&", std::string(70000, 'R') + "&"},
        {"&&&&&&&&", "<<<<>>>>", "\"\"''"},
        {"x", "", "only a remark"},
        {"", "http://no-title", ""},
    };
}

class TextArenaTest : public ::testing::Test {
protected:
    void SetUp() override { arenasBefore_ = textarena::LiveArenas(); }
    std::size_t NewArenas() const { return textarena::LiveArenas() - arenasBefore_; }

    std::size_t arenasBefore_ = 0;
};

TEST(RecordTextTest, ReadsAndCopiesLikeAString) {
    for (std::size_t size : {0u, 1u, 126u, 127u, 128u, 65536u, 300000u}) {
        std::string bytes(size, 'x');
        for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * 7 + 1);
        if (size > 2) bytes[size / 2] = '\0';  // a zero byte inside is kept
        RecordText text(bytes);
        EXPECT_EQ(text.size(), size);
        EXPECT_EQ(text.view(), bytes);
        EXPECT_EQ(text.c_str()[size], '\0');
        EXPECT_EQ(text.empty(), size == 0);
        EXPECT_FALSE(text.InArena());

        RecordText copy = text;
        EXPECT_EQ(copy, text);
        if (size) {
            EXPECT_NE(copy.data(), text.data());  // deep
        }
        copy += "!";
        EXPECT_EQ(text.view(), bytes);
        EXPECT_EQ(copy.view(), bytes + "!");

        const char* before = text.data();
        RecordText moved = std::move(text);
        EXPECT_TRUE(text.empty());
        EXPECT_EQ(moved.data(), size ? before : moved.data());
    }
    RecordText a("alpha"), b("beta");
    std::swap(a, b);
    EXPECT_EQ(a, "beta");
    EXPECT_EQ(b, std::string("alpha"));
    a = a.view().substr(1);  // from itself
    EXPECT_EQ(a, "eta");
    a = std::string();
    EXPECT_TRUE(a.empty());
    EXPECT_EQ(a.c_str(), std::string());
    EXPECT_EQ(a[0], '\0');
    EXPECT_EQ(std::string("<") + b + ">", "<alpha>");
    EXPECT_EQ(b.rfind("ph"), 2u);
}

TEST_F(TextArenaTest, LoadedTextsLiveInTheFileBytesAndSaveByteForByte) {
    const std::vector<Mark> marks = AwkwardMarks();
    const std::string file = WrittenFile({marks, {{"second", "http://second", ""}}});
    {
        CBookmarkStore store;
        ASSERT_TRUE(LoadText(store, file));
        EXPECT_EQ(NewArenas(), 1u);
        const ClassRecord* first = store.Root()->FirstChild();
        ASSERT_EQ(first->bookmarks.size(), marks.size());
        for (std::size_t i = 0; i < marks.size(); ++i) {
            const BookmarkRecord& b = *first->bookmarks[i];
            SCOPED_TRACE(i);
            EXPECT_EQ(b.title, marks[i].title);
            EXPECT_EQ(b.url, marks[i].url);
            EXPECT_EQ(b.remark, marks[i].remark);
            EXPECT_EQ(b.title.InArena(), !marks[i].title.empty());
            EXPECT_EQ(b.remark.c_str()[b.remark.size()], '\0');
        }
        EXPECT_EQ(SavedText(store), file);
    }
    EXPECT_EQ(NewArenas(), 0u);  // the collection went, and its arena with it
}

TEST_F(TextArenaTest, EditsMovesAndDeletesKeepTheArenaUntilItsLastText) {
    CBookmarkStore store;
    ASSERT_TRUE(LoadText(store, WrittenFile({AwkwardMarks(), {{"b1", "u1", "r1"}, {"b2", "u2", ""}}})));
    ClassRecord* first = store.Root()->FirstChild();
    ClassRecord* second = first->NextSibling();

    // Edits: a loaded text replaced, one swapped with another category's.
    BookmarkRecord* edited = first->bookmarks[0];
    edited->title = std::string(500, 'e');
    edited->url = edited->url.view().substr(7);  // from its own bytes: "a"
    EXPECT_FALSE(edited->title.InArena());
    std::swap(first->bookmarks[1]->remark, second->bookmarks[0]->remark);
    store.SetModified(true);

    // A loaded bookmark moved to the other category (the list's way: a new
    // record that takes the texts, the old one discarded).
    BookmarkRecord* source = first->bookmarks[2];
    auto* moved = new BookmarkRecord();
    moved->title = std::move(source->title);
    moved->url = std::move(source->url);
    moved->remark = std::move(source->remark);
    ASSERT_TRUE(store.DiscardBookmark(first, source));
    ASSERT_TRUE(store.AddBookmark(second, nullptr, moved));
    EXPECT_TRUE(moved->title.InArena());

    const std::string expected =
        WrittenFile({{{std::string(500, 'e'), "a", ""},
                      {"Weather & traffic", "http://x/?a=1&b=2", "r1"},
                      {std::string(126, 't'), std::string(127, 'u'), std::string(128, 'r')},
                      {std::string(200, 'T') + "&", std::string(300, 'U') + "&", std::string(70000, 'R') + "&"},
                      {"&&&&&&&&", "<<<<>>>>", "\"\"''"},
                      {"x", "", "only a remark"},
                      {"", "http://no-title", ""}},
                     {{"b1", "u1", "see \"map\" <here> it's"},
                      {"b2", "u2", ""},
                      {"\xB0\x5C\xB0\x7C\xD6\xD0 title", "http://gbk/\xB0\x5C\xB0\x7C\xD6\xD0", "line\r\nbreak\ttab"}}});
    EXPECT_EQ(SavedText(store), expected);

    // The category the texts came from goes; the moved texts still read.
    store.DeleteClass(first);
    EXPECT_EQ(NewArenas(), 1u);
    EXPECT_EQ(second->bookmarks.back()->url, "http://gbk/\xB0\x5C\xB0\x7C\xD6\xD0");
    // A text that leaves the collection keeps the arena alive by itself.
    RecordText kept = std::move(second->bookmarks.back()->remark);
    store.ReleaseAll();
    EXPECT_EQ(NewArenas(), 1u);
    EXPECT_EQ(kept, "line\r\nbreak\ttab");
    kept.clear();
    EXPECT_EQ(NewArenas(), 0u);
}

TEST_F(TextArenaTest, FreedAndLoadedAgainHoldsOneArenaAtATime) {
    const std::string file = WrittenFile({AwkwardMarks(), AwkwardMarks()});
    CBookmarkStore store;
    for (int round = 0; round < 20; ++round) {
        ASSERT_TRUE(LoadText(store, file));
        EXPECT_EQ(NewArenas(), 1u) << round;
        EXPECT_LE(textarena::LiveArenaBytes(), file.size() + 64);
        // Every round edits some texts, so that arena and heap texts mix.
        for (BookmarkRecord* b : store.Root()->FirstChild()->bookmarks) b->remark = "round " + std::to_string(round);
        EXPECT_EQ(store.TotalBookmarks(), 2 * AwkwardMarks().size());
        store.ReleaseAll();
        EXPECT_EQ(NewArenas(), 0u) << round;
    }
    // A second file appended to a loaded collection has an arena of its own.
    ASSERT_TRUE(LoadText(store, file));
    ASSERT_TRUE(LoadText(store, file));
    EXPECT_EQ(NewArenas(), 2u);
    store.ReleaseAll();
    EXPECT_EQ(NewArenas(), 0u);
}

TEST_F(TextArenaTest, TheDocumentIsLeftEmptyAndSmallOrFailedLoadsKeepNoArena) {
    CXmlDocument document;
    ASSERT_TRUE(document.SetText(WrittenFile({AwkwardMarks()})));
    CBookmarkStore store;
    ASSERT_TRUE(store.LoadDocument(document));
    EXPECT_TRUE(document.Text().empty());
    EXPECT_FALSE(document.IsWellFormed());

    // Too small a text for an arena: its texts are blocks of their own.
    CBookmarkStore small;
    ASSERT_TRUE(LoadText(small, "<root><G><a t=\"x&amp;\" u='u'/></G></root>"));
    EXPECT_EQ(small.Root()->FirstChild()->bookmarks[0]->title, "x&");
    EXPECT_FALSE(small.Root()->FirstChild()->bookmarks[0]->title.InArena());
    // Not loaded (not well-formed, other root): nothing placed, no arena.
    CBookmarkStore none;
    EXPECT_FALSE(LoadText(none, WrittenFile({AwkwardMarks()}) + "<extra/>"));
    EXPECT_FALSE(LoadText(none, "<other>" + std::string(100, ' ') + "<G t=\"x\"><a t=\"y\"/></G></other>"));
    EXPECT_EQ(none.TotalBookmarks(), 0u);
    store.ReleaseAll();
    EXPECT_EQ(NewArenas(), 0u);
}

// Tags in every shape the engine reads, placed among tags of the written
// shape: whatever the shape, the loaded texts are the engine's values (the
// title filtered), and nothing placed ever overwrites a byte still unread.
TEST_F(TextArenaTest, AnyTagShapeGivesTheEnginesValues) {
    const std::vector<std::string> values = {
        "", "v", "&amp;&lt;", "&#65;&#x42;", "&unknown; &", std::string(130, 'l'), std::string(130, '&') + "&amp;",
        "a/b:c*d?e|f", "\xB0\x5C trail", "quote&apos;s"};
    std::mt19937 random(20240501);
    auto pick = [&] { return values[random() % values.size()]; };
    for (int round = 0; round < 200; ++round) {
        std::string body;
        for (int i = 0; i < 12; ++i) {
            const std::string t = pick(), u = pick(), r = pick();
            switch (random() % 5) {
            case 0:  // as written
                body += "<a t=\"" + t + "\" u=\"" + u + "\" r=\"" + r + "\"/>\r\n";
                break;
            case 1:  // other order, other quotes
                body += "<a r='" + r + "' u=\"" + u + "\"  t='" + t + "'/>";
                break;
            case 2:  // with content, some attributes missing
                body += "<A t=\"" + t + "\"><b/>text</A>";
                break;
            case 3:  // an element passed over, holding a bookmark
                body += "<x><a t=\"" + t + "\" u=\"" + u + "\" r=\"\"/></x>";
                break;
            default:  // extra attributes and spaces
                body += "<a  x=\"1\" t=\"" + t + "\" u = \"" + u + "\" r=\"" + r + "\" />";
            }
        }
        const std::string file = kDecl + "<root><G t=\"c\">" + body + "</G></root>";

        // The engine's values, element by element.
        std::vector<Mark> expected;
        CXmlDocument reference;
        ASSERT_TRUE(reference.SetText(file));
        reference.FindElement();
        reference.EnterElement();
        reference.FindElement();
        reference.EnterElement();
        while (reference.FindElement()) {
            const std::string name = reference.ElementName();
            if (name != "a" && name != "A") continue;
            Mark m{reference.GetAttribute("t"), reference.GetAttribute("u"), reference.GetAttribute("r")};
            FilterInvalidChars(m.title, true);
            expected.push_back(m);
        }

        CBookmarkStore store;
        ASSERT_TRUE(LoadText(store, file));
        const std::vector<BookmarkRecord*>& loaded = store.Root()->FirstChild()->bookmarks;
        ASSERT_EQ(loaded.size(), expected.size()) << file;
        for (std::size_t i = 0; i < loaded.size(); ++i) {
            EXPECT_EQ(loaded[i]->title, expected[i].title) << file;
            EXPECT_EQ(loaded[i]->url, expected[i].url) << file;
            EXPECT_EQ(loaded[i]->remark, expected[i].remark) << file;
        }
    }
    EXPECT_EQ(NewArenas(), 0u);
}

// Texts of a loaded collection freed on another thread while this one loads
// and frees collections of its own: every arena still goes exactly once.
TEST_F(TextArenaTest, TextsFreedOnAnotherThread) {
    const std::string file = WrittenFile({AwkwardMarks(), AwkwardMarks()});
    std::vector<BookmarkRecord*> handed;
    {
        CBookmarkStore store;
        ASSERT_TRUE(LoadText(store, file));
        for (BookmarkRecord* b : store.Root()->FirstChild()->bookmarks) {
            auto* r = new BookmarkRecord();
            r->title = std::move(b->title);
            r->url = std::move(b->url);
            handed.push_back(r);
        }
    }
    EXPECT_EQ(NewArenas(), 1u);
    std::thread other([&] {
        for (BookmarkRecord* r : handed) delete r;
    });
    for (int round = 0; round < 20; ++round) {
        CBookmarkStore store;
        ASSERT_TRUE(LoadText(store, file));
    }
    other.join();
    EXPECT_EQ(NewArenas(), 0u);
}

}  // namespace
