// Importing a folder of shortcuts: where things go, the replace question and
// its remembered answers, and folders that would trap or swamp a walk.
#include "transfer_test_support.h"

namespace {

using transfer::CTransferJob;
using transfer_test::HoldsInvalidChars;
using transfer_test::TransferTest;

class ImportFolderTest : public TransferTest {
protected:
    void SetUp() override {
        TransferTest::SetUp();
        fs.AddShortcut("C:\\Fav\\Search.url", "http://search");
        fs.AddFolder("C:\\Fav\\News");
        fs.AddShortcut("C:\\Fav\\News\\Daily.url", "http://daily");
        fs.AddFile("C:\\Fav\\readme.txt", "not a shortcut");
        fs.AddShortcut("C:\\Fav\\Mail.url", "http://mail");
        fs.AddShortcut("C:\\Fav\\News\\World\\Europe.url", "http://europe");
    }
};

TEST_F(ImportFolderTest, TopLevelImportFillsOneFavoritesCategoryShortcutsFirst) {
    auto job = ImportFolder("C:\\Fav");
    EXPECT_EQ(Tree(), (std::vector<std::string>{"IE收藏夹(0):Search,Mail", "News(1):Daily", "World(2):Europe"}));
    EXPECT_EQ(job->Total(), 5u) << "every file counts, the text file too";
    EXPECT_EQ(job->Done(), 5u);
    EXPECT_EQ(job->Percent(), 100);
    EXPECT_EQ(job->Counts().added, 4u);
    EXPECT_TRUE(host.questions.empty());
    EXPECT_GT(observer.events, 0);
}

TEST_F(ImportFolderTest, ImportIntoACategoryAppendsAfterItsBookmarks) {
    ClassRecord* mine = store_test::AddChild(store, store.Root(), "Mine");
    store_test::AddBookmarks(store, mine, {"Old"});
    host.selected = mine;
    ImportFolder("C:\\Fav\\", mine);
    EXPECT_EQ(Tree(), (std::vector<std::string>{"Mine(0):Old,Search,Mail", "News(1):Daily", "World(2):Europe"}));
    EXPECT_EQ(host.filled, std::vector<ClassRecord*>{mine}) << "the list on display is refreshed once filled";
}

TEST_F(ImportFolderTest, SecondImportMergesFoldersAndAsksForEveryTitleEvenWithTheSameUrl) {
    ImportFolder("C:\\Fav");
    const auto before = Tree();
    store.SetModified(false);
    auto job = ImportFolder("C:\\Fav");
    EXPECT_EQ(Tree(), before) << "nothing doubled";
    EXPECT_EQ(QuestionNames(), (std::vector<std::string>{"C:\\Fav\\Search.url", "C:\\Fav\\Mail.url",
                                                         "C:\\Fav\\News\\Daily.url",
                                                         "C:\\Fav\\News\\World\\Europe.url"}));
    EXPECT_EQ(host.questions[0].existingUrl, "http://search");
    EXPECT_EQ(host.questions[0].newUrl, "http://search");
    EXPECT_EQ(job->Counts().kept, 4u);
}

// Each answer: what happens to this conflict and whether later ones are asked.
TEST_F(ImportFolderTest, EveryAnswerReplacesOrKeepsAndIsRememberedAsItShould) {
    struct Case {
        const char* name;
        std::vector<int> answers;
        std::size_t asked;
        std::vector<std::string> urls;  // Search, Mail, Daily, Europe afterwards
    } cases[] = {
        {"yes asks again", {1006, 1007, 1006, 1007}, 4, {"new-s", "mail", "new-d", "europe"}},
        {"all replaces the rest", {1007, 1001}, 2, {"search", "new-m", "new-d", "new-e"}},
        {"no asks again", {1007, 1007, 1007, 1007}, 4, {"search", "mail", "daily", "europe"}},
        {"none keeps the rest", {1006, 1004}, 2, {"new-s", "mail", "daily", "europe"}},
        {"cancel stops", {1006, 2}, 2, {"new-s", "mail", "daily", "europe"}},
        {"enter keeps and asks again", {1, 1006, 1, 1}, 4, {"search", "new-m", "daily", "europe"}},
        {"an unknown answer keeps", {-1, 12345, 1001}, 3, {"search", "mail", "new-d", "new-e"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        store.ReleaseAll();
        ImportFolder("C:\\Fav");
        transfer_test::CMemoryFileSystem changed;
        changed.AddShortcut("C:\\Fav\\Search.url", "new-s");
        changed.AddShortcut("C:\\Fav\\Mail.url", "new-m");
        changed.AddShortcut("C:\\Fav\\News\\Daily.url", "new-d");
        changed.AddShortcut("C:\\Fav\\News\\World\\Europe.url", "new-e");
        host.questions.clear();
        host.answers.assign(c.answers.begin(), c.answers.end());
        host.rest = 1007;
        store.SetModified(false);
        {
            transfer::CTransferJob job(store, changed, host);
            ASSERT_TRUE(job.StartImportFolder("C:\\Fav", nullptr));
            job.Join();
        }
        EXPECT_EQ(host.questions.size(), c.asked);
        ClassRecord* fav = Top(CTransferJob::kFavoritesCategory);
        ClassRecord* news = fav->FirstChild();
        const std::vector<std::string> urls = {fav->bookmarks[0]->url, fav->bookmarks[1]->url,
                                               news->bookmarks[0]->url, news->FirstChild()->bookmarks[0]->url};
        std::vector<std::string> expected;
        for (const std::string& u : c.urls) expected.push_back(u.rfind("new-", 0) == 0 ? u : "http://" + u);
        EXPECT_EQ(urls, expected);
        const bool replacedAny = std::any_of(c.urls.begin(), c.urls.end(), [](auto& u) { return u.rfind("new-", 0) == 0; });
        EXPECT_EQ(store.IsModified(), replacedAny) << "a replace-only import must still be saved";
    }
}

TEST_F(ImportFolderTest, CancelStopsBeforeAnyLaterFile) {
    ImportFolder("C:\\Fav");
    fs.AddShortcut("C:\\Fav\\Later.url", "http://later");
    fs.AddShortcut("C:\\Fav\\News\\Also.url", "http://also");
    host.answers = {2};
    ImportFolder("C:\\Fav");
    EXPECT_EQ(host.questions.size(), 1u);
    EXPECT_EQ(Tree(), (std::vector<std::string>{"IE收藏夹(0):Search,Mail", "News(1):Daily", "World(2):Europe"}));
}

TEST_F(ImportFolderTest, LoopsLinksAndHugeFilesEndTheWalk) {
    fs.AddFolderAlias("C:\\Fav\\News\\Back", "C:\\Fav");  // a loop the system does not report
    fs.AddLink("C:\\Fav\\Linked", "C:\\Fav\\News");
    fs.AddFile("C:\\Fav\\Huge.url", transfer_test::CMemoryFileSystem::ShortcutText("http://huge") +
                                         std::string(transfer::kMaxShortcutSize, ' '));
    const std::size_t readsBefore = fs.ShortcutReads();
    auto job = ImportFolder("C:\\Fav");
    EXPECT_EQ(Tree(), (std::vector<std::string>{"IE收藏夹(0):Search,Mail", "News(1):Daily", "World(2):Europe"}));
    EXPECT_EQ(job->Total(), 6u) << "the huge file is counted";
    EXPECT_EQ(fs.ShortcutReads() - readsBefore, 5u) << "...but never read (the text file is)";
    EXPECT_EQ(job->Counts().skipped, 4u) << "text file, huge file, link, loop";
}

TEST_F(ImportFolderTest, DeepFoldersAreWalkedWithoutRecursion) {
    std::string path = "C:\\Deep";
    for (int i = 0; i < 1000; ++i) path += "\\d";
    fs.AddShortcut(path + "\\end.url", "http://end");
    ImportFolder("C:\\Deep");
    const ClassRecord* node = Top(CTransferJob::kFavoritesCategory);
    int depth = 0;
    while (node->FirstChild()) node = node->FirstChild(), ++depth;
    EXPECT_EQ(depth, 1000);
    ASSERT_EQ(node->bookmarks.size(), 1u);
    EXPECT_EQ(node->bookmarks[0]->url, "http://end");
}

TEST_F(ImportFolderTest, MissingOrEmptyPathsImportNothing) {
    auto missing = ImportFolder("C:\\Nowhere");
    EXPECT_EQ(missing->Total(), 0u);
    EXPECT_TRUE(missing->Counts().pathFailed);
    auto empty = ImportFolder("");
    EXPECT_EQ(empty->Total(), 0u);
    EXPECT_TRUE(empty->Counts().pathFailed);
    EXPECT_EQ(empty->Path(), "") << "never the drive's root";
    EXPECT_TRUE(Tree().empty()) << "not even the favourites category";
}

TEST_F(ImportFolderTest, StopIsSeenBeforeTheNextFile) {
    transfer::CTransferJob job(store, fs, host);
    fs.onRead = [&](const std::string&) { job.Stop(); };
    ASSERT_TRUE(job.StartImportFolder("C:\\Fav", nullptr));
    job.Join();
    EXPECT_EQ(fs.ShortcutReads(), 1u);
    EXPECT_EQ(job.Done(), 1u);
}

// A folder without a single file imports nothing and makes no category, and
// that is no failure: the wizard says 0 added, not that it could not read.
TEST_F(ImportFolderTest, AFolderWithoutFilesMakesNoCategoryAndIsNoFailure) {
    fs.AddFolder("C:\\Empty");
    fs.AddFolder("C:\\Hollow\\Sub\\Deeper");
    ClassRecord* mine = store_test::AddChild(store, store.Root(), "Mine");
    store.SetModified(false);
    for (const char* folder : {"C:\\Empty", "C:\\Hollow"}) {
        for (ClassRecord* target : {static_cast<ClassRecord*>(nullptr), mine}) {
            SCOPED_TRACE(std::string(folder) + (target ? " into Mine" : " to the top level"));
            auto job = ImportFolder(folder, target);
            EXPECT_EQ(job->Total(), 0u);
            EXPECT_EQ(job->Done(), 0u);
            const transfer::TransferCounts counts = job->Counts();
            EXPECT_FALSE(counts.pathFailed);
            EXPECT_EQ(counts.added + counts.failed + counts.skipped + counts.kept, 0u);
        }
    }
    EXPECT_EQ(Tree(), std::vector<std::string>{"Mine(0)"});
    EXPECT_FALSE(store.IsModified());
    EXPECT_TRUE(host.filled.empty());
}

// A shortcut of exactly the largest size is still read, one byte more is
// not; a folder's name is filtered like a title before it becomes a category.
TEST_F(ImportFolderTest, AShortcutAtTheSizeLimitIsReadAndFolderNamesAreFiltered) {
    const std::string text = transfer_test::CMemoryFileSystem::ShortcutText("http://limit");
    fs.AddFile("C:\\Lim\\At.url", text + std::string(transfer::kMaxShortcutSize - text.size(), ' '));
    fs.AddFile("C:\\Lim\\Over.url", text + std::string(transfer::kMaxShortcutSize - text.size() + 1, ' '));
    fs.AddShortcut("C:\\Lim\\Later.url", "http://later");
    fs.AddShortcut("C:\\Lim\\a?b\\In.url", "http://in");
    auto job = ImportFolder("C:\\Lim");
    ClassRecord* favorites = Top(CTransferJob::kFavoritesCategory);
    ASSERT_NE(favorites, nullptr);
    ASSERT_NE(favorites->FirstChild(), nullptr);
    const std::string folder = favorites->FirstChild()->name;
    EXPECT_NE(folder, "a?b");
    EXPECT_FALSE(HoldsInvalidChars(folder)) << folder;
    EXPECT_EQ(Tree(), (std::vector<std::string>{"IE收藏夹(0):At,Later", folder + "(1):In"}));
    EXPECT_EQ(job->Counts().skipped, 1u);
    EXPECT_EQ(job->Counts().added, 3u);
}

}  // namespace
