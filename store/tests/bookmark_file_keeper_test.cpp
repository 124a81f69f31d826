// The bookmark file's keeper on real files: unreadable files are kept before
// anything replaces them, and the first save of each day keeps a backup.
#include "bookmark_file_keeper.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "bookmark_file_preload.h"
#include "bookmark_store.h"
#include "daily_backup.h"
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

}  // namespace
