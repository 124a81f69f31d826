// Path and name rules: the trailing backslash, titles from file names, safe
// names on disk, and making a folder path.
#include "memory_file_system.h"
#include "transfer_paths.h"

#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <utility>
#include <string>
#include <vector>

namespace {

using transfer::DiskName;

TEST(TransferPathsTest, TrailingBackslashIsAddedOnceAndNeverToAnEmptyPath) {
    EXPECT_EQ(transfer::WithTrailingBackslash(""), "") << "a lone backslash would be the drive's root";
    EXPECT_EQ(transfer::WithTrailingBackslash("C:\\Fav"), "C:\\Fav\\");
    EXPECT_EQ(transfer::WithTrailingBackslash("C:\\Fav\\"), "C:\\Fav\\");
    // "表" ends in the byte 0x5C, which is no separator.
    EXPECT_EQ(transfer::WithTrailingBackslash("C:\\\x95\x5C"), "C:\\\x95\x5C\\");
}

TEST(TransferPathsTest, TitleIsTheNameWithoutItsLastExtension) {
    EXPECT_EQ(transfer::TitleOfFileName("News.url"), "News");
    EXPECT_EQ(transfer::TitleOfFileName("a.b.url"), "a.b");
    EXPECT_EQ(transfer::TitleOfFileName("noext"), "noext");
    EXPECT_EQ(transfer::TitleOfFileName(".url"), ".url");
    EXPECT_EQ(transfer::TitleOfFileName("新闻.url"), "新闻");
    // A character a title may not hold becomes its full-width form.
    EXPECT_EQ(transfer::TitleOfFileName("a?b|c.url"), "a？b｜c");
}

TEST(TransferPathsTest, DiskNamesStayInsideTheirFolderAndOrdinaryNamesAreKept) {
    struct Case {
        std::string name, expected;
    } cases[] = {
        {"News", "News"},
        {"新闻 2024", "新闻 2024"},
        {"v1.2", "v1.2"},
        {"", "_"},
        {".", "_"},
        {"..", "_"},
        {"...", "_"},
        {"a/b", "a_b"},
        {"..\\..\\evil", ".._.._evil"},
        {"C:x", "C_x"},
        {"tab\there", "tab_here"},
        {"trailing. . ", "trailing"},
        {"CON", "_CON"},
        {"nul.txt", "_nul.txt"},
        {"Com1", "_Com1"},
        {"lpt9 ", "_lpt9"},
        {"COM10", "COM10"},
        {"CONSOLE", "CONSOLE"},
        {"\x95\x5C", "\x95\x5C"},  // the trail byte 0x5C is no backslash
    };
    for (const Case& c : cases) EXPECT_EQ(DiskName(c.name), c.expected) << "[" << c.name << "]";
}

TEST(TransferPathsTest, LongDiskNamesAreCutAtAWholeCharacter) {
    std::string title(1, 'x');
    for (int i = 0; i < 200; ++i) title += "书";
    const std::string name = DiskName(title);
    EXPECT_LE(name.size(), transfer::kMaxDiskName);
    EXPECT_EQ(name.size() % 2, 1u) << "the 'x' and whole two-byte characters";
    EXPECT_EQ(name.substr(name.size() - 2), "书");
}

TEST(TransferPathsTest, CreateFolderPathMakesEveryMissingLevelAfterTheRoot) {
    transfer_test::CMemoryFileSystem fs;
    fs.AddFolder("C:\\have");
    EXPECT_TRUE(transfer::CreateFolderPath(fs, "C:\\have\\a\\b"));
    EXPECT_TRUE(fs.IsFolder("C:\\have\\a\\b"));
    EXPECT_TRUE(transfer::CreateFolderPath(fs, "C:\\"));

    fs.AddFile("C:\\have\\file", "x");
    EXPECT_FALSE(transfer::CreateFolderPath(fs, "C:\\have\\file\\below\\"));
    EXPECT_FALSE(fs.Has("C:\\have\\file\\below"));
    EXPECT_FALSE(transfer::CreateFolderPath(fs, "D:\\nowhere\\x")) << "a drive that is not there";
}

// Every name the system takes for a device, alone, in any case, before an
// extension and with spaces before the dot, gets a leading '_'; names that
// only look like one are kept.
TEST(TransferPathsTest, EveryDeviceNameIsMadeAFileName) {
    std::vector<std::string> devices{"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
    for (const char* port : {"COM", "LPT"}) {
        for (char digit = '0'; digit <= '9'; ++digit) devices.push_back(port + std::string(1, digit));
    }
    for (const std::string& device : devices) {
        std::string lower = device;
        for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        std::string mixed = lower;
        mixed[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(mixed[0])));
        for (const std::string& name : {device, lower, mixed, device + ".url", lower + ".txt.url",
                                        device + "  .url", device + " ", device + ".", device + " . "}) {
            std::string expected = "_" + name;
            while (expected.back() == '.' || expected.back() == ' ') expected.pop_back();
            EXPECT_EQ(DiskName(name), expected) << "[" << name << "]";
        }
    }
    const char* ordinary[] = {"COM", "LPT", "COM10", "LPT1x", "COMA", "LPT:", "CONSOLE", "CONIN", "CONOUT",
                              "CON$", "PRNX", "AUX1", "NULL", "xCON", " CON", "CON_1", "CO", "N", "COM£±"};
    for (const char* name : ordinary) {
        std::string expected = name;
        for (char& c : expected) {
            if (c == ':') c = '_';
        }
        EXPECT_EQ(DiskName(name), expected) << "[" << name << "]";
    }
}

// The folder levels CreateFolderPath asks for, by the root of the path; a
// level already there is not asked for, and the first refusal ends it.
TEST(TransferPathsTest, CreateFolderPathAsksForEachLevelBelowTheRoot) {
    struct Recording : transfer_test::CMemoryFileSystem {
        std::set<std::string> existing, refused;
        std::vector<std::string> made;
        transfer::PathKind KindOf(const std::string& path) override {
            return existing.count(path) ? transfer::PathKind::kFolder : transfer::PathKind::kNone;
        }
        bool CreateFolder(const std::string& path) override {
            made.push_back(path);
            return !refused.count(path);
        }
    };
    struct Case {
        std::string path;
        std::set<std::string> existing, refused;
        bool ok;
        std::vector<std::string> made;
    };
    const Case cases[] = {
        {"C:\\a\\b", {}, {}, true, {"C:\\a", "C:\\a\\b"}},
        {"C:\\a\\b\\", {}, {}, true, {"C:\\a", "C:\\a\\b"}},
        {"C:\\a", {}, {}, true, {"C:\\a"}},
        {"C:\\", {}, {}, true, {}},
        {"C:", {}, {}, true, {}},
        {"C:x", {}, {}, true, {}},
        {"C:xy", {}, {}, true, {"C:xy"}},
        {"C:\\a\\b", {"C:\\a"}, {}, true, {"C:\\a\\b"}},
        {"C:\\a\\b\\c", {}, {"C:\\a\\b"}, false, {"C:\\a", "C:\\a\\b"}},
        {"C:\\\x95\x5C\\b", {}, {}, true, {"C:\\\x95\x5C", "C:\\\x95\x5C\\b"}},
        {"\\\\server\\share\\a\\b", {}, {}, true, {"\\\\server\\share\\a", "\\\\server\\share\\a\\b"}},
        {"\\\\server\\share", {}, {}, true, {}},
        {"\\\\server", {}, {}, true, {}},
    };
    for (const Case& c : cases) {
        Recording fs;
        fs.existing = c.existing;
        fs.refused = c.refused;
        EXPECT_EQ(transfer::CreateFolderPath(fs, c.path), c.ok) << c.path;
        EXPECT_EQ(fs.made, c.made) << c.path;
    }
}

TEST(TransferPathsTest, TrailingBackslashAndTitleTables) {
    const std::pair<const char*, const char*> folders[] = {
        {"C:", "C:\\"}, {"\\", "\\"}, {"a\\\\", "a\\\\"}, {"a\\b", "a\\b\\"}, {"\x95\x5C\\", "\x95\x5C\\"}};
    for (const auto& [folder, expected] : folders) EXPECT_EQ(transfer::WithTrailingBackslash(folder), expected) << folder;
    const std::pair<const char*, const char*> titles[] = {
        {"a.b.c", "a.b"}, {"a.", "a"}, {"..url", "."}, {"x", "x"}, {"\xD0\xC2.url", "\xD0\xC2"}};
    for (const auto& [name, expected] : titles) EXPECT_EQ(transfer::TitleOfFileName(name), expected) << name;
}

}  // namespace
