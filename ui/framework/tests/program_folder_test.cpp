#include "framework/program_folder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

struct FolderCase {
    std::string path;
    std::string folder;
};

class FolderOfPath : public testing::TestWithParam<FolderCase> {};

// Runs under the GBK code page (936), where 0x81 is a lead byte.
TEST_P(FolderOfPath, CutsAfterTheLastRealBackslash) {
    ASSERT_EQ(::GetACP(), 936u);
    EXPECT_EQ(framework::FolderOfPath(GetParam().path), GetParam().folder);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FolderOfPath,
    testing::Values(FolderCase{"C:\\Program Files\\quorva\\quorva.exe", "C:\\Program Files\\quorva\\"},
                    FolderCase{"C:\\quorva.exe", "C:\\"},
                    FolderCase{"quorva.exe", ""},
                    FolderCase{"", ""},
                    FolderCase{"C:\\dir\\", "C:\\dir\\"},
                    // "\x81\x5C" is one character whose trail byte equals a backslash.
                    FolderCase{"C:\\a\\\x81\x5C" "b.exe", "C:\\a\\"},
                    FolderCase{"C:\\\x81\x5C\\b.exe", "C:\\\x81\x5C\\"},
                    FolderCase{"C:\\\xCA\xE9\xC7\xA9\\quorva.exe", "C:\\\xCA\xE9\xC7\xA9\\"}));

TEST(ProgramFolder, IsTheFolderOfThisExecutable) {
    char path[MAX_PATH * 4] = "";
    ASSERT_GT(::GetModuleFileNameA(nullptr, path, sizeof path), 0u);
    const std::string folder = framework::ProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '\\');
    EXPECT_EQ(std::string(path).rfind(folder, 0), 0u);
    EXPECT_EQ(std::string(path).substr(folder.size()).find('\\'), std::string::npos);
}

}  // namespace
