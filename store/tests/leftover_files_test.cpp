// What a process that ended in the middle of a write leaves: temporaries
// removed at the next start, and a torn daily backup made again.
#include "leftover_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "daily_backup.h"
#include "test_support/temp_dir.h"

namespace {

using testing_support::ReadBytes;
using testing_support::WriteBytes;

TEST(LeftoverFiles, NamesOfTheProgramsOwnTemporaries) {
    struct Case {
        const char* name;
        bool programFolder;  // a leftover in the program's folder
        bool backupFolder;   // a leftover in the backup folder
    };
    const Case cases[] = {
        {"bookmark.xml.tmp", true, false},
        {"BOOKMARK.XML.TMP", true, false},
        {"setting.xml.tmp", true, false},
        {"HomepageGroup.xml.tmp", true, false},
        {"bookmark.xml.unreadable-20261208-112000.tmp", true, false},
        {"bookmark.xml.unreadable-20261208-112000-2.tmp", true, false},
        {"setting.xml.unreadable-20261208-112000.tmp", true, false},
        {"bookmark-2026-12-08.xml.tmp", false, true},
        // The user's and the program's real files.
        {"bookmark.xml", false, false},
        {"bookmark.xml.unreadable-20261208-112000", false, false},
        {"bookmark.xml.unreadable-.tmp", false, false},
        {"bookmark-2026-12-08.xml", false, false},
        {"bookmark.xml.tmp.probe", false, false},
        {"notes.tmp", false, false},
        {".tmp", false, false},
        {"bookmark-2026-12.xml.tmp", false, false},
        {"default.xml.tmp", false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsLeftoverTemporaryName(c.name), c.programFolder) << c.name;
        EXPECT_EQ(IsLeftoverBackupTemporaryName(c.name), c.backupFolder) << c.name;
    }
}

TEST(LeftoverFiles, OnlyLeftoversAreRemovedFromBothFolders) {
    testing_support::TempDir dir;
    const std::string program = dir.Path().string();
    const std::string backup = dir.File("Backup");
    std::filesystem::create_directories(backup);
    const std::set<std::string> kept = {"bookmark.xml", "setting.xml", "bookmark.xml.unreadable-20261208-112000",
                                        "notes.tmp", "Backup"};
    for (const char* name : {"bookmark.xml", "setting.xml", "bookmark.xml.unreadable-20261208-112000", "notes.tmp",
                             "bookmark.xml.tmp", "setting.xml.tmp", "bookmark.xml.unreadable-20261208-112000.tmp"})
        WriteBytes(dir.File(name), name);
    for (const char* name : {"bookmark-2026-12-07.xml", "bookmark-2026-12-08.xml.tmp", "bookmark.xml.tmp"})
        WriteBytes(backup + "/" + name, name);

    const std::vector<std::string> removed = RemoveLeftoverTemporaries(program, backup);
    EXPECT_EQ(removed.size(), 4u);
    std::set<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(program)) left.insert(entry.path().filename().string());
    EXPECT_EQ(left, kept);
    std::set<std::string> leftBackups;
    for (const auto& entry : std::filesystem::directory_iterator(backup))
        leftBackups.insert(entry.path().filename().string());
    // Only a daily backup's temporary is the program's own there.
    EXPECT_EQ(leftBackups, (std::set<std::string>{"bookmark-2026-12-07.xml", "bookmark.xml.tmp"}));
    // Missing folders are no failure.
    EXPECT_TRUE(RemoveLeftoverTemporaries(dir.File("none"), dir.File("none/Backup")).empty());
}

TEST(DailyBackup, ATornBackupOfTheDayIsMadeAgainAWholeOneIsKept) {
    const std::string whole =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?><root>\r\n<G t=\"News\">\r\n"
        "<a t=\"Daily\" u=\"http://daily/\" r=\"\"/>\r\n</G>\r\n</root>\r\n";
    const std::string earlier = "<?xml version=\"1.0\" encoding=\"utf-8\"?><root>\r\n<G t=\"Earlier\"/>\r\n</root>\r\n";
    struct Case {
        const char* name;
        std::string existing;
        std::string expected;  // the day's backup afterwards
    };
    const Case cases[] = {
        {"empty", "", whole},
        {"cut in the middle", earlier.substr(0, earlier.size() / 2), whole},
        {"cut before the end tag", earlier.substr(0, earlier.size() - 9), whole},
        {"another root", "<?xml version=\"1.0\"?><settings/>", whole},
        {"whole, from an earlier run", earlier, earlier},
    };
    const platform::LocalTime day{2026, 12, 8, 11, 0, 0};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testing_support::TempDir dir;
        const std::string file = dir.File("bookmark.xml");
        const std::string backups = dir.File("Backup");
        std::filesystem::create_directories(backups);
        const std::string backup = backups + "/" + DailyBackupName(day);
        WriteBytes(file, whole);
        WriteBytes(backup, c.existing);
        std::string error;
        EXPECT_TRUE(KeepDailyBackup(file, backups, day, error)) << error;
        EXPECT_TRUE(error.empty()) << error;
        EXPECT_EQ(ReadBytes(backup), c.expected);
    }
}

}  // namespace
