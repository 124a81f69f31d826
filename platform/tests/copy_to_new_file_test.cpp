// Kept copies: never under their final name before they are whole, never
// over an existing file, no temporary left behind.
#include "platform/file_io.h"
#include "platform/file_keeping.h"
#include "test_support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <thread>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;

namespace {

TEST(CopyToNewFile, CopiesAndLeavesNoTemporary) {
    TempDir dir;
    const std::string from = dir.File("bookmark.xml");
    const std::string to = dir.File("copy.xml");
    const std::string bytes(3 << 20, 'b');
    WriteBytes(from, bytes);
    // A temporary an earlier run left is no obstacle and is gone afterwards.
    WriteBytes(platform::TemporaryPathFor(to), "torn");
    std::string error;
    bool exists = true;
    ASSERT_TRUE(platform::CopyToNewFile(from, to, error, &exists)) << error;
    EXPECT_FALSE(exists);
    EXPECT_EQ(ReadBytes(to), bytes);
    EXPECT_FALSE(std::filesystem::exists(platform::TemporaryPathFor(to)));
}

TEST(CopyToNewFile, NeverReplacesAndMakesNoTemporaryForAnExistingName) {
    TempDir dir;
    const std::string from = dir.File("bookmark.xml");
    const std::string to = dir.File("copy.xml");
    WriteBytes(from, "new");
    WriteBytes(to, "old");
    std::string error;
    bool exists = false;
    EXPECT_FALSE(platform::CopyToNewFile(from, to, error, &exists));
    EXPECT_TRUE(exists);
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(ReadBytes(to), "old");
    EXPECT_FALSE(std::filesystem::exists(platform::TemporaryPathFor(to)));
}

TEST(CopyToNewFile, AMissingSourceLeavesNothing) {
    TempDir dir;
    const std::string to = dir.File("copy.xml");
    std::string error;
    bool exists = true;
    EXPECT_FALSE(platform::CopyToNewFile(dir.File("none.xml"), to, error, &exists));
    EXPECT_FALSE(exists);
    EXPECT_FALSE(std::filesystem::exists(to));
    EXPECT_FALSE(std::filesystem::exists(platform::TemporaryPathFor(to)));
}

#ifndef _WIN32
// A source that delivers its bytes slowly (a pipe) holds the copy in the
// middle: meanwhile the final name must not exist, as it would not after the
// process ended at that moment.
TEST(CopyToNewFile, TheNameAppearsOnlyWhenTheCopyIsWhole) {
    TempDir dir;
    const std::string from = dir.File("slow");
    const std::string to = dir.File("copy.xml");
    ASSERT_EQ(::mkfifo(from.c_str(), 0600), 0);
    const std::string first(256 * 1024, 'a'), second(100, 'z');
    bool copied = false;
    std::string error;
    std::thread copier([&] { copied = platform::CopyToNewFile(from, to, error); });
    const int pipe = ::open(from.c_str(), O_WRONLY);
    ASSERT_GE(pipe, 0);
    ASSERT_EQ(::write(pipe, first.data(), first.size()), static_cast<ssize_t>(first.size()));
    // Wait until the copier has written the first part somewhere.
    const std::string temp = platform::TemporaryPathFor(to);
    for (int i = 0; i < 5000 && !(std::filesystem::exists(temp) && std::filesystem::file_size(temp) > 0); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_TRUE(std::filesystem::exists(temp));
    EXPECT_FALSE(std::filesystem::exists(to)) << "a part of the copy under the final name";
    ASSERT_EQ(::write(pipe, second.data(), second.size()), static_cast<ssize_t>(second.size()));
    ::close(pipe);
    copier.join();
    ASSERT_TRUE(copied) << error;
    EXPECT_EQ(ReadBytes(to), first + second);
    EXPECT_FALSE(std::filesystem::exists(temp));
}
#endif

TEST(KeepUnreadableCopy, LeavesNoTemporaryBesideTheCopy) {
    TempDir dir;
    const std::string file = dir.File("bookmark.xml");
    WriteBytes(file, "damaged");
    std::string copy, error;
    ASSERT_TRUE(platform::KeepUnreadableCopy(file, platform::LocalTime{2026, 12, 8, 11, 0, 0}, copy, error));
    EXPECT_EQ(ReadBytes(copy), "damaged");
    EXPECT_FALSE(std::filesystem::exists(platform::TemporaryPathFor(copy)));
}

}  // namespace
