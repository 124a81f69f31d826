// Exporting to a folder: what is written and where, repeated exports, the
// replace question, "取消", and names that must not leave the chosen folder.
#include "transfer_test_support.h"

namespace {

using transfer_test::CMemoryFileSystem;
using transfer_test::TransferTest;

class ExportFolderTest : public TransferTest {
protected:
    void SetUp() override {
        TransferTest::SetUp();
        fs.AddFolder("C:\\out");
        news = store_test::AddChild(store, store.Root(), "News");
        store_test::AddBookmarks(store, news, {"Daily", "Weather"});
        world = store_test::AddChild(store, news, "World");
        store_test::AddBookmarks(store, world, {"Europe"});
        tools = store_test::AddChild(store, store.Root(), "Tools");
        store_test::AddBookmarks(store, tools, {"Grep"});
    }
    ClassRecord* news = nullptr;
    ClassRecord* world = nullptr;
    ClassRecord* tools = nullptr;
};

TEST_F(ExportFolderTest, EveryCategoryBecomesAFolderAndEveryBookmarkAShortcut) {
    auto job = Export(nullptr, "C:\\out\\all");
    EXPECT_EQ(fs.PathsUnder("C:\\out"),
              (std::vector<std::string>{"C:\\out\\all\\", "C:\\out\\all\\News\\", "C:\\out\\all\\News\\Daily.url",
                                        "C:\\out\\all\\News\\Weather.url", "C:\\out\\all\\News\\World\\",
                                        "C:\\out\\all\\News\\World\\Europe.url", "C:\\out\\all\\Tools\\",
                                        "C:\\out\\all\\Tools\\Grep.url"}));
    EXPECT_EQ(fs.Content("C:\\out\\all\\News\\World\\Europe.url"), CMemoryFileSystem::ShortcutText("http://Europe"));
    EXPECT_EQ(job->Total(), 4u);
    EXPECT_EQ(job->Percent(), 100);
}

TEST_F(ExportFolderTest, ACategoryGetsItsOwnFolderAndOnlyItsSubtree) {
    Export(news, "C:\\out");
    EXPECT_EQ(fs.PathsUnder("C:\\out"),
              (std::vector<std::string>{"C:\\out\\News\\", "C:\\out\\News\\Daily.url", "C:\\out\\News\\Weather.url",
                                        "C:\\out\\News\\World\\", "C:\\out\\News\\World\\Europe.url"}));
    auto one = Export(tools, "C:\\one");
    EXPECT_EQ(fs.PathsUnder("C:\\one"), (std::vector<std::string>{"C:\\one\\Tools\\", "C:\\one\\Tools\\Grep.url"}));
    EXPECT_EQ(one->Total(), 1u);
    EXPECT_EQ(one->Percent(), 100);
}

TEST_F(ExportFolderTest, RepeatingWritesNothingAndOneChangedUrlAsksOnce) {
    Export(nullptr, "C:\\out");
    const std::size_t writes = fs.Writes();
    auto again = Export(nullptr, "C:\\out");
    EXPECT_EQ(fs.Writes(), writes);
    EXPECT_TRUE(host.questions.empty());
    EXPECT_EQ(again->Counts().unchanged, 4u);

    world->bookmarks[0]->url = "HTTP://EUROPE";  // differs only in case: the same
    news->bookmarks[1]->url = "http://storm";
    host.answers = {1006};
    Export(nullptr, "C:\\out");
    ASSERT_EQ(host.questions.size(), 1u);
    EXPECT_EQ(host.questions[0].name, "Weather");
    EXPECT_EQ(host.questions[0].existingUrl, "http://Weather");
    EXPECT_EQ(host.questions[0].newUrl, "http://storm");
    EXPECT_EQ(fs.Content("C:\\out\\News\\Weather.url"), CMemoryFileSystem::ShortcutText("http://storm"));
    EXPECT_EQ(fs.Writes(), writes + 1);
}

TEST_F(ExportFolderTest, NoAndNoneKeepTheFiles) {
    Export(nullptr, "C:\\out");
    for (ClassRecord* c : {news, world, tools}) {
        for (BookmarkRecord* b : c->bookmarks) b->url += "/changed";
    }
    host.answers = {1007, 1004};
    auto job = Export(nullptr, "C:\\out");
    EXPECT_EQ(host.questions.size(), 2u);
    EXPECT_EQ(job->Counts().kept, 4u);
    EXPECT_EQ(fs.Content("C:\\out\\Tools\\Grep.url"), CMemoryFileSystem::ShortcutText("http://Grep"));
}

TEST_F(ExportFolderTest, NothingIsWrittenOrMadeAfterCancel) {
    fs.AddShortcut("C:\\out\\News\\Daily.url", "http://elsewhere");
    host.answers = {2};
    auto job = Export(nullptr, "C:\\out");
    EXPECT_EQ(host.questions.size(), 1u);
    EXPECT_EQ(fs.PathsUnder("C:\\out"), (std::vector<std::string>{"C:\\out\\News\\", "C:\\out\\News\\Daily.url"}));
    EXPECT_EQ(fs.Content("C:\\out\\News\\Daily.url"), CMemoryFileSystem::ShortcutText("http://elsewhere"));
    EXPECT_EQ(fs.Writes(), 0u);
}

TEST_F(ExportFolderTest, HostileNamesStayInsideTheChosenFolder) {
    store.ReleaseAll();
    ClassRecord* odd = store_test::AddChild(store, store.Root(), "..");
    for (const char* title : {"..", ".", "", "CON", "a\x01" "b", "x. ", "..\\..\\up"}) {
        auto* b = new BookmarkRecord(title, std::string("http://") + title);
        if (!store.AddBookmark(odd, nullptr, b)) delete b;
    }
    store_test::AddChild(store, odd, "NUL");
    fs.AddFolder("C:\\out\\in");
    fs.AddShortcut("C:\\out\\keep.url", "http://keep");
    Export(nullptr, "C:\\out\\in");
    EXPECT_EQ(fs.Content("C:\\out\\keep.url"), CMemoryFileSystem::ShortcutText("http://keep"));
    const auto paths = fs.PathsUnder("C:\\out");
    EXPECT_EQ(paths, (std::vector<std::string>{"C:\\out\\in\\", "C:\\out\\in\\_\\", "C:\\out\\in\\_\\.._.._up.url",
                                               "C:\\out\\in\\_\\_.url", "C:\\out\\in\\_\\_CON.url",
                                               "C:\\out\\in\\_\\_NUL\\", "C:\\out\\in\\_\\a_b.url",
                                               "C:\\out\\in\\_\\x.url", "C:\\out\\keep.url"}))
        << "'..', '.' and '' all become '_': the first is written, the others are the same file";
}

TEST_F(ExportFolderTest, FailedFoldersAndFilesAreCountedAndTheJobGoesOn) {
    fs.AddFolder("C:\\out\\News\\Daily.url");  // a folder where a shortcut should go
    fs.RefuseWritesUnder("C:\\out\\Tools");
    auto job = Export(nullptr, "C:\\out");
    EXPECT_TRUE(fs.Has("C:\\out\\News\\Weather.url"));
    EXPECT_TRUE(fs.Has("C:\\out\\News\\World\\Europe.url"));
    EXPECT_EQ(job->Counts().failed, 2u) << "the folder in the way, and Tools' bookmark";
    EXPECT_EQ(job->Counts().kept, 0u);
    EXPECT_TRUE(host.questions.empty()) << "a folder in the way is no file to ask about";
    EXPECT_EQ(job->Percent(), 100);
    EXPECT_FALSE(job->Counts().pathFailed);

    fs.RefuseWritesUnder("C:\\locked");
    auto refused = Export(nullptr, "C:\\locked\\out");
    EXPECT_TRUE(refused->Counts().pathFailed) << "the chosen folder itself cannot be made";
    EXPECT_EQ(refused->Counts().added, 0u);
}

TEST_F(ExportFolderTest, ExportedShortcutsImportBackAsTheSameTree) {
    Export(nullptr, "C:\\out");
    const auto exported = Tree();
    store.ReleaseAll();
    ClassRecord* back = store_test::AddChild(store, store.Root(), "Back");
    ImportFolder("C:\\out", back);
    std::vector<std::string> expected{"Back(0)"};
    for (const std::string& line : exported) {
        const int depth = line[line.find('(') + 1] - '0';
        expected.push_back(line.substr(0, line.find('(')) + "(" + std::to_string(depth + 1) + line.substr(line.find(')')));
    }
    EXPECT_EQ(Tree(), expected);
}

// A category whose folder cannot be made fails every bookmark below it, its
// sub-categories' too, and the others are written.
TEST_F(ExportFolderTest, AFolderThatCannotBeMadeFailsEveryBookmarkBelowIt) {
    struct Case {
        const char* refused;
        std::size_t failed, added;
    };
    const Case cases[] = {{"News", 3, 1}, {"News\\World", 1, 3}, {"Tools", 1, 3}};
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.refused);
        const std::string out = "C:\\out" + std::to_string(++n);
        fs.RefuseWritesUnder(out + "\\" + c.refused);
        auto job = Export(nullptr, out);
        EXPECT_EQ(job->Counts().failed, c.failed);
        EXPECT_EQ(job->Counts().added, c.added);
        EXPECT_FALSE(job->Counts().pathFailed);
        EXPECT_EQ(job->Done(), 4u);
        EXPECT_EQ(job->Percent(), 100);
        EXPECT_FALSE(fs.Has(out + "\\" + c.refused));
    }
    EXPECT_FALSE(fs.Has("C:\\out1\\News\\World")) << "nothing below a folder that is not there";
    EXPECT_TRUE(fs.Has("C:\\out2\\News\\Daily.url"));
}

// A folder whose path would reach the system's limit is not attempted: its
// bookmarks fail; one character less is still written.
TEST_F(ExportFolderTest, AFolderPathAtTheLimitIsNotAttempted) {
    struct Case {
        std::size_t lastName;
        std::size_t failed, added;
    };
    // "C:\\deep\\" and 159 levels of 199 characters and a backslash make
    // 31,808; the last level's name and backslash take it to the limit
    // (32,000) or one short of it.
    const Case cases[] = {{191, 1, 0}, {190, 0, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lastName);
        store.ReleaseAll();
        ClassRecord* level = store.Root();
        for (int i = 0; i < 159; ++i) level = store_test::AddChild(store, level, std::string(199, 'x'));
        level = store_test::AddChild(store, level, std::string(c.lastName, 'y'));
        store_test::AddBookmarks(store, level, {"end"});
        auto job = Export(nullptr, "C:\\deep");
        EXPECT_EQ(job->Counts().failed, c.failed);
        EXPECT_EQ(job->Counts().added, c.added);
        EXPECT_EQ(job->Percent(), 100);
    }
}

}  // namespace
