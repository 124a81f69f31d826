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
                                "It's \"x\" ?|https://x.example/|", "-"}));
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
    EXPECT_EQ(Lines(entities), (Lines_{"?&#;&bogus;|?|"}));
    EXPECT_EQ(entities.unheld, 2u);

    // Bytes that are not UTF-8 are taken as the ANSI code page.
    EXPECT_EQ(Lines(browserfile::Read("<DL><DT><A HREF=\"u\">\xB9\xA4\xBE\xDF</A></DL>")),
              (Lines_{"\xB9\xA4\xBE\xDF|u|"}));
}

// Export, then import: the same tree, the same texts.
TEST(BrowserFileTest, WhatIsWrittenReadsBackAsTheSameTree) {
    CBookmarkStore store;
    ClassRecord* news = store.AddTopClass("News & <views>");
    store.AddBookmark(news, nullptr, new BookmarkRecord("\xB9\xA4\xBE\xDF \"one\"", "http://a/?x=1&y=2", "line 1\r\nline 2"));
    ClassRecord* sub = store_test::AddChild(store, news, "Sub");
    store.AddBookmark(sub, nullptr, new BookmarkRecord("deep", "http://deep/"));
    store_test::AddChild(store, sub, "Empty");
    ClassRecord* tools = store.AddTopClass("Tools");
    const std::string file = browserfile::Write({news, tools}, "\xCA\xE9\xC7\xA9");
    EXPECT_NE(file.find("charset=UTF-8"), std::string::npos);
    EXPECT_NE(file.find("<H1>\xE4\xB9\xA6\xE7\xAD\xBE</H1>"), std::string::npos) << "UTF-8 in the file";
    const browserfile::Contents back = browserfile::Read(file);
    EXPECT_EQ(back.title, "\xCA\xE9\xC7\xA9");
    EXPECT_EQ(Lines(back), (Lines_{"+News & <views>", "\xB9\xA4\xBE\xDF \"one\"|http://a/?x=1&y=2|line 1\r\nline 2",
                                   "+Sub", "deep|http://deep/|", "+Empty", "-", "-", "-", "+Tools", "-"}));
}

}  // namespace
