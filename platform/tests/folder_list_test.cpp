#include "platform/folder_list.h"

#include "test_support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace {

TEST(FolderList, ListsFilesAndFoldersWithTheirKind) {
    testing_support::TempDir dir;
    testing_support::WriteBytes(dir.File("a.ini"), "x");
    testing_support::WriteBytes(dir.File("B.txt"), "");
    std::filesystem::create_directory(dir.Path() / "sub");
    std::vector<platform::FolderEntry> entries;
    ASSERT_TRUE(platform::ListFolder(dir.Path().string(), entries));
    std::vector<std::string> files, folders;
    for (const auto& e : entries) (e.isFolder ? folders : files).push_back(e.name);
    std::sort(files.begin(), files.end());
    std::sort(folders.begin(), folders.end());
    EXPECT_EQ(files, (std::vector<std::string>{"B.txt", "a.ini"}));
    // "." and ".." come along when the system reports them.
    folders.erase(std::remove_if(folders.begin(), folders.end(),
                                 [](const std::string& n) { return n == "." || n == ".."; }),
                  folders.end());
    EXPECT_EQ(folders, std::vector<std::string>{"sub"});
}

TEST(FolderList, MissingFolderCannotBeListed) {
    testing_support::TempDir dir;
    std::vector<platform::FolderEntry> entries{{"stale", false}};
    EXPECT_FALSE(platform::ListFolder((dir.Path() / "missing").string(), entries));
    EXPECT_TRUE(entries.empty());
}

TEST(FolderList, AFileIsNoFolder) {
    testing_support::TempDir dir;
    testing_support::WriteBytes(dir.File("plain"), "x");
    std::vector<platform::FolderEntry> entries;
    EXPECT_FALSE(platform::ListFolder(dir.File("plain"), entries));
}

TEST(FolderList, TrailingSeparatorIsAddedOnce) {
    const std::string sep(1, platform::kPathSeparator);
    EXPECT_EQ(platform::WithTrailingSeparator("lang"), "lang" + sep);
    EXPECT_EQ(platform::WithTrailingSeparator("lang\\"), "lang\\");
    EXPECT_EQ(platform::WithTrailingSeparator("lang/"), "lang/");
    EXPECT_EQ(platform::WithTrailingSeparator(""), "");
    // 0x95 0x5C is one character whose trail byte equals a backslash.
    EXPECT_EQ(platform::WithTrailingSeparator("x\x95\x5C"), "x\x95\x5C" + sep);
    EXPECT_EQ(platform::WithTrailingSeparator("x\x95\x5C\\"), "x\x95\x5C\\");
}

}  // namespace
