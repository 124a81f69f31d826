// The system's file calls on a disk that has a little room left: a small
// tmpfs mounted from outside Wine (scripts/fault_folders.sh). A write the
// disk takes only in part sets no error code; it must still read as a full
// disk, never as the text of code 0 ("success").
#include "platform/file_io.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>

namespace {

std::string FullFolder() {
    const char* base = std::getenv("QUORVA_FAULT_FOLDERS");
    if (!base) return {};
    std::string folder = std::string("Z:") + base + "/full";
    for (char& c : folder) {
        if (c == '/') c = '\\';
    }
    const std::string ready = std::string("Z:") + base + "\\ready";
    return ::GetFileAttributesA(ready.c_str()) == INVALID_FILE_ATTRIBUTES ? std::string() : folder;
}

std::string SystemText(DWORD code) {
    char text[512] = {};
    DWORD n = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text,
                               sizeof text, nullptr);
    while (n > 0 && (text[n - 1] == '\r' || text[n - 1] == '\n' || text[n - 1] == ' ')) text[--n] = 0;
    return text;
}

TEST(FullDisk, AWriteTheDiskTakesOnlyInPartIsReportedAsAFullDisk) {
    const std::string folder = FullFolder();
    if (folder.empty()) GTEST_SKIP() << "no tmpfs (scripts/fault_folders.sh needs root)";
    const std::string filler = folder + "\\filler-platform";
    const std::string target = folder + "\\short-write.tmp";
    // Fill the disk, then give two pages back: the next large write fits
    // only in part.
    HANDLE fill = ::CreateFileA(filler.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(fill, INVALID_HANDLE_VALUE);
    const std::string block(64 * 1024, 'f');
    DWORD written = 0;
    while (::WriteFile(fill, block.data(), static_cast<DWORD>(block.size()), &written, nullptr) &&
           written == block.size()) {
    }
    LARGE_INTEGER back{};
    back.QuadPart = -8192;
    ASSERT_TRUE(::SetFilePointerEx(fill, back, nullptr, FILE_END));
    ASSERT_TRUE(::SetEndOfFile(fill));
    ::CloseHandle(fill);

    platform::FileOps& ops = platform::SystemFileOps();
    ASSERT_TRUE(ops.Create(target)) << ops.LastError();
    ::SetLastError(ERROR_SUCCESS);  // what a successful call leaves behind
    const std::string data(platform::kWriteBlockSize, 'x');
    EXPECT_FALSE(ops.Write(data.data(), data.size()));
    EXPECT_EQ(ops.LastError(), SystemText(ERROR_DISK_FULL));
    EXPECT_NE(ops.LastError(), SystemText(ERROR_SUCCESS));
    ops.Close();
    ::DeleteFileA(target.c_str());
    ::DeleteFileA(filler.c_str());
}

}  // namespace
