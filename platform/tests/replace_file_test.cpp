#include "platform/file_io.h"
#include "platform/file_keeping.h"
#include "test_support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;

namespace {

// Passes calls to the real file system until call number `failAt` (counted
// from 0 over Create, each Write, Flush, Close, Replace), which fails.
class FailingOps final : public platform::FileOps {
public:
    explicit FailingOps(int failAt) : failAt_(failAt) {}
    bool Create(const std::string& p) override { return Step() && real_.Create(p); }
    bool Write(const char* d, std::size_t n) override { return Step() && real_.Write(d, n); }
    bool Flush() override { return Step() && real_.Flush(); }
    bool Close() override {
        bool allowed = Step();
        bool closed = real_.Close();
        return allowed && closed;
    }
    bool Replace(const std::string& a, const std::string& b) override { return Step() && real_.Replace(a, b); }
    bool Remove(const std::string& p) override { return real_.Remove(p); }
    std::string LastError() const override { return "injected failure"; }
    int calls = 0;

private:
    bool Step() { return calls++ != failAt_; }
    int failAt_;
    platform::FileOps& real_ = platform::SystemFileOps();
};

}  // namespace

TEST(ReplaceFileContents, WritesNewFileAndReplacesOldOne) {
    TempDir dir;
    const std::string path = dir.File("a.xml");
    std::string error;
    ASSERT_TRUE(platform::ReplaceFileContents(path, "first", error)) << error;
    EXPECT_EQ(ReadBytes(path), "first");
    ASSERT_TRUE(platform::ReplaceFileContents(path, std::string("\0\r\n\xFF", 4), error)) << error;
    EXPECT_EQ(ReadBytes(path), std::string("\0\r\n\xFF", 4));
    EXPECT_FALSE(std::filesystem::exists(platform::TemporaryPathFor(path)));
}

TEST(ReplaceFileContents, EmptyContentGivesEmptyFile) {
    TempDir dir;
    const std::string path = dir.File("empty.xml");
    WriteBytes(path, "old");
    std::string error;
    ASSERT_TRUE(platform::ReplaceFileContents(path, "", error));
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(ReadBytes(path), "");
}

TEST(ReplaceFileContents, StaleTemporaryFileFromACrashIsOverwritten) {
    TempDir dir;
    const std::string path = dir.File("b.xml");
    WriteBytes(platform::TemporaryPathFor(path), std::string(3 * platform::kWriteBlockSize, 'x'));
    std::string error;
    ASSERT_TRUE(platform::ReplaceFileContents(path, "new", error)) << error;
    EXPECT_EQ(ReadBytes(path), "new");
    EXPECT_FALSE(std::filesystem::exists(platform::TemporaryPathFor(path)));
}

TEST(ReplaceFileContents, FailureAtAnyStepLeavesOldFileByteForByte) {
    TempDir dir;
    const std::string path = dir.File("c.xml");
    const std::string oldBytes = "old \xB1\xED\r\n content";
    // Three blocks, so that the second and third writes can fail too.
    const std::string newBytes(2 * platform::kWriteBlockSize + 17, 'n');
    const int steps = 1 + 3 + 1 + 1 + 1;  // create, 3 writes, flush, close, replace
    for (int failAt = 0; failAt < steps; ++failAt) {
        WriteBytes(path, oldBytes);
        FailingOps ops(failAt);
        std::string error;
        EXPECT_FALSE(platform::ReplaceFileContents(path, newBytes, error, ops)) << failAt;
        EXPECT_EQ(error, "injected failure") << failAt;
        EXPECT_EQ(ReadBytes(path), oldBytes) << "failure at call " << failAt;
        EXPECT_FALSE(std::filesystem::exists(platform::TemporaryPathFor(path))) << failAt;
    }
    FailingOps none(-1);
    std::string error;
    EXPECT_TRUE(platform::ReplaceFileContents(path, newBytes, error, none));
    EXPECT_EQ(none.calls, steps);
    EXPECT_EQ(ReadBytes(path), newBytes);
}

namespace {

struct ProcessDied {};

// Passes calls to the real file system and "dies" right after call number
// `dieAfter` has been carried out: nothing after it runs, not even cleanup.
class DyingOps final : public platform::FileOps {
public:
    explicit DyingOps(int dieAfter) : dieAfter_(dieAfter) {}
    bool Create(const std::string& p) override { return After(real_.Create(p)); }
    bool Write(const char* d, std::size_t n) override { return After(real_.Write(d, n)); }
    bool Flush() override { return After(real_.Flush()); }
    bool Close() override { return After(real_.Close()); }
    bool Replace(const std::string& a, const std::string& b) override { return After(real_.Replace(a, b)); }
    bool Remove(const std::string& p) override { return real_.Remove(p); }
    std::string LastError() const override { return real_.LastError(); }

private:
    bool After(bool result) {
        if (calls_++ == dieAfter_) {
            real_.Close();  // the system closes a dead process's files
            throw ProcessDied{};
        }
        return result;
    }
    int calls_ = 0;
    int dieAfter_;
    platform::FileOps& real_ = platform::SystemFileOps();
};

}  // namespace

TEST(ReplaceFileContents, CrashAfterAnyCallLeavesExactlyOldOrNewFile) {
    TempDir dir;
    const std::string path = dir.File("crash.xml");
    const std::string oldBytes = "old bookmarks\r\n";
    const std::string newBytes(2 * platform::kWriteBlockSize + 5, 'n');
    const int steps = 1 + 3 + 1 + 1 + 1;
    for (int dieAfter = 0; dieAfter < steps; ++dieAfter) {
        WriteBytes(path, oldBytes);
        DyingOps ops(dieAfter);
        std::string error;
        EXPECT_THROW(platform::ReplaceFileContents(path, newBytes, error, ops), ProcessDied);
        const std::string onDisk = ReadBytes(path);
        if (dieAfter < steps - 1)
            EXPECT_EQ(onDisk, oldBytes) << "died after call " << dieAfter;
        else
            EXPECT_EQ(onDisk, newBytes) << "died after the replace";
        // The next start saves over whatever the crash left behind.
        ASSERT_TRUE(platform::ReplaceFileContents(path, "after restart", error)) << error;
        EXPECT_EQ(ReadBytes(path), "after restart");
        EXPECT_FALSE(std::filesystem::exists(platform::TemporaryPathFor(path)));
    }
}

#ifdef _WIN32
TEST(ReplaceFileContents, ReadOnlyTargetIsLeftAloneAndReported) {
    TempDir dir;
    const std::string path = dir.File("readonly.xml");
    WriteBytes(path, "kept");
    std::filesystem::permissions(path, std::filesystem::perms::owner_write, std::filesystem::perm_options::remove);
    std::string error;
    EXPECT_FALSE(platform::ReplaceFileContents(path, "lost?", error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(ReadBytes(path), "kept");
    EXPECT_FALSE(std::filesystem::exists(platform::TemporaryPathFor(path)));
    std::filesystem::permissions(path, std::filesystem::perms::owner_write, std::filesystem::perm_options::add);
}
#endif

// The window checks that the file can be replaced while the writer thread
// may be writing the save's temporary file: the check neither fails for it
// nor touches it.
TEST(ReplaceFileContents, CheckingBesideAWriteInProgressLeavesItsTemporaryFileAlone) {
    TempDir dir;
    const std::string path = dir.File("bookmark.xml");
    WriteBytes(path, "old");
    auto writing = platform::NewSystemFileOps();
    ASSERT_TRUE(writing->Create(platform::TemporaryPathFor(path)));
    ASSERT_TRUE(writing->Write("new text", 8));
    std::string error;
    EXPECT_TRUE(platform::CanReplaceFile(path, error)) << error;
    ASSERT_TRUE(writing->Flush());
    ASSERT_TRUE(writing->Close());
    EXPECT_EQ(ReadBytes(platform::TemporaryPathFor(path)), "new text");
}

TEST(ReplaceFileContents, MissingFolderFailsWithReason) {
    TempDir dir;
    std::string error;
    EXPECT_FALSE(platform::ReplaceFileContents(dir.File("no/such/folder/x.xml"), "x", error));
    EXPECT_FALSE(error.empty());
}

TEST(ReadWholeFile, ReadsBytesUnchangedAndReportsMissingFile) {
    TempDir dir;
    const std::string path = dir.File("r.bin");
    std::string bytes;
    for (int i = 0; i < 256; ++i) bytes += static_cast<char>(i);
    WriteBytes(path, bytes);
    std::string data, error;
    ASSERT_TRUE(platform::ReadWholeFile(path, data, error));
    EXPECT_EQ(data, bytes);
    EXPECT_FALSE(platform::ReadWholeFile(dir.File("missing"), data, error));
    EXPECT_FALSE(error.empty());
}
