// The periodic save through the writer thread: what reaches the disk, when
// the collection counts as saved, failures, crashes and closing. Built on its
// own so that it also runs under ThreadSanitizer.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "background_save.h"
#include "bookmark_store.h"
#include "daily_backup.h"
#include "file_writer.h"
#include "homepage_group.h"
#include "store_test_helpers.h"
#include "test_support/temp_dir.h"

namespace {

using testing_support::ReadBytes;
using testing_support::WriteBytes;

// The system's file calls (an object of its own: the thread-local one of
// the writer's thread would be destroyed when that thread ends, which the
// MinGW runtime does not survive), with a way to hold writes back, make calls fail, or "die"
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
    platform::FileOps& Real() { return *real_; }
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

    std::unique_ptr<platform::FileOps> real_ = platform::NewSystemFileOps();
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

int SavedCount(const std::vector<SaveOutcome>& outcomes) {
    int saved = 0;
    for (const SaveOutcome& outcome : outcomes) saved += outcome.saved ? 1 : -100;
    return saved;
}

std::vector<std::string> Titles(int count) {
    std::vector<std::string> titles;
    for (int i = 0; i < count; ++i) titles.push_back("t" + std::to_string(i));
    return titles;
}

// The text built in slices: a change between two slices (here the category
// being written goes) starts it again, so that no record that went is read;
// a collection that changes before every slice is still saved, whole, after
// a few restarts.
TEST_F(BackgroundSaveTest, ASlicedTextStartsAgainWhenTheCollectionChanges) {
    TestOps ops;
    CFileWriter writer(&ops);
    CBackgroundSave save(writer, keeper);
    const auto shortest = CBackgroundSave::Clock::duration::zero();
    ClassRecord* big = store.AddTopClass("big");
    store_test::AddBookmarks(store, big, Titles(2000));
    store.AddTopClass("after");
    EXPECT_TRUE(save.Tick(store, shortest).empty());
    ASSERT_TRUE(save.Building());
    store.DeleteClass(big);
    EXPECT_TRUE(save.Tick(store, shortest).empty());
    EXPECT_FALSE(save.Building()) << "the small collection left fits one slice";
    writer.WaitIdle();
    EXPECT_EQ(SavedCount(save.Tick(store, shortest)), 1);
    EXPECT_EQ(ReadBytes(path), Expected());
    EXPECT_FALSE(store.IsModified());

    store_test::AddBookmarks(store, store.AddTopClass("big again"), Titles(2000));
    int ticks = 0;
    do {
        store.AddTopClass("changing " + std::to_string(ticks));
        save.Tick(store, shortest);
        ++ticks;
    } while (save.Building() && ticks < 10);
    EXPECT_FALSE(save.Building());
    EXPECT_EQ(ticks, 3) << "two restarts, then the whole text";
    writer.WaitIdle();
    EXPECT_EQ(SavedCount(save.Tick(store, shortest)), 1);
    EXPECT_EQ(ReadBytes(path), Expected());
    EXPECT_FALSE(store.IsModified());
}

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

// Ticks while the writer writes the newest text hand nothing over (the same
// text is never written twice); Finish drops a half-built text and saves
// synchronously instead.
TEST_F(BackgroundSaveTest, TicksWhileTheNewestTextIsWrittenHandNothingOverAndFinishDropsAHalfBuiltText) {
    TestOps ops;
    CFileWriter writer(&ops);
    CBackgroundSave save(writer, keeper);
    store.AddTopClass("only");
    ops.Hold();
    EXPECT_TRUE(save.Tick(store).empty());
    ops.WaitUntilBlocked();
    for (int tick = 0; tick < 3; ++tick) EXPECT_TRUE(save.Tick(store).empty());
    EXPECT_TRUE(save.Writing());
    ops.Release();
    writer.WaitIdle();
    EXPECT_EQ(ops.creates.load(), 1);
    EXPECT_EQ(SavedCount(save.Tick(store)), 1);
    EXPECT_FALSE(store.IsModified());

    store_test::AddBookmarks(store, store.AddTopClass("big"), Titles(2000));
    EXPECT_TRUE(save.Tick(store, CBackgroundSave::Clock::duration::zero()).empty());
    ASSERT_TRUE(save.Building());
    const auto outcomes = save.Finish(store);
    EXPECT_EQ(SavedCount(outcomes), 1);
    EXPECT_FALSE(save.Building());
    EXPECT_FALSE(store.IsModified());
    EXPECT_EQ(ReadBytes(path), Expected());
    EXPECT_EQ(ops.creates.load(), 1) << "the last save went around the writer";
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

// The homepage group saves through the same writer: the same rules for what
// reaches the disk and when the group counts as saved.
struct HomepageSaveTest : ::testing::Test {
    testing_support::TempDir dir;
    std::string path = dir.File("HomepageGroup.xml");
    CHomepageGroup group;

    void SetUp() override { group.Load(path); }  // no file yet: the path is remembered
    // The file the group's entries make, as listed.
    static std::string FileOf(const std::vector<std::string>& titles) {
        std::string text = "<?xml version=\"1.0\" encoding=\"utf-8\"?>";
        if (titles.empty()) return text + "<root/>\r\n";
        text += "<root>\r\n";
        for (const std::string& t : titles) text += "<a t=\"" + t + "\" u=\"http://" + t + "/\"/>\r\n";
        return text + "</root>\r\n";
    }
    void Add(const std::string& title) { group.Add(title, "http://" + title + "/"); }
};

TEST_F(HomepageSaveTest, AChangeMadeWhileTheWriterWritesIsSavedByTheNextCall) {
    TestOps ops;
    CFileWriter writer(&ops);
    Add("first");
    ops.Hold();
    group.SaveThrough(writer);
    ops.WaitUntilBlocked();
    Add("second");
    group.SaveThrough(writer);
    Add("third");
    group.SaveThrough(writer);  // replaces the waiting text
    group.SaveThrough(writer);  // nothing new: nothing handed over
    EXPECT_TRUE(group.IsModified());
    ops.Release();
    writer.WaitIdle();
    EXPECT_EQ(ops.creates.load(), 2) << "the first text, then only the newest of the waiting ones";
    EXPECT_EQ(ReadBytes(path), FileOf({"first", "second", "third"}));
    EXPECT_TRUE(group.IsModified()) << "the outcome is taken at the next call";
    group.SaveThrough(writer);
    EXPECT_FALSE(group.IsModified());
    group.SaveThrough(writer);
    writer.WaitIdle();
    EXPECT_EQ(ops.creates.load(), 2) << "an unmodified group is not written";
}

TEST_F(HomepageSaveTest, AFailedWriteKeepsTheGroupModifiedAndTheNextCallSucceeds) {
    TestOps ops;
    CFileWriter writer(&ops);
    WriteBytes(path, "old");
    Add("news");
    ops.failCreates = 1;
    group.SaveThrough(writer);
    writer.WaitIdle();
    EXPECT_EQ(ReadBytes(path), "old");
    group.SaveThrough(writer);  // takes the failure and hands the text over again
    EXPECT_TRUE(group.IsModified());
    writer.WaitIdle();
    group.SaveThrough(writer);
    EXPECT_FALSE(group.IsModified());
    EXPECT_EQ(ReadBytes(path), FileOf({"news"}));
}

TEST_F(HomepageSaveTest, ACrashAfterAnyFileCallLeavesExactlyTheOldOrTheNewFile) {
    const std::string oldBytes = FileOf({"old"});
    std::vector<std::string> titles;
    for (int i = 0; i < 20000; ++i) titles.push_back("page" + std::to_string(i) + std::string(40, 'x'));
    for (const std::string& t : titles) Add(t);
    const std::string newBytes = FileOf(titles);
    ASSERT_GT(newBytes.size(), platform::kWriteBlockSize);  // written in more than one block
    bool sawNew = false;
    for (int dieAfter = 0;; ++dieAfter) {
        WriteBytes(path, oldBytes);
        TestOps ops;
        ops.dieAfter = dieAfter;
        {
            CFileWriter writer(&ops);
            group.SetModified();
            group.SaveThrough(writer);
            group.DetachWriter();  // waits for it: the process "dies" or the write is done
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

TEST_F(HomepageSaveTest, ReleasingWithAWriteInFlightLosesNothing) {
    TestOps ops;
    CFileWriter writer(&ops);
    Add("first");
    ops.Hold();
    group.SaveThrough(writer);
    ops.WaitUntilBlocked();
    Add("made while writing");
    std::thread disk([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        ops.Release();
    });
    group.Release();  // waits for the writer, then saves the rest here
    disk.join();
    EXPECT_EQ(ReadBytes(path), FileOf({"first", "made while writing"}));
    EXPECT_FALSE(group.IsModified());
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

// The keeper's rules hold when the writer writes: a file that cannot be
// replaced is refused before any text is built or handed over, the day's
// backup is kept by the writer's thread before it replaces the file, and a
// backup that cannot be made is said once while the save goes on.
struct KeptBackgroundSaveTest : BackgroundSaveTest {
    std::string backups = dir.File("Backup");
    platform::LocalTime now{2026, 12, 7, 9, 30, 5};
    CBookmarkFileKeeper kept{path, Options()};

    CBookmarkFileKeeper::Options Options() {
        CBookmarkFileKeeper::Options options;
        options.backupFolder = backups;
        options.clock = [this] { return now; };
        return options;
    }
    // Ticks until the writer has nothing left and every outcome is taken.
    std::vector<SaveOutcome> Settle(CFileWriter& writer, CBackgroundSave& save) {
        std::vector<SaveOutcome> all = save.Tick(store);
        writer.WaitIdle();
        for (SaveOutcome& outcome : save.Collect(store)) all.push_back(std::move(outcome));
        return all;
    }
};

TEST_F(KeptBackgroundSaveTest, AFileThatCannotBeReplacedIsRefusedBeforeAnyTextIsHandedOver) {
    const std::string missingFolder = dir.File("not yet");
    CBookmarkFileKeeper keeper(missingFolder + "/bookmark.xml", Options());
    TestOps ops;
    CFileWriter writer(&ops);
    CBackgroundSave save(writer, keeper);
    store.AddTopClass("news");
    for (int tick = 0; tick < 2; ++tick) {  // refused at every tick, never handed over
        const auto outcomes = save.Tick(store);
        ASSERT_EQ(outcomes.size(), 1u);
        EXPECT_FALSE(outcomes[0].saved);
        EXPECT_FALSE(outcomes[0].error.empty());
        EXPECT_FALSE(save.Writing());
    }
    writer.WaitIdle();
    EXPECT_EQ(ops.creates.load(), 0) << "not even a temporary file";
    EXPECT_TRUE(store.IsModified());

    std::filesystem::create_directories(missingFolder);
    const auto outcomes = Settle(writer, save);
    ASSERT_EQ(outcomes.size(), 1u);
    EXPECT_TRUE(outcomes[0].saved) << outcomes[0].error;
    EXPECT_FALSE(store.IsModified());
    EXPECT_EQ(ReadBytes(missingFolder + "/bookmark.xml"), Expected());
}

TEST_F(KeptBackgroundSaveTest, TheWriterKeepsTheDaysBackupOnceBeforeReplacingTheFile) {
    const std::string original = "<?xml version=\"1.0\" encoding=\"utf-8\"?><root/>\r\n";
    WriteBytes(path, original);
    TestOps ops;
    CFileWriter writer(&ops);
    CBackgroundSave save(writer, kept);
    const std::string today = backups + "/" + DailyBackupName(now);

    store.AddTopClass("morning");
    for (const SaveOutcome& outcome : Settle(writer, save)) EXPECT_TRUE(outcome.saved && outcome.backupError.empty());
    EXPECT_EQ(ReadBytes(today), original);
    const std::string afterMorning = ReadBytes(path);

    store.AddTopClass("evening");
    Settle(writer, save);
    EXPECT_EQ(ReadBytes(today), original) << "the day's copy is made once";
    EXPECT_EQ(ReadBytes(path), Expected());

    now.day = 8;  // the next day keeps the file as that day found it
    store.AddTopClass("next day");
    Settle(writer, save);
    EXPECT_NE(ReadBytes(backups + "/" + DailyBackupName(now)), afterMorning);
    EXPECT_NE(ReadBytes(backups + "/" + DailyBackupName(now)).find("evening"), std::string::npos);
    EXPECT_EQ(ops.creates.load(), 3) << "every text went through the writer";
}

TEST_F(KeptBackgroundSaveTest, ABackupThatCannotBeMadeIsSaidOnceAndTheSaveGoesOn) {
    WriteBytes(path, "<?xml version=\"1.0\" encoding=\"utf-8\"?><root/>\r\n");
    WriteBytes(backups, "a file where the folder should be");
    CFileWriter writer;
    CBackgroundSave save(writer, kept);
    store.AddTopClass("saved anyway");
    auto outcomes = Settle(writer, save);
    ASSERT_EQ(outcomes.size(), 1u);
    EXPECT_TRUE(outcomes[0].saved);
    EXPECT_FALSE(outcomes[0].backupError.empty());
    EXPECT_EQ(ReadBytes(path), Expected());

    store.AddTopClass("again");
    outcomes = Settle(writer, save);
    ASSERT_EQ(outcomes.size(), 1u);
    EXPECT_TRUE(outcomes[0].saved);
    EXPECT_TRUE(outcomes[0].backupError.empty());
}

// Closing after the writer failed: the synchronous save keeps the day's
// backup too, and its outcome comes after the writer's.
TEST_F(KeptBackgroundSaveTest, FinishSavesWhatAFailedWriteLeftWithTheKeepersRules) {
    const std::string original = "<?xml version=\"1.0\" encoding=\"utf-8\"?><root/>\r\n";
    WriteBytes(path, original);
    TestOps ops;
    ops.failCreates = 1;
    CFileWriter writer(&ops);
    CBackgroundSave save(writer, kept);
    store.AddTopClass("only at the end");
    save.Tick(store);
    const auto outcomes = save.Finish(store);
    ASSERT_EQ(outcomes.size(), 2u);
    EXPECT_FALSE(outcomes[0].saved);
    EXPECT_TRUE(outcomes[1].saved) << outcomes[1].error;
    EXPECT_FALSE(store.IsModified());
    EXPECT_EQ(ReadBytes(path), Expected());
    EXPECT_EQ(ReadBytes(backups + "/" + DailyBackupName(now)), original);
}

// The writer's own promises, apart from the bookmark file.
TEST(FileWriterTest, TheFinishedSignalComesAfterTheOutcomeCanBeTaken) {
    testing_support::TempDir dir;
    const std::string path = dir.File("group.xml");
    std::mutex mutex;
    std::condition_variable signalled;
    std::vector<CFileWriter::Result> seen;
    int signals = 0;
    CFileWriter* self = nullptr;
    CFileWriter writer(nullptr, [&] {
        std::vector<CFileWriter::Result> results = self->TakeResults(path);
        std::lock_guard<std::mutex> lock(mutex);
        for (auto& result : results) seen.push_back(std::move(result));
        ++signals;
        signalled.notify_all();
    });
    self = &writer;
    writer.Submit(path, FileTextBuffer(), 7);
    std::unique_lock<std::mutex> lock(mutex);
    ASSERT_TRUE(signalled.wait_for(lock, std::chrono::seconds(10), [&] { return signals == 1; }));
    ASSERT_EQ(seen.size(), 1u) << "the outcome is there when the signal comes";
    EXPECT_EQ(seen[0].tag, 7u);
    EXPECT_TRUE(seen[0].ok);
}

TEST(FileWriterTest, AWriteStepThatThrowsIsAFailedWriteAndTheWriterGoesOn) {
    testing_support::TempDir dir;
    const std::string path = dir.File("f.xml");
    CFileWriter writer;
    writer.Submit(path, FileTextBuffer(), 1,
                  [](const std::string&, std::string_view, platform::FileOps&, CFileWriter::Result& result) {
                      result.ok = true;  // as a step may before what throws
                      throw std::runtime_error("no room");
                  });
    writer.WaitIdle();
    writer.Submit(path, FileTextBuffer(), 2);
    writer.WaitIdle();
    const auto results = writer.TakeResults(path);
    ASSERT_EQ(results.size(), 2u);
    EXPECT_FALSE(results[0].ok);
    EXPECT_EQ(results[0].error, "no room");
    EXPECT_TRUE(results[1].ok);
    EXPECT_TRUE(std::filesystem::exists(path));
}

FileTextBuffer TextOf(const std::string& text) {
    auto bytes = std::make_unique<char[]>(text.size());
    std::copy(text.begin(), text.end(), bytes.get());
    return FileTextBuffer(std::move(bytes), text.size());
}

// Two files through one writer: Pending and the results are per file, and a
// text still waiting for its file is replaced, tag and step too, where it
// stood.
TEST(FileWriterTest, PendingAndResultsArePerFileAndAWaitingTextIsReplacedWholly) {
    testing_support::TempDir dir;
    const std::string a = dir.File("a.xml");
    const std::string b = dir.File("b.xml");
    const auto step = [](const char* name) {
        return [name](const std::string& path, std::string_view text, platform::FileOps& ops,
                      CFileWriter::Result& result) {
            result.ok = platform::ReplaceFileContents(path, text, result.error, ops);
            result.note = name;
        };
    };
    TestOps ops;
    CFileWriter writer(&ops);
    ops.Hold();
    writer.Submit(a, TextOf("a1"), 1, step("a1"));
    ops.WaitUntilBlocked();
    EXPECT_TRUE(writer.Pending(a)) << "being written";
    EXPECT_FALSE(writer.Pending(b));
    writer.Submit(a, TextOf("a2"), 2, step("a2"));
    EXPECT_FALSE(writer.Pending(b)) << "only another file waits";
    writer.Submit(b, TextOf("b1"), 10, step("b1"));
    writer.Submit(a, TextOf("a3"), 3, step("a3"));
    EXPECT_TRUE(writer.Pending(b)) << "waiting";
    ops.Release();
    writer.WaitIdle();
    EXPECT_FALSE(writer.Pending(a));
    EXPECT_FALSE(writer.Pending(b));
    std::vector<std::string> done;
    for (const CFileWriter::Result& result : writer.TakeResults(a)) {
        done.push_back(result.note + (result.ok ? " ok " : " failed ") + std::to_string(result.tag));
    }
    EXPECT_EQ(done, (std::vector<std::string>{"a1 ok 1", "a3 ok 3"}));
    EXPECT_TRUE(writer.TakeResults(a).empty()) << "taken once";
    const auto forB = writer.TakeResults(b);
    ASSERT_EQ(forB.size(), 1u);
    EXPECT_EQ(forB[0].tag, 10u);
    EXPECT_EQ(ReadBytes(a), "a3");
    EXPECT_EQ(ReadBytes(b), "b1");
    EXPECT_EQ(ops.creates.load(), 3);
}

// Closing a collection that was loaded and never changed, or whose changes
// are all on disk, writes nothing: no text, no backup.
TEST_F(KeptBackgroundSaveTest, ClosingAnUnchangedCollectionWritesNothing) {
    const std::string original = "<?xml version=\"1.0\" encoding=\"utf-8\"?><root>\r\n<G t=\"kept as is\"/>\r\n</root>\r\n";
    WriteBytes(path, original);
    ASSERT_EQ(kept.Load(store).state, XmlFileState::kLoaded);
    TestOps ops;
    CFileWriter writer(&ops);
    CBackgroundSave save(writer, kept);
    EXPECT_TRUE(save.Tick(store).empty());
    EXPECT_TRUE(save.Finish(store).empty());
    EXPECT_EQ(ops.creates.load(), 0);
    EXPECT_EQ(ReadBytes(path), original);
    EXPECT_FALSE(std::filesystem::exists(backups));

    store.AddTopClass("saved before closing");
    EXPECT_EQ(SavedCount(Settle(writer, save)), 1);
    const std::string saved = ReadBytes(path);
    EXPECT_TRUE(save.Finish(store).empty());
    EXPECT_EQ(ops.creates.load(), 1);
    EXPECT_EQ(ReadBytes(path), saved);
}

}  // namespace
