// The bookmark file's keeper on real files: unreadable files are kept before
// anything replaces them, and the first save of each day keeps a backup.
#include "bookmark_file_keeper.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <set>
#include <string>

#include "bookmark_file_preload.h"
#include "bookmark_store.h"
#include "daily_backup.h"
#include "platform/file_io.h"
#include "store_test_helpers.h"
#include "test_support/temp_dir.h"

namespace {

using testing_support::ReadBytes;
using testing_support::WriteBytes;

const std::string kGood =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?><root>\r\n<G t=\"News\">\r\n"
    "<a t=\"Daily\" u=\"http://daily/\" r=\"\"/>\r\n</G>\r\n</root>\r\n";

class Keeper : public testing::Test {
protected:
    std::string File() const { return dir_.File("bookmark.xml"); }
    std::string Backups() const { return dir_.File("Backup"); }

    CBookmarkFileKeeper Make() {
        CBookmarkFileKeeper::Options options;
        options.backupFolder = Backups();
        options.clock = [this] { return now_; };
        options.retry.attempts = 1;
        return CBookmarkFileKeeper(File(), options);
    }

    std::set<std::string> Names(const std::string& folder) const {
        std::set<std::string> names;
        if (!std::filesystem::exists(folder)) return names;
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            names.insert(entry.path().filename().string());
        }
        return names;
    }

    void ChangeAndSave(CBookmarkFileKeeper& keeper, const std::string& category) {
        store_test::AddChild(store_, store_.Root(), category);
        const SaveOutcome outcome = keeper.Save(store_);
        ASSERT_TRUE(outcome.saved) << outcome.error;
        EXPECT_TRUE(outcome.backupError.empty()) << outcome.backupError;
    }

    testing_support::TempDir dir_;
    CBookmarkStore store_;
    platform::LocalTime now_{2026, 12, 7, 9, 30, 5};
};

// The file read on another thread at start: the tree's load takes its
// categories, telling the tree as a load does; a preload of another file is
// left alone, and an unreadable file is still the keeper's to deal with.
TEST_F(Keeper, ALoadTakesTheCollectionPreloadedFromItsFile) {
    WriteBytes(File(), kGood);
    WriteBytes(dir_.File("other.xml"), "<?xml version=\"1.0\"?><root><G t=\"Other\"/></root>");
    struct Inserted : IStoreObserver {
        std::vector<std::string> names;
        void OnInserted(ClassRecord*, ClassRecord*, ClassRecord* item) override { names.push_back(item->name); }
    } tree;
    store_.AddObserver(&tree);
    {
        CBookmarkFilePreload other(dir_.File("other.xml"));
        CBookmarkFileKeeper keeper = Make();
        EXPECT_EQ(keeper.Load(store_).state, XmlFileState::kLoaded);
    }
    {
        CBookmarkFilePreload preload(File());
        CBookmarkStore second;
        second.AddObserver(&tree);
        CBookmarkFileKeeper keeper = Make();
        EXPECT_EQ(keeper.Load(second).state, XmlFileState::kLoaded);
        EXPECT_EQ(store_test::Describe(second), store_test::Describe(store_));
        EXPECT_FALSE(second.IsModified());
        EXPECT_EQ(CBookmarkFilePreload::Take(File()), nullptr) << "taken once";
        second.RemoveObserver(&tree);
    }
    EXPECT_EQ(tree.names, (std::vector<std::string>{"News", "News"}));
    WriteBytes(File(), "not a bookmark file");
    {
        CBookmarkFilePreload unreadable(File());
        CBookmarkStore third;
        CBookmarkFileKeeper keeper = Make();
        const BookmarkLoadReport report = keeper.Load(third);
        EXPECT_EQ(report.state, XmlFileState::kUnreadable);
        EXPECT_FALSE(report.keptCopy.empty());
    }
    store_.RemoveObserver(&tree);
}

TEST_F(Keeper, AMissingOrEmptyFileIsANewCollection) {
    CBookmarkFileKeeper keeper = Make();
    EXPECT_EQ(keeper.Load(store_).state, XmlFileState::kAbsent);
    WriteBytes(File(), "");
    EXPECT_EQ(keeper.Load(store_).state, XmlFileState::kAbsent);
    EXPECT_EQ(Names(dir_.Path().string()), std::set<std::string>{"bookmark.xml"});
}

// Whatever the file held, a collection just loaded has nothing to save.
TEST_F(Keeper, ALoadLeavesTheCollectionUnmodifiedWhateverTheFile) {
    struct Case {
        const char* name;
        const char* bytes;  // none: no file
        XmlFileState state;
    };
    const Case cases[] = {
        {"no file", nullptr, XmlFileState::kAbsent},
        {"an empty file", "", XmlFileState::kAbsent},
        {"a damaged file", "<?xml version=\"1.0\"?><root><G", XmlFileState::kUnreadable},
        {"a good file", kGood.c_str(), XmlFileState::kLoaded},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(File());
        if (c.bytes) WriteBytes(File(), c.bytes);
        CBookmarkStore store;
        store.SetModified(true);
        CBookmarkFileKeeper keeper = Make();
        EXPECT_EQ(keeper.Load(store).state, c.state);
        EXPECT_FALSE(store.IsModified());
    }
}

TEST_F(Keeper, AGoodFileLoads) {
    WriteBytes(File(), kGood);
    CBookmarkFileKeeper keeper = Make();
    const BookmarkLoadReport report = keeper.Load(store_);
    EXPECT_EQ(report.state, XmlFileState::kLoaded);
    EXPECT_EQ(store_test::Describe(store_), std::vector<std::string>{"News(0):Daily"});
    EXPECT_FALSE(store_.IsModified());
}

// Truncated, garbage, another root: kept under a stamped name with the
// engine's reason, and the copy outlives the saves that replace the file.
TEST_F(Keeper, AnUnreadableFileIsCopiedAndTheCopyOutlivesLaterSaves) {
    struct Case {
        const char* name;
        std::string bytes;
        const char* reason;
    };
    const Case cases[] = {
        {"truncated", kGood.substr(0, kGood.size() - 9), "105 bytes, Root element has sibling"},
        {"garbage", std::string("\x01\x02\xFF<<garbage", 12), "12 bytes, "},
        {"another root", "<?xml version=\"1.0\"?><settings/>", "root element is not 'root'"},
    };
    int second = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        now_.second = ++second;
        WriteBytes(File(), c.bytes);
        CBookmarkStore store;
        CBookmarkFileKeeper keeper = Make();
        const BookmarkLoadReport report = keeper.Load(store);
        ASSERT_EQ(report.state, XmlFileState::kUnreadable);
        EXPECT_NE(report.reason.find(c.reason), std::string::npos) << report.reason;
        EXPECT_EQ(report.keptCopy, platform::UnreadableCopyName(File(), now_));
        EXPECT_EQ(ReadBytes(report.keptCopy), c.bytes);
        EXPECT_EQ(store.TotalBookmarks(), 0u);

        store_test::AddChild(store, store.Root(), "New");
        ASSERT_TRUE(keeper.Save(store).saved);
        EXPECT_NE(ReadBytes(File()), c.bytes);
        EXPECT_EQ(ReadBytes(report.keptCopy), c.bytes);
    }
}

// While an unreadable file cannot be copied, no save replaces it; once it
// is gone there is nothing left to keep and the saves go on. (A name that
// leaves no room for the copy's longer name makes the copy fail here; the
// Windows build's paths cannot be that long at all.)
TEST_F(Keeper, WhileAnUnreadableFileCannotBeCopiedNoSaveReplacesIt) {
#ifdef _WIN32
    GTEST_SKIP() << "needs a file name near the length limit";
#else
    const std::string file = dir_.File(std::string(240, 'b') + ".xml");
    WriteBytes(file, "damaged");
    CBookmarkFileKeeper::Options options;
    options.clock = [this] { return now_; };
    options.retry.attempts = 1;
    CBookmarkFileKeeper keeper(file, options);
    const BookmarkLoadReport report = keeper.Load(store_);
    ASSERT_EQ(report.state, XmlFileState::kUnreadable);
    EXPECT_EQ(report.keptCopy, platform::UnreadableCopyName(file, now_));
    std::error_code tooLong;
    EXPECT_FALSE(std::filesystem::exists(report.keptCopy, tooLong));
    store_test::AddChild(store_, store_.Root(), "New");
    for (int attempt = 0; attempt < 2; ++attempt) {
        const SaveOutcome outcome = keeper.Save(store_);
        EXPECT_FALSE(outcome.saved);
        EXPECT_EQ(outcome.error.rfind(report.keptCopy + ": ", 0), 0u) << outcome.error;
        EXPECT_GT(outcome.error.size(), report.keptCopy.size() + 2) << "with the system's reason";
        EXPECT_EQ(ReadBytes(file), "damaged");
        EXPECT_TRUE(store_.IsModified());
    }
    std::filesystem::remove(file);
    for (const char* name : {"Later", "Latest"}) {  // and nothing is left to copy later either
        store_test::AddChild(store_, store_.Root(), name);
        const SaveOutcome outcome = keeper.Save(store_);
        EXPECT_TRUE(outcome.saved) << outcome.error;
        EXPECT_NE(ReadBytes(file).find(name), std::string::npos);
        EXPECT_FALSE(store_.IsModified());
    }
#endif
}

// Saving to a file the user chose: the collection as it is, with neither a
// backup nor a kept copy, and the program's own file left alone.
TEST_F(Keeper, SaveToWritesTheCollectionToAnotherFileOnly) {
    WriteBytes(File(), kGood);
    CBookmarkFileKeeper keeper = Make();
    keeper.Load(store_);
    store_test::AddChild(store_, store_.Root(), "Elsewhere");
    const std::string other = dir_.File("copy.xml");
    const SaveOutcome outcome = keeper.SaveTo(store_, other);
    EXPECT_TRUE(outcome.saved) << outcome.error;
    EXPECT_NE(ReadBytes(other).find("Elsewhere"), std::string::npos);
    EXPECT_EQ(ReadBytes(File()), kGood);
    EXPECT_EQ(Names(dir_.Path().string()), (std::set<std::string>{"bookmark.xml", "copy.xml"}));

    const SaveOutcome refused = keeper.SaveTo(store_, dir_.File("no such folder/copy.xml"));
    EXPECT_FALSE(refused.saved);
    EXPECT_FALSE(refused.error.empty());
    EXPECT_FALSE(std::filesystem::exists(dir_.File("no such folder")));
}

TEST_F(Keeper, AnEarlierCopyIsNeverReplaced) {
    WriteBytes(File(), "first damaged");
    CBookmarkFileKeeper first = Make();
    const std::string firstCopy = first.Load(store_).keptCopy;
    WriteBytes(File(), "second damaged");
    CBookmarkFileKeeper second = Make();  // the same second
    const std::string secondCopy = second.Load(store_).keptCopy;
    EXPECT_EQ(secondCopy, firstCopy + "-2");
    EXPECT_EQ(ReadBytes(firstCopy), "first damaged");
    EXPECT_EQ(ReadBytes(secondCopy), "second damaged");
}

TEST_F(Keeper, TheFirstSaveOfADayKeepsTheFileItReplaces) {
    WriteBytes(File(), kGood);
    CBookmarkFileKeeper keeper = Make();
    keeper.Load(store_);
    ChangeAndSave(keeper, "Day one, first");
    const std::string afterFirst = ReadBytes(File());
    ChangeAndSave(keeper, "Day one, second");
    EXPECT_EQ(Names(Backups()), std::set<std::string>{"bookmark-2026-12-07.xml"});
    EXPECT_EQ(ReadBytes(Backups() + "/bookmark-2026-12-07.xml"), kGood);

    // Three saves on three days give three copies, each of the file as the
    // day found it.
    now_.day = 8;
    ChangeAndSave(keeper, "Day two");
    now_.day = 9;
    ChangeAndSave(keeper, "Day three");
    EXPECT_EQ(Names(Backups()), (std::set<std::string>{"bookmark-2026-12-07.xml", "bookmark-2026-12-08.xml",
                                                       "bookmark-2026-12-09.xml"}));
    EXPECT_NE(ReadBytes(Backups() + "/bookmark-2026-12-08.xml"), afterFirst);
    EXPECT_NE(ReadBytes(Backups() + "/bookmark-2026-12-08.xml").find("Day one, second"), std::string::npos);

    // A restart on a day that has its copy does not replace it.
    CBookmarkFileKeeper restarted = Make();
    ChangeAndSave(restarted, "Day three, later");
    EXPECT_EQ(ReadBytes(Backups() + "/bookmark-2026-12-09.xml").find("Day three, later"), std::string::npos);
}

TEST_F(Keeper, SixteenDaysLeaveTheNewestFifteenAndOtherFilesAlone) {
    WriteBytes(File(), kGood);
    std::filesystem::create_directories(Backups());
    WriteBytes(Backups() + "/notes.txt", "mine");
    CBookmarkFileKeeper keeper = Make();
    keeper.Load(store_);
    for (int day = 1; day <= 16; ++day) {
        now_.day = day;
        ChangeAndSave(keeper, "Day " + std::to_string(day));
    }
    std::set<std::string> expected{"notes.txt"};
    for (int day = 2; day <= 16; ++day) {
        platform::LocalTime t = now_;
        t.day = day;
        expected.insert(DailyBackupName(t));
    }
    EXPECT_EQ(Names(Backups()), expected);
}

TEST_F(Keeper, ABackupThatCannotBeMadeNeverStopsTheSave) {
    WriteBytes(File(), kGood);
    WriteBytes(Backups(), "a file where the folder should be");
    CBookmarkFileKeeper keeper = Make();
    keeper.Load(store_);
    store_test::AddChild(store_, store_.Root(), "Saved anyway");
    const SaveOutcome outcome = keeper.Save(store_);
    EXPECT_TRUE(outcome.saved);
    EXPECT_FALSE(outcome.backupError.empty());
    EXPECT_NE(ReadBytes(File()).find("Saved anyway"), std::string::npos);
    // Said once: the next save of the day does not try again.
    store_test::AddChild(store_, store_.Root(), "Again");
    EXPECT_TRUE(keeper.Save(store_).backupError.empty());
}

// The system's file layer whose final replace can be made to fail.
class ReplaceCanFail final : public platform::FileOps {
public:
    int failReplaces = 0;  // how many replaces to refuse from now on
    int replaces = 0;

    bool Create(const std::string& p) override { return real_->Create(p); }
    bool Write(const char* d, std::size_t n) override { return real_->Write(d, n); }
    bool Flush() override { return real_->Flush(); }
    bool Close() override { return real_->Close(); }
    bool Replace(const std::string& from, const std::string& to) override {
        ++replaces;
        refused_ = failReplaces > 0;
        if (refused_) {
            --failReplaces;
            return false;
        }
        return real_->Replace(from, to);
    }
    bool Remove(const std::string& p) override { return real_->Remove(p); }
    std::string LastError() const override { return refused_ ? "replace refused" : real_->LastError(); }

private:
    std::unique_ptr<platform::FileOps> real_ = platform::NewSystemFileOps();
    bool refused_ = false;
};

class KeeperWithFailures : public Keeper {
protected:
    CBookmarkFileKeeper MakeFailing() {
        CBookmarkFileKeeper::Options options;
        options.backupFolder = Backups();
        options.clock = [this] { return now_; };
        options.retry.attempts = 1;
        options.files = &ops_;
        return CBookmarkFileKeeper(File(), options);
    }
    std::set<std::string> KeptCopies() const {
        std::set<std::string> copies;
        for (const std::string& name : Names(dir_.Path().string())) {
            if (name.find(".unreadable-") != std::string::npos) copies.insert(name);
        }
        return copies;
    }
    ReplaceCanFail ops_;
};

TEST_F(KeeperWithFailures, ASaveThatFailsAtTheFinalReplaceLeavesTheCollectionModifiedAndTheNextSaveRetries) {
    WriteBytes(File(), kGood);
    CBookmarkFileKeeper keeper = MakeFailing();
    keeper.Load(store_);
    store_test::AddChild(store_, store_.Root(), "Unsaved");
    ops_.failReplaces = 1;
    SaveOutcome outcome = keeper.Save(store_);
    EXPECT_FALSE(outcome.saved);
    EXPECT_EQ(outcome.error, "replace refused");
    EXPECT_TRUE(store_.IsModified());
    EXPECT_EQ(ReadBytes(File()), kGood);
    EXPECT_EQ(Names(dir_.Path().string()), (std::set<std::string>{"Backup", "bookmark.xml"})) << "no temporary file";

    outcome = keeper.Save(store_);
    EXPECT_TRUE(outcome.saved) << outcome.error;
    EXPECT_TRUE(outcome.error.empty());
    EXPECT_FALSE(store_.IsModified());
    EXPECT_NE(ReadBytes(File()).find("Unsaved"), std::string::npos);
    EXPECT_EQ(ops_.replaces, 2);
    EXPECT_EQ(ReadBytes(Backups() + "/" + DailyBackupName(now_)), kGood);
}

// However many saves fail or succeed after it, an unreadable file is kept
// once, as it was.
TEST_F(KeeperWithFailures, AnUnreadableFileLoadedAndSavedAgainAndAgainIsKeptOnce) {
    const std::string damaged = "<?xml version=\"1.0\"?><root><G t=\"cut";
    for (const int failing : {0, 1, 2}) {
        SCOPED_TRACE(failing);
        now_.second = failing;
        WriteBytes(File(), damaged);
        CBookmarkStore store;
        CBookmarkFileKeeper keeper = MakeFailing();
        const std::string copy = keeper.Load(store).keptCopy;
        ASSERT_FALSE(copy.empty());
        store_test::AddChild(store, store.Root(), "New");
        ops_.failReplaces = failing;
        for (int save = 0; save < failing; ++save) EXPECT_FALSE(keeper.Save(store).saved);
        EXPECT_TRUE(keeper.Save(store).saved);
        store_test::AddChild(store, store.Root(), "Newer");
        EXPECT_TRUE(keeper.Save(store).saved);
        EXPECT_EQ(KeptCopies().count(std::filesystem::path(copy).filename().string()), 1u);
        EXPECT_EQ(KeptCopies().size(), static_cast<std::size_t>(failing + 1)) << "one copy per damaged file";
        EXPECT_EQ(ReadBytes(copy), damaged);
    }
}

TEST_F(KeeperWithFailures, WhenTheBackupAndTheSaveBothFailTheNextSaveTriesTheBackupAgain) {
    WriteBytes(File(), kGood);
    WriteBytes(Backups(), "a file where the folder should be");
    CBookmarkFileKeeper keeper = MakeFailing();
    keeper.Load(store_);
    store_test::AddChild(store_, store_.Root(), "Later");
    ops_.failReplaces = 1;
    SaveOutcome outcome = keeper.Save(store_);
    EXPECT_FALSE(outcome.saved);
    EXPECT_FALSE(outcome.backupError.empty());

    outcome = keeper.Save(store_);  // the folder is still blocked: said again
    EXPECT_TRUE(outcome.saved);
    EXPECT_FALSE(outcome.backupError.empty());

    std::filesystem::remove(Backups());
    store_test::AddChild(store_, store_.Root(), "Evening");
    outcome = keeper.Save(store_);  // the day counts as kept now
    EXPECT_TRUE(outcome.saved);
    EXPECT_TRUE(outcome.backupError.empty());
    EXPECT_FALSE(std::filesystem::exists(Backups()));

    // The next day, with the same blocked folder and a failed save first.
    WriteBytes(Backups(), "blocked");
    now_.day = 8;
    ops_.failReplaces = 1;
    store_test::AddChild(store_, store_.Root(), "Day two");
    EXPECT_FALSE(keeper.Save(store_).saved);
    std::filesystem::remove(Backups());
    const std::string beforeDayTwo = ReadBytes(File());
    outcome = keeper.Save(store_);
    EXPECT_TRUE(outcome.saved);
    EXPECT_TRUE(outcome.backupError.empty()) << outcome.backupError;
    EXPECT_EQ(ReadBytes(Backups() + "/" + DailyBackupName(now_)), beforeDayTwo);
}

// A new collection has no file to keep: its first saves are no backup
// failure, whether or not the backup folder can be made, and the next day
// keeps the file they wrote.
TEST_F(Keeper, TheFirstSavesOfANewCollectionNeedNoBackup) {
    for (const bool blocked : {false, true}) {
        SCOPED_TRACE(blocked);
        std::filesystem::remove_all(Backups());
        std::filesystem::remove(File());
        if (blocked) WriteBytes(Backups(), "a file where the folder should be");
        now_.day = 7;
        CBookmarkStore store;
        CBookmarkFileKeeper keeper = Make();
        EXPECT_EQ(keeper.Load(store).state, XmlFileState::kAbsent);
        for (const char* name : {"First", "Second"}) {
            store_test::AddChild(store, store.Root(), name);
            const SaveOutcome outcome = keeper.Save(store);
            EXPECT_TRUE(outcome.saved) << outcome.error;
            EXPECT_EQ(outcome.backupError, "");
        }
        EXPECT_EQ(std::filesystem::is_directory(Backups()), false) << "nothing to keep, no folder made";
        if (blocked) continue;
        now_.day = 8;
        const std::string dayOne = ReadBytes(File());
        store_test::AddChild(store, store.Root(), "Next day");
        EXPECT_TRUE(keeper.Save(store).saved);
        EXPECT_EQ(ReadBytes(Backups() + "/" + DailyBackupName(now_)), dayOne);
    }
}

}  // namespace
