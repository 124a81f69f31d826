// The job beside a user-interface thread: holding the collection, stopping
// and destroying a running job, one job at a time, and progress that never
// passes 100. Also run under ThreadSanitizer.
#include "transfer_test_support.h"

#include <atomic>
#include <chrono>

namespace {

using transfer::CTransferJob;
using transfer_test::TransferTest;

class JobThreadsTest : public TransferTest {
protected:
    void SetUp() override {
        TransferTest::SetUp();
        for (int f = 0; f < 20; ++f) {
            for (int i = 0; i < 50; ++i) {
                fs.AddShortcut("C:\\Fav\\f" + std::to_string(f) + "\\s" + std::to_string(i) + ".url",
                               "http://" + std::to_string(f) + "/" + std::to_string(i));
            }
        }
    }
};

TEST_F(JobThreadsTest, TheUiThreadReadsTheTreeWhileTheWorkerFillsIt) {
    std::size_t walks = 0;
    host.whileWaiting = [&] {
        // Allowed while a job holds the collection: the category tree only
        // changes inside the worker's requests, on this thread.
        std::size_t names = 0;
        for (const ClassRecord* c = store.Root()->FirstChild(); c; c = NextInPreOrder(c, store.Root())) {
            names += c->name.size();
        }
        walks += names > 0 ? 1 : 0;
    };
    auto job = ImportFolder("C:\\Fav");
    EXPECT_EQ(store.TotalBookmarks(), 1000u);
    EXPECT_GT(host.RequestsRun(), 20) << "every category was made on this thread";
    (void)walks;
}

TEST_F(JobThreadsTest, OnlyOneJobAtATimeAndNoneIsRestarted) {
    host.blockQuestions = true;
    ImportFolder("C:\\Fav");  // fills the store, so the next import asks
    auto first = std::make_unique<CTransferJob>(store, fs, host);
    ASSERT_TRUE(first->StartImportFolder("C:\\Fav", nullptr));
    CTransferJob second(store, fs, host);
    EXPECT_FALSE(second.StartExportFolder(nullptr, "C:\\out")) << "the collection is held";
    EXPECT_FALSE(first->StartImportFolder("C:\\Fav", nullptr));
    first.reset();  // the worker sits in a question: destroying ends it
    EXPECT_FALSE(CTransferJob::CollectionHeld());
    EXPECT_TRUE(second.StartExportFolder(nullptr, "C:\\out"));
    second.Join();
}

// The end of the session stops the running job wherever it is, a question
// included, so that what is saved is what the job left.
TEST_F(JobThreadsTest, TheHolderIsStoppedAndJoinedFromOutside) {
    host.blockQuestions = true;
    ImportFolder("C:\\Fav");  // fills the store, so the next import asks
    CTransferJob::StopHolder();  // no job: nothing happens
    auto job = std::make_unique<CTransferJob>(store, fs, host);
    ASSERT_TRUE(job->StartImportFolder("C:\\Fav", nullptr));
    ASSERT_TRUE(CTransferJob::CollectionHeld());
    CTransferJob::StopHolder();
    EXPECT_FALSE(CTransferJob::CollectionHeld());
    EXPECT_FALSE(job->IsRunning());
    EXPECT_EQ(store.TotalBookmarks(), 1000u) << "nothing replaced after the stop";
    job.reset();  // its owner joins again: harmless
    EXPECT_FALSE(CTransferJob::CollectionHeld());
}

TEST_F(JobThreadsTest, DestroyingARunningJobReturnsPromptly) {
    for (int round = 0; round < 20; ++round) {
        store.ReleaseAll();
        const auto begin = std::chrono::steady_clock::now();
        {
            CTransferJob job(store, fs, host);
            ASSERT_TRUE(job.StartImportFolder("C:\\Fav", nullptr));
            // Gone at once, wherever the worker is: counting, sending a
            // request, or adding bookmarks.
        }
        EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::seconds(5));
        EXPECT_FALSE(CTransferJob::CollectionHeld());
        // Whatever was imported is whole: every bookmark in a category.
        EXPECT_LE(store.TotalBookmarks(), 1000u);
    }
}

TEST_F(JobThreadsTest, ProgressNeverPassesAHundredWhenFilesAppearDuringTheWalk) {
    int added = 0;
    fs.onRead = [&](const std::string&) {
        if (added < 500) fs.AddShortcut("C:\\Fav\\f19\\new" + std::to_string(added++) + ".url", "http://n");
    };
    transfer::CTransferJob job(store, fs, host);
    ASSERT_TRUE(job.StartImportFolder("C:\\Fav", nullptr));
    int highest = 0;
    host.whileWaiting = [&] { highest = std::max(highest, job.Percent()); };
    job.Join();
    EXPECT_GT(job.Done(), job.Total());
    EXPECT_EQ(job.Percent(), 100);
    EXPECT_LE(highest, 100);
}

// A stop given while the question is being answered outweighs the answer:
// "yes" then replaces nothing, for an import and an export alike, and the
// job goes no further.
TEST_F(TransferTest, AStopGivenWhileYesIsAnsweredReplacesNothing) {
    ClassRecord* tools = store_test::AddChild(store, store.Root(), "Tools");
    store_test::AddBookmarks(store, tools, {"t0", "t1"});
    fs.AddFile("C:\\in.xml", "<?xml version=\"1.0\"?><root><G t=\"Tools\"><a t=\"t0\" u=\"new0\"/>"
                             "<a t=\"t1\" u=\"new1\"/><a t=\"t2\" u=\"new2\"/></G></root>");
    fs.AddShortcut("C:\\out\\Tools\\t0.url", "http://elsewhere");
    fs.AddShortcut("C:\\out\\Tools\\t1.url", "http://elsewhere");
    for (const int kind : {CTransferJob::kImportXml, CTransferJob::kExportFolder}) {
        SCOPED_TRACE(kind);
        host.questions.clear();
        host.answers = {1006, 1006};
        CTransferJob job(store, fs, host);
        host.beforeAnswer = [&] { job.Stop(); };
        ASSERT_TRUE(kind == CTransferJob::kImportXml ? job.StartImportXml("C:\\in.xml", nullptr)
                                                     : job.StartExportFolder(nullptr, "C:\\out"));
        job.Join();
        host.beforeAnswer = nullptr;
        EXPECT_EQ(host.questions.size(), 1u);
        EXPECT_EQ(job.Counts().replaced, 0u);
        EXPECT_EQ(job.Counts().kept, 1u);
        EXPECT_EQ(job.Counts().added, 0u);
        EXPECT_EQ(job.Done(), 1u);
    }
    EXPECT_EQ(Tree(), std::vector<std::string>{"Tools(0):t0,t1"});
    EXPECT_EQ(tools->bookmarks[0]->url, "http://t0");
    EXPECT_EQ(fs.Content("C:\\out\\Tools\\t0.url"), transfer_test::CMemoryFileSystem::ShortcutText("http://elsewhere"));
}

TEST_F(TransferTest, AJobIsNeverStartedAgainAfterJoin) {
    fs.AddFolder("C:\\Empty");
    CTransferJob job(store, fs, host);
    ASSERT_TRUE(job.StartImportFolder("C:\\Empty", nullptr));
    job.Join();
    EXPECT_FALSE(job.StartImportFolder("C:\\Empty", nullptr));
    EXPECT_FALSE(job.StartExportFolder(nullptr, "C:\\Empty"));
    EXPECT_FALSE(job.StartImportXml("C:\\in.xml", nullptr));
    EXPECT_FALSE(job.StartImportBrowserFile("C:\\in.html", nullptr));
    EXPECT_FALSE(job.StartExportBrowserFile(nullptr, "C:\\out.html"));
    EXPECT_FALSE(job.IsRunning());
    EXPECT_FALSE(job.HoldsCollection());
    EXPECT_FALSE(CTransferJob::CollectionHeld());
    EXPECT_EQ(job.Kind(), CTransferJob::kImportFolder);
    EXPECT_EQ(job.Path(), "C:\\Empty\\");
}

// A job of a single file or bookmark ends at a hundred percent, whatever
// its kind, and has done its one thing.
TEST_F(TransferTest, AJobOfOneItemEndsAtAHundredPercent) {
    ClassRecord* one = store_test::AddChild(store, store.Root(), "One");
    store_test::AddBookmarks(store, one, {"only"});
    fs.AddShortcut("C:\\Fav\\Only.url", "http://only");
    fs.AddFile("C:\\in.xml", "<?xml version=\"1.0\"?><root><G t=\"X\"><a t=\"x\" u=\"http://x\"/></G></root>");
    fs.AddFile("C:\\in.html", "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<DL><p>\n<DT><H3>H</H3>\n<DL><p>\n"
                               "<DT><A HREF=\"http://h/\">h</A>\n</DL><p>\n</DL><p>\n");
    fs.AddFolder("C:\\out");
    struct Case {
        int kind;
        const char* path;
        ClassRecord* target;
    };
    const Case cases[] = {
        {CTransferJob::kImportFolder, "C:\\Fav", nullptr},
        {CTransferJob::kImportXml, "C:\\in.xml", nullptr},
        {CTransferJob::kImportBrowserFile, "C:\\in.html", nullptr},
        {CTransferJob::kExportFolder, "C:\\out", one},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        auto job = Run(c.kind, c.path, c.target);
        EXPECT_EQ(job->Total(), 1u);
        EXPECT_EQ(job->Done(), 1u);
        EXPECT_EQ(job->Percent(), 100);
        EXPECT_EQ(job->Counts().added, 1u);
    }
    EXPECT_EQ(store.TotalBookmarks(), 4u);
    EXPECT_TRUE(fs.Has("C:\\out\\One\\only.url"));
}

}  // namespace
