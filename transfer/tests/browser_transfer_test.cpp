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

}  // namespace
