// The browsers' bookmark file: files laid out as each browser writes them,
// the round trip through the writer, and files no browser would write.
#include "browser_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bookmark_store.h"
#include "store_test_helpers.h"

namespace {

using browserfile::Item;

// The items as lines: "+Folder", "-", "Title|url|description".
std::vector<std::string> Lines(const browserfile::Contents& contents) {
    std::vector<std::string> lines;
    for (const Item& item : contents.items) {
        if (item.kind == Item::Kind::kFolder) lines.push_back("+" + item.title);
        if (item.kind == Item::Kind::kEnd) lines.push_back("-");
        if (item.kind == Item::Kind::kLink) lines.push_back(item.title + "|" + item.url + "|" + item.description);
    }
    return lines;
}

using Lines_ = std::vector<std::string>;

TEST(BrowserFileTest, ReadsTheLayoutOfEachBrowser) {
    // Chromium-based browsers: every link inside the bar's or the other
    // folder, attributes before the text, <p> after each list.
    const std::string chromium =
        "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<!-- This is an automatically generated file. -->\n"
        "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n<TITLE>Bookmarks</TITLE>\n"
        "<H1>Bookmarks</H1>\n<DL><p>\n"
        "    <DT><H3 ADD_DATE=\"1700000000\" LAST_MODIFIED=\"1700000001\" PERSONAL_TOOLBAR_FOLDER=\"true\">"
        "Bookmarks bar</H3>\n    <DL><p>\n"
        "        <DT><A HREF=\"https://news.example/?a=1&amp;b=2\" ADD_DATE=\"1700000000\" ICON=\"data:image/png;"
        "base64,iVBOR=\">News &amp; weather</A>\n"
        "        <DT><H3 ADD_DATE=\"1\">\xE5\xB7\xA5\xE5\x85\xB7</H3>\n        <DL><p>\n"
        "            <DT><A HREF=\"https://tools.example/\">\xE5\xB7\xA5\xE5\x85\xB7\xE7\xAE\xB1</A>\n"
        "        </DL><p>\n    </DL><p>\n</DL><p>\n";
    EXPECT_TRUE(browserfile::LooksLikeBrowserFile(chromium));
    const browserfile::Contents c = browserfile::Read(chromium);
    EXPECT_EQ(c.title, "Bookmarks");
    EXPECT_EQ(c.links, 2u);
    EXPECT_EQ(c.unheld, 0u);
    EXPECT_EQ(Lines(c), (Lines_{"+Bookmarks bar", "News & weather|https://news.example/?a=1&b=2|", "+\xB9\xA4\xBE\xDF",
                                "\xB9\xA4\xBE\xDF\xCF\xE4|https://tools.example/|", "-", "-"}));

    // Firefox: links at the top level, <HR>, descriptions with <BR>,
    // keywords and a menu folder with a description of its own.
    const std::string firefox =
        "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; "
        "charset=UTF-8\">\n<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'self'\">\n"
        "<TITLE>Bookmarks</TITLE>\n<H1>Bookmarks Menu</H1>\n\n<DL><p>\n"
        "    <DT><A HREF=\"https://start.example/\" ADD_DATE=\"1\" LAST_MODIFIED=\"2\" SHORTCUTURL=\"s\">Start</A>\n"
        "    <DD>first line<BR>second line\n    <HR>"
        "    <DT><H3 ADD_DATE=\"1\" UNFILED_BOOKMARKS_FOLDER=\"true\">Other Bookmarks</H3>\n"
        "    <DD>a folder's description is not kept\n    <DL><p>\n"
        "        <DT><A HREF=\"https://x.example/\" TAGS=\"a,b\">It&#39;s &quot;x&quot; &#x263A;</A>\n"
        "    </DL><p>\n</DL>\n";
    const browserfile::Contents f = browserfile::Read(firefox);
    EXPECT_EQ(f.title, "Bookmarks Menu");
    EXPECT_EQ(Lines(f), (Lines_{"Start|https://start.example/|first line\r\nsecond line", "+Other Bookmarks",
                                "It's ＂x＂ ？|https://x.example/|", "-"}));
    EXPECT_EQ(f.unheld, 1u) << "the smiling face is not in the code page";

    // Internet Explorer and old Edge: lower-case tags, FOLDED, no <p>,
    // unquoted attributes, CR LF.
    const std::string explorer =
        "<!DOCTYPE NETSCAPE-Bookmark-file-1>\r\n<TITLE>Bookmarks</TITLE>\r\n<dl>\r\n"
        "<dt><h3 FOLDED ADD_DATE=1>Links</h3>\r\n<dl>\r\n<dt><a href=http://a.example/ LAST_VISIT=0>A</a>\r\n"
        "</dl>\r\n<dt><a add_date=\"1\" HREF='http://b.example/'>B</a>\r\n</dl>\r\n";
    EXPECT_EQ(Lines(browserfile::Read(explorer)),
              (Lines_{"+Links", "A|http://a.example/|", "-", "B|http://b.example/|"}));
}

TEST(BrowserFileTest, SurvivesFilesNoBrowserWrites) {
    // Unclosed <DT>, <p> and lists; a folder with no list; an unclosed
    // quote; a comment that never ends.
    const std::string broken =
        "<DL><DT><H3>Empty</H3><DT><A HREF=\"http://a/\">A<DT><H3>Open<DL><DT><A HREF=\"http://b/>B</A>\n"
        "<DT><A HREF=http://c/>C</a>\n<!-- never closed <DT><A HREF=\"http://d/\">D</A>";
    EXPECT_EQ(Lines(browserfile::Read(broken)),
              (Lines_{"+Empty", "-", "A|http://a/|", "+Open", "B|http://b/|", "C|http://c/|", "-"}));

    // Folders nested ten thousand deep, closed or not.
    std::string deep;
    for (int i = 0; i < 10000; ++i) deep += "<DT><H3>f</H3><DL><p>";
    deep += "<DT><A HREF=\"u\">bottom</A>";
    const browserfile::Contents d = browserfile::Read(deep);
    ASSERT_EQ(d.items.size(), 20001u);
    EXPECT_EQ(d.items[10000].title, "bottom");
    EXPECT_EQ(d.items.back().kind, Item::Kind::kEnd);

    // Garbage and odd bytes: nothing, or whatever links stand in it.
    std::string garbage;
    for (int i = 0; i < 100000; ++i) garbage += static_cast<char>((i * 7919) % 256);
    EXPECT_FALSE(browserfile::LooksLikeBrowserFile(garbage));
    browserfile::Read(garbage);
    for (const char* odd : {"<", "<A", "<A HREF=", "<A HREF=\"", "&#99999999999;", "<DD>", "</DL></DL>", "<H3>",
                            "<DL", "<A HREF=\"&#0;\">&#xD800;&#;&bogus;</A>"}) {
        browserfile::Read(odd);
    }
    // Entities for no character stand for U+FFFD, counted; unknown ones for themselves.
    const browserfile::Contents entities = browserfile::Read("<A HREF=\"&#0;\">&#xD800;&#;&bogus;</A>");
    EXPECT_EQ(Lines(entities), (Lines_{"？&#;&bogus;|%EF%BF%BD|"}));
    EXPECT_EQ(entities.unheld, 1u) << "an address is never counted: it keeps its meaning";

    // Bytes that are not UTF-8 are taken as the ANSI code page.
    EXPECT_EQ(Lines(browserfile::Read("<DL><DT><A HREF=\"u\">\xB9\xA4\xBE\xDF</A></DL>")),
              (Lines_{"\xB9\xA4\xBE\xDF|u|"}));
}

// One link or folder at a time, as the browsers write them: what the
// program stores, and whether a text counted as losing characters.
TEST(BrowserFileTest, TextsAreReadAsTheirWritersMeantThem) {
    struct Case {
        const char* in;      // inside <DL><p> of a UTF-8 file
        std::string stored;  // Lines() of the result, one line
        std::size_t unheld;
    };
    const Case cases[] = {
        {"<DT><A HREF=\"u\">  News  &amp;\t\n  weather </A>", "News & weather|u|", 0},
        {"<DT><A HREF=\"u\">&#160;News&nbsp;&#xA0;\xC2\xA0</A>", "News|u|", 0},
        // Numeric entities become the code page's characters, converted once.
        {"<DT><A HREF=\"u\">&#x5DE5;&#20855;</A>", "\xB9\xA4\xBE\xDF|u|", 0},
        {"<DT><A HREF=\"u\">a&#x110000;b&#99999999999;</A>", "a？b？|u|", 1},
        {"<DT><A HREF=\"u\">\xEB\x8C\x80\xED\x95\x9C</A>", "？？|u|", 1},
        {"<DT><A HREF=\"u\">GitHub: Where | Docs?</A>", "GitHub： Where ｜ Docs？|u|", 0},
        // A link with no text is named by its address.
        {"<DT><A HREF=\"http://a.example/x\"> </A>", "http：／／a.example／x|http://a.example/x|", 0},
        // Addresses: outside the code page percent-encoded, entities decoded,
        // nothing folded.
        {"<DT><A HREF=\"https://ko.wikipedia.org/wiki/\xEB\x8C\x80\">k</A>",
         "k|https://ko.wikipedia.org/wiki/%EB%8C%80|", 0},
        {"<DT><A HREF=\" javascript:f(&quot;a&amp;b&lt;c&gt;&quot;)  ;x \">j</A>",
         "j|javascript:f(\"a&b<c>\")  ;x|", 0},
        {"<DT><A HREF=\"https://&#xD55C;&#xAD6D;.kr/\">i</A>", "i|https://xn--3e0b707e.kr/|", 0},
        // Descriptions keep their lines, not the file's indentation around them.
        {"<DT><A HREF=\"u\">t</A>\n    <DD>  line one \n line  two\r\n\r\nfour<BR>five  \n    <DT>",
         "t|u|line one\r\nline two\r\n\r\nfour\r\nfive", 0},
        {"<DT><A HREF=\"u\">t</A>\n<DD>\r\n\n  only\n", "t|u|only", 0},
        // A folder's description is not the link's before it.
        {"<DT><A HREF=\"u\">t</A><DT><H3>f</H3><DD>folder note<DL><p></DL>", "t|u|", 0},
        {"<DT><H3>  Tools   &amp;\n more </H3><DL><p></DL>", "+Tools & more", 0},
        {"<DT><H3>a/b</H3><DL><p></DL>", "+a／b", 0},
    };
    for (const Case& c : cases) {
        const browserfile::Contents read = browserfile::Read(std::string("<DL><p>") + c.in + "</DL>");
        ASSERT_FALSE(read.items.empty()) << c.in;
        EXPECT_EQ(Lines(read).front(), c.stored) << c.in;
        EXPECT_EQ(read.unheld, c.unheld) << c.in;
    }
}

TEST(BrowserFileTest, FilesOfTheCodePageAndTheBrowsersOwnEntries) {
    // Not UTF-8: the bytes are GBK, entities are characters all the same.
    const browserfile::Contents gbk =
        browserfile::Read("<DL><DT><A HREF=\"http://\xB9\xA4/&#xAC00;\">\xB9\xA4&#x5177;&#xAC00;</A></DL>");
    EXPECT_EQ(Lines(gbk), (Lines_{"\xB9\xA4\xBE\xDF？|http://\xB9\xA4/%EA%B0%80|"}));
    EXPECT_EQ(gbk.unheld, 1u);
    // Firefox's queries are no bookmarks: skipped and counted, and the
    // description after one describes nothing.
    const browserfile::Contents places = browserfile::Read(
        "<DL><DT><A HREF=\"place:sort=8&amp;maxResults=10\">Recent</A><DD>gone"
        "<DT><A HREF=\"PLACE:type=6\">Tags</A><DT><A HREF=\"u\">kept</A></DL>");
    EXPECT_EQ(Lines(places), (Lines_{"kept|u|"}));
    EXPECT_EQ(places.skipped, 2u);
    EXPECT_EQ(places.links, 1u);
    // A description after the end of a list describes no link of it.
    EXPECT_EQ(Lines(browserfile::Read("<DL><p><DT><H3>f</H3><DL><p><DT><A HREF=\"u\">t</A></DL><DD>stray</DL>")),
              (Lines_{"+f", "t|u|", "-"}));
    // Without the document type, a list of links is enough to be one.
    EXPECT_TRUE(browserfile::LooksLikeBrowserFile("<HTML>\n<DL><p>\n<DT><A HREF=\"u\">t</A>\n</DL>"));
    EXPECT_FALSE(browserfile::LooksLikeBrowserFile("<HTML>\n<A HREF=\"u\">t</A>\n<DL></DL>"));
}

// However a file is made, the reader looks at each byte a few times at most:
// a file made of any one special character is read in one pass.
TEST(BrowserFileTest, EveryFileIsReadInOnePass) {
    const std::size_t size = 256 << 10;
    const char* patterns[] = {"&", "&#", "<", "<a x=\"", "<a x='>", "\"", "<DD>&", "<!", "<!--", "\n", " ", "<H3>&#1",
                              "<A HREF=\"&"};
    for (const char* pattern : patterns) {
        std::string file;
        file.reserve(size + 16);
        while (file.size() < size) file += pattern;
        std::size_t examined = 0;
        browserfile::Read(file, &examined);
        EXPECT_LE(examined, 8 * file.size()) << pattern;
    }
}

// Export, then import: the same tree, the same texts.
TEST(BrowserFileTest, WhatIsWrittenReadsBackAsTheSameTree) {
    CBookmarkStore store;
    ClassRecord* news = store.AddTopClass("News & views");
    // A bookmarklet holds every character the file must escape; a title may
    // hold a line break (the file has none in a title: it becomes a space).
    const std::string bookmarklet = "javascript:(function(){alert(\"<a & b>\");  x='1'})()";
    store.AddBookmark(news, nullptr,
                      new BookmarkRecord("\xB9\xA4\xBE\xDF one\r\ntwo", bookmarklet, "line 1\r\nline 2"));
    ClassRecord* sub = store_test::AddChild(store, news, "Sub");
    store.AddBookmark(sub, nullptr, new BookmarkRecord("deep", "http://deep/"));
    store_test::AddChild(store, sub, "Empty");
    ClassRecord* tools = store.AddTopClass("Tools");
    const std::string file = browserfile::Write({news, tools}, "\xCA\xE9\xC7\xA9");
    EXPECT_NE(file.find("charset=UTF-8"), std::string::npos);
    EXPECT_NE(file.find("<H1>\xE4\xB9\xA6\xE7\xAD\xBE</H1>"), std::string::npos) << "UTF-8 in the file";
    const browserfile::Contents back = browserfile::Read(file);
    EXPECT_EQ(back.title, "\xCA\xE9\xC7\xA9");
    EXPECT_EQ(Lines(back), (Lines_{"+News & views", "\xB9\xA4\xBE\xDF one two|" + bookmarklet + "|line 1\r\nline 2",
                                   "+Sub", "deep|http://deep/|", "+Empty", "-", "-", "-", "+Tools", "-"}));
}

}  // namespace
