// Importing and exporting the browsers' bookmark file through the job:
// merging, the replace question, links outside folders, the round trip.
#include "transfer_test_support.h"

namespace {

using transfer::CTransferJob;
using transfer_test::TransferTest;
using Names = std::vector<std::string>;

class BrowserTransferTest : public TransferTest {
protected:
    std::unique_ptr<CTransferJob> Import(const std::string& html, ClassRecord* target = nullptr) {
        fs.AddFile("C:\\in\\bookmarks.html", html);
        return Run(CTransferJob::kImportBrowserFile, "C:\\in\\bookmarks.html", target);
    }
};

const std::string kFile =
    "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<TITLE>Bookmarks</TITLE>\n<H1>Bookmarks Menu</H1>\n<DL><p>\n"
    "<DT><A HREF=\"http://loose/\">Loose</A>\n"
    "<DT><H3>News</H3>\n<DL><p>\n<DT><A HREF=\"http://daily/\">Daily</A>\n<DD>every day\n"
    "<DT><H3>Sub</H3>\n<DL><p>\n<DT><A HREF=\"http://deep/\">Deep\xE2\x98\xBA</A>\n</DL><p>\n"
    "<DT><A HREF=\"\">No URL</A>\n</DL><p>\n</DL><p>\n";

TEST_F(BrowserTransferTest, FoldersMergeLinksOutsideFoldersGetACategoryAndLossIsCounted) {
    ClassRecord* news = store_test::AddChild(store, store.Root(), "News");
    store_test::AddBookmarks(store, news, {"Daily"});
    host.answers = {1006};  // replace
    auto job = Import(kFile);
    EXPECT_EQ(Tree(), (Names{"News(0):Daily", "Sub(1):Deep？", "Bookmarks Menu(0):Loose"}))
        << "the full-width question mark stands for what the code page lacks";
    EXPECT_EQ(news->bookmarks[0]->url, "http://daily/");
    EXPECT_EQ(QuestionNames(), Names{"Daily"});
    const transfer::TransferCounts counts = job->Counts();
    EXPECT_EQ(counts.added, 2u);
    EXPECT_EQ(counts.replaced, 1u);
    EXPECT_EQ(counts.skipped, 1u) << "the link without a URL";
    EXPECT_EQ(counts.unheld, 1u);
    EXPECT_EQ(job->Percent(), 100);

    // Into a chosen category, the loose link goes into that category.
    ClassRecord* mine = store_test::AddChild(store, store.Root(), "Mine");
    Import(kFile, mine);
    EXPECT_EQ(mine->bookmarks.size(), 1u);
    EXPECT_EQ(store_test::ChildNames(mine), Names{"News"});
}

TEST_F(BrowserTransferTest, ExportedCategoriesImportBackAsTheSameTree) {
    ClassRecord* news = store_test::AddChild(store, store.Root(), "\xD0\xC2\xCE\xC5 & more");
    store.AddBookmark(news, nullptr, new BookmarkRecord("Daily & co's", "http://daily/?a=1&b=2", "line\r\nline"));
    store_test::AddBookmarks(store, store_test::AddChild(store, news, "Sub"), {"deep"});
    store_test::AddChild(store, store.Root(), "Empty");
    fs.AddFolder("C:\\out");
    auto exported = Run(CTransferJob::kExportBrowserFile, "C:\\out\\b.html", nullptr);
    EXPECT_EQ(exported->Counts().added, 2u);
    EXPECT_FALSE(exported->Counts().pathFailed);
    const Names before = Tree();

    CBookmarkStore other;
    transfer_test::CMemoryFileSystem otherFs;
    otherFs.AddFile("C:\\b.html", fs.Content("C:\\out\\b.html"));
    CTransferJob import(other, otherFs, host);
    ASSERT_TRUE(import.StartImportBrowserFile("C:\\b.html", nullptr));
    import.Join();
    EXPECT_EQ(store_test::Describe(other), before);
    const ClassRecord* back = other.Root()->FirstChild();
    EXPECT_EQ(back->bookmarks[0]->url, "http://daily/?a=1&b=2");
    EXPECT_EQ(back->bookmarks[0]->remark, "line\r\nline");

    // A file that cannot be written, one that is no browser file.
    fs.RefuseWritesUnder("C:\\out");
    EXPECT_TRUE(Run(CTransferJob::kExportBrowserFile, "C:\\out\\c.html", nullptr)->Counts().pathFailed);
    EXPECT_TRUE(Import("just some text")->Counts().pathFailed);
}

// Exporting one category or all of them: what the job counts, and a file
// that cannot be written fails every bookmark.
TEST_F(BrowserTransferTest, ExportCountsItsBookmarksAndAFailedWriteFailsThemAll) {
    ClassRecord* news = store_test::AddChild(store, store.Root(), "News");
    store_test::AddBookmarks(store, news, {"Daily", "Weekly"});
    store_test::AddBookmarks(store, store_test::AddChild(store, news, "World"), {"Europe"});
    store_test::AddBookmarks(store, store_test::AddChild(store, store.Root(), "Tools"), {"Grep"});
    fs.AddFolder("C:\\out");
    struct Case {
        const char* path;
        ClassRecord* target;
        std::size_t total;
        bool written;
    };
    const Case cases[] = {{"C:\\out\\all.html", nullptr, 4, true},
                          {"C:\\out\\news.html", news, 3, true},
                          {"C:\\nowhere\\news.html", news, 3, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        auto job = Run(CTransferJob::kExportBrowserFile, c.path, c.target);
        EXPECT_EQ(job->Total(), c.total);
        EXPECT_EQ(job->Counts().added, c.written ? c.total : 0u);
        EXPECT_EQ(job->Counts().failed, c.written ? 0u : c.total);
        EXPECT_EQ(job->Counts().pathFailed, !c.written);
        EXPECT_EQ(job->Percent(), c.written ? 100 : 0);
        EXPECT_EQ(fs.Has(c.path), c.written);
    }
    const std::string one = fs.Content("C:\\out\\news.html");
    EXPECT_NE(one.find(">News<"), std::string::npos);
    EXPECT_NE(one.find(">Europe<"), std::string::npos);
    EXPECT_EQ(one.find(">Tools<"), std::string::npos);
    EXPECT_NE(fs.Content("C:\\out\\all.html").find(">Tools<"), std::string::npos);
}

// Imports whose right outcome is known: an empty list, a link without an
// address before a good one, a folder name with a character a name may not
// hold, and the list on display told once its category changed.
TEST_F(BrowserTransferTest, ImportsOfSmallFilesAsATable) {
    const std::string head = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<TITLE>Bookmarks</TITLE>\n<DL><p>\n";
    auto empty = Import(head + "</DL><p>\n");
    EXPECT_FALSE(empty->Counts().pathFailed) << "a list with nothing in it is still a browser file";
    EXPECT_EQ(empty->Total(), 0u);

    ClassRecord* news = store_test::AddChild(store, store.Root(), "News");
    host.selected = news;
    auto job = Import(head + "<DT><H3>News</H3>\n<DL><p>\n<DT><A HREF=\"\">none</A>\n"
                             "<DT><A HREF=\"http://after/\">After</A>\n</DL><p>\n"
                             "<DT><H3>a/b</H3>\n<DL><p>\n<DT><A HREF=\"http://in/\">In</A>\n</DL><p>\n</DL><p>\n");
    EXPECT_EQ(job->Counts().skipped, 1u);
    EXPECT_EQ(job->Counts().added, 2u);
    ASSERT_EQ(news->bookmarks.size(), 1u);
    EXPECT_EQ(news->bookmarks[0]->url, "http://after/");
    EXPECT_EQ(host.filled, std::vector<ClassRecord*>{news});
    const ClassRecord* slash = news->NextSibling();
    ASSERT_NE(slash, nullptr);
    EXPECT_FALSE(transfer_test::HoldsInvalidChars(slash->name)) << slash->name;
    EXPECT_EQ(slash->bookmarks.size(), 1u);

    host.filled.clear();
    Import(head + "<DT><H3>News</H3>\n<DL><p>\n<DT><A HREF=\"http://after/\">After</A>\n</DL><p>\n</DL><p>\n");
    EXPECT_TRUE(host.filled.empty()) << "nothing changed in the list on display";

    // Links outside any folder, imported into the category on display.
    Import(head + "<DT><A HREF=\"http://loose/\">Loose</A>\n</DL><p>\n", news);
    EXPECT_EQ(host.filled, std::vector<ClassRecord*>{news});
    EXPECT_EQ(news->bookmarks.size(), 2u);
}

}  // namespace
