// The periodic save through the writer thread: what reaches the disk, when
// the collection counts as saved, failures, crashes and closing. Built on its
// own so that it also runs under ThreadSanitizer.
#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "background_save.h"
#include "bookmark_store.h"
#include "file_writer.h"
#include "store_test_helpers.h"
#include "test_support/temp_dir.h"

namespace {

using testing_support::ReadBytes;
using testing_support::WriteBytes;

// The system's file calls (those of the calling thread, which is the
// writer's), with a way to hold writes back, make calls fail, or "die"
// after a given call: from then on nothing reaches the disk, as when the
// process is killed.
class TestOps final : public platform::FileOps {
public:
    bool Create(const std::string& p) override {
        ++creates;
        if (failCreates > 0) {
            --failCreates;
            return false;
        }
        return Call([&] { return Real().Create(p); });
    }
    bool Write(const char* d, std::size_t n) override {
        {
            std::unique_lock<std::mutex> lock(mutex_);
            blocked_ = held_;
            changed_.notify_all();
            changed_.wait(lock, [&] { return !held_; });
            blocked_ = false;
        }
        return Call([&] { return Real().Write(d, n); });
    }
    bool Flush() override { return Call([&] { return Real().Flush(); }); }
    bool Close() override { return Call([&] { return Real().Close(); }); }
    bool Replace(const std::string& a, const std::string& b) override {
        return Call([&] { return Real().Replace(a, b); });
    }
    bool Remove(const std::string& p) override { return !dead_ && Real().Remove(p); }
    std::string LastError() const override { return dead_ ? "dead" : "failed"; }

    void Hold() {
        std::lock_guard<std::mutex> lock(mutex_);
        held_ = true;
    }
    void Release() {
        std::lock_guard<std::mutex> lock(mutex_);
        held_ = false;
        changed_.notify_all();
    }
    // Returns once a write is held back.
    void WaitUntilBlocked() {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [&] { return blocked_; });
    }

    std::atomic<int> creates{0};
    std::atomic<int> failCreates{0};
    int dieAfter = -1;  // the call after which the process "dies"; -1: never

private:
    static platform::FileOps& Real() { return platform::SystemFileOps(); }
    template <class Do>
    bool Call(Do action) {
        if (dead_) return false;
        const bool result = action();
        if (calls_++ == dieAfter) {
            Real().Close();  // the system closes a dead process's files
            dead_ = true;
        }
        return result;
    }

    std::mutex mutex_;
    std::condition_variable changed_;
    bool held_ = false;
    bool blocked_ = false;
    int calls_ = 0;
    bool dead_ = false;
};

struct BackgroundSaveTest : ::testing::Test {
    testing_support::TempDir dir;
    std::string path = dir.File("bookmark.xml");
    CBookmarkStore store;
    CBookmarkFileKeeper keeper{path, {}};

    // The bytes a synchronous save of the collection writes now.
    std::string Expected() {
        std::uint64_t change = 0;
        return std::string(store.BuildFileText(change).View());
    }
};

TEST_F(BackgroundSaveTest, AChangeMadeWhileTheWriterWritesIsSavedByTheNextTick) {
    TestOps ops;
    CFileWriter writer(&ops);
    CBackgroundSave save(writer, keeper);
    store.AddTopClass("first");
    ops.Hold();
    EXPECT_TRUE(save.Tick(store).empty());
    ops.WaitUntilBlocked();
    const std::string firstText = Expected();

    store.AddTopClass("second");
    EXPECT_TRUE(save.Tick(store).empty());
    store.AddTopClass("third");
    EXPECT_TRUE(save.Tick(store).empty());  // replaces the waiting text
    EXPECT_TRUE(save.Tick(store).empty());  // nothing new: nothing handed over
    EXPECT_TRUE(store.IsModified());
    ops.Release();
    writer.WaitIdle();

    EXPECT_EQ(ops.creates.load(), 2) << "the first text, then only the newest of the waiting ones";
    EXPECT_EQ(ReadBytes(path), Expected());
    EXPECT_NE(ReadBytes(path), firstText);
    EXPECT_TRUE(store.IsModified()) << "the outcome is taken at the next tick";
    const auto outcomes = save.Tick(store);
    ASSERT_EQ(outcomes.size(), 2u);
    EXPECT_TRUE(outcomes[0].saved && outcomes[1].saved);
    EXPECT_FALSE(store.IsModified());
    EXPECT_TRUE(save.Tick(store).empty());
    writer.WaitIdle();
    EXPECT_EQ(ops.creates.load(), 2) << "an unmodified collection is not written";
}

TEST_F(BackgroundSaveTest, AnOlderTextOnDiskLeavesTheNewerChangesModified) {
    TestOps ops;
    CFileWriter writer(&ops);
    CBackgroundSave save(writer, keeper);
    store.AddTopClass("first");
    ops.Hold();
    save.Tick(store);
    ops.WaitUntilBlocked();
    store.AddTopClass("second");  // after the text was built
    ops.Release();
    writer.WaitIdle();
    // The first text's success must not count for the second change.
    const auto outcomes = save.Tick(store);
    ASSERT_EQ(outcomes.size(), 1u);
    EXPECT_TRUE(outcomes[0].saved);
    EXPECT_TRUE(store.IsModified());
    writer.WaitIdle();
    save.Tick(store);
    EXPECT_FALSE(store.IsModified());
    EXPECT_EQ(ReadBytes(path), Expected());
}

TEST_F(BackgroundSaveTest, AFailedWriteKeepsTheCollectionModifiedAndTheNextTickSucceeds) {
    TestOps ops;
    CFileWriter writer(&ops);
    CBackgroundSave save(writer, keeper);
    WriteBytes(path, "old");
    store.AddTopClass("news");
    ops.failCreates = 1;
    save.Tick(store);
    writer.WaitIdle();
    EXPECT_EQ(ReadBytes(path), "old");
    auto outcomes = save.Tick(store);  // reports the failure and tries again
    ASSERT_EQ(outcomes.size(), 1u);
    EXPECT_FALSE(outcomes[0].saved);
    EXPECT_FALSE(outcomes[0].error.empty());
    EXPECT_TRUE(store.IsModified());
    writer.WaitIdle();
    outcomes = save.Tick(store);
    ASSERT_EQ(outcomes.size(), 1u);
    EXPECT_TRUE(outcomes[0].saved);
    EXPECT_FALSE(store.IsModified());
    EXPECT_EQ(ReadBytes(path), Expected());
}

TEST_F(BackgroundSaveTest, ACrashAfterAnyFileCallLeavesExactlyTheOldOrTheNewFile) {
    const std::string oldBytes = "<?xml version=\"1.0\" encoding=\"utf-8\"?><root/>\r\n";
    ClassRecord* news = store.AddTopClass("news");
    for (int i = 0; i < 30000; ++i) store_test::AddBookmarks(store, news, {"b" + std::to_string(i)});
    const std::string newBytes = Expected();
    ASSERT_GT(newBytes.size(), platform::kWriteBlockSize);  // written in more than one block
    bool sawNew = false;
    for (int dieAfter = 0;; ++dieAfter) {
        WriteBytes(path, oldBytes);
        TestOps ops;
        ops.dieAfter = dieAfter;
        {
            CFileWriter writer(&ops);
            CBackgroundSave save(writer, keeper);
            store.SetModified(true);
            save.Tick(store);
            writer.WaitIdle();
        }
        const std::string onDisk = ReadBytes(path);
        EXPECT_TRUE(onDisk == oldBytes || onDisk == newBytes) << "died after call " << dieAfter;
        if (onDisk == newBytes) {
            sawNew = true;
            break;
        }
        ASSERT_LT(dieAfter, 20) << "the new file never arrived";
    }
    EXPECT_TRUE(sawNew);
}

TEST_F(BackgroundSaveTest, ClosingWithAWriteInFlightLosesNothing) {
    TestOps ops;
    CFileWriter writer(&ops);
    CBackgroundSave save(writer, keeper);
    store.AddTopClass("first");
    ops.Hold();
    save.Tick(store);
    ops.WaitUntilBlocked();
    store.AddTopClass("made while writing");
    std::thread disk([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        ops.Release();
    });
    const auto outcomes = save.Finish(store);
    disk.join();
    ASSERT_EQ(outcomes.size(), 2u) << "the write in flight, then the synchronous save";
    EXPECT_TRUE(outcomes[0].saved && outcomes[1].saved);
    EXPECT_FALSE(store.IsModified());
    EXPECT_EQ(ReadBytes(path), Expected());
}

// Changes and ticks in quick succession against a writer that writes at the
// same time: every hand-over is checked by ThreadSanitizer in that build,
// and what is on disk at the end is the whole collection.
TEST_F(BackgroundSaveTest, ManyTicksWhileWritingEndWithEverythingOnDisk) {
    CFileWriter writer;
    CBackgroundSave save(writer, keeper);
    ClassRecord* category = store.AddTopClass("c");
    int failures = 0;
    for (int i = 0; i < 300; ++i) {
        store_test::AddBookmarks(store, category, {"t" + std::to_string(i)});
        for (const auto& outcome : save.Tick(store)) failures += outcome.saved ? 0 : 1;
        if (i % 50 == 0) std::this_thread::yield();
    }
    for (const auto& outcome : save.Finish(store)) failures += outcome.saved ? 0 : 1;
    EXPECT_EQ(failures, 0);
    EXPECT_FALSE(store.IsModified());
    EXPECT_EQ(ReadBytes(path), Expected());
    CBookmarkStore loaded;
    ASSERT_TRUE(loaded.Load(path));
    EXPECT_EQ(loaded.TotalBookmarks(), 300u);
}

}  // namespace
