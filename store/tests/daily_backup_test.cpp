// The daily backups apart from the keeper: when a copy is made and what a
// failure says, and which files pruning leaves.
#include "daily_backup.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "test_support/temp_dir.h"

namespace {

using testing_support::ReadBytes;
using testing_support::WriteBytes;

const platform::LocalTime kDay{2026, 12, 7, 9, 30, 5};

TEST(DailyBackup, TheNameIsTheDayWithTwoDigitMonthAndDay) {
    EXPECT_EQ(DailyBackupName(kDay), "bookmark-2026-12-07.xml");
    EXPECT_EQ(DailyBackupName({987, 1, 2, 0, 0, 0}), "bookmark-0987-01-02.xml");
}

// Each situation: whether KeepDailyBackup says the day's copy is there,
// whether it gives a reason, and what the copy holds afterwards.
TEST(DailyBackup, ACopyIsMadeOncePerDayAndOnlyWhenThereIsAFileToKeep) {
    enum Setup { kNoFile, kFileIsAFolder, kFolderBlocked, kFresh, kCopyMadeEarlier, kTornCopyMadeEarlier };
    const std::string morning = "<?xml version=\"1.0\" encoding=\"utf-8\"?><root>\r\n<G t=\"m\"/>\r\n</root>\r\n";
    struct Case {
        const char* name;
        Setup setup;
        bool kept;
        bool reason;
        const char* copy;  // the copy's bytes afterwards; none: no copy
    };
    const Case cases[] = {
        {"no file yet", kNoFile, true, false, nullptr},
        {"a folder where the file should be", kFileIsAFolder, true, false, nullptr},
        {"the backup folder cannot be made", kFolderBlocked, false, true, nullptr},
        {"the first save of the day", kFresh, true, false, "today's file"},
        {"a copy made earlier that day", kCopyMadeEarlier, true, false, morning.c_str()},
        // A copy cut short (the program killed while making it) is made again.
        {"a torn copy made earlier that day", kTornCopyMadeEarlier, true, false, "today's file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testing_support::TempDir dir;
        const std::string file = dir.File("bookmark.xml");
        const std::string folder = dir.File("Backup");
        const std::string copy = folder + "/" + DailyBackupName(kDay);
        if (c.setup == kFileIsAFolder) std::filesystem::create_directories(file);
        if (c.setup != kNoFile && c.setup != kFileIsAFolder) WriteBytes(file, "today's file");
        if (c.setup == kFolderBlocked) WriteBytes(folder, "a file where the folder should be");
        if (c.setup == kCopyMadeEarlier || c.setup == kTornCopyMadeEarlier) {
            std::filesystem::create_directories(folder);
            WriteBytes(copy, c.setup == kCopyMadeEarlier ? morning : morning.substr(0, 50));
        }
        std::string error;
        EXPECT_EQ(KeepDailyBackup(file, folder, kDay, error), c.kept);
        EXPECT_EQ(!error.empty(), c.reason) << error;
        if (c.copy) {
            EXPECT_EQ(ReadBytes(copy), c.copy);
        } else {
            EXPECT_FALSE(std::filesystem::exists(copy));
        }
        if (!c.copy && c.setup != kFolderBlocked) {
            EXPECT_FALSE(std::filesystem::exists(folder)) << "no folder for nothing";
        }
    }
}

// Only the day's copies count, oldest first; every other file stays.
TEST(DailyBackup, PruningRemovesTheOldestDaysAndNothingElse) {
    const std::set<std::string> days{"bookmark-2026-12-01.xml", "bookmark-2026-12-02.xml", "bookmark-2026-12-03.xml",
                                     "bookmark-2026-12-04.xml", "bookmark-2026-12-05.xml"};
    const std::set<std::string> others{"notes.txt",
                                       "xookmark-2026-12-01.xml",
                                       "bookmark-2026-12-0a.xml",
                                       "bookmark_2026-12-01.xml",
                                       "bookmark-2026-12-01.xmm",
                                       "bookmark-2026-12-011.xml",
                                       "bookmark-2026-12-1.xml"};
    struct Case {
        std::size_t keep;
        std::set<std::string> daysLeft;
    };
    const Case cases[] = {
        {0, {}},
        {2, {"bookmark-2026-12-04.xml", "bookmark-2026-12-05.xml"}},
        {4, {"bookmark-2026-12-02.xml", "bookmark-2026-12-03.xml", "bookmark-2026-12-04.xml", "bookmark-2026-12-05.xml"}},
        {5, days},
        {15, days},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keep);
        testing_support::TempDir dir;
        const std::string folder = dir.File("Backup");
        std::filesystem::create_directories(folder + "/bookmark-2026-11-30.xml");  // a folder, not a copy
        for (const std::string& name : days) WriteBytes(folder + "/" + name, name);
        for (const std::string& name : others) WriteBytes(folder + "/" + name, name);
        PruneDailyBackups(folder, c.keep);
        std::set<std::string> expected = c.daysLeft;
        expected.insert(others.begin(), others.end());
        expected.insert("bookmark-2026-11-30.xml");
        std::set<std::string> left;
        for (const auto& entry : std::filesystem::directory_iterator(folder)) left.insert(entry.path().filename().string());
        EXPECT_EQ(left, expected);
    }
}

}  // namespace
